#pragma once
// N, P2O5 and K2O, in that order wherever the three go together (a need, a
// dose, a product's contents, a composition's balance), with the names the
// program writes them by. The soil's P and K classes are of the elements in
// the analysis, not of these (soil::Nutrient).
#include <QString>
#include <array>

namespace core {

enum class Nutrient { N, P2O5, K2O };
inline constexpr int nutrientCount = 3;
inline constexpr std::array<Nutrient, nutrientCount> allNutrients{Nutrient::N, Nutrient::P2O5, Nutrient::K2O};

inline QString nutrientName(Nutrient nutrient)
{
    switch (nutrient) {
    case Nutrient::N:
        return QStringLiteral("N");
    case Nutrient::P2O5:
        return QStringLiteral("P2O5");
    case Nutrient::K2O:
        return QStringLiteral("K2O");
    }
    return {};
}

} // namespace core
