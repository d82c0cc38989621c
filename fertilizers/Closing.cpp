#include "fertilizers/Closing.h"

#include <algorithm>

namespace fertilizers {

double closingLimit(double missing, double contentPercent)
{
    if (contentPercent == 0)
        return noLimit;
    return missing * 100 / contentPercent;
}

double ClosingLimits::smallest() const
{
    return std::min({n, p2o5, k2o});
}

ClosingLimits closingLimits(double missingN, double missingP2O5, double missingK2O, double pn, double pp,
                            double pk)
{
    return {closingLimit(missingN, pn), closingLimit(missingP2O5, pp), closingLimit(missingK2O, pk)};
}

double proposedQuantity(double limit)
{
    if (limit >= noLimit || limit < 0)
        return 0;
    return limit;
}

double chosenLimit(const ClosingLimits &limits, ClosingCriterion criterion)
{
    switch (criterion) {
    case ClosingCriterion::N:
        return limits.n;
    case ClosingCriterion::P2O5:
        return limits.p2o5;
    case ClosingCriterion::K2O:
        return limits.k2o;
    case ClosingCriterion::Smallest:
        break;
    }
    return limits.smallest();
}

std::optional<double> closingProposal(double missing, double contentPercent)
{
    if (missing > 0 && contentPercent > 0)
        return 100 * missing / contentPercent;
    return std::nullopt;
}

std::optional<TopDressingProposal> topDressingProposal(double missingN, double pn, double missingK2O, double pk)
{
    const auto isN = [](Nutrient nutrient) { return nutrient == Nutrient::N; };
    std::optional<TopDressingProposal> proposal;
    followTopDressingRule([&](Nutrient nutrient) { return isN(nutrient) ? missingN : missingK2O; },
                          [&](Nutrient nutrient) { return isN(nutrient) ? pn : pk; },
                          [&](const TopDressingProposal &made) { proposal = made; });
    return proposal;
}

double supplied(double quantity, double contentPercent, double efficiency)
{
    return quantity * contentPercent * efficiency / 100;
}

} // namespace fertilizers
