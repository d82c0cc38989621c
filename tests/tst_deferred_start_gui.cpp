#include "chart/CalendarChart.h"
#include "gui_helpers.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QRadioButton>
#include <QScatterSeries>
#include <QValueAxis>
#include <QCategoryAxis>

// The window puts off what its first frame does not show: the calendar chart
// is drawn right after that frame, the report tab's picture when that tab is
// first shown, the window icon after the first frame. Every component still
// exists as soon as the window is constructed, and whatever is put off is
// there whenever something needs it.
namespace {

int seriesCount(TFPrincipal &w)
{
    return w.Chart1->chart()->series().size();
}

QList<QPointF> plantingPoints(TFPrincipal &w)
{
    auto *planting = qobject_cast<QScatterSeries *>(w.Chart1->chart()->series().value(0));
    return planting ? planting->points() : QList<QPointF>();
}

} // namespace

class TstDeferredStartGui : public QObject {
    Q_OBJECT
private slots:
    void componentsExistWhenConstructed_data();
    void componentsExistWhenConstructed();
    void chartDrawnAfterShowWhenEventsRun();
    void chartDrawnWhenItsTabIsShownAtOnce();
    void chartPictureBeforeTheWindowIsShown();
    void optionChangedBeforeTheChartIsDrawn();
    void reportPictureWhenItsTabIsShown();
    void windowIconAfterTheFirstFrame();
};

void TstDeferredStartGui::componentsExistWhenConstructed_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QStringList>("names");
    const auto row = [](const char *kind, const char *names) {
        QTest::newRow(kind) << QByteArray(kind) << QString::fromLatin1(names).split(QLatin1Char(' '));
    };
    row("QTabWidget", "PageControl1");
    row("QWidget", "TabSheet1 TabSheet2 TabSheet3 TabSheet6 TabSheet4 TabSheet7");
    row("QLineEdit",
        "Edit1 Edit2 Edit3 Edit4 Edit5 Edit6 Edit7 Edit8 Edit9 Edit10 Edit11 Edit12 Edit13 Edit14 Edit15 Edit16 "
        "Edit17 Edit18 Edit19 Edit20 Edit21 Edit22 Edit23 Edit24 Edit25 Edit26 Edit27 Edit28 Edit29 edit30 edit31 "
        "edit32 Edit33 Edit34 Edit35 Edit36 Edit37 Edit38 Edit39 Edit40 Edit41 Edit42 Edit43 Edit44 Edit45 Edit46 "
        "Edit47 Edit48 Edit49 Edit50 Edit51 Edit52 Edit53 Edit54 Edit55 Edit56 Edit57 Edit58 Edit59 Edit60 Edit61 "
        "Edit62 Edit63 Edit64 Edit65 Edit66 Edit67 Edit68 Edit69 Edit70 Edit71 Edit72 Edit73 Edit74 Edit75 Edit76 "
        "Edit77 Edit78 Edit79 Edit80 Edit81 Edit82 Edit83 Edit84 Edit85 Edit86 Edit87 Edit88 LabeledEdit1 "
        "LabeledEdit2 LabeledEdit3 LabeledEdit4");
    row("QPlainTextEdit", "Memo1 Memo2 Memo3");
    row("QComboBox", "ComboBox1 ComboBox2 ComboBox3 ComboBox4 ComboBox5");
    row("QTableWidget", "stga1 stga2 stga3 stga4 stga5 Stga6 stga7");
    row("QRadioButton", "RadioButton1 RadioButton2 RadioButton3 RadioButton4 RadioButton5 RadioButton6 "
                        "RadioButton7 RadioButton8");
    row("QCheckBox", "CheckBox1 CheckBox2 CheckBox3 CheckBox4");
    row("QDateEdit", "DateTimePicker2 DateTimePicker3");
    row("QPushButton", "BitBtn1 Button1 Button2 Button3 Button4 Button5 Button6 Button7 Button8 Button9 Button10 "
                       "Button11 Button12 Button13 Button14 Button15 Button16 Button17 Button18 Button19 Button20 "
                       "Button21 Button22 Button23");
    row("QLabel", "Image1 Image2 Label34 Label94");
    row("QChartView", "Chart1");
    row("QGroupBox",
        "GroupBox1 GroupBox2 GroupBox3 GroupBox4 GroupBox5 GroupBox6 GroupBox7 GroupBox8 GroupBox9 GroupBox10 "
        "GroupBox11 GroupBox12 GroupBox13 GroupBox14 GroupBox15 GroupBox16 GroupBox17 GroupBox18 GroupBox19 "
        "GroupBox20 GroupBox21 GroupBox22 GroupBox23 GroupBox24 GroupBox25 GroupBox26 GroupBox27 GroupBox28 "
        "GroupBox29 GroupBox30 GroupBox31 GroupBox32 GroupBox33 GroupBox34 GroupBox35 GroupBox36 GroupBox37 "
        "GroupBox38 GroupBox39 GroupBox40 GroupBox41 GroupBox42 GroupBox43 GroupBox44 GroupBox45 GroupBox46 "
        "GroupBox47 GroupBox48 GroupBox49 GroupBox50 GroupBox51 GroupBox52");
}

