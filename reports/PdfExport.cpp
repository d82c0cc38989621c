#include "PdfExport.h"

#include "PageReport.h"
#include "ReportFile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cstring>

namespace reports {

namespace {

// A PDF text string: UTF-16 big-endian with its byte-order mark, in hex.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode() + 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

// Qt writes only title, creator and producer into the document information;
// an incremental update appends a fuller information dictionary, leaving the
// bytes Qt wrote untouched.
QByteArray withInformation(QByteArray pdf, const PdfExport &e)
{
    static const QRegularExpression trailer(QStringLiteral("trailer\\s*<<(.*?)>>\\s*startxref\\s*(\\d+)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatch last;
    for (auto it = trailer.globalMatch(QString::fromLatin1(pdf)); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return pdf;
    const QString dict = last.captured(1);
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(dict);
    const QRegularExpressionMatch root = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(dict);
    if (!size.hasMatch() || !root.hasMatch())
        return pdf;
    const int number = size.captured(1).toInt();
    const QByteArray previousXref = last.captured(2).toLatin1();

    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qsizetype infoAt = pdf.size();
    pdf += QByteArray::number(number) + " 0 obj\n<<\n/Title " + pdfText(e.title) + "\n/Author " + pdfText(e.author)
        + "\n/Subject " + pdfText(e.subject) + "\n/Creator " + pdfText(e.author) + "\n/Producer "
        + pdfText(e.author) + "\n>>\nendobj\n";
    const qsizetype xrefAt = pdf.size();
    pdf += "xref\n" + QByteArray::number(number) + " 1\n"
        + QByteArray::number(infoAt).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + QByteArray::number(number + 1) + "\n/Root " + root.captured(1).toLatin1()
        + "\n/Info " + QByteArray::number(number) + " 0 R\n/Prev " + previousXref + "\n>>\nstartxref\n"
        + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return pdf;
}

} // namespace

PdfExport::PdfExport(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frxPDFExport1"));
}

QByteArray PdfExport::document(const PageReport &report) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(author);
        if (!report.print(writer))
            return {};
    }
    return withInformation(buffer.data(), *this);
}

QString PdfExport::exportTo(const PageReport &report, const QString &path) const
{
    const QByteArray pdf = document(report);
    if (pdf.isEmpty())
        return QStringLiteral("the page could not be drawn");
    if (const int code = replaceFile(path, pdf))
        return QString::fromLocal8Bit(std::strerror(code));
    return {};
}

} // namespace reports
