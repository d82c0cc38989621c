#include "agronomy/Applications.h"
#include "batch/BatchRun.h"
#include "batch/CsvTable.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "reports/ReportFile.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"
#include "unprivileged.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPlainTextEdit>
#include <QProcess>
#include <xlsxwriter.h>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// The lab-file run against the window, sample by sample, and the program's
// command line: what it writes, what it refuses, and its exit status.
class TstLabBatch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sameAsTheWindow_data();
    void sameAsTheWindow();
    void badSamplesAmongGood();
    void failedWriteKeepsThePreviousReport();
    void workingOfEverySample();
    void commandLine_data();
    void commandLine();
    void help();
    void fileFormatsNotLoadedAtStart();
    void fileModes_data();
    void fileModes();
    void partialFailures_data();
    void partialFailures();
    void killedRunThenAgain();
    void convertedValuesWithoutNoise_data();
    void convertedValuesWithoutNoise();
    void workbookWithHostileTexts();
    void asTheLaboratorySendsIt();
    void withPrices_data();
    void withPrices();
    void seasonsIntoTheStore();
    void saoPauloConvention_data();
    void saoPauloConvention();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_;
};

namespace {

const QDate planting(2025, 10, 1);
const QString technician = QStringLiteral("Eng. Agr. Ana Sá /CREA 12345");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The page's text as a reader of the PDF sees it.
QString pdfText(const QByteArray &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-"), QStringLiteral("-")});
    p.waitForStarted();
    p.write(pdf);
    p.closeWriteChannel();
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The summary's cells by column title, one map per row, read back with the
// program's own CSV reader.
QList<QHash<QString, QString>> summaryRows(const QString &path)
{
    const batch::CsvTable table = batch::readCsv(readAll(path));
    QList<QHash<QString, QString>> rows;
    for (const batch::CsvRecord &record : table.records) {
        QHash<QString, QString> row;
        for (int i = 0; i < table.header.size(); ++i)
            row[table.header[i]] = record.fields.value(i);
        rows << row;
    }
    return rows;
}

batch::Console quietConsole(QStringList *messages = nullptr)
{
    batch::Console c;
    c.message = [messages](const QString &text) {
        if (messages)
            *messages << text;
    };
    return c;
}

void click(QPushButton *button)
{
    const QStringList shown = gui::messagesDuring([&] { QTest::mouseClick(button, Qt::LeftButton); });
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
}

// "Relatório *.pdf" with its preview closed at once; the PDF it would export.
QByteArray windowPdf(TFPrincipal &w)
{
    gui::whileOpen<ReportPreview>([&] { click(w.Button16); });
    return w.frxPDFExport1->document(*w.frxReport1);
}

const char *const analysisFields[] = {"Edit1", "Edit70", "Edit2", "Edit3", "Edit4", "Edit5",
                                      "Edit6", "Edit7",  "Edit8", "Edit9", "Edit12"};
const char *const identificationFields[] = {"Edit55", "Edit56", "Edit57", "Edit58", "Edit59", "Edit60"};
// A lab file of `count` plausible samples S0001, S0002, ...
QByteArray labFile(int count)
{
    QByteArray csv = "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n";
    for (int i = 1; i <= count; ++i)
        csv += QStringLiteral("S%1;%2;%3;%4;2,1;0,4;2,1;0,8;8,5;%5\n")
                   .arg(i, 4, 10, QLatin1Char('0'))
                   .arg(10 + i % 60)
                   .arg(1 + i % 40)
                   .arg(20 + i % 150)
                   .arg(15 + i % 60)
                   .toUtf8();
    return csv;
}

// The program, with no display, as the laboratory runs it.
void startProgram(QProcess &p, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TUBERON_PROGRAM), arguments);
}

// Everything in a folder, hidden files too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// A store's price list, and one the program cannot be sure of.
const QByteArray priceList = "Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$);Data;Loja\n"
                             "Uréia;45;0;0;50;189,90;30/11/2026;Casa do Adubo\n"
                             "Sulfato de amônio;20;0;0;50;110;30/11/2026;Casa do Adubo\n"
                             "Superfosfato Simples;0;18;0;50;95;30/11/2026;Casa do Adubo\n"
                             "Superfosfato Triplo;0;41;0;50;210;30/11/2026;Casa do Adubo\n"
                             "Cloreto de Potássio;0;0;58;50;200;30/11/2026;Casa do Adubo\n"
                             "Adubo 04-14-08;4;14;8;50;120;01/12/2026;Casa do Adubo\n"
                             "Adubo 20-00-20;20;0;20;25;95;01/12/2026;Casa do Adubo\n";
const QByteArray doubtfulPriceList = "Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\n"
                                     "Uréia;45;0;0;50;190\n"
                                     "Cloreto de Potássio;0;0;58;50;1.200\n";

const QString header = QStringLiteral(
    "Amostra;Produtor;CPF;Localidade;Município;Talhão;Nº do laudo;Argila (%);pH água;P (mg/dm³);K (mg/dm³);"
    "MO (%);Al;Ca;Mg;CTC;V (%);Rendimento (t/ha)");

} // namespace

void TstLabBatch::init()
{
#if defined(__SANITIZE_ADDRESS__)
    // Whole runs of the sanitized program as a child process have ended,
    // now and then and only on a loaded machine, with a status the same run
    // never gives again; until that is understood they run in the ordinary
    // suite only, and the sanitizers keep the in-process runs.
    static const QByteArrayList wholeRuns{"commandLine", "help", "fileFormatsNotLoadedAtStart", "fileModes",
                                          "killedRunThenAgain", "asTheLaboratorySendsIt", "seasonsIntoTheStore"};
    if (wholeRuns.contains(QTest::currentTestFunction()))
        QSKIP("a whole run of the sanitized program: ordinary suite only");
#endif
    previous_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    reports::setOpener([](const QString &) {});
}

void TstLabBatch::cleanup()
{
    QDir::setCurrent(previous_);
    dir_.reset();
}

void TstLabBatch::sameAsTheWindow_data()
{
    QTest::addColumn<QStringList>("identification"); // Edit55 .. Edit60
    QTest::addColumn<QStringList>("analysis");       // Edit1, Edit70, Edit2 .. Edit9, Edit12
    QTest::addColumn<QString>("prnt");

    QTest::newRow("low buffering, K2O within 40 at planting")
        << QStringList{"João D'Ávila", "123.456.789-00", "Km 5", "Cruz das Almas", "Sítio \"Boa Vista\"", "L-77/2025"}
        << QStringList{"35", "5,4", "6", "40", "2,1", "0,4", "2,1", "0,8", "8,5", "35", "25"} << "";
    QTest::newRow("base saturation, capped, yield above 25, PRNT")
        << QStringList{"Maria", "", "", "Ibirapitanga", "Gleba 2", ""}
        << QStringList{"62", "4,8", "2", "25", "3,2", "0,8", "1,2", "0,4", "16,5", "12", "38,5"} << "75";
    QTest::newRow("sandy, very high P and K, low need")
        << QStringList{"Zé", "", "", "", "", "7"}
        << QStringList{"12", "6,2", "80", "200", "0,9", "0", "2,5", "1,2", "4,1", "70", "20"} << "100";
    QTest::newRow("well buffered, not capped, K2O above 40")
        << QStringList{"Coop. Sul", "", "", "", "", ""}
        << QStringList{"45", "5,6", "9,5", "95", "5,5", "0,1", "3,4", "1,1", "10", "38", "30"} << "85,5";
}

