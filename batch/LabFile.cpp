#include "batch/LabFile.h"

#include "batch/LabSample.h"
#include "batch/Workbook.h"

namespace batch {

namespace {

// What a file that cannot be opened reads as.
class NoRecords : public RecordReader {
public:
    bool next(CsvRecord &) override { return false; }
    void rewind() override {}
};

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

LabFile::LabFile(QIODevice *device, const QList<ChosenColumn> &chosen) : reader_(std::make_unique<CsvReader>(device))
{
    start(chosen);
}

LabFile::LabFile(std::unique_ptr<RecordReader> reader, const QList<ChosenColumn> &chosen) : reader_(std::move(reader))
{
    start(chosen);
}

std::unique_ptr<LabFile> LabFile::open(const QString &path, const QList<ChosenColumn> &chosen, const QString &sheet)
{
    const auto failing = [&chosen](const QString &error) {
        auto lab = std::make_unique<LabFile>(std::make_unique<NoRecords>(), chosen);
        lab->error_ = error;
        return lab;
    };
    OpenedTable table = openTable(path);
    if (!table.error.isEmpty())
        return failing(table.error);
    if (!table.book) {
        if (!sheet.isEmpty())
            return failing(QStringLiteral("--planilha vale só para planilhas (.xlsx, .xls, .ods); este arquivo é um CSV"));
        auto lab = std::make_unique<LabFile>(table.file.get(), chosen);
        lab->file_ = std::move(table.file);
        return lab;
    }
    // The laboratory's table is on the sheet named, or else on the first
    // visible sheet whose header has the columns the run needs.
    std::unique_ptr<LabFile> found;
    const SheetChoice choice = chooseSheet(
        *table.book, sheet,
        [&](int index) {
            auto lab = std::make_unique<LabFile>(table.book->reader(index), chosen);
            if (!lab->error_.isEmpty())
                return lab->error_;
            found = std::move(lab);
            return QString();
        },
        QStringLiteral("--planilha"));
    if (choice.index < 0)
        return failing(choice.error);
    if (!found)
        found = std::make_unique<LabFile>(table.book->reader(choice.index), chosen);
    found->sheet_ = choice.name;
    return found;
}

void LabFile::start(const QList<ChosenColumn> &chosen)
{
    CsvRecord record;
    QStringList header;
    int best = -1;
    for (int n = 0; n < titleLines && reader_->next(record); ++n) {
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
        reader_->rewind();
        if (!reader_->next(record) || record.fields.isEmpty()) {
            // A workbook damaged before its first row is damaged, not empty.
            error_ = reader_->failure().isEmpty() ? QStringLiteral("o arquivo está vazio") : reader_->failure();
            return;
        }
        header = record.fields;
        headerRecords_ = 1;
    }
    QStringList units;
    while (reader_->next(record)) {
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
        error_ = reader_->failure().isEmpty() ? result.error : reader_->failure();
        return;
    }
    map_ = *result.map;
    if (const auto *csv = dynamic_cast<const CsvReader *>(reader_.get()))
        map_.separator = csv->separator();
    // The file's decimal mark, from the values that show it beyond doubt.
    int commas = 0, points = 0;
    QString notSample;
    while (next(record, &notSample)) {
        if (!notSample.isEmpty())
            continue;
        for (int c = 0; c < columnCount; ++c)
            if (numeric(Column(c)) && map_.index[c] >= 0 && !record.numbers.value(map_.index[c])) {
                const QChar mark = decimalMarkOf(record.fields.value(map_.index[c]));
                commas += mark == QLatin1Char(',');
                points += mark == QLatin1Char('.');
            }
    }
    if (commas != points)
        map_.decimal = commas > points ? QLatin1Char(',') : QLatin1Char('.');
    if (!reader_->failure().isEmpty()) {
        error_ = reader_->failure();
        return;
    }
    rewind();
}

void LabFile::rewind()
{
    reader_->rewind();
    CsvRecord record;
    first_.reset();
    for (int n = 0; n < headerRecords_; ++n)
        reader_->next(record);
}

bool LabFile::next(CsvRecord &record, QString *notSample)
{
    notSample->clear();
    if (first_) {
        record = std::move(*first_);
        first_.reset();
    } else {
        do {
            if (!reader_->next(record))
                return false;
        } while (blankRecord(record));
    }
    *notSample = statisticsRow(record);
    return true;
}

} // namespace batch
