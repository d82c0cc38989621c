// The store of cases: what it records, finds and compares, and how it
// guards its file (versions, damage, two writers, a full disk).
#include "agronomy/Recommendation.h"
#include "batch/LabDate.h"
#include "cases/CaseJson.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "model/RecommendedCase.h"
#include "store/Comparison.h"
#include "store/Store.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Who {
    QString name, cpf, town, field;
};

// A case as the window holds it once the analysis is typed and calculated.
model::Case soilCase(const Who &who, QDate date, double p = 6, double v = 35, const QString &report = QStringLiteral("L-100"))
{
    const NumberText numbers(QLatin1Char(','));
    agronomy::Analysis a;
    a.argila = 35;
    a.p = p;
    a.k = 58.65;
    a.mo = 2.1;
    a.al = 0.4;
    a.ca = 2.1;
    a.mg = 0.8;
    a.ctc = 8.5;
    a.v = v;
    a.yield = 25;
    model::Case c;
    model::applyRecommendation(c, a, agronomy::recommend(a, numbers), numbers);
    c.producer = {who.name, who.cpf, QStringLiteral("Sítio Boa Vista"), who.town};
    c.field.name = who.field;
    c.field.report = report;
    c.analysis.ph = {QStringLiteral("5,4")};
    c.report.date = date;
    c.report.technician = QStringLiteral("Ana Prado / CREA 1234");
    return c;
}

const Who joao{QStringLiteral("João da Silva"), QStringLiteral("123.456.789-09"), QStringLiteral("Cruz das Almas"),
               QStringLiteral("Gleba 1")};
const Who maria{QStringLiteral("Maria Souza"), QString(), QStringLiteral("São Felipe"), QStringLiteral("Talhão Norte")};

int rows(const QString &path, const QString &sql)
{
    const QString name = QStringLiteral("count");
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (q.exec(sql) && q.next())
            n = q.value(0).toInt();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

QString integrity(const QString &path)
{
    const QString name = QStringLiteral("integrity");
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
            answer = q.value(0).toString();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

// A SQLite file made by hand, as another program (or an earlier one) left it.
void makeDatabase(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("maker");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &sql : statements) {
            QSqlQuery q(db);
            QVERIFY2(q.exec(sql), qPrintable(sql));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

Q_DECLARE_METATYPE(Who)

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void recordAndRead();
    void replace();
    void matching_data();
    void matching();
    void search_data();
    void search();
    void historyOldestFirst();
    void seasonsForExport();
    void comparison();
    void difference_data();
    void difference();
    void labDates_data();
    void labDates();
    void earlierVersion_data();
    void earlierVersion();
    void refused_data();
    void refused();
    void readOnlyWritesNothing();
    void fileMode_data();
    void fileMode();
    void twoWriters();
    void fullDisk();

private:
    QTemporaryDir dir_;
    int serial_ = 0;
    QString freshPath() { return dir_.filePath(QStringLiteral("banco-%1.sqlite").arg(++serial_)); }
};

void TestStore::recordAndRead()
{
    const QString path = freshPath();
    model::Case c = soilCase(joao, QDate(2024, 3, 15));
    // A case kept with a decimal point: the history's columns have a comma.
    c = model::withSeparator(c, QLatin1Char('.'));
    store::Recorded r;
    {
        store::Store s(path);
        r = s.record(c);
    }
    QVERIFY(r.newProducer && r.newField && !r.replaced);
    store::Store s(path, store::Store::Mode::Read);
    const QList<store::Producer> producers = s.producers();
    QCOMPARE(producers.size(), 1);
    QCOMPARE(producers[0].name, joao.name);
    QCOMPARE(producers[0].cpf, joao.cpf);
    QCOMPARE(producers[0].town, joao.town);
    QCOMPARE(producers[0].place, QStringLiteral("Sítio Boa Vista"));
    const QList<store::Field> fields = s.fields(producers[0].id);
    QCOMPARE(fields.size(), 1);
    QCOMPARE(fields[0].name, joao.field);
    QCOMPARE(fields[0].seasons, 1);
    const QList<store::Season> history = s.history(fields[0].id);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].date, QDate(2024, 3, 15));
    QCOMPARE(history[0].report, QStringLiteral("L-100"));
    QCOMPARE(history[0].value(store::Value::Ph), QStringLiteral("5,4"));
    QCOMPARE(history[0].value(store::Value::K), QStringLiteral("58,65"));
    QCOMPARE(history[0].value(store::Value::Liming), model::withSeparator(c, QLatin1Char(',')).liming.need.text);
    QVERIFY(!history[0].value(store::Value::N).isEmpty());
    QVERIFY(history[0].value(store::Value::Cost).isEmpty()); // not composed
    // The whole case comes back as it was saved, separator and all.
    QCOMPARE(s.caseOf(history[0].id), c);
}

