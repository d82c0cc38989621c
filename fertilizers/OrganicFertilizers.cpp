#include "fertilizers/OrganicFertilizers.h"

#include "core/Failure.h"
#include "core/Working.h"

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

double wetWeight(double dryQuantity, double dryMatterPercent, Working *working)
{
    const double wet = divide(dryQuantity * 100, dryMatterPercent);
    if (working)
        working->say(QStringLiteral("peso úmido = quantidade seca × 100 / matéria seca = %1 × 100 / %2 % = %3 kg")
                         .arg(working->value(dryQuantity), working->value(dryMatterPercent), working->result(wet)));
    return wet;
}

} // namespace fertilizers
