#include "batch/CsvTable.h"
#include "batch/LabColumns.h"
#include "batch/LabFile.h"
#include "batch/LabSample.h"
#include "batch/SampleNames.h"
#include "batch/Summary.h"
#include "batch/XlsxTable.h"

#include <QtTest>

// Reading a laboratory's CSV file: separators, decimal marks, encodings,
// quotes, column names and units, and the samples that cannot be done.
class TstLabFile : public QObject {
    Q_OBJECT
private slots:
    void separators_data();
    void separators();
    void encodings_data();
    void encodings();
    void quotes_data();
    void quotes();
    void aliases_data();
    void aliases();
    void units_data();
    void units();
    void headerProblems_data();
    void headerProblems();
    void badRowsAmongGood();
    void yieldFromFileOrDefault();
    void fileNames_data();
    void fileNames();
    void summaryCsv();
    void headerSpellings_data();
    void headerSpellings();
    void otherQuantities_data();
    void otherQuantities();
    void aroundTheHeader();
    void unitRows_data();
    void unitRows();
    void oneVariableTwice_data();
    void oneVariableTwice();
    void values_data();
    void values();
    void misreadValues();
    void formulaLikeTexts_data();
    void formulaLikeTexts();
    void workbookText_data();
    void workbookText();
    void workbookCells_data();
    void workbookCells();
    void unitsAroundTheHeader_data();
    void unitsAroundTheHeader();
    void fileSums_data();
    void fileSums();
    void unstatedUnits_data();
    void unstatedUnits();
};

namespace {

const QByteArray analysisHeader = "Argila;P;K;MO;Al;Ca;Mg;CTC;V";

batch::ColumnMap mapOf(const QStringList &header)
{
    const batch::MapResult m = batch::mapColumns(header);
    if (!m.map)
        qWarning("%s", qPrintable(m.error));
    return m.map.value_or(batch::ColumnMap{});
}

QList<batch::LabSample> samplesOf(const QByteArray &csv, double yield = 25)
{
    const batch::CsvTable table = batch::readCsv(csv);
    return batch::readSamples(table, mapOf(table.header), yield);
}

} // namespace

void TstLabFile::separators_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("first");

    QTest::newRow("semicolon, decimal comma") << QByteArray("Amostra;Argila;P\r\nA1;35,5;6\r\n") << ";"
                                              << QStringList{"A1", "35,5", "6"};
    QTest::newRow("comma, decimal point") << QByteArray("Amostra,Argila,P\nA1,35.5,6\n") << ","
                                          << QStringList{"A1", "35.5", "6"};
    QTest::newRow("tab") << QByteArray("Amostra\tArgila\tP\nA1\t35,5\t6") << "\t" << QStringList{"A1", "35,5", "6"};
    QTest::newRow("comma file with a quoted decimal comma")
        << QByteArray("Amostra,Argila,P\nA1,\"35,5\",6\n") << "," << QStringList{"A1", "35,5", "6"};
    QTest::newRow("semicolons win over a comma in a header name")
        << QByteArray("Amostra;CTC pH 7,0;P\nA1;8,5;6\n") << ";" << QStringList{"A1", "8,5", "6"};
    QTest::newRow("old Mac line ends") << QByteArray("Amostra;Argila;P\rA1;35;6\r") << ";"
                                       << QStringList{"A1", "35", "6"};
}

void TstLabFile::separators()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, separator);
    QFETCH(QStringList, first);
    const batch::CsvTable table = batch::readCsv(csv);
    QCOMPARE(QString(table.separator), separator);
    QCOMPARE(table.header, (QStringList{"Amostra", table.header.value(1), "P"}));
    QCOMPARE(table.records.size(), 1);
    QCOMPARE(table.records[0].fields, first);
    QCOMPARE(table.records[0].line, 2);
}

void TstLabFile::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("Identificação;Município\nSão João;Araçá\n");
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("Windows-1252") << text.toLatin1();
    QTest::newRow("UTF-8 with one Windows-1252 line")
        << QStringLiteral("Identificação;Município\n").toUtf8() + QStringLiteral("São João;Araçá\n").toLatin1();
    QTest::newRow("Windows-1252 with one UTF-8 line")
        << QStringLiteral("Identificação;Município\n").toLatin1() + QStringLiteral("São João;Araçá\n").toUtf8();
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : text)
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    QTest::newRow("UTF-16 with byte-order mark") << utf16;
    QTest::newRow("UTF-16 without byte-order mark") << utf16.mid(2);
    QByteArray bigEndian;
    for (const QChar c : text)
        bigEndian += char(c.unicode() >> 8), bigEndian += char(c.unicode() & 0xFF);
    QTest::newRow("UTF-16 big-endian without byte-order mark") << bigEndian;
}

void TstLabFile::encodings()
{
    QFETCH(QByteArray, bytes);
    const batch::CsvTable table = batch::readCsv(bytes);
    QCOMPARE(table.header, (QStringList{QStringLiteral("Identificação"), QStringLiteral("Município")}));
    QCOMPARE(table.records.value(0).fields, (QStringList{QStringLiteral("São João"), QStringLiteral("Araçá")}));
}

void TstLabFile::quotes_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QString>("problem");

    QTest::newRow("separator and doubled quotes inside")
        << QByteArray("A;B\n\"x;y\";\"Sítio \"\"Boa Vista\"\"\"\n")
        << QList<QStringList>{{"x;y", "Sítio \"Boa Vista\""}} << QList<int>{2} << "";
    QTest::newRow("line break inside quotes keeps later line numbers")
        << QByteArray("A;B\r\n\"linha um\r\nlinha dois\";1\r\nz;2\r\n")
        << QList<QStringList>{{"linha um\r\nlinha dois", "1"}, {"z", "2"}} << QList<int>{2, 4} << "";
    QTest::newRow("blank lines and empty records left out")
        << QByteArray("A;B\n\n;\nz;2\n;;\n") << QList<QStringList>{{"z", "2"}} << QList<int>{4} << "";
    QTest::newRow("quote never closed")
        << QByteArray("A;B\nz;\"aberta\n") << QList<QStringList>{{"z", "aberta\n"}} << QList<int>{2}
        << "aspas abertas na linha 2 não fechadas";
}

void TstLabFile::quotes()
{
    QFETCH(QByteArray, csv);
    QFETCH(QList<QStringList>, records);
    QFETCH(QList<int>, lines);
    QFETCH(QString, problem);
    const batch::CsvTable table = batch::readCsv(csv);
    QCOMPARE(table.records.size(), records.size());
    for (int i = 0; i < records.size(); ++i) {
        QCOMPARE(table.records[i].fields, records[i]);
        QCOMPARE(table.records[i].line, lines[i]);
    }
    QCOMPARE(table.records.last().problem, problem);
}

