#include "reports/PdfExport.h"

#include "fileformats/FileFormats.h"
#include "reports/PageReport.h"
#include "reports/ReportFile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <cstring>

namespace reports {

PdfExport::PdfExport(QObject *parent) : QObject(parent)
{
}

QByteArray PdfExport::document(const PageReport &report) const
{
    return document([&report](QPagedPaintDevice &device) { return report.print(device); });
}

QString PdfExport::exportTo(const PageReport &report, const QString &path) const
{
    return exportTo([&report](QPagedPaintDevice &device) { return report.print(device); }, path);
}

QByteArray PdfExport::document(const Printing &print) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(author);
        if (!print(writer))
            return {};
    }
    // What Qt's PDF writer cannot say itself, added through qpdf.
    const fileformats::Functions *module = fileformats::load(nullptr);
    if (!module)
        return {};
    return module->pdfWithViewerSettings(buffer.data(), {title, author, subject});
}

QString PdfExport::exportTo(const Printing &print, const QString &path) const
{
    // Without the file formats module no document can be made: say why.
    if (QString error; !fileformats::load(&error))
        return error;
    const QByteArray pdf = document(print);
    if (pdf.isEmpty())
        return QStringLiteral("the page could not be drawn");
    if (const int code = replaceFile(path, pdf))
        return QString::fromLocal8Bit(std::strerror(code));
    return {};
}

} // namespace reports
