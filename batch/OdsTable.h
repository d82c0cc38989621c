#pragma once
// A laboratory's OpenDocument spreadsheet (.ods) read as a table: the sheet's
// rows in content.xml as records (a row repeated as often as it says, the
// row's place as the record's line), cells placed by their columns (repeated
// cells repeated, covered cells of a merge empty), numbers as stored ("63.3"
// for a percentage stored 0.633; a date as "2025-11-30"), and the cells that
// span columns as the record's spans. content.xml is read as it is inflated
// and parsed as it comes, never held whole.
#include "batch/XlsxTable.h"

namespace batch {

class OdsBook : public Workbook {
public:
    // Reads content.xml once for its sheets and which are hidden.
    explicit OdsBook(PartOpener opener);
    QString error() const { return error_; }
    QList<WorkbookSheet> sheets() const override { return sheets_; }
    std::unique_ptr<RecordReader> reader(int index) const override;

private:
    PartOpener opener_;
    QString error_;
    QList<WorkbookSheet> sheets_;
};

class OdsReader : public RecordReader {
public:
    OdsReader(PartOpener opener, int index);
    ~OdsReader() override;
    bool next(CsvRecord &record) override;
    void rewind() override;
    QString failure() const override { return error_; }

private:
    PartOpener opener_;
    int index_;
    QString error_;
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

} // namespace batch
