#include "batch/XlsxTable.h"

#include <QLocale>
#include <QXmlStreamReader>

namespace batch {

bool looksLikeXlsx(const QByteArray &start) { return start.startsWith("PK\x03\x04"); }

namespace {

// A whole small part: the workbook's list of sheets, its relations, its
// shared strings and styles.
QByteArray wholePart(const PartOpener &opener, const QString &name, QString *error, bool *failed)
{
    std::unique_ptr<PartStream> part = opener(name, error);
    if (!part)
        return {};
    QByteArray bytes;
    for (QByteArray piece; !(piece = part->read(failed)).isEmpty();)
        bytes += piece;
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

QString attribute(const QXmlStreamReader &xml, QLatin1String name)
{
    for (const QXmlStreamAttribute &a : xml.attributes())
        if (a.name() == name)
            return a.value().toString();
    return {};
}

} // namespace

struct XlsxReader::Parser {
    QXmlStreamReader xml;
    bool ended = false;
    int line = 0; // the last row's number
};

XlsxReader::XlsxReader(PartOpener opener, const QString &sheet) : opener_(std::move(opener))
{
    bool failed = false;
    QString error;
    const QByteArray workbook = wholePart(opener_, QStringLiteral("xl/workbook.xml"), &error, &failed);
    if (workbook.isEmpty()) {
        error_ = error.isEmpty() ? QStringLiteral("não é uma planilha .xlsx legível") : error;
        return;
    }
    QStringList names, ids;
    for (QXmlStreamReader xml(workbook); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet")) {
            names << attribute(xml, QLatin1String("name"));
            ids << attribute(xml, QLatin1String("id"));
        }
    qsizetype chosen = names.isEmpty() ? -1 : 0;
    if (!sheet.isEmpty()) {
        chosen = -1;
        for (qsizetype i = 0; i < names.size() && chosen < 0; ++i)
            if (names[i].compare(sheet, Qt::CaseInsensitive) == 0)
                chosen = i;
        if (chosen < 0) {
            error_ = QStringLiteral("não há a planilha \"%1\"; há: \"%2\"").arg(sheet, names.join(QStringLiteral("\", \"")));
            return;
        }
    }
    if (chosen < 0) {
        error_ = QStringLiteral("a pasta de trabalho não tem planilhas");
        return;
    }
    const QByteArray relations = wholePart(opener_, QStringLiteral("xl/_rels/workbook.xml.rels"), &error, &failed);
    for (QXmlStreamReader xml(relations); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Relationship")
            && attribute(xml, QLatin1String("Id")) == ids[chosen]) {
            const QString target = attribute(xml, QLatin1String("Target"));
            sheetPart_ = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    if (sheetPart_.isEmpty())
        sheetPart_ = QStringLiteral("xl/worksheets/sheet%1.xml").arg(chosen + 1);

    // Shared strings: the texts of <t> in each <si>, less phonetic runs.
    QString ignored;
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
    // Styles that show a number as a percentage: built-in formats 9 and 10,
    // or a format of the workbook's own with "%".
    const QByteArray styles = wholePart(opener_, QStringLiteral("xl/styles.xml"), &ignored, &failed);
    QStringList percentFormats{QStringLiteral("9"), QStringLiteral("10")};
    bool inCellFormats = false;
    int style = 0;
    for (QXmlStreamReader s(styles); !s.atEnd();) {
        const auto token = s.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (s.name() == QLatin1String("numFmt") && attribute(s, QLatin1String("formatCode")).contains(QLatin1Char('%')))
                percentFormats << attribute(s, QLatin1String("numFmtId"));
            else if (s.name() == QLatin1String("cellXfs"))
                inCellFormats = true;
            else if (inCellFormats && s.name() == QLatin1String("xf"))
                percentStyles_[QString::number(style++)] = percentFormats.contains(attribute(s, QLatin1String("numFmtId")));
        } else if (token == QXmlStreamReader::EndElement && s.name() == QLatin1String("cellXfs")) {
            inCellFormats = false;
        }
    }
    if (failed) {
        error_ = QStringLiteral("a planilha está danificada");
        return;
    }
    rewind();
}

XlsxReader::~XlsxReader() = default;

void XlsxReader::rewind()
{
    parser_ = std::make_unique<Parser>();
    QString error;
    stream_ = opener_(sheetPart_, &error);
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

QString XlsxReader::cellText(const QString &type, const QString &style, const QString &value, bool *isNumber) const
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
    *isNumber = true;
    if (percentStyles_.value(style))
        number *= 100;
    // Fifteen digits, all a double holds for sure: 0.30000000000000004 is 0.3.
    number = QString::number(number, 'g', 15).toDouble();
    return QString::number(number, 'f', QLocale::FloatingPointShortest);
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
    while (true) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && more())
                continue;
            if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || stream_)
                if (error_.isEmpty() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                    error_ = QStringLiteral("a planilha está danificada: %1").arg(xml.errorString());
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
                record.fields[column] = cellText(type, style, value, &isNumber);
                record.numbers[column] = isNumber;
            } else if (name == QLatin1String("row")) {
                return true;
            }
        }
    }
}

} // namespace batch
