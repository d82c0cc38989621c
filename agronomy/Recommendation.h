#pragma once
// The whole default recommendation for one soil analysis, without a window:
// the same rules the window's handlers call, in the same order, with every
// value that the window passes on as a rounded text passed on rounded here.
#include "agronomy/Liming.h"
#include "agronomy/SoilClasses.h"
#include "agronomy/Split.h"
#include "core/Working.h"

#include <QString>
#include <array>
#include <optional>

class NumberText;

namespace agronomy {

// One soil analysis in the program's units.
struct Analysis {
    double argila = 0;          // clay, %
    double p = 0, k = 0;        // mg/dm³
    double mo = 0;              // organic matter, %
    double al = 0, ca = 0, mg = 0, ctc = 0; // cmolc/dm³
    double v = 0;               // base saturation, %
    double yield = 25;          // expected yield, t/ha
    std::optional<double> prnt; // PRNT of a commercial limestone, %, when its quantity is wanted
};

// The base saturation the liming aims at unless the user types another.
inline constexpr double targetSaturation = 40;

struct Recommendation {
    // Soil interpretation
    QString clayClass;                       // "Classe 1" .. "Classe 4"
    soil::Limits phosphorusLimits;           // by the clay content
    QString phosphorusClass;                 // one of the five class words
    soil::Limits potassiumLimits;            // by the CTC
    QString potassiumClass;
    QString ctcClass;                        // "Baixa" .. "Muito Alta"
    double aluminiumFactor = 0;              // "f" of the aluminium criterion
    double caMg = 0, caMgRatio = 0;          // Ca + Mg and Ca / Mg

    // Liming, t/ha at PRNT 100 %
    double baseSaturationNc = 0, lowBufferingNc = 0, aluminiumNc = 0;
    liming::Criterion criterion = liming::Criterion::LowBuffering;
    double need = 0;                         // the chosen criterion, within 0 .. 2
    bool capped = false;                     // the need was held back at 2 t/ha
    std::optional<double> commercialQuantity; // t/ha of the commercial limestone, with a PRNT

    // Doses, kg/ha
    double n = 0, p2o5 = 0, k2o = 0;
    bool phosphorusVeryHigh = false;         // the phosphate fertilization may be left out

    // Default split over planting and the three top-dressings, kg/ha
    std::array<double, split::applications> nSplit{};
    split::Potash k2oSplit;
};

// Raises the window's Failure where the window's own handlers would stop:
// Mg = 0 (Ca / Mg), a zero PRNT, or a separator other than "," and "."
// (the aluminium factor then has no text, and the liming cannot be computed).
// Given a working, adds to it each result with its working, in the order
// computed, named and written as the window shows them.
Recommendation recommend(const Analysis &analysis, const NumberText &numbers, CaseWorking *working = nullptr);

// The text an analysis value is typed as: its shortest exact decimal form,
// with the separator in force.
QString typedText(double value, const NumberText &numbers);

} // namespace agronomy
