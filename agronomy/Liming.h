#pragma once
// Liming need (NC, t/ha) by three criteria, the choice between the first two
// by the soil's buffering power, and the correction for a commercial PRNT.
#include <QString>

class Working;

namespace liming {

// Each rule given a working says there the formula with its numbers, and
// why a value was held back.

// Base saturation: raise V2 (present) to V1 (target); nothing when V1 <= V2.
double baseSaturation(double ctc, double v1, double v2, Working *working = nullptr);
// Low buffering power: 0.48 MO - 0.653 + 1.937 Al, unbounded (negative with
// little organic matter and no aluminium).
double lowBuffering(double organicMatter, double aluminium, Working *working = nullptr);
// Exchangeable aluminium: Al x f, plus what Ca+Mg lacks to reach 2.
// Shown for information only; it never becomes the recommendation.
double aluminium(double aluminium, double factor, double caMg, Working *working = nullptr);

enum class Criterion { BaseSaturation, LowBuffering };

// Well-buffered soils (clay >= 15 %, CTC >= 10, MO >= 2 %, all inclusive)
// follow the base saturation criterion; any other soil the low buffering one.
Criterion choose(double argila, double ctc, double organicMatter, Working *working = nullptr);

// Above this the recommendation is held back: more lime at once is not advised.
inline constexpr double maximumRecommendation = 2.0;

struct Recommendation {
    Criterion criterion;
    double value;  // t/ha of limestone at PRNT 100 %
    bool capped;   // value was above the maximum and was brought down to it
};

// The chosen criterion's value, never below 0 (a negative need means no
// lime), and never above the maximum.
Recommendation recommend(double argila, double ctc, double organicMatter, double baseSaturationNc,
                         double lowBufferingNc, Working *working = nullptr);

// Quantity of a commercial limestone equal to a need stated at PRNT 100 %.
// A PRNT of 0 raises the division-by-zero failure.
double commercialQuantity(double needAtPrnt100, double prnt, Working *working = nullptr);

// Observation texts.
inline const QString observationTitle = QStringLiteral("Observação:");
inline const QString baseSaturationLine = QStringLiteral("Criterio baseado na Saturação de Bases.");
inline const QString lowBufferingLine = QStringLiteral("Criterio devido baixo poder tampão.");
inline const QString cappedLine = QStringLiteral("Recomendação limitada a 2 t/ha.");

QString criterionLine(Criterion criterion);

} // namespace liming
