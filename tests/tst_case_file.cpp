#include "cases/CaseFile.h"
#include "cases/CaseJson.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "model/Case.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QTemporaryDir>
#include <QtTest>

// A case as data: its JSON read back whole, the form of its numbers, the
// documents it refuses and why, format 1 handed to its migration, and its
// number texts rewritten for another decimal separator.
class TstCaseFile : public QObject {
    Q_OBJECT
private slots:
    void jsonRoundTrip();
    void composedCaseRoundTrip();
    void numberForms_data();
    void numberForms();
    void refusedDocuments_data();
    void refusedDocuments();
    void missingSectionsAreEmpty();
    void formatOneGoesThroughItsMigration();
    void separator_data();
    void separator();
    void separatorLeavesFreeTexts();
    void writtenFileReadsBack();
    void largestSavedCaseOpensAgain_data();
    void largestSavedCaseOpensAgain();
    void changedSinceLooksAtTheContents();
};

namespace {

model::Case sample()
{
    model::Case c;
    c.decimalSeparator = QLatin1Char(',');
    c.producer.name = QStringLiteral("João da Silva, filho");
    c.producer.cpf = QStringLiteral("123.456");
    c.analysis.clay = {QStringLiteral("35,5")};
    c.analysis.ph = {QStringLiteral("5,")}; // being typed
    c.liming.need = {QStringLiteral("1,50")};
    c.doses.phosphateNote = QStringLiteral("Observação");
    c.report.recommendations = QStringLiteral("Primeira linha\nSegunda: ação \"já\"\n");
    c.planting.products = {{QStringLiteral("Ureia 0,5"), {QStringLiteral("100,0")}, {{"45"}, {}, {}}}};
    c.planting.organic.product = {-1, QStringLiteral("Selecione")};
    c.topDressings[0].mineral = {12, QStringLiteral("Cloreto de potássio")};
    c.planting.kind = model::Planting::Kind::Mineral;
    c.calendar.planting = QDate(2026, 3, 15);
    c.calendar.leaves = true;
    c.shownTab = 3;
    c.worksheet.argila = 35.5;
    c.worksheet.phosphorusLimits.l4 = 0.1 + 0.2;
    return c;
}

// A case composed at least cost: the store's prices, one quoted per bag,
// one per tonne in bulk, one without price, and the plan made with them.
model::Case composedSample()
{
    using namespace fertilizers;
    model::Case c = sample();
    PriceList prices;
    prices.name = QStringLiteral("Cooperativa, março");
    prices.products = {
        {QStringLiteral("Ureia"), 45, 0, 0, 50, 180.5, std::nullopt, true, AllowedIn::Both, QDate(2026, 3, 2),
         QStringLiteral("Agropecuária Central")},
        {QStringLiteral("Cloreto de potássio"), 0, 0, 58, 0, std::nullopt, 3100, true, AllowedIn::TopDressing, {}, {}},
        {QStringLiteral("Adubo 04-14-08"), 4, 14, 8, 25, std::nullopt, std::nullopt, false, AllowedIn::Planting, {}, {}},
    };
    c.prices = prices;
    Composition k;
    k.options.areaHa = 2.5;
    k.options.seasonBags = true;
    ApplicationPlan &first = k.applications[1];
    first.products = {{0, QStringLiteral("Ureia"), 40, 100, 2, 144.4, 361}};
    first.needed = {15, 0, 0};
    first.supplied = {18, 0, 0};
    first.excess = {3, 0, 0};
    k.applications[3].status = CompositionStatus::Approximate;
    k.applications[3].shortfall = {0, 0, 10};
    k.applications[3].reasons = {
        fertilizers::reasonFromText(QStringLiteral("3ª cobertura: nenhum produto com preço traz K2O"), NumberText(QLatin1Char(',')))};
    k.shopping = {{0, QStringLiteral("Ureia"), 2, 100, 0.1 + 0.2, 361}};
    k.costHa = 144.4;
    k.costField = 361;
    k.status = CompositionStatus::Approximate;
    k.leftOut = {QStringLiteral("Adubo 04-14-08")};
    k.priceListName = prices.name;
    k.priceListDate = QDate(2026, 3, 2);
    c.composition = k;
    return c;
}

QString notACase() { return QStringLiteral("O arquivo \"caso.tuberon\" não é um caso do Tuberon."); }
QString damaged() { return QStringLiteral("O arquivo \"caso.tuberon\" está danificado e não pode ser aberto."); }

} // namespace

