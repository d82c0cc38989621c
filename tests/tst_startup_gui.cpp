#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// What the window shows before the user does anything: the grids' titles and
// labels, the default N split, today's date, the efficiency defaults in the
// regional form, and the start texts of the fertilization tab.
class TstStartupGui : public QObject {
    Q_OBJECT
private slots:
    void caption();
    void efficiencyDefaults_data();
    void efficiencyDefaults();
    void gridTitles_data();
    void gridTitles();
    void splitColumns();
    void fertilizerGridsFirstColumnWidth();
    void datesAreToday();
    void fertilizationTabStartTexts();
    void otherEditsOfLaterTabsStartEmpty();
    void choicesAndHiddenControls();
};

void TstStartupGui::caption()
{
    const auto w = gui::openWindow();
    QCOMPARE(w->windowTitle(), QStringLiteral("Tuberon - 1.0  -  Indicação  para Adubação da Cultura da Mandioca "));
}

void TstStartupGui::efficiencyDefaults_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("k");
    QTest::newRow("comma") << gui::comma() << "0,5" << "0,8" << "1,0";
    QTest::newRow("point") << gui::point() << "0.5" << "0.8" << "1.0";
    QTest::newRow("other separator takes the comma forms") << gui::otherSeparator() << "0,5" << "0,8" << "1,0";
}

void TstStartupGui::efficiencyDefaults()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, n);
    QFETCH(QString, p);
    QFETCH(QString, k);
    const auto w = gui::openWindow(regional);
    QCOMPARE(gui::find(w.get(), "Edit62")->text(), n);
    QCOMPARE(gui::find(w.get(), "Edit63")->text(), p);
    QCOMPARE(gui::find(w.get(), "Edit65")->text(), k);
}

void TstStartupGui::gridTitles_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("applications"); // column 0, rows 1..4
    QTest::addColumn<QStringList>("epochs");       // column 1, rows 1..4

    const QStringList split{"Parcela", "Época (DAE)", "% da dose", "Quantidade"};
    const QStringList applications{"Plantio", "1ª", "2ª", "3ª"};
    const QStringList epochs{"0", "30-45", "60-75", "90"};
    // "P205" and "K20" are written with the digit zero.
    const QStringList fertilizers{"Tipo", "Kg", "N (kg)", "P205 (kg)", "K20 (kg)"};

    QTest::newRow("stga1") << "stga1" << split << applications << epochs;
    QTest::newRow("stga2") << "stga2" << split << applications << epochs;
    QTest::newRow("stga3") << "stga3"
                           << QStringList{"Parcela", "Época (DAE)", "N (kg/ha)", "P205 (kg/ha)", "K20 (kg/ha)"}
                           << applications << epochs;
    for (const char *name : {"stga4", "stga5", "Stga6", "stga7"})
        QTest::newRow(name) << name << fertilizers << QStringList() << QStringList();
}

void TstStartupGui::gridTitles()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, applications);
    QFETCH(QStringList, epochs);
    const auto w = gui::openWindow();
    const auto *g = gui::find<StringGrid>(w.get(), qPrintable(grid));
    QVERIFY(g);

    QCOMPARE(g->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        QCOMPARE(g->cell(c, ::applications::TitleRow), titles[c]);
    for (int r = 0; r < applications.size(); ++r) {
        QCOMPARE(g->cell(::applications::ApplicationColumn, ::applications::Planting + r), applications[r]);
        QCOMPARE(g->cell(::applications::EpochColumn, ::applications::Planting + r), epochs[r]);
    }
    if (applications.isEmpty())
        QCOMPARE(g->rowCount(), 1); // the fertilizer grids hold their titles only
}

void TstStartupGui::splitColumns()
{
    const auto w = gui::openWindow();
    const QStringList nPercent{"15", "35", "30", "20"};
    using namespace applications;
    for (int r = Planting; r <= ThirdTopDressing; ++r) {
        QCOMPARE(w->stga1->cell(PercentColumn, r), nPercent[r - Planting]);
        QCOMPARE(w->stga1->cell(AmountColumn, r), QString());
        QCOMPARE(w->stga2->cell(PercentColumn, r), QString());
        QCOMPARE(w->stga2->cell(AmountColumn, r), QString());
        for (int c = NColumn; c <= K2OColumn; ++c)
            QCOMPARE(w->stga3->cell(c, r), QString());
    }
}

void TstStartupGui::fertilizerGridsFirstColumnWidth()
{
    const auto w = gui::openWindow();
    for (const char *name : {"stga4", "stga5", "Stga6", "stga7"}) {
        const auto *g = gui::find<StringGrid>(w.get(), name);
        QVERIFY(g);
        QCOMPARE(g->columnWidth(0), 200);
        QCOMPARE(g->columnWidth(1), 64);
    }
}

void TstStartupGui::datesAreToday()
{
    const auto w = gui::openWindow();
    QCOMPARE(gui::find<QDateEdit>(w.get(), "DateTimePicker2")->date(), QDate::currentDate());
    QCOMPARE(gui::find<QDateEdit>(w.get(), "DateTimePicker3")->date(), QDate::currentDate());
}

void TstStartupGui::fertilizationTabStartTexts()
{
    const auto w = gui::openWindow();
    QCOMPARE(gui::find(w.get(), "Edit33")->text(), QStringLiteral("1000"));
    for (const char *name : {"Edit40", "Edit41", "Edit48", "Edit77"})
        QCOMPARE(gui::find(w.get(), name)->text(), QStringLiteral("100"));
    for (const char *name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}) {
        const auto *combo = gui::find<QComboBox>(w.get(), name);
        QVERIFY2(combo, name);
        QCOMPARE(combo->currentText(), QStringLiteral("Selecione"));
        QCOMPARE(combo->currentIndex(), -1);
    }
}

void TstStartupGui::otherEditsOfLaterTabsStartEmpty()
{
    const auto w = gui::openWindow();
    const QStringList withStartText{"Edit33", "Edit40", "Edit41", "Edit48", "Edit77", "Edit62", "Edit63", "Edit65"};
    for (int page = 3; page < w->PageControl1->count(); ++page) {
        for (const QLineEdit *edit : w->PageControl1->widget(page)->findChildren<QLineEdit *>()) {
            const QString name = edit->objectName();
            if (!name.contains(QLatin1String("Edit")) || withStartText.contains(name))
                continue; // the inner boxes of lists and date pickers are not fields
            QVERIFY2(edit->text().isEmpty(), qPrintable(name + " holds " + edit->text()));
        }
    }
}

void TstStartupGui::choicesAndHiddenControls()
{
    const auto w = gui::openWindow();
    for (const char *name : {"RadioButton1", "RadioButton4", "RadioButton7"})
        QVERIFY2(gui::find<QRadioButton>(w.get(), name)->isChecked(), name);
    for (const char *name : {"RadioButton2", "RadioButton8"})
        QVERIFY2(!gui::find<QRadioButton>(w.get(), name)->isChecked(), name);
    QVERIFY(gui::find<QGroupBox>(w.get(), "GroupBox27")->isHidden());
    QVERIFY(!gui::find<QGroupBox>(w.get(), "GroupBox26")->isHidden());
    QVERIFY(gui::find<QPushButton>(w.get(), "Button14")->isHidden());
    QVERIFY(gui::find<QPushButton>(w.get(), "Button15")->isHidden());
    QCOMPARE(w->PageControl1->currentIndex(), 0);
}

QTEST_MAIN(TstStartupGui)
#include "tst_startup_gui.moc"
