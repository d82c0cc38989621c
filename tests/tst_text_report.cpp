#include "agronomy/Applications.h"
#include "reports/ReportFile.h"
#include "app/StringGrid.h"
#include "reports/TextReport.h"
#include "gui_helpers.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>
#include <utime.h>

// The text report: its lines as fixed texts and fixed-width columns, the file
// as the legacy code page with CR LF, and what happens when it cannot be written.
class TstTextReport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void emptyFields();
    void columns_data();
    void columns();
    void sectionsAndRules();
    void fileFromTheWindow();
    void unwritableFile();
    void failedWriteKeepsThePreviousReport();
    void permissions_data();
    void permissions();
    void programFilePlace_data();
    void programFilePlace();
    void symbolicLink_data();
    void symbolicLink();
    void leftoverTemporaries();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_;
    QStringList opened_;
};

void TstTextReport::init()
{
    // Each case writes into a folder of its own.
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    opened_.clear();
    reports::setOpener([this](const QString &path) { opened_ << path; });
}

void TstTextReport::cleanup()
{
    QDir::setCurrent(previous_);
    dir_.reset();
}

void TstTextReport::emptyFields()
{
    const QStringList lines = reports::textReportLines({});
    QCOMPARE(lines.value(4), QStringLiteral("Nome:    CPF: "));
    QCOMPARE(lines.value(14), QStringLiteral("Expectativa de produção :  t/ha"));
    // The split table always has its four lines; empty cells are blanks up to
    // the width, an empty K2O nothing at all.
    for (int i = 19; i < 23; ++i)
        QCOMPARE(lines.value(i), QString(11 + 16 + 16 + 16, QLatin1Char(' ')));
    // No product listed: the planting section is its heading between rules,
    // then the empty line that opens the top-dressings.
    QCOMPARE(lines.value(26), QString(75, QLatin1Char('-')));
    QCOMPARE(lines.value(27), QString());
    QCOMPARE(lines.value(28), QStringLiteral("Primeira parcela "));
}

void TstTextReport::columns_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QString>("line");

    QTest::newRow("split table") << "split" << QStringList{"Plantio", "0", "18,00", "65,0", "40,00"}
                                 << "Plantio    0               18,00           65,0            40,00";
    QTest::newRow("split K2O cut to 15") << "split" << QStringList{"1ª", "30-45", "", "", "1234567890123456789"}
                                         << QString("1ª         30-45") + QString(11 + 16 + 16, ' ') + "123456789012345";
    QTest::newRow("planting") << "planting" << QStringList{"Uréia (45%N)", "40,0", "18,00", "0,00", "0,00"}
                              << "Uréia (45%N)                  40,0            18,00           0,00            0,00";
    QTest::newRow("planting name of 30 touches the quantity")
        << "planting" << QStringList{QString(30, 'x'), "40,0", "", "", ""}
        << QString(30, 'x') + "40,0" + QString(12 + 16 + 16, ' ');
    QTest::newRow("top-dressing, 90 characters")
        << "top" << QStringList{"Uréia ", "133,3", "60,0", "0,0", "0,0"}
        << "Uréia                     133,3           60,0            0,0             0,0             ";
    QTest::newRow("top-dressing name of 26 touches the quantity")
        << "top" << QStringList{QString(26, 'y'), "100", "", "", ""}
        << QString(26, 'y') + "100" + QString(13 + 16 + 16 + 16, ' ');
}

void TstTextReport::columns()
{
    QFETCH(QString, section);
    QFETCH(QStringList, row);
    QFETCH(QString, line);
    reports::ReportContent f;
    int at = 0;
    if (section == "split") {
        f.split = {row, row, row, row};
        at = 19;
    } else if (section == "planting") {
        f.planting = {row};
        at = 27;
    } else {
        f.topDressing[0] = {row};
        at = 31;
    }
    QCOMPARE(reports::textReportLines(f).value(at), line);
}

