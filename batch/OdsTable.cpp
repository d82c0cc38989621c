#include "batch/OdsTable.h"

#include <QXmlStreamReader>

namespace batch {

namespace {

constexpr int mostRows = 1048576, mostColumns = 16384; // a sheet's size

// content.xml's tokens as the part is inflated; an end before the document's
// end is the part's damage, not its end.
class Tokens {
public:
    explicit Tokens(const PartOpener &opener)
    {
        stream_ = opener(QStringLiteral("content.xml"), &error_);
        if (!stream_ && error_.isEmpty())
            error_ = QStringLiteral("a planilha não tem a parte \"content.xml\"");
    }
    // The next token; Invalid, with error() said, at damage or an early end.
    QXmlStreamReader::TokenType next()
    {
        while (stream_) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token != QXmlStreamReader::Invalid)
                return token;
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                bool failed = false;
                const QByteArray piece = stream_->read(&failed);
                if (!piece.isEmpty()) {
                    xml.addData(piece);
                    continue;
                }
                error_ = failed ? QStringLiteral("a planilha está danificada")
                                : QStringLiteral("a planilha termina antes do fim (a parte \"content.xml\" está incompleta)");
            } else {
                error_ = QStringLiteral("a planilha está danificada: %1").arg(xml.errorString());
            }
            stream_.reset();
        }
        return QXmlStreamReader::Invalid;
    }
    QString error() const { return error_; }
    QString attribute(QLatin1String qualified) const
    {
        for (const QXmlStreamAttribute &a : xml.attributes())
            if (a.qualifiedName() == qualified)
                return a.value().toString();
        return {};
    }
    int count(QLatin1String qualified, int most) const
    {
        bool ok = false;
        const int n = attribute(qualified).toInt(&ok);
        return ok && n > 0 ? qMin(n, most) : 1;
    }

    QXmlStreamReader xml;

private:
    std::unique_ptr<PartStream> stream_;
    QString error_;
};

} // namespace

OdsBook::OdsBook(PartOpener opener) : opener_(std::move(opener))
{
    Tokens tokens(opener_);
    QStringList hiddenStyles;
    QString style;
    int inTable = 0;
    while (true) {
        const auto token = tokens.next();
        if (token == QXmlStreamReader::Invalid) {
            error_ = tokens.error();
            return;
        }
        if (token == QXmlStreamReader::EndDocument)
            break;
        const QStringView name = tokens.xml.qualifiedName();
        if (token == QXmlStreamReader::StartElement) {
            if (name == QLatin1String("table:table")) {
                if (inTable++ == 0)
                    sheets_ << WorkbookSheet{tokens.attribute(QLatin1String("table:name")),
                                             hiddenStyles.contains(tokens.attribute(QLatin1String("table:style-name")))};
            } else if (name == QLatin1String("style:style")) {
                style = tokens.attribute(QLatin1String("style:family")) == QLatin1String("table")
                            ? tokens.attribute(QLatin1String("style:name"))
                            : QString();
            } else if (name == QLatin1String("style:table-properties") && !style.isEmpty()
                       && tokens.attribute(QLatin1String("table:display")) == QLatin1String("false")) {
                hiddenStyles << style;
            }
        } else if (token == QXmlStreamReader::EndElement && name == QLatin1String("table:table")) {
            --inTable;
        }
    }
    if (sheets_.isEmpty())
        error_ = QStringLiteral("a planilha não tem tabelas");
}

std::unique_ptr<RecordReader> OdsBook::reader(int index) const { return std::make_unique<OdsReader>(opener_, index); }

struct OdsReader::Parser {
    explicit Parser(const PartOpener &opener) : tokens(opener) {}
    Tokens tokens;
    bool inSheet = false, ended = false;
    int line = 0;          // rows so far
    CsvRecord repeated;    // a row the file repeats
    int repeats = 0;       // how many more times
};

OdsReader::OdsReader(PartOpener opener, int index) : opener_(std::move(opener)), index_(index) { rewind(); }

OdsReader::~OdsReader() = default;

void OdsReader::rewind()
{
    parser_ = std::make_unique<Parser>(opener_);
    if (!parser_->tokens.error().isEmpty() && error_.isEmpty())
        error_ = parser_->tokens.error();
}

