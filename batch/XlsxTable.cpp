#include "batch/XlsxTable.h"

#include <QDate>
#include <QXmlStreamReader>

namespace batch {

bool looksLikeXlsx(const QByteArray &start) { return start.startsWith("PK\x03\x04"); }

namespace {

// A whole small part: the workbook's list of sheets, its relations, its
// shared strings and styles; refused past a size no laboratory's workbook
// reaches, rather than filling the memory.
QByteArray wholePart(const PartOpener &opener, const QString &name, QString *error, bool *failed)
{
    std::unique_ptr<PartStream> part = opener(name, error);
    if (!part)
        return {};
    QByteArray bytes;
    for (QByteArray piece; !(piece = part->read(failed)).isEmpty();) {
        bytes += piece;
        if (bytes.size() > largestWholePart) {
            *error = QStringLiteral("a parte \"%1\" da planilha passa de %2 MiB; não é a planilha de um laboratório")
                         .arg(name)
                         .arg(largestWholePart / (1024 * 1024));
            *failed = true;
            return {};
        }
    }
    return bytes;
}

// "AB12" -> 27, the column's place from 0.
int columnOf(QStringView reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        if (column > 16384) // the most columns a sheet has
            return -1;
    }
    return column - 1;
}

// "AB12" -> 12.
int rowOf(QStringView reference)
{
    qsizetype i = 0;
    while (i < reference.size() && reference[i].isLetter())
        ++i;
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    return ok ? row : -1;
}

QString attribute(const QXmlStreamReader &xml, QLatin1String name)
{
    for (const QXmlStreamAttribute &a : xml.attributes())
        if (a.name() == name)
            return a.value().toString();
    return {};
}

} // namespace

XlsxBook::XlsxBook(PartOpener opener) : opener_(std::move(opener))
{
    bool failed = false;
    QString error;
    const QByteArray workbook = wholePart(opener_, QStringLiteral("xl/workbook.xml"), &error, &failed);
    if (workbook.isEmpty()) {
        error_ = error.isEmpty() ? QStringLiteral("não é uma planilha .xlsx legível") : error;
        return;
    }
    QStringList ids;
    for (QXmlStreamReader xml(workbook); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet")) {
            const QString state = attribute(xml, QLatin1String("state"));
            sheets_ << WorkbookSheet{attribute(xml, QLatin1String("name")),
                                     state == QLatin1String("hidden") || state == QLatin1String("veryHidden")};
            ids << attribute(xml, QLatin1String("id"));
        }
    if (sheets_.isEmpty()) {
        error_ = QStringLiteral("a pasta de trabalho não tem planilhas");
        return;
    }
    QString ignored;
    const QByteArray relations = wholePart(opener_, QStringLiteral("xl/_rels/workbook.xml.rels"), &ignored, &failed);
    parts_.resize(sheets_.size());
    for (QXmlStreamReader xml(relations); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Relationship")) {
            const qsizetype at = ids.indexOf(attribute(xml, QLatin1String("Id")));
            if (at < 0)
                continue;
            const QString target = attribute(xml, QLatin1String("Target"));
            parts_[at] = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    for (qsizetype i = 0; i < parts_.size(); ++i)
        if (parts_[i].isEmpty())
            parts_[i] = QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1);

    // Shared strings: the texts of <t> in each <si>, less phonetic runs.
    const QByteArray strings = wholePart(opener_, QStringLiteral("xl/sharedStrings.xml"), &ignored, &failed);
    QXmlStreamReader xml(strings);
    bool inText = false, phonetic = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == QLatin1String("si"))
                shared_ << QString();
            else if (xml.name() == QLatin1String("rPh"))
                phonetic = true;
            else if (xml.name() == QLatin1String("t"))
                inText = true;
            break;
        case QXmlStreamReader::EndElement:
            if (xml.name() == QLatin1String("rPh"))
                phonetic = false;
            else if (xml.name() == QLatin1String("t"))
                inText = false;
            break;
        case QXmlStreamReader::Characters:
            if (inText && !phonetic && !shared_.isEmpty())
                shared_.last() += xml.text();
            break;
        default:
            break;
        }
    }
    // Styles that show a number as a percentage (built-in formats 9 and 10,
    // or a format of the workbook's own with a "%" of its own, not one
    // written as text) or as a date (built-in 14 to 22 and 45 to 47).
    const QByteArray styles = wholePart(opener_, QStringLiteral("xl/styles.xml"), &ignored, &failed);
    QStringList percentFormats{QStringLiteral("9"), QStringLiteral("10")};
    QStringList dateFormats;
    for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47})
        dateFormats << QString::number(id);
    bool inCellFormats = false;
    int style = 0;
    for (QXmlStreamReader s(styles); !s.atEnd();) {
        const auto token = s.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (s.name() == QLatin1String("numFmt")) {
                const QString id = attribute(s, QLatin1String("numFmtId"));
                const QString code = attribute(s, QLatin1String("formatCode"));
                percentFormats.removeAll(id);
                dateFormats.removeAll(id);
                if (percentFormat(code))
                    percentFormats << id;
                else if (dateFormat(code))
                    dateFormats << id;
            } else if (s.name() == QLatin1String("cellXfs")) {
                inCellFormats = true;
            } else if (inCellFormats && s.name() == QLatin1String("xf")) {
                const QString id = attribute(s, QLatin1String("numFmtId"));
                percentStyles_[QString::number(style)] = percentFormats.contains(id);
                dateStyles_[QString::number(style++)] = dateFormats.contains(id);
            }
        } else if (token == QXmlStreamReader::EndElement && s.name() == QLatin1String("cellXfs")) {
            inCellFormats = false;
        }
    }
    if (failed)
        error_ = ignored.isEmpty() ? QStringLiteral("a planilha está danificada") : ignored;
}

