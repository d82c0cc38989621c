#include "core/NumberText.h"
#include "agronomy/Applications.h"
#include "app/LeastCostDialog.h"
#include "app/PriceListEditor.h"
#include "app/UserPriceList.h"
#include "batch/PriceListFile.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "reports/PageReport.h"
#include "reports/ReportFile.h"
#include "gui_helpers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <algorithm>
#include <cmath>

// "Menor custo..." driven through the window: the store's prices typed into
// the dialog's list, the composition of what each application still misses,
// "Aplicar" putting the products into the lists as "Inserir" does, and the
// lists, "Faltante", both reports and the case following; the price list
// kept for the technician between windows and the one used kept with the case.
namespace {

using namespace applications;

// The field of the story: 2 ha, so that a 50 kg bag is 25 kg/ha and every
// composed quantity is exact.
const QString kArea = QStringLiteral("2");

// The catalogue's products priced at the store, R$ per 50 kg bag.
struct Price {
    const char *product;
    const char *price;
};
const Price kPrices[] = {
    {"Uréia (45%N)", "150"},
    {"Superfosfato Triplo (41%P205)", "160"},
    {"Cloreto de Potássio (58% K2O)", "170"},
};

int rowOf(const PriceListEditor &editor, const QString &product)
{
    for (int r = 0; r < editor.table()->rowCount(); ++r)
        if (editor.table()->item(r, PriceListEditor::Name)->text() == product)
            return r;
    qFatal("no product %s in the price list", qPrintable(product));
    return -1;
}

void setPrice(PriceListEditor &editor, const QString &product, const QString &price)
{
    editor.table()->item(rowOf(editor, product), PriceListEditor::Price)->setText(price);
}

// Runs the action on "Menor custo..." while it is open, then closes it
// unless the action did. Answers the messages shown meanwhile.
QStringList withDialog(TFPrincipal &w, const std::function<void(LeastCostDialog &)> &action)
{
    QStringList messages;
    if (!gui::whileOpen<LeastCostDialog>([&] { messages = gui::clickAnswering(w, "btnMenorCusto"); }, action))
        QTest::qFail("\"Menor custo...\" opened no dialog", __FILE__, __LINE__);
    return messages;
}

QStringList rowsOf(const StringGrid *grid, int from)
{
    QStringList rows;
    for (int r = from; r < grid->rowCount(); ++r)
        rows << grid->rowTexts(r).join(QLatin1Char('|'));
    rows.sort();
    return rows;
}

QStringList faltante(const TFPrincipal &w, int row)
{
    const TFPrincipal::Application &a = w.application(row);
    return {a.faltante[0]->text(), a.faltante[1]->text(), a.faltante[2]->text()};
}

} // namespace

class TstLeastCostGui : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void composedAndAppliedAsInserted();
    void seasonQuantitiesLeaveNothingMissing();
    void keptWithTheCase();
    void priceListKeptBetweenWindows();
    void typedAsTheWindowWrites();
    void whatCannotBeComposedIsExplained_data();
    void whatCannotBeComposedIsExplained();
    void enterMovesOn_data();
    void enterMovesOn();
    void composedWhileTheWindowAnswers();
    void seasonSuggestedAtHalfAHectare();
    void optionsKeptWhenReopened();
    void importAsksBeforeReplacing();

private:
    // A window with the story's doses and "Faltante", and a bag of urea
    // inserted by hand at planting before any composition.
    std::unique_ptr<TFPrincipal> dosedWindow();
    // "Menor custo..." with the story's prices and area, then "Aplicar".
    void composeAndApply(TFPrincipal &w, fertilizers::Composition *shown = nullptr, bool season = false);

    QTemporaryDir data_, work_;
    QString pageText_;
};

void TstLeastCostGui::initTestCase()
{
    // The technician's price list goes to the data folder of this run only.
    QVERIFY(data_.isValid() && work_.isValid());
    qputenv("XDG_DATA_HOME", data_.path().toUtf8());
    QVERIFY(QDir::setCurrent(work_.path()));
    reports::setOpener([](const QString &) {});
}

void TstLeastCostGui::init() { QFile::remove(userPriceListPath()); }

