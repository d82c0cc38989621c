#pragma once
// Draws the crop calendar on Qt Charts. The eight series are created once and
// keep their order (planting point, three windows, four organ curves), so that
// every build only refills them. The chart itself is made on first need (its
// first layout is a good part of the window's start-up): until then the view
// holds Qt's empty chart.
#include "calendar/CalendarData.h"

#include <QImage>
#include <QObject>
#include <array>
#include <optional>

class QAbstractAxis;
class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class CalendarChart : public QObject {
    Q_OBJECT
public:
    // Size of the chart on the tab and of its saved picture.
    static constexpr int width = 766;
    static constexpr int height = 415;

    explicit CalendarChart(QChartView *view);
    ~CalendarChart() override;

    // Empties every series and fills it from the plan; the bottom axis shows
    // day numbers unless some point carries a text, then exactly those texts.
    void draw(const calendar::Plan &plan);
    // Draws the plan now if the chart is made; else keeps it for complete(),
    // unless draw() comes first.
    void drawWhenMade(const calendar::Plan &plan);
    // Makes the chart and draws the plan kept by drawWhenMade(), if not done yet.
    void complete();
    bool isComplete() const { return chart_ && !pending_; }

    // The chart as drawn, on white, at 766 x 415, also while its tab is hidden.
    QImage picture();

    QChart *chart();

private:
    void build();
    void useBottomAxis(QAbstractAxis *axis);
    void styleBottomAxis(QAbstractAxis *axis) const;

    QChartView *view_;
    QChart *chart_ = nullptr;
    std::optional<calendar::Plan> pending_;
    QValueAxis *left_ = nullptr;
    QValueAxis *days_ = nullptr;
    QCategoryAxis *dates_ = nullptr;
    QAbstractAxis *bottom_ = nullptr;
    QScatterSeries *planting_ = nullptr;
    std::array<QLineSeries *, calendar::windowCount> upper_{};
    std::array<QLineSeries *, calendar::windowCount> lower_{};
    std::array<QAreaSeries *, calendar::windowCount> windows_{};
    std::array<QLineSeries *, calendar::organCount> organs_{};
};