void TstLabFile::aliases_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("column");
    const auto row = [](const char *header, batch::Column c) {
        QTest::newRow(header) << QString::fromUtf8(header) << int(c);
    };
    row("Amostra", batch::Column::Amostra);
    row("IDENTIFICAÇÃO", batch::Column::Amostra);
    row("id", batch::Column::Amostra);
    row("Produtor", batch::Column::Produtor);
    row("Nome", batch::Column::Produtor);
    row("C.P.F.", batch::Column::Cpf);
    row("Localidade", batch::Column::Localidade);
    row("Municipio", batch::Column::Municipio);
    row("Talhão", batch::Column::Denominacao);
    row("Gleba", batch::Column::Denominacao);
    row("Denominação", batch::Column::Denominacao);
    row("Nº do laudo", batch::Column::Laudo);
    row("N° do Laudo", batch::Column::Laudo);
    row("Laudo", batch::Column::Laudo);
    row("pH água", batch::Column::Ph);
    row("pH H2O", batch::Column::Ph);
    row("pH (H2O)", batch::Column::Ph);
    row("P Mehlich", batch::Column::P);
    row("Fósforo", batch::Column::P);
    row("Potássio", batch::Column::K);
    row("M.O.", batch::Column::Mo);
    row("Matéria Orgânica", batch::Column::Mo);
    row("Al", batch::Column::Al);
    row("  ca  ", batch::Column::Ca);
    row("Mg", batch::Column::Mg);
    row("T", batch::Column::Ctc);
    row("CTC pH 7", batch::Column::Ctc);
    row("V%", batch::Column::V);
    row("Saturação por bases", batch::Column::V);
    row("Rendimento", batch::Column::Rendimento);
    row("Expectativa", batch::Column::Rendimento);
}

// Each name lands in its column among the required ones, whatever its case,
// accents, blanks and punctuation.
void TstLabFile::aliases()
{
    QFETCH(QString, header);
    QFETCH(int, column);
    QStringList full = QString::fromLatin1(analysisHeader).split(';');
    const int at = column >= int(batch::Column::Argila) && column <= int(batch::Column::V) && column != int(batch::Column::Ph)
                       ? full.indexOf(batch::columnName(batch::Column(column)))
                       : -1;
    if (at >= 0)
        full[at] = header;
    else
        full << header;
    const batch::ColumnMap map = mapOf(full);
    QCOMPARE(map.index[column], at >= 0 ? at : full.size() - 1);
}

void TstLabFile::units_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("clay in %") << "Argila (%)" << "35" << 35.0;
    QTest::newRow("K without a unit is in mg/dm³") << "K" << "212" << 212.0;
    QTest::newRow("Ca without a unit is in cmolc/dm³") << "Ca" << "2,97" << 2.97;
    QTest::newRow("MO without a unit is in %") << "MO" << "3,2" << 3.2;
    QTest::newRow("clay in g/kg") << "Argila (g/kg)" << "350" << 35.0;
    QTest::newRow("clay in g/kg after the name") << "Argila g/kg" << "355" << 35.5;
    QTest::newRow("organic matter in g/dm³") << "MO (g/dm³)" << "21" << 2.1;
    QTest::newRow("organic matter in g/kg") << "M.O. [g/kg]" << "21,0" << 2.1;
    QTest::newRow("organic matter in dag/kg") << "MO (dag/kg)" << "2,1" << 2.1;
    QTest::newRow("K in mg/dm³") << "K (mg/dm3)" << "40" << 40.0;
    QTest::newRow("K in cmolc/dm³") << "K (cmolc/dm³)" << "0,15" << 0.15 * 391;
    QTest::newRow("Ca in mmolc/dm³") << "Ca (mmolc/dm³)" << "21" << 2.1;
    QTest::newRow("Mg in mmolc/dm³") << "Mg mmolc/dm3" << "8" << 0.8;
    QTest::newRow("Al in mmolc/dm³") << "Al (mmolc/dm³)" << "4" << 0.4;
    QTest::newRow("CTC in mmolc/dm³") << "CTC (mmolc/dm³)" << "85" << 8.5;
    QTest::newRow("Ca in cmolc/dm³") << "Ca (cmolc/dm³)" << "2,1" << 2.1;
    QTest::newRow("V in %") << "V (%)" << "35" << 35.0;
    QTest::newRow("decimal point") << "Argila (%)" << "35.5" << 35.5;
    QTest::newRow("decimal comma with blanks") << "Argila (%)" << " 35,5 " << 35.5;
}

void TstLabFile::units()
{
    QFETCH(QString, header);
    QFETCH(QString, text);
    QFETCH(double, value);
    QStringList full = QString::fromLatin1(analysisHeader).split(';');
    QStringList cells{"30", "6", "40", "2", "0,4", "2", "1", "8", "35"};
    const QString name = batch::headerKey(header).startsWith("mo") ? "MO" : header.section(QRegularExpression("[ (\\[]"), 0, 0);
    const int at = full.indexOf(name);
    QVERIFY2(at >= 0, qPrintable(name));
    full[at] = header;
    cells[at] = text;
    const QList<batch::LabSample> samples =
        samplesOf((full.join(';') + "\n" + cells.join(';') + "\n").toUtf8());
    QCOMPARE(samples.size(), 1);
    QCOMPARE(samples[0].error, QString());
    const batch::Column c = batch::Column(int(batch::Column::Argila) + (at == 0 ? 0 : at + 1));
    QCOMPARE(*samples[0].value(c), value);
}

void TstLabFile::headerProblems_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing column") << "Amostra;Argila;P;K;Al;Ca;Mg;CTC;V" << "falta a coluna MO";
    QTest::newRow("missing columns") << "Amostra;Argila;P;K;Al;Ca;CTC" << "faltam as colunas MO, Mg, V";
    QTest::newRow("missing column beside an unused one") << "Amostra;Argila;P;K;Al;Ca;Mg;CTC;V;Observações"
                                                         << "falta a coluna MO";
    QTest::newRow("unknown unit") << "Argila (kg/m3);P;K;MO;Al;Ca;Mg;CTC;V"
                                  << "coluna \"Argila (kg/m3)\": unidade desconhecida \"kg/m3\"";
    QTest::newRow("K in a unit of clay") << "Argila;P;K (g/kg);MO;Al;Ca;Mg;CTC;V"
                                         << "coluna \"K (g/kg)\": unidade desconhecida \"g/kg\"";
    QTest::newRow("another pH and unknown columns are ignored")
        << "Argila;pH (CaCl2);Ca+Mg;P;K;MO;Al;Ca;Mg;CTC;V;Observações" << "";
}

void TstLabFile::headerProblems()
{
    QFETCH(QString, header);
    QFETCH(QString, error);
    const batch::MapResult m = batch::mapColumns(header.split(';'));
    QCOMPARE(m.error, error);
    QCOMPARE(m.map.has_value(), error.isEmpty());
    if (m.map)
        QCOMPARE(m.map->indexOf(batch::Column::Ph), -1);
}

