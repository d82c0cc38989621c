#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <tuple>

// The three top-dressings driven through the window: the proposal that closes
// K2O when it can and N otherwise, "Calcular", "Inserir" with the "Faltante"
// amounts as the block's doses minus its list, and "Limpar". The blocks behave
// alike, so every case runs on each of them.
namespace {

using namespace applications;

const QColor kYellow = gui::yellow;

struct Block {
    const char *name;
    const char *list, *quantity, *calcular, *inserir, *limpar, *grid;
    const char *percent[3], *amount[3], *faltante[3];
    int row; // of stga3
};
const Block kBlocks[] = {
    {"1st", "ComboBox3", "Edit41", "Button10", "Button11", "Button13", "stga5",
     {"Edit42", "Edit43", "Edit44"}, {"Edit45", "Edit46", "Edit47"}, {"Edit64", "Edit66", "Edit67"}, FirstTopDressing},
    {"2nd", "ComboBox4", "Edit48", "Button18", "Button19", "Button20", "Stga6",
     {"Edit71", "Edit72", "Edit73"}, {"Edit74", "Edit75", "Edit76"}, {"Edit49", "Edit51", "Edit53"}, SecondTopDressing},
    {"3rd", "ComboBox5", "Edit77", "Button21", "Button22", "Button23", "stga7",
     {"Edit81", "Edit82", "Edit83"}, {"Edit84", "Edit85", "Edit86"}, {"Edit78", "Edit79", "Edit80"}, ThirdTopDressing},
};

// Indices of the top-dressing lists.
constexpr int kUreia = 0, kSuperTriplo = 5, kCloreto = 12, kAdubo100520 = 22, kAdubo200020 = 23;

using gui::base;
using gui::texts;

using gui::fertilizationWindow;
using gui::typeWhole;

void typeAll(TFPrincipal &w, const char *const (&fields)[3], const QStringList &values)
{
    for (int i = 0; i < 3; ++i)
        typeWhole(w, fields[i], values[i]);
}

void setDoses(TFPrincipal &w, const Block &b, const QStringList &npk)
{
    for (int i = 0; i < 3; ++i)
        w.stga3->setCell(NColumn + i, b.row, npk[i]);
}

using gui::showPageOf;
QStringList click(TFPrincipal &w, const char *button) { return gui::clickAnswering(w, button); }

QStringList choose(TFPrincipal &w, const Block &b, int index)
{
    auto *list = gui::find<QComboBox>(&w, b.list);
    return gui::messagesDuring([&] { list->setCurrentIndex(index); });
}

StringGrid *grid(const TFPrincipal &w, const Block &b) { return gui::find<StringGrid>(&w, b.grid); }

QStringList quantityAndAmounts(const TFPrincipal &w, const Block &b)
{
    return QStringList{gui::find(&w, b.quantity)->text()} + texts(w, b.amount);
}

// One row per block, for the cases that are a story rather than a table.
void addBlockColumn()
{
    QTest::addColumn<int>("block");
    for (int b = 0; b < 3; ++b)
        QTest::newRow(kBlocks[b].name) << b;
}

// The other blocks, and planting, are not touched by what one block does.
void othersUntouched(const TFPrincipal &w, int block)
{
    QCOMPARE(w.stga4->rowCount(), 1);
    for (int other = 0; other < 3; ++other) {
        if (other == block)
            continue;
        QCOMPARE(grid(w, kBlocks[other])->rowCount(), 1);
        QCOMPARE(texts(w, kBlocks[other].faltante), (QStringList{"", "", ""}));
    }
}

} // namespace

class TstTopdressingGui : public QObject {
    Q_OBJECT
private slots:
    void proposal_data();
    void proposal();
    void calculate_data();
    void calculate();
    void insertAndOverApply_data();
    void insertAndOverApply();
    void insertWithoutProduct_data();
    void insertWithoutProduct();
    void insertStopsAtATextThatIsNotANumber_data();
    void insertStopsAtATextThatIsNotANumber();
    void noProposalLeavesNoStaleAmounts_data();
    void noProposalLeavesNoStaleAmounts();
    void clear_data();
    void clear();
    void afterTheSplit_data();
    void afterTheSplit();
};

