#pragma once
// A laboratory's spreadsheet saved as CSV, the way spreadsheets in Brazil
// save it: a header row, then one record per sample. The separator (";", ","
// or tab) is the one the header uses most; the text is UTF-8 (with or without
// byte-order mark), UTF-16 with its mark (or without, known by the zero
// bytes of its first characters), or else Windows-1252 line by line (a line
// that is not UTF-8 was typed into a file in the code page of a spreadsheet
// on Windows); fields may be quoted, with doubled quotes inside, and may then
// hold separators and line breaks.
#include <QByteArray>
#include <QChar>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringDecoder>
#include <memory>

namespace batch {

struct CsvRecord {
    int line = 0;       // line of the file where the record starts, from 1
    QStringList fields; // as written, quotes removed
    QString problem;    // what is wrong with how the record is written, if anything
    // A workbook's row: its cells stand in their own columns, so a missing or
    // extra cell cannot shift the others, and its numbers stored as numbers
    // (true by field) have "." as their decimal point beyond doubt.
    bool placed = false;
    QList<bool> numbers = {};
    // A workbook's merged cells across columns: for the cell that starts a
    // merge, how many columns it covers (its column included); 1 or absent
    // elsewhere. A laboratory merges one unit over a group of columns.
    QList<int> spans = {};
};

struct CsvTable {
    QChar separator;
    QStringList header;
    QList<CsvRecord> records; // blank lines left out
};

// The bytes of the file as text.
QString decodeText(const QByteArray &bytes);

// The separator the text's header row uses most; ";" when it has none.
QChar findSeparator(QStringView text);

CsvTable readCsv(const QByteArray &bytes);

// Records of a laboratory's table, one at a time, whatever the file's format.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false at the end of the table.
    virtual bool next(CsvRecord &record) = 0;
    // Back to the first record, for another pass.
    virtual void rewind() = 0;
    // Why the records stopped before the table's end (a damaged file); empty if they did not.
    virtual QString failure() const { return {}; }
};

// The same records one at a time, read from the file as they come, so that
// a large file is never held whole, neither as bytes nor as text: the header
// first, then every record, blank ones included.
class CsvReader : public RecordReader {
public:
    explicit CsvReader(const QByteArray &bytes);
    // The device must stay open while the reader reads it; seekable for rewind().
    explicit CsvReader(QIODevice *device);
    ~CsvReader() override;
    QChar separator() const { return separator_; }
    // The next record; false at the end of the text.
    bool next(CsvRecord &record) override;
    // Back to the header, for another pass over the records.
    void rewind() override;

private:
    void start();
    // Whether the text holds a character at i, reading on as needed.
    bool has(qsizetype i);
    bool readMore();

    std::unique_ptr<QIODevice> owned_;
    QIODevice *device_ = nullptr;
    enum class Encoding { Lines, Utf16LE, Utf16BE } encoding_ = Encoding::Lines;
    QStringDecoder utf16_;
    QByteArray pending_; // bytes of a line not yet read to its end
    bool ended_ = false;
    QString text_;       // decoded and not yet taken
    QChar separator_;
    qsizetype at_ = 0;
    int line_ = 1;
};

// A cell and a line of a CSV file the program writes for spreadsheets in
// Brazil (";" between cells, CR LF after the line): a text a spreadsheet
// would run as a formula ("=", "+", "-", "@", tab, carriage return first)
// is written as text, with a leading "'".
QString csvField(QString text);
QString csvLine(const QStringList &cells);

// A record with nothing in its fields and nothing wrong with it.
bool blankRecord(const CsvRecord &record);

} // namespace batch
