#pragma once
// Tab "Calendário de Adubação": the calendar chart, its legend and its
// options; the chart is drawn again on every change of an option.
#include "calendar/CalendarData.h"

#include <QLocale>
#include <QWidget>

class CalendarChart;
class HandlerHost;
class QChartView;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class CalendarTab : public QWidget {
public:
    // Added to `tabs` as its fifth page; dates are shown in the regional short format.
    CalendarTab(QTabWidget *tabs, const QLocale &regional, HandlerHost &host);

    QChartView *Chart1 = nullptr;
    CalendarChart *calendarChart = nullptr;
    QDateEdit *DateTimePicker2 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr;
    QRadioButton *RadioButton7 = nullptr, *RadioButton8 = nullptr;

    // Draws the chart from the tab's options (every option's handler).
    void Grafico1();
    // What Grafico1 draws, from the options as they stand.
    calendar::Plan plan() const;

private:
    QLocale regional_;
    QGroupBox *GroupBox1 = nullptr, *GroupBox40 = nullptr, *GroupBox42 = nullptr;
    QLineEdit *LabeledEdit1 = nullptr, *LabeledEdit2 = nullptr, *LabeledEdit3 = nullptr, *LabeledEdit4 = nullptr;
    QPushButton *Button14 = nullptr, *Button15 = nullptr;
};
