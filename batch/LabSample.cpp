#include "batch/LabSample.h"

#include "core/Failure.h"
#include "core/NumberText.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace batch {

namespace {

// Digits in groups of three after the first group of one to three: "1.234.567".
bool groupedThousands(const QString &text, QChar mark)
{
    QStringList groups = text.split(mark);
    if (groups[0].startsWith(QLatin1Char('-')))
        groups[0].remove(0, 1);
    // "0.125" is a decimal: no number is grouped after a leading zero.
    if (groups.size() < 2 || groups[0].isEmpty() || groups[0].size() > 3 || groups[0].startsWith(QLatin1Char('0')))
        return false;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        for (const QChar c : groups[i])
            if (!c.isDigit())
                return false;
        if (i > 0 && groups[i].size() != 3)
            return false;
    }
    return true;
}

// One mark before exactly three digits ("1.500", "38,500"): a thousands
// separator or a decimal mark, which only the file's other values can tell.
bool ambiguous(const QString &value)
{
    const QString text = value.trimmed();
    const bool comma = text.contains(QLatin1Char(',')), point = text.contains(QLatin1Char('.'));
    if (comma == point)
        return false;
    const QChar mark = comma ? QLatin1Char(',') : QLatin1Char('.');
    return text.count(mark) == 1 && groupedThousands(text, mark);
}

} // namespace

QChar decimalMarkOf(const QString &value)
{
    const QString text = value.trimmed();
    const bool comma = text.contains(QLatin1Char(',')), point = text.contains(QLatin1Char('.'));
    if (comma == point)
        return {};
    const QChar mark = comma ? QLatin1Char(',') : QLatin1Char('.');
    if (text.count(mark) != 1 || groupedThousands(text, mark))
        return {};
    return mark;
}

std::optional<double> fileNumber(const QString &value, QChar decimal)
{
    QString text = value.trimmed();
    const QChar comma = QLatin1Char(','), point = QLatin1Char('.');
    QChar mark = text.contains(comma) ? comma : point;
    if (text.contains(comma) && text.contains(point)) {
        // Both: the last is the decimal mark, the other groups thousands.
        mark = text.lastIndexOf(comma) > text.lastIndexOf(point) ? comma : point;
        const QChar thousands = mark == comma ? point : comma;
        QString whole = text.left(text.lastIndexOf(mark));
        if (!groupedThousands(whole, thousands))
            return std::nullopt;
        text = whole.remove(thousands) + text.mid(text.lastIndexOf(mark));
    } else if (text.count(mark) > 1 || (groupedThousands(text, mark) && !decimal.isNull() && decimal != mark)) {
        if (!groupedThousands(text, mark))
            return std::nullopt;
        text.remove(mark);
    }
    const NumberText rule(mark);
    try {
        return rule.toDouble(text);
    } catch (const Failure &) {
        return std::nullopt;
    }
}

