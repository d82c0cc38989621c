#pragma once
// The modal preview of the page report: the page as it will print, with
// printing, PDF export, zoom and page navigation.
#include <QDialog>

class QPrinter;
class QPrintPreviewWidget;

namespace reports {
class PageReport;
class PdfExport;
} // namespace reports

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const reports::PageReport &report, const reports::PdfExport &pdf, QWidget *parent);
    ~ReportPreview() override;

    // Writes the PDF document to the path; on failure says why in a message box.
    bool exportPdf(const QString &path);

private:
    void print();
    void askAndExport();

    const reports::PageReport &report_;
    const reports::PdfExport &pdf_;
    QPrinter *printer_;
    QPrintPreviewWidget *view_;
};