std::unique_ptr<TFPrincipal> TstLeastCostGui::dosedWindow()
{
    auto w = gui::fertilizationWindow();
    const char *doses[4][3] = {{"20", "60", "40"}, {"30", "", "28"}, {"30", "", "0"}, {"0", "", "0"}};
    for (int r = Planting; r <= ThirdTopDressing; ++r)
        for (int n = 0; n < nutrients; ++n)
            w->stga3->setCell(NColumn + n, r, QString::fromLatin1(doses[r - Planting][n]));
    // "Limpar" brings "Faltante" to the doses.
    for (const char *limpar : {"Button7", "Button13", "Button20", "Button23"})
        [&] { QCOMPARE(gui::clickAnswering(*w, limpar), QStringList()); }();
    gui::clickRadio(w->RadioButton2);
    gui::messagesDuring([&] { w->ComboBox2->setCurrentIndex(0); }); // urea
    gui::typeWhole(*w, "Edit40", QStringLiteral("20"));
    gui::clickAnswering(*w, "Button8");
    gui::clickAnswering(*w, "Button9");
    return w;
}

void TstLeastCostGui::composeAndApply(TFPrincipal &w, fertilizers::Composition *shown, bool season)
{
    const QStringList messages = withDialog(
        w,
        [&](LeastCostDialog &d) {
            for (const Price &p : kPrices)
                setPrice(*d.priceEditor(), QString::fromUtf8(p.product), QString::fromLatin1(p.price));
            auto *area = d.findChild<QLineEdit *>(QStringLiteral("areaHa"));
            area->setText(kArea);
            if (season)
                d.findChild<QRadioButton *>(QStringLiteral("bagsForSeason"))->setChecked(true);
            d.recompose();
            QVERIFY(d.composition());
            if (shown)
                *shown = *d.composition();
            QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("applyComposition")), Qt::LeftButton);
        });
    QCOMPARE(messages, QStringList());
}