// A bad value spoils its own sample only, with a message naming the line and
// the column as the file has them; every other sample is read.
void TstLabFile::badRowsAmongGood()
{
    const QByteArray csv = "Amostra;Argila (%);pH;P (mg/dm³);K;MO;Al;Ca;Mg;CTC;V\n"
                           "ok1;35;5,5;6;40;2;0,4;2;1;8;35\n"
                           "nd;35;5,5;n.d.;40;2;0,4;2;1;8;35\n"
                           "vazia;35;5,5;6;;2;0,4;2;1;8;35\n"
                           "negativa;35;5,5;6;40;2;-0,4;2;1;8;35\n"
                           "argila;101;5,5;6;40;2;0,4;2;1;8;35\n"
                           "ph;35;14,5;6;40;2;0,4;2;1;8;35\n"
                           "v;35;5,5;6;40;2;0,4;2;1;8;100,1\n"
                           "duas;35;5,5;x;40;2;0,4;2;1;8;\n"
                           "ok2;100;;6;40;2;0;2;1;8;100\n";
    const QList<batch::LabSample> s = samplesOf(csv);
    const QStringList expected{
        "",
        "linha 3, coluna P (mg/dm³): 'n.d.' não medido",
        "linha 4, coluna K: vazia",
        "linha 5, coluna Al: '-0,4' negativo",
        "linha 6, coluna Argila (%): '101' acima de 100",
        "linha 7, coluna pH: '14,5' fora da faixa de 0 a 14",
        "linha 8, coluna V: '100,1' acima de 100",
        "linha 9, coluna P (mg/dm³): 'x' não é um número; linha 9, coluna V: vazia",
        "",
    };
    QCOMPARE(s.size(), expected.size());
    for (int i = 0; i < s.size(); ++i) {
        QCOMPARE(s[i].error, expected[i]);
        QCOMPARE(s[i].line, i + 2);
    }
    QCOMPARE(s[0].text(batch::Column::Amostra), QStringLiteral("ok1"));
    QCOMPARE(*s[0].value(batch::Column::Ph), 5.5);
    // pH is not required: a sample without it is done, showing none.
    QVERIFY(!s[8].value(batch::Column::Ph));
    QCOMPARE(*s[8].value(batch::Column::Argila), 100.0);
}

void TstLabFile::yieldFromFileOrDefault()
{
    const QByteArray withColumn = "Argila;P;K;MO;Al;Ca;Mg;CTC;V;Rendimento (t/ha)\n"
                                  "35;6;40;2;0,4;2;1;8;35;32,5\n"
                                  "35;6;40;2;0,4;2;1;8;35;\n";
    QList<batch::LabSample> s = samplesOf(withColumn, 30);
    QCOMPARE(*s[0].value(batch::Column::Rendimento), 32.5);
    QCOMPARE(*s[1].value(batch::Column::Rendimento), 30.0);
    s = samplesOf(analysisHeader + "\n35;6;40;2;0,4;2;1;8;35\n", 28);
    QCOMPARE(*s[0].value(batch::Column::Rendimento), 28.0);
    s = samplesOf("Argila;P;K;MO;Al;Ca;Mg;CTC;V;Rendimento (kg/ha)\n35;6;40;2;0,4;2;1;8;35;25000\n");
    QCOMPARE(*s[0].value(batch::Column::Rendimento), 25.0);
}

void TstLabFile::fileNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("as they are") << QStringList{"A-01", "Sítio São José 2"} << QStringList{"A-01", "Sítio São José 2"};
    QTest::newRow("path and reserved characters")
        << QStringList{"../../etc/passwd", "a:b*c?\"d<e>f|g\\h"} << QStringList{"_.._etc_passwd", "a_b_c__d_e_f_g_h"};
    QTest::newRow("empty or only dots gets its line") << QStringList{"", " .. "} << QStringList{"linha-2", "linha-3"};
    QTest::newRow("repeated, whatever the case")
        << QStringList{"A1", "a1", "A1", "A1-2"} << QStringList{"A1", "a1-2", "A1-3", "A1-2-2"};
}

void TstLabFile::fileNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, files);
    QList<int> lines;
    for (int i = 0; i < names.size(); ++i)
        lines << i + 2;
    QCOMPARE(batch::uniqueFileNames(names, lines), files);
}

void TstLabFile::summaryCsv()
{
    batch::SummaryRow row(batch::summaryColumns().size());
    row[0] = QStringLiteral("A;1");
    row[1] = batch::SummaryCell::ofNumber(2, 0);
    row[6] = QStringLiteral("Criterio devido baixo poder tampão.");
    row[7] = batch::SummaryCell::ofNumber(1.13, 2);
    row[18] = QStringLiteral("linha 2, coluna P: 'n.d.' não é um número");
    const QByteArray bytes = batch::summaryCsv({row});
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "Amostra;Linha;Classe de argila;Classe de P;Classe de K;Classe de CTC;"
                             "Critério de calagem;Calagem (t/ha);Calagem comercial (t/ha);N (kg/ha);P2O5 (kg/ha);"
                             "K2O (kg/ha);N plantio;N 1ª;N 2ª;N 3ª;K2O plantio;K2O 1ª;Erro;Aviso;Arquivos\r\n"));
    QVERIFY(bytes.endsWith("\"A;1\";2;;;;;Criterio devido baixo poder tampão.;1,13;;;;;;;;;;;"
                           "linha 2, coluna P: 'n.d.' não é um número;;\r\n"));

    // With the composition: its cost, and a bulk product's kilograms, take
    // the comma too; a point in a product's name stays. The workbook writes
    // the products in the reports' own mark.
    batch::SummaryRow withCost = row;
    const QList<batch::SummaryProduct> planting{{QStringLiteral("Adubo 10.10.10"), 3, 150},
                                                {QStringLiteral("Calcário 2.0 a granel"), 0, 14.06}};
    withCost << QStringLiteral("composto") << batch::SummaryCell::ofNumber(1234.5, 2)
             << batch::SummaryCell::ofProducts(planting, QLatin1Char('.')) << QString()
             << batch::SummaryCell::ofProducts({{QStringLiteral("Uréia"), 2, 100}}, QLatin1Char('.')) << QString();
    QVERIFY(batch::summaryCsvLine(withCost)
                .endsWith(";composto;1234,50;Adubo 10.10.10: 3 sacos + Calcário 2.0 a granel: 14,1 kg;;Uréia: 2 sacos;"
                          "\r\n"));
    QCOMPARE(batch::productsText(planting, QLatin1Char('.')),
             QStringLiteral("Adubo 10.10.10: 3 sacos + Calcário 2.0 a granel: 14.1 kg"));
    // Kept packed and read back cell by cell, kinds and all.
    batch::SummaryRows rows;
    rows.append(withCost);
    QCOMPARE(rows.at(0), withCost);
}

void TstLabFile::headerSpellings_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("factor");
    using C = batch::Column;
    const auto row = [](const char *header, C c, double factor) {
        QTest::newRow(header) << QString::fromUtf8(header) << int(c) << factor;
    };
    row("Pmg/dm³", C::P, 1);
    row("Argila%", C::Argila, 1);
    row("Argilag/kg", C::Argila, 0.1);
    row("Alcmolc/dm³", C::Al, 1);
    row("Kcmolc/dm", C::K, 391);
    row("Ca cmolc/dm", C::Ca, 1);
    row("Mg cmolc/dm?", C::Mg, 1);
    row("P mg/dm3", C::P, 1);
    row("Ca cmolc dm-3", C::Ca, 1);
    row("Al mmolc.dm-3", C::Al, 0.1);
    row("MOg/dm³", C::Mo, 0.1);
    row("T", C::Ctc, 1);
    row("CTC (T)", C::Ctc, 1);
    row("Tcmolc/dm³", C::Ctc, 1);
    row("T mmolc/dm³", C::Ctc, 0.1);
    row("pHÁgua", C::Ph, 1);
    row("pH H2O", C::Ph, 1);
    row("pH em água", C::Ph, 1);
}

