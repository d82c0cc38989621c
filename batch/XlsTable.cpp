#include "batch/XlsTable.h"

#include "fileformats/FileFormats.h"

#include <QFile>

namespace batch {

XlsBook::XlsBook(const fileformats::Functions *functions, const QString &path) : functions_(functions)
{
    QByteArray bytes;
    if (QFile file(path); file.open(QIODevice::ReadOnly)) {
        if (file.size() > largestXls) {
            error_ = QStringLiteral("a planilha .xls passa de %1 MiB; não é a planilha de um laboratório")
                         .arg(largestXls / (1024 * 1024));
            return;
        }
        bytes = file.readAll();
    }
    // What FreeXL would read past its buffers is refused before it sees the file.
    if (const QString damage = xlsDamage(bytes); !damage.isEmpty()) {
        error_ = QStringLiteral("a planilha .xls está danificada: %1").arg(damage);
        return;
    }
    fileformats::XlsBook *opened = functions_->openXls(path, &error_);
    if (!opened)
        return;
    book_ = std::shared_ptr<fileformats::XlsBook>(opened, [functions](fileformats::XlsBook *b) { functions->closeXls(b); });
    const QList<XlsSheetExtras> extras = readXlsExtras(bytes);
    // FreeXL's sheets and the records' sheets, matched by name.
    for (const QString &name : functions_->xlsSheets(opened)) {
        XlsSheetExtras mine;
        for (const XlsSheetExtras &e : std::as_const(extras))
            if (e.name == name) {
                mine = e;
                break;
            }
        sheets_ << WorkbookSheet{name, mine.hidden};
        extras_ << mine;
    }
    if (sheets_.isEmpty())
        error_ = QStringLiteral("a pasta de trabalho não tem planilhas");
}

XlsBook::~XlsBook() = default;

std::unique_ptr<RecordReader> XlsBook::reader(int index) const
{
    return std::make_unique<XlsReader>(functions_, book_, index, extras_.value(index));
}

XlsReader::XlsReader(const fileformats::Functions *functions, std::shared_ptr<fileformats::XlsBook> book, int index,
                     XlsSheetExtras extras)
    : functions_(functions), book_(std::move(book)), index_(index), extras_(std::move(extras))
{
    if (!book_ || !functions_->xlsSelect(book_.get(), index_, &rows_, &columns_))
        error_ = QStringLiteral("a planilha %1 não pôde ser lida").arg(index_ + 1);
}

bool XlsReader::next(CsvRecord &record)
{
    if (!error_.isEmpty() || row_ >= rows_)
        return false;
    // Readers of one workbook share FreeXL's one chosen sheet.
    quint32 rows = 0, columns = 0;
    functions_->xlsSelect(book_.get(), index_, &rows, &columns);
    record = CsvRecord();
    record.placed = true;
    record.line = int(row_) + 1;
    for (quint32 c = 0; c < columns_; ++c) {
        const fileformats::SheetCell cell = functions_->xlsCell(book_.get(), row_, c);
        if (cell.kind == fileformats::SheetCell::Empty)
            continue;
        while (record.fields.size() <= qsizetype(c)) {
            record.fields << QString();
            record.numbers << false;
        }
        if (cell.kind == fileformats::SheetCell::Number) {
            const bool percent = extras_.percentCells.contains(quint64(row_) << 16 | c);
            record.fields[c] = storedNumber(percent ? cell.number * 100 : cell.number);
            record.numbers[c] = true;
        } else {
            record.fields[c] = cell.text;
        }
    }
    for (const auto &[first, span] : extras_.merges.value(int(row_))) {
        while (record.spans.size() <= first)
            record.spans << 1;
        record.spans[first] = span;
    }
    ++row_;
    return true;
}

} // namespace batch
