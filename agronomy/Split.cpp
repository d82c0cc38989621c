#include "agronomy/Split.h"
#include "core/NumberText.h"

namespace split {

double byPercentage(double dose, double percent)
{
    return dose * percent / 100;
}

Potash potash(double dose)
{
    if (dose > plantingPotashLimit)
        return {plantingPotashLimit, dose - plantingPotashLimit};
    return {dose, std::nullopt};
}

std::array<QString, applications> potashTexts(const Potash &split, const NumberText &numbers)
{
    std::array<QString, applications> texts;
    if (split.firstTopDressing) {
        texts[0] = numbers.pointInForce() ? QStringLiteral("40.00") : QStringLiteral("40,00");
        texts[1] = numbers.format(*split.firstTopDressing, 2);
    } else {
        texts[0] = numbers.format(split.planting, 2);
    }
    return texts;
}

std::optional<double> byOptionalPercentage(double dose, std::optional<double> percent)
{
    if (!percent)
        return std::nullopt;
    return byPercentage(dose, *percent);
}

} // namespace split
