#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// The planting fertilization driven through the window: organic and mineral
// proposals that close what planting still misses, "Calcular", the planting
// list with its "Faltante" amounts, "Limpar tudo", and the errors that stop a
// handler half-way.
namespace {

using namespace applications;

const QColor kYellow = gui::yellow;
const char *const kFaltante[] = {"Edit50", "Edit52", "Edit54"};
const char *const kAmounts[] = {"Edit37", "Edit38", "Edit39"};
const char *const kContents[] = {"Edit34", "Edit35", "Edit36"};

// Indices of the lists.
constexpr int kCamaDeFrango34 = 0, kCamaDePeru = 3, kNoOrganic = 15;
constexpr int kUreia = 0, kCloreto = 12, kAdubo041408 = 17;

using gui::base;
using gui::texts;

using gui::fertilizationWindow;
using gui::typeWhole;

void typeMissing(TFPrincipal &w, const QStringList &npk)
{
    for (int i = 0; i < 3; ++i)
        typeWhole(w, kFaltante[i], npk[i]);
}

void setPlantingDoses(TFPrincipal &w, const QStringList &npk)
{
    for (int i = 0; i < 3; ++i)
        w.stga3->setCell(NColumn + i, Planting, npk[i]);
}

using gui::clickRadio;
QStringList click(TFPrincipal &w, const char *button) { return gui::clickAnswering(w, button); }

QStringList chooseOrganic(TFPrincipal &w, int index, const char *criterion = "RadioButton4")
{
    clickRadio(w.RadioButton1);
    clickRadio(gui::find<QRadioButton>(&w, criterion));
    return gui::messagesDuring([&] { w.ComboBox1->setCurrentIndex(index); });
}

QStringList chooseMineral(TFPrincipal &w, int index)
{
    clickRadio(w.RadioButton2);
    return gui::messagesDuring([&] { w.ComboBox2->setCurrentIndex(index); });
}

} // namespace

class TstPlantingGui : public QObject {
    Q_OBJECT
private slots:
    void organicProposal_data();
    void organicProposal();
    void organicContentsBySeparator_data();
    void organicContentsBySeparator();
    void noContentsProposeNothing();
    void organicCalculate_data();
    void organicCalculate();
    void organicCalculateNeedsEveryField_data();
    void organicCalculateNeedsEveryField();
    void dryMatterErrors_data();
    void dryMatterErrors();
    void mineralProposal_data();
    void mineralProposal();
    void mineralCalculate_data();
    void mineralCalculate();
    void insertOrganicAndMineral();
    void insertStopsAtATextThatIsNotANumber_data();
    void insertStopsAtATextThatIsNotANumber();
    void clearAll_data();
    void clearAll();
};

void TstPlantingGui::organicProposal_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("criterion");
    // Edit33, Edit88, Edit37, Edit38, Edit39
    QTest::addColumn<QStringList>("proposal");
    const QStringList missing{"18", "60", "40"};
    const QStringList potashShort{"18", "60", "10"};
    QTest::newRow("by P") << gui::comma() << missing << "RadioButton4"
                          << QStringList{"1714,3", "2285,7", "54,9", "60,0", "42,9"};
    QTest::newRow("by the smallest: N") << gui::comma() << missing << "RadioButton6"
                                        << QStringList{"562,5", "750,0", "18,0", "19,7", "14,1"};
    QTest::newRow("by the smallest: K2O") << gui::comma() << potashShort << "RadioButton6"
                                          << QStringList{"400,0", "533,3", "12,8", "14,0", "10,0"};
    QTest::newRow("by N, though K2O is shorter") << gui::comma() << potashShort << "RadioButton3"
                                                 << QStringList{"562,5", "750,0", "18,0", "19,7", "14,1"};
    QTest::newRow("by K") << gui::comma() << missing << "RadioButton5"
                          << QStringList{"1600,0", "2133,3", "51,2", "56,0", "40,0"};
    QTest::newRow("nothing missing") << gui::comma() << QStringList{"", "", ""} << "RadioButton4"
                                     << QStringList{"0,0", "0,0", "0,0", "0,0", "0,0"};
    // A nutrient already over-supplied asks for no more product, never for a negative amount.
    QTest::newRow("P2O5 over-supplied, by P") << gui::comma() << QStringList{"18", "-10", "40"} << "RadioButton4"
                                              << QStringList{"0,0", "0,0", "0,0", "0,0", "0,0"};
    QTest::newRow("K2O over-supplied, by the smallest") << gui::comma() << QStringList{"18", "60", "-5,5"}
                                                        << "RadioButton6"
                                                        << QStringList{"0,0", "0,0", "0,0", "0,0", "0,0"};
    QTest::newRow("point separator") << gui::point() << missing << "RadioButton4"
                                     << QStringList{"1714.3", "2285.7", "54.9", "60.0", "42.9"};
}

