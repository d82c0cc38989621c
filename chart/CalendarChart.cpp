#include "chart/CalendarChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

using namespace calendar;

namespace {

QColor colourOf(const SeriesLook &look) { return QColor(look.colour.red, look.colour.green, look.colour.blue); }

QFont pixelFont(const QFont &base, int pixels)
{
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

CalendarChart::CalendarChart(QChartView *view) : QObject(view), view_(view) {}

void CalendarChart::build()
{
    chart_ = new QChart;
    const auto &looks = seriesLooks();

    chart_->setTitle(chartTitle());
    chart_->setTitleFont(pixelFont(chart_->titleFont(), 16));
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));

    planting_ = new QScatterSeries(this);
    planting_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    planting_->setMarkerSize(11);
    planting_->setColor(colourOf(looks[plantingSeries]));
    planting_->setBorderColor(colourOf(looks[plantingSeries]).darker(140));
    planting_->setName(looks[plantingSeries].title);
    chart_->addSeries(planting_);

    for (int i = 0; i < windowCount; ++i) {
        const SeriesLook &look = looks[firstWindowSeries + i];
        upper_[i] = new QLineSeries(this);
        lower_[i] = new QLineSeries(this);
        windows_[i] = new QAreaSeries(upper_[i], lower_[i]);
        windows_[i]->setName(look.title);
        windows_[i]->setColor(colourOf(look));
        windows_[i]->setBorderColor(colourOf(look));
        chart_->addSeries(windows_[i]);
    }

    for (int i = 0; i < organCount; ++i) {
        const SeriesLook &look = looks[firstOrganSeries + i];
        organs_[i] = new QLineSeries(this);
        organs_[i]->setName(look.title);
        QPen pen(colourOf(look));
        pen.setWidth(3);
        organs_[i]->setPen(pen);
        organs_[i]->setPointsVisible(false);
        chart_->addSeries(organs_[i]);
    }

    left_ = new QValueAxis(this);
    left_->setLabelsFont(pixelFont(left_->labelsFont(), 13));
    left_->setTitleFont(pixelFont(left_->titleFont(), 13));
    left_->setTitleText(initialLeftTitle());
    left_->setLabelFormat(QStringLiteral("%d"));
    left_->setRange(leftRange.minimum, leftRange.maximum);
    left_->setTickCount(11);
    chart_->addAxis(left_, Qt::AlignLeft);
    for (QAbstractSeries *series : chart_->series())
        series->attachAxis(left_);

    days_ = new QValueAxis(this);
    days_->setLabelFormat(QStringLiteral("%d"));
    days_->setTickType(QValueAxis::TicksDynamic);
    days_->setTickAnchor(0);
    days_->setTickInterval(10);
    styleBottomAxis(days_);
    days_->setRange(bottomRange.minimum, bottomRange.maximum);
    useBottomAxis(days_);

    // The view lets go of the empty chart it was made with.
    QChart *empty = view_->chart();
    view_->setChart(chart_);
    delete empty;
    view_->setRenderHint(QPainter::Antialiasing);
}

void CalendarChart::drawWhenMade(const Plan &plan)
{
    if (chart_)
        draw(plan);
    else
        pending_ = plan;
}

void CalendarChart::complete()
{
    if (pending_)
        draw(Plan(std::move(*pending_)));
    else if (!chart_)
        build();
}

QChart *CalendarChart::chart()
{
    complete();
    return chart_;
}

CalendarChart::~CalendarChart() = default;

void CalendarChart::styleBottomAxis(QAbstractAxis *axis) const
{
    axis->setTitleText(bottomTitle());
    axis->setTitleFont(pixelFont(axis->titleFont(), 13));
    axis->setLabelsFont(pixelFont(axis->labelsFont(), 13));
    axis->setLabelsAngle(90);
}

// The axis objects are owned by this object, so a bottom axis taken off the
// chart stays alive for the next build on the same scale.
void CalendarChart::useBottomAxis(QAbstractAxis *axis)
{
    if (bottom_ == axis)
        return;
    if (bottom_) {
        chart_->removeAxis(bottom_);
        bottom_->setParent(this);
    }
    chart_->addAxis(axis, Qt::AlignBottom);
    for (QAbstractSeries *series : chart_->series())
        series->attachAxis(axis);
    bottom_ = axis;
}

void CalendarChart::draw(const Plan &plan)
{
    pending_.reset();
    if (!chart_)
        build();
    planting_->clear();
    for (int i = 0; i < windowCount; ++i) {
        upper_[i]->clear();
        lower_[i]->clear();
    }
    for (QLineSeries *organ : organs_)
        organ->clear();

    // Texts of the points, at their x positions, in the order they are drawn.
    QList<Point> labels;
    const auto collect = [&labels](const Point &p) {
        if (!p.text.isEmpty())
            labels.append(p);
    };

    for (const Point &p : plan.series[plantingSeries]) {
        planting_->append(p.x, p.y);
        collect(p);
    }
    for (int i = 0; i < windowCount; ++i) {
        const QList<Point> &corners = plan.series[firstWindowSeries + i];
        for (const Point &p : corners)
            collect(p);
        if (corners.size() < 2)
            continue;
        const Point &a = corners[0];
        const Point &b = corners[1];
        upper_[i]->append(a.x, b.y);
        upper_[i]->append(b.x, b.y);
        lower_[i]->append(a.x, a.y);
        lower_[i]->append(b.x, a.y);
    }
    for (int i = 0; i < organCount; ++i) {
        for (const Point &p : plan.series[firstOrganSeries + i]) {
            organs_[i]->append(p.x, p.y);
            collect(p);
        }
    }

    if (labels.isEmpty()) {
        days_->setRange(bottomRange.minimum, bottomRange.maximum);
        useBottomAxis(days_);
    } else {
        // A fresh category axis each time: its labels are the texts of this build only.
        std::sort(labels.begin(), labels.end(), [](const Point &a, const Point &b) { return a.x < b.x; });
        auto *dates = new QCategoryAxis(this);
        dates->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        dates->setStartValue(bottomRange.minimum);
        for (const Point &p : labels)
            dates->append(p.text, p.x); // a second text at the same x is dropped
        styleBottomAxis(dates);
        dates->setRange(bottomRange.minimum, bottomRange.maximum);
        QCategoryAxis *previous = dates_;
        dates_ = dates;
        if (bottom_ == previous)
            bottom_ = nullptr; // about to be replaced; remove it below
        if (previous && previous != dates_) {
            if (chart_->axes().contains(previous))
                chart_->removeAxis(previous);
            previous->deleteLater();
        }
        useBottomAxis(dates_);
    }

    left_->setRange(leftRange.minimum, leftRange.maximum);
    left_->setTitleText(plan.leftTitle);
}

QImage CalendarChart::picture()
{
    complete();
    // Render the chart itself at its on-screen size, so the picture does not
    // depend on whether the tab is showing or has ever been laid out.
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRectF box(0, 0, width, height);
    if (chart_->size() != box.size())
        chart_->resize(box.size());
    // The chart drops a replaced axis's items and relays out lazily: let that
    // happen first, so the picture shows the axis of the last build only.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (chart_->layout())
        chart_->layout()->activate();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    chart_->scene()->render(&painter, box, chart_->geometry());
    return image;
}
