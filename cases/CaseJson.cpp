#include "cases/CaseJson.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Version.h"
#include "model/CaseFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>
#include <QSet>
#include <array>
#include <cmath>
#include <type_traits>

namespace cases {

namespace {

const QString kFormat = QStringLiteral("formato");
const QString kVersion = QStringLiteral("versao");
const QString kSeparator = QStringLiteral("decimalSeparator");
const QString kProgram = QStringLiteral("program");
const QString kNumber = QStringLiteral("number");
const QString kText = QStringLiteral("text");
const QString kIndex = QStringLiteral("index");

template <class T> struct FixedSize : std::false_type {};
template <class T, std::size_t N> struct FixedSize<std::array<T, N>> : std::true_type {};

// Rows of a product list beyond any a technician composes.
constexpr qsizetype kMaxRows = 999;

Failure notACase(const QString &fileName)
{
    return Failure(QStringLiteral("O arquivo \"%1\" não é um caso do Tuberon.").arg(fileName));
}

Failure newer(const QString &fileName)
{
    return Failure(QStringLiteral("O arquivo \"%1\" foi feito por uma versão mais nova do Tuberon e não pode ser "
                                  "aberto por esta versão.")
                       .arg(fileName));
}

// A number field: a JSON number when its text is that number's shortest
// form; {"number", "text"} when it is a number written otherwise ("1,50");
// {"text"} when it is no number (yet), "35,"; null when empty.
class NumberForm {
public:
    explicit NumberForm(QChar separator) : numbers_(separator) {}

    QString shortest(double value) const
    {
        QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
        text.replace(QLatin1Char('.'), numbers_.separator());
        return text;
    }

    QJsonValue toJson(const QString &text) const
    {
        if (text.isEmpty())
            return QJsonValue::Null;
        double value = 0;
        try {
            value = numbers_.toDouble(text);
        } catch (const Failure &) {
            return QJsonObject{{kText, text}};
        }
        if (shortest(value) == text && std::isfinite(value))
            return value;
        return QJsonObject{{kNumber, value}, {kText, text}};
    }

    const NumberText &numbers() const { return numbers_; }

private:
    NumberText numbers_;
};

class Writer {
public:
    explicit Writer(QChar separator) : form_(separator) {}

    void number(const char *key, const model::Number &n) { top().insert(QLatin1String(key), form_.toJson(n.text)); }
    void text(const char *key, const QString &t) { top().insert(QLatin1String(key), t); }
    void texts(const char *key, const QStringList &t) { top().insert(QLatin1String(key), QJsonArray::fromStringList(t)); }
    // The reasons as the program's sentences, in the case's decimal mark.
    void reasons(const char *key, const QList<fertilizers::CompositionReason> &reasons)
    {
        QStringList t;
        for (const fertilizers::CompositionReason &r : reasons)
            t << fertilizers::reasonText(r, form_.numbers());
        texts(key, t);
    }
    void choice(const char *key, const model::Choice &c)
    {
        top().insert(QLatin1String(key), QJsonObject{{kIndex, c.index}, {kText, c.text}});
    }
    void flag(const char *key, bool b) { top().insert(QLatin1String(key), b); }
    void date(const char *key, const QDate &d)
    {
        top().insert(QLatin1String(key), d.isValid() ? QJsonValue(d.toString(Qt::ISODate)) : QJsonValue::Null);
    }
    void integer(const char *key, int i) { top().insert(QLatin1String(key), i); }
    void real(const char *key, double d) { top().insert(QLatin1String(key), d); }
    void maybeReal(const char *key, const std::optional<double> &d)
    {
        top().insert(QLatin1String(key), d ? QJsonValue(*d) : QJsonValue::Null);
    }
    template <class E> void option(const char *key, E value, std::initializer_list<std::pair<E, const char *>> names)
    {
        QJsonValue v = QJsonValue::Null;
        for (const auto &[option, name] : names)
            if (option == value)
                v = QLatin1String(name);
        top().insert(QLatin1String(key), v);
    }
    template <class F> void object(const char *key, F &&visit)
    {
        stack_.push_back({});
        visit();
        const QJsonObject o = stack_.takeLast();
        top().insert(QLatin1String(key), o);
    }
    template <class T, class F> void maybe(const char *key, std::optional<T> &o, F &&visit)
    {
        if (o)
            object(key, [&] { visit(*o); });
    }
    template <class C, class F> void list(const char *key, C &rows, F &&visit)
    {
        QJsonArray array;
        for (auto &row : rows) {
            stack_.push_back({});
            visit(row);
            array.append(stack_.takeLast());
        }
        top().insert(QLatin1String(key), array);
    }

