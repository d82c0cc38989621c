#include "ReportFile.h"

#include "Failure.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFile>
#include <QUrl>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace reports {

namespace {

Failure ioFailure(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return Failure(QStringLiteral("File access denied"));
    case ENOSPC:
    case EDQUOT:
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
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errno;

    const auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        return code;
    };
    // The file is an ordinary one, readable like any the user writes.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0)
        return fail(errno);

    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += n;
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return code;
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return code;
    }
    return 0;
}

void saveFile(const QString &path, const QByteArray &bytes)
{
    if (const int code = replaceFile(path, bytes))
        throw ioFailure(code);
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
