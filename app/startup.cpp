// What the layout cannot carry by itself, filled when the window first shows.
#include "agronomy/Applications.h"
#include "chart/CalendarChart.h"
#include "agronomy/Recommendation.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "app/tabs/CalendarTab.h"

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
        grid->setCell(column, applications::Planting + r, texts[r]);
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

    using namespace applications;
    fillRow(stga1, TitleRow, {parcela, epoca, QStringLiteral("% da dose"), QStringLiteral("Quantidade")});
    fillColumn(stga1, ApplicationColumn, names);
    fillColumn(stga1, EpochColumn, epochs);
    QStringList percentages;
    for (const double percent : split::nitrogenPercentages)
        percentages << agronomy::typedText(percent, numbers());
    fillColumn(stga1, PercentColumn, percentages);

    fillRow(stga2, TitleRow, {parcela, epoca, QStringLiteral("% da dose"), QStringLiteral("Quantidade")});
    fillColumn(stga2, ApplicationColumn, names);
    fillColumn(stga2, EpochColumn, epochs);

    fillRow(stga3, TitleRow, {parcela, epoca, QStringLiteral("N (kg/ha)"), QStringLiteral("P205 (kg/ha)"),
                       QStringLiteral("K20 (kg/ha)")});
    fillColumn(stga3, ApplicationColumn, names);
    fillColumn(stga3, EpochColumn, epochs);

    for (StringGrid *grid : {stga4, stga5, Stga6, stga7}) {
        fillRow(grid, TitleRow, {QStringLiteral("Tipo"), QStringLiteral("Kg"), QStringLiteral("N (kg)"),
                          QStringLiteral("P205 (kg)"), QStringLiteral("K20 (kg)")});
        grid->setColumnWidth(ProductColumn, 200);
    }

    // The chart as Grafico1 would build it now, while the planting date is
    // still the one the picker was made with, in days mode. At the first show
    // the chart is not made yet: it is drawn after the first frame, or sooner
    // if its tab or a report needs it; an option changed before that draws
    // the chart as that change asks.
    calendarChart->drawWhenMade(calendar_->plan());
    setToday(DateTimePicker2);
    setToday(DateTimePicker3);

    const bool point = numbers().pointInForce();
    write(Edit62, point ? QStringLiteral("0.5") : QStringLiteral("0,5"));
    write(Edit63, point ? QStringLiteral("0.8") : QStringLiteral("0,8"));
    write(Edit65, point ? QStringLiteral("1.0") : QStringLiteral("1,0"));
}
