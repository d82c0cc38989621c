#include "store/Store.h"

#include "cases/CaseJson.h"
#include "core/Failure.h"
#include "core/NumberText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

namespace store {

namespace {

// "TBRN" in the file's header: a store of cases, not any SQLite file.
constexpr int applicationId = 0x5442524E;

const char dateFormat[] = "yyyy-MM-dd";

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// SQLite's result codes in the words a technician reads.
QString reasonOf(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (ok) {
        switch (code) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return QStringLiteral("o banco está ocupado por outro programa há tempo demais; tente de novo");
        case 8: // SQLITE_READONLY
            return QStringLiteral("o banco não pode ser gravado (somente leitura)");
        case 10: // SQLITE_IOERR
            return QStringLiteral("erro de entrada/saída ao gravar o banco (disco cheio ou arquivo grande demais?)");
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return QStringLiteral("o arquivo está danificado ou não é um banco de casos");
        case 13: // SQLITE_FULL
            return QStringLiteral("disco cheio");
        case 14: // SQLITE_CANTOPEN
            return QStringLiteral("o arquivo não pode ser aberto");
        default:
            break;
        }
    }
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("erro desconhecido") : text;
}

Failure storeFailure(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Banco de casos \"%1\": %2.").arg(shown(path), reason));
}

Failure refused(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("O banco de casos \"%1\" não pode ser usado: %2. O arquivo não foi alterado.")
                       .arg(shown(path), reason));
}

// A statement that must run, or the store's failure.
class Statement {
public:
    Statement(const QSqlDatabase &db, const QString &path, const QString &sql) : query_(db), path_(path)
    {
        query_.setForwardOnly(true);
        if (!query_.prepare(sql))
            throw storeFailure(path_, reasonOf(query_.lastError()));
    }
    Statement &bind(const QVariant &value)
    {
        // An empty text is a text, never NULL (a null QString binds as NULL).
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            query_.addBindValue(QStringLiteral(""));
        else
            query_.addBindValue(value);
        return *this;
    }
    Statement &run()
    {
        if (!query_.exec())
            throw storeFailure(path_, reasonOf(query_.lastError()));
        return *this;
    }
    bool next() { return query_.next(); }
    QVariant at(int i) const { return query_.value(i); }
    QString text(int i) const { return query_.value(i).toString(); }
    qint64 id(int i) const { return query_.value(i).toLongLong(); }

private:
    QSqlQuery query_;
    QString path_;
};

// The columns of the history, named as the tables name them.
const std::array<const char *, valueCount> valueColumns{"clay", "ph", "p", "k", "mo", "al", "ca", "mg", "ctc", "v",
                                                       "liming", "n", "p2o5", "k2o", "cost_ha"};

