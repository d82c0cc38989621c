#include "chart/CalendarChart.h"
#include "gui_helpers.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineSeries>
#include <QRadioButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QValueAxis>

// The calendar chart read back series by series: the planting point, the
// three top-dressing windows and the organ curves, on days or on dates, as
// the user ticks and switches the options of its tab.
namespace {

using Points = QList<QPointF>;

struct Chart {
    QChart *chart;
    QList<QAbstractSeries *> series() const { return chart->series(); }
    Points points(int i) const
    {
        if (auto *xy = qobject_cast<QXYSeries *>(series().at(i)))
            return xy->points();
        return {};
    }
    // A window as (left, bottom, right, top), from its two edges.
    QRectF window(int i) const
    {
        auto *area = qobject_cast<QAreaSeries *>(series().at(i));
        const Points upper = area->upperSeries()->points();
        const Points lower = area->lowerSeries()->points();
        if (upper.size() != 2 || lower.size() != 2)
            return {};
        if (upper[0].x() != lower[0].x() || upper[1].x() != lower[1].x() || upper[0].y() != upper[1].y()
            || lower[0].y() != lower[1].y())
            return {QPointF(-1, -1), QPointF(-1, -1)}; // not a rectangle
        return QRectF(QPointF(lower[0].x(), lower[0].y()), QPointF(upper[1].x(), upper[1].y()));
    }
    QAbstractAxis *bottom() const { return chart->axes(Qt::Horizontal).value(0); }
    QAbstractAxis *left() const { return chart->axes(Qt::Vertical).value(0); }
};

Chart chartOf(const TFPrincipal &w)
{
    auto *view = gui::find<QChartView>(&w, "Chart1");
    return {view ? view->chart() : nullptr};
}

void onCalendarTab(TFPrincipal &w) { w.PageControl1->setCurrentWidget(w.calendarTab); }

// Clicks a check box or radio on its indicator, where a user clicks.
void clickOn(TFPrincipal &w, const char *name)
{
    onCalendarTab(w);
    auto *button = gui::find<QAbstractButton>(&w, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
}

// The organ curves, percent of dry matter by day after planting.
const Points kStems{{15, 2}, {30, 2.5}, {45, 10}, {60, 15}, {75, 16}, {90, 17}, {105, 19}, {120, 20}, {135, 21}, {150, 22}};
const Points kLeaves{{15, 5},   {30, 26},  {45, 37},  {60, 38},    {75, 35},
                     {90, 30},  {105, 30}, {120, 20}, {135, 17.5}, {150, 12.5}};
const Points kCuttings{{15, 90}, {30, 72}, {45, 57}, {60, 53}, {75, 40}, {90, 30}, {105, 21}, {120, 15}, {135, 15}, {150, 15}};
const Points kRoots{{75, 14}, {90, 31}, {105, 40}, {120, 55}, {135, 57.5}, {150, 60}};
const QString kOrgansTitle = QStringLiteral("Matéria seca (%)");

void checkWindows(const Chart &c, double thirdEnd)
{
    QCOMPARE(c.points(0), (Points{{0, 50}}));
    QCOMPARE(c.window(1), QRectF(QPointF(30, 50), QPointF(45, 54)));
    QCOMPARE(c.window(2), QRectF(QPointF(60, 50), QPointF(75, 54)));
    QCOMPARE(c.window(3), QRectF(QPointF(88, 50), QPointF(thirdEnd, 54)));
}

void checkRanges(const Chart &c)
{
    auto *left = qobject_cast<QValueAxis *>(c.left());
    QVERIFY(left);
    QCOMPARE(left->min(), 0.0);
    QCOMPARE(left->max(), 100.0);
    QCOMPARE(c.bottom()->property("min").toDouble(), -10.0);
    QCOMPARE(c.bottom()->property("max").toDouble(), 180.0);
}

} // namespace

class TstCalendarGui : public QObject {
    Q_OBJECT
private slots:
    void seriesKinds();
    void daysModeAtStart();
    void organCurveFollowsItsBox_data();
    void organCurveFollowsItsBox();
    void allOrgans();
    void dateMode();
    void planningDateMovesTheDates();
    void backToDays();
    void optionsSetWithoutClicks();
    void clickOnThePlantingDate();
    void picture();
};

void TstCalendarGui::seriesKinds()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    QVERIFY(c.chart);
    QCOMPARE(c.series().size(), 8);
    auto *planting = qobject_cast<QScatterSeries *>(c.series()[0]);
    QVERIFY(planting);
    QCOMPARE(planting->markerShape(), QScatterSeries::MarkerShapeRectangle);
    for (int i = 1; i <= 3; ++i)
        QVERIFY2(qobject_cast<QAreaSeries *>(c.series()[i]), qPrintable(QString::number(i)));
    for (int i = 4; i <= 7; ++i) {
        auto *line = qobject_cast<QLineSeries *>(c.series()[i]);
        QVERIFY2(line, qPrintable(QString::number(i)));
        QCOMPARE(line->pen().width(), 3);
    }
    QVERIFY(!c.chart->legend()->isVisible());
    QCOMPARE(c.chart->title(), QStringLiteral("Calendário de Adubação e Fenologia"));
}

