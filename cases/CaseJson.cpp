#include "cases/CaseJson.h"

#include "core/Failure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>

namespace cases {

namespace {

const QString kFormat = QStringLiteral("formato");
const QString kVersion = QStringLiteral("versao");
const QString kSeparator = QStringLiteral("separadorDecimal");
const QString kFields = QStringLiteral("campos");
const QString kMemos = QStringLiteral("memos");
const QString kLabels = QStringLiteral("rotulos");
const QString kGrids = QStringLiteral("grades");
const QString kLists = QStringLiteral("listas");
const QString kChecks = QStringLiteral("marcas");
const QString kDates = QStringLiteral("datas");
const QString kPages = QStringLiteral("paginas");
const QString kWorksheet = QStringLiteral("planilha");
const QString kIndex = QStringLiteral("indice");
const QString kText = QStringLiteral("texto");

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

QJsonObject texts(const QMap<QString, QString> &map)
{
    QJsonObject o;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

// Reading: every value is checked for its kind; one wrong value makes the
// whole file damaged.
class Reader {
public:
    Reader(const QJsonObject &root, const QString &fileName) : root_(root), fileName_(fileName) {}

    QJsonObject section(const QString &key) const
    {
        const QJsonValue v = root_.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isObject())
            throw damagedFile(fileName_);
        return v.toObject();
    }

    QString string(const QJsonValue &v) const
    {
        if (!v.isString())
            throw damagedFile(fileName_);
        return v.toString();
    }

    int integer(const QJsonValue &v) const
    {
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || d != std::trunc(d) || std::abs(d) > 1e9)
            throw damagedFile(fileName_);
        return int(d);
    }

    QMap<QString, QString> texts(const QString &key) const
    {
        QMap<QString, QString> map;
        const QJsonObject o = section(key);
        for (auto it = o.begin(); it != o.end(); ++it)
            map.insert(it.key(), string(it.value()));
        return map;
    }

    QList<QStringList> rows(const QJsonValue &v) const
    {
        if (!v.isArray())
            throw damagedFile(fileName_);
        QList<QStringList> rows;
        for (const QJsonValue &row : v.toArray()) {
            if (!row.isArray())
                throw damagedFile(fileName_);
            QStringList cells;
            for (const QJsonValue &cell : row.toArray())
                cells << string(cell);
            rows << cells;
        }
        return rows;
    }

private:
    QJsonObject root_;
    QString fileName_;
};

} // namespace

Failure damagedFile(const QString &fileName)
{
    return Failure(QStringLiteral("O arquivo \"%1\" está danificado e não pode ser aberto.").arg(fileName));
}

QByteArray toJson(const Case &c)
{
    QJsonObject root;
    root.insert(kFormat, QLatin1String(formatName));
    root.insert(kVersion, formatVersion);
    root.insert(kSeparator, QString(c.decimalSeparator));
    root.insert(kFields, texts(c.fields));
    root.insert(kMemos, texts(c.memos));
    root.insert(kLabels, texts(c.labels));

    QJsonObject grids;
    for (auto it = c.grids.cbegin(); it != c.grids.cend(); ++it) {
        QJsonArray rows;
        for (const QStringList &row : it.value())
            rows.append(QJsonArray::fromStringList(row));
        grids.insert(it.key(), rows);
    }
    root.insert(kGrids, grids);

    QJsonObject lists;
    for (auto it = c.lists.cbegin(); it != c.lists.cend(); ++it)
        lists.insert(it.key(), QJsonObject{{kIndex, it->index}, {kText, it->text}});
    root.insert(kLists, lists);

    QJsonObject checks;
    for (auto it = c.checks.cbegin(); it != c.checks.cend(); ++it)
        checks.insert(it.key(), it.value());
    root.insert(kChecks, checks);

    QJsonObject dates;
    for (auto it = c.dates.cbegin(); it != c.dates.cend(); ++it)
        dates.insert(it.key(), it.value().toString(Qt::ISODate));
    root.insert(kDates, dates);

    QJsonObject pages;
    for (auto it = c.pages.cbegin(); it != c.pages.cend(); ++it)
        pages.insert(it.key(), it.value());
    root.insert(kPages, pages);

    QJsonObject worksheet;
    for (auto it = c.worksheet.cbegin(); it != c.worksheet.cend(); ++it)
        worksheet.insert(it.key(), it.value());
    root.insert(kWorksheet, worksheet);

    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Case fromJson(const QByteArray &bytes, const QString &fileName)
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

    const Reader read(root, fileName);
    const int version = read.integer(root.value(kVersion));
    if (version > formatVersion)
        throw newer(fileName);
    if (version < 1)
        throw damagedFile(fileName);

    Case c;
    const QString separator = read.string(root.value(kSeparator));
    if (separator.size() != 1)
        throw damagedFile(fileName);
    c.decimalSeparator = separator.at(0);
    c.fields = read.texts(kFields);
    c.memos = read.texts(kMemos);
    c.labels = read.texts(kLabels);

    const QJsonObject grids = read.section(kGrids);
    for (auto it = grids.begin(); it != grids.end(); ++it)
        c.grids.insert(it.key(), read.rows(it.value()));

    const QJsonObject lists = read.section(kLists);
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        if (!it.value().isObject())
            throw damagedFile(fileName);
        const QJsonObject choice = it.value().toObject();
        const Choice value{read.integer(choice.value(kIndex)), read.string(choice.value(kText))};
        if (value.index < -1)
            throw damagedFile(fileName);
        c.lists.insert(it.key(), value);
    }

    const QJsonObject checks = read.section(kChecks);
    for (auto it = checks.begin(); it != checks.end(); ++it) {
        if (!it.value().isBool())
            throw damagedFile(fileName);
        c.checks.insert(it.key(), it.value().toBool());
    }

    const QJsonObject dates = read.section(kDates);
    for (auto it = dates.begin(); it != dates.end(); ++it) {
        const QDate date = QDate::fromString(read.string(it.value()), Qt::ISODate);
        if (!date.isValid())
            throw damagedFile(fileName);
        c.dates.insert(it.key(), date);
    }

    const QJsonObject pages = read.section(kPages);
    for (auto it = pages.begin(); it != pages.end(); ++it)
        c.pages.insert(it.key(), read.integer(it.value()));

    const QJsonObject worksheet = read.section(kWorksheet);
    for (auto it = worksheet.begin(); it != worksheet.end(); ++it) {
        if (!it.value().isDouble())
            throw damagedFile(fileName);
        c.worksheet.insert(it.key(), it.value().toDouble());
    }
    return c;
}

} // namespace cases
