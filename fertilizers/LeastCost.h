#pragma once
// Composing planting and the three top-dressings at the least cost with the
// products of a price list, in whole bags counted for the field.
#include "fertilizers/MipSolver.h"
#include "fertilizers/PriceList.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace fertilizers {

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
    // The decimal separator of the numbers in the reasons, the case's own;
    // not saved: a case's composition takes it from the case.
    QChar decimalSeparator = QLatin1Char(',');
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

struct ApplicationPlan {
    QList<ComposedProduct> products;
    NutrientNeed needed{}, supplied{}, excess{}, shortfall{}; // kg/ha
    double costHa = 0, costField = 0;
    CompositionStatus status = CompositionStatus::Composed;
    // Why a need could not be met within the limits, in Portuguese, naming
    // the application, the nutrient and the limit ("1ª cobertura: nenhum
    // produto com preço traz K2O").
    QStringList reasons;
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