// A technician types the analysis field by field, runs the liming and both
// splits and writes both reports; the lab file with the same analysis gives
// the same values, the same text report bytes and the same page text.
void TstLabBatch::sameAsTheWindow()
{
    QFETCH(QStringList, identification);
    QFETCH(QStringList, analysis);
    QFETCH(QString, prnt);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");

    auto w = gui::openWindow(gui::comma());
    // The producer's fields have no handler; accents cannot be typed by key codes.
    for (int i = 0; i < 6; ++i)
        gui::find(w.get(), identificationFields[i])->setText(identification[i]);
    for (int i = 0; i < 11; ++i)
        gui::typeAndLeave(gui::find(w.get(), analysisFields[i]), analysis[i],
                          gui::find(w.get(), analysisFields[(i + 1) % 11]));
    gui::leaveTo(w->Edit55);
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    click(w->Button1);
    if (!prnt.isEmpty()) {
        gui::typeAndLeave(w->Edit24, prnt, w->Edit23);
        click(w->Button2);
    }
    click(w->Button3);
    click(w->Button4);
    w->Edit15->setText(technician);
    QTest::mouseClick(w->RadioButton8, Qt::LeftButton);
    w->DateTimePicker2->setDate(planting);
    click(w->Button12);
    const QByteArray windowText = readAll(QStringLiteral("RelTuberon.txt"));
    const QString windowPage = pdfText(windowPdf(*w));
    QVERIFY(windowPage.contains(QStringLiteral("Recomendações:")));

    QStringList row{QStringLiteral("S-1")};
    for (QString cell : identification + analysis)
        row << (cell.contains(';') || cell.contains('"') ? '"' + cell.replace('"', "\"\"") + '"' : cell);
    writeFile(QStringLiteral("amostras.csv"), (header + "\r\n" + row.join(';') + "\r\n").toUtf8());
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    if (!prnt.isEmpty())
        options.prnt = prnt.replace(',', '.').toDouble();
    options.planting = planting;
    options.technician = technician;
    QStringList messages;
    QCOMPARE(batch::run(options, gui::comma(), quietConsole(&messages)), batch::AllDone);
    QCOMPARE(messages, QStringList());

    QCOMPARE(readAll(QStringLiteral("saida/S-1.txt")), windowText);
    QCOMPARE(pdfText(readAll(QStringLiteral("saida/S-1.pdf"))), windowPage);

    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/resumo.csv"));
    QCOMPARE(rows.size(), 1);
    const QHash<QString, QString> s = rows[0];
    using namespace applications;
    const QList<std::pair<QString, QString>> expected{
        {"Amostra", "S-1"},
        {"Linha", "2"},
        {"Classe de argila", w->Edit68->text()},
        {"Classe de P", w->Edit11->text()},
        {"Classe de K", w->Edit10->text()},
        {"Classe de CTC", w->Edit69->text()},
        {"Critério de calagem", w->Memo1->toPlainText().split('\n').value(1)},
        {"Calagem (t/ha)", w->Edit61->text()},
        {"Calagem comercial (t/ha)", prnt.isEmpty() ? QString() : w->Edit25->text()},
        {"N (kg/ha)", w->edit30->text()},
        {"P2O5 (kg/ha)", w->edit32->text()},
        {"K2O (kg/ha)", w->edit31->text()},
        {"N plantio", w->stga3->cell(NColumn, Planting)},
        {"N 1ª", w->stga3->cell(NColumn, FirstTopDressing)},
        {"N 2ª", w->stga3->cell(NColumn, SecondTopDressing)},
        {"N 3ª", w->stga3->cell(NColumn, ThirdTopDressing)},
        {"K2O plantio", w->stga3->cell(K2OColumn, Planting)},
        {"K2O 1ª", w->stga3->cell(K2OColumn, FirstTopDressing)},
        {"Erro", ""},
        {"Aviso", ""},
        {"Arquivos", "S-1.pdf, S-1.txt"},
    };
    for (const auto &[title, value] : expected) {
        QVERIFY2(!value.isEmpty() || title == "Erro" || title == "Aviso" || title.startsWith("K2O 1") || title.startsWith("Calagem comercial"),
                 qPrintable(title));
        QCOMPARE(s.value(title), value);
    }
    QCOMPARE(s.size(), expected.size());
}

// Samples that cannot be done get their reason and no files; every other
// sample is done, and the run ends with status 1.
void TstLabBatch::badSamplesAmongGood()
{
    writeFile(QStringLiteral("amostras.csv"),
              "Identificação,Argila (g/kg),P,K (cmolc/dm³),M.O. (g/dm³),Al (mmolc/dm³),Ca (mmolc/dm³),"
              "Mg (mmolc/dm³),CTC (mmolc/dm³),V%\n"
              "A1,350,6,0.1,21,4,21,8,85,35\n"
              "A2,350,n.d.,0.1,21,4,21,8,85,35\n"
              "A1,350,6,0.1,21,4,21,8,85,35\n"
              "A4,350,6,,21,4,21,8,85,35\n"
              ",1200,6,0.1,21,4,21,8,85,35\n"
              "A6,350,6,0.1,21,4,21,0,85,35\n");
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida/sub");
    QStringList messages;
    QCOMPARE(batch::run(options, gui::comma(), quietConsole(&messages)), batch::SomeNotDone);
    QCOMPARE(QDir(QStringLiteral("saida/sub")).entryList(QDir::Files, QDir::Name).join(' '),
             QStringLiteral("A1-2.pdf A1-2.txt A1.pdf A1.txt resumo.csv resumo.xlsx"));

    const QStringList errors{
        "",
        "linha 3, coluna P: 'n.d.' não medido",
        "",
        "linha 5, coluna K (cmolc/dm³): vazia",
        "linha 6, coluna Argila (g/kg): '1200' acima de 100",
        // Ca / Mg stops the window's handler; the sample stops with its message.
        "linha 7: Floating point division by zero",
    };
    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/sub/resumo.csv"));
    QCOMPARE(rows.size(), errors.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].value("Linha"), QString::number(i + 2));
        QCOMPARE(rows[i].value("Erro"), errors[i]);
        QCOMPARE(rows[i].value("N (kg/ha)").isEmpty(), !errors[i].isEmpty());
    }
    // The repeated identification's files are named in its row.
    QCOMPARE(rows[0].value("Arquivos"), QStringLiteral("A1.pdf, A1.txt"));
    QCOMPARE(rows[2].value("Arquivos"), QStringLiteral("A1-2.pdf, A1-2.txt"));
    QCOMPARE(rows[1].value("Arquivos"), QString());
    QCOMPARE(messages, errors.mid(1, 1) + errors.mid(3));
    // Units converted before the rules: 350 g/kg of clay is "Classe 3", 0.1
    // cmolc/dm³ of K is 39.1 mg/dm³, 85 mmolc/dm³ of CTC 8.5 cmolc/dm³.
    QCOMPARE(rows[0].value("Classe de argila"), QStringLiteral("Classe 3"));
    QCOMPARE(rows[0].value("Classe de K"), QStringLiteral("Baixo"));
    QCOMPARE(rows[0].value("Classe de CTC"), QStringLiteral("Média"));
    const QByteArray text = readAll(QStringLiteral("saida/sub/A1.txt"));
    QVERIFY(text.contains("Argila (%)= 35; pH =;  P (mg/dm\xb3) = 6; K (mg/dm\xb3) = 39,1\r\n"));
    QVERIFY(text.contains("Mg (cmol/dm\xb3) = 0,8; CTC (cmol/dm\xb3) = 8,5; V -Sat bases (%) = 35\r\n"));
}

// A report that cannot be written whole keeps the previous one and is the
// sample's error; the summary says so.
void TstLabBatch::failedWriteKeepsThePreviousReport()
{
    writeFile(QStringLiteral("amostras.csv"), "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nA1;35;6;40;2;0,4;2;1;8;35\n");
    QDir().mkdir(QStringLiteral("saida"));
    writeFile(QStringLiteral("saida/A1.pdf"), "previous report");
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 30000; // room for the text report and the summary, not for the page
    setrlimit(RLIMIT_FSIZE, &small);
    QStringList messages;
    const batch::ExitStatus status = batch::run(options, gui::comma(), quietConsole(&messages));
    setrlimit(RLIMIT_FSIZE, &old);

    QCOMPARE(status, batch::SomeNotDone);
    QCOMPARE(readAll(QStringLiteral("saida/A1.pdf")), QByteArray("previous report"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith("linha 2: não foi possível gravar \"saida/A1.pdf\": "), qPrintable(messages[0]));
    QCOMPARE(summaryRows(QStringLiteral("saida/resumo.csv")).value(0).value("Erro"), messages[0]);
    // The sample's two reports go together: its text report is not written either.
    QCOMPARE(QDir(QStringLiteral("saida")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"A1.pdf", "resumo.csv", "resumo.xlsx"}));
}

