#include "case_look.h"
#include "gui_helpers.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

// Cases saved by earlier versions of the program, kept with the tests as
// they were written: each must open in the window exactly as the window that
// saved it showed it, component by component (what that window showed is
// kept beside each file). Setting TUBERON_WRITE_GOLDEN to a folder writes
// them there instead, from the program as it is.
namespace {

struct Golden {
    const char *name;
    QLocale regional;
    std::function<void(TFPrincipal &)> fill;
};

QList<Golden> goldens()
{
    return {
        {"completo", gui::comma(), [](TFPrincipal &w) { QCOMPARE(fillCase(w), QStringList()); }},
        {"vazio", gui::comma(), [](TFPrincipal &) {}},
        {"ponto", gui::point(), [](TFPrincipal &w) { QCOMPARE(fillCase(w), QStringList()); }},
        // Saved while the clay content is still being typed: "35," is no
        // number yet, and the field is not left.
        {"meio-digitado", gui::comma(),
         [](TFPrincipal &w) {
             QCOMPARE(fillCase(w), QStringList());
             w.PageControl1->setCurrentIndex(0);
             w.Edit1->setFocus(Qt::MouseFocusReason);
             w.Edit1->selectAll();
             QTest::keyClick(w.Edit1, Qt::Key_Backspace);
             typeText(w.Edit1, QStringLiteral("35,"));
         }},
    };
}

const QString kFolder = QStringLiteral(TUBERON_TEST_CASES);

QJsonObject toJson(const QMap<QString, QString> &look)
{
    QJsonObject o;
    for (auto it = look.cbegin(); it != look.cend(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

QMap<QString, QString> fromJson(const QJsonObject &o)
{
    QMap<QString, QString> look;
    for (auto it = o.begin(); it != o.end(); ++it)
        look.insert(it.key(), it.value().toString());
    return look;
}

QMap<QString, QString> savedLook(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    // Controls the window gained after the files were saved hold nothing of
    // a case: opening one leaves them as the window built them.
    QMap<QString, QString> saved = fromJson(QJsonDocument::fromJson(in.readAll()).object());
    saved.insert(QStringLiteral("btnImportar"), QStringLiteral("shown|Importar...|unchecked"));
    saved.insert(QStringLiteral("btnMenorCusto"), QStringLiteral("shown|Menor custo...|unchecked"));
    saved.insert(QStringLiteral("btnMemoria"), QStringLiteral("shown|Memória de cálculo...|unchecked"));
    saved.insert(QStringLiteral("btnCasos"), QStringLiteral("shown|Casos...|unchecked"));
    return saved;
}

// Whether the files hold to the schema of the current format (python3-jsonschema).
QString schemaBreaks(const QStringList &files)
{
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("python3"),
                QStringList{QStringLiteral(TUBERON_TEST_CASES "/../check_case_schema.py"),
                            QStringLiteral(TUBERON_SCHEMA)} + files);
    if (!check.waitForFinished(60000))
        return QStringLiteral("the schema check did not run: ") + check.errorString();
    const QString said = QString::fromUtf8(check.readAll());
    return check.exitCode() == 0 ? QString() : said + QStringLiteral("(exit %1)").arg(check.exitCode());
}

// The caption names the file: a copy under another name shows that name.
QMap<QString, QString> withoutCaption(QMap<QString, QString> look)
{
    look.remove(QStringLiteral("caption"));
    return look;
}

} // namespace

class TstCaseGolden : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void formatOneOpensAsSaved_data();
    void formatOneOpensAsSaved();
    void savedAgainOpensAsSaved_data();
    void savedAgainOpensAsSaved();
    void writtenFilesHoldToTheSchema();

private:
    QTemporaryDir dir_;
};

void TstCaseGolden::initTestCase()
{
    QVERIFY(dir_.isValid());
    const QString target = qEnvironmentVariable("TUBERON_WRITE_GOLDEN");
    if (target.isEmpty())
        return;
    QVERIFY(QDir().mkpath(target));
    for (const Golden &g : goldens()) {
        const auto w = gui::openWindow(g.regional);
        g.fill(*w);
        QVERIFY(w->saveCase(QDir(target).filePath(QLatin1String(g.name) + ".tuberon")));
        QFile out(QDir(target).filePath(QLatin1String(g.name) + ".look.json"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QJsonDocument(toJson(look(*w))).toJson(QJsonDocument::Indented));
    }
}

void TstCaseGolden::formatOneOpensAsSaved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QLocale>("regional");
    for (const Golden &g : goldens())
        QTest::newRow(g.name) << QString::fromLatin1(g.name) << g.regional;
}

void TstCaseGolden::formatOneOpensAsSaved()
{
    QFETCH(QString, name);
    QFETCH(QLocale, regional);
    const QString file = kFolder + "/format1/" + name + ".tuberon";
    const auto w = gui::openWindow(regional);
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(w->openCase(file)); }), QStringList());
    COMPARE_LOOKS(look(*w), savedLook(kFolder + "/format1/" + name + ".look.json"));
    QVERIFY(!w->caseModified());
}

void TstCaseGolden::savedAgainOpensAsSaved_data() { formatOneOpensAsSaved_data(); }

// Opened, saved by this version and opened again in another window.
void TstCaseGolden::savedAgainOpensAsSaved()
{
    QFETCH(QString, name);
    QFETCH(QLocale, regional);
    const auto first = gui::openWindow(regional);
    QVERIFY(first->openCase(kFolder + "/format1/" + name + ".tuberon"));
    const QString file = dir_.filePath(name + ".tuberon");
    QVERIFY(first->saveCase(file));

    const auto second = gui::openWindow(regional);
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(second->openCase(file)); }), QStringList());
    COMPARE_LOOKS(look(*second), look(*first));
    COMPARE_LOOKS(withoutCaption(look(*second)),
                  withoutCaption(savedLook(kFolder + "/format1/" + name + ".look.json")));
}

// Every kind of case the window writes: whole, empty, under the point, half
// typed, and a new case after a whole one.
void TstCaseGolden::writtenFilesHoldToTheSchema()
{
    QStringList files;
    for (const Golden &g : goldens()) {
        const auto w = gui::openWindow(g.regional);
        QVERIFY(w->openCase(kFolder + "/format1/" + QLatin1String(g.name) + ".tuberon"));
        files << dir_.filePath(QLatin1String(g.name) + "-2.tuberon");
        QVERIFY(w->saveCase(files.last()));
        if (files.size() == 1) {
            w->newCase();
            files << dir_.filePath(QStringLiteral("novo.tuberon"));
            QVERIFY(w->saveCase(files.last()));
        }
    }
    const QString breaks = schemaBreaks(files);
    QVERIFY2(breaks.isEmpty(), qPrintable(breaks));

    // And the check sees a broken file.
    QFile file(files.first());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray broken = file.readAll();
    file.close();
    broken.replace("\"versao\": 2", "\"versao\": 2, \"campos\": {}");
    const QString wrong = dir_.filePath(QStringLiteral("errado.tuberon"));
    QFile out(wrong);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(broken);
    out.close();
    QVERIFY(!schemaBreaks({wrong}).isEmpty());
}

QTEST_MAIN(TstCaseGolden)
#include "tst_case_golden.moc"
