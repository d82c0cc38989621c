#pragma once
// Reading and writing case files (".tuberon").
#include "Case.h"

#include <QString>

namespace cases {

inline constexpr char fileSuffix[] = "tuberon";
// A case is a few tens of kilobytes; anything far larger is not one, and is
// not read into memory.
inline constexpr qint64 maxFileSize = 4 * 1024 * 1024;

// Raises a Failure with a message in Portuguese when the file is missing,
// a folder, unreadable, too large, or not a valid case.
Case readFile(const QString &path);

// Written through the safe writer: a failed write keeps the previous file.
// Raises a Failure with a message in Portuguese.
void writeFile(const QString &path, const Case &c);

} // namespace cases