// With --memoria every sample also gets its working, told with its own
// numbers; a sample's files still go all together or not at all.
void TstLabBatch::workingOfEverySample()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    writeFile(QStringLiteral("amostras.csv"), "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V;Rendimento\n"
                                              "A1;35;6,5;40;1,5;0,4;1;0,5;8;30;30\n"
                                              "A2;35;6;40;2;0,4;2;0;8;35;25\n"
                                              "A3;62;2;25;3,2;0,8;1,2;0,4;16,5;12;25\n");
    // Where A3's working would go stands a folder: none of A3's files is written.
    QVERIFY(QDir().mkpath(QStringLiteral("saida/A3-memoria.pdf")));
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    options.prnt = 80;
    options.working = true;
    QStringList messages;
    QCOMPARE(batch::run(options, gui::comma(), quietConsole(&messages)), batch::SomeNotDone);
    QCOMPARE(entries(QStringLiteral("saida")), (QStringList{"A1-memoria.pdf", "A1.pdf", "A1.txt", "A3-memoria.pdf",
                                                             "resumo.csv", "resumo.xlsx"}));
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0], QStringLiteral("linha 3: Floating point division by zero"));
    QVERIFY2(messages[1].startsWith(QStringLiteral("linha 4: não foi possível gravar \"saida/A3-memoria.pdf\"")),
             qPrintable(messages[1]));
    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/resumo.csv"));
    QCOMPARE(rows.value(0).value("Arquivos"), QStringLiteral("A1.pdf, A1.txt, A1-memoria.pdf"));

    // Each part of the recommendation, in the order computed, with the
    // sample's numbers written as the fields write them.
    const QString text = pdfText(readAll(QStringLiteral("saida/A1-memoria.pdf"))).simplified();
    const QStringList expected{
        "Memória de cálculo",
        "Argila: 35 %; P: 6,5 mg/dm³; K: 40 mg/dm³",
        "Interpretação da análise do solo",
        "Classe de P: Médio. Argila 35 % (> 20 % e ≤ 40 %) → classe 3, limites de P 3,0 / 6,0 / 9,0 / 18,0 mg/dm³; "
        "P = 6,5 mg/dm³ está acima de 6,0 e até 9,0.",
        "Doses de N, P2O5 e K2O",
        "Dose de N: 77,50 kg/ha. Produtividade esperada 30 t/ha: excedente sobre 25 t/ha = 5 t/ha; MO 1,5 % (≤ 2,5 %): "
        "N = 70 + 1,5 × 5 = 77,50 kg/ha (teto da faixa 100 kg/ha).",
        "Calagem",
        "Necessidade de calagem: 0,84 t/ha. Baixo poder tampão (CTC 8 < 10, MO 1,5 % < 2 %;",
        "Calcário comercial: 1,050 t/ha. Necessidade (PRNT 100 %) × 100 / PRNT = 0,84 × 100 / 80 = 1,050 t/ha.",
        "Parcelamento de N e K2O",
        "K2O na 1ª cobertura: 42,50 kg/ha. K2O 82,5 kg/ha > 40 kg/ha: 40 no plantio",
    };
    qsizetype at = 0;
    for (const QString &part : expected) {
        const qsizetype found = text.indexOf(part, at);
        QVERIFY2(found >= 0, qPrintable(part + QStringLiteral("\n---\n") + text));
        at = found + part.size();
    }
}

void TstLabBatch::commandLine_data()
{
    QTest::addColumn<QString>("input");      // contents of amostras.csv; none when empty
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");    // a line of standard error
    QTest::addColumn<QStringList>("files");  // of the output folder "saida"

    const QString good = "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nA1;35;6;40;2;0,4;2;1;8;35\nA2;60;3;80;3;0;3;1;12;50\n";
    const QStringList run{"--lote", "amostras.csv", "--saida", "saida"};
    const QStringList all{"A1.pdf", "A1.txt", "A2.pdf", "A2.txt", "resumo.csv", "resumo.xlsx"};
    QTest::newRow("every sample done") << good << run << 0 << "tuberon: 2 amostras feitas" << all;
    QTest::newRow("every option") << good
                                  << run + QStringList{"--rendimento", "30,5", "--prnt", "80", "--plantio",
                                                       "2025-10-01", "--tecnico", "Ana /CREA 1"}
                                  << 0 << "tuberon: 2 amostras feitas" << all;
    QTest::newRow("silent") << good << run + QStringList{"--silencioso"} << 0 << "" << all;
    QTest::newRow("a bad sample") << good + "A3;35;6;40;2;0,4;2;1;8;abc\n" << run << 1
                                  << "tuberon: linha 4, coluna V: 'abc' não é um número" << all;
    QTest::newRow("one done, in the singular") << "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nA1;35;6;40;2;0,4;2;1;8;35\nA2;x;6;40;2;0,4;2;1;8;35\n"
                                               << run << 1
                                               << "tuberon: 1 amostra feita, 1 com erro (veja a coluna Erro do resumo)"
                                               << QStringList{"A1.pdf", "A1.txt", "resumo.csv", "resumo.xlsx"};
    QTest::newRow("missing column") << "Amostra;Argila;P;K;Al;Ca;Mg;CTC;V\nA1;35;6;40;0,4;2;1;8;35\n" << run << 2
                                    << "tuberon: \"amostras.csv\": falta a coluna MO" << QStringList();
    QTest::newRow("a header and no sample") << "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\r\n\r\n" << run << 2
                                            << "tuberon: \"amostras.csv\": o arquivo não tem amostras" << QStringList();
    QTest::newRow("a mean and no sample") << "Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\nMédia;35;6;40;2;0,4;2;1;8;35\n" << run
                                          << 2 << "tuberon: \"amostras.csv\": o arquivo não tem amostras" << QStringList();
    QTest::newRow("unknown unit") << "Argila (ppm);P;K;MO;Al;Ca;Mg;CTC;V\n35;6;40;2;0,4;2;1;8;35\n" << run << 2
                                  << "tuberon: \"amostras.csv\": coluna \"Argila (ppm)\": unidade desconhecida \"ppm\""
                                  << QStringList();
    // What the program could not guess, said by the user.
    const QString resina = "Amostra;Argila;P resina;K;MO;Al;Ca;Mg;CTC;V\nA1;35;6;40;2;0,4;2;1;8;35\nA2;60;3;80;3;0;3;1;12;50\n";
    QTest::newRow("only P resina") << resina << run << 2
                                   << "tuberon: \"amostras.csv\": falta a coluna P (\"P resina\" é fósforo por outro "
                                      "método (o programa usa o P Mehlich-1); use --coluna se for mesmo a do programa)"
                                   << QStringList();
    QTest::newRow("--coluna takes it") << resina << run + QStringList{"--coluna", "p=P resina:mg/dm³"} << 0
                                       << "tuberon: 2 amostras feitas" << all;
    QTest::newRow("--coluna with a header not in the file")
        << resina << run + QStringList{"--coluna", "P=Fósforo"} << 2
        << "tuberon: \"amostras.csv\": --coluna P: não há a coluna \"Fósforo\"" << QStringList();
    QTest::newRow("--coluna with a variable not the program's")
        << resina << run + QStringList{"--coluna", "Areia=P resina"} << 2
        << "tuberon: --coluna: 'Areia=P resina' não é VARIAVEL=CABEÇALHO[:UNIDADE] com uma variável do programa"
        << QStringList();
    QTest::newRow("--coluna twice for one variable")
        << resina << run + QStringList{"--coluna", "P=P resina", "--coluna", "p=K"} << 2
        << "tuberon: --coluna: P dada mais de uma vez" << QStringList();
    QTest::newRow("--planilha of a CSV") << good << run + QStringList{"--planilha", "Plan1"} << 2
                                         << "tuberon: \"amostras.csv\": --planilha vale só para planilhas (.xlsx, .xls, .ods); este arquivo é um CSV"
                                         << QStringList();
    QTest::newRow("no such file") << "" << run << 2 << "tuberon: não foi possível ler \"amostras.csv\": Não existe o arquivo ou pasta"
                                  << QStringList();
    QTest::newRow("output folder is a file") << good << QStringList{"--lote", "amostras.csv", "--saida", "amostras.csv"}
                                             << 2 << "tuberon: \"amostras.csv\" não é uma pasta" << QStringList();
    QTest::newRow("summary would overwrite the input")
        << good << QStringList{"--lote", "saida/resumo.csv", "--saida", "saida"} << 2
        << "tuberon: \"saida/resumo.csv\" seria gravado por cima do arquivo de entrada; escolha outra pasta"
        << QStringList{"resumo.csv"};
    QTest::newRow("wrong yield") << good << run + QStringList{"--rendimento", "muito"} << 2
                                 << "tuberon: --rendimento: 'muito' não é uma expectativa de rendimento em t/ha"
                                 << QStringList();
    QTest::newRow("zero PRNT") << good << run + QStringList{"--prnt", "0"} << 2
                               << "tuberon: --prnt: '0' não é um PRNT em % maior que zero" << QStringList();
    QTest::newRow("negative PRNT") << good << run + QStringList{"--prnt", "-5"} << 2
                                   << "tuberon: --prnt: '-5' não é um PRNT em % maior que zero" << QStringList();
    QTest::newRow("PRNT of 100") << good << run + QStringList{"--prnt", "100", "--silencioso"} << 0 << "" << all;
    QTest::newRow("PRNT of a hydrated lime, warned") << good << run + QStringList{"--prnt", "180,5"} << 0
                                                     << "tuberon: aviso: --prnt 180,5 está acima de 100 %, como o de "
                                                        "cal virgem ou cal hidratada; confira o valor"
                                                     << all;
    QTest::newRow("PRNT of 200, warned") << good << run + QStringList{"--prnt", "200"} << 0
                                         << "tuberon: aviso: --prnt 200 está acima de 100 %, como o de cal virgem "
                                            "ou cal hidratada; confira o valor"
                                         << all;
    QTest::newRow("PRNT above 200") << good << run + QStringList{"--prnt", "200,1"} << 2
                                    << "tuberon: --prnt: '200,1' passa de 200 %, mais que o de qualquer corretivo"
                                    << QStringList();
    QTest::newRow("PRNT of 500") << good << run + QStringList{"--prnt", "500"} << 2
                                 << "tuberon: --prnt: '500' passa de 200 %, mais que o de qualquer corretivo"
                                 << QStringList();
    // A shell's *.csv gives several files: none is silently left undone.
    QTest::newRow("two lab files") << good << QStringList{"--lote", "amostras.csv", "outras.csv", "--saida", "saida"}
                                   << 2
                                   << "tuberon: --lote faz um arquivo por vez; arquivos a mais: \"outras.csv\". "
                                      "Rode o tuberon uma vez para cada arquivo, cada um com a sua --saida"
                                   << QStringList();
    QTest::newRow("three lab files, option first")
        << good << QStringList{"--saida", "saida", "--lote", "amostras.csv", "b.csv", "c.csv"} << 2
        << "tuberon: --lote faz um arquivo por vez; arquivos a mais: \"b.csv\", \"c.csv\". "
           "Rode o tuberon uma vez para cada arquivo, cada um com a sua --saida"
        << QStringList();
    QTest::newRow("wrong date") << good << run + QStringList{"--plantio", "01/10/2025"} << 2
                                << "tuberon: --plantio: '01/10/2025' não é uma data AAAA-MM-DD" << QStringList();
    QTest::newRow("unknown option") << good << run + QStringList{"--pasta", "x"} << 2
                                    << "tuberon: Opção desconhecida: 'pasta'." << QStringList();
    QTest::newRow("option without its value") << good << QStringList{"--lote"} << 2
                                              << "tuberon: Falta o valor depois de '--lote'." << QStringList();
    QTest::newRow("with prices") << good << run + QStringList{"--precos", "precos.csv", "--area", "2,5"} << 0
                                 << "tuberon: 2 amostras feitas" << all;
    // A price list that cannot be read stops the run before anything is written.
    QTest::newRow("a doubtful price")
        << good << run + QStringList{"--precos", "duvidosa.csv"} << 2
        << "tuberon: Lista de preços \"duvidosa.csv\", linha 3, coluna \"Preço do saco (R$)\": \"1.200\" pode ser um "
           "número com separador de milhares ou com três casas decimais; escreva-o sem o separador de milhares ou "
           "com outra quantidade de casas"
        << QStringList();
    QTest::newRow("no such price list") << good << run + QStringList{"--precos", "nenhuma.csv"} << 2
                                        << "tuberon: Não foi possível ler a lista de preços \"nenhuma.csv\": Não existe "
                                           "o arquivo ou pasta"
                                        << QStringList();
    QTest::newRow("an area of zero") << good << run + QStringList{"--precos", "precos.csv", "--area", "0"} << 2
                                     << "tuberon: --area: '0' não é uma área em ha maior que zero" << QStringList();
    // A mistyped area so large that its bags would overflow and show negative.
    QTest::newRow("an area past a million ha")
        << good << run + QStringList{"--precos", "precos.csv", "--area", "1e10"} << 2
        << "tuberon: --area: '1e10' passa de um milhão de ha" << QStringList();
    QTest::newRow("an area without prices") << good << run + QStringList{"--area", "3"} << 2
                                            << "tuberon: --area só vale com --precos, para contar os sacos da composição"
                                            << QStringList();
}

