#include "batch/CsvTable.h"

#include <QBuffer>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>

namespace batch {

namespace {

constexpr qsizetype chunkBytes = 64 * 1024;

bool lineEnd(char c) { return c == '\n' || c == '\r'; }

// Bytes of whole lines as text: UTF-8 where a line is UTF-8, else the line in
// Windows-1252. A line break is never part of a multibyte character in
// either, so lines can be told apart before they are decoded.
QString decodeLines(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = from;
        while (to < bytes.size() && !lineEnd(bytes[to]))
            ++to;
        while (to < bytes.size() && lineEnd(bytes[to]))
            ++to;
        const QByteArrayView line = bytes.sliced(from, to - from);
        QStringDecoder lineUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = lineUtf8.decode(line);
        text += lineUtf8.hasError() ? QStringDecoder("windows-1252").decode(line) : decoded;
        from = to;
    }
    return text;
}

// UTF-16 that lost its byte-order mark, as some exports save it: two
// characters of the header, each a byte and a zero (little-endian) or a
// zero and a byte (big-endian). Text in one byte per character holds no
// zero bytes. 0 when the bytes are not such text, else 1 (LE) or 2 (BE).
int utf16WithoutMark(QByteArrayView start)
{
    if (start.size() < 4)
        return 0;
    const auto zero = [&start](int i) { return start[i] == '\0'; };
    if (!zero(0) && zero(1) && !zero(2) && zero(3))
        return 1;
    if (zero(0) && !zero(1) && zero(2) && !zero(3))
        return 2;
    return 0;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(bytes.startsWith("\xFF") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                              QStringDecoder::Flag::Stateless)
            .decode(bytes.mid(2));
    if (const int utf16 = utf16WithoutMark(bytes))
        return QStringDecoder(utf16 == 1 ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                              QStringDecoder::Flag::Stateless)
            .decode(bytes);
    return decodeLines(QByteArrayView(bytes).sliced(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0));
}

QChar findSeparator(QStringView text)
{
    // In this order a tie goes to the separator least likely to be a decimal mark.
    const QChar candidates[] = {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')};
    const auto candidate = [&candidates](QChar c) { return std::find(std::begin(candidates), std::end(candidates), c) - candidates; };
    int counts[3] = {0, 0, 0}, most[3] = {0, 0, 0};
    // Line by line over the first lines, a title block's included: the
    // header is the line with the most fields. A quote opens a quoted field
    // only at the start of a field, as the reader takes it.
    bool quoted = false;
    int lines = 0;
    const auto lineDone = [&] {
        for (int k = 0; k < 3; ++k) {
            most[k] = std::max(most[k], counts[k]);
            counts[k] = 0;
        }
    };
    for (qsizetype i = 0; i < text.size() && lines < 30; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                    ++i;
                else
                    quoted = false;
            }
        } else if (c == QLatin1Char('"') && (i == 0 || candidate(text[i - 1]) < 3)) {
            quoted = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lineDone();
            ++lines;
        } else if (const auto k = candidate(c); k < 3) {
            ++counts[k];
        }
    }
    lineDone();
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (most[i] > most[best])
            best = i;
    return candidates[best];
}

