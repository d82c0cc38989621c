// Any bytes as a laboratory's CSV file: reading never fails and gives the
// same table twice; records keep their file order; a table written back with
// every field quoted reads back the same (when its header is of plain names); and a sample the run would do has
// every analysis value present and within its physical range.
#include "batch/CsvTable.h"
#include "batch/LabColumns.h"
#include "batch/LabSample.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray quotedBack(const batch::CsvTable &table)
{
    const auto line = [&table](const QStringList &fields) {
        QStringList quoted;
        for (QString f : fields)
            quoted << QLatin1Char('"') + f.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
        return quoted.join(table.separator) + QLatin1String("\r\n");
    };
    // The separator is said, as spreadsheets do: left to be found again it
    // would be judged from other lines, the blank ones being gone.
    QString text = QLatin1String("sep=") + table.separator + QLatin1String("\r\n") + line(table.header);
    for (const batch::CsvRecord &r : table.records)
        text += line(r.fields);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const batch::CsvTable table = batch::readCsv(bytes);
    const batch::CsvTable again = batch::readCsv(bytes);
    if (table.header != again.header || table.records.size() != again.records.size())
        std::abort();

    // Written back, a header of plain names keeps its separator; one whose
    // names hold quotes, line breaks or separators may not, and is left out.
    bool clean = QStringView(batch::decodeText(bytes)).isValidUtf16() && !table.header.isEmpty();
    for (const QString &name : table.header)
        for (const char c : {'"', '\n', '\r', ';', ',', '\t'})
            clean = clean && !name.contains(QLatin1Char(c));
    int previous = 1;
    for (const batch::CsvRecord &r : table.records) {
        if (r.line <= previous)
            std::abort(); // lines only grow, the header being line 1
        previous = r.line;
        clean = clean && r.problem.isEmpty();
    }
    if (clean) {
        const batch::CsvTable back = batch::readCsv(quotedBack(table));
        if (back.header != table.header || back.records.size() != table.records.size())
            std::abort();
        for (qsizetype i = 0; i < back.records.size(); ++i)
            if (back.records[i].fields != table.records[i].fields)
                std::abort();
    }

    const batch::MapResult map = batch::mapColumns(table.header);
    if (map.map.has_value() == !map.error.isEmpty())
        std::abort(); // either a map or the reason there is none
    if (!map.map)
        return 0;
    const QList<batch::LabSample> samples = batch::readSamples(table, *map.map, 25);
    if (samples.size() != table.records.size())
        std::abort();
    for (const batch::LabSample &s : samples) {
        if (!s.error.isEmpty())
            continue;
        for (int c = 0; c < batch::columnCount; ++c) {
            const std::optional<double> v = s.values[c];
            const batch::Column column = batch::Column(c);
            if (batch::required(column) && !v)
                std::abort();
            if (v && (*v < 0 || !(*v == *v)))
                std::abort();
            if (v && (column == batch::Column::Argila || column == batch::Column::V) && *v > 100)
                std::abort();
            if (v && column == batch::Column::Ph && *v > 14)
                std::abort();
        }
    }
    return 0;
}