// The program itself, with no display at all.
void TstLabBatch::commandLine()
{
    QFETCH(QString, input);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QStringList, files);
    if (!input.isEmpty())
        writeFile(QStringLiteral("amostras.csv"), input.toUtf8());
    writeFile(QStringLiteral("precos.csv"), priceList);
    writeFile(QStringLiteral("duvidosa.csv"), doubtfulPriceList);
    if (arguments.contains("saida/resumo.csv")) {
        QDir().mkdir(QStringLiteral("saida"));
        writeFile(QStringLiteral("saida/resumo.csv"), input.toUtf8());
    }

    QProcess p;
    startProgram(p, arguments);
    QVERIFY(p.waitForFinished(60000));
    const QStringList stderrLines = QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == status, qPrintable(stderrLines.join(QLatin1Char('\n'))));
    if (message.isEmpty())
        QVERIFY2(stderrLines.filter("tuberon:").isEmpty(), qPrintable(stderrLines.join('\n')));
    else
        QVERIFY2(stderrLines.contains(message), qPrintable(stderrLines.join('\n')));
    QCOMPARE(QDir(QStringLiteral("saida")).entryList(QDir::Files, QDir::Name), files);
    // Progress is for a terminal only.
    QVERIFY(stderrLines.filter("amostras").filter("/").isEmpty() || status == 2);
    if (!input.isEmpty() && QFile::exists(QStringLiteral("amostras.csv")))
        QCOMPARE(readAll(QStringLiteral("amostras.csv")), input.toUtf8());
    // The program loads its file formats module: qpdf's viewer preferences are there.
    for (const QString &name : files)
        if (name.endsWith(QLatin1String(".pdf")))
            QVERIFY2(readAll(QStringLiteral("saida/") + name).contains("/ViewerPreferences"), qPrintable(name));
    if (arguments.contains("--tecnico"))
        QVERIFY(pdfText(readAll(QStringLiteral("saida/A1.pdf"))).contains("Ana /CREA 1")
                || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty());
}

void TstLabBatch::help()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TUBERON_PROGRAM), {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *expected : {"Uso: ", "Opções:", "--lote <ARQUIVO>", "--saida <PASTA>", "--rendimento <T_HA>",
                                 "--prnt <PERCENT>", "--plantio <AAAA-MM-DD>", "--tecnico <TEXTO>", "--silencioso", "--memoria",
                                 "-h, --help", "Mostra esta ajuda."})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY2(!text.contains("Usage") && !text.contains("Displays"), qPrintable(text));
}

// The program, unlike this test, has the file formats as a module: its window's
// first frame is up without the module, qpdf or libxlsxwriter (what the lab
// file run exports with them is checked by commandLine()).
void TstLabBatch::fileFormatsNotLoadedAtStart()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TUBERON_FIRST_FRAME));
    env.insert(QStringLiteral("TUBERON_FIRST_FRAME_MAPS"), QStringLiteral("1"));
    // Under the sanitizers the preloaded library comes before their runtime.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TUBERON_PROGRAM), QStringList());
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray maps = p.readAllStandardOutput();
    QVERIFY2(maps.contains("libQt6Widgets"), maps.left(2000).constData());
    for (const char *library : {"libtuberon_fileformats", "libqpdf", "libxlsxwriter"})
        QVERIFY2(!maps.contains(library), library);
}

void TstLabBatch::fileModes_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("newMode");
    QTest::addColumn<int>("sharedMode"); // a report others could write before
    QTest::newRow("umask 022") << 022 << 0644 << 0644;
    QTest::newRow("umask 077") << 077 << 0600 << 0644;
}

