#include "agronomy/Doses.h"
#include "agronomy/SoilClasses.h"

namespace doses {

double yieldExcess(double yield)
{
    return yield > 25 ? yield - 25 : 0.0;
}

double nitrogen(double organicMatter, double yield)
{
    const double excess = yieldExcess(yield);
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
    return dose > cap ? cap : dose;
}

double potash(const QString &potassiumClass, double excess)
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
    else
        return 0;
    return base + 2.5 * excess;
}

double phosphate(const QString &phosphorusClass)
{
    if (phosphorusClass == soil::muitoBaixo)
        return 105;
    if (phosphorusClass == soil::baixo)
        return 65;
    if (phosphorusClass == soil::medio)
        return 45;
    if (phosphorusClass == soil::alto)
        return 25;
    if (phosphorusClass == soil::muitoAlto)
        return 15;
    return 0;
}

bool phosphorusVeryHigh(double p, double lm4p)
{
    return !(3 * lm4p >= p);
}

} // namespace doses