// Headers as a laboratory's system writes them, units glued, cut short or
// with the "³" lost, and T for the CTC at pH 7, each among the others.
void TstLabFile::headerSpellings()
{
    QFETCH(QString, header);
    QFETCH(int, column);
    QFETCH(double, factor);
    QStringList full = QString::fromLatin1(analysisHeader).split(';');
    const int at = full.indexOf(batch::columnName(batch::Column(column)));
    if (at >= 0)
        full[at] = header;
    else
        full << header;
    // What a laboratory prints beside them: t, m, H+Al and SB are read to
    // check the file's sums, the rest is not used.
    full << "t" << "CTC efetiva" << "K%" << "m %" << "H+Al" << "SB" << "Areia (g/kg)" << "Latitude" << "Ca/Mg";
    const batch::ColumnMap map = mapOf(full);
    QCOMPARE(map.index[column], at >= 0 ? at : full.indexOf(header));
    QCOMPARE(map.factor[column], factor);
    QCOMPARE(map.ignored.size(), 5);
    QCOMPARE(map.indexOf(batch::Column::Ctce), full.indexOf("t"));
    QCOMPARE(map.indexOf(batch::Column::Sb), full.indexOf("SB"));
}

void TstLabFile::otherQuantities_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("error");
    QTest::newRow("only the effective CTC, lower-case t")
        << "Argila;P;K;MO;Al;Ca;Mg;t;V"
        << "falta a coluna CTC (\"t\" é CTC efetiva (t), não a CTC a pH 7 (T); use --coluna se for mesmo a do programa)";
    QTest::newRow("only P resina")
        << "Argila;P resina;K;MO;Al;Ca;Mg;CTC;V"
        << "falta a coluna P (\"P resina\" é fósforo por outro método (o programa usa o P Mehlich-1); "
           "use --coluna se for mesmo a do programa)";
    QTest::newRow("only P Mehlich-3")
        << "Argila;P Mehlich-3;K;MO;Al;Ca;Mg;CTC;V"
        << "falta a coluna P (\"P Mehlich-3\" é fósforo por outro método (o programa usa o P Mehlich-1); "
           "use --coluna se for mesmo a do programa)";
    QTest::newRow("t and T: T is taken") << "Argila;P;K;MO;Al;Ca;Mg;t;T;V" << "";
    QTest::newRow("P resina beside P") << "Argila;P resina;P;K;MO;Al;Ca;Mg;CTC;V" << "";
    QTest::newRow("pH CaCl2 and pH SMP are not pH") << "Argila;pH CaCl2;pH SMP;P;K;MO;Al;Ca;Mg;CTC;V" << "";
}

// A quantity of another method or the effective CTC is never taken for the
// program's; when it is the only one, the run stops naming it.
void TstLabFile::otherQuantities()
{
    QFETCH(QString, header);
    QFETCH(QString, error);
    const QStringList full = header.split(';');
    const batch::MapResult m = batch::mapColumns(full);
    QCOMPARE(m.error, error);
    if (!m.map)
        return;
    QCOMPARE(m.map->indexOf(batch::Column::Ph), -1);
    if (full.contains("T"))
        QCOMPARE(m.map->indexOf(batch::Column::Ctc), full.indexOf("T"));
    QCOMPARE(m.map->indexOf(batch::Column::P), full.indexOf("P"));
}

// sep=, a title block, a second header row of units and a mean row: the
// samples are those between them, in the units of the second row.
void TstLabFile::aroundTheHeader()
{
    QByteArray csv = "sep=,\r\n"
                     "Laboratório de Análise de Solos,,,,,,,,,,\r\n"
                     "Relatório de resultados - lote 2025/41,,,,,,,,,,\r\n"
                     ",,,,,,,,,,\r\n"
                     "Amostra,Argila,P,K,MO,Al,Ca,Mg,CTC,V,Latitude\r\n"
                     ",g/kg,mg/dm³,cmolc/dm³,g/dm³,mmolc/dm³,cmolc/dm³,cmolc/dm³,cmolc/dm³,%,\r\n"
                     "A1,350,6,\"0,15\",21,4,2,1,8,35,-12.6\r\n"
                     "Média,350,6,\"0,15\",21,4,2,1,8,35,\r\n";
    QBuffer buffer(&csv);
    buffer.open(QIODevice::ReadOnly);
    batch::LabFile lab(&buffer);
    QCOMPARE(lab.error(), QString());
    batch::CsvRecord record;
    QString notSample;
    QVERIFY(lab.next(record, &notSample));
    QCOMPARE(notSample, QString());
    const batch::LabSample s = batch::readSample(record, lab.map(), 25);
    QCOMPARE(s.line, 7);
    QCOMPARE(s.error, QString());
    QCOMPARE(*s.value(batch::Column::Argila), 35.0);
    QCOMPARE(*s.value(batch::Column::K), 58.65);
    QCOMPARE(*s.value(batch::Column::Mo), 2.1);
    QCOMPARE(*s.value(batch::Column::Al), 0.4);
    QVERIFY(lab.next(record, &notSample));
    QCOMPARE(notSample, QString("Média"));
    QVERIFY(!lab.next(record, &notSample));
}

// The second header row's units: one the program does not know stops the
// run, as in the header; a unit in both that differs cannot be told.
void TstLabFile::unitRows_data()
{
    QTest::addColumn<QByteArray>("rows"); // the header and the units under it
    QTest::addColumn<QString>("error");
    QTest::addColumn<double>("clay");
    QTest::newRow("a unit not known among known ones") << QByteArray("Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n;g/kg;;lbs;;;;;;\n")
                                                       << "coluna \"K\": unidade desconhecida \"lbs\"" << 0.0;
    QTest::newRow("the header's unit and another below") << QByteArray("Amostra;Argila (%);P;K;MO;Al;Ca;Mg;CTC;V\n;g/kg;;;;;;;;\n")
                                                         << "coluna \"Argila (%)\": a unidade do cabeçalho, \"%\", não é "
                                                            "a da linha de unidades, \"g/kg\""
                                                         << 0.0;
    QTest::newRow("the same unit in both") << QByteArray("Amostra;Argila (g/kg);P;K;MO;Al;Ca;Mg;CTC;V\n;g/kg;;;;;;;;\n")
                                           << "" << 35.0;
    QTest::newRow("the same unit spelled otherwise") << QByteArray("Amostra;Argila g/kg;P;K;MO;Al;Ca;Mg;CTC (cmolc/dm³);V\n;G/KG;;;;;;;cmolc/dm3;\n")
                                                     << "" << 35.0;
}

void TstLabFile::unitRows()
{
    QFETCH(QByteArray, rows);
    QFETCH(QString, error);
    QFETCH(double, clay);
    QByteArray csv = rows + "A1;350;6;40;2,1;0,4;2;1;8;35\n";
    QBuffer buffer(&csv);
    buffer.open(QIODevice::ReadOnly);
    batch::LabFile lab(&buffer);
    QCOMPARE(lab.error(), error);
    if (!error.isEmpty())
        return;
    batch::CsvRecord record;
    QString notSample;
    QVERIFY(lab.next(record, &notSample));
    const batch::LabSample s = batch::readSample(record, lab.map(), 25);
    QCOMPARE(s.error, QString());
    QCOMPARE(*s.value(batch::Column::Argila), clay);
}

