#include "batch/PriceListFile.h"

#include "batch/CsvTable.h"
#include "batch/LabSample.h"
#include "batch/Workbook.h"
#include "core/Failure.h"
#include "reports/ReportFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cmath>

using fertilizers::AllowedIn;
using fertilizers::PriceList;
using fertilizers::PricedProduct;

namespace batch {

namespace {

enum Field { Produto, N, P2O5, K2O, Saco, PrecoSaco, PrecoTonelada, Aplicacoes, Disponivel, Data, Loja, fieldCount };

// A title or a word as compared: without accents, case or extra blanks, so
// that "Preco do saco (R$)" or "DISPONIVEL" from a keyboard without accents
// is still the column meant.
QString folded(const QString &text)
{
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain.toCaseFolded().simplified();
}

QString number(double v)
{
    QString text = QString::number(v, 'f', QLocale::FloatingPointShortest);
    // One mark before exactly three digits ("1,125") would read as
    // thousands: a zero more keeps it a decimal beyond doubt.
    static const QRegularExpression grouped(QStringLiteral("^-?[1-9][0-9]{0,2}\\.[0-9]{3}$"));
    if (grouped.match(text).hasMatch())
        text += QLatin1Char('0');
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString allowedText(AllowedIn allowed)
{
    switch (allowed) {
    case AllowedIn::Planting:
        return QStringLiteral("plantio");
    case AllowedIn::TopDressing:
        return QStringLiteral("cobertura");
    case AllowedIn::Both:
        break;
    }
    return QStringLiteral("ambas");
}

// A title block above the header is a few lines; the header is the first
// row that names the product and two other columns of the list.
constexpr int titleLines = 20;
constexpr int headerNames = 3;

// A date as a store writes it: "30/11/2025", "30/11/25" (a spreadsheet in
// Brazil re-saves it with two digits; a price is of this century) or
// "2025-11-30" (a workbook's date cell).
QDate dateIn(const QString &text)
{
    for (const char *format : {"dd/MM/yyyy", "d/M/yyyy"})
        if (const QDate d = QDate::fromString(text, QLatin1String(format)); d.isValid())
            return d;
    static const QRegularExpression twoDigits(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2})$"));
    if (const QRegularExpressionMatch m = twoDigits.match(text); m.hasMatch())
        return QDate(2000 + m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return QDate::fromString(text, Qt::ISODate);
}

class Reader {
public:
    explicit Reader(std::unique_ptr<RecordReader> records) : csv_(std::move(records)) {}
    PriceList read(const QString &name);
    // Why the records hold no price list (no header naming its columns), or empty.
    QString noHeader();

private:
    [[noreturn]] void fail(int line, Field f, const QString &why) const
    {
        throw Failure(QStringLiteral("linha %1, coluna \"%2\": %3").arg(line).arg(priceListColumns()[f], why));
    }
    QString cell(const CsvRecord &r, Field f) const
    {
        const int at = column_[f];
        return at >= 0 && at < r.fields.size() ? r.fields[at].trimmed() : QString();
    }
    // A text as it was before it was written for a spreadsheet: without the
    // "'" that keeps a formula-like text a text.
    QString text(const CsvRecord &r, Field f) const
    {
        QString t = cell(r, f);
        static const QString formula = QStringLiteral("=+-@\t\r");
        if (t.size() > 1 && t[0] == QLatin1Char('\'') && formula.contains(t[1]))
            t.remove(0, 1);
        return t;
    }
    std::optional<double> numberIn(const CsvRecord &r, Field f, double most) const;
    void header(const CsvRecord &r);
    // Reads to the header, which it gives in `r`; how many records that took.
    int toHeader(CsvRecord &r);

    std::unique_ptr<RecordReader> csv_;
    int headerRecords_ = 0;
    std::array<int, fieldCount> column_{};
    QChar decimal_; // the decimal mark the file shows beyond doubt, if one
};

int Reader::toHeader(CsvRecord &r)
{
    const auto named = [](const CsvRecord &record) {
        int n = 0;
        bool product = false;
        for (const QString &field : record.fields) {
            const QString title = folded(field);
            for (int f = 0; f < fieldCount; ++f)
                if (title == folded(priceListColumns()[f])) {
                    ++n;
                    product = product || f == Produto;
                }
        }
        return product ? n : 0;
    };
    int first = 0;
    for (int n = 1; n <= titleLines && csv_->next(r); ++n) {
        if (blankRecord(r))
            continue;
        if (named(r) >= headerNames)
            return n;
        if (first == 0)
            first = n;
    }
    if (first == 0)
        throw Failure(QStringLiteral("a lista de preços está vazia"));
    // No row names the list's columns: the first row is judged as the header.
    csv_->rewind();
    for (int n = 0; n < first; ++n)
        csv_->next(r);
    return first;
}

QString Reader::noHeader()
{
    try {
        CsvRecord r;
        toHeader(r);
        header(r);
        return {};
    } catch (const Failure &f) {
        return f.message();
    }
}

void Reader::header(const CsvRecord &r)
{
    column_.fill(-1);
    for (int at = 0; at < r.fields.size(); ++at) {
        const QString title = folded(r.fields[at]);
        for (int f = 0; f < fieldCount; ++f) {
            if (title != folded(priceListColumns()[f]))
                continue;
            if (column_[f] >= 0)
                throw Failure(QStringLiteral("linha %1: a coluna \"%2\" aparece duas vezes").arg(r.line).arg(priceListColumns()[f]));
            column_[f] = at;
        }
    }
    for (Field f : {Produto, N, P2O5, K2O, Saco})
        if (column_[f] < 0)
            throw Failure(QStringLiteral("linha %1: falta a coluna \"%2\"").arg(r.line).arg(priceListColumns()[f]));
    if (column_[PrecoSaco] < 0 && column_[PrecoTonelada] < 0)
        throw Failure(QStringLiteral("linha %1: falta a coluna \"%2\" ou \"%3\"")
                          .arg(r.line)
                          .arg(priceListColumns()[PrecoSaco], priceListColumns()[PrecoTonelada]));
}

std::optional<double> Reader::numberIn(const CsvRecord &r, Field f, double most) const
{
    QString text = cell(r, f);
    if (column_[f] >= 0 && r.numbers.value(column_[f]) && !text.isEmpty()) {
        // Stored as a number: "." is its point beyond doubt.
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(r.line, f, QStringLiteral("\"%1\" não é um número").arg(text));
        if (v < 0)
            fail(r.line, f, QStringLiteral("\"%1\" é negativo").arg(text));
        if (v > most)
            fail(r.line, f, QStringLiteral("\"%1\" passa de %2").arg(text, QString::number(most, 'f', 0)));
        return v;
    }
    // What a spreadsheet's display format adds.
    if (f == PrecoSaco || f == PrecoTonelada) {
        if (text.startsWith(QLatin1String("R$")))
            text = text.mid(2).trimmed();
    } else if (text.endsWith(QLatin1Char('%'))) {
        text.chop(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    const QChar shown = decimalMarkOf(text);
    const bool lone = text.count(QLatin1Char(',')) + text.count(QLatin1Char('.')) == 1;
    if (lone && shown.isNull() && decimal_.isNull())
        fail(r.line, f,
             QStringLiteral("\"%1\" pode ser um número com separador de milhares ou com três casas decimais; "
                            "escreva-o sem o separador de milhares ou com outra quantidade de casas")
                 .arg(cell(r, f)));
    const auto v = fileNumber(text, decimal_);
    if (!v || !std::isfinite(*v))
        fail(r.line, f, QStringLiteral("\"%1\" não é um número").arg(cell(r, f)));
    if (*v < 0)
        fail(r.line, f, QStringLiteral("\"%1\" é negativo").arg(cell(r, f)));
    if (*v > most)
        fail(r.line, f, QStringLiteral("\"%1\" passa de %2").arg(cell(r, f), QString::number(most, 'f', 0)));
    return v;
}

PriceList Reader::read(const QString &name)
{
    CsvRecord r;
    headerRecords_ = toHeader(r);
    if (!r.problem.isEmpty())
        throw Failure(QStringLiteral("linha %1: %2").arg(r.line).arg(r.problem));
    header(r);

    // The decimal mark the file's numbers show beyond doubt, when they show
    // only one: it tells what "1.500" means. A workbook's numbers stored as
    // numbers have no mark to show.
    const Field numbers[] = {N, P2O5, K2O, Saco, PrecoSaco, PrecoTonelada};
    bool comma = false, point = false;
    while (csv_->next(r))
        for (Field f : numbers) {
            if (column_[f] >= 0 && r.numbers.value(column_[f]))
                continue;
            const QChar mark = decimalMarkOf(cell(r, f));
            comma = comma || mark == QLatin1Char(',');
            point = point || mark == QLatin1Char('.');
        }
    if (!csv_->failure().isEmpty())
        throw Failure(csv_->failure());
    if (comma != point)
        decimal_ = comma ? QLatin1Char(',') : QLatin1Char('.');
    csv_->rewind();
    for (int n = 0; n < headerRecords_; ++n)
        csv_->next(r);

    PriceList list;
    list.name = name;
    while (csv_->next(r)) {
        if (blankRecord(r))
            continue;
        if (!r.problem.isEmpty())
            throw Failure(QStringLiteral("linha %1: %2").arg(r.line).arg(r.problem));
        PricedProduct p;
        p.name = text(r, Produto);
        if (p.name.isEmpty())
            fail(r.line, Produto, QStringLiteral("o produto não tem nome"));
        p.n = numberIn(r, N, 100).value_or(0);
        p.p2o5 = numberIn(r, P2O5, 100).value_or(0);
        p.k2o = numberIn(r, K2O, 100).value_or(0);
        if (p.n + p.p2o5 + p.k2o > 100)
            fail(r.line, K2O, QStringLiteral("N, P2O5 e K2O somam mais de 100 %"));
        p.bagKg = numberIn(r, Saco, 5000).value_or(0);
        p.bagPrice = numberIn(r, PrecoSaco, 1e9);
        p.tonnePrice = numberIn(r, PrecoTonelada, 1e9);
        if (p.bagPrice && p.tonnePrice)
            fail(r.line, PrecoTonelada, QStringLiteral("o produto já tem preço do saco; informe só um dos preços"));
        if (p.bagPrice && p.bagKg <= 0)
            fail(r.line, PrecoSaco, QStringLiteral("um produto a granel (saco vazio ou 0) tem preço da tonelada"));
        const QString allowed = folded(cell(r, Aplicacoes));
        if (allowed.isEmpty())
            p.allowedIn = fertilizers::defaultAllowedIn(p.p2o5);
        else if (allowed == QLatin1String("plantio"))
            p.allowedIn = AllowedIn::Planting;
        else if (allowed == QLatin1String("cobertura"))
            p.allowedIn = AllowedIn::TopDressing;
        else if (allowed == QLatin1String("ambas"))
            p.allowedIn = AllowedIn::Both;
        else
            fail(r.line, Aplicacoes,
                 QStringLiteral("\"%1\" não é plantio, cobertura nem ambas").arg(cell(r, Aplicacoes)));
        const QString available = folded(cell(r, Disponivel));
        if (available.isEmpty() || available == QLatin1String("sim"))
            p.available = true;
        else if (available == QLatin1String("nao"))
            p.available = false;
        else
            fail(r.line, Disponivel, QStringLiteral("\"%1\" não é sim nem não").arg(cell(r, Disponivel)));
        const QString date = cell(r, Data);
        if (!date.isEmpty()) {
            p.date = dateIn(date);
            if (!p.date.isValid())
                fail(r.line, Data, QStringLiteral("\"%1\" não é uma data dd/mm/aaaa").arg(date));
        }
        p.store = text(r, Loja);
        list.products << p;
    }
    return list;
}

} // namespace

const QStringList &priceListColumns()
{
    static const QStringList columns{
        QStringLiteral("Produto"),
        QStringLiteral("N (%)"),
        QStringLiteral("P2O5 (%)"),
        QStringLiteral("K2O (%)"),
        QStringLiteral("Saco (kg)"),
        QStringLiteral("Preço do saco (R$)"),
        QStringLiteral("Preço da tonelada (R$)"),
        QStringLiteral("Aplicações"),
        QStringLiteral("Disponível"),
        QStringLiteral("Data"),
        QStringLiteral("Loja"),
    };
    return columns;
}

PriceList readPriceList(const QByteArray &bytes, const QString &name)
{
    return Reader(std::make_unique<CsvReader>(bytes)).read(name);
}

PriceList readPriceListFile(const QString &path)
{
    const auto failure = [&path](const QString &why) {
        return Failure(QStringLiteral("Lista de preços \"%1\", %2").arg(path, why));
    };
    if (QFile file(path); !file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Não foi possível ler a lista de preços \"%1\": %2").arg(path, file.errorString()));
    OpenedTable table = openTable(path);
    if (!table.error.isEmpty())
        throw failure(table.error);
    try {
        if (!table.book)
            return Reader(std::make_unique<CsvReader>(table.file->readAll())).read(QFileInfo(path).fileName());
        // The list is on the first visible sheet whose header names its columns.
        const SheetChoice choice = chooseSheet(
            *table.book, QString(), [&](int index) { return Reader(table.book->reader(index)).noHeader(); },
            QString());
        if (choice.index < 0)
            throw Failure(choice.error);
        return Reader(table.book->reader(choice.index)).read(QFileInfo(path).fileName());
    } catch (const Failure &f) {
        throw failure(f.message());
    }
}

QByteArray priceListCsv(const PriceList &list)
{
    QByteArray bytes = "\xEF\xBB\xBF" + csvLine(priceListColumns()).toUtf8();
    const auto optional = [](const std::optional<double> &v) { return v ? number(*v) : QString(); };
    for (const PricedProduct &p : list.products)
        bytes += csvLine({p.name, number(p.n), number(p.p2o5), number(p.k2o), number(p.bagKg), optional(p.bagPrice),
                          optional(p.tonnePrice), allowedText(p.allowedIn),
                          p.available ? QStringLiteral("sim") : QStringLiteral("não"),
                          p.date.isValid() ? p.date.toString(QStringLiteral("dd/MM/yyyy")) : QString(), p.store})
                     .toUtf8();
    return bytes;
}

void writePriceListFile(const QString &path, const PriceList &list) { reports::saveFile(path, priceListCsv(list)); }

} // namespace batch
