// Any bytes as a laboratory's OpenDocument spreadsheet (.ods; libzip reads
// the archive from memory, as the program's module reads it from the file):
// reading never fails nor hangs, gives the same records twice (the second
// pass after a rewind), every record's fields and spans stay within a
// sheet's columns, and every sheet goes through the lab-file reader.
#include "batch/CsvTable.h"
#include "batch/LabFile.h"
#include "batch/OdsTable.h"

#include <cstdint>
#include <cstdlib>
#include <zip.h>

namespace {

class MemoryPart : public batch::PartStream {
public:
    MemoryPart(zip_t *archive, zip_file_t *file) : archive_(archive), file_(file) {}
    ~MemoryPart() override
    {
        zip_fclose(file_);
        zip_discard(archive_);
    }
    QByteArray read(bool *failed) override
    {
        QByteArray piece(4096, Qt::Uninitialized);
        const zip_int64_t n = zip_fread(file_, piece.data(), zip_uint64_t(piece.size()));
        if (n < 0) {
            *failed = true;
            return {};
        }
        piece.truncate(qsizetype(n));
        return piece;
    }

private:
    zip_t *archive_;
    zip_file_t *file_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const batch::PartOpener opener = [&bytes](const QString &name, QString *error) -> std::unique_ptr<batch::PartStream> {
        zip_error_t e;
        zip_error_init(&e);
        zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &e);
        zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &e) : nullptr;
        zip_error_fini(&e);
        if (!archive) {
            if (source)
                zip_source_free(source);
            *error = QStringLiteral("not an archive");
            return nullptr;
        }
        zip_file_t *file = zip_fopen(archive, name.toUtf8().constData(), 0);
        if (!file) {
            zip_discard(archive);
            *error = QStringLiteral("no part");
            return nullptr;
        }
        return std::make_unique<MemoryPart>(archive, file);
    };
    const batch::OdsBook book(opener);
    if (!book.error().isEmpty())
        return 0;
    const int sheets = int(book.sheets().size());
    for (int s = 0; s < sheets && s < 4; ++s) {
        const std::unique_ptr<batch::RecordReader> reader = book.reader(s);
        QList<batch::CsvRecord> first;
        batch::CsvRecord record;
        while (first.size() < 10000 && reader->next(record)) {
            if (record.fields.size() > 16384 || record.spans.size() > 16384)
                std::abort();
            first << record;
        }
        reader->rewind();
        for (const batch::CsvRecord &expected : std::as_const(first))
            if (!reader->next(record) || record.fields != expected.fields || record.line != expected.line
                || record.spans != expected.spans)
                std::abort();
        batch::LabFile lab(book.reader(s));
        QString notSample;
        for (int n = 0; n < 10000 && lab.error().isEmpty() && lab.next(record, &notSample); ++n) {
        }
    }
    return 0;
}
