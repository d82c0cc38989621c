// Any bytes as a laboratory's Excel 97-2003 workbook (.xls), read as the
// program reads it: FreeXL's cells (from a file, the only way FreeXL reads)
// and the sheets' hidden flags, merged cells and percentage formats from the
// file's own records. Reading never fails nor hangs, gives the same records
// twice (the second pass after a rewind), and every sheet goes through the
// lab-file reader.
#include "batch/CsvTable.h"
#include "batch/LabFile.h"
#include "batch/XlsRecords.h"
#include "batch/XlsTable.h"
#include "fileformats/FormatFunctions.h"

#include <QTemporaryFile>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The records alone, as any bytes.
    for (const batch::XlsSheetExtras &sheet : batch::readXlsExtras(bytes))
        for (const auto &merges : sheet.merges)
            for (const auto &[first, span] : merges)
                if (first < 0 || span < 2)
                    std::abort();

    static QTemporaryFile file;
    if (!file.isOpen() && !file.open())
        std::abort();
    file.resize(0);
    file.seek(0);
    file.write(bytes);
    file.flush();
    fileformats::Functions functions{};
    functions.openXls = &fileformats::openXls;
    functions.xlsSheets = &fileformats::xlsSheets;
    functions.xlsSelect = &fileformats::xlsSelect;
    functions.xlsCell = &fileformats::xlsCell;
    functions.closeXls = &fileformats::closeXls;
    const batch::XlsBook book(&functions, file.fileName());
    if (!book.error().isEmpty())
        return 0;
    const int sheets = int(book.sheets().size());
    for (int s = 0; s < sheets && s < 4; ++s) {
        const std::unique_ptr<batch::RecordReader> reader = book.reader(s);
        QList<batch::CsvRecord> first;
        batch::CsvRecord record;
        while (first.size() < 10000 && reader->next(record)) {
            if (record.fields.size() > 256)
                std::abort();
            first << record;
        }
        reader->rewind();
        for (const batch::CsvRecord &expected : std::as_const(first))
            if (!reader->next(record) || record.fields != expected.fields || record.line != expected.line)
                std::abort();
        batch::LabFile lab(book.reader(s));
        QString notSample;
        for (int n = 0; n < 10000 && lab.error().isEmpty() && lab.next(record, &notSample); ++n) {
        }
    }
    return 0;
}