// The least cost of the story is unique: each nutrient has one priced
// carrier, and the fewest whole bags that meet each need stay within the
// tolerance.
void TstLeastCostGui::composedAndAppliedAsInserted()
{
    const auto w = dosedWindow();
    QCOMPARE(faltante(*w, Planting), (QStringList{"11,00", "60,00", "40,00"}));
    gui::clickRadio(w->RadioButton1); // the organic block in front
    fertilizers::Composition c;
    composeAndApply(*w, &c);
    // Planting's mineral block comes in front, with the product last inserted.
    QVERIFY(w->RadioButton2->isChecked());
    QVERIFY(w->GroupBox27->isVisible());
    QVERIFY(!w->GroupBox26->isVisible());

    QCOMPARE(c.status, fertilizers::CompositionStatus::Composed);
    QCOMPARE(c.options.areaHa, 2.0);
    QCOMPARE(c.applications[0].needed, (fertilizers::NutrientNeed{11, 60, 40}));
    QCOMPARE(c.costField, 2860.0);
    QCOMPARE(c.costHa, 1430.0);
    QVERIFY(c.leftOut.contains(QStringLiteral("Adubo 04-14-08")));
    QStringList bought;
    for (const fertilizers::ShoppingItem &s : c.shopping)
        bought << QStringLiteral("%1: %2").arg(s.name).arg(s.bags);
    bought.sort();
    QCOMPARE(bought, (QStringList{"Cloreto de Potássio (58% K2O): 5", "Superfosfato Triplo (41%P205): 6",
                                  "Uréia (45%N): 7"}));

    // The hand-inserted urea stays first; the composed products follow, as
    // "Inserir" lists them: the list's item, kg/ha, and what each supplies.
    QCOMPARE(w->stga4->rowTexts(FirstProductRow), (QStringList{"Uréia (45%N)", "20", "9,00", "0,00", "0,00"}));
    QCOMPARE(rowsOf(w->stga4, FirstProductRow + 1),
             (QStringList{"Cloreto de Potássio (58% K2O)|75,0|0,00|0,00|43,50",
                          "Superfosfato Triplo (41%P205)|150,0|0,00|61,50|0,00", "Uréia (45%N)|25,0|11,25|0,00|0,00"}));
    QCOMPARE(rowsOf(w->stga5, FirstProductRow),
             (QStringList{"Cloreto de Potássio |50,0|0,00|0,00|29,00", "Uréia |75,0|33,75|0,00|0,00"}));
    QCOMPARE(rowsOf(w->Stga6, FirstProductRow), (QStringList{"Uréia |75,0|33,75|0,00|0,00"}));
    QCOMPARE(w->stga7->rowCount(), int(FirstProductRow));

    // Each block's quantity was written by the composition, not typed, and
    // says so: the last product composed for the application, in bags.
    for (int r = Planting; r <= SecondTopDressing; ++r) {
        const fertilizers::ComposedProduct &last = c.applications[size_t(r - Planting)].products.constLast();
        const qint64 bags = std::llround(last.bags);
        const QLineEdit *quantity = w->application(r).quantity;
        QCOMPARE(w->workingOf(quantity),
                 QStringLiteral("Quantidade do adubo mineral: %1 kg. Composição de menor custo: %2 %3 de 50 kg na área "
                                "de 2 ha = %4 kg/ha.")
                     .arg(quantity->text())
                     .arg(bags)
                     .arg(bags == 1 ? QStringLiteral("saco") : QStringLiteral("sacos"))
                     .arg(QString::number(last.kgHa).replace(QLatin1Char('.'), QLatin1Char(','))));
    }

    // "Faltante" is the doses minus every listed product: nothing missing, the
    // excess shown as a negative amount, not yellow.
    QCOMPARE(faltante(*w, Planting), (QStringList{"-0,25", "-1,50", "-3,50"}));
    QCOMPARE(faltante(*w, FirstTopDressing), (QStringList{"-3,75", "", "-1,00"}));
    QCOMPARE(faltante(*w, SecondTopDressing), (QStringList{"-3,75", "", "0,00"}));
    for (int r = Planting; r <= ThirdTopDressing; ++r)
        for (QLineEdit *field : w->application(r).faltante)
            QVERIFY(gui::base(field) != gui::yellow);

    // The case holds the prices used and the composition, and is changed.
    QVERIFY(w->caseModified());
    const model::Case state = w->caseState();
    QVERIFY(state.prices);
    const auto urea = std::find_if(state.prices->products.cbegin(), state.prices->products.cend(),
                                   [](const fertilizers::PricedProduct &p) { return p.name == "Uréia (45%N)"; });
    QVERIFY(urea != state.prices->products.cend());
    QCOMPARE(urea->bagPrice, std::optional<double>(150));
    QCOMPARE(state.composition, std::optional(c));

    // Both reports list the composed products with the hand-inserted one.
    QTest::mouseClick(w->Button12, Qt::LeftButton);
    QFile text(QStringLiteral("RelTuberon.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray report = text.readAll();
    QVERIFY(report.contains("Superfosfato Triplo (41%P205)"));
    QVERIFY(report.contains("Cloreto de Pot\xe1ssio (58% K2O)"));
    QVERIFY(report.contains("Ur\xe9ia (45%N)"));
    // And the composition's section, with the prices used and the total.
    QVERIFY(report.contains("Composi\xe7\xe3o de menor custo"));
    QVERIFY(report.contains("Custo total: 1.505,00 R$/ha; 3.010,00 R$ na \xe1rea"));

    QStringList shownLists;
    int pages = 0;
    std::optional<reports::CostSection> costPage;
    QStringList messages;
    gui::whileOpen<ReportPreview>([&] { messages = gui::clickAnswering(*w, "Button16"); },
                                  [&](ReportPreview &preview) {
                                      for (const char *list : {"AdubPlantio", "Adubcob1", "Adubcob2", "Adubcob3"})
                                          shownLists << w->frxReport1->variable(QLatin1String(list));
                                      if (auto *page = preview.findChild<QPrintPreviewWidget *>())
                                          pages = page->pageCount();
                                      costPage = w->frxReport1->costPage();
                                  });
    QCOMPARE(messages, QStringList());
    QCOMPARE(shownLists.size(), 4);
    // The composition's page follows the recommendation's.
    QCOMPARE(pages, 2);
    QVERIFY(costPage);
    // The urea inserted by hand is bought too: a bag for its 40 kg.
    QCOMPARE(costPage->totalField, QStringLiteral("3.010,00"));
    QCOMPARE(costPage->shopping.size(), 4);
    QCOMPARE(costPage->shopping.constLast(),
             (QStringList{"Uréia (45%N) (inserido à mão)", "1", "50,00", "10,00", "150,00"}));
    QVERIFY(shownLists[0].contains(QStringLiteral("Uréia (45%N)")));
    QVERIFY(shownLists[0].contains(QStringLiteral("Superfosfato Triplo (41%P205)")));
    QVERIFY(shownLists[1].contains(QStringLiteral("Cloreto de Potássio")));
    QVERIFY(shownLists[2].contains(QStringLiteral("Uréia")));
    QVERIFY(!shownLists[2].contains(QStringLiteral("Cloreto")));

    // Composing again finds nothing missing: nothing doubles; the dialog
    // says the case holds a composition already.
    withDialog(*w, [&](LeastCostDialog &d) {
        QVERIFY(d.findChild<QLabel *>(QStringLiteral("appliedNote"))->isVisible());
        QVERIFY(d.findChild<QLabel *>(QStringLiteral("appliedNote"))->text().contains(QStringLiteral("R$ 2.860,00")));
        QVERIFY(!d.findChild<QPushButton *>(QStringLiteral("applyComposition"))->isEnabled());
        QVERIFY(d.findChild<QTextBrowser *>(QStringLiteral("compositionView"))
                    ->toPlainText()
                    .contains(QStringLiteral("Nada falta nesta aplicação.")));
    });

    // The 2nd top-dressing's list cleared by hand: its 3 bags of urea leave
    // the shopping list and the cost, in the case and in the text report.
    QCOMPARE(gui::clickAnswering(*w, "Button20"), QStringList());
    const std::optional<fertilizers::Composition> cleared = w->caseState().composition;
    QVERIFY(cleared);
    QVERIFY(cleared->applications[2].products.isEmpty());
    QCOMPARE(cleared->applications[1], c.applications[1]);
    QStringList left;
    for (const fertilizers::ShoppingItem &s : cleared->shopping)
        left << QStringLiteral("%1: %2").arg(s.name).arg(s.bags);
    left.sort();
    QCOMPARE(left, (QStringList{"Cloreto de Potássio (58% K2O): 5", "Superfosfato Triplo (41%P205): 6",
                                "Uréia (45%N): 4"}));
    QCOMPARE(cleared->costField, 2410.0);
    text.close();
    QTest::mouseClick(w->Button12, Qt::LeftButton);
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray again = text.readAll();
    text.close();
    const QByteArray costPart = again.mid(again.indexOf("Composi\xe7\xe3o de menor custo"));
    QVERIFY(costPart.contains("Custo total: 1.280,00 R$/ha; 2.560,00 R$ na \xe1rea"));
    QVERIFY(costPart.contains("1\xaa cobertura"));
    QVERIFY(!costPart.contains("2\xaa cobertura"));
    // Every list cleared: no composition is left to report.
    for (const char *limpar : {"Button7", "Button13"})
        QCOMPARE(gui::clickAnswering(*w, limpar), QStringList());
    QVERIFY(!w->caseState().composition);
}

// Bags bought for the season leave quantities per hectare that are no whole
// tenths: as listed, they still meet every need.
void TstLeastCostGui::seasonQuantitiesLeaveNothingMissing()
{
    const auto w = dosedWindow();
    fertilizers::Composition c;
    composeAndApply(*w, &c, true);
    QVERIFY(c.options.seasonBags);
    bool fractional = false;
    for (const fertilizers::ApplicationPlan &plan : c.applications)
        for (const fertilizers::ComposedProduct &p : plan.products)
            fractional = fractional || std::abs(p.kgHa * 10 - std::round(p.kgHa * 10)) > 1e-6;
    QVERIFY(fractional); // the case this is about
    // The quantity listed says it came from the season's bags, rounded up.
    for (int r = Planting; r <= SecondTopDressing; ++r) {
        const fertilizers::ComposedProduct &last = c.applications[size_t(r - Planting)].products.constLast();
        const QString working = w->workingOf(w->application(r).quantity);
        QVERIFY2(working.contains(QStringLiteral("com os sacos comprados para a safra")), qPrintable(working));
        QCOMPARE(working.contains(QStringLiteral("arredondado para cima ao décimo")),
                 std::abs(last.kgHa * 10 - std::round(last.kgHa * 10)) > 1e-6);
    }
    for (int r = Planting; r <= ThirdTopDressing; ++r) {
        if (c.applications[size_t(r - Planting)].status != fertilizers::CompositionStatus::Composed)
            continue;
        for (QLineEdit *field : w->application(r).faltante) {
            QVERIFY2(field->text().isEmpty() || w->read(field) <= 0, qPrintable(field->text()));
            QVERIFY(gui::base(field) != gui::yellow);
        }
    }
}

void TstLeastCostGui::keptWithTheCase()
{
    const QString file = work_.filePath(QStringLiteral("composto.tuberon"));
    model::Case saved;
    {
        const auto w = dosedWindow();
        composeAndApply(*w);
        QCOMPARE(gui::messagesDuring([&] { QVERIFY(w->saveCase(file)); }), QStringList());
        saved = w->caseState();
        QVERIFY(!w->caseModified());
    }
    QVERIFY(saved.prices && saved.composition);

    const auto opened = gui::openWindow();
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(opened->openCase(file)); }), QStringList());
    QCOMPARE(opened->caseState().prices, saved.prices);
    QCOMPARE(opened->caseState().composition, saved.composition);
    QCOMPARE(opened->caseState().planting.products, saved.planting.products);
    QCOMPARE(opened->caseState().planting.products.size(), 4);
    QVERIFY(!opened->caseModified());
    // The area of the case's field comes back in the dialog.
    withDialog(*opened, [&](LeastCostDialog &d) {
        QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->text(), kArea);
    });
    // A new case forgets them.
    opened->newCase();
    QVERIFY(!opened->caseState().prices);
    QVERIFY(!opened->caseState().composition);

    // What the window wrote holds to the schema of the case files.
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("python3"), {QStringLiteral(TUBERON_SOURCE "/tests/check_case_schema.py"),
                                            QStringLiteral(TUBERON_SOURCE "/cases/case-format-2.schema.json"), file});
    QVERIFY(check.waitForFinished(60000));
    QVERIFY2(check.exitCode() == 0, check.readAll().constData());
}

