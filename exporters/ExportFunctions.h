#pragma once
// The table of functions that need qpdf, libxlsxwriter and libzip, for the two ways
// they reach exporters::load(): the export module and the linked exporters.
#include "exporters/Exporters.h"

namespace exporters {

const Functions *exportFunctions();

// A workbook's parts read with libzip (ArchiveParts.cpp).
ArchivePart *openPart(const QString &path, const QString &name, QString *error);
qint64 readPart(ArchivePart *part, char *data, qint64 size);
void closePart(ArchivePart *part);

} // namespace exporters