void TstCalendarGui::daysModeAtStart()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    checkWindows(c, 92);
    for (int i = 4; i <= 7; ++i)
        QVERIFY2(c.points(i).isEmpty(), qPrintable(QString::number(i)));
    QCOMPARE(c.left()->titleText(), QString());
    QVERIFY(qobject_cast<QValueAxis *>(c.bottom()));
    QCOMPARE(c.bottom()->titleText(), QStringLiteral("Dias após o plantio"));
    checkRanges(c);
}

void TstCalendarGui::organCurveFollowsItsBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("series");
    QTest::addColumn<Points>("curve");
    QTest::newRow("Hastes") << "CheckBox1" << 4 << kStems;
    QTest::newRow("Folhas") << "CheckBox2" << 5 << kLeaves;
    QTest::newRow("Maniva Semente") << "CheckBox3" << 6 << kCuttings;
    QTest::newRow("Raizes de Reserva") << "CheckBox4" << 7 << kRoots;
}

void TstCalendarGui::organCurveFollowsItsBox()
{
    QFETCH(QString, box);
    QFETCH(int, series);
    QFETCH(Points, curve);
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);

    clickOn(*w, qPrintable(box));
    QVERIFY(gui::find<QCheckBox>(w.get(), qPrintable(box))->isChecked());
    for (int i = 4; i <= 7; ++i)
        QCOMPARE(c.points(i), i == series ? curve : Points());
    QCOMPARE(c.left()->titleText(), kOrgansTitle);
    checkWindows(c, 92);

    clickOn(*w, qPrintable(box));
    for (int i = 4; i <= 7; ++i)
        QVERIFY(c.points(i).isEmpty());
    QCOMPARE(c.left()->titleText(), QString());
}

void TstCalendarGui::allOrgans()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"})
        clickOn(*w, box);
    QCOMPARE(c.points(4), kStems);
    QCOMPARE(c.points(5), kLeaves);
    QCOMPARE(c.points(6), kCuttings);
    QCOMPARE(c.points(7), kRoots);

    // Clearing one keeps the others and the title.
    clickOn(*w, "CheckBox1");
    QVERIFY(c.points(4).isEmpty());
    QCOMPARE(c.points(7), kRoots);
    QCOMPARE(c.left()->titleText(), kOrgansTitle);
}

void TstCalendarGui::dateMode()
{
    const QLocale regional = gui::comma();
    const auto w = gui::openWindow(regional);
    const Chart c = chartOf(*w);
    onCalendarTab(*w);
    const QDate planting(2024, 3, 1);
    gui::find<QDateEdit>(w.get(), "DateTimePicker2")->setDate(planting);
    clickOn(*w, "CheckBox2");
    clickOn(*w, "RadioButton8");

    checkWindows(c, 90);
    QCOMPARE(c.points(5), kLeaves);
    QCOMPARE(c.left()->titleText(), kOrgansTitle);
    checkRanges(c);

    auto *dates = qobject_cast<QCategoryAxis *>(c.bottom());
    QVERIFY(dates);
    QCOMPARE(dates->labelsPosition(), QCategoryAxis::AxisLabelsPositionOnValue);
    QCOMPARE(dates->labelsAngle(), 90);
    const QList<int> days{0, 30, 45, 60, 75, 90};
    QStringList expected;
    for (int day : days)
        expected << regional.toString(planting.addDays(day), QLocale::ShortFormat);
    QCOMPARE(expected.first(), QStringLiteral("01/03/2024"));
    QCOMPARE(dates->categoriesLabels(), expected);
    for (int i = 0; i < days.size(); ++i)
        QCOMPARE(dates->endValue(expected[i]), double(days[i]));
    QCOMPARE(chartOf(*w).chart->axes(Qt::Horizontal).size(), 1);
}