void TstCaseFile::jsonRoundTrip()
{
    const QByteArray json = cases::toJson(sample());
    QVERIFY(json.contains("\"formato\": \"tuberon-caso\""));
    QVERIFY(json.contains("\"versao\": 2"));
    QVERIFY(json.contains("\"program\": \"1.0.0.0\""));
    QVERIFY(json.contains("João da Silva")); // UTF-8, not escaped
    QVERIFY(json.contains("\"clay\": 35.5"));
    QCOMPARE(cases::fromJson(json, "caso.tuberon"), sample());
}

// The prices and the plan come back whole; a case without them writes
// neither, so it reads as before they existed.
void TstCaseFile::composedCaseRoundTrip()
{
    const QByteArray json = cases::toJson(composedSample());
    QCOMPARE(cases::fromJson(json, "caso.tuberon"), composedSample());
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QCOMPARE(root.value("prices").toObject().value("products").toArray().at(1).toObject().value("bagPrice"),
             QJsonValue(QJsonValue::Null));
    QCOMPARE(root.value("composition").toObject().value("applications").toArray().size(), 4);

    const QJsonObject plain = QJsonDocument::fromJson(cases::toJson(sample())).object();
    QVERIFY(!plain.contains("prices"));
    QVERIFY(!plain.contains("composition"));
    QCOMPARE(cases::fromJson(cases::toJson(sample()), "caso.tuberon"), sample());
    // The separator's change leaves the prices' numbers alone: they are values, not texts.
    QCOMPARE(model::withSeparator(composedSample(), QLatin1Char('.')).prices, composedSample().prices);
    // The reasons are kinds with their figures: the file writes them in the
    // case's separator, as every other number of its reports, and reads
    // them back as they were.
    model::Case withReason = composedSample();
    withReason.composition->applications[2].reasons = {fertilizers::reasonFromText(
        QStringLiteral("2ª cobertura: um saco é mais do que a área de 0,50 ha precisa de N"), NumberText(QLatin1Char(',')))};
    QCOMPARE(withReason.composition->applications[2].reasons[0].kind, fertilizers::CompositionReason::Kind::OneBagTooMuch);
    const model::Case point = model::withSeparator(withReason, QLatin1Char('.'));
    QCOMPARE(point.composition, withReason.composition);
    const QJsonArray written = QJsonDocument::fromJson(cases::toJson(point))
                                   .object()
                                   .value("composition")
                                   .toObject()
                                   .value("applications")
                                   .toArray()
                                   .at(2)
                                   .toObject()
                                   .value("reasons")
                                   .toArray();
    QCOMPARE(written, QJsonArray{QStringLiteral("2ª cobertura: um saco é mais do que a área de 0.50 ha precisa de N")});
    QCOMPARE(cases::fromJson(cases::toJson(point), "caso.tuberon"), point);
    QCOMPARE(model::withSeparator(point, QLatin1Char(',')), withReason);
}

// A number field is a JSON number when it holds one in its shortest form,
// and keeps its text otherwise, so that it opens as it was.
void TstCaseFile::numberForms_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("json");
    const QChar comma(','), point('.');
    QTest::newRow("number") << comma << "35,5" << "35.5";
    QTest::newRow("whole") << comma << "25" << "25";
    QTest::newRow("point") << point << "0.4" << "0.4";
    QTest::newRow("places kept") << comma << "1,50" << R"({"number":1.5,"text":"1,50"})";
    QTest::newRow("sign") << comma << "+2" << R"({"number":2,"text":"+2"})";
    QTest::newRow("half typed") << comma << "35," << R"({"number":35,"text":"35,"})";
    QTest::newRow("no number") << comma << "n.d." << R"({"text":"n.d."})";
    QTest::newRow("other separator") << comma << "2.5" << R"({"text":"2.5"})";
    QTest::newRow("empty") << comma << "" << "null";
}

