#include "reports/PlatformFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

int writeBeside(const QString &target, const QByteArray &bytes, Temporary &written)
{
    // Opened without sharing, the file is held: no other process removes it
    // while it is written.
    const QFileInfo info(target);
    int fd = -1;
    QString path;
    for (int attempt = 0; fd < 0; ++attempt) {
        path = info.dir().filePath(QStringLiteral(".%1.tuberon-%2")
                                        .arg(info.fileName())
                                        .arg(::GetCurrentProcessId() * 100 + attempt, 6, 36, QLatin1Char('0')));
        const int code = ::_wsopen_s(&fd, reinterpret_cast<const wchar_t *>(path.utf16()),
                                     _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW, _S_IREAD | _S_IWRITE);
        if (code != EEXIST && fd < 0)
            return code;
    }
    written = {path, fd};
    const int code = writeAll(fd, bytes);
    if (code)
        discard(written);
    return code;
}

int append(Temporary &written, const QByteArray &bytes)
{
    return writeAll(written.handle, bytes);
}

int replace(Temporary &written, const QString &target)
{
    if (::_close(written.handle) != 0) {
        written.handle = -1;
        discard(written);
        return errno;
    }
    written.handle = -1;
    const bool moved = ::MoveFileExW(reinterpret_cast<const wchar_t *>(written.path.utf16()),
                                     reinterpret_cast<const wchar_t *>(target.utf16()),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    const int code = moved ? 0 : lastError();
    if (code)
        discard(written);
    written = {};
    return code;
}

void discard(Temporary &written)
{
    if (written.handle >= 0)
        ::_close(written.handle);
    if (!written.path.isEmpty())
        ::_wunlink(reinterpret_cast<const wchar_t *>(written.path.utf16()));
    written = {};
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

void removeStaleTemporaries(const QString &folder)
{
    // A file another write holds open cannot be removed.
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    for (const QString &name : dir.entryList({QStringLiteral(".*.tuberon-??????")}, QDir::Files | QDir::Hidden))
        ::_wunlink(reinterpret_cast<const wchar_t *>(dir.filePath(name).utf16()));
}

} // namespace reports::platform
