#include "core/Working.h"
#include "core/NumberText.h"

#include <QLocale>
#include <cmath>

QString Told::text() const
{
    QString text = what.isEmpty() ? result : QStringLiteral("%1: %2.").arg(what, result);
    if (!why.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + why;
    return text;
}

Working::Working(NumberText numbers, int places) : numbers_(numbers), places_(places) {}

QString Working::value(double v) const
{
    // A figure that is not a number is never shown to a technician.
    if (!std::isfinite(v))
        return QStringLiteral("?");
    QString text = QString::number(v, 'g', QLocale::FloatingPointShortest);
    // A figure computed on the way (1714,2857...) is read rounded.
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (text.contains(QLatin1Char('e')) || (point >= 0 && text.size() - point - 1 > 3))
        return QStringLiteral("≈ ") + numbers_.format(v, 3);
    text.replace(QLatin1Char('.'), numbers_.separator());
    return text;
}

QString Working::value(double v, int places) const
{
    if (!std::isfinite(v))
        return QStringLiteral("?");
    return numbers_.format(v, places);
}

void Working::say(const QString &part)
{
    parts_ << part;
}

QString Working::why() const
{
    if (parts_.isEmpty())
        return {};
    QString text = parts_.join(QStringLiteral("; "));
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    // Each sentence starts with a capital, as the technician reads it.
    text[0] = text[0].toUpper();
    return text;
}

Told Working::told(const QString &what, const QString &result) const
{
    return {what, result, why()};
}

namespace sections {
QString topDressing(int number)
{
    return QStringLiteral("Adubação na %1ª cobertura").arg(number);
}
} // namespace sections
