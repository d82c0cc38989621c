#include "agronomy/Recommendation.h"
#include "agronomy/Applications.h"
#include "agronomy/Doses.h"
#include "core/Failure.h"
#include "core/NumberText.h"

#include <QLocale>

namespace agronomy {

namespace {
// A value as the next step reads it back from the text it was written with.
double shown(const NumberText &numbers, double value, int places)
{
    return numbers.toDouble(numbers.format(value, places));
}
} // namespace

Recommendation recommend(const Analysis &a, const NumberText &numbers)
{
    Recommendation r;
    r.clayClass = soil::clayClass(a.argila);
    r.phosphorusLimits = soil::phosphorusLimits(a.argila);
    r.phosphorusClass = soil::nutrientClass(a.p, r.phosphorusLimits);
    r.potassiumLimits = soil::potassiumLimits(a.ctc);
    r.potassiumClass = soil::nutrientClass(a.k, r.potassiumLimits);
    r.ctcClass = soil::ctcClass(a.ctc);
    r.caMg = a.ca + a.mg;
    r.caMgRatio = divide(a.ca, a.mg);

    r.n = doses::nitrogen(a.mo, a.yield);
    r.k2o = doses::potash(r.potassiumClass, doses::yieldExcess(a.yield));
    r.p2o5 = doses::phosphate(r.phosphorusClass);
    r.phosphorusVeryHigh = doses::phosphorusVeryHigh(a.p, r.phosphorusLimits.l4);

    r.baseSaturationNc = liming::baseSaturation(a.ctc, targetSaturation, a.v);
    r.lowBufferingNc = liming::lowBuffering(a.mo, a.al);
    // The factor reaches the criterion as its fixed text; under a separator
    // with no such text the field stays empty and the liming stops there.
    const std::optional<QString> factor = soil::aluminiumFactorText(a.argila, numbers.separator());
    if (!factor)
        throw Failure::notANumber(QString());
    r.aluminiumFactor = numbers.toDouble(*factor);
    r.aluminiumNc = liming::aluminium(a.al, r.aluminiumFactor, shown(numbers, r.caMg, 2));
    const liming::Recommendation need =
        liming::recommend(a.argila, a.ctc, a.mo, r.baseSaturationNc, r.lowBufferingNc);
    r.criterion = need.criterion;
    r.need = need.value;
    r.capped = need.capped;
    if (a.prnt)
        r.commercialQuantity = liming::commercialQuantity(shown(numbers, r.need, 2), *a.prnt);

    const double nDose = shown(numbers, r.n, 2);
    for (int j = 0; j < split::applications; ++j)
        r.nSplit[j] = split::byPercentage(nDose, split::nitrogenPercentages[j]);
    r.k2oSplit = split::potash(shown(numbers, r.k2o, 1));
    return r;
}

QString typedText(double value, const NumberText &numbers)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), numbers.separator());
    return text;
}

} // namespace agronomy
