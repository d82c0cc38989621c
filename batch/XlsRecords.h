#pragma once
// What an Excel 97-2003 workbook (.xls) holds beyond its cells' values, read
// from the file's own records since FreeXL does not give it: which sheets are
// hidden, the merged cells, and which numbers are shown as percentages. The
// file is an OLE2 compound file whose "Workbook" stream holds BIFF8 records.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

namespace batch {

struct XlsSheetExtras {
    QString name;
    bool hidden = false;
    QHash<int, QList<QPair<int, int>>> merges; // row from 0 -> (first column, columns covered)
    QSet<quint64> percentCells;                 // row << 16 | column, from 0
};

// Every sheet's extras, in the workbook's order; empty when the file is not
// a BIFF8 workbook these records can be read from (then nothing is hidden,
// merged or a percentage).
QList<XlsSheetExtras> readXlsExtras(const QByteArray &file);

// Why the file must not reach FreeXL, or empty when nothing known to trip
// it was found. FreeXL converts every name in the compound file's directory
// trusting the entry's own count of bytes, and a count past the 64 bytes an
// entry has makes it read past the entry; such a file is damaged anyway.
QString xlsDamage(const QByteArray &file);

// The largest .xls read: the format holds 65536 rows of 256 columns.
constexpr qint64 largestXls = 256 * 1024 * 1024;

} // namespace batch
