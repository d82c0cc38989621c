#include "PlatformFile.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reports::platform {

namespace {

int writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += n;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

int writeBeside(const QString &target, const QByteArray &bytes, QString &written)
{
    const QByteArray name = QFile::encodeName(target);
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    written = QFile::decodeName(temporary);

    // A replaced report keeps the mode of the old one; a new one is an
    // ordinary file, readable like any the user writes.
    mode_t mode = 0;
    if (struct stat old{}; ::stat(name.constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int code = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!code)
        code = writeAll(fd, bytes);
    if (::close(fd) != 0 && !code)
        code = errno;
    if (code)
        ::unlink(temporary.constData());
    return code;
}

int replace(const QString &written, const QString &target)
{
    return ::rename(QFile::encodeName(written).constData(), QFile::encodeName(target).constData()) == 0 ? 0 : errno;
}

int overwrite(const QString &target, const QByteArray &bytes)
{
    QByteArray previous;
    if (QFile old(target); old.open(QIODevice::ReadOnly))
        previous = old.readAll();
    const int fd = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int code = ::ftruncate(fd, 0) == 0 ? 0 : errno;
    if (!code)
        code = writeAll(fd, bytes);
    if (code && ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0)
        writeAll(fd, previous);
    if (::close(fd) != 0 && !code)
        code = errno;
    return code;
}

} // namespace reports::platform
