#include "fileformats/FileFormats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace fileformats {

namespace {

// Set before main() or never, read only after: constant-initialised, so
// no order of static initialisation can reset it.
constinit const Functions *linked = nullptr;

struct Loaded {
    const Functions *functions = nullptr;
    QString error;
};

// Found from the program's own folder, so that an unpacked package runs as
// well as an installed one.
Loaded loadModule()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QString error = QStringLiteral("the file formats module is missing");
    for (const QString &place : places()) {
        const QString path = programFolder.filePath(place);
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path); // never unloaded: its functions stay in use
        using Entry = const Functions *(*)();
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("tuberonFileFormats"))) {
            QString refused;
            if (const Functions *functions = checked(entry(), &refused))
                return {functions, {}};
            error = QStringLiteral("%1: %2").arg(path, refused);
            continue;
        }
        error = library.errorString();
    }
    return {nullptr, error};
}

} // namespace

QStringList places()
{
    return {QStringLiteral(TUBERON_FILEFORMATS_INSTALLED), QStringLiteral(TUBERON_FILEFORMATS_BUILT)};
}

const Functions *checked(const Functions *functions, QString *error)
{
    if (!functions) {
        *error = QStringLiteral("the module gave no functions");
        return nullptr;
    }
    if (functions->version != functionsVersion || functions->size != sizeof(Functions)) {
        *error = QStringLiteral("the module is of another build (functions version %1 of %2 bytes, expected %3 of %4)")
                     .arg(functions->version)
                     .arg(functions->size)
                     .arg(functionsVersion)
                     .arg(sizeof(Functions));
        return nullptr;
    }
    return functions;
}

void useLinked(const Functions *functions)
{
    linked = functions;
}

const Functions *load(QString *error)
{
    if (linked)
        return linked;
    static const Loaded loaded = loadModule();
    if (!loaded.functions && error)
        *error = loaded.error;
    return loaded.functions;
}

} // namespace fileformats
