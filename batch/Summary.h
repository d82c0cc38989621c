#pragma once
// The summary of a lab-file run: one row per sample in file order, as
// resumo.csv (";", decimal comma, UTF-8 with byte-order mark, so spreadsheets
// in Brazil open it as it is) and as resumo.xlsx.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace batch {

struct SummaryColumn {
    QString title;
    int places; // decimal places of a number column, 0 for a text column
};
const QList<SummaryColumn> &summaryColumns();

// Cells in the order of summaryColumns(); numbers as the window writes them.
using SummaryRow = QStringList;

// The rows of a run, each kept packed in a few hundred bytes, so that a
// laboratory's year in one file is held without the memory growing by more.
class SummaryRows {
public:
    SummaryRows() = default;
    SummaryRows(std::initializer_list<SummaryRow> rows);
    void append(const SummaryRow &row);
    qsizetype size() const { return packed_.size(); }
    SummaryRow at(qsizetype i) const;

private:
    QList<QByteArray> packed_;
};

QByteArray summaryCsv(const SummaryRows &rows);

// The workbook's bytes (numbers as numbers, shown with their places), or an
// empty array with the reason in `error`. A text the format cannot hold
// (characters XML refuses, more than 32,767 characters) is written mended,
// each change told in `changes`.
QByteArray summaryXlsx(const SummaryRows &rows, QString *error, QStringList *changes);

// A text as a workbook may hold it: characters XML 1.0 refuses made "\uFFFD",
// cut to 32,767 characters; what was changed, in `change`.
QString workbookText(const QString &text, QString *change);

} // namespace batch
