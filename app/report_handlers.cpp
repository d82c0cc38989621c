// The reports: the recommendation as the technician filled it in, copied
// from the case as the fields and grids stand.
#include "agronomy/Applications.h"
#include "chart/CalendarChart.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "reports/ReportContent.h"
#include "reports/ReportFile.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "reports/TextReport.h"
#include "core/Dates.h"

#include <QBuffer>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>

// Everything both reports copy, from the case as the window holds it now.
reports::ReportContent TFPrincipal::reportContent() const
{
    return reports::ReportContent::fromCase(caseState(),
                                            dates::shortDate(DateTimePicker3->date(), regional()));
}

void TFPrincipal::Button12Click()
{
    const QString name = QStringLiteral("RelTuberon.txt");
    reports::saveFile(name, reports::legacyText(reports::textReportLines(reportContent())));
    reports::openFile(name);
}

void TFPrincipal::Button16Click()
{
    reports::PageReport &report = *frxReport1;
    reports::setPageVariables(report, reportContent());

    // The chart goes into the page as the picture saved for it: beside the
    // program, or in the user's cache folder when the program's is read-only.
    QByteArray bitmap;
    {
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        calendarChart->picture().save(&buffer, "BMP");
    }
    const QString chartFile = reports::saveProgramFile(QStringLiteral("grafico1.bmp"), bitmap);
    const QImage chart(chartFile);
    if (chart.isNull())
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(chartFile), QStringLiteral("Not a readable bitmap")));
    if (!report.loadPicture(QStringLiteral("Grafico1"), chart))
        throw Failure(QStringLiteral("The page template has no picture object \"Grafico1\" for the chart"));

    ReportPreview preview(report, *frxPDFExport1, this);
    preview.exec();
}
