#include "calendar/CalendarData.h"
#include "core/Dates.h"

#include <cmath>

namespace calendar {

namespace {

// Share of dry matter (%) by organ and day after planting; NAN where the
// organ has no value yet (storage roots only form from day 75 on).
struct CurveRow {
    int day;
    std::array<double, organCount> percent; // stems, leaves, stem cuttings, storage roots
};

constexpr double none = NAN;
constexpr std::array<CurveRow, 10> curves{{
    {15, {2, 5, 90, none}},
    {30, {2.5, 26, 72, none}},
    {45, {10, 37, 57, none}},
    {60, {15, 38, 53, none}},
    {75, {16, 35, 40, 14}},
    {90, {17, 30, 30, 31}},
    {105, {19, 30, 21, 40}},
    {120, {20, 20, 15, 55}},
    {135, {21, 17.5, 15, 57.5}},
    {150, {22, 12.5, 15, 60}},
}};

// The planting day at half height.
constexpr double plantingDay = 0;
constexpr double plantingHeight = 50;

// Opposite corners of each top-dressing window: (start day, 50 %) and (end day, 54 %).
struct Window {
    double start;
    double end;
};
constexpr double windowBottom = 50;
constexpr double windowTop = 54;
// On the date scale the third window ends on day 90, where its date stands.
Window window(int index, Scale scale)
{
    switch (index) {
    case 0: return {30, 45};
    case 1: return {60, 75};
    default: return {88, scale == Scale::Dates ? 90.0 : 92.0};
    }
}

} // namespace

const std::array<SeriesLook, seriesCount> &seriesLooks()
{
    static const std::array<SeriesLook, seriesCount> looks{{
        {QStringLiteral("Plantio"), Rgb{0, 128, 192}},
        {QStringLiteral("1ª Parcela"), Rgb{0, 128, 0}},
        {QStringLiteral("2ª Parcela"), Rgb{0, 0, 255}},
        {QStringLiteral("3ª Parcela"), Rgb{128, 0, 128}},
        {QStringLiteral("Hastes"), Rgb{128, 128, 128}},
        {QStringLiteral("Folhas"), Rgb{0, 128, 0}},
        {QStringLiteral("Maiva Semente"), Rgb{128, 0, 255}},
        {QStringLiteral("Raízes de Reserva"), Rgb{128, 0, 64}},
    }};
    return looks;
}

QString chartTitle() { return QStringLiteral("Calendário de Adubação e Fenologia"); }
QString bottomTitle() { return QStringLiteral("Dias após o plantio"); }
QString initialLeftTitle() { return QStringLiteral("Matéria Seca (%)"); }
QString organsLeftTitle() { return QStringLiteral("Matéria seca (%)"); }

QList<Point> organCurve(int organ)
{
    QList<Point> points;
    for (const CurveRow &row : curves) {
        const double percent = row.percent.at(organ);
        if (!std::isnan(percent))
            points.append({double(row.day), percent, {}});
    }
    return points;
}

Plan plan(Scale scale, const std::array<bool, organCount> &organsShown, QDate planting, const QLocale &regional)
{
    // On the date scale the planting day and the windows' edges carry their
    // dates, which the bottom axis then shows instead of day numbers.
    const bool dated = scale == Scale::Dates;
    const auto dateAt = [&](double day) {
        return dated ? dates::shortDate(planting.addDays(qint64(day)), regional) : QString();
    };

    Plan result;
    result.series[plantingSeries].append({plantingDay, plantingHeight, dateAt(plantingDay)});
    for (int i = 0; i < windowCount; ++i) {
        const Window w = window(i, scale);
        // The third window starts on day 88, which has no date of its own.
        const QString startText = i == windowCount - 1 ? QString() : dateAt(w.start);
        result.series[firstWindowSeries + i].append({w.start, windowBottom, startText});
        result.series[firstWindowSeries + i].append({w.end, windowTop, dateAt(w.end)});
    }

    bool anyOrgan = false;
    for (int organ = 0; organ < organCount; ++organ) {
        if (!organsShown.at(organ))
            continue;
        anyOrgan = true;
        result.series[firstOrganSeries + organ] = organCurve(organ);
    }
    result.leftTitle = anyOrgan ? organsLeftTitle() : QString();
    return result;
}

} // namespace calendar