// Every file of a run on all cores has the mode the user's umask gives it;
// one replaced keeps its own, less the write permission the umask forbids.
void TstLabBatch::fileModes()
{
    QFETCH(int, umask);
    QFETCH(int, newMode);
    QFETCH(int, sharedMode);
    // Enough files on all cores for the race on the umask to show; under
    // the sanitizers each page costs several times as much, and the modes
    // are the same with fewer.
#if defined(__SANITIZE_ADDRESS__)
    const int samples = 200;
#else
    const int samples = 1500;
#endif
    writeFile(QStringLiteral("amostras.csv"), labFile(samples));
    QDir().mkdir(QStringLiteral("saida"));
    writeFile(QStringLiteral("saida/S0001.pdf"), "shared report");
    writeFile(QStringLiteral("saida/S0002.txt"), "the group's report");
    QVERIFY(::chmod("saida/S0001.pdf", 0666) == 0);
    QVERIFY(::chmod("saida/S0002.txt", 0640) == 0);

    QProcess p;
    const mode_t previous = ::umask(mode_t(umask));
    startProgram(p, {"--lote", "amostras.csv", "--saida", "saida"});
    ::umask(previous);
    QVERIFY(p.waitForFinished(300000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QStringList files = entries(QStringLiteral("saida"));
    QCOMPARE(files.size(), 2 * samples + 2);
    QStringList wrong;
    for (const QString &name : files) {
        struct stat st{};
        QVERIFY(::stat(qPrintable(QStringLiteral("saida/") + name), &st) == 0);
        const int expected = name == "S0001.pdf" ? sharedMode : name == "S0002.txt" ? 0640 : newMode;
        if (int(st.st_mode & 07777) != expected)
            wrong << QStringLiteral("%1 %2").arg(name).arg(st.st_mode & 07777, 0, 8);
    }
    QCOMPARE(wrong, QStringList());
}

void TstLabBatch::partialFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("disk full part way") << "full";
    QTest::newRow("write-protected page report") << "protected";
}

// Some samples fail to be written among others that are: each sample has
// both new reports or neither, every failed one is named with its reason,
// the summary tells them apart and the run ends with status 1.
void TstLabBatch::partialFailures()
{
    RUN_UNPRIVILEGED();
    QFETCH(QString, fault);
    // S3's producer makes its text report far larger than any other file.
    const QByteArray producer = fault == "full" ? QByteArray(300000, 'x') : QByteArray("Zé");
    const QByteArray csv = "Amostra;Produtor;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n"
                           "S1;Ana;35;6;40;2;0,4;2;1;8;35\n"
                           "S2;Bia;60;3;80;3;0;3;1;12;50\n"
                           "S3;" + producer + ";45;9;95;5,5;0,1;3,4;1,1;10;38\n"
                           "S4;Caio;12;80;200;0,9;0;2,5;1,2;4,1;70\n";
    writeFile(QStringLiteral("amostras.csv"), csv);
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    QDir().mkdir(QStringLiteral("saida"));
    writeFile(QStringLiteral("saida/S3.pdf"), "previous page");
    writeFile(QStringLiteral("saida/S3.txt"), "previous text");

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    if (fault == "full") {
        // The largest file of the other samples fits, S3's text report does not.
        options.output = QStringLiteral("medida");
        QCOMPARE(batch::run(options, gui::comma(), quietConsole()), batch::AllDone);
        options.output = QStringLiteral("saida");
        qint64 largest = 0;
        for (const QFileInfo &file : QDir(QStringLiteral("medida")).entryInfoList(QDir::Files))
            if (!file.fileName().startsWith("S3."))
                largest = qMax(largest, file.size());
        limit.rlim_cur = rlim_t(largest + 4096);
        QVERIFY(QFileInfo(QStringLiteral("medida/S3.txt")).size() > qint64(limit.rlim_cur));
    } else {
        QVERIFY(::chmod("saida/S3.pdf", 0444) == 0);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    QStringList messages;
    const batch::ExitStatus status = batch::run(options, gui::comma(), quietConsole(&messages));
    setrlimit(RLIMIT_FSIZE, &old);

    QCOMPARE(status, batch::SomeNotDone);
    QCOMPARE(messages.size(), 1);
    // Which of S3's reports did not fit depends on the page's size; the text report surely does not.
    const QString failedFile = fault == "full" ? "saida/S3." : "saida/S3.pdf\": ";
    QVERIFY2(messages[0].startsWith(QStringLiteral("linha 4: não foi possível gravar \"") + failedFile),
             qPrintable(messages[0]));
    QCOMPARE(readAll(QStringLiteral("saida/S3.pdf")), QByteArray("previous page"));
    QCOMPARE(readAll(QStringLiteral("saida/S3.txt")), QByteArray("previous text"));
    QCOMPARE(entries(QStringLiteral("saida")),
             (QStringList{"S1.pdf", "S1.txt", "S2.pdf", "S2.txt", "S3.pdf", "S3.txt", "S4.pdf", "S4.txt",
                          "resumo.csv", "resumo.xlsx"}));
    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/resumo.csv"));
    QCOMPARE(rows.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(rows[i].value("Erro"), i == 2 ? messages[0] : QString());
        QCOMPARE(rows[i].value("N (kg/ha)").isEmpty(), i == 2);
        if (i != 2)
            QVERIFY(readAll(QStringLiteral("saida/S%1.txt").arg(i + 1)).startsWith("Tuberon -vers"));
    }
}

// A run killed part way leaves no summary of another run beside its reports;
// the next run in the folder clears what the killed one left and does all.
void TstLabBatch::killedRunThenAgain()
{
    const int samples = 150;
    writeFile(QStringLiteral("amostras.csv"), labFile(samples));
    QDir().mkdir(QStringLiteral("saida"));
    writeFile(QStringLiteral("saida/resumo.csv"), "the previous run's summary");
    writeFile(QStringLiteral("saida/resumo.xlsx"), "the previous run's workbook");
    writeFile(QStringLiteral("saida/.S0007.pdf.tuberon-Ab12Cd"), "cut by an earlier kill");
    writeFile(QStringLiteral("saida/notas.txt"), "the user's notes");
    const QStringList arguments{"--lote", "amostras.csv", "--saida", "saida"};

    QProcess killed;
    startProgram(killed, arguments);
    QVERIFY(killed.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QDir(QStringLiteral("saida")).entryList({"*.pdf"}, QDir::Files).size() >= 10, 120000);
    killed.kill(); // SIGKILL: nothing of the program runs after it
    QVERIFY(killed.waitForFinished());
    QVERIFY(QDir(QStringLiteral("saida")).entryList({"*.pdf"}, QDir::Files).size() < samples);
    QVERIFY(!QFile::exists(QStringLiteral("saida/resumo.csv")));
    QVERIFY(!QFile::exists(QStringLiteral("saida/resumo.xlsx")));

    QProcess again;
    startProgram(again, arguments);
    QVERIFY(again.waitForFinished(300000));
    QVERIFY2(again.exitCode() == 0, again.readAllStandardError().constData());
    const QStringList files = entries(QStringLiteral("saida"));
    QCOMPARE(files.size(), 2 * samples + 3);
    QVERIFY(files.contains("notas.txt"));
    QCOMPARE(files.filter(".tuberon-"), QStringList());
    QCOMPARE(summaryRows(QStringLiteral("saida/resumo.csv")).size(), samples);
}

void TstLabBatch::convertedValuesWithoutNoise_data()
{
    QTest::addColumn<QString>("column");   // the column's header in the lab file
    QTest::addColumn<QString>("value");    // as the laboratory writes it
    QTest::addColumn<QString>("reported"); // the text report's words for it
    QTest::addColumn<QString>("shown");    // the number on the page
    QTest::newRow("MO, g/dm³ ÷ 10") << "MO (g/dm³)" << "12" << "%MO (m/v) =  1,2;" << "1,2";
    QTest::newRow("K, cmolc/dm³ × 391") << "K (cmolc/dm³)" << "0,15" << "K (mg/dm³) = 58,65\r\n" << "58,65";
    QTest::newRow("K, mmolc/dm³ × 39.1") << "K (mmolc/dm³)" << "1,5" << "K (mg/dm³) = 58,65\r\n" << "58,65";
    QTest::newRow("Al, mmolc/dm³ ÷ 10") << "Al (mmolc/dm³)" << "3" << "Al (cmol/dm³) = 0,3;" << "0,3";
    QTest::newRow("clay, g/kg ÷ 10") << "Argila (g/kg)" << "353" << "Argila (%)= 35,3;" << "35,3";
    QTest::newRow("CTC, mmolc/dm³ ÷ 10") << "CTC (mmolc/dm³)" << "82,3" << "CTC (cmol/dm³) = 8,23;" << "8,23";
}

// A value in the laboratory's unit reaches both reports as the exact decimal
// the conversion gives, without the noise of binary fractions.
void TstLabBatch::convertedValuesWithoutNoise()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, reported);
    QFETCH(QString, shown);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QStringList titles{"Amostra", "Argila", "P", "K", "MO", "Al", "Ca", "Mg", "CTC", "V"};
    QStringList values{"S1", "35", "6", "40", "2,1", "0,4", "2,1", "0,8", "8,5", "35"};
    const qsizetype at = titles.indexOf(column.section(' ', 0, 0));
    QVERIFY(at > 0);
    titles[at] = column;
    values[at] = value;
    writeFile(QStringLiteral("amostras.csv"), (titles.join(';') + '\n' + values.join(';') + '\n').toUtf8());
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    QCOMPARE(batch::run(options, gui::comma(), quietConsole()), batch::AllDone);

    const QByteArray text = readAll(QStringLiteral("saida/S1.txt"));
    QVERIFY2(text.contains(reported.toLatin1()), text.constData());
    QVERIFY2(!text.contains("0000"), text.constData());
    const QString page = pdfText(readAll(QStringLiteral("saida/S1.pdf")));
    QVERIFY2(page.contains(QRegularExpression(QStringLiteral("(^|\\s)%1(\\s|$)").arg(QRegularExpression::escape(shown)))),
             qPrintable(page));
    QVERIFY2(!page.contains(QStringLiteral("0000")), qPrintable(page));
}

