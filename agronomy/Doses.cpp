#include "agronomy/Doses.h"
#include "agronomy/SoilClasses.h"
#include "core/Working.h"

namespace doses {

double yieldExcess(double yield, Working *working)
{
    const double excess = yield > 25 ? yield - 25 : 0.0;
    if (working) {
        const Working &w = *working;
        if (yield > 25)
            working->say(QStringLiteral("produtividade esperada %1 t/ha: excedente sobre 25 t/ha = %2 t/ha")
                             .arg(w.value(yield), w.value(excess)));
        else
            working->say(QStringLiteral("produtividade esperada %1 t/ha, até 25 t/ha: sem excedente")
                             .arg(w.value(yield)));
    }
    return excess;
}

double nitrogen(double organicMatter, double yield, Working *working)
{
    const double excess = yieldExcess(yield, working);
    double base, cap;
    if (organicMatter <= 2.5) {
        base = 70;
        cap = 100;
    } else if (organicMatter < 5) {
        base = 50;
        cap = 70;
    } else {
        base = 25;
        cap = 50;
    }
    const double dose = base + 1.5 * excess;
    const double held = dose > cap ? cap : dose;
    if (working) {
        Working &w = *working;
        const QString band = organicMatter <= 2.5 ? QStringLiteral("≤ %1 %").arg(w.value(2.5))
                             : organicMatter < 5  ? QStringLiteral("> %1 % e < 5 %").arg(w.value(2.5))
                                                  : QStringLiteral("≥ 5 %");
        const QString formula = QStringLiteral("MO %1 % (%2): N = %3 + %4 × %5 = %6 kg/ha")
                                    .arg(w.value(organicMatter), band, w.value(base), w.value(1.5), w.value(excess),
                                         w.result(dose));
        if (dose > cap)
            w.say(formula + QStringLiteral(", acima do teto da faixa: limitada a %1 kg/ha").arg(w.result(cap)));
        else
            w.say(formula + QStringLiteral(" (teto da faixa %1 kg/ha)").arg(w.value(cap)));
    }
    return held;
}

double potash(const QString &potassiumClass, double excess, Working *working)
{
    double base;
    if (potassiumClass == soil::muitoBaixo)
        base = 110;
    else if (potassiumClass == soil::baixo)
        base = 70;
    else if (potassiumClass == soil::medio)
        base = 50;
    else if (potassiumClass == soil::alto)
        base = 30;
    else if (potassiumClass == soil::muitoAlto)
        base = 10;
    else {
        if (working)
            working->say(QStringLiteral("a classe de K \"%1\" não é uma das cinco classes: dose %2")
                             .arg(potassiumClass, working->result(0)));
        return 0;
    }
    const double dose = base + 2.5 * excess;
    if (working)
        working->say(QStringLiteral("classe de K %1: K2O = %2 + %3 × %4 = %5 kg/ha, sem teto")
                         .arg(potassiumClass, working->value(base), working->value(2.5), working->value(excess),
                              working->result(dose)));
    return dose;
}

double phosphate(const QString &phosphorusClass, Working *working)
{
    double dose = 0;
    bool known = true;
    if (phosphorusClass == soil::muitoBaixo)
        dose = 105;
    else if (phosphorusClass == soil::baixo)
        dose = 65;
    else if (phosphorusClass == soil::medio)
        dose = 45;
    else if (phosphorusClass == soil::alto)
        dose = 25;
    else if (phosphorusClass == soil::muitoAlto)
        dose = 15;
    else
        known = false;
    if (working) {
        if (known)
            working->say(QStringLiteral("classe de P %1: P2O5 = %2 kg/ha, qualquer que seja a produtividade")
                             .arg(phosphorusClass, working->result(dose)));
        else
            working->say(QStringLiteral("a classe de P \"%1\" não é uma das cinco classes: dose %2")
                             .arg(phosphorusClass, working->result(0)));
    }
    return dose;
}

bool phosphorusVeryHigh(double p, double lm4p, Working *working)
{
    const bool veryHigh = !(3 * lm4p >= p);
    if (working)
        working->say(QStringLiteral("P %1 mg/dm³ %2 3 × %3 (o limite do Alto) = %4")
                         .arg(working->value(p), veryHigh ? QStringLiteral(">") : QStringLiteral("≤"),
                              working->value(lm4p, 1), working->value(3 * lm4p, 1))
                     + (veryHigh ? QStringLiteral(": a adubação fosfatada pode ser suprimida")
                                 : QStringLiteral(": sem aviso")));
    return veryHigh;
}

} // namespace doses
