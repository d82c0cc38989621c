#include "batch/CsvTable.h"

#include <QStringDecoder>
#include <algorithm>
#include <iterator>

namespace batch {

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(bytes.startsWith("\xFF") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                              QStringDecoder::Flag::Stateless)
            .decode(bytes.mid(2));
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    // Not valid UTF-8: a spreadsheet on Windows saved it in its code page.
    return QStringDecoder("windows-1252").decode(body);
}

QChar findSeparator(QStringView text)
{
    // In this order a tie goes to the separator least likely to be a decimal mark.
    const QChar candidates[] = {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')};
    const auto candidate = [&candidates](QChar c) { return std::find(std::begin(candidates), std::end(candidates), c) - candidates; };
    int counts[3] = {0, 0, 0};
    // Up to the end of the header: a quote opens a quoted field only at the
    // start of a field, as the reader takes it.
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
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
            break;
        } else if (const auto k = candidate(c); k < 3) {
            ++counts[k];
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
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

CsvReader::CsvReader(const QByteArray &bytes) : text_(decodeText(bytes)), separator_(findSeparator(text_)) {}

bool CsvReader::next(CsvRecord &record)
{
    const QString &text = text_;
    const qsizetype n = text.size();
    qsizetype i = at_;
    record = CsvRecord();
    record.line = line_;
    if (i >= n)
        return false;
    QString field;
    bool atFieldStart = true;
    while (i < n) {
        const QChar c = text[i];
        if (atFieldStart && c == QLatin1Char('"')) {
            // A quoted field: up to the lone closing quote.
            const int startLine = line_;
            bool closed = false;
            for (++i; i < n; ++i) {
                const QChar q = text[i];
                if (q == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        field += q;
                        ++i;
                    } else {
                        closed = true;
                        ++i;
                        break;
                    }
                } else {
                    if (q == QLatin1Char('\n') || (q == QLatin1Char('\r') && !(i + 1 < n && text[i + 1] == QLatin1Char('\n'))))
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
            i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
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
