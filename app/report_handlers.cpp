// The reports: the recommendation as the technician filled it in, copied
// from the fields and grids as their texts stand.
#include "ReportFile.h"
#include "StringGrid.h"
#include "TFPrincipal.h"
#include "TextReport.h"

#include <QLineEdit>

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
