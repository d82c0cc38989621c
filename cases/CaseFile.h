#pragma once
// Reading and writing case files (".tuberon").
#include "cases/FormatOne.h"
#include "model/Case.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace cases {

inline constexpr char fileSuffix[] = "tuberon";
// A case is a few tens of kilobytes, a few megabytes with long notes;
// anything far larger is not one, and is not read into memory. Saving
// refuses what reading would refuse, so every saved case opens again.
inline constexpr qint64 maxFileSize = 16 * 1024 * 1024;

// What a case file held when it was last read or written here, to tell
// whether another program or window has written it since.
struct Stamp {
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;
};

// Raises a Failure with a message in Portuguese when the file is missing,
// a folder, unreadable, too large, or not a valid case. A case of format 1
// is handed to `formatOne` (without it, such a file is refused as damaged).
// The stamp, when asked for, is what was read.
model::Case readFile(const QString &path, const FormatOneMigration &formatOne = {}, Stamp *stamp = nullptr);

// Written through the safe writer: a failed write keeps the previous file.
// Raises a Failure with a message in Portuguese, also for a case larger
// than a case file may be. The stamp, when asked for, is what was written.
void writeFile(const QString &path, const model::Case &c, Stamp *stamp = nullptr);

// Whether the file now holds something other than the stamp says. A file
// gone since is no change: saving there loses nobody's work.
bool changedSince(const QString &path, const Stamp &stamp);

} // namespace cases
