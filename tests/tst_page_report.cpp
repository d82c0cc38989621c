#include "agronomy/Applications.h"
#include "reports/PageReport.h"
#include "reports/ReportFile.h"
#include "fileformats/FileFormats.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"
#include "unprivileged.h"

#include <QScopeGuard>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <csignal>
#include <QStandardPaths>
#include <sys/resource.h>
#include <sys/stat.h>

// The one-page report: its variables, what "Relatório *.pdf" fills them with,
// the chart picture saved beside the program, and the PDF exported from the
// preview.
namespace {

QString chartFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("grafico1.bmp"));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Clicks "Relatório *.pdf"; while the modal preview is open runs `whileOpen`
// on it, then closes it. Answers the texts of the message boxes shown.
QStringList pageReport(TFPrincipal &w, const std::function<void(ReportPreview &)> &whileOpen = {},
                       bool *previewed = nullptr)
{
    QStringList messages;
    w.PageControl1->setCurrentWidget(w.TabSheet4);
    const bool seen = gui::whileOpen<ReportPreview>(
        [&] { messages = gui::messagesDuring([&] { QTest::mouseClick(w.Button16, Qt::LeftButton); }); }, whileOpen);
    if (previewed)
        *previewed = seen;
    return messages;
}

// The document information as a reader shows it (pdfinfo, from poppler-utils).
QString pdfInfo(const QString &path, const QString &key)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path});
    info.waitForFinished();
    for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).trimmed();
    return QStringLiteral("no ") + key;
}

// The document catalogue's viewer preferences as qpdf reads them.
QJsonObject viewerPreferences(const QString &path)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--json=2"), QStringLiteral("--json-key=qpdf"), path});
    qpdf.waitForFinished();
    const QJsonObject objects = QJsonDocument::fromJson(qpdf.readAllStandardOutput())
                                    .object().value(QLatin1String("qpdf")).toArray().at(1).toObject();
    const auto value = [&](const QString &key) {
        return objects.value(key).toObject().value(QLatin1String("value")).toObject();
    };
    const QString root = value(QStringLiteral("trailer")).value(QLatin1String("/Root")).toString();
    const QJsonValue preferences = value(QStringLiteral("obj:") + root).value(QLatin1String("/ViewerPreferences"));
    if (preferences.isString()) // an indirect object
        return value(QStringLiteral("obj:") + preferences.toString());
    return preferences.toObject();
}

} // namespace

class TstPageReport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void variables_data();
    void variables();
    void fieldsFromTheWindow_data();
    void fieldsFromTheWindow();
    void limingLine_data();
    void limingLine();
    void memos_data();
    void memos();
    void productLists_data();
    void productLists();
    void chartPicture();
    void chartPictureCannotBeWritten();
    void pdfDocument();
    void pdfExportFailures_data();
    void pdfExportFailures();
    void moduleTableChecked_data();
    void moduleTableChecked();
    void pdfExportFileCases_data();
    void pdfExportFileCases();
    void chartPictureInTheCacheWhenTheProgramFolderIsReadOnly();
    void fitText_data();
    void fitText();
    void nothingLostWithoutASign();
    void brokenTemplate_data();
    void brokenTemplate();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TstPageReport::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    reports::setOpener([](const QString &) {});
}

void TstPageReport::cleanup()
{
    // The chart picture beside the program, or a folder standing in its way.
    const QFileInfo chart(chartFile());
    if (chart.isDir())
        QDir(chart.filePath()).removeRecursively();
    else
        QFile::remove(chart.filePath());
    dir_.reset();
}

void TstPageReport::variables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("apostrophes inside") << "NOME" << "Sant'Ana d'Oeste" << "[NOME]" << "Sant'Ana d'Oeste";
    QTest::newRow("apostrophe alone") << "NOME" << "'" << "[NOME]" << "'";
    QTest::newRow("doubled apostrophe stays doubled") << "NOME" << "O''Neil'" << "[NOME]" << "O''Neil'";
    QTest::newRow("empty") << "NOME" << "" << "[NOME]" << "";
    QTest::newRow("placeholder in another case") << "AdubPlantio" << "Uréia" << "[Adubplantio]" << "Uréia";
    QTest::newRow("upper-case placeholder") << "Obs1" << "x" << "[OBS1]" << "x";
    QTest::newRow("unknown name shows nothing") << "NOME" << "x" << "a[NADA]b" << "ab";
    QTest::newRow("text around, repeated") << "NOME" << "Zé" << "Nome: [NOME] / [nome]." << "Nome: Zé / Zé.";
    QTest::newRow("no placeholder") << "NOME" << "x" << "Argila (%)" << "Argila (%)";
}

