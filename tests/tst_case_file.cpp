#include "cases/CaseFile.h"
#include "cases/CaseJson.h"
#include "core/Failure.h"

#include <QTemporaryDir>
#include <QtTest>

// A case as data: its JSON read back whole, the documents it refuses and
// why, and its number texts rewritten for another decimal separator.
class TstCaseFile : public QObject {
    Q_OBJECT
private slots:
    void jsonRoundTrip();
    void refusedDocuments_data();
    void refusedDocuments();
    void missingSectionsAreEmpty();
    void separator_data();
    void separator();
    void separatorLeavesFreeTexts();
    void namedFreeTextsKeepTheirMarks_data();
    void namedFreeTextsKeepTheirMarks();
    void writtenFileReadsBack();
    void largestSavedCaseOpensAgain_data();
    void largestSavedCaseOpensAgain();
    void changedSinceLooksAtTheContents();
};

namespace {

cases::Case sample()
{
    cases::Case c;
    c.decimalSeparator = QLatin1Char(',');
    c.fields = {{"Edit55", "João da Silva, filho"}, {"Edit1", "35,5"}, {"Edit10", ""}};
    c.memos = {{"Memo3", "Primeira linha\nSegunda: ação \"já\"\n"}};
    c.labels = {{"Label34", "Observação"}};
    c.grids = {{"stga4", {{"Tipo", "Kg", "N (kg)", "P205 (kg)", "K20 (kg)"}, {"Ureia", "100,0", "45,0", "", ""}}}};
    c.lists = {{"ComboBox1", {-1, "Selecione"}}, {"ComboBox3", {12, "Cloreto de potássio"}}};
    c.checks = {{"RadioButton1", false}, {"RadioButton2", true}};
    c.dates = {{"DateTimePicker2", QDate(2026, 3, 15)}};
    c.pages = {{"PageControl1", 3}};
    c.worksheet = {{"argila", 35.5}, {"Lm4P", 0.1 + 0.2}};
    return c;
}

QString notACase() { return QStringLiteral("O arquivo \"caso.tuberon\" não é um caso do Tuberon."); }
QString damaged() { return QStringLiteral("O arquivo \"caso.tuberon\" está danificado e não pode ser aberto."); }

} // namespace

void TstCaseFile::jsonRoundTrip()
{
    const QByteArray json = cases::toJson(sample());
    QVERIFY(json.contains("\"formato\": \"tuberon-caso\""));
    QVERIFY(json.contains("\"versao\": 1"));
    QVERIFY(json.contains("João da Silva")); // UTF-8, not escaped
    QCOMPARE(cases::fromJson(json, "caso.tuberon"), sample());
}

void TstCaseFile::refusedDocuments_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    const QByteArray head = R"({"formato": "tuberon-caso", "versao": 1, "separadorDecimal": ",", )";
    QTest::newRow("another format") << QByteArray(R"({"formato": "planilha", "versao": 1})") << notACase();
    QTest::newRow("no format") << QByteArray(R"({"versao": 1})") << notACase();
    QTest::newRow("a number") << QByteArray("12") << notACase();
    QTest::newRow("object cut short") << QByteArray(R"({"formato": "tuberon-caso", "ver)") << damaged();
    QTest::newRow("newer version")
        << QByteArray(R"({"formato": "tuberon-caso", "versao": 2, "campos": 7})")
        << QStringLiteral("O arquivo \"caso.tuberon\" foi feito por uma versão mais nova do Tuberon e não pode ser "
                          "aberto por esta versão.");
    QTest::newRow("version zero") << QByteArray(R"({"formato": "tuberon-caso", "versao": 0})") << damaged();
    QTest::newRow("version as text") << QByteArray(R"({"formato": "tuberon-caso", "versao": "1"})") << damaged();
    QTest::newRow("fractional version") << QByteArray(R"({"formato": "tuberon-caso", "versao": 1.5})") << damaged();
    QTest::newRow("no separator") << QByteArray(R"({"formato": "tuberon-caso", "versao": 1})") << damaged();
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
    // A case written by another part of the program may name only some
    // components; the rest keep their start texts.
    const cases::Case c = cases::fromJson(R"({"formato": "tuberon-caso", "versao": 1, "separadorDecimal": ".",
                                              "campos": {"Edit1": "35.5"}})",
                                          QStringLiteral("caso.tuberon"));
    QCOMPARE(c.decimalSeparator, QLatin1Char('.'));
    QCOMPARE(c.fields.value("Edit1"), QStringLiteral("35.5"));
    QVERIFY(c.grids.isEmpty() && c.lists.isEmpty() && c.dates.isEmpty() && c.worksheet.isEmpty());
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
    QTest::newRow("name with a comma") << comma << point << "Silva, João" << "Silva, João";
    QTest::newRow("thousands grouping is no number") << comma << point << "1.000,5" << "1.000,5";
    QTest::newRow("other mark is no number") << comma << point << "2.5" << "2.5";
    QTest::newRow("two separators") << comma << point << "1,2,3" << "1,2,3";
    QTest::newRow("class word") << comma << point << "Classe 1" << "Classe 1";
    QTest::newRow("epoch range") << comma << point << "30-45" << "30-45";
    QTest::newRow("empty") << comma << point << "" << "";
}