void TstPlantingGui::organicProposal()
{
    QFETCH(QLocale, regional);
    QFETCH(QStringList, missing);
    QFETCH(QString, criterion);
    QFETCH(QStringList, proposal);
    const auto w = fertilizationWindow(regional);
    typeMissing(*w, missing);

    QCOMPARE(chooseOrganic(*w, kCamaDeFrango34, qPrintable(criterion)), QStringList());

    QCOMPARE(w->ComboBox1->currentText(), QStringLiteral("Cama de frango (3 e 4  lotes) "));
    QCOMPARE(texts(*w, {"Edit33", "Edit88", "Edit37", "Edit38", "Edit39"}), proposal);
    QCOMPARE(texts(*w, kFaltante), missing); // a proposal deducts nothing
    QVERIFY(w->stga4->rowCount() == 1);
}

void TstPlantingGui::organicContentsBySeparator_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QStringList>("written"); // Edit34, Edit35, Edit36, Edit87
    QTest::newRow("comma") << gui::comma() << QStringList{"5,0", "4,0", "4,0", "75"};
    QTest::newRow("point") << gui::point() << QStringList{"5.0", "4.0", "4.0", "75"};
    // Under any other separator the table is not written: what was typed stays.
    QTest::newRow("other separator") << gui::otherSeparator() << QStringList{"7", "8", "9", "50"};
}

void TstPlantingGui::organicContentsBySeparator()
{
    QFETCH(QLocale, regional);
    QFETCH(QStringList, written);
    const auto w = fertilizationWindow(regional);
    typeWhole(*w, "Edit34", "7");
    typeWhole(*w, "Edit35", "8");
    typeWhole(*w, "Edit36", "9");
    typeWhole(*w, "Edit87", "50");

    QCOMPARE(chooseOrganic(*w, kCamaDePeru), QStringList());

    QCOMPARE(texts(*w, {"Edit34", "Edit35", "Edit36", "Edit87"}), written);
}

// With no content at all nothing decides the quantity: the proposal is none,
// not the sentinel that stands for "no limit".
void TstPlantingGui::noContentsProposeNothing()
{
    const auto w = fertilizationWindow();
    typeMissing(*w, {"18", "60", "40"});
    chooseOrganic(*w, kCamaDeFrango34);
    typeWhole(*w, "Edit34", "");
    typeWhole(*w, "Edit35", "0");
    typeWhole(*w, "Edit36", "");
    typeWhole(*w, "Edit87", "50");

    QCOMPARE(chooseOrganic(*w, kNoOrganic, "RadioButton6"), QStringList());

    QCOMPARE(texts(*w, {"Edit33", "Edit88", "Edit37", "Edit38", "Edit39"}),
             (QStringList{"0,0", "0,0", "0,0", "0,0", "0,0"}));
    QCOMPARE(texts(*w, {"Edit34", "Edit35", "Edit36", "Edit87"}), (QStringList{"", "0", "", "50"}));
}

void TstPlantingGui::organicCalculate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("amounts");
    // The proposal's quantity as it stands in Edit33, times the efficiencies.
    QTest::newRow("start efficiencies") << "Edit33" << "1714,3" << QStringList{"27,4", "48,0", "42,9"};
    QTest::newRow("a quantity typed") << "Edit33" << "1000" << QStringList{"16,0", "28,0", "25,0"};
    QTest::newRow("an efficiency typed") << "Edit62" << "1" << QStringList{"54,9", "48,0", "42,9"};
}

void TstPlantingGui::organicCalculate()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, amounts);
    const auto w = fertilizationWindow();
    typeMissing(*w, {"18", "60", "40"});
    chooseOrganic(*w, kCamaDeFrango34);
    typeWhole(*w, qPrintable(field), text);

    QCOMPARE(click(*w, "Button5"), QStringList());

    QCOMPARE(texts(*w, kAmounts), amounts);
    // The wet weight belongs to the last choice, not to the quantity now used.
    QCOMPARE(w->Edit88->text(), QStringLiteral("2285,7"));
    QCOMPARE(texts(*w, kFaltante), (QStringList{"18", "60", "40"}));
}