void TstPageReport::variables()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    reports::PageReport report(QStringLiteral(":/assets/report_page.json"));
    report.setVariable(name, value);
    QCOMPARE(report.variable(name), value);
    QCOMPARE(report.variable(name.toUpper()), value);
    QCOMPARE(report.filled(text), shown);
}

void TstPageReport::fieldsFromTheWindow_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("picker"); // the report date as the window shows it
    // Dates are Portuguese whatever the system's language.
    const char *picker = "terça-feira, 5 de março de 2024";
    QTest::newRow("comma") << gui::comma() << "05/03/2024" << picker;
    QTest::newRow("point") << gui::point() << "05/03/2024" << picker;
    QTest::newRow("English system") << QLocale(QLocale::English, QLocale::UnitedStates) << "05/03/2024" << picker;
}

// Every variable takes the text standing in its field at the click, unparsed;
// a second report with the fields emptied sets them all again.
void TstPageReport::fieldsFromTheWindow()
{
    QFETCH(QLocale, regional);
    QFETCH(QString, date);
    QFETCH(QString, picker);
    // The system's language as the default locale too, as a program started there has it.
    const QLocale before;
    QLocale::setDefault(regional);
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    auto w = gui::openWindow(regional);

    const QList<std::pair<QString, QLineEdit *>> fields{
        {"NOME", w->Edit55},  {"CPF", w->Edit56},        {"LOCALIDADE", w->Edit57}, {"MUNICIPIO", w->Edit58},
        {"LAUDO", w->Edit60}, {"DENOMINACAO", w->Edit59}, {"ARGILA", w->Edit1},      {"PH", w->Edit70},
        {"P", w->Edit2},      {"K", w->Edit3},            {"MO", w->Edit4},          {"AL", w->Edit5},
        {"CA", w->Edit6},     {"MG", w->Edit7},           {"CTC", w->Edit8},         {"V", w->Edit9},
        {"RENDIMENTO", w->Edit12}, {"CALAGEM", w->Edit61}, {"PRNT", w->Edit24},     {"COMERCIAL", w->Edit25},
        {"Tecnico", w->Edit15}};
    for (const auto &[name, field] : fields)
        field->setText(name.toLower() + QStringLiteral(" ' x"));
    w->Edit55->setText(QStringLiteral("João D'Ávila"));
    w->Edit1->setText(QStringLiteral("não é número"));
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        for (int c = applications::ApplicationColumn; c <= applications::K2OColumn; ++c)
            w->stga3->setCell(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    w->Memo1->setPlainText(QStringLiteral("obs"));
    w->Memo3->setPlainText(QStringLiteral("rec"));
    for (const char *grid : {"stga4", "stga5", "Stga6", "stga7"}) {
        gui::find<StringGrid>(w.get(), grid)->setRows(2);
        gui::find<StringGrid>(w.get(), grid)->setCell(applications::ProductColumn, applications::FirstProductRow,
                                                      QString::fromLatin1(grid));
    }
    w->DateTimePicker3->setDate(QDate(2024, 3, 5));
    QCOMPARE(w->DateTimePicker3->text(), picker);

    QHash<QString, QString> shown;
    QStringList emptyPlaceholders;
    bool modal = false;
    int pages = 0;
    bool previewed = false;
    const auto read = [&](ReportPreview &preview) {
        modal = preview.isModal();
        if (auto *page = preview.findChild<QPrintPreviewWidget *>())
            pages = page->pageCount();
        for (const auto &[name, field] : fields)
            shown[name] = w->frxReport1->variable(name);
        for (int r = 1; r <= 4; ++r)
            for (const char *column : {"Par", "Epoca", "N", "P", "K"})
                shown[column + QString::number(r)] = w->frxReport1->variable(column + QString::number(r));
        shown["Data"] = w->frxReport1->variable("Data");
        shown["Recomenda"] = w->frxReport1->variable("Recomenda");
        // Every placeholder of the page finds its variable.
        static const QRegularExpression placeholder(QStringLiteral("\\[[^\\]]+\\]"));
        for (const reports::PageObject &object : w->frxReport1->page().objects)
            if (object.text.contains(placeholder) && w->frxReport1->filled(object.text).isEmpty())
                emptyPlaceholders << object.text;
    };
    QCOMPARE(pageReport(*w, read, &previewed), QStringList());
    QVERIFY(previewed);
    QVERIFY(modal);
    QCOMPARE(pages, 1);
    QVERIFY(emptyPlaceholders.isEmpty());

    for (const auto &[name, field] : fields)
        QCOMPARE(shown.value(name), field->text());
    QCOMPARE(shown.value("NOME"), QStringLiteral("João D'Ávila"));
    QCOMPARE(shown.value("ARGILA"), QStringLiteral("não é número"));
    QCOMPARE(shown.value("Par1"), QStringLiteral("c0r1"));
    QCOMPARE(shown.value("Epoca2"), QStringLiteral("c1r2"));
    QCOMPARE(shown.value("N3"), QStringLiteral("c2r3"));
    QCOMPARE(shown.value("P4"), QStringLiteral("c3r4"));
    QCOMPARE(shown.value("K1"), QStringLiteral("c4r1"));
    QCOMPARE(shown.value("K4"), QStringLiteral("c4r4"));
    QCOMPARE(shown.value("Data"), date);

    // Everything emptied: the values of the first report do not linger.
    for (const auto &[name, field] : fields)
        field->clear();
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        for (int c = applications::ApplicationColumn; c <= applications::K2OColumn; ++c)
            w->stga3->setCell(c, r, QString());
    w->Memo1->clear();
    w->Memo3->clear();
    for (const char *grid : {"stga4", "stga5", "Stga6", "stga7"})
        gui::find<StringGrid>(w.get(), grid)->setRows(1);
    shown.clear();
    emptyPlaceholders.clear();
    QCOMPARE(pageReport(*w, read), QStringList());
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        if (it.key() == "Recomenda")
            QCOMPARE(it.value(), QStringLiteral("Recomendações:"));
        else if (it.key() == "Data")
            QCOMPARE(it.value(), date);
        else
            QVERIFY2(it.value().isEmpty(), qPrintable(it.key() + " = " + it.value()));
    }
    for (const char *list : {"AdubPlantio", "Adubcob1", "Adubcob2", "Adubcob3", "Obs1"})
        QCOMPARE(w->frxReport1->variable(list), QString());
}