namespace {

// What makes a value impossible for a soil: the physical range of each quantity.
QString outOfRange(Column c, double v)
{
    if (v < 0)
        return QStringLiteral("negativo");
    if ((c == Column::Argila || c == Column::V) && v > 100)
        return QStringLiteral("acima de 100");
    if (c == Column::Ph && v > 14)
        return QStringLiteral("fora da faixa de 0 a 14");
    // Beyond what any soil or crop gives: a unit or a separator misread.
    if (c == Column::Rendimento && (v < 1 || v > 150))
        return QStringLiteral("fora da faixa plausível de 1 a 150 t/ha");
    return {};
}

// Decimal places of a number's shortest exact form: 0.15 has 2, 391 none.
int places(double v)
{
    const QString text = QString::number(v, 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(text.size() - point - 1);
}

// A value in the laboratory's unit brought to the program's: exactly the
// decimal the product has, the places of the value plus those of the factor
// (0.15 cmolc/dm³ × 391 is 58.65 mg/dm³, 12 g/dm³ × 0.1 is 1.2 %), not the
// product of two binary fractions with its noise.
double converted(double value, double factor)
{
    if (factor == 1)
        return value;
    const int total = std::min(places(value) + places(factor), 17);
    return QString::number(value * factor, 'f', total).toDouble();
}

} // namespace

QList<LabSample> readSamples(const CsvTable &table, const ColumnMap &map, double yield)
{
    QList<LabSample> samples;
    ColumnMap withSeparator = map;
    if (withSeparator.separator.isNull())
        withSeparator.separator = table.separator;
    for (const CsvRecord &record : table.records)
        samples << readSample(record, withSeparator, yield);
    return samples;
}

LabSample readSample(const CsvRecord &record, const ColumnMap &map, double yield)
{
    LabSample s;
    s.line = record.line;
    QStringList errors;
    if (!record.problem.isEmpty())
        errors << record.problem;
    // A row with a field more or less than the header would be computed
    // with its values in other columns: an unquoted decimal comma in a
    // comma-separated file. Empty cells beyond the header are a
    // spreadsheet's padding.
    qsizetype used = record.fields.size();
    while (used > map.headers.size() && record.fields[used - 1].trimmed().isEmpty())
        --used;
    if (record.placed)
        used = map.headers.size(); // a workbook leaves out its empty cells, and nothing in it can shift
    if (used != map.headers.size()) {
        // The likely cause is worth saying only where it can be the cause.
        const QString hint = map.separator == QLatin1Char(',')
                                 ? QStringLiteral(" (vírgula decimal sem aspas num arquivo separado por vírgulas?)")
                                 : QString();
        errors << QStringLiteral("linha %1: %2, o cabeçalho tem %3%4")
                      .arg(record.line)
                      .arg(used == 1 ? QStringLiteral("1 campo") : QStringLiteral("%1 campos").arg(used))
                      .arg(map.headers.size())
                      .arg(hint);
    }
    QStringList warnings;
    for (int i = 0; i < columnCount; ++i) {
        const Column c = Column(i);
        const int at = map.index[i];
        const QString raw = at >= 0 ? record.fields.value(at) : QString();
        const QString where = QStringLiteral("linha %1, coluna %2: ")
                                  .arg(record.line)
                                  .arg(at >= 0 ? map.headers.value(at).trimmed() : columnName(c));
        if (!numeric(c)) {
            s.texts[i] = raw.trimmed();
            continue;
        }
        if (raw.trimmed().isEmpty()) {
            if (c == Column::Rendimento)
                s.values[i] = yield;
            else if (required(c))
                errors << where + QStringLiteral("vazia");
            continue;
        }
        // Below the detection limit: the limit itself, said in "Aviso".
        QString number = raw.trimmed();
        const bool belowLimit = number.startsWith(QLatin1Char('<'));
        if (belowLimit)
            number = number.mid(1).trimmed();
        // A workbook's number is no text to be judged by the file's decimal mark.
        const QChar decimal = record.numbers.value(at) ? QLatin1Char('.') : map.decimal;
        if (decimal.isNull() && ambiguous(number)) {
            errors << where + QStringLiteral("'%1' pode ser um número com separador de milhares ou com três casas "
                                             "decimais, e o arquivo não mostra a sua marca decimal")
                                  .arg(raw.trimmed());
            continue;
        }
        const std::optional<double> value = fileNumber(number, decimal);
        if (value && belowLimit)
            warnings << where + QStringLiteral("'%1' abaixo do limite de detecção, tomado como %2")
                                    .arg(raw.trimmed(), number);
        if (!value) {
            errors << where + QStringLiteral("'%1' não é um número").arg(raw.trimmed());
            continue;
        }
        const double v = converted(*value, map.factor[i]);
        if (const QString why = outOfRange(c, v); !why.isEmpty()) {
            errors << where + QStringLiteral("'%1' %2").arg(raw.trimmed(), why);
            continue;
        }
        s.values[i] = v;
        // The same variable in another column (another unit) must be the
        // same value, within the places each is written with.
        const double slack = 0.5 * std::pow(10.0, -places(*value)) * map.factor[i];
        for (const auto &[other, factor] : map.also[i]) {
            const QString otherRaw = record.fields.value(other).trimmed();
            const QChar otherDecimal = record.numbers.value(other) ? QLatin1Char('.') : map.decimal;
            const std::optional<double> otherValue =
                otherRaw.startsWith(QLatin1Char('<')) || ambiguous(otherRaw) ? std::nullopt : fileNumber(otherRaw, otherDecimal);
            if (!otherValue)
                continue;
            const double w = converted(*otherValue, factor);
            // Two roundings of one value differ by less than their half-units together.
            const double apart = slack + 0.5 * std::pow(10.0, -places(*otherValue)) * factor;
            if (std::abs(v - w) + 1e-9 * std::max(1.0, std::abs(v)) >= apart)
                errors << QStringLiteral("linha %1, colunas %2 e %3: '%4' e '%5' não são o mesmo valor")
                              .arg(record.line)
                              .arg(map.headers.value(at).trimmed(), map.headers.value(other).trimmed(), raw.trimmed(),
                                   otherRaw);
        }
    }
    if (!errors.isEmpty() && used != map.headers.size())
        errors = errors.mid(0, 1 + int(!record.problem.isEmpty())); // the shifted values say nothing more
    s.error = errors.join(QStringLiteral("; "));
    s.warning = warnings.join(QStringLiteral("; "));
    return s;
}

} // namespace batch
