#include "CsvTable.h"

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

namespace {

bool blank(const QStringList &fields)
{
    for (const QString &f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

CsvTable readCsv(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    CsvTable table;
    table.separator = findSeparator(text);

    QList<CsvRecord> records;
    CsvRecord record;
    record.line = 1;
    QString field;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        record.fields << field;
        field.clear();
        records << record;
        record = CsvRecord();
    };
    bool atFieldStart = true;
    while (i < n) {
        const QChar c = text[i];
        if (atFieldStart && c == QLatin1Char('"')) {
            // A quoted field: up to the lone closing quote.
            const int startLine = line;
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
                        ++line;
                    field += q;
                }
            }
            if (!closed)
                record.problem = QStringLiteral("aspas abertas na linha %1 não fechadas").arg(startLine);
            atFieldStart = false;
            continue;
        }
        atFieldStart = false;
        if (c == table.separator) {
            record.fields << field;
            field.clear();
            atFieldStart = true;
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            endRecord();
            record.line = ++line;
            atFieldStart = true;
        } else {
            field += c;
            ++i;
        }
    }
    if (!field.isEmpty() || !record.fields.isEmpty() || !record.problem.isEmpty())
        endRecord();

    if (records.isEmpty())
        return table;
    table.header = records.takeFirst().fields;
    for (CsvRecord &r : records)
        if (!blank(r.fields) || !r.problem.isEmpty())
            table.records << std::move(r);
    return table;
}

} // namespace batch
