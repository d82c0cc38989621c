#pragma once
// The few file operations a safe report write needs from the operating
// system, one small function each, with one implementation per platform
// (PlatformFile_posix.cpp, PlatformFile_windows.cpp). Each answers 0 or the
// system's error code, in errno's terms where there is one.
#include <QByteArray>
#include <QString>

namespace reports::platform {

// Writes the bytes into a new file beside the target and flushes them to the
// disk. The new file takes the target's permissions, or the user's usual
// ones when there is no target yet. `written` names the new file, which is
// removed again when the write fails.
int writeBeside(const QString &target, const QByteArray &bytes, QString &written);

// Puts the written file in the target's place in one step.
int replace(const QString &written, const QString &target);

// Writes the bytes over the target's own contents, for a folder that takes no
// new file; when that fails part way the previous contents are put back as
// far as the system allows.
int overwrite(const QString &target, const QByteArray &bytes);

} // namespace reports::platform
