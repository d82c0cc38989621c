#pragma once
// The organic fertilizers offered for planting, with their N, P2O5 and K2O
// contents and their dry matter, all in percent. The list ends with an empty
// item that matches no product.
#include <QStringList>
#include <array>

class Working;

namespace fertilizers {

struct OrganicFertilizer {
    const char *text; // item of the organic list, shown as it stands
    double n, p2o5, k2o;
    int dryMatter;
};

inline constexpr int organicCount = 15;

// Texts keep their doubled and trailing blanks.
inline constexpr std::array<OrganicFertilizer, organicCount> AdubosOrganicos{{
    {"Cama de frango (3 e 4  lotes) ", 3.2, 3.5, 2.5, 75},
    {"Cama de frango (5 e 6  lotes) ", 3.5, 3.8, 3.0, 75},
    {"Cama de frango (7 e 8  lotes) ", 3.8, 4.0, 3.5, 75},
    {"Cama de perú (2 lotes)", 5.0, 4.0, 4.0, 75},
    {"Cama de poedeira", 1.6, 4.9, 1.9, 75},
    {"Cama sobreposta de suínos", 1.5, 2.6, 1.8, 45},
    {"Composto de dejeto de suínos", 1.6, 2.5, 2.3, 50},
    {"Esterco sólido de suínos", 2.1, 2.8, 2.9, 60},
    {"Esterco sólido de bovinos", 1.5, 1.4, 1.5, 60},
    {"Vermicomposto", 1.5, 1.3, 1.7, 25},
    {"Lodo de esgoto", 3.2, 3.7, 0.5, 20},
    {"Composto de lixo urbano", 1.2, 0.6, 0.4, 30},
    {"Cinza de casca de arroz", 0.3, 0.5, 0.7, 65},
    {"Dejeto líquido de suínos", 2.8, 2.4, 1.5, 3},
    {"Dejeto líquido de bovino", 1.4, 0.8, 1.4, 10},
}};

// The product at a list position; nullptr for the empty last item and for
// any position outside the table (-1 when nothing is selected).
const OrganicFertilizer *organicAt(int index);

// The items of the organic list: the products, then one empty item.
QStringList organicItems();

// The wet weight (kg) that holds a quantity (kg) of dry product at a dry
// matter (%): what goes on the field. A dry matter of 0 fails the division.
double wetWeight(double dryQuantity, double dryMatterPercent, Working *working = nullptr);

} // namespace fertilizers
