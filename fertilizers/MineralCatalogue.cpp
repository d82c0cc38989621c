#include "fertilizers/MineralCatalogue.h"

namespace fertilizers {

const MineralFertilizer *mineralAt(int index)
{
    if (index < 0 || index >= mineralCount)
        return nullptr;
    return &AdubosMinerais[static_cast<std::size_t>(index)];
}

Contents contentsOf(const MineralFertilizer &product)
{
    return {QString::fromUtf8(product.n), QString::fromUtf8(product.p2o5), QString::fromUtf8(product.k2o)};
}

QStringList plantingItems()
{
    QStringList items;
    for (const MineralFertilizer &product : AdubosMinerais)
        items << QString::fromUtf8(product.plantingText);
    return items;
}

QStringList topDressingItems()
{
    QStringList items;
    for (const MineralFertilizer &product : AdubosMinerais)
        items << QString::fromUtf8(product.topDressingText);
    return items;
}

} // namespace fertilizers
