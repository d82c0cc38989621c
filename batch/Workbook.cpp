#include "batch/Workbook.h"

#include "batch/OdsTable.h"
#include "batch/XlsTable.h"
#include "batch/XlsxTable.h"
#include "fileformats/FileFormats.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace batch {

namespace {

// A part of a workbook read by the module that holds libzip, loaded the
// first time a workbook is read.
class ModulePart : public PartStream {
public:
    ModulePart(const fileformats::Functions *functions, fileformats::ArchivePart *part) : functions_(functions), part_(part) {}
    ~ModulePart() override { functions_->closePart(part_); }
    QByteArray read(bool *failed) override
    {
        QByteArray piece(64 * 1024, Qt::Uninitialized);
        const qint64 n = functions_->readPart(part_, piece.data(), piece.size());
        if (n < 0) {
            *failed = true;
            return {};
        }
        piece.truncate(n);
        return piece;
    }

private:
    const fileformats::Functions *functions_;
    fileformats::ArchivePart *part_;
};

PartOpener moduleParts(const fileformats::Functions *functions, const QString &path)
{
    return [functions, path](const QString &name, QString *error) -> std::unique_ptr<PartStream> {
        fileformats::ArchivePart *part = functions->openPart(path, name, error);
        if (!part)
            return nullptr;
        return std::make_unique<ModulePart>(functions, part);
    };
}

// The first bytes of a part, or empty when there is no such part.
QByteArray partStart(const PartOpener &opener, const QString &name, QString *error)
{
    const std::unique_ptr<PartStream> part = opener(name, error);
    if (!part)
        return {};
    bool failed = false;
    return part->read(&failed).left(256);
}

// An OLE2 compound file, the container of an Excel 97-2003 workbook (and of
// the other Office documents of that time).
bool looksLikeXls(const QByteArray &start) { return start.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"); }

} // namespace

QString formatName(TableFormat format)
{
    switch (format) {
    case TableFormat::Xlsx:
        return QStringLiteral(".xlsx");
    case TableFormat::Ods:
        return QStringLiteral(".ods");
    case TableFormat::Xls:
        return QStringLiteral(".xls");
    case TableFormat::Csv:
        break;
    }
    return QStringLiteral("CSV");
}

OpenedTable openTable(const QString &path)
{
    OpenedTable table;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("não foi possível ler o arquivo: %1").arg(file->errorString());
        return table;
    }
    const QByteArray start = file->peek(8);
    const bool zip = looksLikeXlsx(start), ole = looksLikeXls(start);
    if (!zip && !ole) {
        // Documents that are no table at all, said as what they are.
        if (start.startsWith("%PDF"))
            table.error = QStringLiteral("é um documento PDF, não uma tabela; peça ao laboratório o arquivo da planilha");
        else
            table.file = std::move(file);
        return table;
    }
    file.reset();
    QString loadError;
    const fileformats::Functions *functions = fileformats::load(&loadError);
    if (!functions) {
        table.error = loadError;
        return table;
    }
    if (ole) {
        table.format = TableFormat::Xls;
        auto book = std::make_unique<XlsBook>(functions, path);
        if (!book->error().isEmpty())
            table.error = book->error();
        else
            table.book = std::move(book);
        return table;
    }
    // An archive: what it holds says which.
    const PartOpener opener = moduleParts(functions, path);
    QString error;
    const QByteArray mimetype = partStart(opener, QStringLiteral("mimetype"), &error);
    if (mimetype.startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
        table.format = TableFormat::Ods;
        auto book = std::make_unique<OdsBook>(opener);
        if (!book->error().isEmpty())
            table.error = book->error();
        else
            table.book = std::move(book);
        return table;
    }
    if (!mimetype.isEmpty()) {
        table.error = QStringLiteral("é um documento OpenDocument (%1), não uma planilha").arg(QString::fromLatin1(mimetype.trimmed()));
        return table;
    }
    QString noWorkbook;
    if (partStart(opener, QStringLiteral("xl/workbook.xml"), &noWorkbook).isEmpty()) {
        table.error = error.contains(QLatin1String("zip"))
                          ? error
                          : QStringLiteral("é um arquivo compactado (zip), mas não uma planilha .xlsx nem .ods");
        return table;
    }
    table.format = TableFormat::Xlsx;
    auto book = std::make_unique<XlsxBook>(opener);
    if (!book->error().isEmpty())
        table.error = book->error();
    else
        table.book = std::move(book);
    return table;
}

