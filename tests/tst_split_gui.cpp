#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QPushButton>
#include <QTabWidget>

// Splitting the N and K2O doses over planting and the three top-dressings
// through the real buttons, the phosphate dose following edit32 as typed, and
// the "Faltante" fields turning yellow while something is missing.
namespace {

const char *const kNFaltante[] = {"Edit50", "Edit64", "Edit49", "Edit78"};
const char *const kKFaltante[] = {"Edit54", "Edit67", "Edit53", "Edit80"};
const QColor kYellow = gui::yellow;
using gui::base;
using gui::click;
using gui::showPageOf;
using gui::texts;

void typeDose(TFPrincipal &w, const char *field, const QString &text)
{
    QLineEdit *edit = gui::find(&w, field);
    showPageOf(w, edit);
    gui::typeInto(edit, text);
}

// Types into a grid cell as a user does: select it, type, press Enter.
void typeCell(TFPrincipal &w, StringGrid *grid, int column, int row, const QString &text)
{
    showPageOf(w, grid);
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentCell(row, column);
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after its Enter has been handled
}

QStringList column(const StringGrid *grid, int col)
{
    QStringList texts;
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        texts << grid->cell(col, r);
    return texts;
}


} // namespace

class TstSplitGui : public QObject {
    Q_OBJECT
private slots:
    void nitrogen_data();
    void nitrogen();
    void potashFixedRule_data();
    void potashFixedRule();
    void potashByPercent();
    void potashByPercentWithoutPercentages();
    void nitrogenWithoutDose();
    void nitrogenBadPercentageStopsAtItsRow();
    void potashFixedRuleBadDose();
    void potashByPercentBadPercentage();
    void faltanteColour_data();
    void faltanteColour();
    void phosphateFollowsEachKeystroke();
};

void TstSplitGui::nitrogen_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("dose");
    QTest::addColumn<QStringList>("amounts");
    QTest::newRow("120 by 15/35/30/20") << gui::comma() << "120" << QStringList{"18,00", "42,00", "36,00", "24,00"};
    // 0,075 and 0,175 are halves: they round away from zero.
    QTest::newRow("halves round up") << gui::comma() << "0,5" << QStringList{"0,08", "0,18", "0,15", "0,10"};
    QTest::newRow("point separator") << gui::point() << "120.0" << QStringList{"18.00", "42.00", "36.00", "24.00"};
}

void TstSplitGui::nitrogen()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, dose);
    QFETCH(QStringList, amounts);
    const auto w = gui::openWindow(regional);
    typeDose(*w, "edit30", dose);
    click(*w, "Button3");

    QCOMPARE(column(w->stga1, 3), amounts);
    QCOMPARE(column(w->stga3, 2), amounts);
    QCOMPARE(texts(*w, kNFaltante), amounts);
    QCOMPARE(column(w->stga1, 2), (QStringList{"15", "35", "30", "20"}));
    for (const char *name : kNFaltante)
        QCOMPARE(base(gui::find(w.get(), name)), kYellow);
}

void TstSplitGui::potashFixedRule_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("dose");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("faltante");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("100: 40 at planting, the rest at the first")
        << gui::comma() << "100" << QStringList{"40,00", "60,00", "", ""} << QStringList{"40,00", "60,00", "", ""}
        << QStringList();
    QTest::newRow("exactly 40: planting only")
        << gui::comma() << "40" << QStringList{"40,00", "", "", ""} << QStringList{"40,00", "", "", ""}
        << QStringList();
    QTest::newRow("40,004: a first top-dressing of 0,00")
        << gui::comma() << "40,004" << QStringList{"40,00", "0,00", "", ""} << QStringList{"40,00", "0,00", "", ""}
        << QStringList();
    QTest::newRow("below 40") << gui::comma() << "25,5" << QStringList{"25,50", "", "", ""}
                              << QStringList{"25,50", "", "", ""} << QStringList();
    QTest::newRow("point separator") << gui::point() << "100" << QStringList{"40.00", "60.00", "", ""}
                                     << QStringList{"40.00", "60.00", "", ""} << QStringList();
    // The fixed 40 keeps its comma under any separator but the point, so the
    // planting "Faltante" cannot read it back: the rule stops there.
    const QString sep = gui::otherSeparator().decimalPoint();
    QTest::newRow("other separator") << gui::otherSeparator() << "100" << QStringList{"40,00", "60" + sep + "00", "", ""}
                                     << QStringList{"40,00", "50" + sep + "00", "50" + sep + "00", "50" + sep + "00"}
                                     << QStringList{"'40,00' is not a valid floating point value"};
}

