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

QHash<QString, QString> windowTexts(const Analysis &a, const Recommendation &r, const NumberText &numbers)
{
    const auto fmt = [&numbers](double value, int places) { return numbers.format(value, places); };
    const auto typed = [&numbers](double value) { return typedText(value, numbers); };
    const auto cell = [](const char *grid, int column, int row) {
        return QStringLiteral("%1:%2,%3").arg(QLatin1String(grid)).arg(column).arg(row);
    };
    QHash<QString, QString> t;

    // The analysis as typed, and its copies onto the liming tab.
    t[QStringLiteral("Edit1")] = typed(a.argila);
    t[QStringLiteral("Edit2")] = typed(a.p);
    t[QStringLiteral("Edit3")] = typed(a.k);
    t[QStringLiteral("Edit4")] = t[QStringLiteral("Edit20")] = typed(a.mo);
    t[QStringLiteral("Edit5")] = t[QStringLiteral("Edit21")] = t[QStringLiteral("Edit27")] = typed(a.al);
    t[QStringLiteral("Edit6")] = typed(a.ca);
    t[QStringLiteral("Edit7")] = typed(a.mg);
    t[QStringLiteral("Edit8")] = t[QStringLiteral("Edit16")] = typed(a.ctc);
    t[QStringLiteral("Edit9")] = t[QStringLiteral("Edit18")] = typed(a.v);
    t[QStringLiteral("Edit12")] = typed(a.yield);
    t[QStringLiteral("Edit17")] = typed(targetSaturation);

    // Interpretation
    t[QStringLiteral("Edit68")] = r.clayClass;
    t[QStringLiteral("Edit11")] = r.phosphorusClass;
    t[QStringLiteral("Edit10")] = r.potassiumClass;
    t[QStringLiteral("Edit69")] = r.ctcClass;
    t[QStringLiteral("Edit26")] = soil::aluminiumFactorText(a.argila, numbers.separator()).value_or(QString());
    t[QStringLiteral("Edit13")] = t[QStringLiteral("Edit29")] = fmt(r.caMg, 2);
    t[QStringLiteral("Edit14")] = fmt(r.caMgRatio, 2);

    // Liming
    t[QStringLiteral("Edit19")] = fmt(r.baseSaturationNc, 3);
    t[QStringLiteral("Edit22")] = fmt(r.lowBufferingNc, 3);
    t[QStringLiteral("Edit28")] = fmt(r.aluminiumNc, 3);
    QStringList memo{liming::observationTitle, liming::criterionLine(r.criterion)};
    if (r.capped)
        memo << liming::cappedLine;
    t[QStringLiteral("Memo1")] = memo.join(QLatin1Char('\n'));
    t[QStringLiteral("Edit61")] = t[QStringLiteral("Edit23")] = fmt(r.need, 2);
    if (a.prnt) {
        t[QStringLiteral("Edit24")] = typed(*a.prnt);
        t[QStringLiteral("Edit25")] = fmt(*r.commercialQuantity, 3);
    }

    using applications::AmountColumn, applications::PercentColumn;
    using applications::NColumn, applications::P2O5Column, applications::K2OColumn;
    using applications::Planting, applications::FirstTopDressing, applications::ThirdTopDressing;

    // Doses; the P2O5 dose goes whole to planting.
    t[QStringLiteral("edit30")] = fmt(r.n, 2);
    t[QStringLiteral("edit31")] = fmt(r.k2o, 1);
    const QString p2o5 = fmt(r.p2o5, 1);
    t[QStringLiteral("edit32")] = t[cell("stga3", P2O5Column, Planting)] = t[QStringLiteral("Edit52")] = p2o5;
    t[QStringLiteral("Label34")] = r.phosphorusVeryHigh ? doses::veryHighPhosphorusWarning : QString();
    for (int row = FirstTopDressing; row <= ThirdTopDressing; ++row)
        t[cell("stga3", P2O5Column, row)] = QString();

    // Split: the quantity columns, stga3 and the "Faltante" fields of each application.
    static const char *const faltanteN[] = {"Edit50", "Edit64", "Edit49", "Edit78"};
    static const char *const faltanteP[] = {"Edit52", "Edit66", "Edit51", "Edit79"};
    static const char *const faltanteK[] = {"Edit54", "Edit67", "Edit53", "Edit80"};
    const std::array<QString, split::applications> k2o = split::potashTexts(r.k2oSplit, numbers);
    for (int j = 0; j < split::applications; ++j) {
        const int row = Planting + j;
        const QString n = fmt(r.nSplit[j], 2);
        t[cell("stga1", PercentColumn, row)] = typed(split::nitrogenPercentages[j]);
        t[cell("stga1", AmountColumn, row)] = t[cell("stga3", NColumn, row)] = t[QLatin1String(faltanteN[j])] = n;
        t[cell("stga2", PercentColumn, row)] = QString();
        t[cell("stga2", AmountColumn, row)] = t[cell("stga3", K2OColumn, row)] = t[QLatin1String(faltanteK[j])] =
            k2o[j];
        if (row != Planting)
            t[QLatin1String(faltanteP[j])] = QString();
    }
    return t;
}

} // namespace agronomy
