#include "fertilizers/OrganicFertilizers.h"

namespace fertilizers {

const OrganicFertilizer *organicAt(int index)
{
    if (index < 0 || index >= organicCount)
        return nullptr;
    return &AdubosOrganicos[static_cast<std::size_t>(index)];
}

QStringList organicItems()
{
    QStringList items;
    for (const OrganicFertilizer &product : AdubosOrganicos)
        items << QString::fromUtf8(product.text);
    items << QString();
    return items;
}

} // namespace fertilizers
