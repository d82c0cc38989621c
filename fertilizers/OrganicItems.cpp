#include "OrganicItems.h"

namespace fertilizers {

QStringList organicItems()
{
    // Texts shown as they stand, doubled and trailing blanks included.
    return {
        QStringLiteral("Cama de frango (3 e 4  lotes) "),
        QStringLiteral("Cama de frango (5 e 6  lotes) "),
        QStringLiteral("Cama de frango (7 e 8  lotes) "),
        QStringLiteral("Cama de perú (2 lotes)"),
        QStringLiteral("Cama de poedeira"),
        QStringLiteral("Cama sobreposta de suínos"),
        QStringLiteral("Composto de dejeto de suínos"),
        QStringLiteral("Esterco sólido de suínos"),
        QStringLiteral("Esterco sólido de bovinos"),
        QStringLiteral("Vermicomposto"),
        QStringLiteral("Lodo de esgoto"),
        QStringLiteral("Composto de lixo urbano"),
        QStringLiteral("Cinza de casca de arroz"),
        QStringLiteral("Dejeto líquido de suínos"),
        QStringLiteral("Dejeto líquido de bovino"),
        QString(),
    };
}

} // namespace fertilizers