void TstCaseFile::numberForms()
{
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QFETCH(QString, json);
    model::Case c;
    c.decimalSeparator = separator;
    c.analysis.clay = {text};
    const QJsonObject analysis =
        QJsonDocument::fromJson(cases::toJson(c)).object().value(QLatin1String("analysis")).toObject();
    const QJsonValue clay = analysis.value(QLatin1String("clay"));
    const QByteArray written =
        clay.isObject() ? QJsonDocument(clay.toObject()).toJson(QJsonDocument::Compact) : QJsonDocument(QJsonArray{clay}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    QCOMPARE(QString::fromUtf8(written), json);
    QCOMPARE(cases::fromJson(cases::toJson(c), "caso.tuberon").analysis.clay.text, text);
}

void TstCaseFile::refusedDocuments_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    // Format 1, checked whole before its migration.
    const QByteArray head = R"({"formato": "tuberon-caso", "versao": 1, "separadorDecimal": ",", )";
    const QByteArray two = R"({"formato": "tuberon-caso", "versao": 2, "decimalSeparator": ",", )";
    QTest::newRow("another format") << QByteArray(R"({"formato": "planilha", "versao": 1})") << notACase();
    QTest::newRow("no format") << QByteArray(R"({"versao": 1})") << notACase();
    QTest::newRow("a number") << QByteArray("12") << notACase();
    QTest::newRow("object cut short") << QByteArray(R"({"formato": "tuberon-caso", "ver)") << damaged();
    QTest::newRow("newer version")
        << QByteArray(R"({"formato": "tuberon-caso", "versao": 3, "analysis": 7})")
        << QStringLiteral("O arquivo \"caso.tuberon\" foi feito por uma versão mais nova do Tuberon e não pode ser "
                          "aberto por esta versão.");
    QTest::newRow("version zero") << QByteArray(R"({"formato": "tuberon-caso", "versao": 0})") << damaged();
    QTest::newRow("version as text") << QByteArray(R"({"formato": "tuberon-caso", "versao": "1"})") << damaged();
    QTest::newRow("fractional version") << QByteArray(R"({"formato": "tuberon-caso", "versao": 1.5})") << damaged();
    QTest::newRow("no separator") << QByteArray(R"({"formato": "tuberon-caso", "versao": 2})") << damaged();
    QTest::newRow("separator of two characters")
        << QByteArray(R"({"formato": "tuberon-caso", "versao": 1, "separadorDecimal": ",,"})") << damaged();
    QTest::newRow("field holding a number") << head + R"("campos": {"Edit1": 35}})" << damaged();
    QTest::newRow("section as a list") << head + R"("campos": ["Edit1"]})" << damaged();
    QTest::newRow("grid row not a list") << head + R"("grades": {"stga1": ["a"]}})" << damaged();
    QTest::newRow("grid cell a number") << head + R"("grades": {"stga1": [[1]]}})" << damaged();
    QTest::newRow("list without text") << head + R"("listas": {"ComboBox1": {"indice": 0}}})" << damaged();
    QTest::newRow("list position below none")
        << head + R"("listas": {"ComboBox1": {"indice": -2, "texto": ""}}})" << damaged();
    QTest::newRow("check as text") << head + R"("marcas": {"CheckBox1": "sim"}})" << damaged();
    QTest::newRow("impossible date") << head + R"("datas": {"DateTimePicker2": "2026-02-30"}})" << damaged();
    QTest::newRow("worksheet value as text") << head + R"("planilha": {"argila": "35"}})" << damaged();
    QTest::newRow("format 2: number as a bare string") << two + R"("analysis": {"clay": "35"}})" << damaged();
    QTest::newRow("format 2: number as a list") << two + R"("analysis": {"clay": [35]}})" << damaged();
    QTest::newRow("format 2: text kept without text") << two + R"("analysis": {"clay": {"number": 35}}})" << damaged();
    QTest::newRow("format 2: name as a number") << two + R"("producer": {"name": 7}})" << damaged();
    QTest::newRow("format 2: section as a list") << two + R"("liming": []})" << damaged();
    QTest::newRow("format 2: unknown choice") << two + R"("calendar": {"scale": "weeks"}})" << damaged();
    QTest::newRow("format 2: two top-dressings") << two + R"("topDressings": [{}, {}]})" << damaged();
    QTest::newRow("format 2: product row not an object") << two + R"("planting": {"products": [1]}})" << damaged();
    QTest::newRow("format 2: list position below none")
        << two + R"("planting": {"mineral": {"product": {"index": -2, "text": ""}}}})" << damaged();
    QTest::newRow("format 2: impossible date") << two + R"("report": {"date": "2026-02-30"}})" << damaged();
    QTest::newRow("format 2: prices as a list") << two + R"("prices": []})" << damaged();
    QTest::newRow("format 2: price as text") << two + R"("prices": {"products": [{"bagPrice": "80,00"}]}})" << damaged();
    QTest::newRow("format 2: unknown application")
        << two + R"("prices": {"products": [{"allowedIn": "colheita"}]}})" << damaged();
    QTest::newRow("format 2: three applications composed")
        << two + R"("composition": {"applications": [{}, {}, {}]}})" << damaged();
    QTest::newRow("format 2: reason not a text")
        << two + R"("composition": {"applications": [{}, {}, {}, {"reasons": [7]}]}})" << damaged();
    QTest::newRow("format 2: fractional bags bought") << two + R"("composition": {"shopping": [{"bags": 1.5}]}})"
                                                      << damaged();
    // The schema allows no other keys; neither does the reader.
    QTest::newRow("format 2: unknown key") << two + R"("campos": {}})" << damaged();
    QTest::newRow("format 2: unknown key in a section") << two + R"("analysis": {"clay": 35, "argila": 35}})"
                                                         << damaged();
    QTest::newRow("format 2: unknown key in a list's row")
        << two + R"("planting": {"products": [{"product": "Ureia", "lote": "7"}]}})" << damaged();
    QTest::newRow("format 2: format 1 without the window") << head + R"("campos": {"Edit1": "35"}})" << damaged();
}

