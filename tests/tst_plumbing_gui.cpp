#include "core/Failure.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QFocusEvent>
#include <stdexcept>

// What every handler relies on: which focus losses count as leaving a field,
// writes that run a change handler only for a new text, the error guard, the
// worksheet each window keeps for itself, and grid cells that can be edited.
Q_DECLARE_METATYPE(Qt::FocusReason)

class TstPlumbingGui : public QObject {
    Q_OBJECT
private slots:
    void leavingAField_data();
    void leavingAField();
    void writingTheSameTextRunsNoChangeHandler();
    void guardShowsEveryError_data();
    void guardShowsEveryError();
    void eachWindowKeepsItsOwnWorksheet();
    void editableCells_data();
    void editableCells();
};

void TstPlumbingGui::leavingAField_data()
{
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<bool>("left");
    QTest::newRow("Tab") << Qt::TabFocusReason << true;
    QTest::newRow("Shift+Tab") << Qt::BacktabFocusReason << true;
    QTest::newRow("mouse") << Qt::MouseFocusReason << true;
    QTest::newRow("shortcut") << Qt::ShortcutFocusReason << true;
    QTest::newRow("other") << Qt::OtherFocusReason << true;
    // The window losing activation or a popup opening is not leaving the field.
    QTest::newRow("window deactivated") << Qt::ActiveWindowFocusReason << false;
    QTest::newRow("popup") << Qt::PopupFocusReason << false;
}

void TstPlumbingGui::leavingAField()
{
    QFETCH(Qt::FocusReason, reason);
    QFETCH(bool, left);
    auto w = gui::openWindow();
    gui::typeInto(w->Edit1, QStringLiteral("30"));
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(w->Edit1, &out);
    QCOMPARE(w->Edit68->text(), left ? QStringLiteral("Classe 3") : QString());
}

void TstPlumbingGui::writingTheSameTextRunsNoChangeHandler()
{
    auto w = gui::openWindow();
    gui::typeAndLeave(w->Edit1, QStringLiteral("30"), w->Edit2);
    gui::typeAndLeave(w->Edit2, QStringLiteral("5"), w->Edit3);
    QCOMPARE(w->edit32->text(), QStringLiteral("65,0"));
    QCOMPARE(w->Edit52->text(), QStringLiteral("65,0"));

    // The dose is written again with the same text: its copy in "Faltante"
    // keeps what the user typed there.
    gui::typeWhole(*w, "Edit52", QStringLiteral("10"));
    gui::typeAndLeave(w->Edit2, QStringLiteral("5"), w->Edit3);
    QCOMPARE(w->edit32->text(), QStringLiteral("65,0"));
    QCOMPARE(w->Edit52->text(), QStringLiteral("10"));
}

void TstPlumbingGui::guardShowsEveryError_data()
{
    QTest::addColumn<std::function<void()>>("work");
    QTest::addColumn<QString>("message");
    QTest::newRow("the program's own error")
        << std::function<void()>([] { throw Failure::notANumber(QStringLiteral("x")); })
        << "'x' is not a valid floating point value";
    QTest::newRow("a standard exception") << std::function<void()>([] { throw std::runtime_error("sem espaço"); })
                                          << "Erro inesperado: sem espaço";
    QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << "Erro inesperado.";
}

void TstPlumbingGui::guardShowsEveryError()
{
    QFETCH(std::function<void()>, work);
    QFETCH(QString, message);
    auto w = gui::openWindow();
    QCOMPARE(gui::messagesDuring([&] { w->guard(work); }), QStringList{message});
}

void TstPlumbingGui::eachWindowKeepsItsOwnWorksheet()
{
    auto a = gui::openWindow();
    gui::typeAndLeave(a->Edit1, QStringLiteral("35"), a->Edit2);
    gui::typeAndLeave(a->Edit2, QStringLiteral("7"), a->Edit3);
    auto b = gui::openWindow();
    gui::typeAndLeave(b->Edit1, QStringLiteral("10"), b->Edit2);
    gui::typeAndLeave(b->Edit2, QStringLiteral("4"), b->Edit3);

    QCOMPARE(a->worksheet().argila, 35.0);
    QCOMPARE(a->worksheet().p, 7.0);
    QCOMPARE(a->worksheet().phosphorusLimits.l4, 18.0);
    QCOMPARE(b->worksheet().argila, 10.0);
    QCOMPARE(b->worksheet().p, 4.0);
    QCOMPARE(b->worksheet().phosphorusLimits.l4, 30.0);

    // A restored worksheet is what the liming choice reads.
    agronomy::Worksheet restored = b->worksheet();
    restored.argila = 60;
    a->setWorksheet(restored);
    QCOMPARE(a->worksheet(), restored);
    QCOMPARE(b->worksheet().argila, 10.0);
}

void TstPlumbingGui::editableCells_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("fixedColumns");
    QTest::addColumn<bool>("editable");
    QTest::newRow("stga1") << "stga1" << 1 << 0 << true;
    QTest::newRow("stga2") << "stga2" << 1 << 0 << true;
    QTest::newRow("stga3") << "stga3" << 1 << 1 << true;
    for (const char *list : {"stga4", "stga5", "Stga6", "stga7"})
        QTest::newRow(list) << list << 0 << 0 << false;
}

void TstPlumbingGui::editableCells()
{
    QFETCH(QString, grid);
    QFETCH(int, fixedRows);
    QFETCH(int, fixedColumns);
    QFETCH(bool, editable);
    auto w = gui::openWindow();
    const auto *g = gui::find<StringGrid>(w.get(), qPrintable(grid));
    for (int r = 0; r < g->rowCount(); ++r)
        for (int c = 0; c < g->columnCount(); ++c) {
            const bool fixed = r < fixedRows || c < fixedColumns;
            const Qt::ItemFlags flags = g->item(r, c)->flags();
            const QByteArray where = QStringLiteral("(%1, %2)").arg(c).arg(r).toLatin1();
            QVERIFY2(bool(flags & Qt::ItemIsEditable) == (editable && !fixed), where);
            QVERIFY2(bool(flags & Qt::ItemIsSelectable) == !fixed, where);
        }
}

QTEST_MAIN(TstPlumbingGui)
#include "tst_plumbing_gui.moc"