// Version 1: producers, their fields, each field's seasons. Ids are given
// by the program (the largest plus one, within the writing transaction),
// not by an auto-increment each database spells its own way.
void createVersion1(const QSqlDatabase &db, const QString &path)
{
    QStringList values;
    for (const char *column : valueColumns)
        values << QStringLiteral("%1 VARCHAR(40) NOT NULL").arg(QLatin1String(column));
    const QStringList statements{
        QStringLiteral("CREATE TABLE producer (id BIGINT NOT NULL PRIMARY KEY, name VARCHAR(200) NOT NULL, "
                       "cpf VARCHAR(40) NOT NULL, cpf_key VARCHAR(40) NOT NULL, town VARCHAR(200) NOT NULL, "
                       "place VARCHAR(200) NOT NULL, name_key VARCHAR(200) NOT NULL, "
                       "town_key VARCHAR(200) NOT NULL, search_key VARCHAR(800) NOT NULL)"),
        QStringLiteral("CREATE INDEX producer_cpf ON producer (cpf_key)"),
        QStringLiteral("CREATE INDEX producer_name ON producer (name_key, town_key)"),
        QStringLiteral("CREATE TABLE field (id BIGINT NOT NULL PRIMARY KEY, "
                       "producer_id BIGINT NOT NULL REFERENCES producer (id), name VARCHAR(200) NOT NULL, "
                       "name_key VARCHAR(200) NOT NULL)"),
        QStringLiteral("CREATE INDEX field_producer ON field (producer_id, name_key)"),
        QStringLiteral("CREATE TABLE season (id BIGINT NOT NULL PRIMARY KEY, "
                       "field_id BIGINT NOT NULL REFERENCES field (id), season_date CHAR(10) NOT NULL, "
                       "report VARCHAR(200) NOT NULL, report_key VARCHAR(200) NOT NULL, %1, "
                       "recorded_at VARCHAR(30) NOT NULL, UNIQUE (field_id, season_date))")
            .arg(values.join(QStringLiteral(", "))),
        // With the id, so that a search by report number reads this index
        // alone, not the seasons' rows.
        QStringLiteral("CREATE INDEX season_report ON season (report_key, id)"),
        // The whole case apart, so that reading the seasons for a search
        // or a history does not read the cases' kilobytes.
        QStringLiteral("CREATE TABLE season_case (season_id BIGINT NOT NULL PRIMARY KEY REFERENCES season (id), "
                       "case_json TEXT NOT NULL)"),
    };
    for (const QString &sql : statements)
        Statement(db, path, sql).run();
}

// Each step brings a store from the version of its place to the next; a
// store of version 0 is an empty file (or one just made).
using Step = void (*)(const QSqlDatabase &, const QString &);
const std::array<Step, schemaVersion> steps{createVersion1};

std::atomic<int> connections{0};

// A write transaction that holds the write lock from its start: two
// connections that both read and then want to write would otherwise meet
// in a deadlock SQLite ends at once, without waiting.
class WriteTransaction {
public:
    WriteTransaction(QSqlDatabase db, const QString &path) : db_(std::move(db)), path_(path)
    {
        QSqlQuery begin(db_);
        const bool sqlite = db_.driverName() == QLatin1String("QSQLITE");
        if (!(sqlite ? begin.exec(QStringLiteral("BEGIN IMMEDIATE")) : db_.transaction()))
            throw storeFailure(path_, reasonOf(sqlite ? begin.lastError() : db_.lastError()));
    }
    ~WriteTransaction()
    {
        if (!committed_)
            QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
    }
    void commit()
    {
        QSqlQuery end(db_);
        if (!end.exec(QStringLiteral("COMMIT")))
            throw storeFailure(path_, reasonOf(end.lastError()));
        committed_ = true;
    }

private:
    QSqlDatabase db_;
    QString path_;
    bool committed_ = false;
};

QString digits(const QString &text)
{
    QString d;
    for (const QChar c : text)
        if (c.isDigit())
            d += c;
    return d;
}

QString like(const QString &key) { return QLatin1Char('%') + key + QLatin1Char('%'); }

QString seasonColumns()
{
    QStringList values;
    for (const char *column : valueColumns)
        values << QStringLiteral("s.") + QLatin1String(column);
    return QStringLiteral("s.id, s.field_id, f.producer_id, p.name, p.cpf, p.town, p.place, f.name, s.season_date, "
                          "s.report, ")
        + values.join(QStringLiteral(", "));
}

QString seasonFrom()
{
    return QStringLiteral(" FROM season s JOIN field f ON f.id = s.field_id JOIN producer p ON p.id = f.producer_id ");
}

Season seasonAt(const Statement &q)
{
    Season s;
    s.id = q.id(0);
    s.field = q.id(1);
    s.producer = q.id(2);
    s.producerName = q.text(3);
    s.cpf = q.text(4);
    s.town = q.text(5);
    s.place = q.text(6);
    s.fieldName = q.text(7);
    s.date = QDate::fromString(q.text(8), QLatin1String(dateFormat));
    s.report = q.text(9);
    for (int i = 0; i < valueCount; ++i)
        s.values[size_t(i)] = q.text(10 + i);
    return s;
}

