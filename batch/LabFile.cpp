#include "LabFile.h"

#include "LabSample.h"

namespace batch {

namespace {

// A title block is a few lines; the header is the first row naming several
// of the program's columns.
constexpr int titleLines = 20;
constexpr int headerNames = 3;

} // namespace

QString statisticsRow(const CsvRecord &record)
{
    static const QStringList keys{"media", "medias", "total", "totais", "soma", "desviopadrao", "dp", "minimo",
                                  "maximo", "mediana", "cv", "coeficientedevariacao"};
    for (const QString &f : record.fields) {
        if (f.trimmed().isEmpty())
            continue;
        return keys.contains(headerKey(f)) ? f.trimmed() : QString();
    }
    return {};
}

QStringList describeColumns(const ColumnMap &map)
{
    QStringList lines;
    for (int c = 0; c < columnCount; ++c) {
        const Column column = Column(c);
        const int at = map.index[c];
        if (at < 0) {
            lines << QStringLiteral("%1: sem coluna%2")
                         .arg(columnName(column),
                              column == Column::Rendimento ? QStringLiteral(" (vale --rendimento)") : QString());
            continue;
        }
        QString line = QStringLiteral("%1: \"%2\"").arg(columnName(column), map.headers.value(at).trimmed());
        if (numeric(column) && !programUnit(column).isEmpty()) {
            const QString unit = map.unit[c].isEmpty() ? programUnit(column) : map.unit[c];
            const double factor = map.factor[c];
            line += factor == 1 ? QStringLiteral(", em %1, sem conversão").arg(unit)
                                : QStringLiteral(", em %1, × %2 para %3")
                                      .arg(unit, QString::number(factor).replace(QLatin1Char('.'), QLatin1Char(',')),
                                           programUnit(column));
        }
        lines << line;
    }
    for (const QString &ignored : map.ignored)
        lines << QStringLiteral("ignorada: %1").arg(ignored);
    return lines;
}

LabFile::LabFile(QIODevice *device, const QList<ChosenColumn> &chosen) : reader_(device)
{
    CsvRecord record;
    QStringList header;
    int best = -1;
    for (int n = 0; n < titleLines && reader_.next(record); ++n) {
        if (blankRecord(record))
            continue;
        const int named = namedColumns(record.fields);
        if (named >= headerNames || (!chosen.isEmpty() && best < 0 && named >= 1)) {
            header = record.fields;
            headerRecords_ = n + 1;
            best = named;
            break;
        }
    }
    if (header.isEmpty()) {
        // A file whose header names fewer columns is judged by its first row.
        reader_.rewind();
        if (!reader_.next(record) || record.fields.isEmpty()) {
            error_ = QStringLiteral("o arquivo está vazio");
            return;
        }
        header = record.fields;
        headerRecords_ = 1;
    }
    QStringList units;
    while (reader_.next(record)) {
        if (blankRecord(record)) {
            ++headerRecords_;
            continue;
        }
        if (unitsRow(record.fields)) {
            units = record.fields;
            ++headerRecords_;
        } else {
            first_ = record;
        }
        break;
    }
    const MapResult result = mapColumns(header, units, chosen);
    if (!result.map) {
        error_ = result.error;
        return;
    }
    map_ = *result.map;
    // The file's decimal mark, from the values that show it beyond doubt.
    int commas = 0, points = 0;
    QString notSample;
    while (next(record, &notSample)) {
        if (!notSample.isEmpty())
            continue;
        for (int c = 0; c < columnCount; ++c)
            if (numeric(Column(c)) && map_.index[c] >= 0) {
                const QChar mark = decimalMarkOf(record.fields.value(map_.index[c]));
                commas += mark == QLatin1Char(',');
                points += mark == QLatin1Char('.');
            }
    }
    if (commas != points)
        map_.decimal = commas > points ? QLatin1Char(',') : QLatin1Char('.');
    rewind();
}

void LabFile::rewind()
{
    reader_.rewind();
    CsvRecord record;
    first_.reset();
    for (int n = 0; n < headerRecords_; ++n)
        reader_.next(record);
}

bool LabFile::next(CsvRecord &record, QString *notSample)
{
    notSample->clear();
    if (first_) {
        record = std::move(*first_);
        first_.reset();
    } else {
        do {
            if (!reader_.next(record))
                return false;
        } while (blankRecord(record));
    }
    *notSample = statisticsRow(record);
    return true;
}

} // namespace batch
