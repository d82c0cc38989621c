#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QPushButton>
#include <QTabWidget>

// The decimal mark typed into a field follows the regional separator where
// the field has that rule, and Enter walks the fields in screen order, running
// each field's exit handler as it leaves it.
namespace {

using gui::showPageOf;

void focusOn(TFPrincipal &w, QWidget *widget)
{
    showPageOf(w, widget);
    widget->setFocus(Qt::MouseFocusReason);
}

QString focusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

// Keys typed one by one into whatever has the focus, as a user types.
void typeKeys(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

} // namespace

class TstKeyboardGui : public QObject {
    Q_OBJECT
private slots:
    void wholeAnalysisWithEnterOnly();
    void decimalMark_data();
    void decimalMark();
    void enterMovesFocus_data();
    void enterMovesFocus();
    void enterOnAButtonComputesNothing_data();
    void enterOnAButtonComputesNothing();
    void enterInPotashPercentagesMovesDown();
    void pointInPotashPercentageIsKept();
};

void TstKeyboardGui::wholeAnalysisWithEnterOnly()
{
    const auto w = gui::openWindow(gui::comma());
    // Field, keys typed, what it shows afterwards (the soil fields take "," for ".").
    const struct {
        const char *field;
        QString typed;
        QString shown;
    } chain[] = {
        {"Edit55", "Jose da Silva", "Jose da Silva"},
        {"Edit56", "123.456.789-00", "123.456.789-00"},
        {"Edit57", "Linha 5", "Linha 5"},
        {"Edit58", "Cruz Alta", "Cruz Alta"},
        {"Edit59", "Gleba 2", "Gleba 2"},
        {"Edit60", "1234.5", "1234.5"},
        {"Edit1", "45.5", "45,5"},
        {"Edit70", "5.4", "5,4"},
        {"Edit2", "8.2", "8,2"},
        {"Edit3", "60", "60"},
        {"Edit4", "2.5", "2,5"},
        {"Edit5", "0.3", "0,3"},
        {"Edit6", "2.1", "2,1"},
        {"Edit7", "0.9", "0,9"},
        {"Edit8", "7.5", "7,5"},
        {"Edit9", "45", "45"},
    };

    focusOn(*w, w->Edit55);
    for (std::size_t i = 0; i < std::size(chain); ++i) {
        QCOMPARE(focusName(), QString::fromLatin1(chain[i].field));
        typeKeys(chain[i].typed);
        QCOMPARE(gui::find(w.get(), chain[i].field)->text(), chain[i].shown);
        pressEnter();
    }
    QCOMPARE(focusName(), QStringLiteral("Edit12"));
    QCOMPARE(w->Edit12->text(), QStringLiteral("25"));

    // The exit handlers ran along the way: classes, copies onto the liming tab, doses.
    for (const char *cls : {"Edit68", "Edit11", "Edit10", "Edit69"})
        QVERIFY2(!gui::find(w.get(), cls)->text().isEmpty(), cls);
    QCOMPARE(w->Edit20->text(), QStringLiteral("2,5"));
    QCOMPARE(w->Edit21->text(), QStringLiteral("0,3"));
    QCOMPARE(w->Edit27->text(), QStringLiteral("0,3"));
    QCOMPARE(w->Edit29->text(), QStringLiteral("3,00"));
    QCOMPARE(w->Edit16->text(), QStringLiteral("7,5"));
    QCOMPARE(w->Edit18->text(), QStringLiteral("45"));
    for (QLineEdit *dose : {w->edit30, w->edit31, w->edit32})
        QVERIFY2(!dose->text().isEmpty(), qPrintable(dose->objectName()));
    // The phosphate dose went on to planting.
    QCOMPARE(w->stga3->cell(applications::P2O5Column, applications::Planting), w->edit32->text());
    QCOMPARE(w->Edit52->text(), w->edit32->text());
}

void TstKeyboardGui::decimalMark_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    // Rules A and B: the mark becomes the separator in force.
    QTest::newRow("clay, point under comma") << gui::comma() << "Edit1" << "2.5" << "2,5";
    QTest::newRow("clay, comma under comma") << gui::comma() << "Edit1" << "2,5" << "2,5";
    QTest::newRow("clay, comma under point") << gui::point() << "Edit1" << "2,5" << "2.5";
    QTest::newRow("pH") << gui::comma() << "Edit70" << "5.5" << "5,5";
    QTest::newRow("V2 on the liming tab") << gui::comma() << "Edit18" << "4.5" << "4,5";
    QTest::newRow("PRNT") << gui::comma() << "Edit24" << "87.5" << "87,5";
    QTest::newRow("yield") << gui::comma() << "Edit12" << "27.5" << "27,5";
    QTest::newRow("N dose") << gui::comma() << "edit30" << "120.5" << "120,5";
    QTest::newRow("K2O dose under point") << gui::point() << "edit31" << "60,5" << "60.5";
    // Rule C and fields without a key rule: the mark stays as typed.
    for (const char *field : {"Edit55", "Edit56", "Edit57", "Edit58", "Edit59", "Edit60"})
        QTest::newRow(field) << gui::comma() << field << "1.2" << "1.2";
    QTest::newRow("efficiency") << gui::comma() << "Edit62" << "0.5" << "0.5";
    QTest::newRow("organic quantity") << gui::comma() << "Edit33" << "2.5" << "2.5";
}

void TstKeyboardGui::decimalMark()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    const auto w = gui::openWindow(regional);
    QLineEdit *edit = gui::find(w.get(), qPrintable(field));
    focusOn(*w, edit);
    edit->clear();
    typeKeys(typed);
    QCOMPARE(edit->text(), shown);
}

