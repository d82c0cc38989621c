#include "cases/FormatOne.h"

#include "cases/CaseJson.h"
#include "core/Failure.h"

#include <QJsonArray>
#include <cmath>

namespace cases {

namespace {

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

// Every value is checked for its kind; one wrong value makes the whole file
// damaged.
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

FormatOne readFormatOne(const QJsonObject &root, const QString &fileName)
{
    const Reader read(root, fileName);
    FormatOne c;
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
        const FormatOne::Choice value{read.integer(choice.value(kIndex)), read.string(choice.value(kText))};
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
