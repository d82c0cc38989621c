#include "ReportFile.h"

#include "Failure.h"
#include "PlatformFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstring>

namespace reports {

namespace {

Failure ioFailure(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return Failure(QStringLiteral("File access denied"));
#ifdef EDQUOT
    case EDQUOT:
#endif
    case ENOSPC:
        return Failure(QStringLiteral("Disk full"));
    case EMFILE:
    case ENFILE:
        return Failure(QStringLiteral("Too many open files"));
    default:
        return Failure(QStringLiteral("I/O error %1").arg(code));
    }
}

Opener &currentOpener()
{
    static Opener opener = [](const QString &path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    };
    return opener;
}

} // namespace

// Written by hand rather than through QSaveFile: on a disk that fills up
// part way, Qt 6.4 takes the short write for success and commits a cut file.
int replaceFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.isDir())
        return EISDIR;
    // A report the user protected from writing is not replaced behind their back.
    if (target.exists() && !target.isWritable())
        return EACCES;

    QString written;
    if (const int code = platform::writeBeside(path, bytes, written)) {
        // A folder that takes no new file may still hold a report the user
        // may write: the report goes into that file.
        const bool folderRefused = code == EACCES || code == EPERM;
        if (folderRefused && target.exists())
            return platform::overwrite(path, bytes);
        return code;
    }
    if (const int code = platform::replace(written, path)) {
        QFile::remove(written);
        return code;
    }
    return 0;
}

void saveFile(const QString &path, const QByteArray &bytes)
{
    if (const int code = replaceFile(path, bytes))
        throw ioFailure(code);
}

QString saveProgramFile(const QString &name, const QByteArray &bytes)
{
    return saveProgramFile(name, bytes, QCoreApplication::applicationDirPath());
}

QString saveProgramFile(const QString &name, const QByteArray &bytes, const QString &programDir)
{
    // An installed program stands in <prefix>/bin, a folder it shares with
    // the system: a file left there, even by root, would outlive the package.
    const bool installed = QDir(programDir).dirName() == QLatin1String("bin");
    QString path = QDir(programDir).filePath(name);
    int code = installed ? EACCES : replaceFile(path, bytes);
    if (code == EACCES || code == EPERM || code == EROFS) {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir().mkpath(cache);
        path = QDir(cache).filePath(name);
        code = replaceFile(path, bytes);
    }
    if (code)
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(code))));
    return path;
}

void openFile(const QString &path)
{
    if (currentOpener())
        currentOpener()(path);
}

void setOpener(Opener opener)
{
    currentOpener() = std::move(opener);
}

} // namespace reports
