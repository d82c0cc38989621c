#pragma once
// A laboratory's Excel 97-2003 workbook (.xls) read as a table, with FreeXL
// in the export module: each row of a sheet as a record, cells in their own
// columns, numbers as stored (a value once held in single precision,
// 5.3000001907, as the "5.3" the laboratory typed), dates as "2025-11-30".
// FreeXL gives neither merged cells nor which sheets are hidden nor number
// formats: those are read from the file's own records (XlsRecords.h).
#include "batch/Workbook.h"
#include "batch/XlsRecords.h"

namespace fileformats {
struct Functions;
struct XlsBook;
} // namespace fileformats

namespace batch {

class XlsBook : public Workbook {
public:
    XlsBook(const fileformats::Functions *functions, const QString &path);
    ~XlsBook() override;
    QString error() const { return error_; }
    QList<WorkbookSheet> sheets() const override { return sheets_; }
    std::unique_ptr<RecordReader> reader(int index) const override;

private:
    friend class XlsReader;
    const fileformats::Functions *functions_;
    std::shared_ptr<fileformats::XlsBook> book_;
    QString error_;
    QList<WorkbookSheet> sheets_;
    QList<XlsSheetExtras> extras_; // by sheet, as sheets_
};

class XlsReader : public RecordReader {
public:
    XlsReader(const fileformats::Functions *functions, std::shared_ptr<fileformats::XlsBook> book, int index,
              XlsSheetExtras extras = {});
    bool next(CsvRecord &record) override;
    void rewind() override { row_ = 0; }
    QString failure() const override { return error_; }

private:
    const fileformats::Functions *functions_;
    std::shared_ptr<fileformats::XlsBook> book_;
    int index_;
    XlsSheetExtras extras_;
    quint32 rows_ = 0, columns_ = 0, row_ = 0;
    QString error_;
};

} // namespace batch
