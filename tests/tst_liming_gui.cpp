#include "gui_helpers.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

// Liming on the real window: an analysis typed on the data-entry tab, then the
// criteria, the recommendation and the PRNT correction clicked on the liming tab.
class TstLimingGui : public QObject {
    Q_OBJECT
private slots:
    void recommendation_data();
    void recommendation();
    void emptyClayStopsBeforeRecommendation();
    void choiceFollowsTheClayLastInterpreted();
    void correctionUsesRoundedRequirement();
    void prntCorrection_data();
    void prntCorrection();
};

namespace {
struct Soil {
    QString clay, mo, al, ca, mg, ctc, v;
};

// Typed along the Enter chain; the yield keeps its start text.
QStringList typeAnalysis(TFPrincipal *w, const Soil &s)
{
    const QList<QPair<const char *, QString>> fields{{"Edit1", s.clay}, {"Edit2", "7,5"}, {"Edit3", "50"},
                                                     {"Edit4", s.mo},   {"Edit5", s.al},   {"Edit6", s.ca},
                                                     {"Edit7", s.mg},   {"Edit8", s.ctc},  {"Edit9", s.v}};
    QStringList messages;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QWidget *next = i + 1 < fields.size() ? gui::find(w, fields[i + 1].first) : gui::find(w, "Edit55");
        messages << gui::messagesDuring([&] { gui::typeAndLeave(gui::find(w, fields[i].first), fields[i].second, next); });
    }
    return messages;
}

void showTab(TFPrincipal *w, const char *tab)
{
    gui::find<QTabWidget>(w, "PageControl1")->setCurrentWidget(gui::find<QWidget>(w, tab));
}

QStringList click(TFPrincipal *w, const char *button)
{
    return gui::messagesDuring([&] { QTest::mouseClick(gui::find<QPushButton>(w, button), Qt::LeftButton); });
}

QString text(const TFPrincipal *w, const char *name) { return gui::find(w, name)->text(); }

QStringList memoLines(const TFPrincipal *w)
{
    return gui::find<QPlainTextEdit>(w, "Memo1")->toPlainText().split(QLatin1Char('\n'));
}

const QString observation = QStringLiteral("Observação:");
const QString baseSaturation = QStringLiteral("Criterio baseado na Saturação de Bases.");
const QString lowBuffering = QStringLiteral("Criterio devido baixo poder tampão.");
const QString capped = QStringLiteral("Recomendação limitada a 2 t/ha.");
const Soil clayey{"35", "3,2", "0,4", "3,1", "1,2", "12", "30"};
} // namespace

Q_DECLARE_METATYPE(Soil)

void TstLimingGui::recommendation_data()
{
    QTest::addColumn<Soil>("soil");
    QTest::addColumn<QString>("nc1");
    QTest::addColumn<QString>("nc2");
    QTest::addColumn<QString>("nc3");
    QTest::addColumn<QString>("recommended");
    QTest::addColumn<QStringList>("memo");

    // clay, MO, Al, Ca, Mg, CTC, V; V1 stays at its start text 40.
    QTest::newRow("well buffered soil: base saturation")
        << clayey << "1,200" << "1,658" << "0,800" << "1,20" << QStringList{observation, baseSaturation};
    QTest::newRow("sandy soil: low buffering")
        << Soil{"12", "3,2", "0,4", "1", "0,5", "12", "30"} << "1,200" << "1,658" << "0,980" << "1,66"
        << QStringList{observation, lowBuffering};
    QTest::newRow("base saturation above 2 is capped")
        << Soil{"35", "3,2", "0,4", "3,1", "1,2", "12", "10"} << "3,600" << "1,658" << "0,800" << "2,00"
        << QStringList{observation, baseSaturation, capped};
    QTest::newRow("exactly 2 is not capped")
        << Soil{"35", "3,2", "0,4", "3,1", "1,2", "10", "20"} << "2,000" << "1,658" << "0,800" << "2,00"
        << QStringList{observation, baseSaturation};
    QTest::newRow("shown as 2,000 but above 2 is capped")
        << Soil{"35", "3,2", "0,4", "3,1", "1,2", "10,002", "20"} << "2,000" << "1,658" << "0,800" << "2,00"
        << QStringList{observation, baseSaturation, capped};
    QTest::newRow("low buffering above 2 is capped")
        << Soil{"12", "4", "1", "3,1", "1,2", "12", "30"} << "1,200" << "3,204" << "1,200" << "2,00"
        << QStringList{observation, lowBuffering, capped};
    // A negative need means no lime at all.
    QTest::newRow("negative need gives no lime")
        << Soil{"12", "0", "0", "3,1", "1,2", "12", "30"} << "1,200" << "-0,653" << "0,000" << "0,00"
        << QStringList{observation, lowBuffering};
}

void TstLimingGui::recommendation()
{
    QFETCH(Soil, soil);
    QFETCH(QString, nc1);
    QFETCH(QString, nc2);
    QFETCH(QString, nc3);
    QFETCH(QString, recommended);
    QFETCH(QStringList, memo);

    auto w = gui::openWindow(gui::comma());
    QCOMPARE(typeAnalysis(w.get(), soil), QStringList{});
    showTab(w.get(), "TabSheet2");

    // Clicked twice: the observation is rebuilt, never accumulated.
    for (int run = 1; run <= 2; ++run) {
        QCOMPARE(click(w.get(), "Button1"), QStringList{});
        QCOMPARE(text(w.get(), "Edit19"), nc1);
        QCOMPARE(text(w.get(), "Edit22"), nc2);
        QCOMPARE(text(w.get(), "Edit28"), nc3);
        QCOMPARE(text(w.get(), "Edit61"), recommended);
        QCOMPARE(text(w.get(), "Edit23"), recommended);
        QCOMPARE(memoLines(w.get()), memo);
    }
}