// Each top-dressing section has its own order of rules; every listed row
// stands between the section's heading rules and its closing rule.
void TstTextReport::sectionsAndRules()
{
    reports::ReportContent f;
    f.planting = {{"a"}, {"b"}};
    f.topDressing[0] = {{"c"}};
    f.topDressing[2] = {{"d"}, {"e"}};
    const QString R74(74, '-'), R75(75, '-'), R88(88, '-');
    const QString H83 = "Tipo                       (kg)          N (kg/ha)        P205 (kg/ha)  K20 (kg/ha)";
    const QString pad26(26 - 1, ' '), tail(16 * 4, ' ');
    const QStringList expectedTail{
        R75, "Adubação no Plantio ",
        "Tipo                           (kg)           N (kg/ha)      P205 (kg/ha)   K20 (kg/ha)", R75,
        "a" + QString(29 + 48, ' '), "b" + QString(29 + 48, ' '),
        "", "Primeira parcela ", H83, R88, "c" + pad26 + tail, R74,
        "", "Segunda parcela ", R74, H83, R88, R74,
        "", "Terceira parcela ", H83, R74, "d" + pad26 + tail, "e" + pad26 + tail, R74};
    const QStringList lines = reports::textReportLines(f);
    QCOMPARE(lines.mid(23), expectedTail);
    QCOMPARE(lines.value(17), QStringLiteral("Parcela    Epoca         N (kg/ha)        P205 (kg/ha)    K20 (kg/ha)"));
}

