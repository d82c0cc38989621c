#pragma once
// Case files of format 1, as the first versions of the program wrote them:
// each component of the window by its name, with its text, cells, choice,
// state, date or page, and the worksheet by its own names. Read only, to be
// migrated to the model by the window, which alone knows its components.
#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace model {
struct Case;
}

namespace cases {

struct FormatOne {
    struct Choice {
        int index = -1;
        QString text;
    };
    QChar decimalSeparator = QLatin1Char(',');
    QMap<QString, QString> fields;           // single-line fields
    QMap<QString, QString> memos;            // multi-line fields
    QMap<QString, QString> labels;           // captions a handler rewrites
    QMap<QString, QList<QStringList>> grids; // rows of cells, the title row first
    QMap<QString, Choice> lists;
    QMap<QString, bool> checks;              // radio buttons and check boxes
    QMap<QString, QDate> dates;
    QMap<QString, int> pages;                // the page shown by a tab control
    QMap<QString, double> worksheet;         // by the worksheet's own names
};

// Raises the damaged file's Failure for any value of the wrong kind.
FormatOne readFormatOne(const QJsonObject &root, const QString &fileName);

// What the window makes of a format 1 case: the model it held.
using FormatOneMigration = std::function<model::Case(const FormatOne &)>;

} // namespace cases
