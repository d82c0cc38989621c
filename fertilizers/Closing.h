#pragma once
// Quantities of a product (kg) that close what an application still misses.

namespace fertilizers {

// A nutrient the product lacks never restricts the quantity: its limit is
// this sentinel, far above any real proposal.
inline constexpr double noLimit = 1'000'000;

// The quantity of product whose content (%) supplies exactly the missing
// amount (kg); noLimit when the product has none of that nutrient.
double closingLimit(double missing, double contentPercent);

struct ClosingLimits {
    double n, p2o5, k2o;
    double smallest() const;
};

ClosingLimits closingLimits(double missingN, double missingP2O5, double missingK2O, double pn, double pp,
                            double pk);

// The quantity a proposal offers for a limit: none when the nutrients that
// decide it are absent from the product (the sentinel is never offered) or
// already over-supplied (a negative limit: more product would only add to
// the excess).
double proposedQuantity(double limit);

// Nutrient (kg) supplied by a quantity (kg) of a content (%), times an
// efficiency (organic fertilizers release only part of it in the cycle).
double supplied(double quantity, double contentPercent, double efficiency = 1.0);

} // namespace fertilizers
