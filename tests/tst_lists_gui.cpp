#include "agronomy/Applications.h"
#include "fertilizers/MineralCatalogue.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// The fertilizer lists of the fertilization tab: their items, the contents a
// chosen mineral fertilizer writes into its block, and the switch between the
// organic and the mineral planting block.
namespace {

struct Block {
    const char *list;
    const char *n, *p, *k;
};
const Block kBlocks[] = {
    {"ComboBox2", "Edit34", "Edit35", "Edit36"},
    {"ComboBox3", "Edit42", "Edit43", "Edit44"},
    {"ComboBox4", "Edit71", "Edit72", "Edit73"},
    {"ComboBox5", "Edit81", "Edit82", "Edit83"},
};

QStringList items(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList contents(const TFPrincipal &w, const Block &block)
{
    return {gui::find(&w, block.n)->text(), gui::find(&w, block.p)->text(), gui::find(&w, block.k)->text()};
}

using gui::clickRadio;

// Chooses an item as a user does: the tab showing, the planting block on
// "Adubo Mineral", the item picked from the list.
void choose(TFPrincipal &w, const Block &block, const QString &item)
{
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    if (qstrcmp(block.list, "ComboBox2") == 0)
        clickRadio(w.RadioButton2);
    auto *combo = gui::find<QComboBox>(&w, block.list);
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->setCurrentIndex(index);
}

} // namespace

class TstListsGui : public QObject {
    Q_OBJECT
private slots:
    void mineralListsFollowTheCatalogue();
    void catalogueRows_data();
    void catalogueRows();
    void organicList();
    void straightFertilizerEmptiesCompoundContents_data();
    void straightFertilizerEmptiesCompoundContents();
    void zeroPhosphateIsShownAsZero();
    void nothingSelectedKeepsTypedPercentages();
    void plantingBlocksTakeTurns();
    void repickAfterTypingOver_data();
    void repickAfterTypingOver();
    void repickFollowsNewMissingAmounts_data();
    void repickFollowsNewMissingAmounts();
    void pickOfAnotherItemRunsOnce();
    void listsCompleteAndDropDown_data();
    void listsCompleteAndDropDown();
};

void TstListsGui::mineralListsFollowTheCatalogue()
{
    const auto w = gui::openWindow();
    for (const Block &block : kBlocks) {
        auto *combo = gui::find<QComboBox>(w.get(), block.list);
        QCOMPARE(combo->count(), fertilizers::mineralCount);
        const bool planting = qstrcmp(block.list, "ComboBox2") == 0;
        for (int i = 0; i < fertilizers::mineralCount; ++i) {
            const fertilizers::MineralFertilizer &row = fertilizers::AdubosMinerais[std::size_t(i)];
            const QString text = QString::fromUtf8(planting ? row.plantingText : row.topDressingText);
            QCOMPARE(combo->itemText(i), text);
            combo->setCurrentIndex(i);
            QCOMPARE(contents(*w, block),
                     (QStringList{QString::fromUtf8(row.n), QString::fromUtf8(row.p2o5), QString::fromUtf8(row.k2o)}));
        }
    }
}

void TstListsGui::catalogueRows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("planting");
    QTest::addColumn<QString>("topDressing");
    QTest::addColumn<QStringList>("npk");
    QTest::newRow("urea") << 0 << "Uréia (45%N)" << "Uréia " << QStringList{"45", "", ""};
    QTest::newRow("calcium nitrate, doubled blank") << 3 << "Nitrato de cálcio  (14%N)" << "Nitrato de cálcio  "
                                                    << QStringList{"14", "", ""};
    QTest::newRow("MAP counted by its P2O5") << 6 << "Fosfato monoamônico (MAP)( 48%P2O5)"
                                             << "Fosfato Monoamônico (MAP)" << QStringList{"", "48", ""};
    QTest::newRow("reactive rock phosphate") << 11 << "Fosfato Natural reativo (9%P2O5)"
                                             << "Fosfatro Natural Reativo " << QStringList{"", "9", ""};
    QTest::newRow("potassium sulphate") << 13 << "Sulfato de Potássio (48% K2O)" << "Sulfato de  Potássio "
                                        << QStringList{"", "", "48"};
    QTest::newRow("04-14-08") << 17 << "Adubo 04-14-08" << "Adubo 04-14-08" << QStringList{"4", "14", "8"};
    QTest::newRow("04-28-14") << 19 << "Adubo 04-28-14" << "Adubo 04-28-14" << QStringList{"4", "28", "14"};
    QTest::newRow("25-00-25") << 24 << "Adubo 25-00-25" << "Adubo 25-00-25" << QStringList{"25", "0", "25"};
}

