#pragma once
// A laboratory's .xlsx workbook read as a table: one sheet's rows as records
// (the row's number as the record's line), cells placed by their column
// letters, shared strings, inline strings and numbers as their text ("0.15",
// never with a binary fraction's noise; a cell shown as a percentage as the
// percentage, "35" for 0.35; a cell shown as a date as "2025-11-30"), and the
// merged cells across columns as the record's spans. The sheet part is read
// as it is inflated and parsed as it comes (QXmlStreamReader), never held
// whole.
#include "batch/CsvTable.h"
#include "batch/Workbook.h"

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

// What every sheet of the workbook shares: its list of sheets, shared strings
// and styles, read once.
class XlsxBook : public Workbook {
public:
    explicit XlsxBook(PartOpener opener);
    // Why the workbook cannot be read; empty when it can.
    QString error() const { return error_; }
    QList<WorkbookSheet> sheets() const override { return sheets_; }
    std::unique_ptr<RecordReader> reader(int index) const override;

    // The cell's text; `isNumber` set for a number stored as a number.
    QString cellText(const QString &type, const QString &style, const QString &value, bool *isNumber) const;
    const PartOpener &opener() const { return opener_; }
    QString sheetPart(int index) const { return parts_.value(index); }

private:
    PartOpener opener_;
    QString error_;
    QList<WorkbookSheet> sheets_;
    QStringList parts_;                // each sheet's part
    QStringList shared_;               // the shared strings, which cells name by number
    QHash<QString, bool> percentStyles_; // style index -> shown as a percentage
    QHash<QString, bool> dateStyles_;    // style index -> shown as a date
};

class XlsxReader : public RecordReader {
public:
    // The sheet named `sheet` (whatever its case), or the first when empty.
    XlsxReader(PartOpener opener, const QString &sheet);
    XlsxReader(std::shared_ptr<const XlsxBook> book, int index);
    ~XlsxReader() override;
    // Why the workbook cannot be read; empty when it can.
    QString error() const { return error_; }
    bool next(CsvRecord &record) override;
    void rewind() override;
    QString failure() const override { return error_; }

private:
    void start();
    bool more();
    // The merged cells, which the sheet lists after its rows.
    void readMerges();

    std::shared_ptr<const XlsxBook> book_;
    QString sheetPart_;
    QString error_;
    QHash<int, QList<QPair<int, int>>> merges_; // row -> (first column, columns covered)
    std::unique_ptr<PartStream> stream_;
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

// Whether bytes begin as a zip archive does, as an .xlsx or .ods does.
bool looksLikeXlsx(const QByteArray &start);

// The largest parts read whole: the list of sheets and relations, the shared
// strings and the styles. A laboratory's workbook holds a few megabytes.
constexpr qint64 largestWholePart = 64 * 1024 * 1024;

} // namespace batch