QList<Season> seasonsOf(Statement &q)
{
    QList<Season> list;
    q.run();
    while (q.next())
        list << seasonAt(q);
    return list;
}

// The history's values of a case, with a decimal comma.
std::array<QString, valueCount> valuesOf(const model::Case &source)
{
    const model::Case c = model::withSeparator(source, QLatin1Char(','));
    const model::SoilAnalysis &a = c.analysis;
    std::array<QString, valueCount> v{a.clay.text, a.ph.text, a.phosphorus.text, a.potassium.text,
                                      a.organicMatter.text, a.aluminium.text, a.calcium.text, a.magnesium.text,
                                      a.ctc.text, a.baseSaturation.text, c.liming.need.text, c.doses.nitrogen.text,
                                      c.doses.phosphate.text, c.doses.potash.text, QString()};
    if (c.composition)
        v[size_t(int(Value::Cost))] = NumberText(QLatin1Char(',')).format(c.composition->costHa, 2);
    for (QString &text : v)
        text = text.trimmed().left(40);
    return v;
}

QDate dateOf(const model::Case &c, QDate date) { return date.isValid() ? date : c.report.date; }

} // namespace

QString valueTitle(Value v)
{
    static const std::array<const char *, valueCount> titles{
        "Argila (%)", "pH", "P (mg/dm³)", "K (mg/dm³)", "MO (%)", "Al", "Ca", "Mg", "CTC", "V (%)",
        "Calagem (t/ha)", "N (kg/ha)", "P2O5 (kg/ha)", "K2O (kg/ha)", "Custo (R$/ha)"};
    return QString::fromUtf8(titles[size_t(int(v))]);
}

QString searchKey(const QString &text)
{
    QString key;
    bool blank = false;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.isLetterOrNumber()) {
            if (blank && !key.isEmpty())
                key += QLatin1Char(' ');
            blank = false;
            key += c.toLower();
        } else if (c.isSpace()) {
            blank = true;
        }
        // Accents (marks) and punctuation go: "123.456" is "123456", "Gleba-1" "gleba1".
    }
    return key;
}

QString Store::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("tuberon.sqlite"));
}

