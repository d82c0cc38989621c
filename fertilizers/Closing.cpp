#include "Closing.h"

#include <algorithm>

namespace fertilizers {

double closingLimit(double missing, double contentPercent)
{
    if (contentPercent == 0)
        return noLimit;
    return missing * 100 / contentPercent;
}

double ClosingLimits::smallest() const
{
    return std::min({n, p2o5, k2o});
}

ClosingLimits closingLimits(double missingN, double missingP2O5, double missingK2O, double pn, double pp,
                            double pk)
{
    return {closingLimit(missingN, pn), closingLimit(missingP2O5, pp), closingLimit(missingK2O, pk)};
}

double proposedQuantity(double limit)
{
    if (limit >= noLimit || limit < 0)
        return 0;
    return limit;
}

double supplied(double quantity, double contentPercent, double efficiency)
{
    return quantity * contentPercent * efficiency / 100;
}

} // namespace fertilizers
