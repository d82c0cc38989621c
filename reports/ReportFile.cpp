#include "reports/ReportFile.h"

#include "core/Failure.h"
#include "reports/PlatformFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <utility>

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

// The file a path stands for: a symbolic link is followed, link by link, to
// the file it leads to, which is the one replaced (as editors do).
QString linkedFile(const QString &path)
{
    QString file = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(file);
        if (!info.isSymLink())
            break;
        file = info.symLinkTarget();
    }
    return file;
}

// Each folder written into is swept once per process of what a killed write
// left there.
void sweepOnce(const QString &folder)
{
    static QMutex mutex;
    static QSet<QString> swept;
    {
        const QMutexLocker lock(&mutex);
        if (swept.contains(folder))
            return;
        swept.insert(folder);
    }
    platform::removeStaleTemporaries(folder);
}

} // namespace

PendingFile::PendingFile(PendingFile &&other) noexcept
    : target_(std::move(other.target_)),
      written_(std::exchange(other.written_, {})),
      overwriteWith_(std::move(other.overwriteWith_)),
      overwrite_(std::exchange(other.overwrite_, false))
{
}

PendingFile &PendingFile::operator=(PendingFile &&other) noexcept
{
    if (this != &other) {
        platform::discard(written_);
        target_ = std::move(other.target_);
        written_ = std::exchange(other.written_, {});
        overwriteWith_ = std::move(other.overwriteWith_);
        overwrite_ = std::exchange(other.overwrite_, false);
    }
    return *this;
}

PendingFile::~PendingFile()
{
    platform::discard(written_);
}

int PendingFile::commit()
{
    if (overwrite_) {
        overwrite_ = false;
        return platform::overwrite(target_, std::exchange(overwriteWith_, {}));
    }
    return platform::replace(written_, target_);
}

int PendingFile::append(const QByteArray &bytes)
{
    if (overwrite_) {
        overwriteWith_ += bytes;
        return 0;
    }
    return platform::append(written_, bytes);
}

// Written by hand rather than through QSaveFile: on a disk that fills up
// part way, Qt 6.4 takes the short write for success and commits a cut file.
int prepareFile(const QString &path, const QByteArray &bytes, PendingFile &pending)
{
    pending = PendingFile();
    const QString file = linkedFile(path);
    const QFileInfo target(file);
    if (target.isDir())
        return EISDIR;
    // A report the user protected from writing is not replaced behind their back.
    if (target.exists() && !target.isWritable())
        return EACCES;
    sweepOnce(target.absolutePath());

    pending.target_ = file;
    if (const int code = platform::writeBeside(file, bytes, pending.written_)) {
        // A folder that may hold a report the user may write but takes no new
        // file: the report goes into that file.
        const bool folderRefused = code == EACCES || code == EPERM;
        if (!folderRefused || !target.exists())
            return code;
        pending.overwrite_ = true;
        pending.overwriteWith_ = bytes;
    }
    return 0;
}

int replaceFile(const QString &path, const QByteArray &bytes)
{
    PendingFile pending;
    if (const int code = prepareFile(path, bytes, pending))
        return code;
    return pending.commit();
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
