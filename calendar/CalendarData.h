#pragma once
// The fixed crop calendar of cassava over its first 150 days: the planting
// day, the three top-dressing windows and the share of dry matter held by four
// plant organs. Nothing here depends on the soil analysis or the fertilizers;
// the planting date only turns days into date texts.
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>

namespace calendar {

// Days after planting or calendar dates counted from the planting date.
enum class Scale { Days, Dates };

// x is always days after planting and y percent; a non-empty text is what the
// bottom axis shows at x instead of day numbers.
struct Point {
    double x = 0;
    double y = 0;
    QString text;
};

inline constexpr int seriesCount = 8;
inline constexpr int plantingSeries = 0;
inline constexpr int firstWindowSeries = 1; // 1, 2, 3: the three top-dressings
inline constexpr int windowCount = 3;
inline constexpr int firstOrganSeries = 4;  // 4..7: stems, leaves, stem cuttings, storage roots
inline constexpr int organCount = 4;

// A colour as red, green and blue from 0 to 255.
struct Rgb {
    int red = 0, green = 0, blue = 0;
};

struct SeriesLook {
    QString title;
    Rgb colour;
};
// Titles and colours of the eight series, in drawing order.
const std::array<SeriesLook, seriesCount> &seriesLooks();

struct Range {
    double minimum;
    double maximum;
};
inline constexpr Range bottomRange{-10, 180}; // days after planting
inline constexpr Range leftRange{0, 100};     // percent of dry matter

QString chartTitle();
QString bottomTitle();
// The left title the chart carries before its first build.
QString initialLeftTitle();
// The left title while at least one organ curve is asked for.
QString organsLeftTitle();

// The points of organ curve 0..3 (stems, leaves, stem cuttings, storage
// roots) in ascending day order.
QList<Point> organCurve(int organ);

// Everything one build of the chart draws: the points of every series (a
// window's two points are its opposite corners) and the left axis title.
struct Plan {
    std::array<QList<Point>, seriesCount> series;
    QString leftTitle;
};

Plan plan(Scale scale, const std::array<bool, organCount> &organsShown, QDate planting, const QLocale &regional);

} // namespace calendar
