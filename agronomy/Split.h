#pragma once
// Division of the N and K2O doses over the four applications of the crop:
// planting and three top-dressings. P2O5 is not divided: all of it goes to
// planting.
#include <QString>
#include <array>
#include <optional>

class NumberText;
class Working;

namespace split {

inline constexpr int applications = 4; // planting, 1st, 2nd, 3rd top-dressing

// Each rule given a working says there what share went where, and why.

// The usual N split at start: 15/35/30/20 %, adding up to 100.
inline constexpr std::array<double, applications> nitrogenPercentages{15, 35, 30, 20};

// What an application receives of a dose by its percentage. Percentages need
// not add up to 100: whatever they add up to is applied.
double byPercentage(double dose, double percent, Working *working = nullptr);

// The usual potash rule: young roots take little K2O, so at most this much
// goes in at planting and the rest at the first top-dressing.
inline constexpr double plantingPotashLimit = 40;

struct Potash {
    double planting = 0;
    std::optional<double> firstTopDressing; // none when the dose fits at planting
};
Potash potash(double dose, Working *working = nullptr);

// The quantity texts of the potash rule, planting first; the 2nd and 3rd
// top-dressings stay empty. A planting share held at the limit is written as
// the fixed text "40.00" under a point and "40,00" under any other separator.
std::array<QString, applications> potashTexts(const Potash &split, const NumberText &numbers);

// "Redistribuir pelo %": an application with a percentage receives that share
// of the dose; one without receives nothing, and the others are not scaled up.
std::optional<double> byOptionalPercentage(double dose, std::optional<double> percent, Working *working = nullptr);

// The message when "Redistribuir pelo %" finds no percentage at all.
inline const QString noPercentagesMessage = QStringLiteral("Entre com os percentuais em cada período");

} // namespace split
