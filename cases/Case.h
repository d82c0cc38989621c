#pragma once
// One producer's recommendation as data: what the technician typed and what
// the handlers wrote, keyed by component name, plus the worksheet's last
// interpreted values. No widgets here, so that cases can be written without a
// window (from a lab file, for example).
#include <QChar>
#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
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

// Texts typed as words whatever they look like: a CPF "123.456", a field
// named "1.2" or a report number "12.345" is no number. Fields by name;
// grid columns (from 0) by the grid's name.
struct FreeTexts {
    QSet<QString> fields;
    QMap<QString, QList<int>> gridColumns;
};

// The case with its number texts (fields and grid cells) written with
// another decimal separator. Only texts that are numbers under the
// separator the case was saved with are rewritten, and never the free
// texts named; memos, lists and captions stay as typed.
Case withSeparator(const Case &source, QChar separator, const FreeTexts &freeTexts = {});

} // namespace cases