void TstPageReport::limingLine_data()
{
    QTest::addColumn<QString>("typedNeed"); // "Necessidade calcário PRNT 100%", before its "Calcular"
    QTest::addColumn<QString>("calagem");
    QTest::addColumn<QString>("comercial");
    QTest::newRow("the indication corrected") << "" << "0,65" << "";
    QTest::newRow("a need of its own corrected") << "1,38" << "1,38" << "1,725";
}

// The page's liming line states the need its commercial quantity was
// computed from, never the indication beside another need's quantity.
void TstPageReport::limingLine()
{
    QFETCH(QString, typedNeed);
    QFETCH(QString, calagem);
    QFETCH(QString, comercial);
    auto w = gui::openWindow();
    w->Edit61->setText(QStringLiteral("0,65"));
    if (!typedNeed.isEmpty()) {
        gui::typeWhole(*w, "Edit23", typedNeed);
        gui::typeWhole(*w, "Edit24", QStringLiteral("80"));
        QCOMPARE(gui::clickAnswering(*w, "Button2"), QStringList());
    }
    QCOMPARE(w->Edit25->text(), comercial);
    QStringList shown;
    QCOMPARE(pageReport(*w,
                        [&](ReportPreview &) {
                            for (const char *v : {"CALAGEM", "PRNT", "COMERCIAL"})
                                shown << w->frxReport1->variable(QLatin1String(v));
                        }),
             QStringList());
    QCOMPARE(shown, (QStringList{calagem, typedNeed.isEmpty() ? QString() : QStringLiteral("80"), comercial}));
}

void TstPageReport::memos_data()
{
    QTest::addColumn<QString>("memo1");
    QTest::addColumn<QString>("memo3");
    QTest::addColumn<QString>("obs1");
    QTest::addColumn<QString>("recomenda");

    QTest::newRow("both empty") << "" << "" << "" << "Recomendações:";
    QTest::newRow("one line") << "Calagem por saturação" << "Aplicar em sulco"
                              << " Calagem por saturação" << "Recomendações: Aplicar em sulco";
    QTest::newRow("two lines") << "Obs:\nlimitada a 2 t/ha" << "a\nb"
                               << " Obs: limitada a 2 t/ha" << "Recomendações: a b";
    QTest::newRow("blank line between") << "x\n\ny" << "it's\n\nok" << " x  y" << "Recomendações: it's  ok";
}