void TstSplitGui::potashFixedRule()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, dose);
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, faltante);
    QFETCH(QStringList, messages);
    const auto w = gui::openWindow(regional);
    // Something in every row first, so that the rule must empty rows 3 and 4.
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        typeCell(*w, w->stga2, applications::PercentColumn, r, "25");
    typeDose(*w, "edit31", "200");
    QCOMPARE(gui::messagesDuring([&] { click(*w, "Button17"); }), QStringList());
    QCOMPARE(texts(*w, kKFaltante).count(QString()), 0);

    typeDose(*w, "edit31", dose);
    QCOMPARE(gui::messagesDuring([&] { click(*w, "Button4"); }), messages);

    QCOMPARE(column(w->stga2, 3), amounts);
    QCOMPARE(column(w->stga3, 4), amounts);
    QCOMPARE(texts(*w, kKFaltante), faltante);
    QCOMPARE(column(w->stga2, 2), (QStringList{"25", "25", "25", "25"})); // percentages untouched
    QCOMPARE(column(w->stga3, 2), (QStringList{"", "", "", ""}));          // N untouched
}

void TstSplitGui::potashByPercent()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit31", "100");
    click(*w, "Button4"); // the first top-dressing gets 60,00, which must go
    QCOMPARE(gui::find(w.get(), "Edit67")->text(), QStringLiteral("60,00"));

    typeCell(*w, w->stga2, 2, 1, "50");
    typeCell(*w, w->stga2, 2, 3, "50");
    click(*w, "Button17");

    const QStringList amounts{"50,00", "", "50,00", ""};
    QCOMPARE(column(w->stga2, 3), amounts);
    QCOMPARE(column(w->stga3, 4), amounts);
    QCOMPARE(texts(*w, kKFaltante), amounts);
    QCOMPARE(base(gui::find(w.get(), "Edit67")), w->palette().color(QPalette::Base));
    QCOMPARE(base(gui::find(w.get(), "Edit53")), kYellow);
}

void TstSplitGui::potashByPercentWithoutPercentages()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit31", "100");
    click(*w, "Button4");
    QCOMPARE(gui::find(w.get(), "Edit54")->text(), QStringLiteral("40,00"));

    const QStringList shown = gui::messagesDuring([&] { click(*w, "Button17"); });

    QCOMPARE(shown, QStringList{QStringLiteral("Entre com os percentuais em cada período")});
    const QStringList empty{"", "", "", ""};
    QCOMPARE(column(w->stga2, 3), empty);
    QCOMPARE(column(w->stga3, 4), empty);
    QCOMPARE(texts(*w, kKFaltante), empty);
    for (const char *name : kKFaltante)
        QCOMPARE(base(gui::find(w.get(), name)), w->palette().color(QPalette::Base));
}

void TstSplitGui::nitrogenWithoutDose()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit30", "120");
    click(*w, "Button3");
    typeDose(*w, "edit30", "");

    const QStringList shown = gui::messagesDuring([&] { click(*w, "Button3"); });

    QCOMPARE(shown, QStringList{QStringLiteral("'' is not a valid floating point value")});
    const QStringList before{"18,00", "42,00", "36,00", "24,00"};
    QCOMPARE(column(w->stga1, 3), before);
    QCOMPARE(column(w->stga3, 2), before);
    QCOMPARE(texts(*w, kNFaltante), before);
}

void TstSplitGui::nitrogenBadPercentageStopsAtItsRow()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit30", "100");
    click(*w, "Button3");
    typeCell(*w, w->stga1, 2, 3, "3O"); // a letter O for a zero
    typeDose(*w, "edit30", "120");

    const QStringList shown = gui::messagesDuring([&] { click(*w, "Button3"); });

    QCOMPARE(shown, QStringList{QStringLiteral("'3O' is not a valid floating point value")});
    // Rows above the bad one are written in both grids; the rest is as it was.
    const QStringList partial{"18,00", "42,00", "30,00", "20,00"};
    QCOMPARE(column(w->stga1, 3), partial);
    QCOMPARE(column(w->stga3, 2), partial);
    QCOMPARE(texts(*w, kNFaltante), (QStringList{"15,00", "35,00", "30,00", "20,00"}));
}

