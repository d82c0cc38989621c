#include "core/NumberText.h"
#include "reports/CostSection.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "reports/ReportContent.h"
#include "reports/TextReport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The least-cost composition in both reports: a section of the text report
// and a second page of the page report, only when the case holds one.
using namespace fertilizers;

namespace {

PricedProduct bagged(const char *name, double n, double p, double k, double bagPrice, QDate date)
{
    PricedProduct product;
    product.name = QString::fromUtf8(name);
    product.n = n;
    product.p2o5 = p;
    product.k2o = k;
    product.bagPrice = bagPrice;
    product.date = date;
    product.allowedIn = defaultAllowedIn(p);
    return product;
}

// A producer's case: 1.5 ha, planting and the 1st top-dressing to compose,
// K2O for the 2nd that no priced product may bring there, and 5 kg/ha of N
// for the 3rd that a bag of urea, 15 kg/ha of N there, overshoots.
model::Case composedCase()
{
    model::Case c;
    c.producer.name = QStringLiteral("Maria Aparecida Souza");
    c.field.name = QStringLiteral("Gleba 2");
    PriceList list;
    list.name = QStringLiteral("precos.csv");
    list.products = {bagged("Uréia", 45, 0, 0, 190, QDate(2026, 11, 28)),
                     bagged("Superfosfato Triplo", 0, 41, 0, 210, QDate(2026, 11, 30)),
                     bagged("Adubo 00-20-20", 0, 20, 20, 150, QDate(2026, 11, 30))};
    list.products << list.products[0];
    list.products.last().name = QStringLiteral("Nitrato de amônio");
    list.products.last().bagPrice.reset();
    CompositionOptions options;
    options.areaHa = 1.5;
    const std::array<NutrientNeed, applicationCount> needs{{{30, 74, 20}, {30, 0, 0}, {0, 0, 20}, {4, 0, 0}}};
    c.prices = list;
    c.composition = composeLeastCost(list, needs, options);
    return c;
}

QString pdfText(const QByteArray &pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), QStringLiteral("-"),
                                          QStringLiteral("-")});
    p.waitForStarted();
    p.write(pdf);
    p.closeWriteChannel();
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray pdfOf(const model::Case &c)
{
    reports::PageReport page(QStringLiteral(":/assets/report_page.json"));
    reports::setPageVariables(page, reports::ReportContent::fromCase(c, QStringLiteral("11/12/2026")));
    return reports::PdfExport().document(page);
}

} // namespace

class TstCostReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); } // the page template
    void textSection();
    void pageTwo();
    void handInsertedProducts_data();
    void handInsertedProducts();
    void moneyGrouped_data();
    void moneyGrouped();
};

