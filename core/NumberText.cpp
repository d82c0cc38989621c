#include "core/NumberText.h"
#include "core/Failure.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {
// Exponents are held up to a bound no text can undo: leading zeros of the
// digits (at most the text's length) cannot bring a clamped exponent back
// into the range of a double.
constexpr long long kExponentBound = 1'000'000'000'000LL;
} // namespace

NumberText::NumberText(QChar separator) : separator_(separator) {}

double NumberText::toDouble(const QString &text) const
{
    const auto reject = [&text]() { return Failure::notANumber(text); };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;

    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');

    std::string intDigits, fracDigits;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            (separatorSeen ? fracDigits : intDigits) += char(c.unicode());
        else if (c == separator_ && !separatorSeen)
            separatorSeen = true;
        else
            break;
    }
    if (intDigits.empty() && fracDigits.empty() && !separatorSeen)
        throw reject();

    long long exponent = 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            expNegative = text[i++] == QLatin1Char('-');
        for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
            exponent = std::min(exponent * 10 + (text[i].unicode() - '0'), kExponentBound);
        if (expNegative)
            exponent = -exponent;
    }
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i != n)
        throw reject();

    // Leading zeros say nothing about magnitude; drop them so the check for
    // tiny values below can see where the first significant digit stands.
    const auto firstSignificant = intDigits.find_first_not_of('0');
    intDigits = firstSignificant == std::string::npos ? std::string() : intDigits.substr(firstSignificant);

    std::string normal = (intDigits.empty() ? std::string("0") : intDigits) + '.'
        + (fracDigits.empty() ? std::string("0") : fracDigits) + 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Below the smallest double the value is zero for every purpose here;
        // above the largest it is not a number the worksheet can hold.
        long long magnitude = static_cast<long long>(intDigits.size()) + exponent;
        if (intDigits.empty()) {
            const auto firstFrac = fracDigits.find_first_not_of('0');
            magnitude = exponent - static_cast<long long>(firstFrac == std::string::npos ? 0 : firstFrac);
        }
        if (magnitude > 0)
            throw reject();
        value = 0.0;
    } else if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) {
        throw reject();
    }
    return negative ? -value : value;
}

QString NumberText::format(double value, int places) const
{
    if (std::isnan(value))
        throw Failure(QStringLiteral("Invalid floating point operation"));
    if (std::isinf(value))
        throw Failure(QStringLiteral("Floating point overflow"));

    // Fifteen significant digits: d.dddddddddddddde±x
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2); // 15 digits
    const int exp10 = std::stoi(sci.substr(ePos + 1));

    // digits[k] has the weight 10^(exp10 - k); keep those down to 10^-places.
    const int keep = exp10 + 1 + places;
    std::string kept; // the rounded value times 10^places, as digits
    if (keep < 0 || value == 0.0) {
        kept.assign(1, '0');
    } else {
        kept = digits.substr(0, std::min<std::size_t>(keep, digits.size()));
        while (static_cast<int>(kept.size()) < keep)
            kept += '0';
        if (keep < static_cast<int>(digits.size()) && digits[keep] >= '5') {
            int k = static_cast<int>(kept.size()) - 1;
            while (k >= 0 && kept[k] == '9')
                kept[k--] = '0';
            if (k >= 0)
                ++kept[k];
            else
                kept.insert(kept.begin(), '1');
        }
        if (kept.empty())
            kept.assign(1, '0');
    }
    while (static_cast<int>(kept.size()) < places + 1)
        kept.insert(kept.begin(), '0');

    const std::string intPart = kept.substr(0, kept.size() - places);
    const std::string fracPart = kept.substr(kept.size() - places);
    const bool isZero = kept.find_first_not_of('0') == std::string::npos;
    QString out;
    if (value < 0 && !isZero)
        out += QLatin1Char('-');
    out += QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    if (places > 0) {
        out += separator_;
        out += QString::fromLatin1(fracPart.data(), qsizetype(fracPart.size()));
    }
    return out;
}
