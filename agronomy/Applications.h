#pragma once
// The four applications of the crop as the grids and the reports label them:
// planting and three top-dressings, with when each goes in (days after emergence),
// and where the grids hold them.
#include <QStringList>

namespace applications {

inline const QStringList names{QStringLiteral("Plantio"), QStringLiteral("1ª"), QStringLiteral("2ª"),
                               QStringLiteral("3ª")};
inline const QStringList epochs{QStringLiteral("0"), QStringLiteral("30-45"), QStringLiteral("60-75"),
                                QStringLiteral("90")};

// Rows of the split grids (of N and of K2O) and of the summary grid:
// row 0 holds the titles, then one row per application in order.
enum Row : int { TitleRow = 0, Planting, FirstTopDressing, SecondTopDressing, ThirdTopDressing };
inline constexpr int topDressings = ThirdTopDressing - Planting;

// The first two columns of the split and summary grids name the application.
enum NameColumn : int { ApplicationColumn = 0, EpochColumn = 1 };
// Columns of the split grids: the share of the dose and what it amounts to.
enum SplitColumn : int { PercentColumn = 2, AmountColumn = 3 };
// The nutrients in the order of their columns and of every N, P2O5, K2O triple.
enum Nutrient : int { N = 0, P2O5, K2O };
inline constexpr int nutrients = 3;
// Columns of the summary grid and of the product lists of planting and the
// three top-dressings, which keep their nutrients in the same places.
enum NutrientColumn : int { NColumn = 2, P2O5Column, K2OColumn };
inline constexpr NutrientColumn columnOf(Nutrient nutrient) { return NutrientColumn(int(NColumn) + int(nutrient)); }
// The first two columns of a product list, and its rows: titles, then one
// row per product in the order inserted.
enum ListColumn : int { ProductColumn = 0, KgColumn = 1 };
enum ListRow : int { ListTitleRow = 0, FirstProductRow = 1 };

} // namespace applications