// The liming observation and the technician's recommendations stand on one
// line each, every memo line after one blank.
void TstPageReport::memos()
{
    QFETCH(QString, memo1);
    QFETCH(QString, memo3);
    QFETCH(QString, obs1);
    QFETCH(QString, recomenda);
    auto w = gui::openWindow();
    w->Memo1->setPlainText(memo1);
    w->Memo3->setPlainText(memo3);
    QString shownObs, shownRecomenda;
    QCOMPARE(pageReport(*w,
                        [&](ReportPreview &) {
                            shownObs = w->frxReport1->filled("[Obs1]");
                            shownRecomenda = w->frxReport1->filled("[Recomenda]");
                        }),
             QStringList());
    QCOMPARE(shownObs, obs1);
    QCOMPARE(shownRecomenda, recomenda);
}

void TstPageReport::productLists_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<QStringList>("quantities");
    QTest::addColumn<QString>("list");

    const QStringList three{"Uréia (45%N)", "Superfosfato simples (18% P2O5)", "Cloreto de potássio (60% K2O)"};
    const QStringList threeKg{"40,0", "361,1", "66,7"};
    const QString threeListed = "Uréia (45%N)  40,0  (kg/ha) + Superfosfato simples (18% P2O5)  361,1  (kg/ha)"
                                " + Cloreto de potássio (60% K2O)  66,7  (kg/ha)";
    QTest::newRow("no products") << "" << QStringList() << QStringList() << "";
    for (const char *grid : {"stga4", "stga5", "Stga6", "stga7"}) {
        QTest::addRow("%s one", grid) << grid << QStringList{"Esterco de galinha"} << QStringList{"2000,0"}
                                      << "Esterco de galinha  2000,0  (kg/ha)";
        QTest::addRow("%s three", grid) << grid << three << threeKg << threeListed;
    }
    QTest::newRow("stga4 empty quantity") << "stga4" << QStringList{"Uréia", "Torta"} << QStringList{"", "5"}
                                          << "Uréia    (kg/ha) + Torta  5  (kg/ha)";
}

// Each fertilizer grid goes into its own list; the others stay empty.
void TstPageReport::productLists()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, products);
    QFETCH(QStringList, quantities);
    QFETCH(QString, list);
    const QList<std::pair<const char *, const char *>> lists{
        {"stga4", "AdubPlantio"}, {"stga5", "Adubcob1"}, {"Stga6", "Adubcob2"}, {"stga7", "Adubcob3"}};

    auto w = gui::openWindow();
    for (const auto &[name, variable] : lists)
        gui::find<StringGrid>(w.get(), name)->setRows(1);
    if (!grid.isEmpty()) {
        auto *g = gui::find<StringGrid>(w.get(), qPrintable(grid));
        g->setRows(products.size() + 1);
        for (int r = 1; r <= products.size(); ++r) {
            const QStringList cells{products[r - 1], quantities[r - 1], "9,99", "8,88", "7,77"};
            for (int c = 0; c < cells.size(); ++c)
                g->setCell(c, r, cells[c]);
        }
    }
    QHash<QString, QString> shown;
    QCOMPARE(pageReport(*w,
                        [&](ReportPreview &) {
                            for (const auto &[name, variable] : lists)
                                shown[name] = w->frxReport1->filled(QStringLiteral("[%1]").arg(variable));
                        }),
             QStringList());
    for (const auto &[name, variable] : lists)
        QCOMPARE(shown.value(name), name == grid ? list : QString());
}

// The picture is the chart as last drawn on its tab, replaced by every report.
void TstPageReport::chartPicture()
{
    auto w = gui::openWindow();
    {
        QFile old(chartFile());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older picture");
    }
    QCOMPARE(pageReport(*w), QStringList());
    const QByteArray days = readAll(chartFile());
    QVERIFY(days.startsWith("BM"));
    QCOMPARE(QImage(chartFile()).size(), QSize(766, 415));

    QCOMPARE(pageReport(*w), QStringList());
    QCOMPARE(readAll(chartFile()), days);

    const auto clickOn = [&](QAbstractButton *option) {
        w->PageControl1->setCurrentWidget(w->calendarTab);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(7, option->height() / 2));
    };
    clickOn(w->RadioButton8);
    QVERIFY(w->RadioButton8->isChecked());
    QCOMPARE(pageReport(*w), QStringList());
    const QByteArray dates = readAll(chartFile());
    QCOMPARE(QImage(chartFile()).size(), QSize(766, 415));
    QVERIFY(dates != days);

    clickOn(w->RadioButton7);
    QCOMPARE(pageReport(*w), QStringList());
    QCOMPARE(readAll(chartFile()), days);

    QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList({"grafico1.bmp*"}),
             QStringList{"grafico1.bmp"});
}

