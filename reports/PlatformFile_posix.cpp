#include "reports/PlatformFile.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reports::platform {

namespace {

// The process's umask can only be read by setting it, which races with any
// other thread creating a file at that moment; it is read once, while the
// program is loaded and no thread but the main one exists.
const mode_t processUmask = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}();

const char temporaryMark[] = ".tuberon-";

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

// ".<name>.tuberon-XXXXXX" beside the target, the name cut (at a character's
// start) so that the whole stays within the usual 255-byte limit.
QByteArray temporaryTemplate(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    QByteArray name = target.mid(slash + 1);
    const qsizetype room = 255 - 1 - qsizetype(sizeof temporaryMark - 1) - 6;
    if (name.size() > room) {
        name.truncate(room);
        while (!name.isEmpty() && (uchar(name.back()) & 0xC0) == 0x80)
            name.chop(1);
        if (!name.isEmpty() && uchar(name.back()) >= 0xC0)
            name.chop(1);
    }
    return folder + '.' + name + temporaryMark + "XXXXXX";
}

bool sameFile(const char *path, int fd)
{
    struct stat byName{}, byHandle{};
    return ::stat(path, &byName) == 0 && ::fstat(fd, &byHandle) == 0 && byName.st_dev == byHandle.st_dev
        && byName.st_ino == byHandle.st_ino;
}

bool mkstempSuffix(const char *text)
{
    if (std::strlen(text) != 6)
        return false;
    bool upperOrDigit = false;
    for (const char *c = text; *c; ++c) {
        const bool lower = *c >= 'a' && *c <= 'z';
        const bool other = (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        if (!lower && !other)
            return false;
        upperOrDigit = upperOrDigit || other;
    }
    return upperOrDigit;
}

// What earlier versions of the program left, "<report>.XXXXXX" beside the
// report they were replacing: only beside such a report, with a random
// suffix as mkstemp makes it, and untouched for ten minutes.
bool earlierTemporary(const QByteArray &folder, const char *name, const struct stat &info)
{
    const char *dot = std::strrchr(name, '.');
    if (!dot || dot == name || !mkstempSuffix(dot + 1) || std::time(nullptr) - info.st_mtime < 600)
        return false;
    const QByteArray report(name, dot - name);
    static const char *const kinds[] = {".pdf", ".txt", ".csv", ".xlsx", ".tuberon"};
    bool known = false;
    for (const char *kind : kinds)
        known = known || report.endsWith(kind);
    struct stat beside{};
    return known && ::stat((folder + report).constData(), &beside) == 0 && S_ISREG(beside.st_mode);
}

} // namespace

int writeBeside(const QString &target, const QByteArray &bytes, Temporary &written)
{
    const QByteArray name = QFile::encodeName(target);
    QByteArray temporary;
    int fd = -1;
    // The file is locked as soon as it exists; one that another run's
    // cleaning took away before that is made again.
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = temporaryTemplate(name);
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0)
            return errno;
        if (::flock(fd, LOCK_EX) != 0 || !sameFile(temporary.constData(), fd)) {
            ::close(fd);
            fd = -1;
            if (attempt == 10)
                return EAGAIN;
        }
    }

    // A replaced report keeps the mode of the old one, less the write
    // permission the umask forbids; a new one is an ordinary file, readable
    // like any the user writes.
    mode_t mode = 0;
    if (struct stat old{}; ::stat(name.constData(), &old) == 0)
        mode = old.st_mode & 07777 & ~(processUmask & 0222);
    else
        mode = 0666 & ~processUmask;
    int code = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!code)
        code = writeAll(fd, bytes);
    written = {QFile::decodeName(temporary), fd};
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
    // Still held while it is renamed, so that no cleaning takes it meanwhile.
    const int code = ::rename(QFile::encodeName(written.path).constData(), QFile::encodeName(target).constData()) == 0
        ? 0
        : errno;
    if (code) {
        discard(written);
        return code;
    }
    const int closed = ::close(written.handle) == 0 ? 0 : errno;
    written = {};
    return closed;
}

void discard(Temporary &written)
{
    if (!written.path.isEmpty())
        ::unlink(QFile::encodeName(written.path).constData());
    if (written.handle >= 0)
        ::close(written.handle);
    written = {};
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

void removeStaleTemporaries(const QString &folder)
{
    const QByteArray base = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder) + '/';
    DIR *dir = ::opendir(base.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        const char *mark = name[0] == '.' ? std::strstr(name, temporaryMark) : nullptr;
        const bool ours = mark && mark > name + 1 && std::strlen(mark) == sizeof temporaryMark - 1 + 6;
        const QByteArray path = base + name;
        struct stat info{};
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (!ours && !earlierTemporary(base, name, info))
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A write in progress holds its file: only a file nobody holds goes.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(path.constData(), fd))
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace reports::platform
