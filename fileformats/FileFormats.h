#pragma once
// The file formats only some runs need live, for the program, in a module of
// its own, loaded the first time one is used: qpdf's rewrite of a PDF
// document, libxlsxwriter's workbook written, and the reading of a
// laboratory's workbook (libzip's parts of an .xlsx or .ods, FreeXL's cells
// of an .xls). Their libraries, with GnuTLS and libcrypto behind them, cost about
// 21 million instructions to load and relocate; linked into the program they
// were paid before the window's first frame, and by every start that neither
// exports nor reads a workbook.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace fileformats {

// The document information a PDF carries.
struct PdfInformation {
    QString title;
    QString author;
    QString subject;
};

// One cell of a sheet: text, or a number shown with 0 to 3 decimal places.
struct SheetCell {
    enum Kind { Empty, Text, Number };
    Kind kind = Empty;
    QString text;
    double number = 0;
    int places = 0;
};

// One worksheet: a bold, wrapped title row that stays in view and carries the
// filter, then the rows, asked for one at a time and in order, so that a sheet
// of any length is written without being held whole.
struct Sheet {
    QString name;
    QStringList titles;
    QList<double> widths; // one per title, in characters
    qsizetype rowCount = 0;
    std::function<QList<SheetCell>(qsizetype)> row;
};

// A part of a zip archive (an .xlsx holds its sheets so), read in order.
struct ArchivePart;
// An Excel 97-2003 workbook, read whole when opened.
struct XlsBook;

// The table's layout, raised whenever a function is added, removed or
// changes its parameters: a module from another build is refused, not called.
inline constexpr quint32 functionsVersion = 1;

struct Functions {
    // First, and never moved, so that any build's table can be checked:
    // functionsVersion and sizeof(Functions) as the module was built.
    quint32 version;
    quint32 size;
    // The document with its viewer preferences (printed at the page's own
    // size, the window neither fitted nor centred, toolbar, menus and window
    // controls shown) and the full document information; empty when qpdf
    // cannot read it.
    QByteArray (*pdfWithViewerSettings)(const QByteArray &pdf, const PdfInformation &information);
    // The workbook's bytes, or an empty array with the reason in `error`
    // when any of its writes fails. Texts must be valid for the format.
    QByteArray (*workbook)(const Sheet &sheet, QString *error);
    // The part `name` of the archive at `path`, to be read a piece at a
    // time and closed; null, with the reason in `error`, when the archive
    // cannot be opened or has no such part.
    ArchivePart *(*openPart)(const QString &path, const QString &name, QString *error);
    // Up to `size` bytes of the part: how many were read, 0 at its end, -1
    // when the archive is damaged.
    qint64 (*readPart)(ArchivePart *part, char *data, qint64 size);
    void (*closePart)(ArchivePart *part);
    // The Excel 97-2003 workbook at `path`; null, with the reason in
    // `error`, when it cannot be read (damaged, protected by a password).
    XlsBook *(*openXls)(const QString &path, QString *error);
    // Its sheets' names, in order.
    QStringList (*xlsSheets)(XlsBook *book);
    // Makes the sheet at `sheet` the one whose cells are read; false when
    // there is none. `rows` and `columns`: how many the sheet uses.
    bool (*xlsSelect)(XlsBook *book, int sheet, quint32 *rows, quint32 *columns);
    // A cell's value as stored (a date as "2025-11-30"), from 0.
    SheetCell (*xlsCell)(XlsBook *book, quint32 row, quint32 column);
    void (*closeXls)(XlsBook *book);
};

// Linked file formats, which load() returns from then on without looking for
// the module; registered before main() by FileFormatsLinked.cpp, part of
// tuberon_ui.
void useLinked(const Functions *functions);

// Where the module is looked for, relative to the program's folder, in turn:
// installed, under libexec beside bin; in the build folder, under libexec in
// the folder that holds the program. A program one folder down in the build
// folder finds it as an installed program does.
QStringList places();

// The linked file formats if there are any, else the module's functions, loaded
// on the first call (from any thread); null, with the reason in `error`, when
// the module cannot be loaded or is of another build.
const Functions *load(QString *error);

// The table when its version and size are this build's; else null, with the
// reason in `error`.
const Functions *checked(const Functions *functions, QString *error);

} // namespace fileformats