void TestStore::replace()
{
    const QString path = freshPath();
    store::Store s(path);
    s.record(soilCase(joao, QDate(2024, 3, 15), 6));
    s.record(soilCase(joao, QDate(2025, 3, 10), 6));
    const model::Case again = soilCase(joao, QDate(2024, 3, 15), 14, 50, QStringLiteral("L-177"));
    const std::optional<store::Season> before = s.existing(again);
    QVERIFY(before);
    QCOMPARE(before->report, QStringLiteral("L-100"));
    QVERIFY(!s.existing(soilCase(joao, QDate(2024, 3, 16))));
    const store::Recorded r = s.record(again);
    QVERIFY(r.replaced && !r.newField && !r.newProducer);
    QCOMPARE(r.season, before->id);
    const QList<store::Season> history = s.history(s.fields(s.producers()[0].id)[0].id);
    QCOMPARE(history.size(), 2);
    QCOMPARE(history[0].report, QStringLiteral("L-177"));
    QCOMPARE(history[0].value(store::Value::P), QStringLiteral("14"));
    QCOMPARE(s.caseOf(history[0].id), again);
}

void TestStore::matching_data()
{
    QTest::addColumn<Who>("stored");
    QTest::addColumn<Who>("incoming");
    QTest::addColumn<bool>("newProducer");
    QTest::addColumn<bool>("newField");
    QTest::addColumn<QString>("joinedProducer");
    QTest::addColumn<QString>("joinedField");
    const QString sameName = joao.name;
    QTest::newRow("CPF written otherwise, name too") << joao
        << Who{"JOAO DA SILVA FILHO", "12345678909", "Outra Cidade", "gleba  1"} << false << false << sameName << joao.field;
    QTest::newRow("no CPF: name and município, accents and case aside")
        << maria << Who{"maria souza", "", "Sao Felipe", "TALHAO NORTE"} << false << false << maria.name << maria.field;
    QTest::newRow("no CPF: same name, another município") << maria << Who{"Maria Souza", "", "Cruz das Almas", "Talhão Norte"}
        << true << true << "Maria Souza" << "Talhão Norte";
    QTest::newRow("homonym with another CPF") << joao << Who{"João da Silva", "987.654.321-00", joao.town, joao.field}
        << true << true << sameName << joao.field;
    QTest::newRow("CPF now given for a producer kept without one")
        << maria << Who{"Maria Souza", "111.222.333-44", "São Felipe", "Talhão Sul"} << false << true << maria.name << "Talhão Sul";
    QTest::newRow("new field of a known producer") << joao << Who{joao.name, joao.cpf, joao.town, "Gleba 2"} << false << true
        << sameName << "Gleba 2";
}

void TestStore::matching()
{
    QFETCH(Who, stored);
    QFETCH(Who, incoming);
    QFETCH(bool, newProducer);
    QFETCH(bool, newField);
    QFETCH(QString, joinedProducer);
    QFETCH(QString, joinedField);
    store::Store s(freshPath());
    s.record(soilCase(stored, QDate(2024, 3, 15)));
    const store::Recorded r = s.record(soilCase(incoming, QDate(2025, 3, 15)));
    QCOMPARE(r.newProducer, newProducer);
    QCOMPARE(r.newField, newField);
    QCOMPARE(r.producer, joinedProducer);
    QCOMPARE(r.field, joinedField);
    QCOMPARE(s.producers().size(), newProducer ? 2 : 1);
    if (!newProducer && !incoming.cpf.isEmpty()) {
        // A producer kept without a CPF gets the one a later case gives.
        QCOMPARE(s.producers()[0].cpf.isEmpty(), false);
        QCOMPARE(s.search(incoming.cpf).size(), 2);
    }
}