void TstCalendarGui::planningDateMovesTheDates()
{
    const QLocale regional = gui::comma();
    const auto w = gui::openWindow(regional);
    const Chart c = chartOf(*w);
    onCalendarTab(*w);
    auto *picker = gui::find<QDateEdit>(w.get(), "DateTimePicker2");
    picker->setDate(QDate(2024, 3, 1));
    clickOn(*w, "RadioButton8");

    // The user steps the day up in the picker.
    picker->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(picker, Qt::Key_Up);
    QCOMPARE(picker->date(), QDate(2024, 3, 2));

    auto *dates = qobject_cast<QCategoryAxis *>(c.bottom());
    QVERIFY(dates);
    QCOMPARE(dates->categoriesLabels().first(), QStringLiteral("02/03/2024"));
    QCOMPARE(dates->categoriesLabels().last(), regional.toString(QDate(2024, 5, 31), QLocale::ShortFormat));
    checkWindows(c, 90);
}

void TstCalendarGui::backToDays()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    onCalendarTab(*w);
    gui::find<QDateEdit>(w.get(), "DateTimePicker2")->setDate(QDate(2024, 3, 1));
    clickOn(*w, "RadioButton8");
    QVERIFY(qobject_cast<QCategoryAxis *>(c.bottom()));

    clickOn(*w, "RadioButton7");
    QVERIFY(gui::find<QRadioButton>(w.get(), "RadioButton7")->isChecked());
    QVERIFY(!gui::find<QRadioButton>(w.get(), "RadioButton8")->isChecked());
    auto *days = qobject_cast<QValueAxis *>(c.bottom());
    QVERIFY(days);
    QCOMPARE(days->min(), -10.0);
    QCOMPARE(days->max(), 180.0);
    QCOMPARE(c.chart->axes(Qt::Horizontal).size(), 1);
    checkWindows(c, 92);
    // Every series is drawn against the day axis again.
    for (QAbstractSeries *s : c.series())
        QVERIFY(s->attachedAxes().contains(days));
}

// The options answer a change of state as much as a click: a box ticked or a
// radio chosen from the keyboard, or by the program, rebuilds the chart too.
void TstCalendarGui::optionsSetWithoutClicks()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    gui::find<QDateEdit>(w.get(), "DateTimePicker2")->setDate(QDate(2024, 3, 1));

    gui::find<QCheckBox>(w.get(), "CheckBox2")->setChecked(true);
    QCOMPARE(c.points(5), kLeaves);
    QCOMPARE(qobject_cast<QValueAxis *>(c.left())->titleText(), kOrgansTitle);

    gui::find<QRadioButton>(w.get(), "RadioButton8")->setChecked(true);
    QVERIFY(qobject_cast<QCategoryAxis *>(c.bottom()));
    checkWindows(c, 90);

    gui::find<QRadioButton>(w.get(), "RadioButton7")->setChecked(true);
    QVERIFY(qobject_cast<QValueAxis *>(c.bottom()));
    checkWindows(c, 92);
}

// A click on the planting date redraws the chart from the options as they
// stand, also one set where no handler saw it.
void TstCalendarGui::clickOnThePlantingDate()
{
    const auto w = gui::openWindow();
    const Chart c = chartOf(*w);
    onCalendarTab(*w);
    auto *stems = gui::find<QCheckBox>(w.get(), "CheckBox1");
    {
        const QSignalBlocker unseen(stems);
        stems->setChecked(true);
    }
    QCOMPARE(c.points(4), Points());
    auto *picker = gui::find<QDateEdit>(w.get(), "DateTimePicker2");
    QTest::mouseClick(picker->findChild<QLineEdit *>(), Qt::LeftButton);
    QCOMPARE(c.points(4), kStems);
}

void TstCalendarGui::picture()
{
    const auto w = gui::openWindow();
    // Taken while another tab is showing.
    QCOMPARE(w->PageControl1->currentIndex(), 0);
    const QImage image = w->calendarChart->picture();
    QCOMPARE(image.size(), QSize(766, 415));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(image.pixelColor(765, 414), QColor(Qt::white));
    // Something is drawn on it.
    int dark = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY(dark > 100);
}

QTEST_MAIN(TstCalendarGui)
#include "tst_calendar_gui.moc"