// Sample names that XML cannot hold, or longer than a cell holds, reach the
// workbook mended, each change said; a reader of the format reads it whole.
void TstLabBatch::workbookWithHostileTexts()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed to read the workbook back");
    const QString longName(40000, QLatin1Char('x'));
    const QStringList names{QStringLiteral("A\u0001B"), QStringLiteral("C\uFFFED"), QStringLiteral("E\uFFFFF"),
                            QStringLiteral("G\u001bH\tI"), longName, QStringLiteral("Normal"),
                            // Texts a spreadsheet would take for formulas stay strings.
                            QStringLiteral("=SOMA(1)"), QStringLiteral("-A1")};
    QString csv = QStringLiteral("Amostra;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n");
    for (const QString &name : names)
        csv += '"' + name + QStringLiteral("\";35;6;40;2;0,4;2;1;8;35\n");
    writeFile(QStringLiteral("amostras.csv"), csv.toUtf8());
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    QStringList messages;
    QCOMPARE(batch::run(options, gui::comma(), quietConsole(&messages)), batch::AllDone);
    const QString replaced = QStringLiteral("caracteres que a planilha não aceita trocados por \"\uFFFD\"");
    QCOMPARE(messages,
             (QStringList{"resumo.xlsx, linha 2 do resumo, coluna Amostra: " + replaced,
                          "resumo.xlsx, linha 3 do resumo, coluna Amostra: " + replaced,
                          "resumo.xlsx, linha 3 do resumo, coluna Arquivos: " + replaced,
                          "resumo.xlsx, linha 4 do resumo, coluna Amostra: " + replaced,
                          "resumo.xlsx, linha 4 do resumo, coluna Arquivos: " + replaced,
                          "resumo.xlsx, linha 5 do resumo, coluna Amostra: " + replaced,
                          "resumo.xlsx, linha 6 do resumo, coluna Amostra: texto cortado em 32767 caracteres"}));

    // Every part of the package must parse as XML; the first column's texts come back.
    const char *reader = R"(
import json, sys, zipfile, xml.etree.ElementTree as ET
m = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
book = zipfile.ZipFile(sys.argv[1])
parts = {n: ET.fromstring(book.read(n)) for n in book.namelist() if n.endswith('.xml') or n.endswith('.rels')}
shared = [''.join(t.text or '' for t in si.iter(m + 't')) for si in parts.get('xl/sharedStrings.xml', ET.Element('x')).iter(m + 'si')]
column = []
for row in parts['xl/worksheets/sheet1.xml'].iter(m + 'row'):
    cell = row.find(m + 'c')
    kind = cell.get('t')
    if kind == 's':
        column.append(shared[int(cell.find(m + 'v').text)])
    elif kind == 'inlineStr':
        column.append(''.join(t.text or '' for t in cell.iter(m + 't')))
    else:
        column.append('not a string: ' + str(kind))
print(json.dumps(column))
)";
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(reader), QStringLiteral("saida/resumo.xlsx")});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QJsonArray column = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
    const QStringList expected{"Amostra",
                               QStringLiteral("A\uFFFDB"),
                               QStringLiteral("C\uFFFDD"),
                               QStringLiteral("E\uFFFDF"),
                               QStringLiteral("G\uFFFDH\tI"),
                               longName.left(32767),
                               "Normal",
                               "=SOMA(1)",
                               "-A1"};
    QCOMPARE(column.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(column[i].toString(), expected[i]);
}

namespace {

// What --colunas says of the laboratory's file.
const char expectedColumns[] =
    "Amostra: \"Identificação\"\n"
    "Produtor: \"Cliente\"\n"
    "CPF: sem coluna\n"
    "Localidade: sem coluna\n"
    "Município: sem coluna\n"
    "Denominação: sem coluna\n"
    "Laudo: sem coluna\n"
    "Argila: \"Argila%\", em % (do cabeçalho), sem conversão\n"
    "pH: \"pH H2O\"\n"
    "P: \"Pmg/dm³\", em mg/dm³ (do cabeçalho), sem conversão\n"
    "K: \"Kcmolc/dm\", em cmolc/dm (do cabeçalho), × 391 para mg/dm³\n"
    "MO: \"MO\", em g/dm³ (da linha de unidades), × 0,1 para %\n"
    "Al: \"Alcmolc/dm³\", em cmolc/dm³ (do cabeçalho), sem conversão\n"
    "Ca: \"Ca cmolc/dm?\", em cmolc/dm? (do cabeçalho), sem conversão\n"
    "Mg: \"Mgcmolc/dm3\", em cmolc/dm3 (do cabeçalho), sem conversão\n"
    "CTC: \"T\", em cmolc/dm³ (da linha de unidades, \"cmolc/dm³\" sob \"t\"), sem conversão\n"
    "V: \"V%\", em % (do cabeçalho), sem conversão\n"
    "Rendimento: \"Produtividade\", em kg/ha (da linha de unidades), × 0,001 para t/ha\n"
    "SB: \"SB\", em cmolc/dm³ (da linha de unidades), sem conversão, só para conferir as somas do arquivo\n"
    "t: \"t\", em cmolc/dm³ (da linha de unidades), sem conversão, só para conferir as somas do arquivo\n"
    "H+Al: \"H+Al\", em cmolc/dm³ (da linha de unidades), sem conversão, só para conferir as somas do arquivo\n"
    "m: \"m%\", em % (do cabeçalho), sem conversão, só para conferir as somas do arquivo\n"
    "ignorada: \"Nº Lab\": não usada pelo programa\n"
    "ignorada: \"Latitude\": não usada pelo programa\n"
    "ignorada: \"Areia\": não usada pelo programa\n"
    "ignorada: \"pH CaCl2\": pH por outro método (o programa usa o pH em água)\n"
    "ignorada: \"P resina\": fósforo por outro método (o programa usa o P Mehlich-1)\n"
    "ignorada: \"Ca/Mg\": não usada pelo programa\n";

// Three samples as a clean file gives them, in the program's units.
const char cleanLabFile[] = "Amostra;Produtor;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V;Rendimento\n"
                            "CA-01;João da Silva;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35;25\n"
                            "CA-02;Maria Souza;60;4,8;2;39,1;3,5;0,9;1,2;0,4;16,5;10;38,5\n"
                            "CA-03;José Lima;18;6,1;25,3;117,3;1,2;0;3,4;1,1;6,2;77;30\n";

// The same samples as a laboratory's system exports them: a title block,
// units glued to the names, cut short or with the "³" lost, more units in a
// second row, t beside T, other methods and columns the program does not
// use, a thousands separator, a detection limit and a mean row.
const QList<QStringList> laboratoryRows{
    {"Laboratório de Análise de Solos e Plantas"},
    {"Relatório de ensaio - lote 2025/118", "", "", "Emitido em 03/10/2025"},
    {},
    {"Nº Lab", "Identificação", "Cliente", "Latitude", "Argila%", "Areia", "pH H2O", "pH CaCl2", "P resina",
     "Pmg/dm³", "Kcmolc/dm", "MO", "Alcmolc/dm³", "Ca cmolc/dm?", "Mgcmolc/dm3", "H+Al", "SB", "t", "T", "V%",
     "m%", "Ca/Mg", "Produtividade"},
    {"", "", "", "", "", "g/kg", "", "", "mg/dm³", "", "", "g/dm³", "", "", "", "cmolc/dm³", "cmolc/dm³",
     "cmolc/dm³", "", "", "", "", "kg/ha"},
    {"1001", "CA-01", "João da Silva", "-12.6", "35", "420", "5,4", "4,7", "9", "6", "0,15", "21", "0,4", "2,1",
     "0,8", "5,5", "3,0", "3,4", "8,5", "35", "12", "2,6", "25.000"},
    {"1002", "CA-02", "Maria Souza", "-12.7", "60", "210", "4,8", "4,1", "3", "< 2", "0,1", "35", "0,9", "1,2",
     "0,4", "14,8", "1,7", "2,6", "16,5", "10", "35", "3,0", "38.500"},
    {"1003", "CA-03", "José Lima", "-12.8", "18", "700", "6,1", "5,5", "30", "25,3", "0,3", "12", "0", "3,4",
     "1,1", "1,4", "4,8", "4,8", "6,2", "77", "0", "3,1", "30.000"},
    {"Média", "", "", "", "37,7", "443", "5,4", "4,8", "14", "11", "0,18", "22,7", "0,43", "2,23", "0,77", "6,9",
     "3,07", "3,45", "10,4", "43", "15", "2,9", "31.167"},
};

QByteArray laboratoryCsv()
{
    QString csv;
    for (const QStringList &row : laboratoryRows) {
        QStringList cells = row;
        while (cells.size() < laboratoryRows[3].size())
            cells << QString();
        csv += cells.join(';') + "\r\n";
    }
    return csv.toUtf8();
}

// The same rows as a workbook: numbers as numbers (a spreadsheet's 25.000 is
// 25000), texts as shared strings, below a first sheet of notes.
void writeLaboratoryXlsx(const QString &path)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *notes = workbook_add_worksheet(book, "Observações");
    worksheet_write_string(notes, 0, 0, "Resultados na planilha Laudos", nullptr);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Laudos");
    for (int r = 0; r < laboratoryRows.size(); ++r)
        for (int c = 0; c < laboratoryRows[r].size(); ++c) {
            QString text = laboratoryRows[r][c];
            if (text.isEmpty())
                continue;
            if (r >= 5 && c == laboratoryRows[3].size() - 1)
                text.remove('.');
            bool number = false;
            const double value = QString(text).replace(',', '.').toDouble(&number);
            if (r >= 5 && number && c != 0)
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), value, nullptr);
            else
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), text.toUtf8().constData(), nullptr);
        }
    workbook_close(book);
}

