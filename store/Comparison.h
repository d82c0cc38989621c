#pragma once
// Two seasons of a field side by side: every value and result of both, the
// difference where both are numbers, and what changed in the
// recommendation.
#include "model/Case.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

struct ComparedRow {
    QString section;        // "Análise do solo", "Calagem", "Doses", ...
    QString label;          // "P (mg/dm³)"
    QString first, second;  // as the cases hold them, with a decimal comma
    QString difference;     // second minus first ("+0,40"), when both are numbers
    bool changed = false;
    bool recommendation = false; // a result of the rules, not something typed
};

struct Comparison {
    QList<ComparedRow> rows;
    // What changed in the recommendation, one line each:
    // "Calagem (t/ha): 2,10 → 1,50".
    QStringList changes;
};

// `first` is the earlier season.
Comparison compare(const model::Case &first, const model::Case &second);

// second minus first with the places of the more precise of the two and a
// sign ("+0,40", "-12", "0,0"), or empty when either is not a number.
QString difference(const QString &first, const QString &second);

} // namespace store
