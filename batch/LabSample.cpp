#include "LabSample.h"

#include "Failure.h"
#include "NumberText.h"

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

} // namespace

QList<LabSample> readSamples(const CsvTable &table, const ColumnMap &map, double yield)
{
    QList<LabSample> samples;
    for (const CsvRecord &record : table.records) {
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
            const double v = *value * map.factor[i];
            if (const QString why = outOfRange(c, v); !why.isEmpty()) {
                errors << where + QStringLiteral("'%1' %2").arg(raw.trimmed(), why);
                continue;
            }
            s.values[i] = v;
        }
        s.error = errors.join(QStringLiteral("; "));
        samples << s;
    }
    return samples;
}

} // namespace batch
