#include "fertilizers/PriceList.h"

#include "fertilizers/MineralCatalogue.h"

#include <cmath>

namespace fertilizers {

std::optional<double> PricedProduct::pricePerKg() const
{
    // A price below zero (a sign typed by mistake) is no price: the product
    // is left out and named, never composed nor shown at a negative cost.
    std::optional<double> perKg;
    if (tonnePrice)
        perKg = *tonnePrice / 1000;
    else if (bagPrice && bagKg > 0)
        perKg = *bagPrice / bagKg;
    if (perKg && !(*perKg >= 0 && std::isfinite(*perKg)))
        return std::nullopt;
    return perKg;
}

std::optional<double> PricedProduct::pricePerNutrientKg(int nutrient) const
{
    const double contents[] = {n, p2o5, k2o};
    if (nutrient < 0 || nutrient > 2 || contents[nutrient] <= 0)
        return std::nullopt;
    const auto perKg = pricePerKg();
    if (!perKg)
        return std::nullopt;
    return *perKg * 100 / contents[nutrient];
}

AllowedIn defaultAllowedIn(double p2o5) { return p2o5 > 0 ? AllowedIn::Planting : AllowedIn::Both; }

QDate PriceList::date() const
{
    QDate latest;
    for (const PricedProduct &p : products)
        if (p.date.isValid() && (!latest.isValid() || p.date > latest))
            latest = p.date;
    return latest;
}

PriceList cataloguePriceList()
{
    PriceList list;
    list.name = QStringLiteral("Catálogo");
    for (const MineralFertilizer &m : AdubosMinerais) {
        PricedProduct p;
        p.name = QString::fromUtf8(m.plantingText).simplified();
        p.n = QByteArray(m.n).toDouble();
        p.p2o5 = QByteArray(m.p2o5).toDouble();
        p.k2o = QByteArray(m.k2o).toDouble();
        p.allowedIn = defaultAllowedIn(p.p2o5);
        list.products << p;
    }
    return list;
}

} // namespace fertilizers