// The summary's rows without what differs between two files of the same
// samples: the line and the warnings.
QList<QHash<QString, QString>> comparable(QList<QHash<QString, QString>> rows)
{
    for (QHash<QString, QString> &row : rows) {
        row.remove("Linha");
        row.remove("Aviso");
    }
    return rows;
}

} // namespace

// A laboratory's file as it comes, as CSV and as .xlsx, gives the summary of
// the clean file of the same samples; --colunas says what was understood.
void TstLabBatch::asTheLaboratorySendsIt()
{
    writeFile(QStringLiteral("limpo.csv"), cleanLabFile);
    writeFile(QStringLiteral("laboratorio.csv"), laboratoryCsv());
    writeLaboratoryXlsx(QStringLiteral("laboratorio.xlsx"));
    const auto runOn = [](const QStringList &arguments) {
        QProcess p;
        startProgram(p, arguments);
        [&] { QVERIFY(p.waitForFinished(240000)); }();
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput())};
    };
    {
        const auto [status, said] = runOn({"--lote", "limpo.csv", "--saida", "limpo", "--silencioso"});
        QVERIFY2(status == 0, qPrintable(said));
    }
    const auto clean = comparable(summaryRows(QStringLiteral("limpo/resumo.csv")));
    QCOMPARE(clean.size(), 3);
    for (const auto &[file, sheet] : {std::pair{QString("laboratorio.csv"), QString()},
                                      std::pair{QString("laboratorio.xlsx"), QString("laudos")},
                                      // The sheet found: the notes before it have no table.
                                      std::pair{QString("laboratorio.xlsx"), QString()}}) {
        const QString out = QFileInfo(file).suffix() + sheet;
        QStringList arguments{"--lote", file, "--saida", out};
        if (!sheet.isEmpty())
            arguments << "--planilha" << sheet;
        const auto [status, said] = runOn(arguments);
        QVERIFY2(status == 0, qPrintable(said));
        QVERIFY2(said.contains("linha 9: \"Média\" não é uma amostra; linha ignorada"), qPrintable(said));
        const QList<QHash<QString, QString>> rows = summaryRows(out + "/resumo.csv");
        QCOMPARE(comparable(rows), clean);
        QCOMPARE(rows[1].value("Aviso"),
                 QString("linha 7, coluna Pmg/dm³: '< 2' abaixo do limite de detecção, tomado como 2"));
        QCOMPARE(rows[0].value("Linha"), QString("6"));

        const auto [columnsStatus, columns] = runOn(arguments + QStringList{"--colunas"});
        QCOMPARE(columnsStatus, 0);
        const bool workbook = file.endsWith(QLatin1String(".xlsx"));
        QCOMPARE(columns, (workbook ? QStringLiteral("planilha: \"Laudos\"\n") : QString()) + QString::fromUtf8(expectedColumns));
        if (workbook)
            QVERIFY2(said.contains("\"laboratorio.xlsx\": amostras da planilha \"Laudos\""), qPrintable(said));
    }
}

void TstLabBatch::withPrices_data()
{
    QTest::addColumn<QByteArray>("prices");
    QTest::addColumn<double>("area");
    QTest::addColumn<QStringList>("statuses"); // those a row may have
    QTest::newRow("a hectare") << priceList << 1.0 << QStringList{"composto", "aproximado"};
    QTest::newRow("half a hectare") << priceList << 0.5 << QStringList{"aproximado", "composto"};
    QTest::newRow("no prices at all")
        << QByteArray("Produto;N (%);P2O5 (%);K2O (%);Saco (kg);Preço do saco (R$)\nUréia;45;0;0;50;\n") << 1.0
        << QStringList{"sem preço"};
}

// Every sample composed at the least cost: the summary's columns of the
// composition, whose cost is the bags it names at the list's prices.
void TstLabBatch::withPrices()
{
    QFETCH(QByteArray, prices);
    QFETCH(double, area);
    QFETCH(QStringList, statuses);
    writeFile(QStringLiteral("amostras.csv"), labFile(40));
    writeFile(QStringLiteral("precos.csv"), prices);
    batch::Options options;
    options.input = QStringLiteral("amostras.csv");
    options.output = QStringLiteral("saida");
    options.prices = QStringLiteral("precos.csv");
    options.areaHa = area;
    QStringList messages;
    QCOMPARE(batch::run(options, gui::comma(), quietConsole(&messages)), batch::AllDone);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));

    const batch::CsvTable table = batch::readCsv(readAll(QStringLiteral("saida/resumo.csv")));
    const QStringList added{"Composição", "Custo (R$/ha)", "Produtos plantio", "Produtos 1ª", "Produtos 2ª",
                            "Produtos 3ª"};
    QCOMPARE(table.header.mid(21), added);
    const QHash<QString, double> bagPrice{{"Uréia", 189.9},          {"Sulfato de amônio", 110},
                                          {"Superfosfato Simples", 95}, {"Superfosfato Triplo", 210},
                                          {"Cloreto de Potássio", 200}, {"Adubo 04-14-08", 120},
                                          {"Adubo 20-00-20", 95}};
    const QRegularExpression product(QStringLiteral("^(.+): (\\d+) sacos$"));
    const QRegularExpression money(QStringLiteral("^\\d+,\\d\\d$"));
    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/resumo.csv"));
    QCOMPARE(rows.size(), 40);
    QSet<QString> seen;
    for (const auto &row : rows) {
        QVERIFY2(statuses.contains(row.value("Composição")), qPrintable(row.value("Composição")));
        seen << row.value("Composição");
        QVERIFY2(money.match(row.value("Custo (R$/ha)")).hasMatch(), qPrintable(row.value("Custo (R$/ha)")));
        double cost = 0;
        for (const QString &column : added.mid(2)) {
            const QString text = row.value(column);
            if (text.isEmpty())
                continue;
            for (const QString &item : text.split(QStringLiteral(" + "))) {
                const QRegularExpressionMatch m = product.match(item);
                QVERIFY2(m.hasMatch() && bagPrice.contains(m.captured(1)), qPrintable(item));
                cost += m.captured(2).toInt() * bagPrice[m.captured(1)];
            }
        }
        QCOMPARE(row.value("Custo (R$/ha)"), QString::number(cost / area, 'f', 2).replace('.', ','));
        QCOMPARE(row.value("Custo (R$/ha)") == "0,00", row.value("Composição") == "sem preço");
    }
    QVERIFY(seen.contains(statuses[0]));
    // The reports show the composition with the list's name and latest date.
    const QByteArray text = readAll(QStringLiteral("saida/S0001.txt"));
    QVERIFY(text.contains("\r\nComposi\xe7\xe3o de menor custo\r\n"));
    QVERIFY(text.contains(prices == priceList ? "Pre\xe7os informados pelo usu\xe1rio em 01/12/2026 (lista: precos.csv)\r\n"
                                              : "Pre\xe7os informados pelo usu\xe1rio, sem data (lista: precos.csv)\r\n"));
    QVERIFY(pdfText(readAll(QStringLiteral("saida/S0001.pdf"))).contains(QStringLiteral("Lista de compras")));
    // Without a price list the summary and the reports are as they always were.
    options.prices.clear();
    options.output = QStringLiteral("sem");
    QCOMPARE(batch::run(options, gui::comma(), quietConsole()), batch::AllDone);
    QCOMPARE(batch::readCsv(readAll(QStringLiteral("sem/resumo.csv"))).header.size(), 21);
    QVERIFY(!readAll(QStringLiteral("sem/S0001.txt")).contains("menor custo"));
    QVERIFY(!pdfText(readAll(QStringLiteral("sem/S0001.pdf"))).contains(QStringLiteral("Lista de compras")));
}

