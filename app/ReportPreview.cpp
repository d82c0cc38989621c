#include "app/ReportPreview.h"

#include "reports/PageReport.h"
#include "reports/PdfExport.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(const reports::PageReport &report, const reports::PdfExport &pdf, QWidget *parent)
    : ReportPreview([&report](QPagedPaintDevice &device) { return report.print(device); }, pdf,
                    QStringLiteral("Relatorio.pdf"), parent)
{
}

ReportPreview::ReportPreview(reports::PdfExport::Printing printing, const reports::PdfExport &pdf, const QString &pdfName,
                             QWidget *parent)
    : QDialog(parent), print_(std::move(printing)), pdf_(pdf), pdfName_(pdfName),
      printer_(new QPrinter(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Visualização do relatório"));
    setModal(true);

    view_ = new QPrintPreviewWidget(printer_, this);
    view_->setObjectName(QStringLiteral("PreviewPage"));
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { print_(*printer); });

    auto *tools = tools_ = new QToolBar(this);
    const auto add = [&](const char *name, const QString &text, auto slot) {
        QAction *action = tools->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("actionPrint", QStringLiteral("Imprimir"), [this] { print(); });
    add("actionExportPdf", QStringLiteral("Exportar PDF"), [this] { askAndExport(); });
    tools->addSeparator();
    add("actionZoomIn", QStringLiteral("Ampliar"), [this] { view_->zoomIn(); });
    add("actionZoomOut", QStringLiteral("Reduzir"), [this] { view_->zoomOut(); });
    add("actionZoom100", QStringLiteral("100%"), [this] { view_->setZoomFactor(1.0); });
    add("actionFitPage", QStringLiteral("Página inteira"), [this] { view_->fitInView(); });
    tools->addSeparator();
    add("actionFirstPage", QStringLiteral("Primeira"), [this] { view_->setCurrentPage(1); });
    add("actionPreviousPage", QStringLiteral("Anterior"),
        [this] { view_->setCurrentPage(qMax(1, view_->currentPage() - 1)); });
    add("actionNextPage", QStringLiteral("Próxima"),
        [this] { view_->setCurrentPage(qMin(view_->pageCount(), view_->currentPage() + 1)); });
    add("actionLastPage", QStringLiteral("Última"), [this] { view_->setCurrentPage(view_->pageCount()); });
    tools->addSeparator();
    close_ = add("actionClose", QStringLiteral("Fechar"), [this] { accept(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(view_);

    // Opened maximized at 100 %.
    view_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    view_->setZoomFactor(1.0);
    setWindowState(Qt::WindowMaximized);
}

ReportPreview::~ReportPreview()
{
    delete printer_;
}

void ReportPreview::addTool(const char *name, const QString &text, std::function<void()> act)
{
    auto *action = new QAction(text, tools_);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, std::move(act));
    tools_->insertAction(close_, action);
}

void ReportPreview::print()
{
    QPrintDialog dialog(printer_, this);
    if (dialog.exec() == QDialog::Accepted)
        print_(*printer_);
}

void ReportPreview::askAndExport()
{
    // An existing file is replaced without a second question.
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar PDF"),
                                                      pdfName_,
                                                      QStringLiteral("Documento PDF (*.pdf)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        exportPdf(path);
}

bool ReportPreview::exportPdf(const QString &path)
{
    const QString reason = pdf_.exportTo(print_, path);
    if (reason.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tuberon"),
                    QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText); // a file's name is letters, never markup
    box.exec();
    return false;
}