bool blankRecord(const CsvRecord &record)
{
    if (!record.problem.isEmpty())
        return false;
    for (const QString &f : record.fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

CsvReader::CsvReader(const QByteArray &bytes) : owned_(std::make_unique<QBuffer>())
{
    static_cast<QBuffer *>(owned_.get())->setData(bytes);
    owned_->open(QIODevice::ReadOnly);
    device_ = owned_.get();
    start();
}

CsvReader::CsvReader(QIODevice *device) : device_(device) { start(); }

CsvReader::~CsvReader() = default;

void CsvReader::rewind()
{
    device_->seek(0);
    start();
}

// The encoding from the byte-order mark, and the separator from the header.
void CsvReader::start()
{
    pending_.clear();
    text_.clear();
    ended_ = false;
    at_ = 0;
    line_ = 1;
    encoding_ = Encoding::Lines;
    QByteArray mark = device_->peek(4);
    const int withoutMark = utf16WithoutMark(mark);
    if (mark.startsWith("\xFF\xFE") || mark.startsWith("\xFE\xFF") || withoutMark) {
        encoding_ = mark.startsWith("\xFF") || withoutMark == 1 ? Encoding::Utf16LE : Encoding::Utf16BE;
        // Kept from chunk to chunk: a chunk may end inside a character.
        utf16_ = QStringDecoder(encoding_ == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        if (!withoutMark)
            device_->read(2);
    } else if (mark.startsWith("\xEF\xBB\xBF")) {
        device_->read(3);
    }
    // Enough text for the header row, quoted line breaks and all.
    while (text_.size() < chunkBytes && readMore()) {
    }
    // "sep=;", what some spreadsheets write above the header, says it.
    if (text_.startsWith(QLatin1String("sep=")) && text_.size() > 4 && text_[4] != QLatin1Char('\n')
        && text_[4] != QLatin1Char('\r') && (text_.size() == 5 || text_[5] == QLatin1Char('\n') || text_[5] == QLatin1Char('\r'))) {
        separator_ = text_[4];
        at_ = text_.mid(5, 2) == QLatin1String("\r\n") ? 7 : std::min<qsizetype>(6, text_.size());
        line_ = 2;
        return;
    }
    separator_ = findSeparator(text_);
}

bool CsvReader::readMore()
{
    if (ended_)
        return false;
    const QByteArray bytes = device_->read(chunkBytes);
    if (bytes.isEmpty())
        ended_ = true;
    if (encoding_ != Encoding::Lines) {
        text_ += utf16_.decode(bytes);
        return !ended_;
    }
    pending_ += bytes;
    // Whole lines only, but for the last bytes of the file.
    qsizetype upTo = pending_.size();
    if (!ended_) {
        while (upTo > 0 && !lineEnd(pending_[upTo - 1]))
            --upTo;
        // A line end at the chunk's end may be the first half of "\r\n".
        if (upTo == pending_.size() && upTo > 0 && pending_[upTo - 1] == '\r')
            --upTo;
    }
    text_ += decodeLines(QByteArrayView(pending_).first(upTo));
    pending_.remove(0, upTo);
    return true;
}

bool CsvReader::has(qsizetype i)
{
    while (i >= text_.size())
        if (!readMore())
            return false;
    return true;
}

bool CsvReader::next(CsvRecord &record)
{
    // What earlier records took is dropped, so that the text held stays a
    // few lines long.
    if (at_ > chunkBytes) {
        text_.remove(0, at_);
        at_ = 0;
    }
    const QString &text = text_;
    qsizetype i = at_;
    record = CsvRecord();
    record.line = line_;
    if (!has(i))
        return false;
    QString field;
    bool atFieldStart = true;
    while (has(i)) {
        const QChar c = text[i];
        if (atFieldStart && c == QLatin1Char('"')) {
            // A quoted field: up to the lone closing quote.
            const int startLine = line_;
            bool closed = false;
            for (++i; has(i); ++i) {
                const QChar q = text[i];
                if (q == QLatin1Char('"')) {
                    if (has(i + 1) && text[i + 1] == QLatin1Char('"')) {
                        field += q;
                        ++i;
                    } else {
                        closed = true;
                        ++i;
                        break;
                    }
                } else {
                    if (q == QLatin1Char('\n') || (q == QLatin1Char('\r') && !(has(i + 1) && text[i + 1] == QLatin1Char('\n'))))
                        ++line_;
                    field += q;
                }
            }
            if (!closed)
                record.problem = QStringLiteral("aspas abertas na linha %1 não fechadas").arg(startLine);
            atFieldStart = false;
            continue;
        }
        atFieldStart = false;
        if (c == separator_) {
            record.fields << field;
            field.clear();
            atFieldStart = true;
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && has(i + 1) && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            record.fields << field;
            ++line_;
            at_ = i;
            return true;
        } else {
            field += c;
            ++i;
        }
    }
    at_ = i;
    if (field.isEmpty() && record.fields.isEmpty() && record.problem.isEmpty())
        return false;
    record.fields << field;
    return true;
}

QString csvField(QString text)
{
    // A text a spreadsheet would run as a formula is written as text.
    static const QString formula = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formula.contains(text.front()))
        text.prepend(QLatin1Char('\''));
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')) && text.trimmed() == text)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList &cells)
{
    QStringList fields;
    for (const QString &c : cells)
        fields << csvField(c);
    return fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
}

CsvTable readCsv(const QByteArray &bytes)
{
    CsvReader reader(bytes);
    CsvTable table;
    table.separator = reader.separator();
    CsvRecord record;
    if (!reader.next(record))
        return table;
    table.header = record.fields;
    while (reader.next(record))
        if (!blankRecord(record))
            table.records << std::move(record);
    return table;
}

} // namespace batch
