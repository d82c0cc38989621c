#include "agronomy/Recommendation.h"
#include "agronomy/Applications.h"
#include "agronomy/Doses.h"
#include "agronomy/ResultNames.h"
#include "core/Failure.h"
#include "core/NumberText.h"

#include <QLocale>

#include <memory>

namespace agronomy {

namespace {
// A value as the next step reads it back from the text it was written with.
double shown(const NumberText &numbers, double value, int places)
{
    return numbers.toDouble(numbers.format(value, places));
}

// Collects the working of each result when one is wanted; otherwise the
// rules are given none and say nothing.
class Steps {
public:
    Steps(const NumberText &numbers, CaseWorking *all) : numbers_(numbers), all_(all) {}
    // A fresh working for the next result, or none.
    Working *start(int places)
    {
        if (!all_)
            return nullptr;
        current_ = std::make_unique<Working>(numbers_, places);
        return current_.get();
    }
    void add(const QString &section, const QString &what, const QString &result)
    {
        if (all_)
            all_->append({section, current_->told(what, result)});
    }

private:
    const NumberText &numbers_;
    CaseWorking *all_;
    std::unique_ptr<Working> current_;
};
} // namespace

Recommendation recommend(const Analysis &a, const NumberText &numbers, CaseWorking *working)
{
    Steps steps(numbers, working);
    const auto fmt = [&numbers](double value, int places) { return numbers.format(value, places); };
    Recommendation r;
    r.clayClass = soil::clayClass(a.argila, steps.start(1));
    steps.add(sections::soil, results::clayClass, r.clayClass);
    Working *w = steps.start(1);
    r.phosphorusLimits = soil::phosphorusLimits(a.argila, w);
    r.phosphorusClass = w ? soil::nutrientClass(soil::Nutrient::P, a.p, r.phosphorusLimits, *w)
                          : soil::nutrientClass(a.p, r.phosphorusLimits);
    steps.add(sections::soil, results::phosphorusClass, r.phosphorusClass);
    w = steps.start(1);
    r.potassiumLimits = soil::potassiumLimits(a.ctc, w);
    r.potassiumClass = w ? soil::nutrientClass(soil::Nutrient::K, a.k, r.potassiumLimits, *w)
                         : soil::nutrientClass(a.k, r.potassiumLimits);
    steps.add(sections::soil, results::potassiumClass, r.potassiumClass);
    r.ctcClass = soil::ctcClass(a.ctc, steps.start(1));
    steps.add(sections::soil, results::ctcClass, r.ctcClass);
    r.caMg = soil::caMg(a.ca, a.mg, w = steps.start(2));
    steps.add(sections::soil, results::caMg, fmt(r.caMg, 2) + QStringLiteral(" cmolc/dm³"));
    r.caMgRatio = soil::caMgRatio(a.ca, a.mg, w = steps.start(2));
    steps.add(sections::soil, results::caMgRatio, fmt(r.caMgRatio, 2));

    r.n = doses::nitrogen(a.mo, a.yield, steps.start(2));
    steps.add(sections::doses, results::nitrogenDose, fmt(r.n, 2) + QStringLiteral(" kg/ha"));
    w = steps.start(1);
    r.k2o = doses::potash(r.potassiumClass, doses::yieldExcess(a.yield, w), w);
    steps.add(sections::doses, results::potashDose, fmt(r.k2o, 1) + QStringLiteral(" kg/ha"));
    r.p2o5 = doses::phosphate(r.phosphorusClass, steps.start(1));
    steps.add(sections::doses, results::phosphateDose, fmt(r.p2o5, 1) + QStringLiteral(" kg/ha"));
    r.phosphorusVeryHigh = doses::phosphorusVeryHigh(a.p, r.phosphorusLimits.l4, steps.start(1));
    steps.add(sections::doses, results::phosphateNote,
              r.phosphorusVeryHigh ? doses::veryHighPhosphorusWarning : QStringLiteral("nenhum"));

    r.baseSaturationNc = liming::baseSaturation(a.ctc, targetSaturation, a.v, steps.start(3));
    steps.add(sections::liming, results::baseSaturationNc, fmt(r.baseSaturationNc, 3) + QStringLiteral(" t/ha"));
    r.lowBufferingNc = liming::lowBuffering(a.mo, a.al, steps.start(3));
    steps.add(sections::liming, results::lowBufferingNc, fmt(r.lowBufferingNc, 3) + QStringLiteral(" t/ha"));
    // The factor reaches the criterion as its fixed text; under a separator
    // with no such text the field stays empty and the liming stops there.
    w = steps.start(1);
    const std::optional<QString> factor = soil::aluminiumFactorText(a.argila, numbers.separator(), w);
    if (!factor)
        throw Failure::notANumber(QString());
    steps.add(sections::liming, results::aluminiumFactor, *factor);
    r.aluminiumFactor = numbers.toDouble(*factor);
    r.aluminiumNc = liming::aluminium(a.al, r.aluminiumFactor, shown(numbers, r.caMg, 2), steps.start(3));
    steps.add(sections::liming, results::aluminiumNc, fmt(r.aluminiumNc, 3) + QStringLiteral(" t/ha"));
    w = steps.start(2);
    const liming::Recommendation need =
        liming::recommend(a.argila, a.ctc, a.mo, r.baseSaturationNc, r.lowBufferingNc, w);
    r.criterion = need.criterion;
    r.need = need.value;
    r.capped = need.capped;
    steps.add(sections::liming, results::need, fmt(r.need, 2) + QStringLiteral(" t/ha"));
    if (a.prnt) {
        r.commercialQuantity = liming::commercialQuantity(shown(numbers, r.need, 2), *a.prnt, steps.start(3));
        steps.add(sections::liming, results::commercial, fmt(*r.commercialQuantity, 3) + QStringLiteral(" t/ha"));
    }

    const double nDose = shown(numbers, r.n, 2);
    for (int j = 0; j < split::applications; ++j) {
        r.nSplit[j] = split::byPercentage(nDose, split::nitrogenPercentages[j], steps.start(2));
        steps.add(sections::split, results::splitAmount(QStringLiteral("N"), j),
                  fmt(r.nSplit[j], 2) + QStringLiteral(" kg/ha"));
    }
    w = steps.start(2);
    r.k2oSplit = split::potash(shown(numbers, r.k2o, 1), w);
    if (w) {
        const std::array<QString, split::applications> texts = split::potashTexts(r.k2oSplit, numbers);
        for (int j = 0; j < split::applications; ++j)
            steps.add(sections::split, results::splitAmount(QStringLiteral("K2O"), j),
                      texts[j].isEmpty() ? QStringLiteral("nada") : texts[j] + QStringLiteral(" kg/ha"));
    }
    return r;
}

QString typedText(double value, const NumberText &numbers)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), numbers.separator());
    return text;
}

} // namespace agronomy