// A few rows written out, so that a slip in the catalogue itself shows.
void TstListsGui::catalogueRows()
{
    QFETCH(int, index);
    QFETCH(QString, planting);
    QFETCH(QString, topDressing);
    QFETCH(QStringList, npk);
    const auto w = gui::openWindow();
    for (const Block &block : kBlocks) {
        auto *combo = gui::find<QComboBox>(w.get(), block.list);
        QCOMPARE(combo->itemText(index), qstrcmp(block.list, "ComboBox2") == 0 ? planting : topDressing);
        combo->setCurrentIndex(index);
        QCOMPARE(contents(*w, block), npk);
    }
}

void TstListsGui::organicList()
{
    const auto w = gui::openWindow();
    const QStringList expected{
        "Cama de frango (3 e 4  lotes) ", "Cama de frango (5 e 6  lotes) ", "Cama de frango (7 e 8  lotes) ",
        "Cama de perú (2 lotes)",         "Cama de poedeira",               "Cama sobreposta de suínos",
        "Composto de dejeto de suínos",   "Esterco sólido de suínos",       "Esterco sólido de bovinos",
        "Vermicomposto",                  "Lodo de esgoto",                 "Composto de lixo urbano",
        "Cinza de casca de arroz",        "Dejeto líquido de suínos",       "Dejeto líquido de bovino",
        "",
    };
    QCOMPARE(items(gui::find<QComboBox>(w.get(), "ComboBox1")), expected);
}

void TstListsGui::straightFertilizerEmptiesCompoundContents_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("urea");
    QTest::newRow("planting") << 0 << "Uréia (45%N)";
    QTest::newRow("1st top-dressing") << 1 << "Uréia ";
    QTest::newRow("2nd top-dressing") << 2 << "Uréia ";
    QTest::newRow("3rd top-dressing") << 3 << "Uréia ";
}

void TstListsGui::straightFertilizerEmptiesCompoundContents()
{
    QFETCH(int, block);
    QFETCH(QString, urea);
    const auto w = gui::openWindow();
    choose(*w, kBlocks[block], "Adubo 13-13-28");
    QCOMPARE(contents(*w, kBlocks[block]), (QStringList{"13", "13", "28"}));
    choose(*w, kBlocks[block], urea);
    QCOMPARE(contents(*w, kBlocks[block]), (QStringList{"45", "", ""}));
    // The other blocks were not touched.
    for (int other = 0; other < 4; ++other)
        if (other != block)
            QCOMPARE(contents(*w, kBlocks[other]), (QStringList{"", "", ""}));
}

void TstListsGui::zeroPhosphateIsShownAsZero()
{
    const auto w = gui::openWindow();
    for (const Block &block : kBlocks) {
        choose(*w, block, "Adubo 20-00-20");
        QCOMPARE(contents(*w, block), (QStringList{"20", "0", "20"}));
    }
}

void TstListsGui::nothingSelectedKeepsTypedPercentages()
{
    const auto w = gui::openWindow();
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    const Block &block = kBlocks[1];
    auto *combo = gui::find<QComboBox>(w.get(), block.list);

    // A product of one's own: its name typed into the list, its contents into the fields.
    gui::typeInto(gui::find(w.get(), block.n), "12");
    gui::typeInto(gui::find(w.get(), block.p), "6");
    gui::typeInto(gui::find(w.get(), block.k), "");
    combo->setFocus(Qt::MouseFocusReason);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "Adubo da casa");
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(contents(*w, block), (QStringList{"12", "6", ""}));

    // A chosen product whose choice is then dropped leaves the fields as they are.
    combo->setCurrentIndex(0);
    QCOMPARE(contents(*w, block), (QStringList{"45", "", ""}));
    gui::typeInto(gui::find(w.get(), block.p), "3");
    combo->setCurrentIndex(-1);
    QCOMPARE(contents(*w, block), (QStringList{"45", "3", ""}));
}

