#pragma once
// A table as laboratories and stores send it, whatever the file: CSV, an
// .xlsx workbook, an OpenDocument spreadsheet (.ods) or an Excel 97-2003
// workbook (.xls), known by its content, never by its name. A workbook's
// sheets are listed with their names and whether they are hidden; the sheet
// that holds the table is named or found.
#include "batch/CsvTable.h"

#include <QFile>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace batch {

struct WorkbookSheet {
    QString name;
    bool hidden = false;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual QList<WorkbookSheet> sheets() const = 0;
    // The records of the sheet at `index` (from 0).
    virtual std::unique_ptr<RecordReader> reader(int index) const = 0;
};

enum class TableFormat { Csv, Xlsx, Ods, Xls };

// What the file's first bytes and, for an archive, its parts say it is.
struct OpenedTable {
    TableFormat format = TableFormat::Csv;
    std::unique_ptr<QFile> file;    // a CSV, open for reading
    std::unique_ptr<Workbook> book; // a workbook
    QString error;                  // why the file cannot be read as a table
};
OpenedTable openTable(const QString &path);

// The format's name as users know it (".xlsx").
QString formatName(TableFormat format);

// The sheet that holds the table: the one named `named` (whatever its case),
// or else the first visible sheet for which `fits` gives no reason against
// it. Without one, `error` names every sheet with its reason and the option
// that names a sheet (`option`, "--planilha"), if there is one.
struct SheetChoice {
    int index = -1;
    QString name;
    QString error;
};
SheetChoice chooseSheet(const Workbook &book, const QString &named, const std::function<QString(int)> &fits,
                        const QString &option);

// A number as the cell stores it, as text with "." for its point: the
// shortest text that gives the same number back, so 0.1 + 0.2 stored as
// 0.30000000000000004 is "0.3", and a value once held in single precision
// (5.3000001907348633) is the "5.3" that was typed.
QString storedNumber(double value);

// Whether a workbook's number format shows a number as a percentage: a "%"
// outside quoted texts, escapes ("\%") and brackets; "0.0%" does,
// "0.00\" %\"" (a sign written after the number) does not.
bool percentFormat(QStringView code);
// Whether it shows a number as a date (day, month or year codes outside
// quoted texts and brackets).
bool dateFormat(QStringView code);

} // namespace batch
