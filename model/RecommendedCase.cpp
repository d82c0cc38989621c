#include "model/RecommendedCase.h"

#include "agronomy/Applications.h"
#include "agronomy/Doses.h"
#include "core/NumberText.h"

namespace model {

namespace {

// The four rows of a split or of the doses of the applications, named as
// the window names them when it has none yet.
template <class Row> void fourRows(QList<Row> &rows)
{
    while (rows.size() < split::applications) {
        Row row;
        row.application = applications::names[rows.size()];
        row.epoch = applications::epochs[rows.size()];
        rows << row;
    }
}

} // namespace

void applyRecommendation(Case &c, const agronomy::Analysis &a, const agronomy::Recommendation &r,
                         const NumberText &numbers)
{
    const auto fmt = [&numbers](double value, int places) { return Number{numbers.format(value, places)}; };
    const auto typed = [&numbers](double value) { return Number{agronomy::typedText(value, numbers)}; };

    // The analysis as typed, and its copies onto the liming tab.
    SoilAnalysis &s = c.analysis;
    Liming &l = c.liming;
    s.clay = typed(a.argila);
    s.phosphorus = typed(a.p);
    s.potassium = typed(a.k);
    s.organicMatter = l.lowBuffering.organicMatter = typed(a.mo);
    s.aluminium = l.lowBuffering.aluminium = l.aluminium.aluminium = typed(a.al);
    s.calcium = typed(a.ca);
    s.magnesium = typed(a.mg);
    s.ctc = l.baseSaturation.ctc = typed(a.ctc);
    s.baseSaturation = l.baseSaturation.currentSaturation = typed(a.v);
    c.field.expectedYield = typed(a.yield);
    l.baseSaturation.targetSaturation = typed(agronomy::targetSaturation);

    // Interpretation
    s.clayClass = r.clayClass;
    s.phosphorusClass = r.phosphorusClass;
    s.potassiumClass = r.potassiumClass;
    s.ctcClass = r.ctcClass;
    l.aluminium.factor = {soil::aluminiumFactorText(a.argila, numbers.separator()).value_or(QString())};
    l.caMg = l.aluminium.caMg = fmt(r.caMg, 2);
    l.caMgRatio = fmt(r.caMgRatio, 2);

    // Liming
    l.baseSaturation.need = fmt(r.baseSaturationNc, 3);
    l.lowBuffering.need = fmt(r.lowBufferingNc, 3);
    l.aluminium.need = fmt(r.aluminiumNc, 3);
    QStringList memo{liming::observationTitle, liming::criterionLine(r.criterion)};
    if (r.capped)
        memo << liming::cappedLine;
    l.observation = memo.join(QLatin1Char('\n'));
    l.need = l.commercial.need = fmt(r.need, 2);
    if (a.prnt) {
        l.commercial.prnt = typed(*a.prnt);
        l.commercial.quantity = fmt(*r.commercialQuantity, 3);
    }

    // Doses; the P2O5 dose goes whole to planting.
    Doses &d = c.doses;
    d.nitrogen = fmt(r.n, 2);
    d.potash = fmt(r.k2o, 1);
    fourRows(d.nitrogenSplit);
    fourRows(d.potashSplit);
    fourRows(d.applications);
    d.phosphate = d.applications[0].doses.p2o5 = c.planting.missing.p2o5 = fmt(r.p2o5, 1);
    d.phosphateNote = r.phosphorusVeryHigh ? doses::veryHighPhosphorusWarning : QString();

    // Split: the quantities, the doses of each application and what is
    // missing of them.
    const std::array<QString, split::applications> k2o = split::potashTexts(r.k2oSplit, numbers);
    for (int j = 0; j < split::applications; ++j) {
        Application &application = j == 0 ? static_cast<Application &>(c.planting) : c.topDressings[size_t(j - 1)];
        const Number n = fmt(r.nSplit[size_t(j)], 2);
        d.nitrogenSplit[j].percent = typed(split::nitrogenPercentages[size_t(j)]);
        d.nitrogenSplit[j].amount = d.applications[j].doses.n = application.missing.n = n;
        d.potashSplit[j].percent = {};
        d.potashSplit[j].amount = d.applications[j].doses.k2o = application.missing.k2o = {k2o[size_t(j)]};
        if (j > 0) {
            d.applications[j].doses.p2o5 = {};
            application.missing.p2o5 = {};
        }
    }
}

} // namespace model
