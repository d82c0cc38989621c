#pragma once
// Composing planting and the three top-dressings at the least cost with the
// products of a price list, in whole bags counted for the field.
#include "core/Nutrient.h"
#include "fertilizers/MipSolver.h"
#include "fertilizers/PriceList.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class NumberText;

namespace fertilizers {

using core::Nutrient;
using core::nutrientName;

inline constexpr int applicationCount = 4; // planting, 1ª, 2ª and 3ª top-dressings
// The largest field composed, ha: far beyond any farm, and the bags of a
// larger one (a mistyped area) would no longer count in whole numbers.
inline constexpr double maxAreaHa = 1e6;

struct CompositionOptions {
    double areaHa = 1;            // the field, ha
    int maxProducts = 3;          // per application
    double tolerancePercent = 10; // overshoot allowed: the larger of this % of the need ...
    double toleranceKgHa = 5;     // ... and this, kg/ha of the nutrient
    double leastKgHa = 0;         // a product under this quantity (kg/ha) is not worth applying
    bool seasonBags = false;      // bags bought for the whole season, not whole per application
    double timeLimitSeconds = 2;  // of the season's coupled programme
    // The most an application may bring past a need of `needKgHa` of a
    // nutrient: the larger of the two tolerances.
    double toleratedExcessKgHa(double needKgHa) const;
    friend bool operator==(const CompositionOptions &, const CompositionOptions &) = default;
};

// What is still missing of an application's N, P2O5 and K2O, kg/ha.
using NutrientNeed = std::array<double, 3>;

struct ComposedProduct {
    int product = -1;      // index in the price list
    QString name;
    double kgHa = 0;       // kg/ha applied
    double kgField = 0;    // kg for the field
    double bags = 0;       // bags for the field (whole per application; in season mode the kg/bag share)
    double costHa = 0;     // R$/ha
    double costField = 0;  // R$ for the field
    friend bool operator==(const ComposedProduct &, const ComposedProduct &) = default;
};

enum class CompositionStatus { Composed, Approximate, NoPrice };

// Why a need could not be met within the limits: what stood in the way with
// its figures, told in Portuguese where it is shown (reasonText), in the
// decimal mark of that place.
struct CompositionReason {
    enum class Kind {
        NoPricedCarrier,     // no priced product brings the nutrients
        NoCarrierAllowedHere, // some do, but none may go in this application
        TooFewProducts,      // `products` at most do not compose them
        OneBagTooMuch,       // `figure`: the field, ha
        BagsStepOver,        // `figure`: the field, ha
        LeastQuantity,       // `figure`: the least kg/ha of a product
        OutOfProportion,     // the products do not bring them in the dose's proportion
        Failed,              // the solver refused the programme
        Text,                // a sentence read from a file, kept as it stands
    };
    Kind kind = Kind::Text;
    int application = 0;         // 0: planting
    QList<Nutrient> nutrients;   // those the reason is about
    int products = 0;
    double figure = 0;
    QString text;                // Kind::Text only
    friend bool operator==(const CompositionReason &, const CompositionReason &) = default;
};

// "1ª cobertura: um saco é mais do que a área de 0,50 ha precisa de N".
QString reasonText(const CompositionReason &reason, const NumberText &numbers);
// A sentence reasonText() writes, read back into its reason; any other
// sentence is kept whole as a Text reason.
CompositionReason reasonFromText(const QString &text, const NumberText &numbers);

struct ApplicationPlan {
    QList<ComposedProduct> products;
    NutrientNeed needed{}, supplied{}, excess{}, shortfall{}; // kg/ha
    double costHa = 0, costField = 0;
    CompositionStatus status = CompositionStatus::Composed;
    // Why a need could not be met within the limits.
    QList<CompositionReason> reasons;
    friend bool operator==(const ApplicationPlan &, const ApplicationPlan &) = default;
};

struct ShoppingItem {
    int product = -1;
    QString name;
    int bags = 0;        // bags to buy (bulk: 0, see kg)
    double kg = 0;       // kg bought
    double leftoverKg = 0;
    double cost = 0;     // R$
    friend bool operator==(const ShoppingItem &, const ShoppingItem &) = default;
};

struct Composition {
    CompositionOptions options;
    std::array<ApplicationPlan, applicationCount> applications;
    QList<ShoppingItem> shopping;
    double costHa = 0, costField = 0;                 // the four applications together
    CompositionStatus status = CompositionStatus::Composed; // the worst of the applications
    QStringList leftOut;                              // products without a price, named
    QString priceListName;
    QDate priceListDate;
    friend bool operator==(const Composition &, const Composition &) = default;
};

// Composes the four applications' needs (kg/ha, planting first). Never
// empty-handed: when no combination meets a need within the limits, the
// plan is the best approximation, with its shortfall and reasons.
Composition composeLeastCost(const PriceList &prices, const std::array<NutrientNeed, applicationCount> &needs,
                             const CompositionOptions &options = {});
// The same with another solver than GLPK.
Composition composeLeastCost(const PriceList &prices, const std::array<NutrientNeed, applicationCount> &needs,
                             const CompositionOptions &options, const MipSolver &solver);

// The composition once the products of one application (0: planting) are no
// longer in its list, cleared by hand: that application composes nothing,
// and the shopping list and the costs are counted again from the others
// with the prices they were bought at.
Composition withoutApplication(const Composition &composition, int application);

// "Plantio", "1ª cobertura", "2ª cobertura", "3ª cobertura", as the reasons
// and the reports name the applications (0: planting).
QString applicationName(int application);

// Status words of the summary and the reports: "composto", "aproximado", "sem preço".
QString statusText(CompositionStatus status);

} // namespace fertilizers