void TstKeyboardGui::enterMovesFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("next");
    QTest::newRow("sample number to clay") << "Edit60" << "Edit1";
    QTest::newRow("clay to pH") << "Edit1" << "Edit70";
    QTest::newRow("pH to P") << "Edit70" << "Edit2";
    QTest::newRow("V to yield") << "Edit9" << "Edit12";
    QTest::newRow("yield stays") << "Edit12" << "Edit12";
    QTest::newRow("N dose stays") << "edit30" << "edit30";
    QTest::newRow("K2O dose stays") << "edit31" << "edit31";
    QTest::newRow("liming MO to Al") << "Edit20" << "Edit21";
    QTest::newRow("liming Al to CTC") << "Edit21" << "Edit16";
    QTest::newRow("liming V2 to f") << "Edit18" << "Edit26";
    QTest::newRow("PRNT 100 to commercial PRNT") << "Edit23" << "Edit24";
    QTest::newRow("efficiency N to P") << "Edit62" << "Edit63";
    QTest::newRow("efficiency ring closes") << "Edit65" << "Edit62";
}

void TstKeyboardGui::enterMovesFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, next);
    const auto w = gui::openWindow();
    focusOn(*w, gui::find(w.get(), qPrintable(field)));
    QCOMPARE(focusName(), field);
    pressEnter();
    QCOMPARE(focusName(), next);
}

void TstKeyboardGui::enterOnAButtonComputesNothing_data()
{
    QTest::addColumn<QStringList>("fields"); // filled so that the button could compute
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("result");
    QTest::newRow("criteria end on Calcular")
        << QStringList{"Edit1", "Edit20", "Edit21", "Edit16", "Edit17", "Edit18", "Edit26", "Edit27", "Edit29"}
        << QStringList{"40", "2,5", "0,3", "7,5", "40", "30", "2", "0,3", "1,5"} << "Edit29" << "Button1" << "Edit19";
    QTest::newRow("PRNT correction ends on Calcular")
        << QStringList{"Edit23", "Edit24"} << QStringList{"1,5", "80"} << "Edit24" << "Button2" << "Edit25";
}

void TstKeyboardGui::enterOnAButtonComputesNothing()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);
    QFETCH(QString, last);
    QFETCH(QString, button);
    QFETCH(QString, result);
    const auto w = gui::openWindow();
    for (int i = 0; i < fields.size(); ++i)
        gui::find(w.get(), qPrintable(fields[i]))->setText(texts[i]);

    focusOn(*w, gui::find(w.get(), qPrintable(last)));
    const QStringList shown = gui::messagesDuring(pressEnter);

    QCOMPARE(shown, QStringList());
    QCOMPARE(focusName(), button);
    QCOMPARE(gui::find(w.get(), qPrintable(result))->text(), QString());
    // The button does compute when the user then presses it.
    QCOMPARE(gui::messagesDuring([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }), QStringList());
    QVERIFY(!gui::find(w.get(), qPrintable(result))->text().isEmpty());
}

void TstKeyboardGui::enterInPotashPercentagesMovesDown()
{
    const auto w = gui::openWindow();
    focusOn(*w, w->stga2);
    w->stga2->setCurrentCell(1, 2);

    // Typing a percentage and Enter: the cell keeps it and the next row is current.
    const QStringList typed{"40", "30", "20", "10"};
    for (int row = applications::Planting; row <= applications::ThirdTopDressing; ++row) {
        QCOMPARE(w->stga2->currentRow(), row);
        typeKeys(typed[row - applications::Planting]);
        pressEnter();
        QCoreApplication::processEvents();
        QCOMPARE(w->stga2->cell(applications::PercentColumn, row), typed[row - applications::Planting]);
        QCOMPARE(w->stga2->currentColumn(), 2);
    }
    QCOMPARE(w->stga2->currentRow(), 4); // the last row stays current

    // Outside editing too: one row per Enter, and none past the last.
    w->stga2->setFocus(Qt::MouseFocusReason);
    w->stga2->setCurrentCell(2, 2);
    pressEnter();
    QCOMPARE(w->stga2->currentRow(), 3);
    pressEnter();
    pressEnter();
    QCOMPARE(w->stga2->currentRow(), 4);
    QCOMPARE(w->stga2->currentColumn(), 2);

    // Leaving a cell being edited by a click elsewhere is not an Enter.
    w->stga2->setCurrentCell(1, 2);
    typeKeys("55");
    const QRect third = w->stga2->visualRect(w->stga2->model()->index(3, 2));
    QTest::mouseClick(w->stga2->viewport(), Qt::LeftButton, {}, third.center());
    QCoreApplication::processEvents();
    QCOMPARE(w->stga2->cell(applications::PercentColumn, applications::Planting), QStringLiteral("55"));
    QCOMPARE(w->stga2->currentRow(), 3);
}

void TstKeyboardGui::pointInPotashPercentageIsKept()
{
    const auto w = gui::openWindow(gui::comma());
    focusOn(*w, w->stga2);
    w->stga2->setCurrentCell(1, 2);
    typeKeys("2.5");
    pressEnter();
    QCoreApplication::processEvents();
    QCOMPARE(w->stga2->cell(applications::PercentColumn, applications::Planting), QStringLiteral("2.5"));

    w->edit31->setText("100");
    showPageOf(*w, w->Button17);
    const QStringList shown = gui::messagesDuring([&] { QTest::mouseClick(w->Button17, Qt::LeftButton); });
    QCOMPARE(shown, QStringList{QStringLiteral("'2.5' is not a valid floating point value")});
}

QTEST_MAIN(TstKeyboardGui)
#include "tst_keyboard_gui.moc"
