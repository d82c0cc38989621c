#pragma once
// The modal preview of the page report: the page as it will print, with
// printing, PDF export, zoom and page navigation.
#include "reports/PdfExport.h"

#include <QDialog>
#include <functional>

class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

namespace reports {
class PageReport;
} // namespace reports

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const reports::PageReport &report, const reports::PdfExport &pdf, QWidget *parent);
    // Any paged document the same way; pdfName is the name first offered for its PDF.
    ReportPreview(reports::PdfExport::Printing printing, const reports::PdfExport &pdf, const QString &pdfName,
                  QWidget *parent);
    ~ReportPreview() override;

    // A further action on the toolbar, before "Fechar".
    void addTool(const char *name, const QString &text, std::function<void()> act);

    // Writes the PDF document to the path; on failure says why in a message box.
    bool exportPdf(const QString &path);

private:
    void print();
    void askAndExport();

    reports::PdfExport::Printing print_;
    const reports::PdfExport &pdf_;
    QString pdfName_;
    QToolBar *tools_;
    QAction *close_;
    QPrinter *printer_;
    QPrintPreviewWidget *view_;
};
