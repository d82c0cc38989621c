#include "core/NumberText.h"
#include "agronomy/Recommendation.h"
#include "cases/CaseJson.h"
#include "model/RecommendedCase.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QLabel>
#include <QPlainTextEdit>

// The recommendation computed without a window equals, text for text, what
// the window shows after the same analysis is typed field by field, the
// liming is calculated and both splits are made.
namespace {

using agronomy::Analysis;

// Types a value as a user does: the "." key gives the separator in force.
void typeValue(const TFPrincipal &w, QLineEdit *field, double value)
{
    QString text = agronomy::typedText(value, w.numbers());
    gui::typeInto(field, text.replace(w.numbers().separator(), QLatin1Char('.')));
}

} // namespace

Q_DECLARE_METATYPE(Analysis)

class TstRecommendationGui : public QObject {
    Q_OBJECT
private slots:
    void sameAsTheWindow_data();
    void sameAsTheWindow();
    void failsWhereTheWindowFails_data();
    void failsWhereTheWindowFails();
};

void TstRecommendationGui::sameAsTheWindow_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<Analysis>("analysis");
    const QLocale comma = gui::comma(), point = gui::point();
    //                                        clay   P     K     MO   Al   Ca    Mg     CTC   V   yield  PRNT
    QTest::newRow("clayey, base saturation capped at 2 t/ha")
        << comma << Analysis{65, 3, 50, 3.2, 0.5, 4, 1.2, 12.5, 20, 30, 80};
    QTest::newRow("sandy, low buffering, little Ca+Mg")
        << comma << Analysis{12, 40, 30, 1.5, 0.4, 1, 0.3, 5, 35, 25, {}};
    QTest::newRow("very high P, potash within the planting limit, yield below 25")
        << comma << Analysis{30, 60, 200, 5.5, 0, 6, 2, 10, 70, 22, 90};
    QTest::newRow("negative need means no lime")
        << comma << Analysis{12, 8, 45, 0.5, 0, 3, 1, 6, 50, 25, {}};
    QTest::newRow("bounds of the base saturation criterion")
        << comma << Analysis{15, 5, 60, 2, 0.2, 3, 1, 10, 25, 25, 100};
    // Ca+Mg 1.996 is read back as 2,00; the doses are split as shown.
    QTest::newRow("rounded texts feed the next step")
        << comma << Analysis{25, 7.5, 70, 2.3, 0.3, 1.5, 0.496, 9.3, 31.17, 27.333, 70};
    QTest::newRow("point separator") << point << Analysis{45.5, 12.25, 95, 2.8, 0.15, 2.25, 0.75, 16.4, 38, 41.5, 85};
    QTest::newRow("K2O dose exactly at the planting limit")
        << point << Analysis{50, 5, 80, 4, 0, 5, 2, 20, 60, 25, {}};
}

void TstRecommendationGui::sameAsTheWindow()
{
    QFETCH(QLocale, regional);
    QFETCH(Analysis, analysis);
    auto w = gui::openWindow(regional);
    const NumberText &numbers = w->numbers();

    // Along the Enter chain of the analysis, the yield last.
    const QList<QPair<QLineEdit *, double>> fields{
        {w->Edit1, analysis.argila}, {w->Edit2, analysis.p},  {w->Edit3, analysis.k},
        {w->Edit4, analysis.mo},     {w->Edit5, analysis.al}, {w->Edit6, analysis.ca},
        {w->Edit7, analysis.mg},     {w->Edit8, analysis.ctc}, {w->Edit9, analysis.v},
        {w->Edit12, analysis.yield}};
    const QStringList messages = gui::messagesDuring([&] {
        for (const auto &[field, value] : fields) {
            typeValue(*w, field, value);
            gui::leaveTo(w->Edit55);
        }
        gui::click(*w, "Button1");
        if (analysis.prnt) {
            typeValue(*w, w->Edit24, *analysis.prnt);
            gui::click(*w, "Button2");
        }
        gui::click(*w, "Button3");
        gui::click(*w, "Button4");
    });
    QCOMPARE(messages, QStringList());

    // The pipeline's values written into the window's own case change nothing.
    const model::Case shown = w->caseState();
    model::Case expected = shown;
    model::applyRecommendation(expected, analysis, agronomy::recommend(analysis, numbers), numbers);
    QCOMPARE(cases::toJson(shown), cases::toJson(expected));
    // And they are there: the case of an untouched window differs.
    model::Case fresh = gui::openWindow(regional)->caseState();
    model::applyRecommendation(fresh, analysis, agronomy::recommend(analysis, numbers), numbers);
    fresh.calendar = shown.calendar;
    fresh.report = shown.report;
    fresh.worksheet = shown.worksheet;
    fresh.shownTab = shown.shownTab;
    QCOMPARE(cases::toJson(fresh), cases::toJson(shown));
}

void TstRecommendationGui::failsWhereTheWindowFails_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<Analysis>("analysis");
    QTest::addColumn<QString>("message");
    QTest::newRow("no magnesium") << gui::comma() << Analysis{30, 5, 60, 3, 0.2, 3, 0, 12, 40, 25, {}}
                                  << "Floating point division by zero";
    QTest::newRow("commercial PRNT of 0") << gui::comma() << Analysis{30, 5, 60, 3, 0.2, 3, 1, 12, 40, 25, 0}
                                          << "Floating point division by zero";
    // The aluminium factor has no text under such a separator.
    QTest::newRow("separator other than comma and point")
        << gui::otherSeparator() << Analysis{30, 5, 60, 3, 0.2, 3, 1, 12, 40, 25, {}}
        << "'' is not a valid floating point value";
}

void TstRecommendationGui::failsWhereTheWindowFails()
{
    QFETCH(QLocale, regional);
    QFETCH(Analysis, analysis);
    QFETCH(QString, message);
    auto w = gui::openWindow(regional);
    const QStringList shown = gui::messagesDuring([&] {
        const double values[] = {analysis.argila, analysis.p, analysis.k,   analysis.mo, analysis.al,
                                 analysis.ca,     analysis.mg, analysis.ctc, analysis.v};
        QLineEdit *const fields[] = {w->Edit1, w->Edit2, w->Edit3, w->Edit4, w->Edit5,
                                     w->Edit6, w->Edit7, w->Edit8, w->Edit9};
        for (int i = 0; i < 9; ++i) {
            typeValue(*w, fields[i], values[i]);
            gui::leaveTo(w->Edit55);
        }
        gui::click(*w, "Button1");
        if (analysis.prnt) {
            typeValue(*w, w->Edit24, *analysis.prnt);
            gui::click(*w, "Button2");
        }
    });
    QVERIFY2(shown.contains(message), qPrintable(shown.join(QLatin1String(" | "))));
    try {
        agronomy::recommend(analysis, w->numbers());
        QFAIL("the pipeline went on where the window stopped");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(), message);
    }
}

QTEST_MAIN(TstRecommendationGui)
#include "tst_recommendation_gui.moc"