bool OdsReader::next(CsvRecord &record)
{
    Parser &p = *parser_;
    if (p.repeats > 0) {
        --p.repeats;
        record = p.repeated;
        record.line = ++p.line;
        return true;
    }
    if (p.ended)
        return false;
    Tokens &tokens = p.tokens;
    const auto fail = [&] {
        if (error_.isEmpty())
            error_ = tokens.error();
        p.ended = true;
        return false;
    };
    // To the sheet's first row.
    int tables = 0;
    while (!p.inSheet) {
        const auto token = tokens.next();
        if (token == QXmlStreamReader::Invalid)
            return fail();
        if (token == QXmlStreamReader::EndDocument) {
            p.ended = true;
            return false;
        }
        if (token == QXmlStreamReader::StartElement && tokens.xml.qualifiedName() == QLatin1String("table:table")) {
            if (tables++ == index_)
                p.inSheet = true;
            else
                for (int depth = 1; depth > 0;) { // another sheet, passed over
                    const auto t = tokens.next();
                    if (t == QXmlStreamReader::Invalid)
                        return fail();
                    depth += t == QXmlStreamReader::StartElement;
                    depth -= t == QXmlStreamReader::EndElement;
                }
        }
    }
    // Rows until one holds something; empty ones only move the line on.
    while (true) {
        CsvRecord row;
        row.placed = true;
        int repeat = 1;
        bool inRow = false;
        int column = 0;
        int cellRepeat = 1, span = 1;
        bool inCell = false, inText = false, numberCell = false;
        int paragraphs = 0, annotation = 0;
        QString text, value;
        while (true) {
            const auto token = tokens.next();
            if (token == QXmlStreamReader::Invalid)
                return fail();
            const QStringView name = tokens.xml.qualifiedName();
            if (token == QXmlStreamReader::StartElement) {
                if (name == QLatin1String("table:table-row")) {
                    inRow = true;
                    repeat = tokens.count(QLatin1String("table:number-rows-repeated"), mostRows);
                } else if (inRow && (name == QLatin1String("table:table-cell") || name == QLatin1String("table:covered-table-cell"))) {
                    inCell = true;
                    cellRepeat = tokens.count(QLatin1String("table:number-columns-repeated"), mostColumns);
                    span = tokens.count(QLatin1String("table:number-columns-spanned"), mostColumns);
                    text.clear();
                    paragraphs = 0;
                    numberCell = false;
                    const QString type = tokens.attribute(QLatin1String("office:value-type"));
                    if (type == QLatin1String("float") || type == QLatin1String("currency") || type == QLatin1String("percentage")) {
                        bool ok = false;
                        const double v = tokens.attribute(QLatin1String("office:value")).toDouble(&ok);
                        numberCell = ok;
                        // Only a value stored as a percentage is one: 0.633 shown as 63,3%.
                        value = ok ? storedNumber(type == QLatin1String("percentage") ? v * 100 : v) : QString();
                    } else if (type == QLatin1String("date")) {
                        value = tokens.attribute(QLatin1String("office:date-value")).left(10);
                    } else if (type == QLatin1String("boolean")) {
                        value = tokens.attribute(QLatin1String("office:boolean-value")) == QLatin1String("true")
                                    ? QStringLiteral("VERDADEIRO")
                                    : QStringLiteral("FALSO");
                    } else {
                        value.clear();
                    }
                } else if (inCell && name == QLatin1String("office:annotation")) {
                    ++annotation;
                } else if (inCell && !annotation && name == QLatin1String("text:p")) {
                    if (paragraphs++ > 0)
                        text += QLatin1Char('\n');
                    inText = true;
                } else if (inText && !annotation) {
                    if (name == QLatin1String("text:s"))
                        text += QString(tokens.count(QLatin1String("text:c"), 1000), QLatin1Char(' '));
                    else if (name == QLatin1String("text:tab"))
                        text += QLatin1Char('\t');
                    else if (name == QLatin1String("text:line-break"))
                        text += QLatin1Char('\n');
                }
            } else if (token == QXmlStreamReader::Characters) {
                if (inText && !annotation)
                    text += tokens.xml.text();
            } else if (token == QXmlStreamReader::EndElement) {
                if (name == QLatin1String("office:annotation")) {
                    --annotation;
                } else if (name == QLatin1String("text:p")) {
                    inText = false;
                } else if (inCell && (name == QLatin1String("table:table-cell") || name == QLatin1String("table:covered-table-cell"))) {
                    inCell = false;
                    const QString cell = value.isEmpty() ? text : value;
                    if (span > 1 && column < mostColumns) {
                        while (row.spans.size() <= column)
                            row.spans << 1;
                        row.spans[column] = span;
                    }
                    if (!cell.isEmpty()) {
                        for (int n = 0; n < cellRepeat && column < mostColumns; ++n, ++column) {
                            while (row.fields.size() <= column) {
                                row.fields << QString();
                                row.numbers << false;
                            }
                            row.fields[column] = cell;
                            row.numbers[column] = numberCell;
                        }
                    } else {
                        column = qMin(column + cellRepeat, mostColumns);
                    }
                } else if (name == QLatin1String("table:table-row")) {
                    break;
                } else if (name == QLatin1String("table:table")) {
                    p.ended = true;
                    return false;
                }
            }
        }
        if (row.fields.isEmpty()) {
            p.line = qMin(p.line + repeat, mostRows);
            if (p.line >= mostRows) {
                p.ended = true;
                return false;
            }
            continue;
        }
        repeat = qMin(repeat, mostRows - p.line);
        p.repeated = row;
        p.repeats = repeat - 1;
        record = row;
        record.line = ++p.line;
        return true;
    }
}

} // namespace batch
