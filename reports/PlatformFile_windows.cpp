#include "PlatformFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#define NOMINMAX
#include <windows.h>

namespace reports::platform {

namespace {

int writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const unsigned chunk = unsigned(qMin<qsizetype>(bytes.size() - done, 1 << 30));
        const int n = ::_write(fd, bytes.constData() + done, chunk);
        if (n < 0)
            return errno;
        done += n;
    }
    return ::_commit(fd) == 0 ? 0 : errno;
}

int lastError()
{
    switch (const DWORD code = ::GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return int(code);
    }
}

} // namespace

int writeBeside(const QString &target, const QByteArray &bytes, QString &written)
{
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        written = target + QStringLiteral(".%1").arg(::GetCurrentProcessId() * 100 + attempt, 0, 36);
        const int code = ::_wsopen_s(&fd, reinterpret_cast<const wchar_t *>(written.utf16()),
                                     _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW, _S_IREAD | _S_IWRITE);
        if (code != EEXIST && fd < 0)
            return code;
    }
    int code = writeAll(fd, bytes);
    if (::_close(fd) != 0 && !code)
        code = errno;
    if (code)
        ::_wunlink(reinterpret_cast<const wchar_t *>(written.utf16()));
    return code;
}

int replace(const QString &written, const QString &target)
{
    const bool moved = ::MoveFileExW(reinterpret_cast<const wchar_t *>(written.utf16()),
                                     reinterpret_cast<const wchar_t *>(target.utf16()),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return moved ? 0 : lastError();
}

int overwrite(const QString &target, const QByteArray &bytes)
{
    QByteArray previous;
    if (QFile old(target); old.open(QIODevice::ReadOnly))
        previous = old.readAll();
    int fd = -1;
    if (const int code = ::_wsopen_s(&fd, reinterpret_cast<const wchar_t *>(target.utf16()), _O_WRONLY | _O_BINARY,
                                     _SH_DENYRW, 0))
        return code;
    int code = ::_chsize_s(fd, 0);
    if (!code)
        code = writeAll(fd, bytes);
    if (code && ::_chsize_s(fd, 0) == 0 && ::_lseeki64(fd, 0, SEEK_SET) == 0)
        writeAll(fd, previous);
    if (::_close(fd) != 0 && !code)
        code = errno;
    return code;
}

} // namespace reports::platform
