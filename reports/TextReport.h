#pragma once
// The recommendation as plain text: fixed lines and fixed-width columns,
// every value copied as the text that stands in its field or cell.
#include "reports/ReportContent.h"

#include <QString>
#include <QStringList>

namespace reports {

QStringList textReportLines(const ReportContent &content);

// The lines as the legacy single-byte code page with CR LF after every line;
// a character the code page lacks becomes "?".
QByteArray legacyText(const QStringList &lines);

} // namespace reports
