#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QLabel>

// The soil analysis typed into the real window field by field: each field left
// classes what it can, copies onto the liming tab and updates the NPK doses.
class TstEntryGui : public QObject {
    Q_OBJECT
private slots:
    void firstAnalysisInFieldOrder();
    void clayChangeKeepsPhosphateDose();
    void phosphorusBeforeClay();
    void failures_data();
    void failures();
    void aluminiumFactorBySeparator_data();
    void aluminiumFactorBySeparator();
    void veryHighPhosphorus_data();
    void veryHighPhosphorus();
};

namespace {
// (component name, text); "stga3(3,1)" names the P2O5 cell of the planting row.
using Texts = QList<QPair<QString, QString>>;

struct Step {
    const char *field;
    QString text;
    Texts expected;
};

QString textOf(const QWidget *w, const QString &name)
{
    if (name == QLatin1String("stga3(3,1)"))
        return gui::find<StringGrid>(w, "stga3")->cell(applications::P2O5Column, applications::Planting);
    if (const auto *label = w->findChild<QLabel *>(name))
        return label->text();
    return gui::find(w, qPrintable(name))->text();
}

QString mismatches(const QWidget *w, const Texts &expected)
{
    QStringList out;
    for (const auto &[name, text] : expected) {
        const QString actual = textOf(w, name);
        if (actual != text)
            out << QStringLiteral("%1 is '%2', expected '%3'").arg(name, actual, text);
    }
    return out.join(QLatin1String("; "));
}

// A first analysis on a clayey soil, typed in the order of the Enter chain with
// the expected yield still at its start text until the last step.
QList<Step> firstAnalysis()
{
    return {
        {"Edit1", "35", {{"Edit68", "Classe 3"}, {"Edit26", "2,0"}, {"Edit11", ""}, {"edit32", ""}}},
        {"Edit70", "5,2", {{"Edit11", ""}}},
        {"Edit2",
         "7,5",
         {{"Edit11", "Médio"}, {"edit32", "45,0"}, {"stga3(3,1)", "45,0"}, {"Edit52", "45,0"}, {"Label34", ""}}},
        {"Edit3", "50", {{"Edit10", ""}, {"edit31", ""}, {"Edit69", ""}}},
        {"Edit4", "3,2", {{"Edit20", "3,2"}, {"edit30", "50,00"}}},
        {"Edit5", "0,4", {{"Edit21", "0,4"}, {"Edit27", "0,4"}}},
        {"Edit6", "3,1", {{"Edit13", ""}, {"Edit14", ""}, {"Edit29", ""}}},
        {"Edit7", "1,2", {{"Edit13", "4,30"}, {"Edit14", "2,58"}, {"Edit29", "4,30"}}},
        {"Edit8", "9,6", {{"Edit10", "Baixo"}, {"edit31", "70,0"}, {"Edit69", "Média"}, {"Edit16", "9,6"}}},
        {"Edit9", "45", {{"Edit18", "45"}}},
        // 7 t/ha above the reference: N 50 + 10,5, K2O 70 + 17,5; P2O5 ignores the yield.
        {"Edit12", "32", {{"edit30", "60,50"}, {"edit31", "87,5"}, {"Edit20", "3,2"}, {"edit32", "45,0"}}},
    };
}

// Types the steps, each field left for the next one (the last for the
// producer's name, which has no exit handler); returns the messages shown.
QStringList typeSteps(TFPrincipal *w, const QList<Step> &steps, bool check = false)
{
    QStringList messages;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QWidget *next = i + 1 < steps.size() ? gui::find(w, steps[i + 1].field) : gui::find(w, "Edit55");
        messages << gui::messagesDuring([&] { gui::typeAndLeave(gui::find(w, steps[i].field), steps[i].text, next); });
        if (check) {
            const QString wrong = mismatches(w, steps[i].expected);
            if (!wrong.isEmpty())
                messages << QStringLiteral("after leaving %1: %2").arg(QLatin1String(steps[i].field), wrong);
        }
    }
    return messages;
}

void leaveUnchanged(QLineEdit *field, QWidget *next)
{
    field->setFocus(Qt::MouseFocusReason);
    gui::leaveTo(next);
}
} // namespace

