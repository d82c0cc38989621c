#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

// Tab "Relatório": the report buttons and what the technician adds to the
// report on the left, the crop's phenology and fertilization calendar on the right.
void TFPrincipal::buildReportTab()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Relatório"));
    GroupBox5 = ui::fillingGroup(TabSheet4, QStringLiteral("GroupBox5"));

    Button12 = ui::button(GroupBox5, QStringLiteral("Button12"), QStringLiteral("Relatório *.txt"), 16, 20, 180, 30);
    Button16 = ui::button(GroupBox5, QStringLiteral("Button16"), QStringLiteral("Relatório *.pdf"), 208, 20, 180, 30);
    // Below the technician's box: how each result of the case was reached.
    btnMemoria = ui::button(GroupBox5, QStringLiteral("btnMemoria"), QStringLiteral("Memória de cálculo..."), 16, 432,
                            180, 30);
    frxReport1 = new reports::PageReport(QStringLiteral(":/assets/report_page.json"), this);
    frxReport1->setObjectName(QStringLiteral("frxReport1"));
    frxPDFExport1 = new reports::PdfExport(this);
    frxPDFExport1->setObjectName(QStringLiteral("frxPDFExport1"));

    GroupBox41 = ui::group(GroupBox5, QStringLiteral("GroupBox41"), QStringLiteral("Informações para o relatório"),
                           16, 66, 372, 356);
    ui::label(GroupBox41, QStringLiteral("Digite aqui as recomendações"), 12, 24);
    Memo3 = ui::memo(GroupBox41, QStringLiteral("Memo3"), 12, 44, 348, 226);
    ui::label(GroupBox41, QStringLiteral("Nome do Técnico /CREA"), 12, 286);
    Edit15 = ui::edit(GroupBox41, QStringLiteral("Edit15"), 12, 306, 348);

    // The infographic is stretched to fill the box, proportions not kept. It
    // is decoded when its tab is first shown: nothing else needs it.
    Image1 = new QLabel(GroupBox5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(412, 20, 746, 556);
    Image1->setScaledContents(true);
    ui::onFirstShow(TabSheet4, [this] {
        Image1->setPixmap(ui::storedColoursPicture(QStringLiteral(":/assets/phenology.png")));
    });
}
