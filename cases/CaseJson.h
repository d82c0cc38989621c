#pragma once
// A case as a JSON document in UTF-8: a format name and version first, then
// the case's sections.
#include "cases/Case.h"

#include <QByteArray>

class Failure;

namespace cases {

inline constexpr char formatName[] = "tuberon-caso";
// Raised whenever what is written changes so that an older program would
// misread it; an older program refuses a newer version.
inline constexpr int formatVersion = 1;

QByteArray toJson(const Case &c);

// Reads a whole document or raises a Failure whose message, in Portuguese,
// names the file as `fileName`: not a case, damaged, or made by a newer
// version. Nothing is partly read.
Case fromJson(const QByteArray &bytes, const QString &fileName);

// The message for a file that reads as a case but holds something no case
// holds; also for what only the window can check (a list position beyond
// its items, a grid row of the wrong width).
Failure damagedFile(const QString &fileName);

} // namespace cases
