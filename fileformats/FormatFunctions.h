#pragma once
// The table of functions that need qpdf, libxlsxwriter and libzip, for the two ways
// they reach fileformats::load(): the file formats module and the linked
// file formats.
#include "fileformats/FileFormats.h"

namespace fileformats {

const Functions *formatFunctions();

// A workbook's parts read with libzip (ArchiveParts.cpp).
ArchivePart *openPart(const QString &path, const QString &name, QString *error);
qint64 readPart(ArchivePart *part, char *data, qint64 size);
void closePart(ArchivePart *part);

// An Excel 97-2003 workbook read with FreeXL (XlsBook.cpp).
XlsBook *openXls(const QString &path, QString *error);
QStringList xlsSheets(XlsBook *book);
bool xlsSelect(XlsBook *book, int sheet, quint32 *rows, quint32 *columns);
SheetCell xlsCell(XlsBook *book, quint32 row, quint32 column);
void closeXls(XlsBook *book);

} // namespace fileformats