void TstPlantingGui::organicCalculateNeedsEveryField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("content emptied") << "Edit35" << "" << "'' is not a valid floating point value";
    QTest::newRow("quantity empty") << "Edit33" << "" << "'' is not a valid floating point value";
    QTest::newRow("efficiency empty") << "Edit62" << "" << "'' is not a valid floating point value";
    QTest::newRow("efficiency not a number") << "Edit65" << "1,O" << "'1,O' is not a valid floating point value";
}

void TstPlantingGui::organicCalculateNeedsEveryField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const auto w = fertilizationWindow();
    typeMissing(*w, {"18", "60", "40"});
    chooseOrganic(*w, kCamaDeFrango34);
    typeWhole(*w, qPrintable(field), text);

    QCOMPARE(click(*w, "Button5"), QStringList{message});

    QCOMPARE(texts(*w, kAmounts), (QStringList{"54,9", "60,0", "42,9"}));
}

void TstPlantingGui::dryMatterErrors_data()
{
    QTest::addColumn<QString>("dryMatter");
    QTest::addColumn<QString>("missingP");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "" << "60" << "'' is not a valid floating point value";
    QTest::newRow("not a number") << "7S" << "60" << "'7S' is not a valid floating point value";
    QTest::newRow("zero") << "0" << "60" << "Floating point division by zero";
    QTest::newRow("zero, and nothing to close") << "0" << "0" << "Invalid floating point operation";
}

// The dry matter is read after the contents are written and before any result:
// a bad one leaves the previous proposal in place.
void TstPlantingGui::dryMatterErrors()
{
    QFETCH(QString, dryMatter);
    QFETCH(QString, missingP);
    QFETCH(QString, message);
    const auto w = fertilizationWindow();
    typeMissing(*w, {"18", "60", "40"});
    chooseOrganic(*w, kCamaDeFrango34);
    typeWhole(*w, "Edit52", missingP);
    typeWhole(*w, "Edit87", dryMatter);
    typeWhole(*w, "Edit34", "5");

    QCOMPARE(chooseOrganic(*w, kNoOrganic), QStringList{message});

    QCOMPARE(texts(*w, {"Edit33", "Edit88", "Edit37", "Edit38", "Edit39"}),
             (QStringList{"1714,3", "2285,7", "54,9", "60,0", "42,9"}));
    QCOMPARE(texts(*w, {"Edit34", "Edit35", "Edit36", "Edit87"}), (QStringList{"5", "3,5", "2,5", dryMatter}));

    // A product from the table brings its own dry matter and the proposal goes through.
    QCOMPARE(chooseOrganic(*w, kCamaDeFrango34), QStringList());
    QCOMPARE(w->Edit87->text(), QStringLiteral("75"));
}

void TstPlantingGui::mineralProposal_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<int>("product");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<QStringList>("proposal"); // Edit40, Edit37, Edit38, Edit39
    // "Fechar pelo P" stays selected: it must not matter to a mineral product.
    QTest::newRow("urea closes N") << gui::comma() << QStringList{"18", "60", "40"} << kUreia
                                   << QStringList{"45", "", ""} << QStringList{"40,0", "18,00", "0,00", "0,00"};
    QTest::newRow("compound: the smallest limit") << gui::comma() << QStringList{"18", "60", "40"} << kAdubo041408
                                                  << QStringList{"4", "14", "8"}
                                                  << QStringList{"428,6", "17,14", "60,00", "34,29"};
    QTest::newRow("K2O over-supplied") << gui::comma() << QStringList{"", "", "-10"} << kCloreto
                                       << QStringList{"", "", "58"} << QStringList{"0,0", "0,00", "0,00", "0,00"};
    QTest::newRow("compound, K2O over-supplied") << gui::comma() << QStringList{"18", "60", "-10"} << kAdubo041408
                                                 << QStringList{"4", "14", "8"}
                                                 << QStringList{"0,0", "0,00", "0,00", "0,00"};
    QTest::newRow("the missing nutrient absent") << gui::comma() << QStringList{"18", "", ""} << kCloreto
                                                 << QStringList{"", "", "58"}
                                                 << QStringList{"0,0", "0,00", "0,00", "0,00"};
    QTest::newRow("point separator") << gui::point() << QStringList{"18", "60", "40"} << kUreia
                                     << QStringList{"45", "", ""} << QStringList{"40.0", "18.00", "0.00", "0.00"};
}