void TstLeastCostGui::priceListKeptBetweenWindows()
{
    // The first time: the catalogue's products, without prices, and the
    // dialog opens on the list.
    {
        const auto w = gui::openWindow();
        withDialog(*w, [&](LeastCostDialog &d) {
            const fertilizers::PriceList list = d.priceList();
            QCOMPARE(list.products.size(), fertilizers::cataloguePriceList().products.size());
            QVERIFY(!list.products.first().pricePerKg());
            QCOMPARE(d.findChild<QTabWidget *>(QStringLiteral("leastCostTabs"))->currentWidget(),
                     static_cast<QWidget *>(d.priceEditor()));
            setPrice(*d.priceEditor(), QStringLiteral("Uréia (45%N)"), QStringLiteral("152,5"));
        });
    }
    QVERIFY(QFileInfo::exists(userPriceListPath()));

    const QString exported = work_.filePath(QStringLiteral("cooperativa.csv"));
    {
        const auto w = gui::openWindow(gui::point());
        withDialog(*w, [&](LeastCostDialog &d) {
            PriceListEditor &editor = *d.priceEditor();
            const int urea = rowOf(editor, QStringLiteral("Uréia (45%N)"));
            QCOMPARE(editor.table()->item(urea, PriceListEditor::Price)->text(), QStringLiteral("152.5"));
            QCOMPARE(d.findChild<QTabWidget *>(QStringLiteral("leastCostTabs"))->currentIndex(), 0);
            // Exported, changed here, and imported back: the file's prices.
            editor.exportFile(exported);
            setPrice(editor, QStringLiteral("Uréia (45%N)"), QStringLiteral("99"));
            QVERIFY(editor.importFile(exported));
            QCOMPARE(editor.table()->item(urea, PriceListEditor::Price)->text(), QStringLiteral("152.5"));
            QVERIFY(d.priceList().name.startsWith(QStringLiteral("cooperativa")));
            // A file that is no price list leaves the list as it was and says why.
            QFile wrong(work_.filePath(QStringLiteral("errado.csv")));
            QVERIFY(wrong.open(QIODevice::WriteOnly));
            wrong.write("isto não é uma lista\n");
            wrong.close();
            QVERIFY(!editor.importFile(wrong.fileName()));
            QVERIFY(!editor.findChild<QLabel *>(QStringLiteral("priceNote"))->text().isEmpty());
            QCOMPARE(editor.table()->item(urea, PriceListEditor::Price)->text(), QStringLiteral("152.5"));
        });
    }
    QCOMPARE(loadUserPriceList().products, batch::readPriceListFile(exported).products);
}

