#include "PdfExport.h"

#include "PageReport.h"
#include "ReportFile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <cstring>

#define POINTERHOLDER_TRANSITION 4 // qpdf: std::shared_ptr throughout
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace reports {

namespace {

// What Qt's PDF writer cannot say itself, added through qpdf, which rewrites
// the document whole: the viewer preferences (print at the page's own size,
// the window neither fitted to the page nor centred, toolbar, menus and
// window controls shown) and the full document information.
QByteArray withViewerSettings(const QByteArray &pdf, const PdfExport &e)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("relatorio", pdf.constData(), std::size_t(pdf.size()));

        QPDFObjectHandle preferences = QPDFObjectHandle::newDictionary();
        preferences.replaceKey("/PrintScaling", QPDFObjectHandle::newName("/None"));
        preferences.replaceKey("/FitWindow", QPDFObjectHandle::newBool(false));
        preferences.replaceKey("/CenterWindow", QPDFObjectHandle::newBool(false));
        preferences.replaceKey("/HideToolbar", QPDFObjectHandle::newBool(false));
        preferences.replaceKey("/HideMenubar", QPDFObjectHandle::newBool(false));
        preferences.replaceKey("/HideWindowUI", QPDFObjectHandle::newBool(false));
        document.getRoot().replaceKey("/ViewerPreferences", preferences);

        QPDFObjectHandle trailer = document.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        const auto text = [](const QString &s) { return QPDFObjectHandle::newUnicodeString(s.toStdString()); };
        info.replaceKey("/Title", text(e.title));
        info.replaceKey("/Author", text(e.author));
        info.replaceKey("/Subject", text(e.subject));
        info.replaceKey("/Creator", text(e.author));
        info.replaceKey("/Producer", text(e.author));

        QPDFWriter writer(document);
        writer.setOutputMemory();
        // The same page gives the same document.
        writer.setDeterministicID(true);
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), qsizetype(out->getSize()));
    } catch (const std::exception &) {
        return {};
    }
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
    return withViewerSettings(buffer.data(), *this);
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
