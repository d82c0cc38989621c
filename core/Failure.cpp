#include "core/Failure.h"

#include <cmath>

Failure Failure::notANumber(const QString &text)
{
    return Failure(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

double divide(double numerator, double denominator)
{
    if (denominator == 0.0) {
        if (numerator == 0.0 || std::isnan(numerator))
            throw Failure(QStringLiteral("Invalid floating point operation"));
        throw Failure(QStringLiteral("Floating point division by zero"));
    }
    return numerator / denominator;
}