Store::Store(const QString &path, Mode mode)
    : path_(path), connection_(QStringLiteral("tuberon-store-%1").arg(++connections)), readOnly_(mode == Mode::Read)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw refused(path, QStringLiteral("não é um arquivo"));
    if (info.exists() && info.size() > 0) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw storeFailure(path, QStringLiteral("não foi possível ler o arquivo: %1").arg(file.errorString()));
        if (file.read(16) != QByteArray("SQLite format 3\0", 16))
            throw refused(path, QStringLiteral("o arquivo está danificado ou não é um banco de casos"));
    }
    if (readOnly_) {
        if (!info.exists())
            throw storeFailure(path, QStringLiteral("o arquivo não existe"));
    } else if (!info.exists()) {
        // Made here rather than by SQLite, so that its mode (and its
        // journal's, which SQLite copies) follows the umask as reports do.
        if (!QDir().mkpath(info.absolutePath()))
            throw storeFailure(path, QStringLiteral("não foi possível criar a pasta \"%1\"").arg(shown(info.absolutePath())));
        QFile file(path);
        if (!file.open(QIODevice::NewOnly | QIODevice::WriteOnly) && !QFile::exists(path))
            throw storeFailure(path, QStringLiteral("não foi possível criar o arquivo: %1").arg(file.errorString()));
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(connection_);
        throw storeFailure(path, QStringLiteral("o suporte a SQLite do Qt não está instalado (libqt6sql6-sqlite)"));
    }
    db.setDatabaseName(path);
    // A writer waits up to 10 s for another's transaction to end.
    db.setConnectOptions(readOnly_ ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000")
                                   : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    try {
        if (!db.open())
            throw storeFailure(path, reasonOf(db.lastError()));
        const auto pragma = [&](const QString &sql) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                throw refused(path, reasonOf(q.lastError()));
            return q.next() ? q.value(0) : QVariant();
        };
        const int version = pragma(QStringLiteral("PRAGMA user_version")).toInt();
        const int application = pragma(QStringLiteral("PRAGMA application_id")).toInt();
        if (version > schemaVersion)
            throw refused(path, QStringLiteral("foi gravado por uma versão mais nova do Tuberon (banco versão %1; "
                                               "esta versão do programa lê até a %2)")
                                    .arg(version)
                                    .arg(schemaVersion));
        if (version > 0 && application != applicationId)
            throw refused(path, QStringLiteral("não é um banco de casos do Tuberon"));
        if (version == 0 && !db.tables().isEmpty())
            throw refused(path, QStringLiteral("não é um banco de casos do Tuberon (tem tabelas de outro programa)"));
        if (readOnly_) {
            if (version < schemaVersion && version > 0)
                throw refused(path, QStringLiteral("é de uma versão anterior; abra-o uma vez para gravar, e o "
                                                   "programa o atualiza"));
        } else {
            // WAL lets a reader go on while another writes, and two writers
            // take turns. Set before any table exists.
            if (pragma(QStringLiteral("PRAGMA journal_mode=WAL")).toString().compare(QLatin1String("wal"),
                                                                                     Qt::CaseInsensitive))
                throw storeFailure(path, QStringLiteral("o modo WAL não pôde ser ligado"));
            pragma(QStringLiteral("PRAGMA synchronous=NORMAL"));
            pragma(QStringLiteral("PRAGMA foreign_keys=ON"));
            for (int from = version; from < schemaVersion; ++from) {
                WriteTransaction t(db, path);
                // Read again inside the lock: another program may have
                // brought the store up meanwhile.
                QSqlQuery now(db);
                if (now.exec(QStringLiteral("PRAGMA user_version")) && now.next() && now.value(0).toInt() > from)
                    continue;
                steps[size_t(from)](db, path);
                Statement(db, path, QStringLiteral("PRAGMA application_id = %1").arg(applicationId)).run();
                Statement(db, path, QStringLiteral("PRAGMA user_version = %1").arg(from + 1)).run();
                t.commit();
            }
        }
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw;
    }
}

Store::~Store()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