// Two columns of one variable (K in two units, a header repeated) must
// agree, within the places each is written with; else neither is taken.
void TstLabFile::oneVariableTwice_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("error");
    const QString twoUnits = "Amostra;Argila;P;K (mg/dm³);K (cmolc/dm³);MO;Al;Ca;Mg;CTC;V";
    QTest::newRow("K in two units that agree") << twoUnits << "A1;35;6;59;0,15;2;0,4;2;1;8;35" << "";
    QTest::newRow("K in two units that disagree")
        << twoUnits << "A1;35;6;80;0,15;2;0,4;2;1;8;35"
        << "linha 2, colunas K (mg/dm³) e K (cmolc/dm³): '80' e '0,15' não são o mesmo valor";
    QTest::newRow("the second empty") << twoUnits << "A1;35;6;59;;2;0,4;2;1;8;35" << "";
    QTest::newRow("a header repeated with another value")
        << "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V;P" << "A1;35;6;40;2;0,4;2;1;8;35;7"
        << "linha 2, colunas P e P: '6' e '7' não são o mesmo valor";
    QTest::newRow("a header repeated with the same value")
        << "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V;P" << "A1;35;6;40;2;0,4;2;1;8;35;6,0" << "";
}

void TstLabFile::oneVariableTwice()
{
    QFETCH(QString, header);
    QFETCH(QString, row);
    QFETCH(QString, error);
    const QList<batch::LabSample> s = samplesOf((header + "\n" + row + "\n").toUtf8());
    QCOMPARE(s.size(), 1);
    QCOMPARE(s[0].error, error);
}

void TstLabFile::values_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decimal"); // the file's decimal mark
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("problem"); // the error, or the warning of a value taken on trust
    QTest::newRow("below detection limit") << "< 2" << "," << 2.0 << "linha 2, coluna P: '< 2' abaixo do limite de detecção, tomado como 2";
    QTest::newRow("below detection limit, comma") << "<0,1" << "," << 0.1 << "linha 2, coluna P: '<0,1' abaixo do limite de detecção, tomado como 0,1";
    QTest::newRow("thousands and decimal comma") << "1.234,5" << "," << 1234.5 << "";
    QTest::newRow("thousands and decimal point") << "1,234.5" << "." << 1234.5 << "";
    QTest::newRow("point and three digits in a comma file") << "38.500" << "," << 38500.0 << "";
    QTest::newRow("point and three digits in a point file") << "38.500" << "." << 38.5 << "";
    QTest::newRow("point and three digits in a file that shows no mark")
        << "1.500" << "" << 0.0
        << "linha 2, coluna P: '1.500' pode ser um número com separador de milhares ou com três casas decimais, e o "
           "arquivo não mostra a sua marca decimal";
    QTest::newRow("non-breaking space and tab around") << "\u00A06\t" << "," << 6.0 << "";
    QTest::newRow("not measured stays an error") << "n.d." << "," << 0.0 << "linha 2, coluna P: 'n.d.' não medido";
    QTest::newRow("a dash stays an error") << "-" << "," << 0.0 << "linha 2, coluna P: '-' não medido";
    QTest::newRow("ns stays an error") << "ns" << "," << 0.0 << "linha 2, coluna P: 'ns' não medido";
    QTest::newRow("nr stays an error") << "nr" << "," << 0.0 << "linha 2, coluna P: 'nr' não medido";
    QTest::newRow("a leading zero is a decimal in a comma file") << "0.125" << "," << 0.125 << "";
    QTest::newRow("groups of another size") << "1.23,5" << "," << 0.0 << "linha 2, coluna P: '1.23,5' não é um número";
}

void TstLabFile::values()
{
    QFETCH(QString, text);
    QFETCH(QString, decimal);
    QFETCH(double, value);
    QFETCH(QString, problem);
    const QStringList header = QString::fromLatin1(analysisHeader).split(';');
    batch::ColumnMap map = mapOf(header);
    map.decimal = decimal.isEmpty() ? QChar() : decimal[0];
    batch::CsvRecord record{2, {"30", text, "40", "2", "0,4", "2", "1", "8", "35"}, {}};
    const batch::LabSample s = batch::readSample(record, map, 25);
    if (value == 0) {
        QCOMPARE(s.error, problem);
        return;
    }
    QCOMPARE(s.error, QString());
    QCOMPARE(*s.value(batch::Column::P), value);
    QCOMPARE(s.warning, problem);
}

// A yield written with a thousands separator and read as a decimal one, and
// a row with a field more than the header, are the sample's errors.
void TstLabFile::misreadValues()
{
    const QByteArray csv = "Amostra,Argila,P,K,MO,Al,Ca,Mg,CTC,V,Rendimento (kg/ha)\n"
                           "ok,35,6,40,2,0.4,2,1,8,35,25000\n"
                           "tiny,35,6,40,2,0.4,2,1,8,35,38\n"
                           "shift,35,6,40,2,0,4,2,1,8,35,25000\n"
                           "short,35,6,40,2,0.4,2,1,8,35\n"
                           "padded,35,6,40,2,0.4,2,1,8,35,25000,,\n";
    const QList<batch::LabSample> s = samplesOf(csv);
    QCOMPARE(s.size(), 5);
    QCOMPARE(s[0].error, QString());
    QCOMPARE(s[1].error, QString("linha 3, coluna Rendimento (kg/ha): '38' fora da faixa plausível de 1 a 150 t/ha"));
    QCOMPARE(s[2].error, QString("linha 4: 12 campos, o cabeçalho tem 11 (vírgula decimal sem aspas num arquivo separado por vírgulas?)"));
    QCOMPARE(s[3].error, QString("linha 5: 10 campos, o cabeçalho tem 11 (vírgula decimal sem aspas num arquivo separado por vírgulas?)"));
    QCOMPARE(s[4].error, QString());
    // In a file of another separator a comma cannot split a field.
    const QList<batch::LabSample> semicolons = samplesOf("Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n"
                                                          "extra;35;6;40;2;0,4;2;1;8;35;1\n"
                                                          "\"one\n");
    QCOMPARE(semicolons.size(), 2);
    QCOMPARE(semicolons[0].error, QString("linha 2: 11 campos, o cabeçalho tem 10"));
    QCOMPARE(semicolons[1].error, QString("aspas abertas na linha 3 não fechadas; linha 3: 1 campo, o cabeçalho tem 10"));
}

// A text a spreadsheet would run as a formula goes into resumo.csv as text.
void TstLabFile::formulaLikeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("equals") << "=HYPERLINK(\"x\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\")\"");
    QTest::newRow("plus") << "+55 75 3621" << QByteArray("'+55 75 3621");
    QTest::newRow("minus") << "-A1" << QByteArray("'-A1");
    QTest::newRow("at") << "@SOMA(1)" << QByteArray("'@SOMA(1)");
    QTest::newRow("tab") << "\tA1" << QByteArray("'\tA1");
    QTest::newRow("carriage return") << "\rA1" << QByteArray("\"'\rA1\"");
    QTest::newRow("plain") << "A-1" << QByteArray("A-1");
}

void TstLabFile::formulaLikeTexts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    batch::SummaryRow row(batch::summaryColumns().size());
    row[0] = batch::SummaryCell(text);
    QVERIFY2(batch::summaryCsvLine(row).startsWith(written + ';'), batch::summaryCsvLine(row).constData());
}