void TstTopdressingGui::proposal_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<int>("product");
    QTest::addColumn<QStringList>("percent");
    QTest::addColumn<QStringList>("proposal"); // quantity, then N, P2O5, K2O supplied
    // Without a proposal the quantity in hand ("100" from the start) stays and
    // the amounts typed before are replaced by what it supplies of the new product.
    for (int b = 0; b < 3; ++b) {
        const char *block = kBlocks[b].name;
        QTest::addRow("%s: urea closes N", block) << b << gui::comma() << QStringList{"60,00", "", ""} << kUreia
                                                 << QStringList{"45", "", ""}
                                                 << QStringList{"133,3", "60,0", "0,0", "0,0"};
        QTest::addRow("%s: K2O replaces N", block) << b << gui::comma() << QStringList{"60,00", "", "40,00"}
                                                  << kAdubo200020 << QStringList{"20", "0", "20"}
                                                  << QStringList{"200,0", "40,0", "0,0", "40,0"};
        QTest::addRow("%s: K2O decides, each nutrient at its content", block)
            << b << gui::comma() << QStringList{"60,00", "", "40,00"} << kAdubo100520 << QStringList{"10", "5", "20"}
            << QStringList{"200,0", "20,0", "10,0", "40,0"};
        QTest::addRow("%s: no K2O in the product, N decides", block)
            << b << gui::comma() << QStringList{"60,00", "", "40,00"} << kUreia << QStringList{"45", "", ""}
            << QStringList{"133,3", "60,0", "0,0", "0,0"};
        QTest::addRow("%s: K2O over-applied, N decides", block)
            << b << gui::comma() << QStringList{"60,00", "", "-5,00"} << kAdubo200020 << QStringList{"20", "0", "20"}
            << QStringList{"300,0", "60,0", "0,0", "60,0"};
        QTest::addRow("%s: nothing to close", block) << b << gui::comma() << QStringList{"30,00", "", "0,00"}
                                                    << kCloreto << QStringList{"", "", "58"}
                                                    << QStringList{"100", "0,0", "0,0", "58,0"};
        QTest::addRow("%s: P2O5 never decides", block) << b << gui::comma() << QStringList{"60,00", "30,00", "40,00"}
                                                      << kSuperTriplo << QStringList{"", "41", ""}
                                                      << QStringList{"100", "0,0", "41,0", "0,0"};
    }
    QTest::newRow("point separator") << 0 << gui::point() << QStringList{"60.00", "", ""} << kUreia
                                     << QStringList{"45", "", ""} << QStringList{"133.3", "60.0", "0.0", "0.0"};
    QTest::newRow("point separator, no proposal") << 0 << gui::point() << QStringList{"0.00", "", ""} << kCloreto
                                                  << QStringList{"", "", "58"}
                                                  << QStringList{"100", "0.0", "0.0", "58.0"};
}

void TstTopdressingGui::proposal()
{
    QFETCH(int, block);
    QFETCH(QLocale, regional);
    QFETCH(QStringList, missing);
    QFETCH(int, product);
    QFETCH(QStringList, percent);
    QFETCH(QStringList, proposal);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow(regional);
    typeAll(*w, b.faltante, missing);
    typeAll(*w, b.amount, {"1", "2", "3"});

    QCOMPARE(choose(*w, b, product), QStringList());

    QCOMPARE(texts(*w, b.percent), percent);
    QCOMPARE(quantityAndAmounts(*w, b), proposal);
    QCOMPARE(texts(*w, b.faltante), missing); // a proposal deducts nothing
    QCOMPARE(grid(*w, b)->rowCount(), 1);
}

void TstTopdressingGui::calculate_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("percent");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("messages");
    for (int b = 0; b < 3; ++b) {
        const char *block = kBlocks[b].name;
        QTest::addRow("%s: 150 of 04-14-08", block) << b << "150" << QStringList{"4", "14", "8"}
                                                   << QStringList{"6,00", "21,00", "12,00"} << QStringList();
        QTest::addRow("%s: empty percentages read as 0", block) << b << "150" << QStringList{"", "14", ""}
                                                               << QStringList{"0,00", "21,00", "0,00"} << QStringList();
        QTest::addRow("%s: empty quantity", block) << b << "" << QStringList{"4", "14", "8"}
                                                  << QStringList{"1", "2", "3"}
                                                  << QStringList{"'' is not a valid floating point value"};
        QTest::addRow("%s: percentage not a number", block) << b << "150" << QStringList{"4", "l4", "8"}
                                                           << QStringList{"1", "2", "3"}
                                                           << QStringList{"'l4' is not a valid floating point value"};
    }
}

