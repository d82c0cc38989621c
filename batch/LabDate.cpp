#include "batch/LabDate.h"

#include <QRegularExpression>

namespace batch {

std::optional<QDate> labDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const auto valid = [](int year, int month, int day) -> std::optional<QDate> {
        const QDate d(year, month, day);
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    };
    // A time of day after the date, as spreadsheets export a date cell.
    static const QRegularExpression time(QStringLiteral("^(\\S+?)(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:[.,]\\d+)?)?)?$"));
    const QRegularExpressionMatch withTime = time.match(t);
    if (!withTime.hasMatch())
        return std::nullopt;
    const QString day = withTime.captured(1);
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    if (const QRegularExpressionMatch m = iso.match(day); m.hasMatch())
        return valid(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    // Day, month, year with one separator throughout.
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})$"));
    if (const QRegularExpressionMatch m = dayFirst.match(day); m.hasMatch()) {
        int year = m.captured(4).toInt();
        if (m.captured(4).size() == 2)
            year += 2000;
        return valid(year, m.captured(3).toInt(), m.captured(1).toInt());
    }
    // A serial day: 1 is 1900-01-01 in the spreadsheets' count, which holds
    // a 29 February 1900 that never was; from March 1900 on, day 0 is
    // 1899-12-30. Only days of laboratories' lifetimes (1950 to 2149) are
    // taken, so that a sample number in the wrong column is not a date.
    static const QRegularExpression serial(QStringLiteral("^(\\d{5})(?:[.,]\\d+)?$"));
    if (withTime.captured(0) == day)
        if (const QRegularExpressionMatch m = serial.match(day); m.hasMatch()) {
            const int days = m.captured(1).toInt();
            if (days >= 18264 && days < 91311)
                return QDate(1899, 12, 30).addDays(days);
        }
    return std::nullopt;
}

} // namespace batch