void TstPageReport::chartPictureCannotBeWritten()
{
    const QDir program(QCoreApplication::applicationDirPath());
    QFile::remove(chartFile());
    QVERIFY(program.mkdir(QStringLiteral("grafico1.bmp")));
    auto w = gui::openWindow();
    bool previewed = false;
    const QStringList messages = pageReport(*w, {}, &previewed);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith("Cannot create file \"" + QDir::toNativeSeparators(chartFile()) + "\". "),
             qPrintable(messages[0]));
    QVERIFY(!previewed);
    // Nothing left beside the program but the folder that was in the way.
    QVERIFY(QFileInfo(chartFile()).isDir());
    QCOMPARE(program.entryList({"grafico1.bmp*"}, QDir::AllEntries | QDir::Hidden | QDir::System),
             QStringList{"grafico1.bmp"});
}

void TstPageReport::pdfDocument()
{
    auto w = gui::openWindow();
    w->Edit55->setText(QStringLiteral("João D'Ávila"));
    const QString path = dir_->filePath(QStringLiteral("relatorio.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older document");
    }
    bool exported = false;
    QCOMPARE(pageReport(*w, [&](ReportPreview &preview) { exported = preview.exportPdf(path); }), QStringList());
    QVERIFY(exported);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"relatorio.pdf"});

    const QByteArray pdf = readAll(path);
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(!pdf.contains("an older document"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("qpdf")).isEmpty())
        QSKIP("pdfinfo and qpdf read the document back: scripts/install-deps.sh installs them");
    QCOMPARE(pdfInfo(path, QStringLiteral("Author")), QStringLiteral("Tuberon"));
    QCOMPARE(pdfInfo(path, QStringLiteral("Subject")), QStringLiteral("Recomendação de calagem e adubação da mandioca"));
    QCOMPARE(pdfInfo(path, QStringLiteral("Title")), QStringLiteral("Tuberon"));
    QCOMPARE(pdfInfo(path, QStringLiteral("Pages")), QStringLiteral("1"));
    // Printed at its own size, in a window that is neither fitted nor centred.
    const QJsonObject preferences = viewerPreferences(path);
    QCOMPARE(preferences.value(QLatin1String("/PrintScaling")).toString(), QStringLiteral("/None"));
    QCOMPARE(preferences.value(QLatin1String("/FitWindow")), QJsonValue(false));
    QCOMPARE(preferences.value(QLatin1String("/CenterWindow")), QJsonValue(false));
    for (const char *shown : {"/HideToolbar", "/HideMenubar", "/HideWindowUI"})
        QCOMPARE(preferences.value(QLatin1String(shown)), QJsonValue(false));

    // One A4 page.
    const QString text = QString::fromLatin1(pdf);
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
    const QRegularExpressionMatch box = QRegularExpression(
        QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]")).match(text);
    QVERIFY(box.hasMatch());
    const double width = box.captured(3).toDouble() - box.captured(1).toDouble();
    const double height = box.captured(4).toDouble() - box.captured(2).toDouble();
    QVERIFY2(qAbs(width - 595.3) < 1 && qAbs(height - 841.9) < 1, qPrintable(box.captured(0)));
}

void TstPageReport::pdfExportFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("folderInTheWay");
    QTest::addColumn<bool>("diskFillsUp");
    QTest::newRow("a folder of that name") << "relatorio.pdf" << true << false;
    QTest::newRow("a folder that does not exist") << "sem pasta/relatorio.pdf" << false << false;
    QTest::newRow("disk fills up over an older document") << "relatorio.pdf" << false << true;
}

// A failed export says so and leaves nothing half-written behind: an older
// document of that name stays as it was.
void TstPageReport::pdfExportFailures()
{
    QFETCH(QString, target);
    QFETCH(bool, folderInTheWay);
    QFETCH(bool, diskFillsUp);
    const QDir dir(dir_->path());
    const QString path = dir.filePath(target);
    if (folderInTheWay)
        QVERIFY(dir.mkdir(target));
    if (diskFillsUp) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older document");
    }
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    auto w = gui::openWindow();
    bool exported = true;
    const QStringList messages = pageReport(*w, [&](ReportPreview &preview) {
        // A file size limit makes the write fail part way, as a full disk would.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        if (diskFillsUp) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = old;
            small.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        exported = preview.exportPdf(path);
        setrlimit(RLIMIT_FSIZE, &old);
    });
    QVERIFY(!exported);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith("Cannot create file \"" + path + "\". "), qPrintable(messages[0]));
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    if (folderInTheWay)
        QVERIFY(QDir(path).isEmpty());
    if (diskFillsUp)
        QCOMPARE(readAll(path), QByteArray("an older document"));
}