void TstLimingGui::emptyClayStopsBeforeRecommendation()
{
    auto w = gui::openWindow(gui::comma());
    QCOMPARE(typeAnalysis(w.get(), clayey), QStringList{});
    showTab(w.get(), "TabSheet2");
    QCOMPARE(click(w.get(), "Button1"), QStringList{});
    QCOMPARE(text(w.get(), "Edit61"), QStringLiteral("1,20"));

    showTab(w.get(), "TabSheet1");
    gui::typeAndLeave(gui::find(w.get(), "Edit1"), "", gui::find(w.get(), "Edit70"));
    showTab(w.get(), "TabSheet2");
    // New inputs, so that every criterion shown is seen to be recomputed.
    gui::typeInto(gui::find(w.get(), "Edit17"), "60");
    gui::typeInto(gui::find(w.get(), "Edit20"), "4");
    gui::typeInto(gui::find(w.get(), "Edit27"), "1");

    QCOMPARE(click(w.get(), "Button1"), QStringList{"'' is not a valid floating point value"});
    QCOMPARE(memoLines(w.get()), QStringList{observation});
    QCOMPARE(text(w.get(), "Edit19"), QStringLiteral("3,600"));
    QCOMPARE(text(w.get(), "Edit22"), QStringLiteral("2,042"));
    QCOMPARE(text(w.get(), "Edit28"), QStringLiteral("2,000"));
    QCOMPARE(text(w.get(), "Edit61"), QStringLiteral("1,20"));
    QCOMPARE(text(w.get(), "Edit23"), QStringLiteral("1,20"));
}

void TstLimingGui::choiceFollowsTheClayLastInterpreted()
{
    auto w = gui::openWindow(gui::comma());
    QCOMPARE(typeAnalysis(w.get(), clayey), QStringList{});
    // A sandy clay content in the field, never interpreted (the field was not left).
    gui::find(w.get(), "Edit1")->setText(QStringLiteral("10"));
    showTab(w.get(), "TabSheet2");
    QCOMPARE(click(w.get(), "Button1"), QStringList{});
    QCOMPARE(memoLines(w.get()), (QStringList{observation, baseSaturation}));
    QCOMPARE(text(w.get(), "Edit61"), QStringLiteral("1,20"));
}

void TstLimingGui::correctionUsesRoundedRequirement()
{
    // CTC 12,345 from V 30 to 40: 1,2345 t/ha, carried on as 1,23.
    auto w = gui::openWindow(gui::comma());
    QCOMPARE(typeAnalysis(w.get(), Soil{"35", "3,2", "0,4", "3,1", "1,2", "12,345", "30"}), QStringList{});
    showTab(w.get(), "TabSheet2");
    gui::typeInto(gui::find(w.get(), "Edit23"), "5");
    QCOMPARE(click(w.get(), "Button1"), QStringList{});
    QCOMPARE(text(w.get(), "Edit61"), QStringLiteral("1,23"));
    QCOMPARE(text(w.get(), "Edit23"), QStringLiteral("1,23"));

    gui::typeInto(gui::find(w.get(), "Edit24"), "80");
    QCOMPARE(click(w.get(), "Button2"), QStringList{});
    QCOMPARE(text(w.get(), "Edit25"), QStringLiteral("1,538")); // 1,2345 would give 1,543
}

void TstLimingGui::prntCorrection_data()
{
    QTest::addColumn<QString>("need");
    QTest::addColumn<QString>("prnt");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("messages");
    const QString before = QStringLiteral("7,777");
    QTest::newRow("PRNT 80") << "2,00" << "80" << "2,500" << QStringList{};
    QTest::newRow("PRNT 100 keeps the need") << "1,23" << "100" << "1,230" << QStringList{};
    QTest::newRow("PRNT 0") << "2,00" << "0" << before << QStringList{"Floating point division by zero"};
    QTest::newRow("PRNT empty") << "2,00" << "" << before << QStringList{"'' is not a valid floating point value"};
    QTest::newRow("need empty") << "" << "80" << before << QStringList{"'' is not a valid floating point value"};
}

void TstLimingGui::prntCorrection()
{
    QFETCH(QString, need);
    QFETCH(QString, prnt);
    QFETCH(QString, quantity);
    QFETCH(QStringList, messages);

    // Needs no liming run before it: it works on whatever the fields hold.
    auto w = gui::openWindow(gui::comma());
    showTab(w.get(), "TabSheet2");
    gui::find(w.get(), "Edit25")->setText(QStringLiteral("7,777")); // a previous result
    gui::typeInto(gui::find(w.get(), "Edit23"), need);
    gui::typeInto(gui::find(w.get(), "Edit24"), prnt);
    QCOMPARE(click(w.get(), "Button2"), messages);
    QCOMPARE(text(w.get(), "Edit25"), quantity);
}

QTEST_MAIN(TstLimingGui)
#include "tst_liming_gui.moc"