void TstTextReport::fileFromTheWindow()
{
    auto w = gui::openWindow();
    w->Edit55->setText(QStringLiteral("João"));
    w->Edit2->setText(QStringLiteral("5"));
    w->stga3->setCell(applications::NColumn, applications::Planting, QStringLiteral("18,00"));
    w->stga4->setRows(2);
    w->stga4->setCell(applications::ProductColumn, applications::FirstProductRow, QStringLiteral("Uréia ✓"));

    QVERIFY(gui::messagesDuring([&] { QTest::mouseClick(w->Button12, Qt::LeftButton); }).isEmpty());
    QCOMPARE(opened_, QStringList{QStringLiteral("RelTuberon.txt")});
    QFile file(QStringLiteral("RelTuberon.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    QVERIFY(bytes.startsWith("Tuberon -vers\xe3o 1.0\r\nAduba\xe7\xe3o para a cultura da Mandioca\r\n"));
    QVERIFY(bytes.contains("\r\nNome: Jo\xe3o   CPF: \r\n"));
    QVERIFY(bytes.contains("P (mg/dm\xb3) = 5;"));
    QVERIFY(bytes.contains("\r\nN\xba laudo: \r\n"));
    QVERIFY(bytes.contains("\r\nPlantio    0               18,00"));
    QVERIFY(bytes.contains("\r\nUr\xe9ia ?"));
    QVERIFY(bytes.endsWith(QByteArray(74, '-') + "\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));

    // Clicking again with nothing changed writes the same file.
    QTest::mouseClick(w->Button12, Qt::LeftButton);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TstTextReport::unwritableFile()
{
    // A folder where the report should go cannot be replaced by a file.
    QVERIFY(QDir().mkdir(QStringLiteral("RelTuberon.txt")));
    auto w = gui::openWindow();
    const QStringList messages = gui::messagesDuring([&] { QTest::mouseClick(w->Button12, Qt::LeftButton); });
    QCOMPARE(messages, QStringList{QStringLiteral("File access denied")});
    QVERIFY(opened_.isEmpty());
}

void TstTextReport::failedWriteKeepsThePreviousReport()
{
    {
        QFile previous(QStringLiteral("RelTuberon.txt"));
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous report\r\n");
    }
    auto w = gui::openWindow();
    // A file size limit makes the write fail part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    const QStringList messages = gui::messagesDuring([&] { QTest::mouseClick(w->Button12, Qt::LeftButton); });
    setrlimit(RLIMIT_FSIZE, &old);

    QCOMPARE(messages, QStringList{QStringLiteral("I/O error %1").arg(EFBIG)});
    QVERIFY(opened_.isEmpty());
    QFile previous(QStringLiteral("RelTuberon.txt"));
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("previous report\r\n"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{QStringLiteral("RelTuberon.txt")});
}

void TstTextReport::permissions_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode"); // -1: no report there yet
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("written");
    QTest::newRow("read-only file") << 0755 << 0444 << "File access denied" << false;
    QTest::newRow("read-only folder, writable file") << 0555 << 0644 << "" << true;
    QTest::newRow("read-only folder, read-only file") << 0555 << 0444 << "File access denied" << false;
    QTest::newRow("read-only folder, no file") << 0555 << -1 << "File access denied" << false;
    QTest::newRow("replaced file keeps its mode") << 0755 << 0640 << "" << true;
    // A report left writable by others keeps only what the umask allows.
    QTest::newRow("shared file loses what the umask forbids") << 0755 << 0666 << "" << true;
}

// What the permissions of the folder and of an earlier report allow, tried
// as an ordinary user: a protected report stays as it was, a writable one in
// a closed folder takes the new report, and a replaced one keeps its mode.
void TstTextReport::permissions()
{
    RUN_UNPRIVILEGED();
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(QString, message);
    QFETCH(bool, written);
    const QString folder = QDir::current().filePath(QStringLiteral("relatorios"));
    QVERIFY(QDir().mkdir(folder));
    QDir::setCurrent(folder);
    const QString report = QStringLiteral("RelTuberon.txt");
    if (fileMode >= 0) {
        QFile previous(report);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous report\r\n");
        previous.close();
        QVERIFY(::chmod(qPrintable(report), mode_t(fileMode)) == 0);
    }
    QVERIFY(::chmod(qPrintable(folder), mode_t(folderMode)) == 0);
    auto w = gui::openWindow();

    const QStringList messages = gui::messagesDuring([&] { QTest::mouseClick(w->Button12, Qt::LeftButton); });
    ::chmod(qPrintable(folder), 0755);

    QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(opened_, written ? QStringList{report} : QStringList());
    QFile file(report);
    if (fileMode < 0) {
        QVERIFY(!file.exists());
    } else {
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (written)
            QVERIFY2(bytes.startsWith("Tuberon -vers\xe3o 1.0\r\n") && bytes.endsWith(QByteArray(74, '-') + "\r\n"),
                     bytes.left(40).constData());
        else
            QCOMPARE(bytes, QByteArray("previous report\r\n"));
        struct stat st{};
        QVERIFY(::stat(qPrintable(report), &st) == 0);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QCOMPARE(int(st.st_mode & 07777), written ? fileMode & ~int(mask & 0222) : fileMode);
    }
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             fileMode < 0 ? QStringList() : QStringList{report});
}

void TstTextReport::programFilePlace_data()
{
    QTest::addColumn<QString>("programDir"); // under the case's folder, writable
    QTest::addColumn<bool>("inCache");
    QTest::newRow("build folder") << "build" << false;
    QTest::newRow("installed in /usr") << "usr/bin" << true;
    QTest::newRow("installed in another prefix") << "opt/tuberon/bin" << true;
}

// The chart picture goes beside a program run from where it was built, but
// never into the bin folder of an installed one, even one the user may write
// (root, or a prefix of their own): the package manager would not remove it.
void TstTextReport::programFilePlace()
{
    QFETCH(QString, programDir);
    QFETCH(bool, inCache);
    const QString program = dir_->filePath(programDir);
    const QString cache = dir_->filePath(QStringLiteral("cache"));
    QVERIFY(QDir().mkpath(program));
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
    const QByteArray previous = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    const QString path = reports::saveProgramFile(QStringLiteral("grafico1.bmp"), "BM", program);
    if (wasSet)
        qputenv("XDG_CACHE_HOME", previous);
    else
        qunsetenv("XDG_CACHE_HOME");

    const QString beside = QDir(program).filePath(QStringLiteral("grafico1.bmp"));
    QCOMPARE(QFileInfo::exists(beside), !inCache);
    if (inCache)
        QVERIFY2(path.startsWith(cache + QLatin1Char('/')), qPrintable(path));
    else
        QCOMPARE(path, beside);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("BM"));
}

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Everything in a folder, hidden files too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

void TstTextReport::symbolicLink_data()
{
    QTest::addColumn<QStringList>("links"); // "name -> target", made in order; the first is saved over
    QTest::addColumn<QString>("file");      // the file that must take the bytes
    QTest::addColumn<bool>("existed");
    QTest::newRow("link beside its file") << QStringList{"caso.tuberon -> real.tuberon"} << "real.tuberon" << true;
    QTest::newRow("link into another folder")
        << QStringList{"caso.tuberon -> outra/real.tuberon"} << "outra/real.tuberon" << true;
    QTest::newRow("chain of links, absolute and relative")
        << QStringList{"caso.tuberon -> @/elo.tuberon", "elo.tuberon -> outra/real.tuberon"} << "outra/real.tuberon"
        << true;
    QTest::newRow("link to a file not made yet") << QStringList{"caso.tuberon -> outra/novo.tuberon"}
                                                 << "outra/novo.tuberon" << false;
}

// Saving over a symbolic link replaces the file it leads to, through the
// temporary beside that file; the link stays a link, and the file keeps its mode.
void TstTextReport::symbolicLink()
{
    QFETCH(QStringList, links);
    QFETCH(QString, file);
    QFETCH(bool, existed);
    const QDir here = QDir::current();
    QVERIFY(here.mkdir(QStringLiteral("outra")));
    if (existed) {
        put(file, "old case");
        QVERIFY(::chmod(qPrintable(file), 0640) == 0);
    }
    for (const QString &link : links) {
        const QStringList parts = link.split(QStringLiteral(" -> "));
        QString target = parts[1];
        target.replace(QLatin1Char('@'), here.absolutePath());
        QVERIFY(QFile::link(target, parts[0]));
    }
    const QString saved = links[0].section(QStringLiteral(" -> "), 0, 0);

    QCOMPARE(reports::replaceFile(saved, "new case"), 0);
    QCOMPARE(contents(file), QByteArray("new case"));
    QVERIFY(QFileInfo(saved).isSymLink());
    QCOMPARE(contents(saved), QByteArray("new case"));
    struct stat st{};
    QVERIFY(::stat(qPrintable(file), &st) == 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(int(st.st_mode & 07777), existed ? 0640 : int(0666 & ~mask));
    for (const QString &name : entries(QStringLiteral(".")) + entries(QStringLiteral("outra")))
        QVERIFY2(!name.contains(QLatin1String(".tuberon-")), qPrintable(name));
}

// What a write killed part way left in a folder is removed by the next write
// there: only the program's own temporaries, not one a live write holds, and
// never a file of the user's.
void TstTextReport::leftoverTemporaries()
{
    QVERIFY(QDir().mkdir(QStringLiteral("pasta")));
    const QString folder = QDir::current().filePath(QStringLiteral("pasta"));
    const auto at = [&folder](const char *name) { return QDir(folder).filePath(QString::fromUtf8(name)); };
    for (const char *name : {"S000021.pdf", "caso.tuberon", "notas.txt", "dados.csv"})
        put(at(name), "a file");
    const char *const left[] = {".S000021.pdf.tuberon-Ab12Cd", ".caso.tuberon.tuberon-x9Y8z7",
                                // as earlier versions named them, beside their file and long untouched
                                "S000021.pdf.Cnhghg", "caso.tuberon.Z2wneU"};
    const char *const kept[] = {"notas.txt.backup", "dados.csv.Ab12Cd", ".config.tuberon", "relatorio.Ab12Cd",
                                ".vivo.pdf.tuberon-Qw3Er4"};
    for (const char *name : left)
        put(at(name), "cut");
    for (const char *name : kept)
        put(at(name), "the user's");
    const utimbuf hourAgo{std::time(nullptr) - 3600, std::time(nullptr) - 3600};
    for (const char *name : {"S000021.pdf.Cnhghg", "caso.tuberon.Z2wneU", "notas.txt.backup", "relatorio.Ab12Cd"})
        QVERIFY(::utime(qPrintable(at(name)), &hourAgo) == 0);
    // "dados.csv.Ab12Cd" was written a moment ago: perhaps an earlier version is writing it now.
    // A write in progress holds its temporary.
    const int live = ::open(qPrintable(at(".vivo.pdf.tuberon-Qw3Er4")), O_RDONLY);
    QVERIFY(live >= 0 && ::flock(live, LOCK_EX) == 0);

    QCOMPARE(reports::replaceFile(at("novo.txt"), "new"), 0);
    ::close(live);

    QStringList expected{"S000021.pdf", "caso.tuberon", "notas.txt", "dados.csv", "novo.txt"};
    for (const char *name : kept)
        expected << QString::fromUtf8(name);
    expected.sort();
    QStringList found = entries(folder);
    found.sort();
    QCOMPARE(found, expected);
}

QTEST_MAIN(TstTextReport)
#include "tst_text_report.moc"