// Options and prices are typed with the separator in force; a price that is
// no number is named and leaves its product without price.
void TstLeastCostGui::typedAsTheWindowWrites()
{
    const auto w = dosedWindow();
    withDialog(*w, [&](LeastCostDialog &d) {
        QVERIFY(!d.findChild<QLabel *>(QStringLiteral("appliedNote"))->isVisible());
        const QStringList defaults{"1", "10", "5", "10"}; // the least quantity a spreader applies evenly
        const char *const fields[] = {"areaHa", "tolerancePercent", "toleranceKgHa", "leastKgHa"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(d.findChild<QLineEdit *>(QLatin1String(fields[i]))->text(), defaults[i]);
        QCOMPARE(d.findChild<QSpinBox *>(QStringLiteral("maxProducts"))->value(), 3);
        QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("bagsPerApplication"))->isChecked());

        const QStringList typed{"2,5", "12,5", "4", "7,5"};
        for (int i = 0; i < 4; ++i)
            d.findChild<QLineEdit *>(QLatin1String(fields[i]))->setText(typed[i]);
        d.findChild<QSpinBox *>(QStringLiteral("maxProducts"))->setValue(2);
        d.findChild<QRadioButton *>(QStringLiteral("bagsForSeason"))->setChecked(true);
        PriceListEditor &editor = *d.priceEditor();
        setPrice(editor, QStringLiteral("Uréia (45%N)"), QStringLiteral("152,5"));
        setPrice(editor, QStringLiteral("Cloreto de Potássio (58% K2O)"), QStringLiteral("doze"));
        // Bulk, per tonne.
        const int tsp = rowOf(editor, QStringLiteral("Superfosfato Triplo (41%P205)"));
        editor.table()->item(tsp, PriceListEditor::BagKg)->setText(QString());
        qobject_cast<QComboBox *>(editor.table()->cellWidget(tsp, PriceListEditor::PricePer))
            ->setCurrentIndex(PriceListEditor::PerTonne);
        setPrice(editor, QStringLiteral("Superfosfato Triplo (41%P205)"), QStringLiteral("3200"));
        d.recompose();

        QVERIFY(d.composition());
        fertilizers::CompositionOptions expected;
        expected.areaHa = 2.5;
        expected.tolerancePercent = 12.5;
        expected.toleranceKgHa = 4;
        expected.leastKgHa = 7.5;
        expected.maxProducts = 2;
        expected.seasonBags = true;
        QCOMPARE(d.composition()->options, expected);
        const fertilizers::PriceList list = d.priceList();
        const auto product = [&](const char *name) {
            return list.products.at(rowOf(editor, QString::fromUtf8(name)));
        };
        QCOMPARE(product("Uréia (45%N)").pricePerKg(), std::optional(152.5 / 50));
        // A price typed without a date is quoted today.
        QCOMPARE(product("Uréia (45%N)").date, QDate::currentDate());
        QCOMPARE(d.composition()->priceListDate, QDate::currentDate());
        QCOMPARE(product("Superfosfato Triplo (41%P205)").pricePerKg(), std::optional(3.2));
        QVERIFY(!product("Cloreto de Potássio (58% K2O)").pricePerKg());
        QVERIFY(d.composition()->leftOut.contains(QStringLiteral("Cloreto de Potássio (58% K2O)")));
        QCOMPARE(editor.problems(),
                 QStringList{"Linha 13 (Cloreto de Potássio (58% K2O)): \"doze\" não é um número; Preço (R$) ficou vazio"});
        QCOMPARE(editor.findChild<QLabel *>(QStringLiteral("priceNote"))->text(), editor.problems().constFirst());
        // A new product goes where its P2O5 sends it until the technician chooses.
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("addProduct")), Qt::LeftButton);
        const int added = editor.table()->rowCount() - 1;
        auto *allowed = qobject_cast<QComboBox *>(editor.table()->cellWidget(added, PriceListEditor::AllowedIn));
        QCOMPARE(allowed->currentText(), QStringLiteral("ambas"));
        editor.table()->item(added, PriceListEditor::P2O5)->setText(QStringLiteral("20"));
        QCOMPARE(allowed->currentText(), QStringLiteral("plantio"));
        allowed->setCurrentIndex(2);
        emit allowed->activated(2); // picked by the technician
        editor.table()->item(added, PriceListEditor::P2O5)->setText(QStringLiteral("18"));
        QCOMPARE(allowed->currentText(), QStringLiteral("ambas"));
        QCOMPARE(d.priceList().products.at(added).allowedIn, fertilizers::AllowedIn::Both);

        const QString view = d.findChild<QTextBrowser *>(QStringLiteral("compositionView"))->toPlainText();
        // R$ per kg of nutrient: urea's N at 3,05 / 0,45, the bulk phosphate's P2O5 at 3,20 / 0,41.
        QVERIFY(view.contains(QRegularExpression(QStringLiteral("Uréia \\(45%N\\)\\s+6,78\\s+-\\s+-\\s"))));
        QVERIFY(view.contains(
            QRegularExpression(QStringLiteral("Superfosfato Triplo \\(41%P205\\)\\s+-\\s+7,80\\s+-\\s"))));
    });
}

