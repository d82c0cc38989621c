#pragma once
// A case as a JSON document in UTF-8: the format name and version first
// (under the keys every version reads, so that an older program says the
// file is newer), then the model's sections under the domain's names. The
// schema of the current format is cases/case-format-2.schema.json.
#include "cases/FormatOne.h"
#include "model/Case.h"

#include <QByteArray>

class Failure;

namespace cases {

inline constexpr char formatName[] = "tuberon-caso";
// Raised whenever what is written changes so that an older program would
// misread it; an older program refuses a newer version. Each earlier
// version is read and migrated to the current model.
inline constexpr int formatVersion = 2;

QByteArray toJson(const model::Case &c);

// Reads a whole document or raises a Failure whose message, in Portuguese,
// names the file as `fileName`: not a case, damaged, or made by a newer
// version. Nothing is partly read. A format 1 document is handed to
// `formatOne`.
model::Case fromJson(const QByteArray &bytes, const QString &fileName, const FormatOneMigration &formatOne = {});

// The message for a file that reads as a case but holds something no case
// holds; also for what only the window can check (a list position beyond
// its items, a date beyond its picker).
Failure damagedFile(const QString &fileName);

} // namespace cases