// Two years of a laboratory's files into one store, then one field's
// history out of it: the producer found again by CPF written otherwise, the
// field by its Talhão in other letters, each sample dated by the file's
// date column; a date no calendar has is not filed. The history changes
// nothing in the store.
void TstLabBatch::seasonsIntoTheStore()
{
    writeFile(QStringLiteral("safra2024.csv"),
              "Amostra;Produtor;CPF;Município;Talhão;Laudo;Data da coleta;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n"
              "CA-01;João da Silva;123.456.789-09;Cruz das Almas;Gleba 1;L-2024-01;15/03/2024;35;5,4;6;58,65;2,1;0,4;2,1;0,8;8,5;35\n"
              "CA-02;Maria Souza;;São Felipe;Talhão Norte;L-2024-02;15/03/24;60;4,8;2;39,1;3,5;0,9;1,2;0,4;16,5;22\n");
    writeFile(QStringLiteral("safra2025.csv"),
              "Amostra;Produtor;CPF;Município;Talhão;Laudo;Data da coleta;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V\n"
              "CA-11;JOAO DA SILVA;12345678909;Cruz das Almas;gleba 1;L-2025-07;2025-03-10;35;5,9;14;80;2,3;0,1;2,8;1;8,7;48\n"
              "CA-12;Maria Souza;;Sao Felipe;Talhão Sul;L-2025-08;10.03.2025;55;5,1;5;50;3,1;0,5;1,8;0,6;15;30\n"
              "CA-13;José Lima;;Conceição;Gleba 3;L-2025-09;31/02/2025;18;6,1;25,3;117,3;1,2;0;3,4;1,1;6,2;72\n");
    const auto run = [](const QStringList &arguments, int status) {
        QProcess p;
        startProgram(p, arguments);
        p.waitForFinished(60000);
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        [&] { QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == status, qPrintable(errors)); }();
        return std::pair{p.readAllStandardOutput(), errors};
    };
    const QStringList banco{QStringLiteral("--banco"), QStringLiteral("banco.sqlite")};
    run(QStringList{"--lote", "safra2024.csv", "--saida", "r2024"} + banco, 0);
    const auto [unused, errors] = run(QStringList{"--lote", "safra2025.csv", "--saida", "r2025"} + banco, 1);
    QVERIFY2(errors.contains(QStringLiteral("linha 4: não gravado: data \"31/02/2025\" não reconhecida no banco")),
             qPrintable(errors));
    const auto column = [](const QString &summary) {
        QStringList cells;
        for (const auto &row : summaryRows(summary))
            cells << row.value(QStringLiteral("Banco de casos"));
        return cells;
    };
    QCOMPARE(column(QStringLiteral("r2024/resumo.csv")), QStringList({"novo", "novo"}));
    QCOMPARE(column(QStringLiteral("r2025/resumo.csv")),
             QStringList({"João da Silva / Gleba 1", "Maria Souza / Talhão Sul (talhão novo)",
                          "não gravado: data \"31/02/2025\" não reconhecida"}));

    // Without --banco nothing is recorded, and the summary has no such column.
    const auto files = [] {
        QByteArray all;
        for (const char *name : {"banco.sqlite", "banco.sqlite-wal"})
            all += readAll(QString::fromLatin1(name));
        return all;
    };
    const QByteArray before = files();
    run({"--lote", "safra2025.csv", "--saida", "sem-banco"}, 0);
    QVERIFY(!readAll(QStringLiteral("sem-banco/resumo.csv")).contains("Banco de casos"));

    const auto [csv, historyErrors] = run(QStringList{"--historico", "--produtor", "123.456.789-09", "--talhao",
                                                      "GLEBA 1"} + banco, 0);
    QVERIFY2(historyErrors.isEmpty(), qPrintable(historyErrors));
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"
                           "Produtor;CPF;Município;Talhão;Data;Laudo;Argila (%);pH;P (mg/dm³);K (mg/dm³);MO (%);Al;"
                           "Ca;Mg;CTC;V (%);Calagem (t/ha);N (kg/ha);P2O5 (kg/ha);K2O (kg/ha);Custo (R$/ha)\r\n"));
    const batch::CsvTable table = batch::readCsv(csv);
    QCOMPARE(table.records.size(), 2);
    const QStringList first = table.records[0].fields, second = table.records[1].fields;
    QCOMPARE(first.mid(0, 10), QStringList({"João da Silva", "123.456.789-09", "Cruz das Almas", "Gleba 1",
                                            "2024-03-15", "L-2024-01", "35", "5,4", "6", "58,65"}));
    QCOMPARE(second.mid(4, 6), QStringList({"2025-03-10", "L-2025-07", "35", "5,9", "14", "80"}));
    QCOMPARE(second.value(20), QString()); // not composed: no cost
    QVERIFY(first.value(18) != second.value(18)); // more P, less P2O5
    QCOMPARE(files(), before);

    // A file that is not a store stops the run before anything is written.
    const auto [none, refused] = run({"--lote", "safra2025.csv", "--saida", "nada", "--banco", "safra2024.csv"}, 2);
    QVERIFY2(refused.contains(QStringLiteral("não pode ser usado")), qPrintable(refused));
    QVERIFY(!QFileInfo::exists(QStringLiteral("nada")));
}

void TstLabBatch::saoPauloConvention_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::newRow("no unit said: stopped, nothing written") << QStringList() << 2;
    QTest::newRow("the convention's option") << QStringList{"--unidades-iac"} << 0;
    QTest::newRow("each column's option")
        << QStringList{"--coluna", "K=K:mmolc/dm³", "--coluna", "Ca=Ca:mmolc/dm³", "--coluna", "Mg=Mg:mmolc/dm³",
                       "--coluna", "Al=Al:mmolc/dm³", "--coluna", "H+Al=H+Al:mmolc/dm³", "--coluna",
                       "SB=SB:mmolc/dm³", "--coluna", "CTC=T:mmolc/dm³", "--coluna", "MO=M.O.:g/dm³", "--coluna",
                       "Argila=Argila:g/kg"}
        << 0;
}

// A São Paulo laboratory's file gives no unit anywhere (cations, SB and T in
// mmolc/dm³, MO in g/dm³, clay in g/kg): the run stops naming the options
// that state them, and with them every sample is read right.
void TstLabBatch::saoPauloConvention()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QProcess p;
    startProgram(p, QStringList{"--lote", QStringLiteral(TUBERON_SOURCE "/examples/amostras-sp.csv"), "--saida", "saida",
                                "--silencioso"}
                        + options);
    QVERIFY(p.waitForFinished(120000));
    const QString said = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(p.exitCode() == status, qPrintable(said));
    if (status == 2) {
        for (const char *option : {"--coluna K=K:mmolc/dm³", "--coluna Ca=Ca:mmolc/dm³", "--coluna CTC=T:mmolc/dm³",
                                   "--coluna SB=SB:mmolc/dm³", "--coluna MO=M.O.:g/dm³", "--coluna Argila=Argila:g/kg",
                                   "--unidades-iac"})
            QVERIFY2(said.contains(QString::fromUtf8(option)), option);
        QVERIFY(!QDir(QStringLiteral("saida")).exists() || QDir(QStringLiteral("saida")).isEmpty());
        return;
    }
    const QList<QHash<QString, QString>> rows = summaryRows(QStringLiteral("saida/resumo.csv"));
    QCOMPARE(rows.size(), 4);
    for (const auto &row : rows)
        QCOMPARE(row.value("Erro"), QString());
    // SP-01: K 5,3 mmolc/dm³ is 207 mg/dm³, clay 95 g/kg is 9,5 %.
    QCOMPARE(rows[0].value("Classe de K"), QStringLiteral("Muito alto"));
    QCOMPARE(rows[0].value("Classe de argila"), QStringLiteral("Classe 4"));
    const QByteArray text = readAll(QStringLiteral("saida/SP-01.txt"));
    QVERIFY2(text.contains("K (mg/dm\xb3) = 207.23"), text.constData());
}

QTEST_MAIN(TstLabBatch)
#include "tst_lab_batch.moc"
