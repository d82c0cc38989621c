#include "batch/PriceListFile.h"
#include "core/Failure.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

// The store's price list as a CSV file: read in the dialects and encodings
// spreadsheets write, every doubtful value an error naming its line and
// column, and written so that it reads back the same.
using namespace fertilizers;
Q_DECLARE_METATYPE(PriceList)

namespace {

PricedProduct product(const char *name, double n, double p, double k, double bagKg, std::optional<double> bagPrice,
                      std::optional<double> tonnePrice = {}, AllowedIn allowed = AllowedIn::Both)
{
    PricedProduct pp;
    pp.name = QString::fromUtf8(name);
    pp.n = n;
    pp.p2o5 = p;
    pp.k2o = k;
    pp.bagKg = bagKg;
    pp.bagPrice = bagPrice;
    pp.tonnePrice = tonnePrice;
    pp.allowedIn = allowed;
    return pp;
}

PriceList listOf(QList<PricedProduct> products)
{
    PriceList list;
    list.name = QStringLiteral("precos.csv");
    list.products = products;
    return list;
}

QByteArray utf8(const char *text) { return QByteArray(text); }

QByteArray encoded(const char *encoding, const QString &text) { return QStringEncoder(encoding).encode(text); }

} // namespace

class TstPriceListFile : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void errors_data();
    void errors();
    void roundTrip();
};

void TstPriceListFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PriceList>("expected");

    PricedProduct urea = product("Uréia", 45, 0, 0, 50, 189.9);
    urea.date = QDate(2026, 11, 30);
    urea.store = QStringLiteral("Agropecuária Central");
    PricedProduct map = product("MAP", 11, 52, 0, 25, 120, {}, AllowedIn::Planting);
    map.date = QDate(2026, 11, 30);
    map.store = QStringLiteral("Agropecuária Central");
    map.available = false;
    QTest::newRow("semicolons, decimal comma, UTF-8 with mark")
        << utf8("\xEF\xBB\xBFProduto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$);Aplicações;Disponível;Data;Loja\r\n"
                "Uréia;45;0;0;50;189,90;ambas;sim;30/11/2026;Agropecuária Central\r\n"
                "MAP;11;52;;25;120;plantio;não;30/11/2026;Agropecuária Central\r\n")
        << listOf({urea, map});

    // Without "Aplicações": a source of P2O5 at planting only, the others anywhere.
    const PriceList defaults = listOf({product("Cloreto de Potássio", 0, 0, 58, 50, 205.5),
                                       product("Adubo 04-14-08", 4, 14, 8, 50, 150, {}, AllowedIn::Planting)});
    QTest::newRow("commas, decimal point, no optional columns")
        << utf8("Produto,N (%),P2O5 (%),K2O (%),Saco (kg),Preço do saco (R$)\n"
                "Cloreto de Potássio,0,0,58,50,205.50\n"
                "Adubo 04-14-08,4,14,8,50,150\n")
        << defaults;
    QTest::newRow("tabs") << utf8("Produto\tN (%)\tP2O5 (%)\tK2O (%)\tSaco (kg)\tPreço do saco (R$)\n"
                                  "Cloreto de Potássio\t0\t0\t58\t50\t205,5\n"
                                  "Adubo 04-14-08\t4\t14\t8\t50\t150\n")
                          << defaults;
    QTest::newRow("sep= line above the header")
        << utf8("sep=,\r\nProduto,N (%),P2O5 (%),K2O (%),Saco (kg),Preço do saco (R$)\r\n"
                "Cloreto de Potássio,0,0,58,50,\"205,5\"\r\n"
                "Adubo 04-14-08,4,14,8,50,150\r\n")
        << defaults;
    QTest::newRow("Windows-1252")
        << encoded("windows-1252", QStringLiteral("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\r\n"
                                      "Cloreto de Potássio;0;0;58;50;205,5\r\n"
                                      "Adubo 04-14-08;4;14;8;50;150\r\n"))
        << defaults;
    QTest::newRow("UTF-16 with mark")
        << QByteArray("\xFF\xFE")
                + encoded("UTF-16LE", QStringLiteral("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\r\n"
                                             "Cloreto de Potássio;0;0;58;50;205,5\r\n"
                                             "Adubo 04-14-08;4;14;8;50;150\r\n"))
        << defaults;
    QTest::newRow("titles without accents, in another order, a column more")
        << utf8("PRECO DO SACO (R$);produto;Observação;n (%);p2o5 (%);k2o (%);saco (KG)\n"
                "205,5;Cloreto de Potássio;o mais vendido;0;0;58;50\n"
                "150;Adubo 04-14-08;;4;14;8;50\n")
        << defaults;
    QTest::newRow("display formats: R$, %, thousands")
        << utf8("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\n"
                "Cloreto de Potássio;0%;0%;58%;50;R$ 205,50\n"
                "Adubo 04-14-08;4;14;8;50;R$ 150\n")
        << defaults;
    QTest::newRow("1.500 in a file of decimal commas is a thousand and a half")
        << utf8("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$);Preço da tonelada (R$)\n"
                "Uréia;45;;;;;3.100\n"
                "Ureia ensacada;45;;;50;189,9;\n"
                "Uréia big bag;45;;;1.000;;2.950,50\n")
        << listOf({product("Uréia", 45, 0, 0, 0, {}, 3100), product("Ureia ensacada", 45, 0, 0, 50, 189.9),
                   product("Uréia big bag", 45, 0, 0, 1000, {}, 2950.5)});
    QTest::newRow("a quoted name with the separator, blank lines")
        << utf8("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\n\n"
                "\"Cloreto de Potássio; branco\";0;0;58;50;205,5\n;;;;;\n")
        << listOf({product("Cloreto de Potássio; branco", 0, 0, 58, 50, 205.5)});
    QTest::newRow("no price: left for the composition to name")
        << utf8("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\nUréia;45;0;0;50;\n")
        << listOf({product("Uréia", 45, 0, 0, 50, {})});
}

void TstPriceListFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PriceList, expected);
    const PriceList list = batch::readPriceList(bytes, QStringLiteral("precos.csv"));
    QCOMPARE(list.products.size(), expected.products.size());
    for (qsizetype i = 0; i < list.products.size(); ++i) {
        const PricedProduct &got = list.products[i], &want = expected.products[i];
        QCOMPARE(got.name, want.name);
        QCOMPARE(got.n, want.n);
        QCOMPARE(got.p2o5, want.p2o5);
        QCOMPARE(got.k2o, want.k2o);
        QCOMPARE(got.bagKg, want.bagKg);
        QCOMPARE(got.bagPrice, want.bagPrice);
        QCOMPARE(got.tonnePrice, want.tonnePrice);
        QCOMPARE(got.allowedIn, want.allowedIn);
        QCOMPARE(got.available, want.available);
        QCOMPARE(got.date, want.date);
        QCOMPARE(got.store, want.store);
    }
    QCOMPARE(list, expected);
}

void TstPriceListFile::errors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray header = "Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$);Preço da tonelada (R$);"
                              "Aplicações;Disponível;Data\n";
    const auto row = [&header](const char *line) { return header + "Uréia;45;0;0;50;190;;;;\n" + line + "\n"; };
    QTest::newRow("1.500 with no decimal mark shown")
        << QByteArray("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\nUréia;45;0;0;50;1.500\n")
        << QStringLiteral("linha 2, coluna \"Preço do saco (R$)\": \"1.500\" pode ser um número com separador de "
                          "milhares ou com três casas decimais; escreva-o sem o separador de milhares ou com outra "
                          "quantidade de casas");
    QTest::newRow("not a number") << row("KCl;0;0;cinquenta e oito;50;200;;;;")
                                  << QStringLiteral("linha 3, coluna \"K2O (%)\": \"cinquenta e oito\" não é um número");
    QTest::newRow("a negative bag") << row("KCl;0;0;58;-50;200;;;;")
                                    << QStringLiteral("linha 3, coluna \"Saco (kg)\": \"-50\" é negativo");
    QTest::newRow("a content over 100 %") << row("KCl;0;0;158;50;200;;;;")
                                          << QStringLiteral("linha 3, coluna \"K2O (%)\": \"158\" passa de 100");
    QTest::newRow("contents over 100 % together")
        << row("Mistura;45;41;58;50;200;;;;")
        << QStringLiteral("linha 3, coluna \"K2O (%)\": N, P2O5 e K2O somam mais de 100 %");
    QTest::newRow("both prices") << row("KCl;0;0;58;50;200;4000;;;")
                                 << QStringLiteral("linha 3, coluna \"Preço da tonelada (R$)\": o produto já tem "
                                                   "preço do saco; informe só um dos preços");
    QTest::newRow("a bag price in bulk") << row("KCl;0;0;58;;200;;;;")
                                         << QStringLiteral("linha 3, coluna \"Preço do saco (R$)\": um produto a granel "
                                                           "(saco vazio ou 0) tem preço da tonelada");
    QTest::newRow("an application unknown")
        << row("KCl;0;0;58;50;200;;semeadura;;")
        << QStringLiteral("linha 3, coluna \"Aplicações\": \"semeadura\" não é plantio, cobertura nem ambas");
    QTest::newRow("availability unknown") << row("KCl;0;0;58;50;200;;;talvez;")
                                          << QStringLiteral("linha 3, coluna \"Disponível\": \"talvez\" não é sim nem não");
    QTest::newRow("no such date") << row("KCl;0;0;58;50;200;;;;31/02/2026")
                                  << QStringLiteral("linha 3, coluna \"Data\": \"31/02/2026\" não é uma data dd/mm/aaaa");
    QTest::newRow("a product without a name") << row(";0;0;58;50;200;;;;")
                                              << QStringLiteral("linha 3, coluna \"Produto\": o produto não tem nome");
    QTest::newRow("a quote left open") << row("\"KCl;0;0;58;50;200;;;;")
                                       << QStringLiteral("linha 3: aspas abertas na linha 3 não fechadas");
    QTest::newRow("a column missing") << QByteArray("Produto;N (%);P2O5 (%);K2O (%);Preço do saco (R$)\nUréia;45;0;0;190\n")
                                      << QStringLiteral("linha 1: falta a coluna \"Saco (kg)\"");
    QTest::newRow("no price column")
        << QByteArray("Produto;N (%);P2O5 (%);K2O (%);Saco (kg)\nUréia;45;0;0;50\n")
        << QStringLiteral("linha 1: falta a coluna \"Preço do saco (R$)\" ou \"Preço da tonelada (R$)\"");
    QTest::newRow("a column twice") << QByteArray("Produto;N (%);N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\n")
                                    << QStringLiteral("linha 1: a coluna \"N (%)\" aparece duas vezes");
    QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF\r\n") << QStringLiteral("a lista de preços está vazia");
}