void TstListsGui::plantingBlocksTakeTurns()
{
    const auto w = gui::openWindow();
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    auto *organic = gui::find<QGroupBox>(w.get(), "GroupBox26");
    auto *mineral = gui::find<QGroupBox>(w.get(), "GroupBox27");
    auto *organicRadio = gui::find<QRadioButton>(w.get(), "RadioButton1");
    auto *mineralRadio = gui::find<QRadioButton>(w.get(), "RadioButton2");
    QVERIFY(organic->isVisible());
    QVERIFY(!mineral->isVisible());

    clickRadio(mineralRadio);
    QVERIFY(mineralRadio->isChecked());
    QVERIFY(mineral->isVisible());
    QVERIFY(!organic->isVisible());
    QCOMPARE(mineral->geometry(), organic->geometry()); // the same place

    w->ComboBox2->setCurrentIndex(21);
    clickRadio(organicRadio);
    QVERIFY(organic->isVisible());
    QVERIFY(!mineral->isVisible());

    // Switching clears nothing.
    clickRadio(mineralRadio);
    QCOMPARE(w->ComboBox2->currentText(), QStringLiteral("Adubo 13-13-28"));
    QCOMPARE(contents(*w, kBlocks[0]), (QStringList{"13", "13", "28"}));
}

namespace {

// Each product list with the fields its choice writes and the button that
// lists the product in hand.
struct PickBlock {
    const char *list;
    int item;
    const char *written[5]; // contents, then the quantity and the N amount
    const char *missingN, *inserir, *grid;
    const char *radio; // the planting block to show
};
const PickBlock kPickBlocks[] = {
    {"ComboBox1", 3, {"Edit34", "Edit35", "Edit36", "Edit33", "Edit37"}, "Edit50", "Button6", "stga4", "RadioButton1"},
    {"ComboBox2", 0, {"Edit34", "Edit35", "Edit36", "Edit40", "Edit37"}, "Edit50", "Button9", "stga4", "RadioButton2"},
    {"ComboBox3", 0, {"Edit42", "Edit43", "Edit44", "Edit41", "Edit45"}, "Edit64", "Button11", "stga5", nullptr},
    {"ComboBox4", 0, {"Edit71", "Edit72", "Edit73", "Edit48", "Edit74"}, "Edit49", "Button19", "Stga6", nullptr},
    {"ComboBox5", 0, {"Edit81", "Edit82", "Edit83", "Edit77", "Edit84"}, "Edit78", "Button22", "stga7", nullptr},
};

void addPickBlocks()
{
    QTest::addColumn<int>("block");
    for (int b = 0; b < 5; ++b)
        QTest::newRow(kPickBlocks[b].list) << b;
}

std::unique_ptr<TFPrincipal> windowFor(const PickBlock &b)
{
    auto w = gui::openWindow();
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    if (b.radio)
        clickRadio(gui::find<QRadioButton>(w.get(), b.radio));
    // Planting misses P2O5 and K2O too, so that every organic criterion proposes.
    for (const char *field : {"Edit50", "Edit52", "Edit54"})
        gui::typeWhole(*w, field, QStringLiteral("40"));
    gui::typeWhole(*w, b.missingN, QStringLiteral("60,00"));
    return w;
}

} // namespace

// After a name typed over the product and a content typed over its figure,
// picking the same product again brings back its name, its contents and its
// proposal, and "Inserir" lists it as it is.
void TstListsGui::repickAfterTypingOver_data() { addPickBlocks(); }

void TstListsGui::repickAfterTypingOver()
{
    QFETCH(int, block);
    const PickBlock &b = kPickBlocks[block];
    const auto w = windowFor(b);
    auto *list = gui::find<QComboBox>(w.get(), b.list);
    QCOMPARE(gui::pick(list, b.item), QStringList());
    const QString name = list->itemText(b.item);
    QCOMPARE(list->currentText(), name);
    const QStringList proposed = gui::texts(*w, b.written);
    QVERIFY(!proposed[0].isEmpty());

    // Typing into the list's text picks nothing at each keystroke.
    list->setFocus(Qt::MouseFocusReason);
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), QStringLiteral("Meu N"));
    QCOMPARE(list->currentText(), QStringLiteral("Meu N"));
    gui::typeWhole(*w, b.written[0], QStringLiteral("30"));
    QCOMPARE(gui::texts(*w, b.written).mid(1), proposed.mid(1));

    QCOMPARE(gui::pick(list, b.item), QStringList());

    QCOMPARE(list->currentIndex(), b.item);
    QCOMPARE(list->currentText(), name);
    QCOMPARE(gui::texts(*w, b.written), proposed);
    auto *inserir = gui::find<QPushButton>(w.get(), b.inserir);
    QCOMPARE(gui::messagesDuring([&] { QTest::mouseClick(inserir, Qt::LeftButton); }), QStringList());
    auto *grid = gui::find<StringGrid>(w.get(), b.grid);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->cell(applications::ProductColumn, applications::FirstProductRow), name);
    QCOMPARE(grid->cell(applications::NColumn, applications::FirstProductRow), proposed[4]);
}

