#pragma once
// The summary of a lab-file run: one row per sample in file order, as
// resumo.csv (";", decimal comma, UTF-8 with byte-order mark, so spreadsheets
// in Brazil open it as it is) and as resumo.xlsx.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <initializer_list>
#include <memory>

namespace batch {

struct SummaryColumn {
    QString title;
    int places; // decimal places of a number column, 0 for a text column
};
// With `withCost` (a run given a price list), the columns of the
// least-cost composition follow the others; with `withStore` (a run that
// records its samples in a store of cases), "Banco de casos" comes last:
// "novo", or the producer and field a sample joined.
const QList<SummaryColumn> &summaryColumns(bool withCost = false, bool withStore = false);
// "Erro", then what was taken on trust ("Aviso") and the sample's report
// files ("Arquivos"), after the columns older readers know.
inline constexpr int errorColumn = 18, warningColumn = 19, filesColumn = 20;
// "Composição" ("composto", "aproximado", "sem preço"), "Custo (R$/ha)" of
// the four applications together, and the products of planting and of each
// top-dressing ("Produto: N sacos", joined by " + ").
inline constexpr int compositionColumn = 21, costColumn = 22, productsColumn = 23; // products: 23 to 26

// A product of an application as the summary lists it: by its bags, or in
// bulk (no bags) by its kilograms with one place.
struct SummaryProduct {
    QString name;
    int bags = 0;
    double kg = 0;
    friend bool operator==(const SummaryProduct &, const SummaryProduct &) = default;
};

// One cell of the summary: a text, a number with the places it is written
// with, or an application's products. Each writer renders it: resumo.csv
// with a decimal comma, resumo.xlsx with numbers as numbers.
struct SummaryCell {
    enum class Kind : quint8 { Text, Number, Products };
    Kind kind = Kind::Text;
    QString text;
    double number = 0;
    int places = 0; // 0: a whole number
    QList<SummaryProduct> products;
    // The decimal mark of the products' kilograms in the workbook: the
    // reports' own, as the run writes them there.
    QChar mark = QLatin1Char(',');

    SummaryCell() = default;
    SummaryCell(QString t) : text(std::move(t)) {} // a text, as it stands
    static SummaryCell ofNumber(double value, int places);
    static SummaryCell ofProducts(QList<SummaryProduct> products, QChar mark);
    bool isEmpty() const { return kind == Kind::Text && text.isEmpty(); }
    friend bool operator==(const SummaryCell &, const SummaryCell &) = default;
};

// The products as "Produto: N sacos", joined by " + ", the form whoever reads
// the summary parses (so "1 sacos" too); a product in bulk by its kilograms,
// with `mark`.
QString productsText(const QList<SummaryProduct> &products, QChar mark);

// Cells in the order of summaryColumns().
using SummaryRow = QList<SummaryCell>;

// The rows of a run, kept packed in a temporary file of their own (in memory
// only when no temporary file can be made), so that a laboratory's year in one
// file needs no more memory than a day's: 8 bytes a row stay in memory.
class SummaryRows {
public:
    SummaryRows();
    SummaryRows(std::initializer_list<SummaryRow> rows);
    ~SummaryRows();
    void append(const SummaryRow &row);
    qsizetype size() const { return offsets_.size(); }
    SummaryRow at(qsizetype i) const;

private:
    std::unique_ptr<QTemporaryFile> file_;
    mutable std::unique_ptr<QFile> reader_; // the same file, read apart from the writing
    qint64 written_ = 0;
    QByteArray memory_;
    QList<qint64> offsets_;
};

QByteArray summaryCsv(const SummaryRows &rows, bool withCost = false, bool withStore = false);
// The same in parts, for a summary written as the run goes: the byte-order
// mark and the titles, then each row's line.
QByteArray summaryCsvTitles(bool withCost = false, bool withStore = false);
QByteArray summaryCsvLine(const SummaryRow &cells);

// The workbook's bytes (numbers as numbers, shown with their places), or an
// empty array with the reason in `error`. A text the format cannot hold
// (characters XML refuses, more than 32,767 characters) is written mended,
// each change told in `changes`.
QByteArray summaryXlsx(const SummaryRows &rows, QString *error, QStringList *changes, bool withCost = false,
                       bool withStore = false);

// A text as a workbook may hold it: characters XML 1.0 refuses made "\uFFFD",
// cut to 32,767 characters; what was changed, in `change`.
QString workbookText(const QString &text, QString *change);

} // namespace batch