void TstPageReport::moduleTableChecked_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<quint32>("size");
    QTest::addColumn<QString>("refused");
    const quint32 ours = fileformats::functionsVersion, size = sizeof(fileformats::Functions);
    QTest::newRow("this build") << ours << size << QString();
    QTest::newRow("an older table") << ours - 1 << size
                                    << QStringLiteral("functions version %1 of %2 bytes").arg(ours - 1).arg(size);
    QTest::newRow("a longer table of the same version")
        << ours << size + 8 << QStringLiteral("functions version %1 of %2 bytes").arg(ours).arg(size + 8);
}

// A module left from another build is refused before any of its functions
// is called, and says which table it carries.
void TstPageReport::moduleTableChecked()
{
    QFETCH(quint32, version);
    QFETCH(quint32, size);
    QFETCH(QString, refused);
    QString error;
    fileformats::Functions table = *fileformats::load(&error);
    table.version = version;
    table.size = size;
    const fileformats::Functions *checked = fileformats::checked(&table, &error);
    if (refused.isEmpty()) {
        QCOMPARE(checked, &table);
    } else {
        QCOMPARE(checked, nullptr);
        QVERIFY2(error.contains(refused), qPrintable(error));
    }
}

void TstPageReport::pdfExportFileCases_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode"); // -1: no document there
    QTest::addColumn<bool>("vanishes");  // the older document is deleted while the preview is open
    QTest::addColumn<bool>("exported");
    QTest::newRow("read-only file") << 0755 << 0444 << false << false;
    QTest::newRow("read-only folder, writable file") << 0555 << 0644 << false << true;
    QTest::newRow("read-only folder, no file") << 0555 << -1 << false << false;
    QTest::newRow("replaced file keeps its mode") << 0755 << 0640 << false << true;
    QTest::newRow("file vanishes before the export") << 0755 << 0644 << true << true;
}

// The export tried as an ordinary user against the permissions of the folder
// and of an older document of that name: refused with the reason and the
// older document untouched, or written whole.
void TstPageReport::pdfExportFileCases()
{
    RUN_UNPRIVILEGED();
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, vanishes);
    QFETCH(bool, exported);
    const QString folder = dir_->filePath(QStringLiteral("documentos"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("relatorio.pdf"));
    if (fileMode >= 0) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older document");
        old.close();
        QVERIFY(::chmod(qPrintable(path), mode_t(fileMode)) == 0);
    }
    QVERIFY(::chmod(qPrintable(folder), mode_t(folderMode)) == 0);

    auto w = gui::openWindow();
    bool done = !exported;
    const QStringList messages = pageReport(*w, [&](ReportPreview &preview) {
        if (vanishes)
            QFile::remove(path);
        done = preview.exportPdf(path);
    });
    ::chmod(qPrintable(folder), 0755);

    QCOMPARE(done, exported);
    const QByteArray bytes = readAll(path);
    if (exported) {
        QCOMPARE(messages, QStringList());
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        struct stat st{};
        QVERIFY(::stat(qPrintable(path), &st) == 0);
        if (!vanishes)
            QCOMPARE(int(st.st_mode & 07777), fileMode);
    } else {
        QCOMPARE(messages, QStringList{QStringLiteral("Cannot create file \"%1\". Permission denied").arg(path)});
        QCOMPARE(bytes, fileMode < 0 ? QByteArray() : QByteArray("an older document"));
    }
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             exported || fileMode >= 0 ? QStringList{"relatorio.pdf"} : QStringList());
}