void TstCostReport::textSection()
{
    model::Case c = composedCase();
    const QStringList lines = reports::textReportLines(reports::ReportContent::fromCase(c, QString()));
    const QString rule(74, '-');
    // Planting: N by 2 bags of urea (30 kg/ha); K2O by 3 bags of 00-20-20
    // (20 kg/ha), which bring 20 of the 74 kg/ha of P2O5; the rest by 4 bags
    // of triple superphosphate (54.67 kg/ha), 5 would pass the tolerance.
    const QStringList expected{
        "",
        "Composição de menor custo",
        "Preços informados pelo usuário em 30/11/2026 (lista: precos.csv)",
        "Área: 1,50 ha; sacos inteiros por aplicação; até 3 produtos por aplicação",
        rule,
        "Plantio                                  kg/ha       Sacos         R$/ha",
        "Uréia                                     66,7           2        253,33",
        "Superfosfato Triplo                      133,4           4        560,00",
        "Adubo 00-20-20                           100,0           3        300,00",
        "Custo: 1.113,33 R$/ha (composto)",
        rule,
        "1ª cobertura                             kg/ha       Sacos         R$/ha",
        "Uréia                                     66,7           2        253,33",
        "Custo: 253,33 R$/ha (composto)",
        rule,
        "2ª cobertura                             kg/ha       Sacos         R$/ha",
        "Custo: 0,00 R$/ha (sem preço)",
        "  2ª cobertura: nenhum produto com preço que possa ir nesta aplicação traz K2O",
        "  Faltam 20,00 kg/ha de K2O",
        rule,
        "3ª cobertura                             kg/ha       Sacos         R$/ha",
        "Uréia                                     33,4           1        126,67",
        "Custo: 126,67 R$/ha (aproximado)",
        "  3ª cobertura: um saco é mais do que a área de 1,50 ha precisa de N",
        "  Passam 11,00 kg/ha de N da dose, além da tolerância de 5,00 kg/ha",
        rule,
        "Lista de compras",
        "Produto                            Sacos         kg Sobra (kg)          R$",
        "Uréia                                  5     250,00       0,00      950,00",
        "Superfosfato Triplo                    4     200,00       0,00      840,00",
        "Adubo 00-20-20                         3     150,00       0,00      450,00",
        rule,
        "Custo total: 1.493,33 R$/ha; 2.240,00 R$ na área",
        "Sem preço, fora da composição: Nitrato de amônio",
        rule,
    };
    QCOMPARE(lines.mid(lines.size() - expected.size()), expected);

    // Without a composition the report ends where it always did.
    c.composition.reset();
    const QStringList without = reports::textReportLines(reports::ReportContent::fromCase(c, QString()));
    QCOMPARE(without, lines.first(lines.size() - expected.size()));
    // In the code page of the text report, "ª" and "ç" as they are.
    QVERIFY(reports::legacyText(expected).contains("1\xAA cobertura"));
}

void TstCostReport::pageTwo()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext reads the document back: scripts/install-deps.sh installs it");
    model::Case c = composedCase();
    const QByteArray withCost = pdfOf(c);
    const QString second = pdfText(withCost, 2);
    for (const char *shown : {"Composição de menor custo", "Produtor: Maria Aparecida Souza; Denominação: Gleba 2",
                              "Preços informados pelo usuário em 30/11/2026 (lista: precos.csv)", "Lista de compras",
                              "Custo da aplicação (composto)", "1.493,33 R$/ha", "2.240,00 R$",
                              "nenhum produto com preço que possa ir nesta aplicação traz K2O"})
        QVERIFY2(second.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(second.contains(QRegularExpression(QStringLiteral("Superfosfato Triplo\\s+133,4\\s+4\\s+560,00"))));
    QVERIFY(second.contains(QRegularExpression(QStringLiteral("Adubo 00-20-20\\s+3\\s+150,00\\s+0,00\\s+450,00"))));
    QVERIFY(pdfText(withCost, 3).trimmed().isEmpty());

    // A store's long product name is printed whole, in the plan and in the
    // shopping list, however narrow its column: never cut short.
    model::Case longNames = composedCase();
    const QString longName = QStringLiteral("Superfosfato Triplo granulado da cooperativa, saco de 50 kg (lote novo)");
    for (ApplicationPlan &plan : longNames.composition->applications)
        for (ComposedProduct &p : plan.products)
            if (p.name == QStringLiteral("Superfosfato Triplo"))
                p.name = longName;
    for (ShoppingItem &item : longNames.composition->shopping)
        if (item.name == QStringLiteral("Superfosfato Triplo"))
            item.name = longName;
    const QString printed = pdfText(pdfOf(longNames), 2);
    QCOMPARE(printed.count(QStringLiteral("cooperativa,")), 2);
    QCOMPARE(printed.count(QStringLiteral("novo)")), 2);
    QVERIFY(printed.contains(QRegularExpression(QStringLiteral("Superfosfato Triplo granulado da\\s+4\\s+200,00"))));

    // The first page is the same with or without the composition, and
    // without it there is no second page.
    c.composition.reset();
    const QByteArray without = pdfOf(c);
    QCOMPARE(pdfText(withCost, 1), pdfText(without, 1));
    QVERIFY(pdfText(without, 2).trimmed().isEmpty());
}