void TstPlantingGui::mineralProposal()
{
    QFETCH(QLocale, regional);
    QFETCH(QStringList, missing);
    QFETCH(int, product);
    QFETCH(QStringList, contents);
    QFETCH(QStringList, proposal);
    const auto w = fertilizationWindow(regional);
    typeMissing(*w, missing);

    QCOMPARE(chooseMineral(*w, product), QStringList());

    QCOMPARE(texts(*w, kContents), contents);
    QCOMPARE(texts(*w, {"Edit40", "Edit37", "Edit38", "Edit39"}), proposal);
    QCOMPARE(texts(*w, kFaltante), missing);
}

void TstPlantingGui::mineralCalculate_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("150 of 04-14-08") << kAdubo041408 << "150" << QStringList{"6,00", "21,00", "12,00"}
                                     << QStringList();
    QTest::newRow("absent nutrients read as 0") << kUreia << "150" << QStringList{"67,50", "0,00", "0,00"}
                                                << QStringList();
    // Nothing is written: the proposal's amounts stay.
    QTest::newRow("quantity empty") << kAdubo041408 << "" << QStringList{"17,14", "60,00", "34,29"}
                                    << QStringList{"'' is not a valid floating point value"};
}

void TstPlantingGui::mineralCalculate()
{
    QFETCH(int, product);
    QFETCH(QString, quantity);
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, messages);
    const auto w = fertilizationWindow();
    typeMissing(*w, {"18", "60", "40"});
    chooseMineral(*w, product);
    typeWhole(*w, "Edit40", quantity);

    QCOMPARE(click(*w, "Button8"), messages);

    QCOMPARE(texts(*w, kAmounts), amounts);
    QCOMPARE(w->Edit40->text(), quantity);
}

// Organic and mineral products share one list, and the "Faltante" amounts are
// the planting doses minus all of it.
void TstPlantingGui::insertOrganicAndMineral()
{
    const auto w = fertilizationWindow();
    const QColor window = w->palette().color(QPalette::Base);
    setPlantingDoses(*w, {"18,00", "", ""});
    typeMissing(*w, {"18", "60", "40"});

    chooseMineral(*w, kUreia);
    QCOMPARE(click(*w, "Button9"), QStringList());

    QCOMPARE(w->stga4->rowCount(), 2);
    QCOMPARE(w->stga4->rowTexts(FirstProductRow), (QStringList{"Uréia (45%N)", "40,0", "18,00", "0,00", "0,00"}));
    QCOMPARE(texts(*w, kFaltante), (QStringList{"0,00", "60", "40"})); // no P2O5 or K2O dose: kept
    QCOMPARE(base(w->Edit50), window);
    QCOMPARE(base(w->Edit52), kYellow);

    // Now with every dose in place; the organic row carries the wet weight.
    setPlantingDoses(*w, {"18,00", "60,00", "40,00"});
    chooseOrganic(*w, kCamaDeFrango34);
    QCOMPARE(texts(*w, {"Edit33", "Edit88"}), (QStringList{"1714,3", "2285,7"}));
    QCOMPARE(click(*w, "Button6"), QStringList());

    QCOMPARE(w->stga4->rowCount(), 3);
    QCOMPARE(w->stga4->rowTexts(FirstProductRow), (QStringList{"Uréia (45%N)", "40,0", "18,00", "0,00", "0,00"}));
    QCOMPARE(w->stga4->rowTexts(FirstProductRow + 1),
             (QStringList{"Cama de frango (3 e 4  lotes) ", "2285,7", "54,9", "60,0", "42,9"}));
    QCOMPARE(texts(*w, kFaltante), (QStringList{"-54,90", "0,00", "-2,90"}));
    for (const char *name : kFaltante)
        QCOMPARE(base(gui::find(w.get(), name)), window);

    // The same product again: nothing stops it, and the list grows.
    QCOMPARE(click(*w, "Button6"), QStringList());
    QCOMPARE(w->stga4->rowCount(), 4);
    QCOMPARE(texts(*w, kFaltante), (QStringList{"-109,80", "-60,00", "-45,80"}));
}

