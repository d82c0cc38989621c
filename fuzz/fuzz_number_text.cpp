// Any text, under the comma, the point or another separator, is accepted by
// the number conversion exactly when the grammar below accepts it, and then
// reads as the C library reads the same number written with a point.
#include "core/Failure.h"
#include "core/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// The grammar as a state machine over the text's UTF-16 units:
//   text     := blank* sign? mantissa exponent? blank*
//   mantissa := digit+ (sep digit*)? | sep digit*
//   exponent := ('e' | 'E') sign? digit*
// Answers the accepted text rewritten for strtod (point, no blanks, a zero
// wherever digits may be missing), or nothing when it is rejected.
std::optional<std::string> grammar(const QString &text, QChar sep)
{
    enum State { Lead, Sign, Int, Frac, E, ESign, EDigits, Trail };
    State s = Lead;
    std::string mantissa, exponent;
    bool mantissaDigits = false, expSeen = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool blank = u == u' ', sign = u == u'+' || u == u'-', digit = u >= u'0' && u <= u'9';
        const bool isSep = c == sep, e = u == u'e' || u == u'E';
        switch (s) {
        case Lead:
            if (blank) break;
            if (sign) { mantissa += char(u); s = Sign; break; }
            [[fallthrough]];
        case Sign:
            if (digit) { mantissa += char(u); mantissaDigits = true; s = Int; break; }
            if (isSep) { mantissa += '.'; s = Frac; break; }
            return std::nullopt;
        case Int:
        case Frac:
            if (digit) { mantissa += char(u); mantissaDigits = true; break; }
            if (isSep && s == Int) { mantissa += '.'; s = Frac; break; }
            if (e) { expSeen = true; s = E; break; }
            if (blank) { s = Trail; break; }
            return std::nullopt;
        case E:
            if (sign) { exponent += char(u); s = ESign; break; }
            [[fallthrough]];
        case ESign:
        case EDigits:
            if (digit) { exponent += char(u); s = EDigits; break; }
            if (blank) { s = Trail; break; }
            return std::nullopt;
        case Trail:
            if (blank) break;
            return std::nullopt;
        }
    }
    if (s == Lead || s == Sign)
        return std::nullopt;
    if (!mantissaDigits) // the separator alone is zero
        mantissa.insert(mantissa.find('.'), "0");
    std::string normal = mantissa;
    if (expSeen) {
        if (exponent.empty() || exponent == "+" || exponent == "-")
            exponent += '0'; // an exponent without digits is 0
        normal += 'e' + exponent;
    }
    return normal;
}

QChar separatorFrom(uint8_t b)
{
    switch (b % 3) {
    case 0: return QLatin1Char(',');
    case 1: return QLatin1Char('.');
    default: return QChar(0x066B); // Arabic decimal separator
    }
}

[[noreturn]] void disagree(const char *what, const QString &text, const std::string &normal)
{
    std::fprintf(stderr, "DISAGREEMENT: %s\n  text: [%s]\n  normal: [%s]\n", what, text.toUtf8().constData(),
                 normal.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QChar sep = separatorFrom(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const std::optional<std::string> normal = grammar(text, sep);

    // The reference reading, under the C locale (this program never sets another).
    std::optional<double> expected;
    if (normal) {
        char *end = nullptr;
        errno = 0;
        const double v = std::strtod(normal->c_str(), &end);
        if (end != normal->c_str() + normal->size())
            disagree("strtod stopped early on the normal text", text, *normal);
        if (std::isfinite(v)) // beyond the largest double the text is no number
            expected = v;
    }

    try {
        const double got = NumberText(sep).toDouble(text);
        if (!expected)
            disagree(normal ? "accepted a value beyond a double" : "accepted what the grammar rejects", text,
                     normal.value_or(""));
        if (std::memcmp(&got, &*expected, sizeof got) != 0) {
            std::fprintf(stderr, "got %.17g, strtod %.17g\n", got, *expected);
            disagree("value differs from strtod", text, *normal);
        }
    } catch (const Failure &failure) {
        if (expected)
            disagree("rejected what the grammar accepts", text, *normal);
        if (failure.message() != QLatin1Char('\'') + text + QStringLiteral("' is not a valid floating point value"))
            disagree("message does not quote the text", text, normal.value_or(""));
    }
    return 0;
}
