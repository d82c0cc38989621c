// The reports: the recommendation as the technician filled it in, copied
// from the fields and grids as their texts stand.
#include "CalendarChart.h"
#include "PageReport.h"
#include "PdfExport.h"
#include "ReportFile.h"
#include "ReportPreview.h"
#include "StringGrid.h"
#include "TFPrincipal.h"
#include "TextReport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstring>

namespace {

// The rows below a grid's header.
reports::Rows rowsOf(const StringGrid *grid, int lastRow = -1)
{
    reports::Rows rows;
    const int last = lastRow < 0 ? grid->rowCount() - 1 : lastRow;
    for (int r = 1; r <= last; ++r)
        rows << grid->rowTexts(r);
    return rows;
}

// A list of products for the page: each "name  quantity  (kg/ha)", joined by " + ".
QString productList(const StringGrid *grid)
{
    QStringList entries;
    for (int r = 1; r < grid->rowCount(); ++r)
        entries << grid->cell(0, r) + QStringLiteral("  ") + grid->cell(1, r) + QStringLiteral("  (kg/ha)");
    return entries.join(QStringLiteral(" + "));
}

// The lines of a memo, each after one blank, on one line.
QString memoLines(const QPlainTextEdit *memo)
{
    QString joined;
    const QString text = memo->toPlainText();
    if (text.isEmpty())
        return joined;
    for (const QString &line : text.split(QLatin1Char('\n')))
        joined += QLatin1Char(' ') + line;
    return joined;
}

} // namespace

void TFPrincipal::Button12Click()
{
    reports::TextReportFields f;
    f.nome = Edit55->text();
    f.cpf = Edit56->text();
    f.localidade = Edit57->text();
    f.municipio = Edit58->text();
    f.denominacao = Edit59->text();
    f.laudo = Edit60->text();
    f.argila = Edit1->text();
    f.ph = Edit70->text();
    f.p = Edit2->text();
    f.k = Edit3->text();
    f.mo = Edit4->text();
    f.al = Edit5->text();
    f.ca = Edit6->text();
    f.mg = Edit7->text();
    f.ctc = Edit8->text();
    f.v = Edit9->text();
    f.producao = Edit12->text();
    f.split = rowsOf(stga3, 4);
    f.planting = rowsOf(stga4);
    for (int i = 0; i < 3; ++i)
        f.topDressing[i] = rowsOf(cobertura[i].grid);

    const QString name = QStringLiteral("RelTuberon.txt");
    reports::saveFile(name, reports::legacyText(reports::textReportLines(f)));
    reports::openFile(name);
}

void TFPrincipal::Button16Click()
{
    reports::PageReport &report = *frxReport1;
    const auto set = [&report](const char *name, const QString &text) {
        report.setVariable(QString::fromLatin1(name), reports::literal(text));
    };
    set("NOME", Edit55->text());
    set("CPF", Edit56->text());
    set("LOCALIDADE", Edit57->text());
    set("MUNICIPIO", Edit58->text());
    set("LAUDO", Edit60->text());
    set("DENOMINACAO", Edit59->text());
    set("ARGILA", Edit1->text());
    set("PH", Edit70->text());
    set("P", Edit2->text());
    set("K", Edit3->text());
    set("MO", Edit4->text());
    set("AL", Edit5->text());
    set("CA", Edit6->text());
    set("MG", Edit7->text());
    set("CTC", Edit8->text());
    set("V", Edit9->text());
    set("RENDIMENTO", Edit12->text());
    set("CALAGEM", Edit61->text());
    set("PRNT", Edit24->text());
    set("COMERCIAL", Edit25->text());
    set("Obs1", memoLines(Memo1));

    for (int r = 1; r <= 4; ++r) {
        const QString n = QString::number(r);
        report.setVariable(QStringLiteral("Par") + n, reports::literal(stga3->cell(0, r)));
        report.setVariable(QStringLiteral("Epoca") + n, reports::literal(stga3->cell(1, r)));
        report.setVariable(QStringLiteral("N") + n, reports::literal(stga3->cell(2, r)));
        report.setVariable(QStringLiteral("P") + n, reports::literal(stga3->cell(3, r)));
        report.setVariable(QStringLiteral("K") + n, reports::literal(stga3->cell(4, r)));
    }
    set("AdubPlantio", productList(stga4));
    set("Adubcob1", productList(cobertura[0].grid));
    set("Adubcob2", productList(cobertura[1].grid));
    set("Adubcob3", productList(cobertura[2].grid));

    // The chart goes into the page as the picture saved beside the program.
    const QString chartFile =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("grafico1.bmp"));
    QByteArray bitmap;
    {
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        calendarChart->picture().save(&buffer, "BMP");
    }
    if (const int code = reports::replaceFile(chartFile, bitmap))
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(chartFile), QString::fromLocal8Bit(std::strerror(code))));
    const QImage chart(chartFile);
    if (chart.isNull())
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(chartFile), QStringLiteral("Not a readable bitmap")));
    report.loadPicture(QStringLiteral("Grafico1"), chart);

    set("Recomenda", QStringLiteral("Recomendações:") + memoLines(Memo3));
    set("Tecnico", Edit15->text());
    set("Data", regional().toString(DateTimePicker3->date(), QLocale::ShortFormat));

    ReportPreview preview(report, *frxPDFExport1, this);
    preview.exec();
}