void TestStore::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // "producer/field/date", in the order given
    const QStringList joaoSeasons{"João da Silva/Gleba 1/2025-03-10", "João da Silva/Gleba 1/2024-03-15",
                                  "João da Silva/Gleba 2/2024-04-01"};
    QTest::newRow("producer without accents") << "joao" << joaoSeasons;
    QTest::newRow("CPF in part, with its dots") << "456.789" << joaoSeasons;
    QTest::newRow("município") << "CRUZ das" << joaoSeasons;
    QTest::newRow("field") << "gleba 2" << QStringList{"João da Silva/Gleba 2/2024-04-01"};
    QTest::newRow("field across producers") << "norte"
        << QStringList{"Maria Souza/Talhão Norte/2024-05-20"};
    QTest::newRow("report number") << "L-2025" << QStringList{"João da Silva/Gleba 1/2025-03-10"};
    QTest::newRow("nothing") << "Pedro" << QStringList{};
    QTest::newRow("blank") << "  " << QStringList{};
}

void TestStore::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    static QString path;
    if (path.isEmpty()) {
        path = freshPath();
        store::Store s(path);
        s.record({{soilCase(joao, QDate(2024, 3, 15)), {}},
                  {soilCase(joao, QDate(2025, 3, 10), 8, 40, QStringLiteral("L-2025-031")), {}},
                  {soilCase({joao.name, joao.cpf, joao.town, QStringLiteral("Gleba 2")}, QDate(2024, 4, 1)), {}},
                  {soilCase(maria, QDate(2024, 5, 20)), {}}});
    }
    store::Store s(path, store::Store::Mode::Read);
    QStringList got;
    for (const store::Season &season : s.search(text))
        got << season.producerName + QLatin1Char('/') + season.fieldName + QLatin1Char('/')
                + season.date.toString(Qt::ISODate);
    QCOMPARE(got, found);
}

void TestStore::historyOldestFirst()
{
    store::Store s(freshPath());
    // Recorded out of order, as a technician files old reports late.
    for (const QDate d : {QDate(2023, 2, 1), QDate(2025, 1, 20), QDate(2021, 11, 5), QDate(2024, 6, 30)})
        s.record(soilCase(joao, d, d.year() - 2015));
    s.record(soilCase(maria, QDate(2022, 1, 1)));
    const qint64 field = s.search(joao.field).first().field;
    QStringList dates, p;
    for (const store::Season &season : s.history(field)) {
        dates << season.date.toString(Qt::ISODate);
        p << season.value(store::Value::P);
    }
    QCOMPARE(dates, QStringList({"2021-11-05", "2023-02-01", "2024-06-30", "2025-01-20"}));
    QCOMPARE(p, QStringList({"6", "8", "9", "10"}));
}

void TestStore::seasonsForExport()
{
    store::Store s(freshPath());
    s.record(soilCase(joao, QDate(2025, 3, 10)));
    s.record(soilCase({joao.name, joao.cpf, joao.town, QStringLiteral("Gleba 2")}, QDate(2024, 4, 1)));
    s.record(soilCase(joao, QDate(2024, 3, 15)));
    s.record(soilCase(maria, QDate(2023, 5, 20)));
    const auto dates = [](const QList<store::Season> &list) {
        QStringList d;
        for (const store::Season &season : list)
            d << season.fieldName + QLatin1Char(' ') + season.date.toString(Qt::ISODate);
        return d;
    };
    QCOMPARE(dates(s.seasons({}, {})),
             QStringList({"Talhão Norte 2023-05-20", "Gleba 1 2024-03-15", "Gleba 2 2024-04-01", "Gleba 1 2025-03-10"}));
    QCOMPARE(dates(s.seasons(QStringLiteral("joão"), QStringLiteral("gleba 1"))),
             QStringList({"Gleba 1 2024-03-15", "Gleba 1 2025-03-10"}));
    QCOMPARE(dates(s.seasons(QStringLiteral("123.456.789-09"), {})).size(), 3);
    QCOMPARE(dates(s.seasons(QStringLiteral("Maria"), QStringLiteral("Gleba"))), QStringList());
}