void TstEntryGui::firstAnalysisInFieldOrder()
{
    auto w = gui::openWindow(gui::comma());
    const QStringList problems = typeSteps(w.get(), firstAnalysis(), true);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TstEntryGui::clayChangeKeepsPhosphateDose()
{
    auto w = gui::openWindow(gui::comma());
    QVERIFY(typeSteps(w.get(), firstAnalysis()).isEmpty());

    // Clay 35 -> 15: P 7,5 drops from "Médio" to "Baixo" at once, the dose waits.
    QVERIFY(gui::messagesDuring([&] { gui::typeAndLeave(gui::find(w.get(), "Edit1"), "15", gui::find(w.get(), "Edit70")); })
                .isEmpty());
    QString wrong = mismatches(w.get(), {{"Edit68", "Classe 4"},
                                         {"Edit26", "1,2"},
                                         {"Edit11", "Baixo"},
                                         {"edit32", "45,0"},
                                         {"stga3(3,1)", "45,0"},
                                         {"Edit52", "45,0"}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

    leaveUnchanged(gui::find(w.get(), "Edit2"), gui::find(w.get(), "Edit3"));
    wrong = mismatches(w.get(), {{"Edit11", "Baixo"}, {"edit32", "65,0"}, {"stga3(3,1)", "65,0"}, {"Edit52", "65,0"}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstEntryGui::phosphorusBeforeClay()
{
    auto w = gui::openWindow(gui::comma());
    QLineEdit *edit1 = gui::find(w.get(), "Edit1"), *edit2 = gui::find(w.get(), "Edit2");

    gui::typeAndLeave(edit2, "7,5", gui::find(w.get(), "Edit3"));
    QString wrong = mismatches(w.get(), {{"Edit11", ""}, {"edit32", ""}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

    gui::typeAndLeave(edit1, "35", gui::find(w.get(), "Edit70"));
    wrong = mismatches(w.get(), {{"Edit11", "Médio"}, {"edit32", ""}, {"Edit52", ""}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

    leaveUnchanged(edit2, gui::find(w.get(), "Edit3"));
    wrong = mismatches(w.get(), {{"edit32", "45,0"}, {"Edit52", "45,0"}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstEntryGui::failures_data()
{
    // On top of the first analysis: yield 32, clay 35, P 7,5, K 50, MO 3,2,
    // Ca 3,1, Mg 1,2, CTC 9,6.
    QTest::addColumn<Texts>("prepared"); // texts already standing, no field left
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Texts>("expected");

    QTest::newRow("empty expected yield")
        << Texts{{"Edit20", "9,9"}} << "Edit12" << "" << "'' is not a valid floating point value"
        << Texts{{"Edit20", "3,2"}, {"edit31", "87,5"}, {"edit30", "60,50"}};
    QTest::newRow("CTC left while the yield is empty")
        << Texts{{"Edit12", ""}} << "Edit8" << "5" << "'' is not a valid floating point value"
        << Texts{{"Edit10", "Médio"}, {"edit31", "87,5"}, {"Edit69", "Média"}, {"Edit16", "9,6"}};
    QTest::newRow("letters in clay") << Texts{} << "Edit1" << "abc" << "'abc' is not a valid floating point value"
                                     << Texts{{"Edit68", "Classe 3"}, {"Edit26", "2,0"}, {"Edit11", "Médio"}};
    QTest::newRow("magnesium zero") << Texts{} << "Edit7" << "0" << "Floating point division by zero"
                                    << Texts{{"Edit13", "3,10"}, {"Edit14", "2,58"}, {"Edit29", "4,30"}};
    QTest::newRow("calcium and magnesium zero")
        << Texts{{"Edit7", "0"}} << "Edit6" << "0" << "Invalid floating point operation"
        << Texts{{"Edit13", "0,00"}, {"Edit14", "2,58"}, {"Edit29", "4,30"}};
}

void TstEntryGui::failures()
{
    QFETCH(Texts, prepared);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(Texts, expected);

    auto w = gui::openWindow(gui::comma());
    QVERIFY(typeSteps(w.get(), firstAnalysis()).isEmpty());
    for (const auto &[name, standing] : prepared)
        gui::find(w.get(), qPrintable(name))->setText(standing);

    const QStringList shown = gui::messagesDuring(
        [&] { gui::typeAndLeave(gui::find(w.get(), qPrintable(field)), text, gui::find(w.get(), "Edit55")); });
    QCOMPARE(shown, QStringList{message});
    const QString wrong = mismatches(w.get(), expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstEntryGui::aluminiumFactorBySeparator_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("clay");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("clayClass");
    QTest::newRow("comma, clay 20") << gui::comma() << "20" << "1,2" << "Classe 4";
    QTest::newRow("comma, clay 20,1") << gui::comma() << "20,1" << "2,0" << "Classe 3";
    QTest::newRow("point, clay 20") << gui::point() << "20" << "1.2" << "Classe 4";
    QTest::newRow("point, clay 35") << gui::point() << "35" << "2.0" << "Classe 3";
    QTest::newRow("other separator writes no factor") << gui::otherSeparator() << "35" << "" << "Classe 3";
}

void TstEntryGui::aluminiumFactorBySeparator()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, clay);
    QFETCH(QString, factor);
    QFETCH(QString, clayClass);
    auto w = gui::openWindow(regional);
    QVERIFY(gui::messagesDuring([&] { gui::typeAndLeave(gui::find(w.get(), "Edit1"), clay, gui::find(w.get(), "Edit70")); })
                .isEmpty());
    QCOMPARE(gui::find(w.get(), "Edit26")->text(), factor);
    QCOMPARE(gui::find(w.get(), "Edit68")->text(), clayClass);
}

void TstEntryGui::veryHighPhosphorus_data()
{
    // Clay 30 ("Classe 3"): above 3 x 18 mg/dm³ the phosphate may be left out.
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("warning");
    QTest::newRow("P 54") << "54" << "";
    QTest::newRow("P 54,1") << "54,1" << "Atenção, P muito alto,pode-se suprimir a adubação fosfatada";
}

void TstEntryGui::veryHighPhosphorus()
{
    QFETCH(QString, p);
    QFETCH(QString, warning);
    auto w = gui::openWindow(gui::comma());
    auto *label = gui::find<QLabel>(w.get(), "Label34");
    QCOMPARE(label->text(), QStringLiteral("Observação"));
    gui::typeAndLeave(gui::find(w.get(), "Edit1"), "30", gui::find(w.get(), "Edit70"));
    gui::typeAndLeave(gui::find(w.get(), "Edit2"), p, gui::find(w.get(), "Edit3"));
    QCOMPARE(gui::find(w.get(), "Edit11")->text(), QStringLiteral("Muito alto"));
    QCOMPARE(gui::find(w.get(), "edit32")->text(), QStringLiteral("15,0"));
    QCOMPARE(label->text(), warning);
}

QTEST_MAIN(TstEntryGui)
#include "tst_entry_gui.moc"
