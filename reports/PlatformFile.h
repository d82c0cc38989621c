#pragma once
// The few file operations a safe report write needs from the operating
// system, one small function each, with one implementation per platform
// (PlatformFile_posix.cpp, PlatformFile_windows.cpp). Each answers 0 or the
// system's error code, in errno's terms where there is one.
#include <QByteArray>
#include <QString>

namespace reports::platform {

// A new file written beside its target, not yet in its place. It is named
// ".<target's name>.tuberon-XXXXXX", so that one left behind by a program
// killed part way is known for the program's own, and it is held (locked)
// by the writing process until it is put in place or discarded.
struct Temporary {
    QString path;
    int handle = -1;
};

// Writes the bytes into a new file beside the target and flushes them to the
// disk. The new file takes the target's permissions, less any write
// permission the user's umask forbids, or the user's usual ones when there is
// no target yet. On failure nothing is left.
int writeBeside(const QString &target, const QByteArray &bytes, Temporary &written);

// Adds the bytes at the end of a written file not yet in its place, flushed
// to the disk, for a file made as a run goes.
int append(Temporary &written, const QByteArray &bytes);

// Puts the written file in the target's place in one step and releases it.
int replace(Temporary &written, const QString &target);

// Removes a written file that is not to be put in place.
void discard(Temporary &written);

// Writes the bytes over the target's own contents, for a folder that takes no
// new file; when that fails part way the previous contents are put back as
// far as the system allows.
int overwrite(const QString &target, const QByteArray &bytes);

// Removes the program's temporary files that a write killed part way left in
// the folder; never one that a live write holds, nor any other file.
void removeStaleTemporaries(const QString &folder);

} // namespace reports::platform