std::optional<Season> Store::existing(const model::Case &c, QDate date) const
{
    const QDate when = dateOf(c, date);
    if (!when.isValid())
        return std::nullopt;
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (readOnly_ && db.tables().isEmpty())
        return std::nullopt;
    const QString cpf = digits(c.producer.cpf);
    const QString match = cpf.isEmpty() ? QStringLiteral("p.name_key = ? AND p.town_key = ?")
                                        : QStringLiteral("p.cpf_key = ?");
    Statement q(db, path_,
                QStringLiteral("SELECT ") + seasonColumns() + seasonFrom() + QStringLiteral("WHERE ") + match
                    + QStringLiteral(" AND f.name_key = ? AND s.season_date = ?"));
    if (cpf.isEmpty())
        q.bind(searchKey(c.producer.name)).bind(searchKey(c.producer.town));
    else
        q.bind(cpf);
    q.bind(searchKey(c.field.name)).bind(when.toString(QLatin1String(dateFormat)));
    const QList<Season> found = seasonsOf(q);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

Recorded Store::record(const model::Case &c, QDate date) { return record(QList<Entry>{{c, date}}).first(); }

QList<Recorded> Store::record(const QList<Entry> &entries)
{
    if (readOnly_)
        throw storeFailure(path_, QStringLiteral("aberto somente para leitura"));
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QList<Recorded> done;
    WriteTransaction t(db, path_);
    const auto nextId = [&](const char *table) {
        Statement q(db, path_, QStringLiteral("SELECT MAX(id) FROM %1").arg(QLatin1String(table)));
        q.run();
        return q.next() ? q.id(0) + 1 : 1;
    };
    qint64 producerId = nextId("producer"), fieldId = nextId("field"), seasonId = nextId("season");
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    for (const Entry &e : entries) {
        const model::Case &c = e.c;
        const QDate when = dateOf(c, e.date);
        const QString cpf = digits(c.producer.cpf);
        const QString nameKey = searchKey(c.producer.name), townKey = searchKey(c.producer.town);
        if (cpf.isEmpty() && nameKey.isEmpty())
            throw Failure(QStringLiteral("o caso não tem produtor nem CPF; não foi gravado no banco"));
        if (!when.isValid())
            throw Failure(QStringLiteral("o caso não tem data; não foi gravado no banco"));
        Recorded r;
        // The producer: by CPF; else by name and município, among those
        // without a CPF (another CPF is another person of the same name).
        qint64 producer = 0;
        QString producerName;
        {
            Statement q(db, path_,
                        cpf.isEmpty()
                            ? QStringLiteral("SELECT id, name, cpf_key FROM producer WHERE name_key = ? AND town_key = ? "
                                             "ORDER BY id")
                            : QStringLiteral("SELECT id, name, cpf_key FROM producer WHERE cpf_key = ? ORDER BY id"));
            if (cpf.isEmpty())
                q.bind(nameKey).bind(townKey);
            else
                q.bind(cpf);
            q.run();
            if (q.next()) {
                producer = q.id(0);
                producerName = q.text(1);
            }
            if (!producer && !cpf.isEmpty() && !nameKey.isEmpty()) {
                Statement byName(db, path_,
                                 QStringLiteral("SELECT id, name FROM producer WHERE name_key = ? AND town_key = ? "
                                                "AND cpf_key = '' ORDER BY id"));
                byName.bind(nameKey).bind(townKey).run();
                if (byName.next()) {
                    producer = byName.id(0);
                    producerName = byName.text(1);
                }
            }
        }
        const auto producerKey = [&](const QString &name, const QString &cpfText, const QString &town,
                                     const QString &place) {
            return searchKey(name + QLatin1Char(' ') + digits(cpfText) + QLatin1Char(' ') + town + QLatin1Char(' ')
                             + place);
        };
        if (!producer) {
            producer = producerId++;
            producerName = c.producer.name.trimmed();
            r.newProducer = true;
            Statement(db, path_,
                      QStringLiteral("INSERT INTO producer (id, name, cpf, cpf_key, town, place, name_key, town_key, "
                                     "search_key) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"))
                .bind(producer)
                .bind(producerName)
                .bind(c.producer.cpf.trimmed())
                .bind(cpf)
                .bind(c.producer.town.trimmed())
                .bind(c.producer.place.trimmed())
                .bind(nameKey)
                .bind(townKey)
                .bind(producerKey(c.producer.name, c.producer.cpf, c.producer.town, c.producer.place))
                .run();
        } else {
            // What the store lacks of a known producer is filled in from
            // the case; what it holds stays (a case typed in haste does
            // not rename a producer).
            Statement q(db, path_, QStringLiteral("SELECT name, cpf, town, place FROM producer WHERE id = ?"));
            q.bind(producer).run();
            q.next();
            QStringList held{q.text(0), q.text(1), q.text(2), q.text(3)};
            const QStringList given{c.producer.name.trimmed(), c.producer.cpf.trimmed(), c.producer.town.trimmed(),
                                    c.producer.place.trimmed()};
            bool changed = false;
            for (int i = 0; i < held.size(); ++i)
                if (held[i].isEmpty() && !given[i].isEmpty()) {
                    held[i] = given[i];
                    changed = true;
                }
            if (changed)
                Statement(db, path_,
                          QStringLiteral("UPDATE producer SET name = ?, cpf = ?, cpf_key = ?, town = ?, place = ?, "
                                         "name_key = ?, town_key = ?, search_key = ? WHERE id = ?"))
                    .bind(held[0])
                    .bind(held[1])
                    .bind(digits(held[1]))
                    .bind(held[2])
                    .bind(held[3])
                    .bind(searchKey(held[0]))
                    .bind(searchKey(held[2]))
                    .bind(producerKey(held[0], held[1], held[2], held[3]))
                    .bind(producer)
                    .run();
            producerName = held[0];
        }
        // The field, by its Denominação within the producer.
        const QString fieldKey = searchKey(c.field.name);
        qint64 field = 0;
        QString fieldName = c.field.name.trimmed();
        {
            Statement q(db, path_,
                        QStringLiteral("SELECT id, name FROM field WHERE producer_id = ? AND name_key = ? ORDER BY id"));
            q.bind(producer).bind(fieldKey).run();
            if (q.next()) {
                field = q.id(0);
                fieldName = q.text(1);
            }
        }
        if (!field) {
            field = fieldId++;
            r.newField = true;
            Statement(db, path_,
                      QStringLiteral("INSERT INTO field (id, producer_id, name, name_key) VALUES (?, ?, ?, ?)"))
                .bind(field)
                .bind(producer)
                .bind(fieldName)
                .bind(fieldKey)
                .run();
        }
        // The season: the same field and date is the same season, replaced.
        const QString day = when.toString(QLatin1String(dateFormat));
        {
            Statement q(db, path_, QStringLiteral("SELECT id FROM season WHERE field_id = ? AND season_date = ?"));
            q.bind(field).bind(day).run();
            if (q.next()) {
                r.replaced = true;
                r.season = q.id(0);
            }
        }
        const std::array<QString, valueCount> values = valuesOf(c);
        const QString json = QString::fromUtf8(cases::toJson(c));
        QStringList columns;
        for (const char *column : valueColumns)
            columns << QLatin1String(column);
        if (r.replaced) {
            Statement q(db, path_,
                        QStringLiteral("UPDATE season SET report = ?, report_key = ?, %1 = ?, recorded_at = ? "
                                       "WHERE id = ?")
                            .arg(columns.join(QStringLiteral(" = ?, "))));
            q.bind(c.field.report.trimmed()).bind(searchKey(c.field.report));
            for (const QString &v : values)
                q.bind(v);
            q.bind(now).bind(r.season).run();
            Statement(db, path_, QStringLiteral("UPDATE season_case SET case_json = ? WHERE season_id = ?"))
                .bind(json)
                .bind(r.season)
                .run();
        } else {
            r.season = seasonId++;
            Statement q(db, path_,
                        QStringLiteral("INSERT INTO season (id, field_id, season_date, report, report_key, %1, "
                                       "recorded_at) VALUES (?, ?, ?, ?, ?%2, ?)")
                            .arg(columns.join(QStringLiteral(", ")), QStringLiteral(", ?").repeated(valueCount)));
            q.bind(r.season).bind(field).bind(day).bind(c.field.report.trimmed()).bind(searchKey(c.field.report));
            for (const QString &v : values)
                q.bind(v);
            q.bind(now).run();
            Statement(db, path_, QStringLiteral("INSERT INTO season_case (season_id, case_json) VALUES (?, ?)"))
                .bind(r.season)
                .bind(json)
                .run();
        }
        r.producer = producerName;
        r.field = fieldName;
        done << r;
    }
    t.commit();
    return done;
}

QList<Producer> Store::producers() const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QList<Producer> list;
    if (readOnly_ && db.tables().isEmpty())
        return list;
    Statement q(db, path_, QStringLiteral("SELECT id, name, cpf, town, place FROM producer ORDER BY name_key, id"));
    q.run();
    while (q.next())
        list << Producer{q.id(0), q.text(1), q.text(2), q.text(3), q.text(4)};
    return list;
}

