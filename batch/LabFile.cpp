#include "batch/LabFile.h"

#include "exporters/Exporters.h"
#include "batch/LabSample.h"
#include "batch/XlsxTable.h"

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

namespace {

// A part of a workbook read by the module that holds libzip, loaded the
// first time a workbook is read.
class ModulePart : public PartStream {
public:
    ModulePart(const exporters::Functions *functions, exporters::ArchivePart *part) : functions_(functions), part_(part) {}
    ~ModulePart() override { functions_->closePart(part_); }
    QByteArray read(bool *failed) override
    {
        QByteArray piece(64 * 1024, Qt::Uninitialized);
        const qint64 n = functions_->readPart(part_, piece.data(), piece.size());
        if (n < 0) {
            *failed = true;
            return {};
        }
        piece.truncate(n);
        return piece;
    }

private:
    const exporters::Functions *functions_;
    exporters::ArchivePart *part_;
};

} // namespace

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
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        auto lab = std::make_unique<LabFile>(std::make_unique<NoRecords>(), chosen);
        lab->error_ = QStringLiteral("não foi possível ler o arquivo: %1").arg(file->errorString());
        return lab;
    }
    if (!looksLikeXlsx(file->peek(4))) {
        if (!sheet.isEmpty()) {
            auto lab = std::make_unique<LabFile>(std::make_unique<NoRecords>(), chosen);
            lab->error_ = QStringLiteral("--planilha vale só para arquivos .xlsx; este é um CSV");
            return lab;
        }
        auto lab = std::make_unique<LabFile>(file.get(), chosen);
        lab->file_ = std::move(file);
        return lab;
    }
    file.reset();
    QString loadError;
    const exporters::Functions *functions = exporters::load(&loadError);
    if (!functions) {
        auto lab = std::make_unique<LabFile>(std::make_unique<NoRecords>(), chosen);
        lab->error_ = loadError;
        return lab;
    }
    auto xlsx = std::make_unique<XlsxReader>(
        [functions, path](const QString &name, QString *error) -> std::unique_ptr<PartStream> {
            exporters::ArchivePart *part = functions->openPart(path, name, error);
            if (!part)
                return nullptr;
            return std::make_unique<ModulePart>(functions, part);
        },
        sheet);
    if (!xlsx->error().isEmpty()) {
        auto lab = std::make_unique<LabFile>(std::make_unique<NoRecords>(), chosen);
        lab->error_ = xlsx->error();
        return lab;
    }
    return std::make_unique<LabFile>(std::move(xlsx), chosen);
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
            error_ = QStringLiteral("o arquivo está vazio");
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
        error_ = result.error;
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