SheetChoice chooseSheet(const Workbook &book, const QString &named, const std::function<QString(int)> &fits,
                        const QString &option)
{
    SheetChoice choice;
    const QList<WorkbookSheet> sheets = book.sheets();
    QStringList names;
    for (const WorkbookSheet &s : sheets)
        names << QStringLiteral("\"%1\"").arg(s.name);
    if (!named.isEmpty()) {
        for (int i = 0; i < sheets.size(); ++i)
            if (sheets[i].name.compare(named, Qt::CaseInsensitive) == 0) {
                choice.index = i;
                choice.name = sheets[i].name;
                return choice;
            }
        choice.error = QStringLiteral("não há a planilha \"%1\"; há: %2").arg(named, names.join(QStringLiteral(", ")));
        return choice;
    }
    QStringList reasons;
    QString onlyReason;
    for (int i = 0; i < sheets.size(); ++i) {
        if (sheets[i].hidden) {
            reasons << QStringLiteral("\"%1\" (oculta)").arg(sheets[i].name);
            continue;
        }
        const QString why = fits(i);
        if (why.isEmpty()) {
            choice.index = i;
            choice.name = sheets[i].name;
            return choice;
        }
        onlyReason = why;
        reasons << QStringLiteral("\"%1\" (%2)").arg(sheets[i].name, why);
    }
    if (sheets.isEmpty())
        choice.error = QStringLiteral("a pasta de trabalho não tem planilhas");
    else if (sheets.size() == 1)
        choice.error = onlyReason.isEmpty() ? QStringLiteral("a única planilha está oculta") : onlyReason;
    else
        choice.error = QStringLiteral("nenhuma planilha tem a tabela; as planilhas são: %1")
                           .arg(reasons.join(QStringLiteral("; ")))
                       + (option.isEmpty() ? QString() : QStringLiteral(". Escolha uma com %1=NOME").arg(option));
    return choice;
}

QString storedNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // A value that is a single-precision float, to the fifteen digits a
    // writer keeps (5.30000019073486), was one: its shortest text as a
    // float is what was typed. A typed value is never that close to a float
    // without being one, whose text is the same either way.
    const float single = float(value);
    if (std::isfinite(single) && QString::number(double(single), 'g', 15) == QString::number(value, 'g', 15)) {
        char text[64];
        const auto [end, failed] = std::to_chars(text, text + sizeof text, single, std::chars_format::fixed);
        if (failed == std::errc())
            return QString::fromLatin1(text, end - text);
    }
    // Fifteen digits, all a double holds for sure: 0.30000000000000004 is 0.3.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}

namespace {

// The characters of a number format that are its codes, not text it writes:
// quoted texts, escaped characters, bracketed colours and conditions, and the
// character after "_" or "*" (widths and fills) left out.
QString formatCodes(QStringView code)
{
    QString codes;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('"')) {
            const qsizetype end = code.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else {
            codes += c;
        }
    }
    return codes;
}

} // namespace

bool percentFormat(QStringView code) { return formatCodes(code).contains(QLatin1Char('%')); }

bool dateFormat(QStringView code)
{
    const QString codes = formatCodes(code).toLower();
    if (codes == QLatin1String("general"))
        return false;
    return codes.contains(QLatin1Char('d')) || codes.contains(QLatin1Char('y')) || codes.contains(QLatin1Char('m'));
}

} // namespace batch
