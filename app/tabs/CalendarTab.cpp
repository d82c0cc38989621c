#include "app/tabs/CalendarTab.h"
#include "chart/CalendarChart.h"
#include "app/HandlerHost.h"
#include "app/widgets_factory.h"
#include "core/Dates.h"

#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// A small coloured box standing for a series, its caption to the right.
QLineEdit *swatch(QWidget *parent, const QString &name, const QColor &colour, const QString &caption, int x, int y)
{
    QLineEdit *box = ui::edit(parent, name, x, y, 24);
    ui::setFieldColour(box, colour);
    ui::label(parent, caption, x + 30, y + 3);
    return box;
}

} // namespace

// The tab page has no component name.
CalendarTab::CalendarTab(QTabWidget *tabs, const QLocale &regional, HandlerHost &host) : regional_(regional)
{
    tabs->addTab(this, QStringLiteral("Calendário de Adubação"));
    GroupBox1 = ui::fillingGroup(this, QStringLiteral("GroupBox1"));

    Chart1 = new QChartView(GroupBox1);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    // No frame: the chart fills the view exactly, as large as its saved picture.
    Chart1->setFrameShape(QFrame::NoFrame);
    Chart1->setGeometry(16, 16, CalendarChart::width, CalendarChart::height);
    calendarChart = new CalendarChart(Chart1);
    ui::onFirstShow(this, [this] { calendarChart->complete(); });

    GroupBox42 = ui::group(GroupBox1, QStringLiteral("GroupBox42"), QStringLiteral("Legenda"), 16, 440, 766, 56);
    LabeledEdit1 = swatch(GroupBox42, QStringLiteral("LabeledEdit1"), ui::colour::highlight, QStringLiteral("Plantio"),
                          16, 22);
    LabeledEdit2 = swatch(GroupBox42, QStringLiteral("LabeledEdit2"), ui::colour::green,
                          QStringLiteral("1ª cobertura"), 196, 22);
    LabeledEdit3 = swatch(GroupBox42, QStringLiteral("LabeledEdit3"), ui::colour::navy,
                          QStringLiteral("2ª cobertura"), 376, 22);
    LabeledEdit4 = swatch(GroupBox42, QStringLiteral("LabeledEdit4"), ui::colour::purple,
                          QStringLiteral("3ª cobertura"), 556, 22);

    GroupBox40 = ui::group(GroupBox1, QStringLiteral("GroupBox40"), QStringLiteral("Opções do Gráfico"), 800, 16, 240,
                           260);
    ui::label(GroupBox40, QStringLiteral("Data de Plantio"), 14, 26);
    DateTimePicker2 = new QDateEdit(QDate::currentDate(), GroupBox40);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setLocale(dates::portuguese(regional_));
    DateTimePicker2->setDisplayFormat(dates::portuguese(regional_).dateFormat(QLocale::ShortFormat));
    DateTimePicker2->setCalendarPopup(true);
    DateTimePicker2->setGeometry(110, 22, 116, 22);

    CheckBox1 = ui::check(GroupBox40, QStringLiteral("CheckBox1"), QStringLiteral("Hastes"), 14, 62, 200);
    CheckBox2 = ui::check(GroupBox40, QStringLiteral("CheckBox2"), QStringLiteral("Folhas"), 14, 86, 200);
    CheckBox3 = ui::check(GroupBox40, QStringLiteral("CheckBox3"), QStringLiteral("Maniva Semente"), 14, 110, 200);
    CheckBox4 = ui::check(GroupBox40, QStringLiteral("CheckBox4"), QStringLiteral("Raizes de Reserva"), 14, 134, 200);
    RadioButton7 = ui::radio(GroupBox40, QStringLiteral("RadioButton7"), QStringLiteral("Dias após plantio"), 14, 176,
                             200);
    RadioButton8 = ui::radio(GroupBox40, QStringLiteral("RadioButton8"), QStringLiteral("Data"), 14, 200, 200);
    RadioButton7->setChecked(true);

    Button15 = ui::button(GroupBox1, QStringLiteral("Button15"), QStringLiteral("Button15"), 800, 290);
    Button14 = ui::button(GroupBox1, QStringLiteral("Button14"), QStringLiteral("Button14"), 880, 290);
    Button15->hide();
    Button14->hide();

    // Every option draws the chart again.
    const auto draw = [this] { Grafico1(); };
    for (QCheckBox *box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        host.onClick(box, draw);
    host.onClick(RadioButton7, draw);
    host.onClick(RadioButton8, draw);
    host.onClick(Button14, draw);
    host.onClick(Button15, [] {});
    host.onDateChange(DateTimePicker2, draw);
    host.onPickerClick(DateTimePicker2, draw);
}

void CalendarTab::Grafico1()
{
    calendarChart->draw(plan());
}

calendar::Plan CalendarTab::plan() const
{
    const QDate planting = DateTimePicker2->date();
    const std::array<bool, calendar::organCount> organs{CheckBox1->isChecked(), CheckBox2->isChecked(),
                                                         CheckBox3->isChecked(), CheckBox4->isChecked()};
    // Exactly one of the two radios is selected; days mode unless "Data" is.
    const calendar::Scale scale = RadioButton8->isChecked() ? calendar::Scale::Dates : calendar::Scale::Days;
    return calendar::plan(scale, organs, planting, regional_);
}
