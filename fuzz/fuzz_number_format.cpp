// Any finite double written with the patterns "0.0", "0.00" and "0.000":
// its 15-significant-digit expansion rounded half away from zero, never
// "-0", never "inf" or "nan", and read back by the conversion.
#include "core/Failure.h"
#include "core/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The reference: the C library's 15-digit expansion d.dddddddddddddde±x as
// an integer M times 10^(x-14), scaled by 10^places and rounded with
// integer division.
QString reference(double value, int places, QChar sep)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string mantissa(buf, 1);
    mantissa.append(buf + 2, 14);
    const uint64_t m = std::stoull(mantissa);
    const int shift = std::atoi(std::strchr(buf, 'e') + 1) - 14 + places;

    std::string digits;
    if (shift >= 0) {
        digits = std::to_string(m) + std::string(std::size_t(shift), '0');
        if (m == 0)
            digits = "0";
    } else if (-shift > 15) { // m < 10^15: less than half of the last place kept
        digits = "0";
    } else {
        uint64_t unit = 1;
        for (int i = 0; i < -shift; ++i)
            unit *= 10;
        uint64_t q = m / unit;
        if (2 * (m % unit) >= unit)
            ++q;
        digits = std::to_string(q);
    }
    if (digits.size() < std::size_t(places) + 1)
        digits.insert(0, std::size_t(places) + 1 - digits.size(), '0');
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    QString out = value < 0 && !zero ? QStringLiteral("-") : QString();
    out += QString::fromLatin1(digits.substr(0, digits.size() - std::size_t(places)));
    out += sep;
    out += QString::fromLatin1(digits.substr(digits.size() - std::size_t(places)));
    return out;
}

[[noreturn]] void disagree(const char *what, double value, int places, const QString &got, const QString &want)
{
    std::fprintf(stderr, "DISAGREEMENT: %s\n  value %.17g (%a), places %d\n  got  [%s]\n  want [%s]\n", what, value,
                 value, places, got.toUtf8().constData(), want.toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < sizeof(double) + 1)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value))
        return 0;
    const int places = 1 + data[sizeof value] % 3;
    const int sepChoice = (data[sizeof value] / 3) % 3;
    const QChar sep = sepChoice == 0 ? QLatin1Char(',') : sepChoice == 1 ? QLatin1Char('.') : QChar(0x066B);
    const NumberText numbers(sep);

    const QString got = numbers.format(value, places);
    const QString want = reference(value, places, sep);
    if (got != want)
        disagree("differs from the reference", value, places, got, want);
    if (got.contains(QLatin1String("inf"), Qt::CaseInsensitive) || got.contains(QLatin1String("nan"), Qt::CaseInsensitive))
        disagree("not a number written", value, places, got, want);
    QString body = got.mid(1);
    body.remove(sep);
    if (got.startsWith(QLatin1Char('-')) && body.count(QLatin1Char('0')) == body.size())
        disagree("minus zero written", value, places, got, want);

    // What one handler writes, the next one reads; only the very top of the
    // range writes 15 digits that round beyond the largest double.
    if (std::fabs(value) >= 1.797693134862315e308)
        return 0;
    try {
        const double back = numbers.toDouble(got);
        if (std::fabs(back - value) > 0.5 * std::pow(10.0, -places) + std::fabs(value) * 1e-14)
            disagree("reads back too far from the value", value, places, got, want);
    } catch (const Failure &) {
        disagree("cannot be read back", value, places, got, want);
    }
    return 0;
}
