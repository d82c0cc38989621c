#include "agronomy/SoilClasses.h"

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
} // namespace

QString clayClass(double argila)
{
    return QStringLiteral("Classe %1").arg(clayBand(argila));
}

Limits phosphorusLimits(double argila)
{
    switch (clayBand(argila)) {
    case 1:
        return {1.5, 3.0, 4.5, 9.0};
    case 2:
        return {2.0, 4.0, 6.0, 12.0};
    case 3:
        return {3.0, 6.0, 9.0, 18.0};
    default:
        return {5.0, 10.0, 15.0, 30.0};
    }
}

Limits potassiumLimits(double ctc)
{
    switch (ctcBand(ctc)) {
    case 1:
        return {20, 40, 60, 120};
    case 2:
        return {30, 60, 90, 180};
    case 3:
        return {40, 80, 120, 240};
    default:
        return {45, 90, 135, 270};
    }
}

QString ctcClass(double ctc)
{
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
    if (value <= limits.l1)
        return muitoBaixo;
    if (value <= limits.l2)
        return baixo;
    if (value <= limits.l3)
        return medio;
    if (value <= limits.l4)
        return alto;
    return muitoAlto;
}

double aluminiumFactor(double argila)
{
    return argila > 20 ? 2.0 : 1.2;
}

std::optional<QString> aluminiumFactorText(double argila, QChar separator)
{
    const bool clayey = argila > 20;
    if (separator == QLatin1Char(','))
        return clayey ? QStringLiteral("2,0") : QStringLiteral("1,2");
    if (separator == QLatin1Char('.'))
        return clayey ? QStringLiteral("2.0") : QStringLiteral("1.2");
    return std::nullopt;
}

} // namespace soil
