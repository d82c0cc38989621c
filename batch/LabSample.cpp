#include "batch/LabSample.h"

#include "core/Failure.h"
#include "core/NumberText.h"

#include <QLocale>
#include <algorithm>

namespace batch {

std::optional<double> fileNumber(const QString &text)
{
    const NumberText rule(text.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char('.'));
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
    for (const CsvRecord &record : table.records)
        samples << readSample(record, map, yield);
    return samples;
}

LabSample readSample(const CsvRecord &record, const ColumnMap &map, double yield)
{
    LabSample s;
    s.line = record.line;
    QStringList errors;
    if (!record.problem.isEmpty())
        errors << record.problem;
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
        const std::optional<double> value = fileNumber(raw);
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
    }
    s.error = errors.join(QStringLiteral("; "));
    return s;
}

} // namespace batch