void TstLeastCostGui::whatCannotBeComposedIsExplained_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<bool>("potashPriced");
    QTest::addColumn<QString>("shown"); // in the dialog's view
    QTest::newRow("no priced potash") << "2" << false << "Nenhuma combinação atende a necessidade";
    QTest::newRow("area not a number") << "dois" << true << "'dois' is not a valid floating point value";
    QTest::newRow("no area") << "0" << true << "Área da lavoura: \"0\" não serve";
}

void TstLeastCostGui::whatCannotBeComposedIsExplained()
{
    QFETCH(QString, area);
    QFETCH(bool, potashPriced);
    QFETCH(QString, shown);
    const auto w = dosedWindow();
    const model::Case before = w->caseState();
    withDialog(*w, [&](LeastCostDialog &d) {
        for (const Price &p : kPrices)
            if (potashPriced || QByteArray(p.product) != "Cloreto de Potássio (58% K2O)")
                setPrice(*d.priceEditor(), QString::fromUtf8(p.product), QString::fromLatin1(p.price));
        d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->setText(area);
        d.recompose();
        const QString view = d.findChild<QTextBrowser *>(QStringLiteral("compositionView"))->toPlainText();
        QVERIFY2(view.contains(shown), qPrintable(view));
        static const QRegularExpression notANumber(QStringLiteral("\\b(inf|nan)\\b"),
                                                   QRegularExpression::CaseInsensitiveOption);
        QVERIFY(!notANumber.match(view).hasMatch());
        if (!potashPriced) {
            // The best approximation, its shortfall and why, never an empty answer.
            QVERIFY(d.composition());
            const fertilizers::ApplicationPlan &planting = d.composition()->applications[0];
            QCOMPARE(planting.status, fertilizers::CompositionStatus::Approximate);
            QVERIFY(planting.shortfall[2] > 0);
            QVERIFY(!planting.products.isEmpty());
            QVERIFY(!planting.reasons.isEmpty());
            for (const fertilizers::CompositionReason &reason : planting.reasons) {
                const QString text = fertilizers::reasonText(reason, NumberText(QLatin1Char(',')));
                QVERIFY2(view.contains(text), qPrintable(text));
            }
            QVERIFY(view.contains(QStringLiteral("Falta (kg/ha)")));
        } else {
            QVERIFY(!d.composition());
            QVERIFY(!d.findChild<QPushButton *>(QStringLiteral("applyComposition"))->isEnabled());
        }
        d.reject();
    });
    // Closed without "Aplicar": the case is as it was.
    QCOMPARE(w->caseState(), before);
}

