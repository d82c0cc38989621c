#include "batch/LabFile.h"

#include "batch/LabSample.h"
#include "batch/Workbook.h"

#include <QRegularExpression>

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

QString noteRow(const CsvRecord &record, const ColumnMap &map)
{
    static const QRegularExpression note(QStringLiteral("^\\s*(?:\\*|\\(\\d+\\)|\\d+\\)|[\\p{L}][\\p{L} .º°/]*:)"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    QString first;
    for (const QString &f : record.fields)
        if (!f.trimmed().isEmpty()) {
            first = f.trimmed();
            break;
        }
    if (first.isEmpty() || !note.match(first).hasMatch())
        return {};
    for (int c = int(Column::Argila); c <= int(Column::V); ++c) {
        const int at = map.index[c];
        if (at >= 0 && fileNumber(record.fields.value(at)))
            return {};
    }
    return first.size() > 60 ? first.left(57) + QStringLiteral("...") : first;
}

QStringList describeColumns(const ColumnMap &map)
{
    QStringList lines;
    for (int c = 0; c < columnCount; ++c) {
        const Column column = Column(c);
        const int at = map.index[c];
        if (at < 0 && checkOnly(column))
            continue;
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
            line += QStringLiteral(", em %1 (%2)").arg(unit, map.source[c]);
            line += factor == 1 ? QStringLiteral(", sem conversão")
                                : QStringLiteral(", × %1 para %2")
                                      .arg(QString::number(factor, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(',')),
                                           programUnit(column));
        }
        if (checkOnly(column))
            line += QStringLiteral(", só para conferir as somas do arquivo");
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
    HeaderRows rows;
    // The header names several of the program's columns, analyses among
    // them: a client block above it ("Cliente:", "Município:") names none.
    bool byName = false;
    for (const ChosenColumn &c : chosen)
        byName = byName || !c.header.isEmpty();
    std::optional<CsvRecord> above;
    for (int n = 0; n < titleLines && reader_->next(record); ++n) {
        if (blankRecord(record)) {
            above.reset(); // a group row stands right above the names
            continue;
        }
        const int named = namedColumns(record.fields);
        if ((named >= headerNames && namedAnalyses(record.fields) >= 2) || (byName && named >= 1)) {
            header = record.fields;
            headerRecords_ = n + 1;
            break;
        }
        above = record;
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
        above.reset();
    }
    rows.header = header;
    // The row right above names groups of columns ("Complexo sortivo
    // (cmolc/dm³)", "pH" over "H2O" and "CaCl2").
    if (above)
        rows.groups = *above;
    // Under the header, rows of units and of methods, in either order.
    bool units = false, methods = false;
    while (reader_->next(record)) {
        if (blankRecord(record)) {
            ++headerRecords_;
            continue;
        }
        if (!units && unitsRow(record.fields)) {
            rows.units = record;
            units = true;
            if (!methods)
                rows.methods = record; // a unit row may carry a pH's method ("H2O", "CaCl2")
        } else if (!methods && methodsRow(record.fields)) {
            rows.methods = record;
            methods = true;
        } else {
            first_ = record;
            break;
        }
        ++headerRecords_;
    }
    const MapResult result = mapColumns(rows, chosen);
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
    // What the values show of the units: a unit the file does not state is
    // the program's only where the values are a soil's in it.
    rewind();
    UnitEvidence evidence(map_);
    while (next(record, &notSample))
        if (notSample.isEmpty())
            evidence.add(record);
    doubts_ = evidence.doubts();
    if (!doubts_.isEmpty()) {
        error_ = doubtsMessage(doubts_);
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
    if (notSample->isEmpty())
        *notSample = noteRow(record, map_);
    return true;
}

} // namespace batch
