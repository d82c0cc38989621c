#pragma once
// Names of the organic fertilizers offered for planting, in the order of the
// organic list; the list ends with an empty item.
#include <QStringList>

namespace fertilizers {

QStringList organicItems();

} // namespace fertilizers