void TstLeastCostGui::enterMovesOn_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("next");
    QTest::newRow("area") << "areaHa" << "tolerancePercent";
    QTest::newRow("tolerance, %") << "tolerancePercent" << "toleranceKgHa";
    QTest::newRow("tolerance, kg/ha") << "toleranceKgHa" << "leastKgHa";
    QTest::newRow("least quantity") << "leastKgHa" << "maxProducts";
}

// Enter in an option moves on as in the window: the composition ready to
// apply is applied only by its button.
void TstLeastCostGui::enterMovesOn()
{
    QFETCH(QString, field);
    QFETCH(QString, next);
    const auto w = dosedWindow();
    const model::Case before = w->caseState();
    withDialog(*w, [&](LeastCostDialog &d) {
        QVERIFY(QTest::qWaitForWindowActive(&d));
        for (const Price &p : kPrices)
            setPrice(*d.priceEditor(), QString::fromUtf8(p.product), QString::fromLatin1(p.price));
        d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->setText(kArea);
        d.recompose();
        d.findChild<QTabWidget *>(QStringLiteral("leastCostTabs"))->setCurrentIndex(0); // the options in front
        QVERIFY(d.findChild<QPushButton *>(QStringLiteral("applyComposition"))->isEnabled());
        auto *edit = d.findChild<QLineEdit *>(field);
        edit->setFocus(Qt::TabFocusReason);
        for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
            edit->setFocus(Qt::TabFocusReason);
            QTest::keyClick(edit, enter);
            QVERIFY(d.isVisible());
            QVERIFY(d.focusWidget());
            QCOMPARE(d.focusWidget()->objectName(), next);
        }
        d.reject();
    });
    QCOMPARE(w->caseState(), before);
}