QList<Field> Store::fields(qint64 producer) const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QList<Field> list;
    if (readOnly_ && db.tables().isEmpty())
        return list;
    Statement q(db, path_,
                QStringLiteral("SELECT f.id, f.producer_id, f.name, COUNT(s.id) FROM field f LEFT JOIN season s ON "
                               "s.field_id = f.id WHERE f.producer_id = ? GROUP BY f.id, f.producer_id, f.name, "
                               "f.name_key ORDER BY f.name_key, f.id"));
    q.bind(producer).run();
    while (q.next())
        list << Field{q.id(0), q.id(1), q.text(2), q.at(3).toInt()};
    return list;
}

QList<Season> Store::history(qint64 field) const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (readOnly_ && db.tables().isEmpty())
        return {};
    Statement q(db, path_,
                QStringLiteral("SELECT ") + seasonColumns() + seasonFrom()
                    + QStringLiteral("WHERE s.field_id = ? ORDER BY s.season_date"));
    q.bind(field);
    return seasonsOf(q);
}

QList<Season> Store::search(const QString &text, int limit) const
{
    const QString key = searchKey(text);
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (key.isEmpty() || (readOnly_ && db.tables().isEmpty()))
        return {};
    // Fields are found among the producers and fields (a few thousand
    // rows), seasons by their report number; the seasons' own table is
    // read by its indexes only.
    Statement q(db, path_,
                QStringLiteral("SELECT ") + seasonColumns() + seasonFrom()
                    + QStringLiteral("WHERE s.field_id IN (SELECT f2.id FROM field f2 JOIN producer p2 ON p2.id = "
                                     "f2.producer_id WHERE p2.search_key LIKE ? OR f2.name_key LIKE ?) "
                                     "OR s.id IN (SELECT s2.id FROM season s2 WHERE s2.report_key LIKE ?) "
                                     "ORDER BY p.name_key, p.id, f.name_key, f.id, s.season_date DESC LIMIT ?"));
    q.bind(like(key)).bind(like(key)).bind(like(key)).bind(limit);
    return seasonsOf(q);
}