// Picking the product already chosen proposes again from what is missing now
// (after a new split, say), not from what was missing at the first pick.
void TstListsGui::repickFollowsNewMissingAmounts_data() { addPickBlocks(); }

void TstListsGui::repickFollowsNewMissingAmounts()
{
    QFETCH(int, block);
    const PickBlock &b = kPickBlocks[block];
    const auto w = windowFor(b);
    auto *list = gui::find<QComboBox>(w.get(), b.list);
    QCOMPARE(gui::pick(list, b.item), QStringList());
    const QStringList before = gui::texts(*w, b.written);
    // Half the N missing: a product closed by N is proposed at half the
    // quantity; an organic one closed by P2O5 supplies the same N again.
    gui::typeWhole(*w, b.missingN, QStringLiteral("30,00"));
    gui::typeWhole(*w, "Edit52", QStringLiteral("20"));

    QCOMPARE(gui::pick(list, b.item), QStringList());

    const QStringList after = gui::texts(*w, b.written);
    QCOMPARE(after.mid(0, 3), before.mid(0, 3));
    QCOMPARE(gui::find(w.get(), b.written[3])->text(), after[3]);
    const double was = w->numbers().toDouble(before[3]), now = w->numbers().toDouble(after[3]);
    QVERIFY2(qAbs(now - was / 2) < 0.1, qPrintable(before[3] + QLatin1String(" -> ") + after[3]));
}

// A pick that moves the list to another item runs its handler once: a
// "Faltante" text that is not a number is reported once, not twice.
void TstListsGui::pickOfAnotherItemRunsOnce()
{
    for (const PickBlock &b : kPickBlocks) {
        const auto w = windowFor(b);
        gui::typeWhole(*w, b.missingN, QStringLiteral("6O"));
        auto *list = gui::find<QComboBox>(w.get(), b.list);
        QCOMPARE(gui::pick(list, b.item), QStringList{QStringLiteral("'6O' is not a valid floating point value")});
        QCOMPARE(gui::pick(list, b.item + 1), QStringList{QStringLiteral("'6O' is not a valid floating point value")});
    }
}

// Every list is editable: what is typed, in any case, is completed with the
// rest of the first item it begins, and the list drops down with all items.
void TstListsGui::listsCompleteAndDropDown_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("item");
    QTest::newRow("organic") << "ComboBox1" << "verm" << "Vermicomposto";
    QTest::newRow("organic, first of several") << "ComboBox1" << "CAMA DE F" << "Cama de frango (3 e 4  lotes) ";
    QTest::newRow("planting") << "ComboBox2" << "sulfato de a" << "Sulfato de amônio (20% )";
    QTest::newRow("1st top-dressing") << "ComboBox3" << "ur" << "Uréia ";
    QTest::newRow("2nd top-dressing") << "ComboBox4" << "NITRATO DE C" << "Nitrato de cálcio  ";
    QTest::newRow("3rd top-dressing") << "ComboBox5" << "cloreto" << "Cloreto de Potássio ";
}

void TstListsGui::listsCompleteAndDropDown()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, item);
    const auto w = gui::openWindow();
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    if (list == "ComboBox2")
        clickRadio(w->RadioButton2);
    auto *combo = gui::find<QComboBox>(w.get(), qPrintable(list));
    QVERIFY(combo->isEditable());
    gui::typeInto(combo->lineEdit(), typed);
    QCOMPARE(combo->lineEdit()->text(), typed + item.mid(typed.size()));

    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(combo->view()->model()->rowCount(), combo->count());
    combo->hidePopup();
    QTRY_VERIFY(!combo->view()->isVisible());
}

QTEST_MAIN(TstListsGui)
#include "tst_lists_gui.moc"