void TstTopdressingGui::calculate()
{
    QFETCH(int, block);
    QFETCH(QString, quantity);
    QFETCH(QStringList, percent);
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, messages);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    typeAll(*w, b.faltante, {"60,00", "", "40,00"});
    typeAll(*w, b.amount, {"1", "2", "3"});
    typeWhole(*w, b.quantity, quantity);
    typeAll(*w, b.percent, percent);

    QCOMPARE(click(*w, b.calcular), messages);

    QCOMPARE(texts(*w, b.amount), amounts);
    QCOMPARE(gui::find(w.get(), b.quantity)->text(), quantity);
    QCOMPARE(texts(*w, b.faltante), (QStringList{"60,00", "", "40,00"}));
}

void TstTopdressingGui::insertAndOverApply_data() { addBlockColumn(); }

// The usual round: the doses in stga3 and in "Faltante", a product chosen and
// inserted, then the same product once more than the block needs.
void TstTopdressingGui::insertAndOverApply()
{
    QFETCH(int, block);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    const QColor window = w->palette().color(QPalette::Base);
    setDoses(*w, b, {"60,00", "", "40,00"});
    typeAll(*w, b.faltante, {"60,00", "", "40,00"});
    choose(*w, b, kAdubo200020);

    QCOMPARE(click(*w, b.inserir), QStringList());

    StringGrid *list = grid(*w, b);
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->rowTexts(ListTitleRow), (QStringList{"Tipo", "Kg", "N (kg)", "P205 (kg)", "K20 (kg)"}));
    QCOMPARE(list->rowTexts(FirstProductRow), (QStringList{"Adubo 20-00-20", "200,0", "40,0", "0,0", "40,0"}));
    // No P2O5 dose: its "Faltante" stays empty.
    QCOMPARE(texts(*w, b.faltante), (QStringList{"20,00", "", "0,00"}));
    QCOMPARE(base(gui::find(w.get(), b.faltante[0])), kYellow);
    QCOMPARE(base(gui::find(w.get(), b.faltante[2])), window);

    // The next choice proposes what is still missing, after the list.
    choose(*w, b, kUreia);
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"44,4", "20,0", "0,0", "0,0"}));

    // A P2O5 dose typed into stga3 counts from the next insertion on.
    w->stga3->setCell(P2O5Column, b.row, QStringLiteral("10"));
    choose(*w, b, kAdubo200020); // K2O is closed now: N decides
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"100,0", "20,0", "0,0", "20,0"}));
    typeWhole(*w, b.quantity, "200,0");
    QCOMPARE(click(*w, b.calcular), QStringList());
    QCOMPARE(click(*w, b.inserir), QStringList());

    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->rowTexts(FirstProductRow + 1), (QStringList{"Adubo 20-00-20", "200,0", "40,00", "0,00", "40,00"}));
    QCOMPARE(texts(*w, b.faltante), (QStringList{"-20,00", "10,00", "-40,00"}));
    QCOMPARE(base(gui::find(w.get(), b.faltante[0])), window);
    QCOMPARE(base(gui::find(w.get(), b.faltante[1])), kYellow);
    QCOMPARE(base(gui::find(w.get(), b.faltante[2])), window);
    othersUntouched(*w, block);
}

void TstTopdressingGui::insertWithoutProduct_data() { addBlockColumn(); }

// Nothing validated: the list's start text and whatever the fields hold go in,
// and "Faltante" is recomputed from the doses, not from what it showed.
void TstTopdressingGui::insertWithoutProduct()
{
    QFETCH(int, block);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    setDoses(*w, b, {"60,00", "", ""});
    typeAll(*w, b.faltante, {"12,34", "", "7,00"});

    QCOMPARE(click(*w, b.inserir), QStringList());

    QCOMPARE(grid(*w, b)->rowCount(), 2);
    QCOMPARE(grid(*w, b)->rowTexts(FirstProductRow), (QStringList{"Selecione", "100", "", "", ""}));
    QCOMPARE(texts(*w, b.faltante), (QStringList{"60,00", "", "7,00"}));
    othersUntouched(*w, block);
}