void TstPriceListFile::errors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        batch::readPriceList(bytes, QStringLiteral("precos.csv"));
        QFAIL("read without an error");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), message);
    }
}

void TstPriceListFile::roundTrip()
{
    PricedProduct formula = product("=Adubo \"especial\"; 10-10-10", 10, 10, 10, 25, 99.99, {}, AllowedIn::Planting);
    formula.store = QStringLiteral("-Loja do Zé");
    formula.date = QDate(2026, 1, 5);
    PricedProduct bulk = product("Uréia a granel", 45, 0, 0, 0, {}, 2875.5, AllowedIn::TopDressing);
    bulk.available = false;
    // Three places after the comma that must not read as thousands.
    const PricedProduct odd = product("Nitrato", 1.125, 0, 0, 40, 1.125);
    const PriceList list = listOf({formula, bulk, odd, product("Sem preço", 0, 0, 60, 50, {})});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("precos.csv"));
    batch::writePriceListFile(path, list);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Formula-like texts reach a spreadsheet as texts.
    QVERIFY(bytes.contains("\"'=Adubo \"\"especial\"\"; 10-10-10\""));
    QVERIFY(bytes.contains(";'-Loja do Zé\r\n"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFProduto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$);"
                             "Preço da tonelada (R$);Aplicações;Disponível;Data;Loja\r\n"));
    QCOMPARE(batch::readPriceListFile(path), list);

    try {
        batch::readPriceListFile(dir.filePath(QStringLiteral("nenhuma.csv")));
        QFAIL("read a file that is not there");
    } catch (const Failure &f) {
        QVERIFY2(f.message().contains(QStringLiteral("nenhuma.csv")), qPrintable(f.message()));
    }
}

QTEST_GUILESS_MAIN(TstPriceListFile)
#include "tst_price_list_file.moc"
