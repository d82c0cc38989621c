#pragma once
// The recommendation as plain text: fixed lines and fixed-width columns,
// every value copied as the text that stands in its field or cell.
#include <QList>
#include <QString>
#include <QStringList>

namespace reports {

// One grid's rows below its header, each row its five cell texts.
using Rows = QList<QStringList>;

struct TextReportFields {
    QString nome, cpf, localidade, municipio, denominacao, laudo;
    QString argila, ph, p, k, mo, al, ca, mg, ctc, v;
    QString producao;
    Rows split;      // stga3 rows 1 to 4: application, time, N, P2O5, K2O
    Rows planting;   // stga4 rows 1 on
    Rows topDressing[3]; // stga5, Stga6, stga7 rows 1 on
};

QStringList textReportLines(const TextReportFields &fields);

// The lines as the legacy single-byte code page with CR LF after every line;
// a character the code page lacks becomes "?".
QByteArray legacyText(const QStringList &lines);

} // namespace reports
