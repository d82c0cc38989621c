// Prints figures for the window: start-up time and memory against an empty Qt
// window (each in its own process), and how long each handler takes.
// Usage: tuberon_bench            (all figures)
//        tuberon_bench --startup window|empty <launch ns>   (one child run; prints "ms kib")
#include "CalendarChart.h"
#include "PageReport.h"
#include "PdfExport.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Peak resident memory of this process, in KiB.
long peakKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

qint64 wallNanos()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// One start: from the launch of the process (libraries loaded, application
// made) to the window shown and its first events handled, then quit.
int startupChild(int argc, char **argv, bool full, qint64 launched)
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (full)
        window = std::make_unique<TFPrincipal>();
    else {
        window = std::make_unique<QWidget>();
        window->resize(1184, 689);
    }
    window->show();
    QTimer::singleShot(0, &app, [&] {
        std::printf("%.3f %ld\n", (wallNanos() - launched) / 1e6, peakKib());
        app.quit();
    });
    return app.exec();
}

struct Startup {
    double ms = 0;
    long kib = 0;
};

Startup measureStartup(const QString &self, const QString &kind, int runs)
{
    std::vector<double> times;
    long kib = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(self, {QStringLiteral("--startup"), kind, QString::number(wallNanos())});
        child.waitForFinished(60000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 2)
            continue;
        times.push_back(parts[0].toDouble());
        kib = std::max(kib, parts[1].toLong());
    }
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], kib};
}

// Median time of one call, in microseconds.
double medianMicros(const std::function<void()> &call, int runs = 200)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        call();
        times.push_back(t.nsecsElapsed() / 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void handlerFigures()
{
    TFPrincipal w{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    w.show();
    QCoreApplication::processEvents();

    const std::pair<QLineEdit *, const char *> analysis[] = {
        {w.Edit1, "35"}, {w.Edit2, "5"}, {w.Edit3, "50"}, {w.Edit4, "3,1"}, {w.Edit5, "0,4"},
        {w.Edit6, "4"},  {w.Edit7, "1"}, {w.Edit8, "12"}, {w.Edit9, "55"},  {w.Edit24, "80"},
    };
    for (const auto &[field, text] : analysis)
        field->setText(QString::fromUtf8(text));
    w.stga2->setCell(2, 1, QStringLiteral("50"));
    w.stga2->setCell(2, 3, QStringLiteral("50"));

    using H = TFPrincipal::Handler;
    const std::pair<const char *, H> handlers[] = {
        {"Edit1Exit", &TFPrincipal::Edit1Exit},       {"Edit2Exit", &TFPrincipal::Edit2Exit},
        {"Edit3Exit", &TFPrincipal::Edit3Exit},       {"Edit4Exit", &TFPrincipal::Edit4Exit},
        {"Edit5Exit", &TFPrincipal::Edit5Exit},       {"Edit7Exit", &TFPrincipal::Edit7Exit},
        {"Edit8Exit", &TFPrincipal::Edit8Exit},       {"Edit9Exit", &TFPrincipal::Edit9Exit},
        {"Edit12Exit", &TFPrincipal::Edit12Exit},     {"Button1Click", &TFPrincipal::Button1Click},
        {"Button2Click", &TFPrincipal::Button2Click}, {"Button3Click", &TFPrincipal::Button3Click},
        {"Button4Click", &TFPrincipal::Button4Click}, {"Button17Click", &TFPrincipal::Button17Click},
        {"ComboBox2Change", &TFPrincipal::ComboBox2Change},
    };
    w.ComboBox2->setCurrentIndex(21);
    std::printf("\nHandler (median of 200 calls)        microseconds\n");
    for (const auto &[name, handler] : handlers)
        std::printf("  %-34s %10.1f\n", name, medianMicros([&] { w.guard(handler); }));

    // The chart is rebuilt on every option change; date mode with all curves is the heaviest.
    for (QCheckBox *box : {w.CheckBox1, w.CheckBox2, w.CheckBox3, w.CheckBox4})
        box->setChecked(true);
    std::printf("  %-34s %10.1f\n", "Grafico1 (days, four curves)",
                medianMicros([&] { w.guard(&TFPrincipal::Grafico1); }, 50));
    w.RadioButton8->setChecked(true);
    std::printf("  %-34s %10.1f\n", "Grafico1 (dates, four curves)",
                medianMicros([&] { w.guard(&TFPrincipal::Grafico1); }, 50));

    // The page report: the chart picture, then the page painted on screen
    // resolution (the preview) and as a whole PDF document.
    std::printf("\nPage report (median of 20)            milliseconds\n");
    QImage chart;
    std::printf("  %-34s %10.2f\n", "chart picture 766 x 415",
                medianMicros([&] { chart = w.calendarChart->picture(); }, 20) / 1000);
    w.frxReport1->loadPicture(QStringLiteral("Grafico1"), chart);
    std::printf("  %-34s %10.2f\n", "page painted at 96 dpi", medianMicros([&] {
        QImage page(794, 1123, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        w.frxReport1->paint(painter, 96);
    }, 20) / 1000);
    std::printf("  %-34s %10.2f\n", "PDF document",
                medianMicros([&] { (void)w.frxPDFExport1->document(*w.frxReport1); }, 20) / 1000);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--startup") == 0)
        return startupChild(argc, argv, qstrcmp(argv[2], "window") == 0, QByteArray(argv[3]).toLongLong());

    QApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int runs = 9;
    const Startup empty = measureStartup(self, QStringLiteral("empty"), runs);
    const Startup window = measureStartup(self, QStringLiteral("window"), runs);
    std::printf("Start-up (median of %d runs, platform %s)\n", runs, qPrintable(QGuiApplication::platformName()));
    std::printf("  empty Qt window     %8.1f ms  %7ld KiB peak\n", empty.ms, empty.kib);
    std::printf("  Tuberon window      %8.1f ms  %7ld KiB peak\n", window.ms, window.kib);
    if (empty.ms > 0)
        std::printf("  ratio %.2f (goal <= 1.50), extra memory %.1f MiB (goal <= 15)\n", window.ms / empty.ms,
                    (window.kib - empty.kib) / 1024.0);

    handlerFigures();
    return 0;
}