void TstPlantingGui::insertStopsAtATextThatIsNotANumber_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field"); // an amount field, or a dose of stga3 row 1 as "stga3:<column>"
    QTest::addColumn<QString>("text");
    const char *const mineral = "Button9";
    QTest::newRow("mineral: N amount") << mineral << "Edit37" << "l8,00";
    QTest::newRow("mineral: P2O5 amount") << mineral << "Edit38" << "6O";
    QTest::newRow("mineral: K2O amount") << mineral << "Edit39" << "-";
    QTest::newRow("mineral: N dose") << mineral << "stga3:2" << "l8";
    QTest::newRow("mineral: P2O5 dose") << mineral << "stga3:3" << "6O,00";
    QTest::newRow("mineral: K2O dose") << mineral << "stga3:4" << "4O";
    QTest::newRow("organic: P2O5 amount") << "Button6" << "Edit38" << "6O";
    QTest::newRow("organic: K2O dose") << "Button6" << "stga3:4" << "4O";
}

// Everything is read before anything changes: a text that is not a number
// lists nothing and leaves "Faltante" as it was.
void TstPlantingGui::insertStopsAtATextThatIsNotANumber()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, text);
    const bool organic = button == QLatin1String("Button6");
    const auto w = fertilizationWindow();
    setPlantingDoses(*w, {"18,00", "60,00", "40,00"});
    typeMissing(*w, {"18", "60", "40"});
    chooseMineral(*w, kUreia);
    QCOMPARE(click(*w, "Button9"), QStringList());
    const QStringList listed = w->stga4->rowTexts(FirstProductRow);
    const QStringList missing{"0,00", "60,00", "40,00"};
    QCOMPARE(texts(*w, kFaltante), missing);
    if (organic)
        chooseOrganic(*w, kCamaDeFrango34);
    else
        chooseMineral(*w, kAdubo041408);
    if (field.startsWith(QLatin1String("stga3:")))
        w->stga3->setCell(field.mid(6).toInt(), Planting, text);
    else
        typeWhole(*w, qPrintable(field), text);

    QCOMPARE(click(*w, qPrintable(button)), QStringList{QStringLiteral("'%1' is not a valid floating point value").arg(text)});

    QCOMPARE(w->stga4->rowCount(), 2);
    QCOMPARE(w->stga4->rowTexts(FirstProductRow), listed);
    QCOMPARE(texts(*w, kFaltante), missing);
}

void TstPlantingGui::clearAll_data()
{
    QTest::addColumn<QStringList>("doses");
    QTest::addColumn<QList<bool>>("yellow");
    QTest::newRow("doses") << QStringList{"18,00", "60,00", "0,00"} << QList<bool>{true, true, false};
    QTest::newRow("empty planting row") << QStringList{"", "", ""} << QList<bool>{false, false, false};
}

void TstPlantingGui::clearAll()
{
    QFETCH(QStringList, doses);
    QFETCH(QList<bool>, yellow);
    const auto w = fertilizationWindow();
    const QColor window = w->palette().color(QPalette::Base);
    setPlantingDoses(*w, {"18,00", "60,00", "40,00"});
    typeMissing(*w, {"18", "60", "40"});
    chooseMineral(*w, kAdubo041408);
    click(*w, "Button9");
    click(*w, "Button9");
    QCOMPARE(w->stga4->rowCount(), 3);
    setPlantingDoses(*w, doses);

    QCOMPARE(click(*w, "Button7"), QStringList());

    QCOMPARE(w->stga4->rowCount(), 1);
    QCOMPARE(w->stga4->rowTexts(ListTitleRow), (QStringList{"Tipo", "Kg", "N (kg)", "P205 (kg)", "K20 (kg)"}));
    QCOMPARE(texts(*w, kFaltante), doses);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(base(gui::find(w.get(), kFaltante[i])) == (yellow[i] ? kYellow : window), kFaltante[i]);
    // The product in hand is left as it was.
    QCOMPARE(w->ComboBox2->currentText(), QStringLiteral("Adubo 04-14-08"));
    QCOMPARE(texts(*w, {"Edit40", "Edit37", "Edit38", "Edit39"}),
             (QStringList{"428,6", "17,14", "60,00", "34,29"}));

    // The next product starts a fresh list.
    chooseMineral(*w, kUreia);
    click(*w, "Button9");
    QCOMPARE(w->stga4->rowCount(), 2);
    QCOMPARE(w->stga4->cell(ProductColumn, FirstProductRow), QStringLiteral("Uréia (45%N)"));
}

QTEST_MAIN(TstPlantingGui)
#include "tst_planting_gui.moc"