void TstTopdressingGui::insertStopsAtATextThatIsNotANumber_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("input"); // 0..2 the N, P2O5, K2O amounts; 3..5 the same doses in stga3
    QTest::addColumn<QString>("text");
    const char *const inputs[] = {"N amount", "P2O5 amount", "K2O amount", "N dose", "P2O5 dose", "K2O dose"};
    const char *const bad[] = {"4O,0", "O", "-", "6O", "1O", "4O,00"};
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 6; ++i)
            QTest::addRow("%s: %s", kBlocks[b].name, inputs[i]) << b << i << bad[i];
}

// Everything is read before anything changes: a text that is not a number
// lists nothing and leaves "Faltante" as it was.
void TstTopdressingGui::insertStopsAtATextThatIsNotANumber()
{
    QFETCH(int, block);
    QFETCH(int, input);
    QFETCH(QString, text);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    setDoses(*w, b, {"60,00", "10", "40,00"});
    typeAll(*w, b.faltante, {"60,00", "10", "40,00"});
    choose(*w, b, kUreia);
    QCOMPARE(click(*w, b.inserir), QStringList());
    const QStringList listed = grid(*w, b)->rowTexts(FirstProductRow);
    const QStringList missing{"0,00", "10,00", "40,00"};
    QCOMPARE(texts(*w, b.faltante), missing);
    choose(*w, b, kAdubo200020);
    if (input < 3)
        typeWhole(*w, b.amount[input], text);
    else
        w->stga3->setCell(NColumn + input - 3, b.row, text);

    QCOMPARE(click(*w, b.inserir), QStringList{QStringLiteral("'%1' is not a valid floating point value").arg(text)});

    QCOMPARE(grid(*w, b)->rowCount(), 2);
    QCOMPARE(grid(*w, b)->rowTexts(FirstProductRow), listed);
    QCOMPARE(texts(*w, b.faltante), missing);
}

// A product that gets no proposal is never listed with the nutrients of the
// one chosen before it: its amounts follow the quantity in hand.
void TstTopdressingGui::noProposalLeavesNoStaleAmounts_data() { addBlockColumn(); }

void TstTopdressingGui::noProposalLeavesNoStaleAmounts()
{
    QFETCH(int, block);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    setDoses(*w, b, {"60,00", "30,00", ""});
    typeAll(*w, b.faltante, {"60,00", "30,00", ""});
    choose(*w, b, kUreia);
    QCOMPARE(click(*w, b.inserir), QStringList());
    QCOMPARE(texts(*w, b.faltante), (QStringList{"0,00", "30,00", ""}));

    // Nothing missing that a phosphate closes by: no proposal, urea's 133,3 kg stay.
    QCOMPARE(choose(*w, b, kSuperTriplo), QStringList());
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"133,3", "0,0", "54,7", "0,0"}));
    QCOMPARE(click(*w, b.inserir), QStringList());

    QCOMPARE(grid(*w, b)->rowTexts(FirstProductRow + 1),
             (QStringList{"Superfosfato Triplo ", "133,3", "0,0", "54,7", "0,0"}));
    QCOMPARE(texts(*w, b.faltante), (QStringList{"0,00", "-24,70", ""}));

    // A quantity that is not a number says so, and leaves no amounts behind.
    typeWhole(*w, b.quantity, "1OO");
    QCOMPARE(choose(*w, b, kCloreto), QStringList{"'1OO' is not a valid floating point value"});
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"1OO", "", "", ""}));
    // An empty one supplies nothing known.
    typeWhole(*w, b.quantity, "");
    QCOMPARE(choose(*w, b, kSuperTriplo), QStringList());
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"", "", "", ""}));
}