void TstCostReport::handInsertedProducts_data()
{
    QTest::addColumn<int>("application"); // 0: planting
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("kgHa");
    QTest::addColumn<QStringList>("bought"); // the shopping row, none when not priced
    QTest::addColumn<QString>("unpriced");
    QTest::addColumn<QString>("total");
    // 40 kg/ha on 1,5 ha: 60 kg, two bags of 50 kg at R$ 210.
    QTest::newRow("a priced phosphate")
        << 0 << "Superfosfato Triplo" << "40"
        << QStringList{"Superfosfato Triplo (inserido à mão)", "2", "100,00", "40,00", "420,00"} << "" << "2.660,00";
    // The top-dressing lists name the catalogue's urea shorter.
    QTest::newRow("priced urea by its top-dressing name")
        << 1 << "Uréia " << "20" << QStringList{"Uréia (inserido à mão)", "1", "50,00", "20,00", "190,00"} << ""
        << "2.430,00";
    QTest::newRow("the manure") << 0 << "Esterco sólido de bovinos" << "3000" << QStringList()
                                << "Esterco sólido de bovinos (Plantio, 3000 kg/ha)" << "2.240,00";
    QTest::newRow("listed without a price") << 1 << "Nitrato de amônio" << "50" << QStringList()
                                            << "Nitrato de amônio (1ª cobertura, 50 kg/ha)" << "2.240,00";
}

// Products inserted by hand are bought too: at their price when the list has
// one, named as outside the total otherwise, never left out without a word.
void TstCostReport::handInsertedProducts()
{
    QFETCH(int, application);
    QFETCH(QString, product);
    QFETCH(QString, kgHa);
    QFETCH(QStringList, bought);
    QFETCH(QString, unpriced);
    QFETCH(QString, total);
    model::Case c = composedCase();
    model::Application &list = application == 0 ? static_cast<model::Application &>(c.planting)
                                                : c.topDressings[size_t(application - 1)];
    list.products << model::ProductRow{product, {kgHa}, {}};
    const std::optional<reports::CostSection> cost = reports::costSection(c);
    QVERIFY(cost);
    QCOMPARE(cost->totalField, total);
    if (bought.isEmpty()) {
        QCOMPARE(cost->shopping.size(), 3);
        QCOMPARE(cost->unpriced, QStringList{unpriced});
    } else {
        QCOMPARE(cost->shopping.size(), 4);
        QCOMPARE(cost->shopping.constLast(), bought);
        QVERIFY(cost->unpriced.isEmpty());
        QCOMPARE(cost->applications[application].rows.constLast().value(0), bought.value(0));
    }
    const QStringList lines = reports::costLines(*cost);
    if (!unpriced.isEmpty())
        QVERIFY(lines.contains(QStringLiteral("Inseridos à mão, sem preço na lista (fora do custo total): ") + unpriced));
}

void TstCostReport::moneyGrouped_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("comma, millions") << QChar(',') << 1448165.0 << "1.448.165,00";
    QTest::newRow("point, millions") << QChar('.') << 1448165.0 << "1,448,165.00";
    QTest::newRow("comma, thousand") << QChar(',') << 1000.0 << "1.000,00";
    QTest::newRow("under a thousand") << QChar(',') << 999.994 << "999,99";
    QTest::newRow("rounds up into a thousand") << QChar(',') << 999.996 << "1.000,00";
    QTest::newRow("negative") << QChar(',') << -2860.0 << "-2.860,00";
}

void TstCostReport::moneyGrouped()
{
    QFETCH(QChar, separator);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(reports::moneyText(value, NumberText(separator)), text);
}

QTEST_MAIN(TstCostReport)
#include "tst_cost_report.moc"
