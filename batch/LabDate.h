#pragma once
// The date of a sample as laboratories write it in their files.
#include <QDate>
#include <QString>
#include <optional>

namespace batch {

// "15/03/2025", "15/03/25", "2025-03-15", "15-03-2025", "15.03.2025" (a day
// first, as Brazilian laboratories write it; a time after it is dropped),
// or a spreadsheet's serial day number ("45731", days since 1899-12-30, as
// an .xlsx holds a date cell). Nothing when the text is none of these or no
// real day; a two-digit year is of this century.
std::optional<QDate> labDate(const QString &text);

} // namespace batch