void TestStore::comparison()
{
    const model::Case before = soilCase(joao, QDate(2024, 3, 15), 4, 30);
    model::Case after = soilCase(joao, QDate(2025, 3, 10), 25, 62, QStringLiteral("L-200"));
    const store::Comparison c = store::compare(before, after);
    const auto row = [&c](const QString &section, const QString &label) {
        for (const store::ComparedRow &r : c.rows)
            if (r.section == section && r.label == label)
                return r;
        return store::ComparedRow{};
    };
    const store::ComparedRow p = row(QStringLiteral("Análise do solo"), QStringLiteral("P (mg/dm³)"));
    QCOMPARE(p.first, QStringLiteral("4"));
    QCOMPARE(p.second, QStringLiteral("25"));
    QCOMPARE(p.difference, QStringLiteral("+21"));
    QVERIFY(p.changed && !p.recommendation);
    const store::ComparedRow k = row(QStringLiteral("Análise do solo"), QStringLiteral("K (mg/dm³)"));
    QVERIFY(!k.changed);
    QCOMPARE(k.difference, QStringLiteral("0,00"));
    // More phosphorus: another class and a smaller P2O5 dose, told as a change.
    const store::ComparedRow p2o5 = row(QStringLiteral("Doses"), QStringLiteral("P2O5 (kg/ha)"));
    QVERIFY(p2o5.changed && p2o5.recommendation);
    QVERIFY(p2o5.difference.startsWith(QLatin1Char('-')));
    QVERIFY(c.changes.contains(QStringLiteral("Doses, P2O5 (kg/ha): %1 → %2").arg(p2o5.first, p2o5.second)));
    QVERIFY(row(QStringLiteral("Análise do solo"), QStringLiteral("Classe de P")).changed);
    // Nothing typed is told as a change of the recommendation.
    for (const QString &line : c.changes)
        QVERIFY2(!line.contains(QStringLiteral("Laudo")) && !line.startsWith(QStringLiteral("Análise do solo, P ")),
                 qPrintable(line));
    QVERIFY(store::compare(before, before).changes.isEmpty());
}

void TestStore::difference_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");
    QTest::newRow("up, places of the finer") << "1,5" << "2,25" << "+0,75";
    QTest::newRow("down, whole") << "10" << "8" << "-2";
    QTest::newRow("equal written otherwise") << "0,40" << "0,4" << "0,00";
    QTest::newRow("no binary noise") << "0,1" << "0,3" << "+0,2";
    QTest::newRow("not a number") << "3,5,1" << "1" << "";
    QTest::newRow("empty") << "" << "1" << "";
}

void TestStore::difference()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);
    QCOMPARE(store::difference(first, second), expected);
}

void TestStore::labDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // invalid: not a date
    QTest::newRow("dd/mm/aaaa") << "15/03/2025" << QDate(2025, 3, 15);
    QTest::newRow("d/m/aaaa") << "5/3/2025" << QDate(2025, 3, 5);
    QTest::newRow("dd/mm/aa") << "15/03/25" << QDate(2025, 3, 15);
    QTest::newRow("aaaa-mm-dd") << "2025-03-15" << QDate(2025, 3, 15);
    QTest::newRow("dd-mm-aaaa") << "15-03-2025" << QDate(2025, 3, 15);
    QTest::newRow("dd.mm.aaaa") << "15.03.2025" << QDate(2025, 3, 15);
    QTest::newRow("with a time") << "15/03/2025 08:30:00" << QDate(2025, 3, 15);
    QTest::newRow("ISO with a time") << "2025-03-15T08:30" << QDate(2025, 3, 15);
    QTest::newRow("spreadsheet serial") << "45731" << QDate(2025, 3, 15);
    QTest::newRow("serial with a time of day") << "45731.5" << QDate(2025, 3, 15);
    QTest::newRow("serial of a leap day") << "45351" << QDate(2024, 2, 29);
    QTest::newRow("no such day") << "31/02/2025" << QDate();
    QTest::newRow("month first") << "03/15/2025" << QDate();
    QTest::newRow("mixed separators") << "15/03-2025" << QDate();
    QTest::newRow("sample number, not a serial") << "123" << QDate();
    QTest::newRow("words") << "março de 2025" << QDate();
    QTest::newRow("blank") << " " << QDate();
}

