// What the layout cannot carry by itself, filled when the window first shows.
#include "Applications.h"
#include "CalendarChart.h"
#include "Recommendation.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace {

void fillRow(StringGrid *grid, int row, const QStringList &texts)
{
    for (int c = 0; c < texts.size(); ++c)
        grid->setCell(c, row, texts[c]);
}

void fillColumn(StringGrid *grid, int column, const QStringList &texts)
{
    for (int r = 0; r < texts.size(); ++r)
        grid->setCell(column, r + 1, texts[r]);
}

// Setting a picker's date from the program is not a change by the user.
void setToday(QDateEdit *picker)
{
    const QSignalBlocker blocker(picker);
    picker->setDate(QDate::currentDate());
}

} // namespace

void TFPrincipal::FormShow()
{
    const QString parcela = QStringLiteral("Parcela"), epoca = QStringLiteral("Época (DAE)");

    fillRow(stga1, 0, {parcela, epoca, QStringLiteral("% da dose"), QStringLiteral("Quantidade")});
    fillColumn(stga1, 0, applications::names);
    fillColumn(stga1, 1, applications::epochs);
    QStringList percentages;
    for (const double percent : split::nitrogenPercentages)
        percentages << agronomy::typedText(percent, numbers());
    fillColumn(stga1, 2, percentages);

    fillRow(stga2, 0, {parcela, epoca, QStringLiteral("% da dose"), QStringLiteral("Quantidade")});
    fillColumn(stga2, 0, applications::names);
    fillColumn(stga2, 1, applications::epochs);

    fillRow(stga3, 0, {parcela, epoca, QStringLiteral("N (kg/ha)"), QStringLiteral("P205 (kg/ha)"),
                       QStringLiteral("K20 (kg/ha)")});
    fillColumn(stga3, 0, applications::names);
    fillColumn(stga3, 1, applications::epochs);

    for (StringGrid *grid : {stga4, stga5, Stga6, stga7}) {
        fillRow(grid, 0, {QStringLiteral("Tipo"), QStringLiteral("Kg"), QStringLiteral("N (kg)"),
                          QStringLiteral("P205 (kg)"), QStringLiteral("K20 (kg)")});
        grid->setColumnWidth(0, 200);
    }

    // The chart as Grafico1 would build it now, while the planting date is
    // still the one the picker was made with, in days mode. At the first show
    // the chart is not made yet: it is drawn after the first frame, or sooner
    // if its tab or a report needs it; an option changed before that draws
    // the chart as that change asks.
    calendarChart->drawWhenMade(chartPlan());
    setToday(DateTimePicker2);
    setToday(DateTimePicker3);

    const bool point = numbers().pointInForce();
    write(Edit62, point ? QStringLiteral("0.5") : QStringLiteral("0,5"));
    write(Edit63, point ? QStringLiteral("0.8") : QStringLiteral("0,8"));
    write(Edit65, point ? QStringLiteral("1.0") : QStringLiteral("1,0"));
}
