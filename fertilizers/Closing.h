#pragma once
// Quantities of a product (kg) that close what an application still misses.
#include "core/Nutrient.h"
#include <array>
#include <optional>

class Working;

namespace fertilizers {

// Each rule given a working says there the figures it divided and why a
// quantity was held back.

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
                            double pk, Working *working = nullptr);

// The quantity a proposal offers for a limit: none when the nutrients that
// decide it are absent from the product (the sentinel is never offered) or
// already over-supplied (a negative limit: more product would only add to
// the excess).
double proposedQuantity(double limit, Working *working = nullptr);

// The nutrient the organic planting proposal closes: the one the user picks,
// or whichever runs out first ("Fechar pelo menor"). The limit it picks is
// then offered through proposedQuantity.
enum class ClosingCriterion { N, P2O5, K2O, Smallest };
double chosenLimit(const ClosingLimits &limits, ClosingCriterion criterion, Working *working = nullptr);

// A top-dressing proposal closes a nutrient only when some of it is missing
// and the product has it; otherwise that nutrient proposes nothing.
std::optional<double> closingProposal(double missing, double contentPercent);

// The nutrients that may decide a top-dressing quantity, in the order they
// are tried: a later one that proposes replaces an earlier one. So potash
// decides whenever some is missing and the product has it, else nitrogen;
// phosphate never decides.
using Nutrient = core::Nutrient;
inline constexpr std::array<Nutrient, 2> topDressingDeciders{Nutrient::N, Nutrient::K2O};

struct TopDressingProposal {
    Nutrient decidedBy;
    double quantity;
};
std::optional<TopDressingProposal> topDressingProposal(double missingN, double pn, double missingK2O, double pk);

// The same rule followed step by step, for a caller that reads each figure
// only when the rule comes to it (what is missing of a nutrient, then the
// product's content of it) and acts on each proposal as soon as it is made,
// a later one replacing an earlier. So a figure that cannot be read stops
// the caller after what the deciders before it proposed. Answers whether any
// decider proposed.
// What a decider did, for the working: proposed the quantity, or why not.
void tellDecider(Nutrient nutrient, double missing, double contentPercent, std::optional<double> quantity,
                 Working &working);

template <class Missing, class Content, class Act>
bool followTopDressingRule(Missing missing, Content content, Act act, Working *working = nullptr)
{
    bool proposed = false;
    for (const Nutrient nutrient : topDressingDeciders) {
        const double missingOfIt = missing(nutrient);
        const double contentOfIt = content(nutrient);
        const auto quantity = closingProposal(missingOfIt, contentOfIt);
        if (working)
            tellDecider(nutrient, missingOfIt, contentOfIt, quantity, *working);
        if (quantity) {
            act(TopDressingProposal{nutrient, *quantity});
            proposed = true;
        }
    }
    return proposed;
}

// What an application still misses of a nutrient (kg): its dose less what
// the listed products supply; negative when they supply more than the dose.
double stillMissing(double dose, double supplied, int products, Working *working = nullptr);

// Nutrient (kg) supplied by a quantity (kg) of a content (%), times an
// efficiency (organic fertilizers release only part of it in the cycle).
double supplied(double quantity, double contentPercent, double efficiency = 1.0, Working *working = nullptr);

} // namespace fertilizers