void TstLabFile::workbookText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("change");
    const QString replaced = QStringLiteral("caracteres que a planilha não aceita trocados por \"\uFFFD\"");
    const QString cut = QStringLiteral("texto cortado em 32767 caracteres");
    const QChar high(0xD83C), low(0xDF3F); // a pair: one character beyond the first plane
    QTest::newRow("plain, accents, tab, line breaks") << "Sítio\tA\r\nB" << "Sítio\tA\r\nB" << "";
    QTest::newRow("pair of surrogates kept") << QString("a") + high + low << QString("a") + high + low << "";
    QTest::newRow("lone high surrogate") << QString("a") + high + "b" << "a\uFFFDb" << replaced;
    QTest::newRow("lone low surrogate") << QString(low) + "b" << "\uFFFDb" << replaced;
    QTest::newRow("noncharacters FFFE and FFFF") << "\uFFFE\uFFFF" << "\uFFFD\uFFFD" << replaced;
    QTest::newRow("control characters") << QString("a") + QChar(0) + "\u0008\u001f" << "a\uFFFD\uFFFD\uFFFD" << replaced;
    QTest::newRow("just fits") << QString(32767, 'x') << QString(32767, 'x') << "";
    QTest::newRow("too long") << QString(40000, 'x') << QString(32767, 'x') << cut;
    QTest::newRow("too long, a pair at the cut") << QString(32766, 'x') + high + low << QString(32766, 'x') << cut;
    QTest::newRow("both") << QString(32768, 'x') + QChar(1) << QString(32767, 'x') << replaced + "; " + cut;
}

// What a workbook cell cannot hold is mended and said, nothing else touched.
void TstLabFile::workbookText()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QFETCH(QString, change);
    QString said;
    QCOMPARE(batch::workbookText(text, &said), written);
    QCOMPARE(said, change);
}

namespace {

// A workbook part held in memory, given whole at the first read.
class HeldPart : public batch::PartStream {
public:
    explicit HeldPart(QByteArray bytes) : bytes_(std::move(bytes)) {}
    QByteArray read(bool *) override { return std::exchange(bytes_, {}); }

private:
    QByteArray bytes_;
};

// A one-sheet workbook whose first row is the header and then `rows`, as
// the sheet's XML of <row> elements.
batch::PartOpener workbookOf(const QByteArray &rows)
{
    QByteArray header = "<row r=\"1\">";
    const QByteArrayList names{"Amostra", "Argila", "P", "K", "MO", "Al", "Ca", "Mg", "CTC", "V", "Rendimento"};
    for (const QByteArray &name : names)
        header += "<c t=\"inlineStr\"><is><t>" + name + "</t></is></c>";
    header += "</row>";
    const QHash<QString, QByteArray> parts{
        {"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Laudos\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>" + header + rows + "</sheetData></worksheet>"},
    };
    return [parts](const QString &name, QString *error) -> std::unique_ptr<batch::PartStream> {
        if (!parts.contains(name)) {
            *error = "no part " + name;
            return nullptr;
        }
        return std::make_unique<HeldPart>(parts.value(name));
    };
}

} // namespace

// A workbook's cells read as the spreadsheet holds them: a number stored as
// a number is that number whatever the texts around it write, a true or false
// is no number, and the cells a spreadsheet leaves out are empty.
void TstLabFile::workbookCells_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<int>("line");
    QTest::addColumn<double>("calcium");
    QTest::addColumn<double>("yield");
    QTest::addColumn<QString>("error");
    // Texts with decimal commas make the sheet's decimal mark a comma.
    const QByteArray start = "<c><v>1</v></c><c><v>35</v></c>"
                             "<c t=\"inlineStr\"><is><t>6,5</t></is></c><c><v>40</v></c>"
                             "<c t=\"inlineStr\"><is><t>2,1</t></is></c><c t=\"inlineStr\"><is><t>0,4</t></is></c>";
    const QByteArray rest = "<c t=\"inlineStr\"><is><t>0,8</t></is></c><c><v>8.5</v></c><c><v>35</v></c>";
    QTest::newRow("three decimals of a number among comma texts")
        << "<row r=\"2\">" + start + "<c><v>1.125</v></c>" + rest + "<c><v>30</v></c></row>" << 2 << 1.125 << 30.0 << QString();
    QTest::newRow("the last cells left out")
        << "<row r=\"2\">" + start + "<c><v>2</v></c>" + rest + "</row>" << 2 << 2.0 << 25.0 << QString();
    QTest::newRow("a cell left out in the middle")
        << QByteArray("<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\"><v>35</v></c><c r=\"C3\"><v>6</v></c><c r=\"D3\"><v>40</v></c>"
           "<c r=\"E3\"><v>2</v></c><c r=\"F3\"><v>0.4</v></c><c r=\"G3\"><v>2</v></c><c r=\"H3\"><v>0.8</v></c>"
           "<c r=\"J3\"><v>35</v></c></row>")
        << 3 << 2.0 << 25.0 << QString("linha 3, coluna CTC: vazia");
    QTest::newRow("a true is no number")
        << "<row r=\"2\">" + start + "<c t=\"b\"><v>1</v></c>" + rest + "</row>" << 2 << 0.0 << 25.0
        << QString("linha 2, coluna Ca: 'VERDADEIRO' não é um número");
    QTest::newRow("a row without its number follows the one before")
        << "<row>" + start + "<c><v>2</v></c>" + rest + "</row>" << 2 << 2.0 << 25.0 << QString();
}

void TstLabFile::workbookCells()
{
    QFETCH(QByteArray, row);
    QFETCH(int, line);
    QFETCH(double, calcium);
    QFETCH(double, yield);
    QFETCH(QString, error);
    batch::LabFile lab(std::make_unique<batch::XlsxReader>(workbookOf(row), QString()));
    QCOMPARE(lab.error(), QString());
    batch::CsvRecord record;
    QString notSample;
    QVERIFY(lab.next(record, &notSample));
    const batch::LabSample s = batch::readSample(record, lab.map(), 25);
    QCOMPARE(s.line, line);
    QCOMPARE(s.error, error);
    if (!error.isEmpty())
        return;
    QCOMPARE(*s.value(batch::Column::Ca), calcium);
    QCOMPARE(*s.value(batch::Column::Rendimento), yield);
}

namespace {

// Records given as they are, with the spans a workbook's merged cells give.
class HeldRecords : public batch::RecordReader {
public:
    explicit HeldRecords(QList<batch::CsvRecord> records) : records_(std::move(records)) {}
    bool next(batch::CsvRecord &record) override
    {
        if (at_ >= records_.size())
            return false;
        record = records_[at_++];
        return true;
    }
    void rewind() override { at_ = 0; }

private:
    QList<batch::CsvRecord> records_;
    qsizetype at_ = 0;
};

// A CSV's records, with merges ("2:3:5": line 2, the cell of column 3 over 5 columns).
std::unique_ptr<batch::RecordReader> recordsOf(const QByteArray &csv, const QString &merges)
{
    QList<batch::CsvRecord> records;
    batch::CsvReader reader(csv);
    batch::CsvRecord record;
    while (reader.next(record))
        records << record;
    for (const QString &merge : merges.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = merge.split(':');
        for (batch::CsvRecord &r : records)
            if (r.line == parts[0].toInt()) {
                r.spans.resize(r.fields.size(), 1);
                r.spans[parts[1].toInt()] = parts[2].toInt();
            }
    }
    return std::make_unique<HeldRecords>(records);
}

// The first sample of a file and what follows it.
struct FirstSample {
    QString error; // the file's
    batch::LabSample sample;
    QStringList rest; // what the rows after it are: "" for a sample, else why not one
};

FirstSample firstSample(std::unique_ptr<batch::RecordReader> reader, const QList<batch::ChosenColumn> &chosen = {})
{
    FirstSample first;
    batch::LabFile lab(std::move(reader), chosen);
    first.error = lab.error();
    if (!first.error.isEmpty())
        return first;
    batch::CsvRecord record;
    QString notSample;
    if (!lab.next(record, &notSample))
        return first;
    first.sample = batch::readSample(record, lab.map(), 25);
    while (lab.next(record, &notSample))
        first.rest << notSample;
    return first;
}

} // namespace

