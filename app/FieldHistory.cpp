#include "app/FieldHistory.h"

#include "batch/HistoryCsv.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "reports/ReportFile.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <optional>

namespace {

constexpr int chartWidth = 766, chartHeight = 415;

std::optional<double> number(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    try {
        return NumberText(QLatin1Char(',')).toDouble(text);
    } catch (const Failure &) {
        return std::nullopt; // typed half-way when saved: not drawn
    }
}

} // namespace

FieldHistory::FieldHistory(const QList<store::Season> &seasons, QWidget *parent)
    : QDialog(parent), seasons_(seasons), table_(new QTableWidget(this)), chart_(new QChartView(this))
{
    setObjectName(QStringLiteral("fieldHistory"));
    const store::Season first = seasons.value(0);
    setWindowTitle(QStringLiteral("Histórico do talhão %1 - %2").arg(first.fieldName, first.producerName));

    // The table: one row per season, oldest first, as --historico writes it.
    table_->setObjectName(QStringLiteral("historyTable"));
    QStringList titles{QStringLiteral("Data"), QStringLiteral("Laudo")};
    for (int v = 0; v < store::valueCount; ++v)
        titles << store::valueTitle(store::Value(v));
    table_->setColumnCount(int(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(int(seasons.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    for (int r = 0; r < seasons.size(); ++r) {
        const store::Season &s = seasons[r];
        QStringList cells{s.date.toString(QStringLiteral("dd/MM/yyyy")), s.report};
        for (const QString &v : s.values)
            cells << v;
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();

    // The chart: the soil's state season by season. P, K and V on the left
    // axis, pH and MO (a few units) on the right, so that neither flattens.
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("%1 - %2").arg(first.producerName, first.fieldName));
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The values are kept with a decimal comma; the axes write one too.
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto *dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("MM/yyyy"));
    dates->setTitleText(QStringLiteral("Safra (data do laudo)"));
    auto *left = new QValueAxis;
    left->setTitleText(QStringLiteral("P, K (mg/dm³) e V (%)"));
    auto *right = new QValueAxis;
    right->setTitleText(QStringLiteral("pH e MO (%)"));
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(left, Qt::AlignLeft);
    chart->addAxis(right, Qt::AlignRight);
    // Each curve its own colour, dashed on the right axis.
    const struct {
        store::Value value;
        bool onRight;
        QColor colour;
    } drawn[] = {{store::Value::Ph, true, QColor(0x1f, 0x77, 0xb4)},  {store::Value::V, false, QColor(0x2c, 0xa0, 0x2c)},
                 {store::Value::P, false, QColor(0xd6, 0x27, 0x28)},  {store::Value::K, false, QColor(0x94, 0x67, 0xbd)},
                 {store::Value::Mo, true, QColor(0x8c, 0x56, 0x4b)}};
    double leftMax = 10, rightMax = 1;
    for (const auto &[value, onRight, colour] : drawn) {
        auto *line = new QLineSeries;
        line->setName(store::valueTitle(value));
        line->setPointsVisible(true);
        line->setPen(QPen(colour, 2, onRight ? Qt::DashLine : Qt::SolidLine));
        for (const store::Season &s : seasons)
            if (const std::optional<double> v = number(s.value(value))) {
                line->append(double(s.date.startOfDay().toMSecsSinceEpoch()), *v);
                (onRight ? rightMax : leftMax) = qMax(onRight ? rightMax : leftMax, *v);
            }
        chart->addSeries(line);
        line->attachAxis(dates);
        line->attachAxis(onRight ? right : left);
    }
    left->setRange(0, leftMax * 1.1);
    right->setRange(0, rightMax * 1.15);
    left->applyNiceNumbers();
    right->applyNiceNumbers();
    left->setLabelFormat(QStringLiteral("%.0f"));
    right->setLabelFormat(QStringLiteral("%.1f"));
    // A lone season still gets a span of a year around it.
    const QDate from = first.date.isValid() ? first.date : QDate::currentDate();
    const QDate to = seasons.isEmpty() ? from : seasons.constLast().date;
    dates->setRange(from.addMonths(-6).startOfDay(), to.addMonths(6).startOfDay());
    dates->setTickCount(qBound(2, int(seasons.size()) + 2, 8));
    chart_->setObjectName(QStringLiteral("historyChart"));
    chart_->setChart(chart);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumSize(chartWidth, chartHeight);

    auto *csv = new QPushButton(QStringLiteral("Exportar CSV..."), this);
    csv->setObjectName(QStringLiteral("exportCsv"));
    auto *png = new QPushButton(QStringLiteral("Exportar PNG..."), this);
    png->setObjectName(QStringLiteral("exportPng"));
    auto *close = new QPushButton(QStringLiteral("Fechar"), this);
    close->setObjectName(QStringLiteral("closeHistory"));
    connect(csv, &QPushButton::clicked, this, [this] { askExport(false); });
    connect(png, &QPushButton::clicked, this, [this] { askExport(true); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(csv);
    buttons->addWidget(png);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(chart_, 2);
    layout->addLayout(buttons);
    resize(1000, 720);
}

QImage FieldHistory::picture() const
{
    QImage image(chartWidth, chartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QChart *chart = chart_->chart();
    if (chart->size() != QSizeF(chartWidth, chartHeight))
        chart->resize(chartWidth, chartHeight);
    QCoreApplication::sendPostedEvents();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    chart_->scene()->render(&painter, QRectF(0, 0, chartWidth, chartHeight), chart->geometry());
    return image;
}

bool FieldHistory::exportCsv(const QString &path) const
{
    return reports::replaceFile(path, batch::historyCsv(seasons_)) == 0;
}

bool FieldHistory::exportPng(const QString &path) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return picture().save(&buffer, "PNG") && reports::replaceFile(path, bytes) == 0;
}

void FieldHistory::askExport(bool png)
{
    const store::Season first = seasons_.value(0);
    const QString name = QStringLiteral("historico-%1-%2.%3")
                             .arg(first.producerName, first.fieldName, png ? QStringLiteral("png") : QStringLiteral("csv"))
                             .replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString path = QFileDialog::getSaveFileName(
        this, png ? QStringLiteral("Exportar gráfico") : QStringLiteral("Exportar histórico"),
        QDir::current().filePath(name), png ? QStringLiteral("Imagem PNG (*.png)") : QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (!(png ? exportPng(path) : exportCsv(path)))
        QMessageBox::warning(this, QStringLiteral("Tuberon"),
                             QStringLiteral("Não foi possível gravar \"%1\".").arg(QDir::toNativeSeparators(path)));
}