// Constructed, never shown: nothing put off is a missing component.
void TstDeferredStartGui::componentsExistWhenConstructed()
{
    QFETCH(QByteArray, kind);
    QFETCH(QStringList, names);
    const TFPrincipal w{gui::comma()};
    for (const QString &name : names) {
        const QObject *component = w.findChild<QObject *>(name);
        QVERIFY2(component, qPrintable(name));
        QVERIFY2(component->inherits(kind.constData()), qPrintable(name));
    }
}

// Shown, then events run: the chart holds the start-up build (days mode,
// eight series, the planting point) without its tab ever being shown. The
// view's own empty chart is gone: setChart() only lets go of it, and left to
// nobody it was a leak of some 200 blocks.
void TstDeferredStartGui::chartDrawnAfterShowWhenEventsRun()
{
    TFPrincipal w{gui::comma()};
    const QPointer<QChart> empty = w.Chart1->chart();
    w.show();
    QTRY_COMPARE(seriesCount(w), 8);
    QVERIFY(empty.isNull());
    QCOMPARE(plantingPoints(w), (QList<QPointF>{{0, 50}}));
    QVERIFY(qobject_cast<QValueAxis *>(w.Chart1->chart()->axes(Qt::Horizontal).value(0)));
    QVERIFY(w.calendarChart->isComplete());
    QCOMPARE(w.PageControl1->currentIndex(), 0);
}

// The calendar tab chosen right after show(), before any event runs: the
// chart is complete before the tab paints.
void TstDeferredStartGui::chartDrawnWhenItsTabIsShownAtOnce()
{
    TFPrincipal w{gui::comma()};
    w.show();
    w.PageControl1->setCurrentWidget(w.calendarTab);
    QVERIFY(w.calendarChart->isComplete());
    QCOMPARE(seriesCount(w), 8);
    QCOMPARE(plantingPoints(w), (QList<QPointF>{{0, 50}}));
}

// A report may want the chart's picture before anything was shown.
void TstDeferredStartGui::chartPictureBeforeTheWindowIsShown()
{
    TFPrincipal w{gui::comma()};
    const QImage image = w.calendarChart->picture();
    QCOMPARE(image.size(), QSize(CalendarChart::width, CalendarChart::height));
    QCOMPARE(seriesCount(w), 8);
    int dark = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY(dark > 100);
}

// "Data" chosen before the put-off build runs: the chart shows dates, and
// the start-up build does not come back over them when events run.
void TstDeferredStartGui::optionChangedBeforeTheChartIsDrawn()
{
    TFPrincipal w{gui::comma()};
    w.show();
    w.RadioButton8->setChecked(true);
    QVERIFY(qobject_cast<QCategoryAxis *>(w.Chart1->chart()->axes(Qt::Horizontal).value(0)));
    QTest::qWait(50);
    QVERIFY(qobject_cast<QCategoryAxis *>(w.Chart1->chart()->axes(Qt::Horizontal).value(0)));
    QCOMPARE(plantingPoints(w), (QList<QPointF>{{0, 50}}));
}

void TstDeferredStartGui::reportPictureWhenItsTabIsShown()
{
    TFPrincipal w{gui::comma()};
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.PageControl1->setCurrentWidget(w.TabSheet4);
    const QPixmap picture = w.Image1->pixmap();
    QCOMPARE(picture.size(), QSize(1280, 720));
    QVERIFY(w.Image1->hasScaledContents());
}

void TstDeferredStartGui::windowIconAfterTheFirstFrame()
{
    TFPrincipal w{gui::comma()};
    w.show();
    QTRY_VERIFY(!w.windowIcon().isNull());
    const QList<QSize> sizes = w.windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

QTEST_MAIN(TstDeferredStartGui)
#include "tst_deferred_start_gui.moc"