void TstSplitGui::potashFixedRuleBadDose()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit31", "100");
    click(*w, "Button4");
    typeDose(*w, "edit31", "1OO");

    const QStringList shown = gui::messagesDuring([&] { click(*w, "Button4"); });

    QCOMPARE(shown, QStringList{QStringLiteral("'1OO' is not a valid floating point value")});
    // Only the quantity column of the split grid was emptied.
    QCOMPARE(column(w->stga2, 3), (QStringList{"", "", "", ""}));
    const QStringList before{"40,00", "60,00", "", ""};
    QCOMPARE(column(w->stga3, 4), before);
    QCOMPARE(texts(*w, kKFaltante), before);
}

void TstSplitGui::potashByPercentBadPercentage()
{
    const auto w = gui::openWindow();
    typeDose(*w, "edit31", "100");
    click(*w, "Button4");
    typeCell(*w, w->stga2, 2, 1, "30");
    typeCell(*w, w->stga2, 2, 2, " ");
    typeDose(*w, "edit31", "200");

    const QStringList shown = gui::messagesDuring([&] { click(*w, "Button17"); });

    // A blank is not an empty cell: it is read, and fails.
    QCOMPARE(shown, QStringList{QStringLiteral("' ' is not a valid floating point value")});
    QCOMPARE(w->stga2->cell(applications::AmountColumn, applications::Planting), QStringLiteral("60,00"));
    QCOMPARE(w->stga3->cell(applications::K2OColumn, applications::Planting), QStringLiteral("60,00"));
    // The failing row and those below keep what the fixed rule gave them.
    QCOMPARE(w->stga2->cell(applications::AmountColumn, applications::FirstTopDressing), QStringLiteral("60,00"));
    QCOMPARE(w->stga3->cell(applications::K2OColumn, applications::FirstTopDressing), QStringLiteral("60,00"));
    QCOMPARE(texts(*w, kKFaltante), (QStringList{"40,00", "60,00", "", ""}));
}

void TstSplitGui::faltanteColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("yellow");
    QTest::newRow("above zero") << "18,00" << true;
    QTest::newRow("a hundredth") << "0,01" << true;
    QTest::newRow("zero") << "0,00" << false;
    QTest::newRow("negative") << "-5,00" << false;
    QTest::newRow("empty") << "" << false;
}

void TstSplitGui::faltanteColour()
{
    QFETCH(QString, text);
    QFETCH(bool, yellow);
    const auto w = gui::openWindow();
    const QColor window = w->palette().color(QPalette::Base);
    // Every one of the twelve fields, each first made yellow so a change back shows.
    for (const char *name : {"Edit50", "Edit52", "Edit54", "Edit64", "Edit66", "Edit67", "Edit49", "Edit51", "Edit53",
                             "Edit78", "Edit79", "Edit80"}) {
        QLineEdit *field = gui::find(w.get(), name);
        showPageOf(*w, field);
        gui::typeInto(field, "7");
        QCOMPARE(base(field), kYellow);
        // Partial texts such as "-" are not numbers yet; their messages do not matter here.
        gui::messagesDuring([&] { gui::typeInto(field, text); });
        QCOMPARE(field->text(), text);
        QVERIFY2(base(field) == (yellow ? kYellow : window), name);
    }
}

void TstSplitGui::phosphateFollowsEachKeystroke()
{
    const auto w = gui::openWindow();
    QLineEdit *edit32 = gui::find(w.get(), "edit32");
    QLineEdit *edit52 = gui::find(w.get(), "Edit52");
    showPageOf(*w, edit32);
    edit32->setFocus(Qt::MouseFocusReason);
    for (const QChar c : QStringLiteral("60,0")) {
        QTest::keyClick(edit32, c.toLatin1());
        QCOMPARE(w->stga3->cell(applications::P2O5Column, applications::Planting), edit32->text());
        QCOMPARE(edit52->text(), edit32->text());
    }
    QCOMPARE(edit52->text(), QStringLiteral("60,0"));
    QCOMPARE(base(edit52), kYellow);
    QTest::keyClick(edit32, Qt::Key_Backspace);
    QCOMPARE(edit52->text(), QStringLiteral("60,"));
    QCOMPARE(w->stga3->cell(applications::P2O5Column, applications::Planting), QStringLiteral("60,"));
}

QTEST_MAIN(TstSplitGui)
#include "tst_split_gui.moc"