// An installed program stands in a folder the user cannot write: the chart
// picture goes to the user's cache folder, and the page shows it from there.
void TstPageReport::chartPictureInTheCacheWhenTheProgramFolderIsReadOnly()
{
    RUN_UNPRIVILEGED();
    if (QFileInfo(QCoreApplication::applicationDirPath()).isWritable())
        QSKIP("the test program's folder is writable here");
    const QString cached =
        QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(QStringLiteral("grafico1.bmp"));
    QFile::remove(cached);
    auto w = gui::openWindow();
    bool previewed = false;
    QImage page(794, 1123, QImage::Format_RGB32); // A4 at 96 dpi
    QCOMPARE(pageReport(*w, [&](ReportPreview &) {
        page.fill(Qt::white);
        QPainter painter(&page);
        w->frxReport1->paint(painter, 96);
    }, &previewed), QStringList());
    QVERIFY(previewed);
    QVERIFY(!QFileInfo::exists(chartFile()));
    QCOMPARE(QImage(cached).size(), QSize(766, 415));

    // The chart's box on the page (161 x 76.1 mm at 7.7, 183 mm) is drawn, not blank.
    const QRect box(int(7.7 / 25.4 * 96), int(183 / 25.4 * 96), int(140 / 25.4 * 96), int(76 / 25.4 * 96));
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); y += 2)
        for (int x = box.left(); x <= box.right(); x += 2)
            ink += page.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY2(ink > box.width() * box.height() / 40, qPrintable(QString::number(ink)));
}

void TstPageReport::fitText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::addColumn<QSizeF>("box"); // millimetres
    QTest::addColumn<QString>("size"); // "same", "smaller" or "smallest"
    QTest::addColumn<QStringList>("lines"); // empty: only the cut is checked
    QTest::addColumn<bool>("cut");
    const QString technician = QStringLiteral("Eng. Agr. Maria Aparecida Souza - CREA-RS 123456");
    QString many;
    for (int i = 1; i <= 40; ++i)
        many += QStringLiteral("Adubo 04-14-08  %1  (kg/ha) + ").arg(i);
    QTest::newRow("fits at its own size") << "Tuberon - 1.0" << 14.25 << QSizeF(40, 7) << "same"
                                          << QStringList{"Tuberon - 1.0"} << false;
    QTest::newRow("blanks that place a label stay") << "      P" << 11.25 << QSizeF(16, 4) << "same"
                                                    << QStringList{"      P"} << false;
    QTest::newRow("two lines where two fit") << "Argila\n(%)" << 11.25 << QSizeF(14, 11) << "same"
                                             << QStringList{"Argila", "(%)"} << false;
    QTest::newRow("technician line set smaller, whole") << technician << 11.25 << QSizeF(75, 5) << "smaller"
                                                        << QStringList{technician} << false;
    QTest::newRow("too long even at 7 pt") << many << 10.0 << QSizeF(186, 9) << "smallest" << QStringList() << true;
    QTest::newRow("a word wider than the box") << "Superfosfatotriplo" << 11.25 << QSizeF(10, 5) << "smallest"
                                               << QStringList() << true;
}

// A text that does not fit its box is set smaller, down to 7 pt, before
// anything is cut; what still does not fit ends with "…", and no line shows
// only in part.
void TstPageReport::fitText()
{
    QFETCH(QString, text);
    QFETCH(double, points);
    QFETCH(QSizeF, box);
    QFETCH(QString, size);
    QFETCH(QStringList, lines);
    QFETCH(bool, cut);
    QImage device(10, 10, QImage::Format_RGB32);
    const int dpm = qRound(300 / 0.0254); // 300 dpi, as the PDF is drawn
    device.setDotsPerMeterX(dpm);
    device.setDotsPerMeterY(dpm);
    const qreal px = 300 / 25.4;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    const QRectF area(0, 0, box.width() * px, box.height() * px);

    const reports::FittedText fitted = reports::fitText(text, font, area, &device);

    if (size == QLatin1String("same"))
        QCOMPARE(fitted.points, points);
    else if (size == QLatin1String("smaller"))
        QVERIFY2(fitted.points < points && fitted.points >= reports::kSmallestPoints, qPrintable(QString::number(fitted.points)));
    else
        QCOMPARE(fitted.points, reports::kSmallestPoints);
    QCOMPARE(fitted.cut, cut);
    if (!lines.isEmpty())
        QCOMPARE(fitted.lines, lines);
    font.setPointSizeF(fitted.points);
    const QFontMetricsF metrics(font, &device);
    QVERIFY(!fitted.lines.isEmpty());
    for (const QString &line : fitted.lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= area.width() + 0.01, qPrintable(line));
    // Every line shown has its baseline inside the box.
    QVERIFY((fitted.lines.size() - 1) * metrics.lineSpacing() + metrics.ascent() <= area.height() + 0.01);
    if (cut)
        QVERIFY2(fitted.lines.last().endsWith(QChar(0x2026)), qPrintable(fitted.lines.last()));
}