void TstTopdressingGui::clear_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QStringList>("doses");
    QTest::addColumn<QStringList>("faltante");
    QTest::addColumn<QList<bool>>("yellow");
    QTest::addColumn<QStringList>("messages");
    for (int b = 0; b < 3; ++b) {
        const char *block = kBlocks[b].name;
        QTest::addRow("%s: doses", block) << b << QStringList{"60,00", "", "40,00"} << QStringList{"60,00", "", "40,00"}
                                          << QList<bool>{true, false, true} << QStringList();
        QTest::addRow("%s: a typed P2O5 dose", block) << b << QStringList{"60,00", "8", "0,00"}
                                                      << QStringList{"60,00", "8", "0,00"}
                                                      << QList<bool>{true, true, false} << QStringList();
        QTest::addRow("%s: empty row", block) << b << QStringList{"", "", ""} << QStringList{"", "", ""}
                                              << QList<bool>{false, false, false} << QStringList();
        // Copied as it stands; its colour step then fails and stops the clearing there.
        QTest::addRow("%s: dose not a number", block) << b << QStringList{"6O", "", ""}
                                                      << QStringList{"6O", "", "-40,00"}
                                                      << QList<bool>{false, false, false}
                                                      << QStringList{"'6O' is not a valid floating point value"};
    }
}

void TstTopdressingGui::clear()
{
    QFETCH(int, block);
    QFETCH(QStringList, doses);
    QFETCH(QStringList, faltante);
    QFETCH(QList<bool>, yellow);
    QFETCH(QStringList, messages);
    const Block &b = kBlocks[block];
    const auto w = fertilizationWindow();
    const QColor window = w->palette().color(QPalette::Base);
    setDoses(*w, b, {"60,00", "", "40,00"});
    typeAll(*w, b.faltante, {"60,00", "", "40,00"});
    choose(*w, b, kAdubo200020);
    click(*w, b.inserir);
    click(*w, b.inserir);
    QCOMPARE(texts(*w, b.faltante), (QStringList{"-20,00", "", "-40,00"}));
    setDoses(*w, b, doses);

    QCOMPARE(click(*w, b.limpar), messages);

    QCOMPARE(grid(*w, b)->rowCount(), 1);
    QCOMPARE(grid(*w, b)->rowTexts(ListTitleRow), (QStringList{"Tipo", "Kg", "N (kg)", "P205 (kg)", "K20 (kg)"}));
    QCOMPARE(texts(*w, b.faltante), faltante);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(base(gui::find(w.get(), b.faltante[i])) == (yellow[i] ? kYellow : window), b.faltante[i]);
    // The product in hand is left as it was.
    QCOMPARE(gui::find<QComboBox>(w.get(), b.list)->currentText(), QStringLiteral("Adubo 20-00-20"));
    QCOMPARE(texts(*w, b.percent), (QStringList{"20", "0", "20"}));
    QCOMPARE(quantityAndAmounts(*w, b), (QStringList{"200,0", "40,0", "0,0", "40,0"}));
    othersUntouched(*w, block);
}

void TstTopdressingGui::afterTheSplit_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QStringList>("proposal");
    QTest::addColumn<QStringList>("faltante"); // after "Inserir"
    // N 120 splits 42/36/24 over the top-dressings; K2O 100 leaves 60 to the first only.
    QTest::newRow("1st") << 0 << QStringList{"300,0", "60,0", "0,0", "60,0"} << QStringList{"-18,00", "", "0,00"};
    QTest::newRow("2nd") << 1 << QStringList{"180,0", "36,0", "0,0", "36,0"} << QStringList{"0,00", "", ""};
    QTest::newRow("3rd") << 2 << QStringList{"120,0", "24,0", "0,0", "24,0"} << QStringList{"0,00", "", ""};
}

// The doses as the split leaves them, through the doses tab's buttons.
void TstTopdressingGui::afterTheSplit()
{
    QFETCH(int, block);
    QFETCH(QStringList, proposal);
    QFETCH(QStringList, faltante);
    const Block &b = kBlocks[block];
    const auto w = gui::openWindow();
    for (const auto &[field, dose, button] : {std::tuple{"edit30", "120", "Button3"}, {"edit31", "100", "Button4"}}) {
        QLineEdit *edit = gui::find(w.get(), field);
        showPageOf(*w, edit);
        gui::typeInto(edit, QString::fromLatin1(dose));
        QCOMPARE(click(*w, button), QStringList());
    }
    showPageOf(*w, w->stga3);

    QCOMPARE(choose(*w, b, kAdubo200020), QStringList());
    QCOMPARE(quantityAndAmounts(*w, b), proposal);
    QCOMPARE(click(*w, b.inserir), QStringList());

    QCOMPARE(texts(*w, b.faltante), faltante);
    QCOMPARE(grid(*w, b)->rowCount(), 2);
}

QTEST_MAIN(TstTopdressingGui)
#include "tst_topdressing_gui.moc"