// A composition is made off the window's thread once typing pauses; the
// last one stays shown until the new one is ready, and one superseded or
// left behind by a closed dialog is dropped.
void TstLeastCostGui::composedWhileTheWindowAnswers()
{
    const auto w = dosedWindow();
    const model::Case before = w->caseState();
    withDialog(*w, [&](LeastCostDialog &d) {
        for (const Price &p : kPrices)
            setPrice(*d.priceEditor(), QString::fromUtf8(p.product), QString::fromLatin1(p.price));
        d.findChild<QTabWidget *>(QStringLiteral("leastCostTabs"))->setCurrentIndex(0); // the options in front
        auto *area = d.findChild<QLineEdit *>(QStringLiteral("areaHa"));
        area->setText(QStringLiteral("1"));
        d.recompose();
        QVERIFY(d.composition());
        QCOMPARE(d.composition()->options.areaHa, 1.0);
        const QString shown = d.findChild<QTextBrowser *>(QStringLiteral("compositionView"))->toPlainText();

        // Typed key by key: nothing composed between the keys, the earlier
        // composition still in view and the dialog telling it is composing.
        area->setFocus();
        area->selectAll();
        QTest::keyClicks(area, QStringLiteral("12,5"));
        QVERIFY(d.composing());
        QCOMPARE(d.composition()->options.areaHa, 1.0);
        QCOMPARE(d.findChild<QTextBrowser *>(QStringLiteral("compositionView"))->toPlainText(), shown);
        QVERIFY(d.findChild<QLabel *>(QStringLiteral("composingNote"))->isVisibleTo(&d));
        QTRY_VERIFY(!d.composing());
        QCOMPARE(d.composition()->options.areaHa, 12.5);
        QVERIFY(!d.findChild<QLabel *>(QStringLiteral("composingNote"))->isVisibleTo(&d));

        // A newer composition supersedes one already started.
        area->setText(QStringLiteral("3"));
        QTRY_VERIFY(d.findChild<QLabel *>(QStringLiteral("composingNote"))->isVisibleTo(&d));
        area->setText(QStringLiteral("4"));
        QTRY_VERIFY(!d.composing());
        QCOMPARE(d.composition()->options.areaHa, 4.0);

        // Closed while composing: nothing of it reaches the window.
        area->setText(QStringLiteral("5"));
        d.reject();
    });
    QTest::qWait(LeastCostDialog::typingPause * 2);
    QCOMPARE(w->caseState(), before);
}

// At half a hectare a bag is 100 kg/ha: whole bags per application pass the
// tolerance where the season's bags, shared between applications, do not.
void TstLeastCostGui::seasonSuggestedAtHalfAHectare()
{
    const auto w = dosedWindow();
    withDialog(*w, [&](LeastCostDialog &d) {
        for (const Price &p : kPrices)
            setPrice(*d.priceEditor(), QString::fromUtf8(p.product), QString::fromLatin1(p.price));
        d.findChild<QTabWidget *>(QStringLiteral("leastCostTabs"))->setCurrentIndex(0); // the options in front
        d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->setText(QStringLiteral("0,5"));
        d.recompose();
        auto *hint = d.findChild<QLabel *>(QStringLiteral("seasonHint"));
        QVERIFY(hint->isVisibleTo(&d));
        QVERIFY(hint->text().contains(QStringLiteral("Sacos comprados para a safra")));
        d.findChild<QRadioButton *>(QStringLiteral("bagsForSeason"))->setChecked(true);
        d.recompose();
        QVERIFY(!hint->isVisibleTo(&d));
        // A field where whole bags fit wants no hint.
        d.findChild<QRadioButton *>(QStringLiteral("bagsPerApplication"))->setChecked(true);
        d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->setText(kArea);
        d.recompose();
        QVERIFY(!hint->isVisibleTo(&d));
    });
}

void TstLeastCostGui::optionsKeptWhenReopened()
{
    const auto w = dosedWindow();
    withDialog(*w, [&](LeastCostDialog &d) {
        d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->setText(QStringLiteral("7,5"));
        d.findChild<QLineEdit *>(QStringLiteral("tolerancePercent"))->setText(QStringLiteral("15"));
        d.findChild<QSpinBox *>(QStringLiteral("maxProducts"))->setValue(2);
        d.findChild<QRadioButton *>(QStringLiteral("bagsForSeason"))->setChecked(true);
        d.reject();
    });
    withDialog(*w, [&](LeastCostDialog &d) {
        QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("areaHa"))->text(), QStringLiteral("7,5"));
        QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("tolerancePercent"))->text(), QStringLiteral("15"));
        QCOMPARE(d.findChild<QSpinBox *>(QStringLiteral("maxProducts"))->value(), 2);
        QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("bagsForSeason"))->isChecked());
    });
}

// "Importar CSV..." over a list with prices asks first; "Não" keeps it and
// opens no file.
void TstLeastCostGui::importAsksBeforeReplacing()
{
    PriceListEditor editor(NumberText(QLatin1Char(',')), gui::comma(), nullptr);
    editor.setPriceList(fertilizers::cataloguePriceList());
    setPrice(editor, QStringLiteral("Uréia (45%N)"), QStringLiteral("150"));
    editor.show();
    QStringList asked;
    QTimer answer;
    answer.setInterval(5);
    connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked << box->text();
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start();
    QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("importPrices")), Qt::LeftButton);
    answer.stop();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.constFirst().contains(QStringLiteral("substitui a lista de preços atual")), qPrintable(asked.value(0)));
    QCOMPARE(editor.table()->item(rowOf(editor, QStringLiteral("Uréia (45%N)")), PriceListEditor::Price)->text(),
             QStringLiteral("150"));
}

QTEST_MAIN(TstLeastCostGui)
#include "tst_least_cost_gui.moc"