std::unique_ptr<RecordReader> XlsxBook::reader(int index) const
{
    // The book outlives none of its readers: each holds a share of a copy.
    return std::make_unique<XlsxReader>(std::make_shared<XlsxBook>(*this), index);
}

QString XlsxBook::cellText(const QString &type, const QString &style, const QString &value, bool *isNumber) const
{
    *isNumber = false;
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int at = value.trimmed().toInt(&ok);
        return ok ? shared_.value(at) : QString();
    }
    // A true or false is no quantity: shown as the spreadsheet shows it, it
    // is the sample's error like any other text.
    if (type == QLatin1String("b"))
        return value.trimmed() == QLatin1String("1") ? QStringLiteral("VERDADEIRO") : QStringLiteral("FALSO");
    if (!type.isEmpty() && type != QLatin1String("n"))
        return value;
    bool ok = false;
    double number = value.trimmed().toDouble(&ok);
    if (!ok)
        return value;
    // A date is a count of days since 30 December 1899, shown as a date.
    if (dateStyles_.value(style) && number >= 1 && number < 2958466)
        return QDate(1899, 12, 30).addDays(qint64(number)).toString(Qt::ISODate);
    *isNumber = true;
    if (percentStyles_.value(style))
        return storedNumber(number * 100);
    return storedNumber(number);
}

struct XlsxReader::Parser {
    QXmlStreamReader xml;
    bool ended = false;
    int line = 0; // the last row's number
};

XlsxReader::XlsxReader(PartOpener opener, const QString &sheet)
{
    auto book = std::make_shared<XlsxBook>(std::move(opener));
    book_ = book;
    if (!book->error().isEmpty()) {
        error_ = book->error();
        return;
    }
    const QList<WorkbookSheet> sheets = book->sheets();
    qsizetype chosen = 0;
    if (!sheet.isEmpty()) {
        chosen = -1;
        QStringList names;
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            names << sheets[i].name;
            if (chosen < 0 && sheets[i].name.compare(sheet, Qt::CaseInsensitive) == 0)
                chosen = i;
        }
        if (chosen < 0) {
            error_ = QStringLiteral("não há a planilha \"%1\"; há: \"%2\"").arg(sheet, names.join(QStringLiteral("\", \"")));
            return;
        }
    }
    sheetPart_ = book->sheetPart(int(chosen));
    start();
}

XlsxReader::XlsxReader(std::shared_ptr<const XlsxBook> book, int index) : book_(std::move(book))
{
    error_ = book_->error();
    if (!error_.isEmpty())
        return;
    sheetPart_ = book_->sheetPart(index);
    start();
}

XlsxReader::~XlsxReader() = default;

void XlsxReader::start()
{
    readMerges();
    if (error_.isEmpty())
        rewind();
}