QList<Season> Store::seasons(const QString &producer, const QString &field) const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (readOnly_ && db.tables().isEmpty())
        return {};
    const QString producerKey = searchKey(producer), fieldKey = searchKey(field);
    // A producer given by digits alone is looked for by CPF as well.
    const QString cpf = producerKey.contains(QRegularExpression(QStringLiteral("[^0-9 ]"))) ? QString() : digits(producer);
    Statement q(db, path_,
                QStringLiteral("SELECT ") + seasonColumns() + seasonFrom()
                    + QStringLiteral("WHERE s.field_id IN (SELECT f2.id FROM field f2 JOIN producer p2 ON p2.id = "
                                     "f2.producer_id WHERE (p2.name_key LIKE ? OR (? <> '' AND p2.cpf_key LIKE ?)) "
                                     "AND f2.name_key LIKE ?) "
                                     "ORDER BY s.season_date, p.name_key, p.id, f.name_key, f.id"));
    q.bind(like(producerKey)).bind(cpf).bind(like(cpf)).bind(like(fieldKey));
    return seasonsOf(q);
}

std::optional<Season> Store::season(qint64 id) const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (readOnly_ && db.tables().isEmpty())
        return std::nullopt;
    Statement q(db, path_, QStringLiteral("SELECT ") + seasonColumns() + seasonFrom() + QStringLiteral("WHERE s.id = ?"));
    q.bind(id);
    const QList<Season> found = seasonsOf(q);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

model::Case Store::caseOf(qint64 season) const
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    Statement q(db, path_, QStringLiteral("SELECT case_json FROM season_case WHERE season_id = ?"));
    q.bind(season).run();
    if (!q.next())
        throw storeFailure(path_, QStringLiteral("a safra %1 não está no banco").arg(season));
    return cases::fromJson(q.at(0).toString().toUtf8(),
                           QStringLiteral("%1 (safra %2)").arg(shown(path_)).arg(season));
}

} // namespace store
