#pragma once
// The store of cases: every producer, each of their fields and each field's
// seasons, in one SQLite file that needs no set-up. A season keeps the whole
// case (its format 2 document), so that nothing is lost, and beside it the
// values search and history need.
//
// A Store is one connection: use it from the thread that made it, and make
// another in another thread or process. Several may write at once (the
// window and a lab-file run): a write waits for the other's to end. Every
// write is one transaction: a failure leaves the store as it was.
//
// The SQL outside the connection's set-up is kept to what PostgreSQL's Qt
// driver also runs (see the README), so that technicians sharing one store
// can follow.
#include "model/Case.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace store {

// The version of the tables this program writes, in PRAGMA user_version.
// Each earlier version is brought to it when the store is opened to write.
inline constexpr int schemaVersion = 1;

// The columns of a field's history, in the order of the history CSV.
enum class Value { Clay, Ph, P, K, Mo, Al, Ca, Mg, Ctc, V, Liming, N, P2O5, K2O, Cost };
inline constexpr int valueCount = int(Value::Cost) + 1;
// Title and decimal places of a value's column, "Argila (%)".
QString valueTitle(Value v);

struct Producer {
    qint64 id = 0;
    QString name, cpf, town, place; // town: the município; place: the localidade
};

struct Field {
    qint64 id = 0, producer = 0;
    QString name; // the Denominação (or Talhão)
    int seasons = 0;
};

// One season of a field: who, where, when, and its values as the case holds
// them with a decimal comma (empty when the case has none; the cost only
// when the case was composed).
struct Season {
    qint64 id = 0, field = 0, producer = 0;
    QString producerName, cpf, town, place, fieldName;
    QDate date;     // the report's date
    QString report; // the laboratory report's number
    std::array<QString, valueCount> values;
    QString value(Value v) const { return values[size_t(int(v))]; }
};

// What recording a case did.
struct Recorded {
    qint64 season = 0;
    bool newProducer = false, newField = false;
    bool replaced = false; // a season of that field and date was there before
    QString producer, field; // the names as the store holds them
};

class Store {
public:
    enum class Mode { Write, Read };
    // Opens (and, to write, creates or brings up to date) the store at
    // `path`. A damaged file, a file that is not a store, or a store of a
    // newer version raises a Failure with the reason in Portuguese, and the
    // file is left as it was. Opened to read, a missing file is refused and
    // nothing is ever written.
    explicit Store(const QString &path, Mode mode = Mode::Write);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // tuberon.sqlite in the user's data folder.
    static QString defaultPath();
    QString path() const { return path_; }

    // The season a case would be recorded as: its producer (by CPF, else by
    // name and município), its field (by Denominação) and its date (the
    // report's date when `date` is not given). Nothing when any is new.
    std::optional<Season> existing(const model::Case &c, QDate date = {}) const;

    // Records cases, all in one transaction: each under its producer and
    // field (made when new), replacing a season of the same field and
    // date. A case without a producer's name nor CPF, or without a date,
    // is refused. Raises a Failure and records none when any fails.
    struct Entry {
        model::Case c;
        QDate date; // invalid: the case's report date
    };
    QList<Recorded> record(const QList<Entry> &entries);
    Recorded record(const model::Case &c, QDate date = {});

    QList<Producer> producers() const;
    QList<Field> fields(qint64 producer) const;
    // A field's seasons, oldest first.
    QList<Season> history(qint64 field) const;
    // Seasons whose producer (name, CPF, município, localidade), field or
    // report number holds `text` (case, accents and punctuation aside), by
    // producer and field, newest first; at most `limit` of them.
    QList<Season> search(const QString &text, int limit = 500) const;
    // Seasons whose producer (name or CPF) holds `producer` and whose field
    // holds `field` (either empty: any), oldest first.
    QList<Season> seasons(const QString &producer, const QString &field) const;
    std::optional<Season> season(qint64 id) const;
    // The whole case of a season.
    model::Case caseOf(qint64 season) const;

private:
    QString path_;
    QString connection_;
    bool readOnly_;
};

// A text as search compares it: lower case, without accents, letters and
// digits with single blanks between words; "123.456.789-09" is "12345678909".
QString searchKey(const QString &text);

} // namespace store
