#pragma once
// A laboratory's .xlsx workbook read as a table: one sheet's rows as records
// (the row's number as the record's line), cells placed by their column
// letters, shared strings, inline strings and numbers as their text ("0.15",
// never with a binary fraction's noise; a cell shown as a percentage as the
// percentage, "35" for 0.35). The sheet part is read as it is inflated and
// parsed as it comes (QXmlStreamReader), never held whole.
#include "batch/CsvTable.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace batch {

// A part of the workbook read a piece at a time.
class PartStream {
public:
    virtual ~PartStream() = default;
    // The next piece; empty at the end. `failed` is set when the part is damaged.
    virtual QByteArray read(bool *failed) = 0;
};
// Opens a part by its name in the archive ("xl/workbook.xml"); null, with
// the reason in `error`, when there is none.
using PartOpener = std::function<std::unique_ptr<PartStream>(const QString &name, QString *error)>;

class XlsxReader : public RecordReader {
public:
    // The sheet named `sheet` (whatever its case), or the first when empty.
    XlsxReader(PartOpener opener, const QString &sheet);
    ~XlsxReader() override;
    // Why the workbook cannot be read; empty when it can.
    QString error() const { return error_; }
    bool next(CsvRecord &record) override;
    void rewind() override;
    QString failure() const override { return error_; }

private:
    bool more();
    // The cell's text; `isNumber` set for a number stored as a number.
    QString cellText(const QString &type, const QString &style, const QString &value, bool *isNumber) const;

    PartOpener opener_;
    QString sheetPart_;
    QString error_;
    QStringList shared_;             // the shared strings, which cells name by number
    QHash<QString, bool> percentStyles_; // style index -> shown as a percentage
    std::unique_ptr<PartStream> stream_;
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

// Whether bytes begin as a zip archive does, as an .xlsx does.
bool looksLikeXlsx(const QByteArray &start);

} // namespace batch