    QJsonObject &top() { return stack_.last(); }

private:
    NumberForm form_;
    QList<QJsonObject> stack_{QJsonObject()};
};

// Every value is checked for its kind; one wrong value makes the whole file
// damaged. A key left out keeps the model's default: empty, unchecked. A key
// the model does not have makes the file damaged too, as the schema, which
// allows no other properties, says.
class Reader {
public:
    Reader(const QJsonObject &root, QChar separator, const QString &fileName)
        : form_(separator), fileName_(fileName), stack_{root}, seen_{{}}
    {
    }

    // After the whole case: the document's own keys are all it may hold besides.
    void finish(std::initializer_list<QString> documentKeys)
    {
        for (const QString &key : documentKeys)
            seen_.last().insert(key);
        leave();
    }

    void number(const char *key, model::Number &n)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined() || v.isNull())
            n.text.clear();
        else if (v.isDouble() && std::isfinite(v.toDouble()))
            n.text = form_.shortest(v.toDouble());
        else if (v.isObject() && v.toObject().value(kText).isString())
            n.text = v.toObject().value(kText).toString();
        else
            throw damagedFile(fileName_);
    }
    void text(const char *key, QString &t) { t = string(value(key)); }
    void texts(const char *key, QStringList &t)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isArray() || v.toArray().size() > kMaxRows)
            throw damagedFile(fileName_);
        t.clear();
        for (const QJsonValue &item : v.toArray())
            t << string(item);
    }
    void reasons(const char *key, QList<fertilizers::CompositionReason> &reasons)
    {
        QStringList t;
        texts(key, t);
        reasons.clear();
        for (const QString &text : std::as_const(t))
            reasons << fertilizers::reasonFromText(text, form_.numbers());
    }
    void choice(const char *key, model::Choice &c)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isObject())
            throw damagedFile(fileName_);
        c.index = whole(v.toObject().value(kIndex));
        c.text = string(v.toObject().value(kText));
        if (c.index < -1)
            throw damagedFile(fileName_);
    }
    void flag(const char *key, bool &b)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isBool())
            throw damagedFile(fileName_);
        b = v.toBool();
    }
    void date(const char *key, QDate &d)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined() || v.isNull())
            return;
        d = QDate::fromString(string(v), Qt::ISODate);
        if (!d.isValid())
            throw damagedFile(fileName_);
    }
    void integer(const char *key, int &i)
    {
        const QJsonValue v = value(key);
        if (!v.isUndefined())
            i = whole(v);
    }
    void real(const char *key, double &d)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isDouble())
            throw damagedFile(fileName_);
        d = v.toDouble();
    }
    void maybeReal(const char *key, std::optional<double> &d)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined() || v.isNull()) {
            d.reset();
            return;
        }
        if (!v.isDouble())
            throw damagedFile(fileName_);
        d = v.toDouble();
    }
    template <class E> void option(const char *key, E &value, std::initializer_list<std::pair<E, const char *>> names)
    {
        const QJsonValue v = this->value(key);
        if (v.isUndefined() || v.isNull())
            return;
        const QString name = string(v);
        for (const auto &[option, optionName] : names) {
            if (name == QLatin1String(optionName)) {
                value = option;
                return;
            }
        }
        throw damagedFile(fileName_);
    }
    template <class F> void object(const char *key, F &&visit)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isObject())
            throw damagedFile(fileName_);
        enter(v.toObject());
        visit();
        leave();
    }
    template <class T, class F> void maybe(const char *key, std::optional<T> &o, F &&visit)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined() || v.isNull()) {
            o.reset();
            return;
        }
        if (!v.isObject())
            throw damagedFile(fileName_);
        o.emplace();
        enter(v.toObject());
        visit(*o);
        leave();
    }
    template <class C, class F> void list(const char *key, C &rows, F &&visit)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        if (!v.isArray())
            throw damagedFile(fileName_);
        const QJsonArray array = v.toArray();
        if constexpr (FixedSize<C>::value) {
            if (array.size() != qsizetype(rows.size()))
                throw damagedFile(fileName_);
        } else {
            if (array.size() > kMaxRows)
                throw damagedFile(fileName_);
            rows.resize(array.size());
        }
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!array.at(i).isObject())
                throw damagedFile(fileName_);
            enter(array.at(i).toObject());
            visit(rows[i]);
            leave();
        }
    }