// Units and methods where laboratories put them: a merged unit cell, a unit
// with blanks to its right, a row of methods, a group above the names, SI
// notation, wrapped headers, values saved as shown, pH by its method, a
// client block above and a note below. Every layout holds the same sample:
// clay 35 %, pH 5,4 in water, K 58,65 mg/dm³, MO 2,1 %, Ca 2,1 and CTC 8,5
// cmolc/dm³, V 35 %.
void TstLabFile::unitsAroundTheHeader_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("merges");
    QTest::addColumn<double>("ph"); // -1: no pH in water
    QTest::addColumn<QStringList>("rest");

    const QByteArray sp = "Amostra;Argila;pH;P;K;Ca;Mg;Al;CTC;MO;V\n";
    const QByteArray inMmolc = "A1;350;5,4;6;1,5;21;8;4;85;21;35\n";
    QTest::newRow("a unit merged over K to CTC")
        << sp + ";g/kg;;mg/dm³;mmolc/dm³;;;;;g/dm³;%\n" + inMmolc << "2:4:5" << 5.4 << QStringList();
    QTest::newRow("a unit with blanks to its right, as a CSV or .xls writes it")
        << sp + ";g/kg;;mg/dm³;mmolc/dm³;;;;;g/dm³;%\n" + inMmolc << "" << 5.4 << QStringList();
    QTest::newRow("one merged unit over MO and clay")
        << QByteArray("Amostra;pH;P;K;Ca;Mg;Al;CTC;V;MO;Argila\n;;mg/dm³;mmolc/dm³;;;;;%;g/kg;\n"
                      "A1;5,4;6;1,5;21;8;4;85;35;21;350\n")
        << "2:9:2 2:3:5" << 5.4 << QStringList();
    QTest::newRow("a unit with blanks stops at a column that cannot take it")
        << QByteArray("Amostra;Argila;pH;MO;P;K;Ca;Mg;Al;CTC;V\n;g/kg;;;;;;;;;\n"
                      "A1;350;5,4;2,1;6;58,65;2,1;0,8;0,4;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("a row of methods between the header and the units")
        << QByteArray("Amostra;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n"
                      ";Pipeta;H2O;Mehlich-1;Mehlich-1;Walkley-Black;KCl 1 mol/L;KCl 1 mol/L;KCl 1 mol/L;Cálculo;Cálculo\n"
                      ";g/kg;;mg/dm³;cmolc/dm³;g/dm³;cmolc/dm³;cmolc/dm³;cmolc/dm³;cmolc/dm³;%\n"
                      "A1;350;5,4;6;0,15;21;0,4;2,1;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("a group above the names")
        << QByteArray(";Granulometria (g/kg);;;;;Complexo sortivo (mmolc/dm³);;;;\n"
                      "Amostra;Argila;pH;P;K (mg/dm³);MO (%);Ca;Mg;Al;CTC;V (%)\n"
                      "A1;350;5,4;6;58,65;2,1;21;8;4;85;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("SI notation")
        << QByteArray("Amostra;Argila (g kg-1);pH;P (mg dm-3);K (mmolc dm-3);M.O. (g kg⁻¹);Al (cmolc dm-3);"
                      "Ca (mmolc dm-3);Mg (cmolc dm⁻³);CTC (cmolc dm-3);V (%)\n"
                      "A1;350;5,4;6;1,5;21;0,4;21;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("dag kg-1 and dag/dm³")
        << QByteArray("Amostra;Argila (dag kg-1);pH;P;K;MO (dag/dm³);Al;Ca;Mg;CTC;V\n"
                      "A1;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("wrapped headers")
        << QByteArray("Amostra;\"Argila\n(g/kg)\";\"pH\n(H2O)\";\"P Mehlich-1\n(mg/dm³)\";\"K Mehlich-1\n(cmolc/dm³)\";"
                      "\"M.O.\n(g/dm³)\";Al;Ca;Mg;\"CTC\n(mmolc/dm³)\";V\n"
                      "A1;350;5,4;6;0,15;21;0,4;2,1;0,8;85;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("values saved as shown")
        << QByteArray("Amostra;Argila;pH;P;K;MO (%);Al;Ca;Mg;CTC;V (%)\n"
                      "A1;35%;5,4;6;58,65;2,10 %;0,4;2,1;0,8;8,5;35,0%\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("pH em água (1:2,5)")
        << QByteArray("Amostra;Argila;pH em água (1:2,5);P;K;MO;Al;Ca;Mg;CTC;V\n"
                      "A1;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("pH H2O (1:2,5)")
        << QByteArray("Amostra;Argila;pH H2O (1:2,5);P;K;MO;Al;Ca;Mg;CTC;V\n"
                      "A1;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("pH with CaCl2 in the row below is not pH in water")
        << QByteArray("Amostra;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n;;CaCl2;;;;;;;;\n"
                      "A1;35;4,9;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "" << -1.0 << QStringList();
    QTest::newRow("two pH columns, their methods below")
        << QByteArray("Amostra;Argila;pH;pH;P;K;MO;Al;Ca;Mg;CTC;V\n;%;H2O;CaCl2;mg/dm³;;%;;;;;%\n"
                      "A1;35;5,4;4,9;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "" << 5.4 << QStringList();
    QTest::newRow("pH over its methods, merged")
        << QByteArray(";;pH;;\nAmostra;Argila;CaCl2;H2O;P;K;MO;Al;Ca;Mg;CTC;V\n"
                      "A1;35;4,9;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "1:2:2" << 5.4 << QStringList();
    QTest::newRow("pH SMP in the group above")
        << QByteArray(";;pH SMP;\nAmostra;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n"
                      "A1;35;6,1;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n")
        << "1:2:1" << -1.0 << QStringList();
    QTest::newRow("a client block above, a note below")
        << QByteArray("Cliente:;João da Silva;Município:;Laje;Propriedade:;Sítio Boa Vista\n"
                      "Amostra;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n"
                      "A1;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n"
                      "Métodos: P e K por Mehlich-1; Al, Ca e Mg por KCl 1 mol/L;;;;;;;;;\n"
                      "* Resultados em base seca.\n")
        << "" << 5.4
        << QStringList{"Métodos: P e K por Mehlich-1", "* Resultados em base seca."};
}

void TstLabFile::unitsAroundTheHeader()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, merges);
    QFETCH(double, ph);
    QFETCH(QStringList, rest);
    const FirstSample first = firstSample(recordsOf(csv, merges));
    QCOMPARE(first.error, QString());
    const batch::LabSample &s = first.sample;
    QCOMPARE(s.error, QString());
    QCOMPARE(*s.value(batch::Column::Argila), 35.0);
    QCOMPARE(*s.value(batch::Column::K), 58.65);
    QCOMPARE(*s.value(batch::Column::Mo), 2.1);
    QCOMPARE(*s.value(batch::Column::Ca), 2.1);
    QCOMPARE(*s.value(batch::Column::Al), 0.4);
    QCOMPARE(*s.value(batch::Column::Ctc), 8.5);
    QCOMPARE(*s.value(batch::Column::V), 35.0);
    QCOMPARE(s.value(batch::Column::Ph).value_or(-1), ph);
    QCOMPARE(first.rest, rest);
}

// The file's own SB, t, H+Al, V and m checked against its cations, within
// the places each is printed with.
void TstLabFile::fileSums_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("error");
    const QString header = "Amostra;Argila;P;K (cmolc/dm³);Ca;Mg;Al;H+Al;SB;t;T;V;m\n";
    QTest::newRow("all agree") << header + "A1;35;6;0,15;2,1;0,8;0,4;5,5;3,0;3,4;8,5;35;12" << "";
    QTest::newRow("SB is not the bases")
        << header + "A1;35;6;0,15;2,1;0,8;0,4;5,5;3,5;3,9;9,0;39;10"
        << "linha 2, colunas SB, K (cmolc/dm³), Ca, Mg: K + Ca + Mg dá 3,05 cmolc/dm³, mas a coluna SB tem 3,50 cmolc/dm³";
    QTest::newRow("T is not SB + H+Al")
        << header + "A1;35;6;0,15;2,1;0,8;0,4;4,2;3,0;3,4;8,5;35;12"
        << "linha 2, colunas T, SB, H+Al: SB + (H+Al) dá 7,20 cmolc/dm³, mas a coluna T tem 8,50 cmolc/dm³";
    QTest::newRow("V is not 100·SB/T")
        << header + "A1;35;6;0,15;2,1;0,8;0,4;5,5;3,0;3,4;8,5;22;12"
        << "linha 2, colunas V, SB, T: 100·SB/T dá 35,3 %, mas a coluna V tem 22,0 %";
    QTest::newRow("t and m without SB, from the bases")
        << "Amostra;Argila;P;K;Ca;Mg;Al;t;CTC;V;m;MO\nA1;35;6;58,65;2,1;0,8;0,4;2,9;8,5;35;12;2"
        << "linha 2, colunas t, K, Ca, Mg, Al: (K + Ca + Mg) + Al dá 3,45 cmolc/dm³, mas a coluna t tem 2,90 cmolc/dm³";
    // Ca read ten times too large shows in the sums.
    QTest::newRow("a unit misread")
        << "Amostra;Argila;P;K;Ca;Mg;Al;SB;CTC;V;MO\nA1;35;6;58,65;21;0,8;0,4;3,0;8,5;35;2"
        << "linha 2, colunas SB, K, Ca, Mg: K + Ca + Mg dá 21,95 cmolc/dm³, mas a coluna SB tem 3,00 cmolc/dm³";
}

void TstLabFile::fileSums()
{
    QFETCH(QString, row);
    QFETCH(QString, error);
    QString csv = row + "\n";
    if (!csv.contains("MO"))
        csv.replace(";m\n", ";m;MO\n").replace(QRegularExpression("(\\d)\n$"), "\\1;2\n");
    const QList<batch::LabSample> s = samplesOf(csv.toUtf8());
    QCOMPARE(s.size(), 1);
    QCOMPARE(s[0].error, error);
}

// A column whose unit the file does not state is the program's only where
// its values are a soil's: else the file stops, naming the column, the
// unit its values point to and the option that states it.
void TstLabFile::unstatedUnits_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("options"); // the options the message names, in order
    QTest::addColumn<bool>("iac");
    const QByteArray bare = "Amostra;K;Ca;Mg;Al;H+Al;SB;T;V;M.O.;Argila;pH CaCl2;P\n";
    // A sandy soil in the São Paulo convention: mmolc/dm³, g/dm³, g/kg.
    const QByteArray saoPaulo = bare + "A1;5,3;34;12;1;28;51,3;79,3;65;18;95;5,4;12\n"
                                       "A2;2,1;30;9;2;25;41,1;66,1;62;14;150;5,1;9\n"
                                       "A3;3,0;41;15;0;22;59,0;81,0;73;21;60;5,8;30\n";
    const QStringList all{"--coluna K=K:mmolc/dm³", "--coluna Ca=Ca:mmolc/dm³", "--coluna Mg=Mg:mmolc/dm³",
                          "--coluna Al=Al:mmolc/dm³", "--coluna H+Al=H+Al:mmolc/dm³", "--coluna SB=SB:mmolc/dm³",
                          "--coluna CTC=T:mmolc/dm³", "--coluna MO=M.O.:g/dm³", "--coluna Argila=Argila:g/kg"};
    QTest::newRow("the São Paulo convention") << saoPaulo << all << true;
    QTest::newRow("clay above 100 in one sample")
        << QByteArray("Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nA1;350;6;40;2;0,4;2;1;8;35\nA2;60;6;40;2;0,4;2;1;8;35\n")
        << QStringList{"--coluna Argila=Argila:g/kg"} << false;
    QTest::newRow("MO above 15 in most samples")
        << QByteArray("Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nA1;35;6;40;21;0,4;2;1;8;35\nA2;35;6;40;18;0,4;2;1;8;35\n")
        << QStringList{"--coluna MO=MO:g/dm³"} << false;
    QTest::newRow("Ca stated in cmolc/dm³, values in mmolc/dm³")
        << QByteArray("Amostra;Argila;P;K;MO;Al;Ca (cmolc/dm³);Mg;CTC;V\nA1;35;6;40;2;0,4;30;1;8;35\n")
        << QStringList{"--coluna \"Ca=Ca (cmolc/dm³):mmolc/dm³\""} << false;
    QTest::newRow("K under 10 mg/dm³ where SB says more")
        << QByteArray("Amostra;Argila;P;K;MO;Al;Ca (cmolc/dm³);Mg (cmolc/dm³);SB;CTC;V\n"
                      "A1;35;6;0,15;2;0,4;2,1;0,8;3,05;8,5;36\nA2;35;6;0,2;2;0,4;2,1;0,8;3,1;8,5;36\n")
        << QStringList{"--coluna K=K:cmolc/dm³"} << false;
}

void TstLabFile::unstatedUnits()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, options);
    QFETCH(bool, iac);
    const FirstSample stopped = firstSample(recordsOf(csv, {}));
    qsizetype from = 0;
    for (const QString &option : options) {
        const qsizetype at = stopped.error.indexOf(option, from);
        QVERIFY2(at >= 0, qPrintable(option + " | " + stopped.error));
        from = at + option.size();
    }
    QCOMPARE(stopped.error.contains("--unidades-iac"), iac);
    QVERIFY2(stopped.error.count("--coluna") == options.size(), qPrintable(stopped.error));

    // Said, the units read right.
    QList<batch::ChosenColumn> chosen;
    if (iac)
        chosen = batch::iacConvention();
    else
        for (const QString &option : options) {
            QString value = option.mid(9);
            value.remove('"');
            const QString header = value.section('=', 1).section(':', 0, -2);
            chosen << batch::ChosenColumn{*batch::columnNamed(value.section('=', 0, 0)), header, value.section(':', -1)};
        }
    const FirstSample read = firstSample(recordsOf(csv, {}), chosen);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.sample.error, QString());
    if (iac) {
        QCOMPARE(*read.sample.value(batch::Column::K), 207.23);
        QCOMPARE(*read.sample.value(batch::Column::Ca), 3.4);
        QCOMPARE(*read.sample.value(batch::Column::Ctc), 7.93);
        QCOMPARE(*read.sample.value(batch::Column::Mo), 1.8);
        QCOMPARE(*read.sample.value(batch::Column::Argila), 9.5);
        QVERIFY(!read.sample.value(batch::Column::Ph));
    }
}

QTEST_GUILESS_MAIN(TstLabFile)
#include "tst_lab_file.moc"