// The farmer's page with a long technician line and six planting products:
// the CREA number is whole in the PDF's text, and the sixth product is shown
// or the list is marked as cut.
void TstPageReport::nothingLostWithoutASign()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext reads the document back: scripts/install-deps.sh installs poppler-utils");
    auto w = gui::openWindow();
    w->Edit15->setText(QStringLiteral("Eng. Agr. Maria Aparecida Souza - CREA-RS 123456"));
    const QStringList products{"Cama de frango (3 e 4  lotes) ", "Uréia (45%N)", "Superfosfato Triplo (41%P205)",
                               "Cloreto de Potássio (58% K2O)", "Adubo 04-14-08", "Fosfato Natural reativo (9%P2O5)"};
    w->stga4->setRows(1 + products.size());
    for (int r = 0; r < products.size(); ++r) {
        w->stga4->setCell(applications::ProductColumn, applications::FirstProductRow + r, products[r]);
        w->stga4->setCell(applications::KgColumn, applications::FirstProductRow + r, QStringLiteral("1714,3"));
    }
    const QString path = dir_->filePath(QStringLiteral("relatorio.pdf"));
    bool exported = false;
    QCOMPARE(pageReport(*w, [&](ReportPreview &preview) { exported = preview.exportPdf(path); }), QStringList());
    QVERIFY(exported);

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                  path, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Maria Aparecida Souza - CREA-RS 123456")), qPrintable(text));
    const QString flat = text.simplified();
    const qsizetype list = flat.indexOf(QStringLiteral("Cama de frango"));
    QVERIFY2(list >= 0, qPrintable(flat));
    const QString sixth = QStringLiteral("Fosfato Natural reativo (9%P2O5) 1714,3 (kg/ha)");
    QVERIFY2(flat.contains(sixth) || flat.indexOf(QChar(0x2026), list) >= 0, qPrintable(flat.mid(list, 400)));
}

void TstPageReport::brokenTemplate_data()
{
    QTest::addColumn<QByteArray>("content"); // written as the template file
    QTest::addColumn<QString>("shape");      // "file", "none" or "folder"
    QTest::addColumn<QString>("reason");
    const QByteArray withoutChart = R"({"objects": [{"name": "NOME", "kind": "text", "text": "[NOME]",
                                        "box": [20, 23, 89, 5]}]})";
    const QByteArray missingLogo = R"({"objects": [{"name": "Grafico1", "kind": "picture", "box": [7, 183, 161, 76]},
                                       {"name": "Picture1", "kind": "picture", "box": [3, 1, 22, 20],
                                        "file": ":/assets/no_such_logo.png"}]})";
    QTest::newRow("missing") << QByteArray() << "none" << "Cannot open file \"%1\". No such file or directory";
    QTest::newRow("a folder") << QByteArray() << "folder" << "Cannot open file \"%1\". Not a readable file";
    QTest::newRow("not JSON") << QByteArray("{\"objects\": [") << "file"
                              // Qt's reason, in Portuguese as all of Qt's texts
                              << "Cannot open file \"%1\". Not a page template: lista não terminada at byte 13";
    QTest::newRow("no objects") << QByteArray("{\"page\": {}}") << "file"
                                << "Cannot open file \"%1\". Not a page template: it has no objects";
    QTest::newRow("no chart picture object") << withoutChart << "file"
                                             << "The page template has no picture object \"Grafico1\" for the chart";
    QTest::newRow("a logo that cannot be read") << missingLogo << "file"
                                                << "Cannot open file \":/assets/no_such_logo.png\". Not a readable picture";
}

// A broken page template says what is wrong and opens no preview, rather
// than show a blank or half page.
void TstPageReport::brokenTemplate()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shape);
    QFETCH(QString, reason);
    const QString path = dir_->filePath(QStringLiteral("pagina.json"));
    if (shape == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (shape == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    auto w = gui::openWindow();
    w->frxReport1->setTemplatePath(path);
    bool previewed = false;

    QCOMPARE(pageReport(*w, {}, &previewed), QStringList{reason.contains(QLatin1String("%1")) ? reason.arg(path) : reason});

    QVERIFY(!previewed);
    // The program's own template still makes its page.
    w->frxReport1->setTemplatePath(QStringLiteral(":/assets/report_page.json"));
    QCOMPARE(pageReport(*w, {}, &previewed), QStringList());
    QVERIFY(previewed);
}

QTEST_MAIN(TstPageReport)
#include "tst_page_report.moc"
