#pragma once
// Dates are written in Portuguese whatever the system's language: the
// reports are signed for Brazilian producers. A system already in Portuguese
// keeps its own formats; the decimal separator is not a date's business and
// still follows the regional settings.
#include <QLocale>

namespace dates {

inline QLocale portuguese(const QLocale &regional)
{
    return regional.language() == QLocale::Portuguese ? regional : QLocale(QLocale::Portuguese, QLocale::Brazil);
}

// "11/12/2026"
inline QString shortDate(QDate date, const QLocale &regional)
{
    return portuguese(regional).toString(date, QLocale::ShortFormat);
}

} // namespace dates