void TestStore::labDates()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const std::optional<QDate> d = batch::labDate(text);
    QCOMPARE(d.value_or(QDate()), expected);
}

void TestStore::earlierVersion_data()
{
    QTest::addColumn<QStringList>("statements"); // empty: a file of no bytes
    QTest::newRow("version 0: a file of no bytes") << QStringList();
    QTest::newRow("version 0: an empty database") << QStringList{"PRAGMA user_version = 0", "VACUUM"};
}

// Version 1 is the first; the stores before it are the empty file a
// program or a user made (or another program's run was stopped before
// writing a table). Each is brought up to date and then records.
void TestStore::earlierVersion()
{
    QFETCH(QStringList, statements);
    const QString path = freshPath();
    if (statements.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else {
        makeDatabase(path, statements);
    }
    {
        // Read alone, it is an empty store, and stays as it was.
        const QByteArray before = digest(path);
        store::Store s(path, store::Store::Mode::Read);
        QVERIFY(s.producers().isEmpty());
        QVERIFY(s.search(QStringLiteral("joão")).isEmpty());
        QCOMPARE(digest(path), before);
    }
    store::Store s(path);
    s.record(soilCase(joao, QDate(2024, 3, 15)));
    QCOMPARE(rows(path, QStringLiteral("PRAGMA user_version")), store::schemaVersion);
    QCOMPARE(s.search(QStringLiteral("joão")).size(), 1);
}

void TestStore::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");          // the file as it is, when not a database made below
    QTest::addColumn<QStringList>("statements");    // a database made with these
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a database") << QByteArray("Amostra;Produtor\nCA-01;João\n") << QStringList()
                                    << "danificado ou não é um banco de casos";
    QByteArray cut("SQLite format 3\0", 16);
    cut += QByteArray(200, '\x7f');
    QTest::newRow("damaged header") << cut << QStringList() << "danificado ou não é um banco de casos";
    QTest::newRow("newer version") << QByteArray()
                                   << QStringList{"CREATE TABLE season (id BIGINT)", "PRAGMA application_id = 1413632590",
                                                  "PRAGMA user_version = 7"}
                                   << "versão mais nova do Tuberon (banco versão 7";
    QTest::newRow("another program's database") << QByteArray() << QStringList{"CREATE TABLE notes (t TEXT)"}
                                                 << "não é um banco de casos do Tuberon";
    QTest::newRow("another program's version") << QByteArray()
                                               << QStringList{"CREATE TABLE notes (t TEXT)", "PRAGMA user_version = 1"}
                                               << "não é um banco de casos do Tuberon";
}

void TestStore::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, statements);
    QFETCH(QString, reason);
    const QString path = freshPath();
    if (statements.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    } else {
        makeDatabase(path, statements);
    }
    const QByteArray before = digest(path);
    for (const store::Store::Mode mode : {store::Store::Mode::Write, store::Store::Mode::Read}) {
        try {
            store::Store s(path, mode);
            QFAIL("opened");
        } catch (const Failure &f) {
            QVERIFY2(f.message().contains(reason), qPrintable(f.message()));
            QVERIFY2(f.message().contains(QStringLiteral("não foi alterado")), qPrintable(f.message()));
        }
    }
    QCOMPARE(digest(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
}

void TestStore::readOnlyWritesNothing()
{
    const QString path = freshPath();
    {
        store::Store s(path);
        s.record(soilCase(joao, QDate(2024, 3, 15)));
    }
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    const QByteArray before = digest(path);
    {
        store::Store s(path, store::Store::Mode::Read);
        QCOMPARE(s.seasons({}, {}).size(), 1);
        QVERIFY_THROWS_EXCEPTION(Failure, s.record(soilCase(maria, QDate(2024, 3, 15))));
    }
    QCOMPARE(digest(path), before);
    QVERIFY_THROWS_EXCEPTION(Failure, store::Store(dir_.filePath(QStringLiteral("missing.sqlite")), store::Store::Mode::Read));
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("missing.sqlite"))));
}

