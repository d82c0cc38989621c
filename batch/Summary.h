#pragma once
// The summary of a lab-file run: one row per sample in file order, as
// resumo.csv (";", decimal comma, UTF-8 with byte-order mark, so spreadsheets
// in Brazil open it as it is) and as resumo.xlsx.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace batch {

struct SummaryColumn {
    QString title;
    int places; // decimal places of a number column, 0 for a text column
};
const QList<SummaryColumn> &summaryColumns();

// Cells in the order of summaryColumns(); numbers as the window writes them.
using SummaryRow = QStringList;

QByteArray summaryCsv(const QList<SummaryRow> &rows);

// The workbook's bytes (numbers as numbers, shown with their places), or an
// empty array with the reason in `error`.
QByteArray summaryXlsx(const QList<SummaryRow> &rows, QString *error);

} // namespace batch