void TstCaseFile::refusedDocuments()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    try {
        cases::fromJson(json, QStringLiteral("caso.tuberon"));
        QFAIL("the document was read");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(), message);
    }
}

void TstCaseFile::missingSectionsAreEmpty()
{
    const model::Case c = cases::fromJson(R"({"formato": "tuberon-caso", "versao": 2, "decimalSeparator": ".",
                                              "analysis": {"clay": 35.5}})",
                                          QStringLiteral("caso.tuberon"));
    model::Case expected;
    expected.decimalSeparator = QLatin1Char('.');
    expected.analysis.clay = {QStringLiteral("35.5")};
    QCOMPARE(c, expected);
}

// Only the window knows the components a format 1 file names: the file is
// checked whole, then handed to it.
void TstCaseFile::formatOneGoesThroughItsMigration()
{
    const QByteArray old = R"({"formato": "tuberon-caso", "versao": 1, "separadorDecimal": ".",
                               "campos": {"Edit1": "35.5"}, "grades": {"stga4": [["Tipo"], ["Ureia"]]},
                               "listas": {"ComboBox2": {"indice": 3, "texto": "Ureia"}},
                               "marcas": {"CheckBox1": true}, "datas": {"DateTimePicker2": "2026-03-15"},
                               "paginas": {"PageControl1": 2}, "planilha": {"argila": 35.5}})";
    cases::FormatOne seen;
    model::Case migrated;
    migrated.producer.name = QStringLiteral("migrado");
    const model::Case c = cases::fromJson(old, "caso.tuberon", [&](const cases::FormatOne &f) {
        seen = f;
        return migrated;
    });
    QCOMPARE(c, migrated);
    QCOMPARE(seen.decimalSeparator, QLatin1Char('.'));
    QCOMPARE(seen.fields.value("Edit1"), QStringLiteral("35.5"));
    QCOMPARE(seen.grids.value("stga4"), (QList<QStringList>{{"Tipo"}, {"Ureia"}}));
    QCOMPARE(seen.lists.value("ComboBox2").index, 3);
    QCOMPARE(seen.checks.value("CheckBox1"), true);
    QCOMPARE(seen.dates.value("DateTimePicker2"), QDate(2026, 3, 15));
    QCOMPARE(seen.pages.value("PageControl1"), 2);
    QCOMPARE(seen.worksheet.value("argila"), 35.5);
}

void TstCaseFile::separator_data()
{
    QTest::addColumn<QChar>("from");
    QTest::addColumn<QChar>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QChar comma(','), point('.'), arabic(0x066B);
    QTest::newRow("decimal") << comma << point << "35,5" << "35.5";
    QTest::newRow("blanks, sign and exponent") << comma << point << " -1,5e3 " << " -1.5e3 ";
    QTest::newRow("separator alone is zero") << comma << point << "," << ".";
    QTest::newRow("whole number") << comma << point << "25" << "25";
    QTest::newRow("point to comma") << point << comma << "0.5" << "0,5";
    QTest::newRow("to another separator") << point << arabic << "12.75" << QString("12") + arabic + "75";
    QTest::newRow("thousands grouping is no number") << comma << point << "1.000,5" << "1.000,5";
    QTest::newRow("other mark is no number") << comma << point << "2.5" << "2.5";
    QTest::newRow("two separators") << comma << point << "1,2,3" << "1,2,3";
    QTest::newRow("empty") << comma << point << "" << "";
}

// Every number of the case moves to the other separator: fields and the
// number cells of splits and product lists.
void TstCaseFile::separator()
{
    QFETCH(QChar, from);
    QFETCH(QChar, to);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    model::Case c;
    c.decimalSeparator = from;
    c.analysis.clay = {text};
    c.doses.nitrogenSplit = {{QStringLiteral("Plantio"), QStringLiteral("0"), {text}, {text}}};
    c.topDressings[2].products = {{QStringLiteral("Ureia"), {text}, {{text}, {text}, {text}}}};
    const model::Case converted = model::withSeparator(c, to);
    QCOMPARE(converted.decimalSeparator, to);
    QCOMPARE(converted.analysis.clay.text, expected);
    QCOMPARE(converted.doses.nitrogenSplit.at(0).amount.text, expected);
    QCOMPARE(converted.topDressings[2].products.at(0).supplies.k2o.text, expected);
    // A number rewritten goes back as it was.
    if (expected != text)
        QCOMPARE(model::withSeparator(converted, from), c);
}

