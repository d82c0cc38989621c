#include "batch/LabSample.h"

#include "core/Failure.h"
#include "core/NumberText.h"

#include <QLocale>
#include <QRegularExpression>
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

bool notMeasured(const QString &text)
{
    static const QStringList keys{"ns", "nr", "nd", "nm", "nao medido", "nao determinado", "nao realizado"};
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // "-", "--", "—": a dash alone.
    bool dashes = true;
    for (const QChar c : t)
        dashes = dashes && (c == QLatin1Char('-') || c.category() == QChar::Punctuation_Dash);
    if (dashes)
        return true;
    QString key;
    for (const QChar c : t.toLower().normalized(QString::NormalizationForm_KD))
        if (c.isLetter() || c == QLatin1Char(' '))
            key += c;
    return keys.contains(key.simplified()) && t.size() <= 16;
}

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
    if ((c == Column::Argila || c == Column::V || c == Column::M) && v > 100)
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

// A figure as read and half a unit of its last place, in the program's unit:
// the true value lies within.
struct Figure {
    double v = 0;
    double h = 0;
    double lo() const { return v - h; }
    double hi() const { return v + h; }
};

Figure operator+(Figure a, Figure b) { return {a.v + b.v, a.h + b.h}; }

// 100·a/b, as the bounds of both allow.
std::optional<Figure> percentOf(Figure a, Figure b)
{
    if (b.lo() <= 0)
        return std::nullopt;
    const double lo = 100 * std::max(0.0, a.lo()) / b.hi(), hi = 100 * a.hi() / b.lo();
    return Figure{(lo + hi) / 2, (hi - lo) / 2};
}

bool overlap(Figure a, Figure b)
{
    const double slack = 1e-9 * std::max({1.0, std::abs(a.v), std::abs(b.v)});
    return a.lo() <= b.hi() + slack && b.lo() <= a.hi() + slack;
}

