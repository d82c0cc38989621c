#include "agronomy/SoilClasses.h"

#include "core/Failure.h"
#include "core/Working.h"

namespace soil {

namespace {
// Clay bands, tested from the most clayey down; 60 itself is "Classe 1".
int clayBand(double argila)
{
    if (argila >= 60)
        return 1;
    if (argila > 40)
        return 2;
    if (argila > 20)
        return 3;
    return 4;
}

int ctcBand(double ctc)
{
    if (ctc <= 7.5)
        return 1;
    if (ctc <= 15)
        return 2;
    if (ctc <= 30)
        return 3;
    return 4;
}

// The bands as the working writes them, so that a value on a bound shows
// on which side it fell.
QString clayBandText(int band, const Working &w)
{
    switch (band) {
    case 1:
        return QStringLiteral("≥ %1 %").arg(w.value(60));
    case 2:
        return QStringLiteral("> %1 % e < %2 %").arg(w.value(40), w.value(60));
    case 3:
        return QStringLiteral("> %1 % e ≤ %2 %").arg(w.value(20), w.value(40));
    default:
        return QStringLiteral("≤ %1 %").arg(w.value(20));
    }
}

QString ctcBandText(int band, const Working &w)
{
    switch (band) {
    case 1:
        return QStringLiteral("≤ %1").arg(w.value(7.5));
    case 2:
        return QStringLiteral("> %1 e ≤ %2").arg(w.value(7.5), w.value(15));
    case 3:
        return QStringLiteral("> %1 e ≤ %2").arg(w.value(15), w.value(30));
    default:
        return QStringLiteral("> %1").arg(w.value(30));
    }
}

QString clayText(double argila, const Working &w)
{
    return QStringLiteral("argila %1 % (%2)").arg(w.value(argila), clayBandText(clayBand(argila), w));
}

QString ctcText(double ctc, const Working &w)
{
    return QStringLiteral("CTC %1 cmolc/dm³ (%2)").arg(w.value(ctc), ctcBandText(ctcBand(ctc), w));
}

// Phosphorus limits are written with one decimal, potassium ones whole.
QString limitText(Nutrient nutrient, double limit, const Working &w)
{
    return nutrient == Nutrient::P ? w.value(limit, 1) : w.value(limit);
}

QString limitsText(Nutrient nutrient, const Limits &l, const Working &w)
{
    return QStringLiteral("%1 / %2 / %3 / %4 mg/dm³")
        .arg(limitText(nutrient, l.l1, w), limitText(nutrient, l.l2, w), limitText(nutrient, l.l3, w),
             limitText(nutrient, l.l4, w));
}

QString classOf(double value, const Limits &limits, Nutrient nutrient, Working *w)
{
    const auto tell = [&](const QString &where) {
        if (w)
            w->say(QStringLiteral("%1 = %2 mg/dm³ está %3")
                       .arg(nutrient == Nutrient::P ? QStringLiteral("P") : QStringLiteral("K"), w->value(value),
                            where));
    };
    const auto limit = [&](double l) { return limitText(nutrient, l, *w); };
    if (value <= limits.l1) {
        if (w)
            tell(QStringLiteral("até %1").arg(limit(limits.l1)));
        return muitoBaixo;
    }
    const auto between = [&](double low, double high) {
        if (w)
            tell(QStringLiteral("acima de %1 e até %2").arg(limit(low), limit(high)));
    };
    if (value <= limits.l2) {
        between(limits.l1, limits.l2);
        return baixo;
    }
    if (value <= limits.l3) {
        between(limits.l2, limits.l3);
        return medio;
    }
    if (value <= limits.l4) {
        between(limits.l3, limits.l4);
        return alto;
    }
    if (w)
        tell(QStringLiteral("acima de %1").arg(limit(limits.l4)));
    return muitoAlto;
}
} // namespace

QString clayClass(double argila, Working *working)
{
    if (working)
        working->say(clayText(argila, *working));
    return QStringLiteral("Classe %1").arg(clayBand(argila));
}

Limits phosphorusLimits(double argila, Working *working)
{
    Limits limits;
    switch (clayBand(argila)) {
    case 1:
        limits = {1.5, 3.0, 4.5, 9.0};
        break;
    case 2:
        limits = {2.0, 4.0, 6.0, 12.0};
        break;
    case 3:
        limits = {3.0, 6.0, 9.0, 18.0};
        break;
    default:
        limits = {5.0, 10.0, 15.0, 30.0};
    }
    if (working)
        working->say(QStringLiteral("%1 → classe %2, limites de P %3")
                         .arg(clayText(argila, *working))
                         .arg(clayBand(argila))
                         .arg(limitsText(Nutrient::P, limits, *working)));
    return limits;
}

Limits potassiumLimits(double ctc, Working *working)
{
    Limits limits;
    switch (ctcBand(ctc)) {
    case 1:
        limits = {20, 40, 60, 120};
        break;
    case 2:
        limits = {30, 60, 90, 180};
        break;
    case 3:
        limits = {40, 80, 120, 240};
        break;
    default:
        limits = {45, 90, 135, 270};
    }
    if (working)
        working->say(QStringLiteral("%1 → limites de K %2")
                         .arg(ctcText(ctc, *working), limitsText(Nutrient::K, limits, *working)));
    return limits;
}

QString ctcClass(double ctc, Working *working)
{
    if (working)
        working->say(ctcText(ctc, *working));
    switch (ctcBand(ctc)) {
    case 1:
        return QStringLiteral("Baixa");
    case 2:
        return QStringLiteral("Média");
    case 3:
        return QStringLiteral("Alta");
    default:
        return QStringLiteral("Muito Alta");
    }
}

QString nutrientClass(double value, const Limits &limits)
{
    return classOf(value, limits, Nutrient::P, nullptr);
}

QString nutrientClass(Nutrient nutrient, double value, const Limits &limits, Working &working)
{
    return classOf(value, limits, nutrient, &working);
}

double caMg(double ca, double mg, Working *working)
{
    const double sum = ca + mg;
    if (working)
        working->say(QStringLiteral("Ca %1 + Mg %2 cmolc/dm³").arg(working->value(ca), working->value(mg)));
    return sum;
}

double caMgRatio(double ca, double mg, Working *working)
{
    if (working)
        working->say(QStringLiteral("Ca %1 / Mg %2").arg(working->value(ca), working->value(mg)));
    return divide(ca, mg);
}

double aluminiumFactor(double argila)
{
    return argila > 20 ? 2.0 : 1.2;
}

std::optional<QString> aluminiumFactorText(double argila, QChar separator, Working *working)
{
    const bool clayey = argila > 20;
    if (working)
        working->say(QStringLiteral("argila %1 % %2 %3 %")
                         .arg(working->value(argila), clayey ? QStringLiteral(">") : QStringLiteral("≤"),
                              working->value(20)));
    if (separator == QLatin1Char(','))
        return clayey ? QStringLiteral("2,0") : QStringLiteral("1,2");
    if (separator == QLatin1Char('.'))
        return clayey ? QStringLiteral("2.0") : QStringLiteral("1.2");
    return std::nullopt;
}

} // namespace soil
