#pragma once
// The four applications of the crop as the grids and the reports label them:
// planting and three top-dressings, with when each goes in (days after emergence).
#include <QStringList>

namespace applications {

inline const QStringList names{QStringLiteral("Plantio"), QStringLiteral("1ª"), QStringLiteral("2ª"),
                               QStringLiteral("3ª")};
inline const QStringList epochs{QStringLiteral("0"), QStringLiteral("30-45"), QStringLiteral("60-75"),
                                QStringLiteral("90")};

} // namespace applications
