#include "agronomy/Liming.h"

#include "core/Failure.h"
#include "core/Working.h"

namespace liming {

double baseSaturation(double ctc, double v1, double v2, Working *working)
{
    if (v1 > v2) {
        const double nc = (v1 - v2) * ctc / 100;
        if (working)
            working->say(QStringLiteral("NC = CTC × (V1 − V2) / 100 = %1 × (%2 − %3) / 100 = %4 t/ha")
                             .arg(working->value(ctc), working->value(v1), working->value(v2), working->result(nc)));
        return nc;
    }
    if (working)
        working->say(QStringLiteral("V2 %1 % já alcança V1 %2 %: nenhum calcário por este critério")
                         .arg(working->value(v2), working->value(v1)));
    return 0;
}

double lowBuffering(double organicMatter, double aluminium, Working *working)
{
    const double nc = 0.48 * organicMatter - 0.653 + 1.937 * aluminium;
    if (working) {
        const Working &w = *working;
        working->say(QStringLiteral("NC = %1 × MO − %2 + %3 × Al = %1 × %4 − %2 + %3 × %5 = %6 t/ha")
                         .arg(w.value(0.48), w.value(0.653), w.value(1.937), w.value(organicMatter),
                              w.value(aluminium), w.result(nc)));
        if (nc < 0)
            working->say(QStringLiteral("negativa: com pouca matéria orgânica e pouco alumínio o solo não pede calcário por este critério"));
    }
    return nc;
}

double aluminium(double aluminium, double factor, double caMg, Working *working)
{
    if (caMg > 2) {
        const double nc = aluminium * factor;
        if (working)
            working->say(QStringLiteral("Ca+Mg %1 > 2, nada a completar: NC = Al × f = %2 × %3 = %4 t/ha")
                             .arg(working->value(caMg), working->value(aluminium), working->value(factor),
                                  working->result(nc)));
        return nc;
    }
    const double nc = aluminium * factor + (2 - caMg);
    if (working)
        working->say(QStringLiteral("Ca+Mg %1 ≤ 2: NC = Al × f + (2 − Ca+Mg) = %2 × %3 + (2 − %1) = %4 t/ha")
                         .arg(working->value(caMg), working->value(aluminium), working->value(factor),
                              working->result(nc)));
    return nc;
}

Criterion choose(double argila, double ctc, double organicMatter, Working *working)
{
    const bool clayey = argila >= 15, charged = ctc >= 10, organic = organicMatter >= 2;
    const Criterion criterion = clayey && charged && organic ? Criterion::BaseSaturation : Criterion::LowBuffering;
    if (working) {
        const Working &w = *working;
        const auto sign = [](bool atLeast) { return atLeast ? QStringLiteral("≥") : QStringLiteral("<"); };
        const QString argilaText = QStringLiteral("argila %1 % %2 15 %").arg(w.value(argila), sign(clayey));
        const QString ctcText = QStringLiteral("CTC %1 %2 10").arg(w.value(ctc), sign(charged));
        const QString moText = QStringLiteral("MO %1 % %2 2 %").arg(w.value(organicMatter), sign(organic));
        if (criterion == Criterion::BaseSaturation) {
            working->say(QStringLiteral("solo bem tamponado (%1, %2 e %3): critério da saturação de bases")
                             .arg(argilaText, ctcText, moText));
        } else {
            QStringList short_;
            if (!clayey)
                short_ << argilaText;
            if (!charged)
                short_ << ctcText;
            if (!organic)
                short_ << moText;
            working->say(QStringLiteral("baixo poder tampão (%1; a saturação de bases pede argila ≥ 15 %, CTC ≥ 10 "
                                        "e MO ≥ 2 %): critério do baixo poder tampão")
                             .arg(short_.join(QStringLiteral(", "))));
        }
    }
    return criterion;
}

Recommendation recommend(double argila, double ctc, double organicMatter, double baseSaturationNc,
                         double lowBufferingNc, Working *working)
{
    Recommendation r{choose(argila, ctc, organicMatter, working), 0, false};
    r.value = r.criterion == Criterion::BaseSaturation ? baseSaturationNc : lowBufferingNc;
    const double chosen = r.value;
    if (r.value < 0) {
        r.value = 0;
    } else if (r.value > maximumRecommendation) {
        r.value = maximumRecommendation;
        r.capped = true;
    }
    if (working) {
        Working &w = *working;
        const QString nc = w.value(chosen, 3);
        if (chosen < 0)
            w.say(QStringLiteral("NC %1 t/ha é negativa: mantida em %2, pois o solo não precisa de calcário")
                      .arg(nc, w.result(0)));
        else if (r.capped)
            w.say(QStringLiteral("NC %1 t/ha passa de 2 t/ha: limitada a %2, pois mais calcário de uma vez não é "
                                 "recomendado")
                      .arg(nc, w.result(r.value)));
        else
            w.say(QStringLiteral("NC = %1 t/ha, até 2 t/ha: sem limitação").arg(nc));
    }
    return r;
}

double commercialQuantity(double needAtPrnt100, double prnt, Working *working)
{
    const double quantity = divide(100, prnt) * needAtPrnt100;
    if (working)
        working->say(QStringLiteral("necessidade (PRNT 100 %) × 100 / PRNT = %1 × 100 / %2 = %3 t/ha")
                         .arg(working->value(needAtPrnt100), working->value(prnt), working->result(quantity)));
    return quantity;
}

QString criterionLine(Criterion criterion)
{
    return criterion == Criterion::BaseSaturation ? baseSaturationLine : lowBufferingLine;
}

} // namespace liming
