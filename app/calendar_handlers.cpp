// The calendar chart is rebuilt from the tab's options on every change of them.
#include "chart/CalendarChart.h"
#include "app/TFPrincipal.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QRadioButton>

void TFPrincipal::Grafico1()
{
    calendarChart->draw(chartPlan());
}

calendar::Plan TFPrincipal::chartPlan() const
{
    const QDate planting = DateTimePicker2->date();
    const std::array<bool, calendar::organCount> organs{CheckBox1->isChecked(), CheckBox2->isChecked(),
                                                         CheckBox3->isChecked(), CheckBox4->isChecked()};
    // Exactly one of the two radios is selected; days mode unless "Data" is.
    const calendar::Scale scale = RadioButton8->isChecked() ? calendar::Scale::Dates : calendar::Scale::Days;
    return calendar::plan(scale, organs, planting, regional());
}

void TFPrincipal::CheckBox1Click() { Grafico1(); }
void TFPrincipal::CheckBox2Click() { Grafico1(); }
void TFPrincipal::CheckBox3Click() { Grafico1(); }
void TFPrincipal::CheckBox4Click() { Grafico1(); }
void TFPrincipal::RadioButton7Click() { Grafico1(); }
void TFPrincipal::RadioButton8Click() { Grafico1(); }
void TFPrincipal::DateTimePicker2Change() { Grafico1(); }
void TFPrincipal::DateTimePicker2Click() { Grafico1(); }
void TFPrincipal::Button14Click() { Grafico1(); }
void TFPrincipal::Button15Click() {}
