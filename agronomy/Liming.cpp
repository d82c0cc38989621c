#include "agronomy/Liming.h"

#include "core/Failure.h"

namespace liming {

double baseSaturation(double ctc, double v1, double v2)
{
    if (v1 > v2)
        return (v1 - v2) * ctc / 100;
    return 0;
}

double lowBuffering(double organicMatter, double aluminium)
{
    return 0.48 * organicMatter - 0.653 + 1.937 * aluminium;
}

double aluminium(double aluminium, double factor, double caMg)
{
    if (caMg > 2)
        return aluminium * factor;
    return aluminium * factor + (2 - caMg);
}

Criterion choose(double argila, double ctc, double organicMatter)
{
    if (argila >= 15 && ctc >= 10 && organicMatter >= 2)
        return Criterion::BaseSaturation;
    return Criterion::LowBuffering;
}

Recommendation recommend(double argila, double ctc, double organicMatter, double baseSaturationNc,
                         double lowBufferingNc)
{
    Recommendation r{choose(argila, ctc, organicMatter), 0, false};
    r.value = r.criterion == Criterion::BaseSaturation ? baseSaturationNc : lowBufferingNc;
    if (r.value < 0) {
        r.value = 0;
    } else if (r.value > maximumRecommendation) {
        r.value = maximumRecommendation;
        r.capped = true;
    }
    return r;
}

double commercialQuantity(double needAtPrnt100, double prnt)
{
    return divide(100, prnt) * needAtPrnt100;
}

QString criterionLine(Criterion criterion)
{
    return criterion == Criterion::BaseSaturation ? baseSaturationLine : lowBufferingLine;
}

} // namespace liming