void TestStore::fileMode_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << 022 << 0644;
    QTest::newRow("002, a group that shares") << 002 << 0664;
    QTest::newRow("077, private") << 077 << 0600;
}

void TestStore::fileMode()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
    const QString path = freshPath();
    const mode_t old = ::umask(mode_t(mask));
    {
        store::Store s(path);
        s.record(soilCase(joao, QDate(2024, 3, 15)));
        struct stat wal {};
        QCOMPARE(::stat(QFile::encodeName(path + QStringLiteral("-wal")).constData(), &wal), 0);
        QCOMPARE(int(wal.st_mode & 0777), mode);
    }
    ::umask(old);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), mode);
}

// Two programs (a window and a lab-file run) write at once: each waits for
// the other, and every season of both is there.
void TestStore::twoWriters()
{
    const QString path = freshPath();
    { store::Store s(path); }
    QList<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            int status = 0;
            try {
                store::Store s(path);
                for (int i = 0; i < 40; ++i) {
                    const Who who{QStringLiteral("Produtor %1-%2").arg(writer).arg(i % 5), QString(),
                                  QStringLiteral("Cruz das Almas"), QStringLiteral("Gleba %1").arg(i)};
                    s.record(soilCase(who, QDate(2024, 1, 1).addDays(i)));
                    s.search(QStringLiteral("produtor"));
                }
            } catch (const Failure &f) {
                fprintf(stderr, "%s\n", qPrintable(f.message()));
                status = 1;
            }
            ::_exit(status);
        }
        children << pid;
    }
    for (const pid_t pid : children) {
        int status = -1;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
    QCOMPARE(rows(path, QStringLiteral("SELECT COUNT(*) FROM season")), 80);
    QCOMPARE(rows(path, QStringLiteral("SELECT COUNT(*) FROM producer")), 10);
    QCOMPARE(integrity(path), QStringLiteral("ok"));
}

// The disk fills while a case is written (here the file may grow no
// further): the case is refused with a message, the store keeps what it
// had, whole, and takes the next case once there is room.
void TestStore::fullDisk()
{
    const QString path = freshPath();
    {
        store::Store s(path);
        s.record(soilCase(joao, QDate(2024, 3, 15)));
    }
    const pid_t pid = ::fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int status = 3;
        try {
            store::Store s(path);
            // A long memo: the case no longer fits.
            model::Case big = soilCase(maria, QDate(2024, 5, 20));
            big.report.recommendations = QString(200000, QLatin1Char('x'));
            s.record({{soilCase({joao.name, joao.cpf, joao.town, QStringLiteral("Gleba 9")}, QDate(2025, 1, 1)), {}},
                      {big, {}}});
        } catch (const Failure &f) {
            status = f.message().contains(QStringLiteral("disco cheio")) || f.message().contains(QStringLiteral("entrada/saída"))
                ? 0
                : 2;
            fprintf(stderr, "%s\n", qPrintable(f.message()));
        }
        ::_exit(status);
    }
    int status = -1;
    QCOMPARE(::waitpid(pid, &status, 0), pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(integrity(path), QStringLiteral("ok"));
    store::Store s(path);
    // Neither case of the failed write is there, not even the one that fit.
    QCOMPARE(s.seasons({}, {}).size(), 1);
    QCOMPARE(s.producers().size(), 1);
    s.record(soilCase(maria, QDate(2024, 5, 20)));
    QCOMPARE(s.seasons({}, {}).size(), 2);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