// Names, the CPF, product names, memos, lists and the worksheet stay as typed
// whatever they look like.
void TstCaseFile::separatorLeavesFreeTexts()
{
    model::Case source = sample();
    source.field.report = QStringLiteral("12,345");
    source.field.name = QStringLiteral("1,2");
    const model::Case converted = model::withSeparator(source, QLatin1Char('.'));
    QCOMPARE(converted.analysis.clay.text, QStringLiteral("35.5"));
    QCOMPARE(converted.planting.products.at(0).quantity.text, QStringLiteral("100.0"));
    model::Case back = converted;
    back.decimalSeparator = source.decimalSeparator;
    back.analysis = source.analysis;
    back.liming = source.liming;
    back.planting.products[0].quantity = source.planting.products[0].quantity;
    QCOMPARE(back, source); // nothing else changed
}

void TstCaseFile::writtenFileReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("caso.tuberon"));
    cases::writeFile(path, sample());
    QCOMPARE(cases::readFile(path), sample());
}

void TstCaseFile::largestSavedCaseOpensAgain_data()
{
    QTest::addColumn<qint64>("beyond"); // bytes over the limit
    QTest::newRow("exactly the limit") << qint64(0);
    QTest::newRow("one byte over") << qint64(1);
}

void TstCaseFile::largestSavedCaseOpensAgain()
{
    QFETCH(qint64, beyond);
    // Long notes make a large case; the memo is sized for the file to reach
    // the limit to the byte.
    model::Case c = sample();
    c.report.recommendations.clear();
    const qint64 base = cases::toJson(c).size();
    c.report.recommendations = QString(cases::maxFileSize - base + beyond, QLatin1Char('a'));
    QCOMPARE(cases::toJson(c).size(), cases::maxFileSize + beyond);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("caso.tuberon"));
    cases::writeFile(path, sample());
    if (beyond == 0) {
        cases::writeFile(path, c);
        QCOMPARE(QFileInfo(path).size(), cases::maxFileSize);
        QCOMPARE(cases::readFile(path), c);
        return;
    }
    try {
        cases::writeFile(path, c);
        QFAIL("a case that cannot be opened again was saved");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(),
                 QStringLiteral("O caso não foi salvo em \"caso.tuberon\": com 17 MiB, passa do limite de 16 MiB de um "
                                "caso do Tuberon e não poderia ser aberto de novo. Encurte os textos mais longos (as "
                                "observações do relatório, por exemplo) e salve outra vez."));
    }
    QCOMPARE(cases::readFile(path), sample()); // the previous case is kept
}

void TstCaseFile::changedSinceLooksAtTheContents()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("caso.tuberon"));
    cases::Stamp stamp;
    cases::writeFile(path, sample(), &stamp);
    QVERIFY(!cases::changedSince(path, stamp));

    // The same bytes written again, later: no change.
    QFile same(path);
    QVERIFY(same.open(QIODevice::ReadWrite));
    const QByteArray bytes = same.readAll();
    QVERIFY(same.seek(0));
    QCOMPARE(same.write(bytes), bytes.size());
    QVERIFY(same.flush());
    QVERIFY(same.setFileTime(stamp.modified.addSecs(5), QFileDevice::FileModificationTime));
    same.close();
    QVERIFY(!cases::changedSince(path, stamp));

    // Other contents of the same size, at another time: a change.
    QByteArray other = bytes;
    other.replace("João", "Joao");
    other.replace("\"versao\": 2", "\"versao\": 2 ");
    QCOMPARE(other.size(), bytes.size());
    QVERIFY(same.open(QIODevice::WriteOnly | QIODevice::Truncate));
    same.write(other);
    QVERIFY(same.flush());
    QVERIFY(same.setFileTime(stamp.modified.addSecs(1), QFileDevice::FileModificationTime));
    same.close();
    QVERIFY(cases::changedSince(path, stamp));

    // A file gone since holds nobody's work.
    QVERIFY(QFile::remove(path));
    QVERIFY(!cases::changedSince(path, stamp));
}

QTEST_GUILESS_MAIN(TstCaseFile)
#include "tst_case_file.moc"