private:
    QJsonValue value(const char *key)
    {
        seen_.last().insert(QLatin1String(key));
        return stack_.last().value(QLatin1String(key));
    }
    void enter(const QJsonObject &o)
    {
        stack_.push_back(o);
        seen_.push_back({});
    }
    void leave()
    {
        for (const QString &key : stack_.last().keys())
            if (!seen_.last().contains(key))
                throw damagedFile(fileName_);
        stack_.pop_back();
        seen_.pop_back();
    }
    QString string(const QJsonValue &v) const
    {
        if (v.isUndefined())
            return {};
        if (!v.isString())
            throw damagedFile(fileName_);
        return v.toString();
    }
    int whole(const QJsonValue &v) const
    {
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || d != std::trunc(d) || std::abs(d) > 1e9)
            throw damagedFile(fileName_);
        return int(d);
    }

    NumberForm form_;
    QString fileName_;
    QList<QJsonObject> stack_;
    QList<QSet<QString>> seen_; // the keys read, object by object
};

int versionOf(const QJsonValue &v, const QString &fileName)
{
    const double d = v.toDouble(NAN);
    if (!v.isDouble() || d != std::trunc(d) || std::abs(d) > 1e9)
        throw damagedFile(fileName);
    return int(d);
}

} // namespace

Failure damagedFile(const QString &fileName)
{
    return Failure(QStringLiteral("O arquivo \"%1\" está danificado e não pode ser aberto.").arg(fileName));
}

QByteArray toJson(const model::Case &c)
{
    Writer write(c.decimalSeparator);
    write.top().insert(kFormat, QLatin1String(formatName));
    write.top().insert(kVersion, formatVersion);
    write.top().insert(kProgram, QLatin1String(tuberon::version));
    write.top().insert(kSeparator, QString(c.decimalSeparator));
    model::Case copy = c;
    model::visitCase(write, copy);
    return QJsonDocument(write.top()).toJson(QJsonDocument::Indented);
}

model::Case fromJson(const QByteArray &bytes, const QString &fileName, const FormatOneMigration &formatOne)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        // A document that opens like an object was meant to be JSON and was
        // cut or spoiled; anything else was never a case.
        if (bytes.trimmed().startsWith('{'))
            throw damagedFile(fileName);
        throw notACase(fileName);
    }
    if (!document.isObject())
        throw notACase(fileName);
    const QJsonObject root = document.object();
    if (root.value(kFormat).toString() != QLatin1String(formatName))
        throw notACase(fileName);

    const int version = versionOf(root.value(kVersion), fileName);
    if (version > formatVersion)
        throw newer(fileName);
    if (version < 1)
        throw damagedFile(fileName);
    if (version == 1) {
        const FormatOne old = readFormatOne(root, fileName);
        if (!formatOne)
            throw damagedFile(fileName);
        return formatOne(old);
    }

    const QJsonValue separator = root.value(kSeparator);
    if (!separator.isString() || separator.toString().size() != 1)
        throw damagedFile(fileName);
    model::Case c;
    c.decimalSeparator = separator.toString().at(0);
    Reader read(root, c.decimalSeparator, fileName);
    model::visitCase(read, c);
    read.finish({kFormat, kVersion, kSeparator, kProgram});
    return c;
}

} // namespace cases
