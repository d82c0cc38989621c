// Everything that needs qpdf or libxlsxwriter, and nothing else: built into
// the file formats module the program loads, and linked into tuberon_ui.
#include "fileformats/FormatFunctions.h"

#include <QFile>
#include <QTemporaryDir>

#define POINTERHOLDER_TRANSITION 4 // qpdf: std::shared_ptr throughout
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>
#include <xlsxwriter.h>

#include <exception>
#include <memory>

namespace fileformats {

namespace {

// qpdf rewrites the document whole.
QByteArray pdfWithViewerSettings(const QByteArray &pdf, const PdfInformation &information)
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
        info.replaceKey("/Title", text(information.title));
        info.replaceKey("/Author", text(information.author));
        info.replaceKey("/Subject", text(information.subject));
        info.replaceKey("/Creator", text(information.author));
        info.replaceKey("/Producer", text(information.author));

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

// libxlsxwriter writes only to a named file, so the workbook is made in a
// private temporary folder and handed back as bytes for the program's safe
// writer to put in place. Rows go out as they come (its constant-memory mode).
// Every write is checked: a workbook that lost a cell is no workbook.
QByteArray workbook(const Sheet &sheet, QString *error)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *error = dir.errorString();
        return {};
    }
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("book.xlsx")));
    const QByteArray scratch = QFile::encodeName(dir.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(scratch.constData());
    // Freed however the writing ends, a row that throws included: closed
    // (written) only when every cell went in, else freed unwritten.
    struct Unwritten {
        void operator()(lxw_workbook *b) const { lxw_workbook_free(b); }
    };
    std::unique_ptr<lxw_workbook, Unwritten> owned(workbook_new_opt(path.constData(), &options));
    lxw_workbook *book = owned.get();
    if (!book) {
        *error = QStringLiteral("não foi possível criar a planilha");
        return {};
    }
    const auto failed = [&](lxw_error e, const QString &where) {
        *error = QStringLiteral("%1: %2").arg(where, QString::fromUtf8(lxw_strerror(e)));
        return QByteArray();
    };
    lxw_worksheet *page = workbook_add_worksheet(book, sheet.name.toUtf8().constData());
    lxw_format *title = workbook_add_format(book);
    lxw_format *places[4] = {nullptr, workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    if (!page || !title || !places[1] || !places[2] || !places[3])
        return failed(LXW_ERROR_MEMORY_MALLOC_FAILED, QStringLiteral("planilha"));
    format_set_bold(title);
    format_set_text_wrap(title);
    format_set_num_format(places[1], "0.0");
    format_set_num_format(places[2], "0.00");
    format_set_num_format(places[3], "0.000");

    const qsizetype columns = sheet.titles.size();
    for (qsizetype c = 0; c < columns; ++c) {
        if (const lxw_error e = worksheet_set_column(page, lxw_col_t(c), lxw_col_t(c), sheet.widths.value(c, 12), nullptr))
            return failed(e, QStringLiteral("coluna %1").arg(c + 1));
        if (const lxw_error e = worksheet_write_string(page, 0, lxw_col_t(c), sheet.titles[c].toUtf8().constData(), title))
            return failed(e, QStringLiteral("título %1").arg(c + 1));
    }
    worksheet_freeze_panes(page, 1, 0);
    if (const lxw_error e = worksheet_autofilter(page, 0, 0, lxw_row_t(sheet.rowCount), lxw_col_t(columns - 1)))
        return failed(e, QStringLiteral("filtro"));
    for (qsizetype r = 0; r < sheet.rowCount; ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        const QList<SheetCell> cells = sheet.row(r);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const SheetCell &cell = cells[c];
            lxw_error e = LXW_NO_ERROR;
            if (cell.kind == SheetCell::Number)
                e = worksheet_write_number(page, row, lxw_col_t(c), cell.number, places[qBound(0, cell.places, 3)]);
            else if (cell.kind == SheetCell::Text)
                e = worksheet_write_string(page, row, lxw_col_t(c), cell.text.toUtf8().constData(), nullptr);
            if (e)
                return failed(e, QStringLiteral("linha %1, coluna %2").arg(row + 1).arg(c + 1));
        }
    }
    if (const lxw_error e = workbook_close(owned.release()); e != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(e));
        return {};
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    return file.readAll();
}

} // namespace

const Functions *formatFunctions()
{
    static constexpr Functions functions{functionsVersion, quint32(sizeof(Functions)),
                                         &pdfWithViewerSettings, &workbook, &openPart, &readPart, &closePart,
                                         &openXls, &xlsSheets, &xlsSelect, &xlsCell, &closeXls};
    return &functions;
}

} // namespace fileformats
