#pragma once
// One producer's recommendation as data: what the technician typed and what
// the handlers wrote, keyed by component name, plus the worksheet's last
// interpreted values. No widgets here, so that cases can be written without a
// window (from a lab file, for example).
#include <QChar>
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace cases {

// A drop-down list: the chosen position (-1 for none) and the text shown,
// which the technician may have typed.
struct Choice {
    int index = -1;
    QString text;
    friend bool operator==(const Choice &, const Choice &) = default;
};

struct Case {
    // The decimal separator in force when the case was saved.
    QChar decimalSeparator = QLatin1Char(',');
    QMap<QString, QString> fields;          // single-line fields
    QMap<QString, QString> memos;           // multi-line fields
    QMap<QString, QString> labels;          // captions a handler rewrites
    QMap<QString, QList<QStringList>> grids; // rows of cells, row 0 first
    QMap<QString, Choice> lists;
    QMap<QString, bool> checks;             // radio buttons and check boxes
    QMap<QString, QDate> dates;
    QMap<QString, int> pages;               // the page shown by a tab control
    QMap<QString, double> worksheet;        // by the worksheet's own names
    friend bool operator==(const Case &, const Case &) = default;
};

// The case with its number texts (fields and grid cells) written with
// another decimal separator. Only texts that are numbers under the
// separator the case was saved with are rewritten; names and free texts
// stay as typed.
Case withSeparator(const Case &source, QChar separator);

} // namespace cases
