#pragma once
// What a rule used to reach its result (the table row, the limits, the
// inputs, the formula with its numbers), told in the program's words with
// the numbers of the case, for the technician who checks a recommendation.
// A rule given a Working says its part as it decides; given none it says
// nothing and costs nothing.
#include "core/NumberText.h"

#include <QList>
#include <QString>
#include <QStringList>

// One result with its working: "Classe de P: Médio. Argila 35 % → ...".
struct Told {
    QString what;   // the quantity, in the window's words ("Classe de P")
    QString result; // as its field shows it ("Médio", "1,20 t/ha")
    QString why;    // the working, ending with a full stop; may be empty
    QString text() const;
    friend bool operator==(const Told &, const Told &) = default;
};

class Working {
public:
    // places: the pattern of the field the result goes to ("0.00": 2). The
    // decimal mark is kept: a working outlives the window's call that gave it.
    Working(NumberText numbers, int places);

    // A value as it was typed or read: its shortest exact decimal form, or
    // "≈" and three places for a figure with more decimals.
    QString value(double v) const;
    // A value with a pattern of 1 to 3 places, as a field writes it.
    QString value(double v, int places) const;
    // The result with the pattern of its field.
    QString result(double v) const { return value(v, places_); }
    int places() const { return places_; }

    // Adds a part of the working; the parts are told in order, joined by "; ".
    void say(const QString &part);
    const QStringList &parts() const { return parts_; }
    QString why() const;
    // The result, named, with this working.
    Told told(const QString &what, const QString &result) const;

private:
    NumberText numbers_;
    int places_;
    QStringList parts_;
};

// The working of a whole case, in the order its results were computed; each
// step names the part of the recommendation it belongs to.
struct WorkingStep {
    QString section; // "Interpretação da análise", "Calagem", ...
    Told told;
    friend bool operator==(const WorkingStep &, const WorkingStep &) = default;
};
using CaseWorking = QList<WorkingStep>;

// The parts of a recommendation, as the working groups its steps.
namespace sections {
inline const QString soil = QStringLiteral("Interpretação da análise do solo");
inline const QString doses = QStringLiteral("Doses de N, P2O5 e K2O");
inline const QString liming = QStringLiteral("Calagem");
inline const QString split = QStringLiteral("Parcelamento de N e K2O");
inline const QString planting = QStringLiteral("Adubação de plantio");
QString topDressing(int number); // "Adubação na 1ª cobertura", from 1
} // namespace sections