void TstCaseFile::separator()
{
    QFETCH(QChar, from);
    QFETCH(QChar, to);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    cases::Case c;
    c.decimalSeparator = from;
    c.fields.insert("Edit1", text);
    c.grids.insert("stga3", {{"Parcela", text}});
    const cases::Case converted = cases::withSeparator(c, to);
    QCOMPARE(converted.decimalSeparator, to);
    QCOMPARE(converted.fields.value("Edit1"), expected);
    QCOMPARE(converted.grids.value("stga3").at(0), (QStringList{"Parcela", expected}));
}

void TstCaseFile::separatorLeavesFreeTexts()
{
    const cases::Case source = sample();
    const cases::Case converted = cases::withSeparator(source, QLatin1Char('.'));
    QCOMPARE(converted.fields.value("Edit1"), QStringLiteral("35.5"));
    QCOMPARE(converted.grids.value("stga4").at(1), (QStringList{"Ureia", "100.0", "45.0", "", ""}));
    QCOMPARE(converted.memos, source.memos);
    QCOMPARE(converted.labels, source.labels);
    QCOMPARE(converted.lists, source.lists);
    QCOMPARE(converted.worksheet, source.worksheet);
}

void TstCaseFile::namedFreeTextsKeepTheirMarks_data()
{
    QTest::addColumn<QChar>("from");
    QTest::addColumn<QChar>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("converted"); // where the text is a number
    const QChar comma(','), point('.');
    QTest::newRow("CPF point to comma") << point << comma << "123.456" << "123,456";
    QTest::newRow("field name point to comma") << point << comma << "1.2" << "1,2";
    QTest::newRow("report number comma to point") << comma << point << "12,345" << "12.345";
    QTest::newRow("product name comma to point") << comma << point << "0,5" << "0.5";
}

void TstCaseFile::namedFreeTextsKeepTheirMarks()
{
    QFETCH(QChar, from);
    QFETCH(QChar, to);
    QFETCH(QString, text);
    QFETCH(QString, converted);
    cases::Case c;
    c.decimalSeparator = from;
    c.fields = {{"Edit56", text}, {"Edit1", text}};
    c.grids.insert("stga4", {{text, text}});
    const cases::FreeTexts words{{"Edit56"}, {{"stga4", {0}}}};
    const cases::Case result = cases::withSeparator(c, to, words);
    QCOMPARE(result.fields.value("Edit56"), text);
    QCOMPARE(result.fields.value("Edit1"), converted);
    QCOMPARE(result.grids.value("stga4").at(0), (QStringList{text, converted}));
    // And back: the free texts are still as typed, the numbers as they were.
    const cases::Case back = cases::withSeparator(result, from, words);
    QCOMPARE(back, c);
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
    cases::Case c = sample();
    c.memos.insert("Memo3", QString());
    const qint64 base = cases::toJson(c).size();
    c.memos.insert("Memo3", QString(cases::maxFileSize - base + beyond, QLatin1Char('a')));
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
    other.replace("\"versao\": 1", "\"versao\": 1 ");
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