void XlsxReader::readMerges()
{
    QString error;
    std::unique_ptr<PartStream> stream = book_->opener()(sheetPart_, &error);
    if (!stream) {
        error_ = error;
        return;
    }
    QXmlStreamReader xml;
    bool failed = false;
    int merges = 0;
    while (true) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                return; // said when the rows are read
            const QByteArray piece = stream->read(&failed);
            if (piece.isEmpty())
                return;
            xml.addData(piece);
            continue;
        }
        if (token == QXmlStreamReader::EndDocument)
            return;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mergeCell")) {
            const QString range = attribute(xml, QLatin1String("ref"));
            const qsizetype colon = range.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            const QStringView from = QStringView(range).left(colon), to = QStringView(range).mid(colon + 1);
            const int first = columnOf(from), last = columnOf(to), row = rowOf(from);
            // A sheet has at most as many merges as it has cells; a million is past any laboratory's.
            if (first >= 0 && last > first && row > 0 && ++merges < 1000000)
                merges_[row] << qMakePair(first, last - first + 1);
        }
    }
}

void XlsxReader::rewind()
{
    parser_ = std::make_unique<Parser>();
    QString error;
    stream_ = book_->opener()(sheetPart_, &error);
    if (!stream_ && error_.isEmpty())
        error_ = error;
}

bool XlsxReader::more()
{
    if (!stream_)
        return false;
    bool failed = false;
    const QByteArray piece = stream_->read(&failed);
    if (failed && error_.isEmpty())
        error_ = QStringLiteral("a planilha está danificada");
    if (piece.isEmpty())
        return false;
    parser_->xml.addData(piece);
    return true;
}

bool XlsxReader::next(CsvRecord &record)
{
    if (!parser_ || parser_->ended)
        return false;
    QXmlStreamReader &xml = parser_->xml;
    record = CsvRecord();
    bool inRow = false, inValue = false;
    int column = -1;
    QString type, style, value;
    const auto placeSpans = [&] {
        for (const auto &[first, span] : merges_.value(record.line)) {
            while (record.spans.size() <= first)
                record.spans << 1;
            record.spans[first] = span;
        }
    };
    while (true) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid) {
            const bool early = xml.error() == QXmlStreamReader::PrematureEndOfDocumentError;
            if (early && more())
                continue;
            // A sheet that stops before its end lost rows: no table at all.
            if (error_.isEmpty())
                error_ = early ? QStringLiteral("a planilha termina antes do fim (a parte \"%1\" está incompleta)").arg(sheetPart_)
                               : QStringLiteral("a planilha está danificada: %1").arg(xml.errorString());
            parser_->ended = true;
            if (inRow)
                record.problem = QStringLiteral("linha %1 da planilha incompleta").arg(record.line);
            return inRow;
        }
        if (token == QXmlStreamReader::EndDocument) {
            parser_->ended = true;
            return false;
        }
        if (token == QXmlStreamReader::StartElement) {
            const auto name = xml.name();
            if (name == QLatin1String("row")) {
                inRow = true;
                record.placed = true;
                // A row may leave out its number: then it follows the one before.
                const int number = attribute(xml, QLatin1String("r")).toInt();
                record.line = parser_->line = number > 0 ? number : parser_->line + 1;
            } else if (inRow && name == QLatin1String("c")) {
                const QString reference = attribute(xml, QLatin1String("r"));
                column = reference.isEmpty() ? int(record.fields.size()) : columnOf(reference);
                type = attribute(xml, QLatin1String("t"));
                style = attribute(xml, QLatin1String("s"));
                value.clear();
            } else if (inRow && (name == QLatin1String("v") || name == QLatin1String("t"))) {
                inValue = true;
            }
        } else if (token == QXmlStreamReader::Characters && inValue) {
            value += xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            const auto name = xml.name();
            if (name == QLatin1String("v") || name == QLatin1String("t")) {
                inValue = false;
            } else if (name == QLatin1String("c") && column >= 0) {
                while (record.fields.size() <= column)
                    record.fields << QString();
                while (record.numbers.size() <= column)
                    record.numbers << false;
                bool isNumber = false;
                record.fields[column] = book_->cellText(type, style, value, &isNumber);
                record.numbers[column] = isNumber;
            } else if (name == QLatin1String("row")) {
                placeSpans();
                return true;
            }
        }
    }
}

} // namespace batch