QString shown(double v, int decimals)
{
    return QString::number(v, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The file's own sums, where it gives them: SB = K + Ca + Mg (+ Na),
// t = SB + Al, T = SB + (H+Al), V = 100·SB/T, m = 100·Al/(SB + Al), each
// within the places its figures are printed with. A unit misread shows here.
QStringList sumErrors(const CsvRecord &record, const ColumnMap &map,
                      const std::array<std::optional<Figure>, columnCount> &f)
{
    const auto has = [&f](Column c) { return f[int(c)].has_value(); };
    const auto at = [&f](Column c) { return *f[int(c)]; };
    const auto name = [&map](Column c) { return map.headers.value(map.indexOf(c)).trimmed(); };
    QStringList errors;
    const auto check = [&](Column c, Figure computed, const QList<Column> &terms, const QString &formula, int decimals,
                           const QString &unit) {
        if (overlap(at(c), computed))
            return;
        QStringList names{name(c)};
        for (const Column t : terms)
            names << name(t);
        errors << QStringLiteral("linha %1, colunas %2: %3 dá %4 %6, mas a coluna %5 tem %7 %6")
                      .arg(record.line)
                      .arg(names.join(QStringLiteral(", ")), formula, shown(computed.v, decimals), name(c), unit,
                           shown(at(c).v, decimals));
    };
    const QString cmolc = QStringLiteral("cmolc/dm³");
    if (!has(Column::Sb) && !has(Column::Ctce) && !has(Column::HAl) && !has(Column::M))
        return errors;
    // SB from the bases, K brought from mg/dm³ to cmolc/dm³.
    std::optional<Figure> bases;
    QList<Column> baseTerms;
    QString baseFormula;
    if (has(Column::K) && has(Column::Ca) && has(Column::Mg)) {
        const Figure k = at(Column::K);
        bases = Figure{k.v / 391, k.h / 391} + at(Column::Ca) + at(Column::Mg);
        baseTerms = {Column::K, Column::Ca, Column::Mg};
        baseFormula = QStringLiteral("K + Ca + Mg");
        if (has(Column::Na)) {
            bases = *bases + at(Column::Na);
            baseTerms << Column::Na;
            baseFormula += QStringLiteral(" + Na");
        }
    }
    if (has(Column::Sb) && bases)
        check(Column::Sb, *bases, baseTerms, baseFormula, 2, cmolc);
    // The file's SB where it gives one; else the bases.
    std::optional<Figure> sb = has(Column::Sb) ? f[int(Column::Sb)] : bases;
    const QList<Column> sbTerms = has(Column::Sb) ? QList<Column>{Column::Sb} : baseTerms;
    const QString sbName = has(Column::Sb) ? QStringLiteral("SB") : QStringLiteral("(%1)").arg(baseFormula);
    if (!sb)
        return errors;
    if (has(Column::Ctce) && has(Column::Al))
        check(Column::Ctce, *sb + at(Column::Al), sbTerms + QList<Column>{Column::Al}, sbName + QStringLiteral(" + Al"), 2,
              cmolc);
    if (has(Column::HAl) && has(Column::Ctc))
        check(Column::Ctc, *sb + at(Column::HAl), sbTerms + QList<Column>{Column::HAl},
              sbName + QStringLiteral(" + (H+Al)"), 2, cmolc);
    if (has(Column::Sb) && has(Column::Ctc) && has(Column::V))
        if (const std::optional<Figure> v = percentOf(*sb, at(Column::Ctc)))
            check(Column::V, *v, {Column::Sb, Column::Ctc}, QStringLiteral("100·SB/T"), 1, QStringLiteral("%"));
    if (has(Column::M) && has(Column::Al))
        if (const std::optional<Figure> m = percentOf(at(Column::Al), *sb + at(Column::Al)))
            check(Column::M, *m, sbTerms + QList<Column>{Column::Al}, QStringLiteral("100·Al/(%1 + Al)").arg(sbName), 1,
                  QStringLiteral("%"));
    return errors;
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
    std::array<std::optional<Figure>, columnCount> figures;
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
        if (raw.trimmed().isEmpty() || notMeasured(raw)) {
            if (c == Column::Rendimento)
                s.values[i] = yield;
            else if (required(c))
                errors << where + (raw.trimmed().isEmpty() ? QStringLiteral("vazia")
                                                           : QStringLiteral("'%1' não medido").arg(raw.trimmed()));
            continue;
        }
        // Below the detection limit: the limit itself, said in "Aviso".
        QString number = raw.trimmed();
        const bool belowLimit = number.startsWith(QLatin1Char('<'));
        if (belowLimit)
            number = number.mid(1).trimmed();
        // A value saved as a spreadsheet shows it, "63,3%", "3,80 %": a
        // percentage only where the column is in %.
        if (number.endsWith(QLatin1Char('%'))) {
            if (programUnit(c) != QLatin1String("%") || map.factor[i] != 1) {
                errors << where + QStringLiteral("'%1' em %, mas a coluna está em %2")
                                      .arg(raw.trimmed(), map.unit[i].isEmpty() ? programUnit(c) : map.unit[i]);
                continue;
            }
            number = number.chopped(1).trimmed();
        }
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
        figures[i] = Figure{v, 0.5 * std::pow(10.0, -places(*value)) * map.factor[i]};
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
    if (errors.isEmpty())
        errors << sumErrors(record, map, figures);
    if (!errors.isEmpty() && used != map.headers.size())
        errors = errors.mid(0, 1 + int(!record.problem.isEmpty())); // the shifted values say nothing more
    s.error = errors.join(QStringLiteral("; "));
    s.warning = warnings.join(QStringLiteral("; "));
    return s;
}

} // namespace batch

namespace batch {

namespace {

// A column's value as read, in the unit taken, without judging it; nothing
// for a cell that holds no number.
std::optional<double> cellValue(const CsvRecord &record, const ColumnMap &map, int column, double *half = nullptr)
{
    const int at = map.index[column];
    if (at < 0)
        return std::nullopt;
    QString text = record.fields.value(at).trimmed();
    if (text.startsWith(QLatin1Char('<')))
        text = text.mid(1).trimmed();
    if (text.endsWith(QLatin1Char('%')))
        text = text.chopped(1).trimmed();
    if (text.isEmpty() || notMeasured(text))
        return std::nullopt;
    const QChar decimal = record.numbers.value(at) ? QLatin1Char('.') : map.decimal;
    const std::optional<double> v = fileNumber(text, decimal);
    if (!v)
        return std::nullopt;
    if (half)
        *half = 0.5 * std::pow(10.0, -places(*v)) * map.factor[column];
    return *v * map.factor[column];
}

// The cations a laboratory gives in one unit, cmolc/dm³ or mmolc/dm³.
bool cation(Column c)
{
    return c == Column::Al || c == Column::Ca || c == Column::Mg || c == Column::Ctc || c == Column::Sb
           || c == Column::Ctce || c == Column::HAl;
}

// Whether the user named the column's unit himself (--coluna with a unit).
bool byOption(const ColumnMap &map, Column c) { return map.source[int(c)] == QLatin1String("de --coluna"); }

} // namespace

const QList<SoilLimit> &soilLimits()
{
    static const QList<SoilLimit> all{
        {Column::Argila, 100, true, "argila acima de 100 %, o que não existe"},
        {Column::Mo, 15, false, "MO acima de 15 %, só de solos orgânicos"},
        {Column::Ca, 25, false, "Ca acima de 25 cmolc/dm³, só de solos calcários"},
        {Column::Mg, 10, false, "Mg acima de 10 cmolc/dm³"},
        {Column::Al, 10, false, "Al acima de 10 cmolc/dm³"},
        {Column::Ctc, 40, false, "CTC acima de 40 cmolc/dm³"},
        {Column::Sb, 40, false, "SB acima de 40 cmolc/dm³"},
        {Column::Ctce, 40, false, "t acima de 40 cmolc/dm³"},
        {Column::HAl, 30, false, "H+Al acima de 30 cmolc/dm³"},
    };
    return all;
}

UnitEvidence::UnitEvidence(const ColumnMap &map) : map_(map) {}

void UnitEvidence::add(const CsvRecord &record)
{
    for (const SoilLimit &l : soilLimits()) {
        const int c = int(l.column);
        const std::optional<double> v = cellValue(record, map_, c);
        if (!v)
            continue;
        ++count_[c];
        if (*v > l.limit) {
            ++past_[c];
            worst_[c] = std::max(worst_[c], *v);
        }
    }
    // K under 10 mg/dm³ where SB - Ca - Mg (- Na), the K the file's own SB
    // gives, says more: which unit of K gives that K.
    double hk = 0, hsb = 0, hca = 0, hmg = 0, hna = 0;
    const std::optional<double> k = cellValue(record, map_, int(Column::K), &hk);
    const std::optional<double> sb = cellValue(record, map_, int(Column::Sb), &hsb);
    const std::optional<double> ca = cellValue(record, map_, int(Column::Ca), &hca);
    const std::optional<double> mg = cellValue(record, map_, int(Column::Mg), &hmg);
    const std::optional<double> na = cellValue(record, map_, int(Column::Na), &hna);
    if (!k || !sb || !ca || !mg)
        return;
    ++kCount_;
    const double rest = *sb - *ca - *mg - na.value_or(0); // cmolc/dm³, as the other columns are taken
    const double slack = hsb + hca + hmg + hna;
    const double read = *k / map_.factor[int(Column::K)]; // K as written
    if (*k < 10 && rest - *k / 391 > slack + hk / 391)
        ++kLow_;
    const std::array<double, 3> factors{1, 39.1, 391};
    const std::array<double, 2> scales{1, 0.1};
    for (size_t s = 0; s < scales.size(); ++s)
        for (size_t i = 0; i < factors.size(); ++i)
            if (std::abs(read * factors[i] / 391 - rest * scales[s])
                <= (slack * scales[s]) + 0.5 * std::pow(10.0, -places(read)) * factors[i] / 391 + 1e-9)
                ++kMatch_[s][i];
}

QList<UnitDoubt> UnitEvidence::doubts() const
{
    QList<UnitDoubt> doubts;
    const auto header = [this](Column c) { return map_.headers.value(map_.indexOf(c)).trimmed(); };
    const auto doubted = [&doubts](Column c) {
        return std::any_of(doubts.cbegin(), doubts.cend(), [c](const UnitDoubt &d) { return d.column == c; });
    };
    bool cationsInMmolc = false;
    for (const SoilLimit &l : soilLimits()) {
        const int c = int(l.column);
        // Values past the limit in the smaller unit too are those samples' own errors.
        if (map_.index[c] < 0 || byOption(map_, l.column) || !count_[c] || map_.factor[c] != 1)
            continue;
        // Clay above 100 % where the file states its unit is that sample's error.
        if (l.any && map_.stated[c])
            continue;
        if (l.any ? past_[c] == 0 : 2 * past_[c] <= count_[c])
            continue;
        const QString unit = map_.unit[c].isEmpty() ? programUnit(l.column) : map_.unit[c];
        const double tenth = map_.factor[c] * 0.1;
        doubts << UnitDoubt{l.column, header(l.column), unitText(l.column, tenth),
                            QStringLiteral("%1, lida em %2, %3 de %4 amostras dariam %5 (a maior, %6)")
                                .arg(map_.stated[c] ? map_.source[c] : QStringLiteral("sem unidade no arquivo"), unit)
                                .arg(past_[c])
                                .arg(count_[c])
                                .arg(QString::fromUtf8(l.basis))
                                .arg(QString::number(worst_[c] / map_.factor[c]).replace(QLatin1Char('.'), QLatin1Char(','))),
                            map_.stated[c]};
        cationsInMmolc = cationsInMmolc || (cation(l.column) && tenth == 0.1 && !map_.stated[c]);
    }
    // K under 10 mg/dm³ in most samples where SB says otherwise.
    const int k = int(Column::K);
    if (map_.index[k] >= 0 && !byOption(map_, Column::K) && kCount_ && 2 * kLow_ > kCount_) {
        const auto &match = kMatch_[cationsInMmolc ? 1 : 0];
        const int best = int(std::max_element(match.cbegin() + 1, match.cend()) - match.cbegin());
        const double factor = best == 1 ? 39.1 : 391;
        doubts << UnitDoubt{Column::K, header(Column::K), unitText(Column::K, factor),
                            QStringLiteral("%1, lida em %2, %3 de %4 amostras dariam K abaixo de 10 mg/dm³ onde "
                                           "SB - Ca - Mg dá mais")
                                .arg(map_.stated[k] ? map_.source[k] : QStringLiteral("sem unidade no arquivo"),
                                     map_.unit[k].isEmpty() ? programUnit(Column::K) : map_.unit[k])
                                .arg(kLow_)
                                .arg(kCount_),
                            map_.stated[k]};
    }
    // A file whose cations are in mmolc/dm³ without saying so follows the
    // São Paulo convention: its other columns without a unit are doubtful too.
    if (cationsInMmolc) {
        for (const ChosenColumn &convention : iacConvention()) {
            const Column c = convention.column;
            if (map_.index[int(c)] < 0 || map_.stated[int(c)] || doubted(c))
                continue;
            doubts << UnitDoubt{c, header(c), convention.unit,
                                QStringLiteral("sem unidade no arquivo, num arquivo cujas bases vêm em mmolc/dm³")};
        }
    }
    std::sort(doubts.begin(), doubts.end(), [this](const UnitDoubt &a, const UnitDoubt &b) {
        return map_.indexOf(a.column) < map_.indexOf(b.column);
    });
    return doubts;
}

QString doubtOption(const UnitDoubt &doubt)
{
    const QString value = QStringLiteral("%1=%2:%3").arg(columnName(doubt.column), doubt.header, doubt.unit);
    static const QRegularExpression plain(QStringLiteral("^[\\w.+=:/³%-]+$"), QRegularExpression::UseUnicodePropertiesOption);
    return QStringLiteral("--coluna ") + (plain.match(value).hasMatch() ? value : QLatin1Char('"') + value + QLatin1Char('"'));
}

bool iacDoubts(const QList<UnitDoubt> &doubts)
{
    bool iac = true, bases = false;
    const QList<ChosenColumn> convention = iacConvention();
    for (const UnitDoubt &d : doubts) {
        iac = iac && std::any_of(convention.cbegin(), convention.cend(), [&d](const ChosenColumn &c) {
                  return c.column == d.column && c.unit == d.unit;
              });
        iac = iac && !d.stated;
        bases = bases || (cation(d.column) && d.unit == QStringLiteral("mmolc/dm³"));
    }
    return iac && bases;
}

QString doubtsMessage(const QList<UnitDoubt> &doubts)
{
    QStringList parts;
    const bool iac = iacDoubts(doubts);
    for (const UnitDoubt &d : doubts)
        parts << QStringLiteral("coluna \"%1\": %2; os valores apontam %3: %4")
                     .arg(d.header, d.why, d.unit, doubtOption(d));
    QString message = QStringLiteral("a unidade não pode ser tomada como a do programa em %1 (%2); diga-a com %3")
                          .arg(doubts.size() == 1 ? QStringLiteral("uma coluna") : QStringLiteral("%1 colunas").arg(doubts.size()),
                               parts.join(QStringLiteral("; ")),
                               doubts.size() == 1 ? QStringLiteral("essa opção") : QStringLiteral("essas opções"));
    if (iac)
        message += QStringLiteral(", ou com %1 se o laboratório segue a convenção do IAC (K, Ca, Mg, Al, SB, t, T e "
                                  "H+Al em mmolc/dm³, M.O. em g/dm³, argila em g/kg)")
                       .arg(QString::fromLatin1(iacOption));
    return message;
}

} // namespace batch
