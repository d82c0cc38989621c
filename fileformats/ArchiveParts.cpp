// A laboratory's .xlsx or .ods read part by part with libzip, each part as it is
// inflated, so that a sheet of any length is never held whole.
#include "fileformats/FormatFunctions.h"

#include <QFile>
#include <zip.h>

namespace fileformats {

namespace {

struct Opened {
    zip_t *archive;
    zip_file_t *file;
};

} // namespace

ArchivePart *openPart(const QString &path, const QString &name, QString *error)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        *error = QStringLiteral("o arquivo compactado (zip) não pôde ser lido (%1)").arg(QString::fromLocal8Bit(zip_error_strerror(&e)));
        zip_error_fini(&e);
        return nullptr;
    }
    zip_file_t *file = zip_fopen(archive, name.toUtf8().constData(), 0);
    if (!file) {
        *error = QStringLiteral("a planilha não tem a parte \"%1\"").arg(name);
        zip_discard(archive);
        return nullptr;
    }
    return reinterpret_cast<ArchivePart *>(new Opened{archive, file});
}

qint64 readPart(ArchivePart *part, char *data, qint64 size)
{
    return zip_fread(reinterpret_cast<Opened *>(part)->file, data, zip_uint64_t(size));
}

void closePart(ArchivePart *part)
{
    auto *opened = reinterpret_cast<Opened *>(part);
    zip_fclose(opened->file);
    zip_discard(opened->archive);
    delete opened;
}

} // namespace fileformats
