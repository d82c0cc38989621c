// Prints figures for the window: start-up against the floor of any Qt Widgets
// program, and how long each handler takes.
// Start-up is measured on the real program and on a floor program, each
// started as its own process and ended right after its first frame: by
// instructions (valgrind's callgrind) and by wall time and peak memory.
#include "chart/CalendarChart.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A start-up measured from outside: the program runs as its own process with
// first_frame.cpp preloaded, which ends it right after its first frame.
struct Launch {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};

Launch firstFrameLaunch(const QString &program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FIRST_FRAME_LIB));
    env.insert(QStringLiteral("TUBERON_FIRST_FRAME_PEAK"), QStringLiteral("1"));
    return {program, {}, env};
}

struct Startup {
    double ms = 0; // median wall time from launch to the end after the first frame
    long kib = 0;  // largest peak resident memory at that moment
};

Startup measureStartup(const Launch &launch, int runs)
{
    std::vector<double> times;
    long kib = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessEnvironment(launch.environment);
        QElapsedTimer clock;
        clock.start();
        child.start(launch.program, launch.arguments);
        if (!child.waitForFinished(60000))
            continue;
        const double ms = clock.nsecsElapsed() / 1e6;
        const QByteArray out = child.readAllStandardOutput();
        const qsizetype at = out.indexOf("peak ");
        if (child.exitCode() != 0 || at < 0)
            continue;
        times.push_back(ms);
        kib = std::max(kib, out.mid(at + 5).trimmed().toLong());
    }
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], kib};
}

// Instructions of one start-up under callgrind (the process and its threads,
// from the first instruction of the dynamic loader to the end after the first
// frame), with the inclusive cost of every function. Empty when valgrind is
// missing or the run failed.
struct Profile {
    double total = 0;
    QHash<QString, double> inclusive; // function name (no library) -> instructions
};

Profile profile(const Launch &launch, const QString &dir)
{
    Profile result;
    QProcess valgrind;
    valgrind.setProcessEnvironment(launch.environment);
    // %p: a process forked by a library during start-up writes its own file.
    valgrind.start(QStringLiteral("valgrind"),
                   QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--callgrind-out-file=") + dir
                                   + QStringLiteral("/callgrind.%p"),
                               launch.program}
                       + launch.arguments);
    if (!valgrind.waitForStarted())
        return result;
    const qint64 pid = valgrind.processId();
    if (!valgrind.waitForFinished(600000) || valgrind.exitCode() != 0)
        return result;
    const QString out = dir + QStringLiteral("/callgrind.") + QString::number(pid);
    QProcess annotate;
    annotate.start(QStringLiteral("callgrind_annotate"),
                   {QStringLiteral("--inclusive=yes"), QStringLiteral("--threshold=100"), out});
    if (!annotate.waitForFinished(600000))
        return result;
    // Lines read "  136,517,193 (60.03%)  file:function [library]".
    static const QRegularExpression line(QStringLiteral(R"(^\s*([\d,]+) \([^)]*\)\s+(?:[^:\s]*:)?(.*?)(?: \[[^\]]*\])?$)"));
    for (const QByteArray &raw : annotate.readAllStandardOutput().split('\n')) {
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(raw));
        if (!m.hasMatch())
            continue;
        const double count = m.captured(1).remove(QLatin1Char(',')).toDouble();
        const QString name = m.captured(2);
        if (name == QLatin1String("PROGRAM TOTALS"))
            result.total = count;
        else if (!result.inclusive.contains(name))
            result.inclusive.insert(name, count);
    }
    return result;
}

// The inclusive instructions of the first function whose name starts with
// one of the given prefixes (a recursive call's entry, marked '2, is skipped).
double cost(const Profile &p, std::initializer_list<const char *> prefixes)
{
    double best = 0;
    for (const char *prefix : prefixes)
        for (auto it = p.inclusive.cbegin(); it != p.inclusive.cend(); ++it)
            if (it.key().startsWith(QLatin1String(prefix)) && !it.key().contains(QLatin1Char('\'')))
                best = std::max(best, it.value());
    return best;
}

void startupFigures()
{
    const Launch floor = firstFrameLaunch(QStringLiteral(FLOOR_EXE));
    const Launch window = firstFrameLaunch(QStringLiteral(TUBERON_EXE));
    const QString platform = QGuiApplication::platformName();

    std::printf("Start-up to the first frame shown (platform %s; each start its own process,\n"
                "ended right after its first frame, without teardown)\n",
                qPrintable(platform));
    std::printf("  floor: a QMainWindow with one QLabel, as large as Tuberon's window\n");

    QTemporaryDir dir;
    const Profile floorProfile = profile(floor, dir.path());
    const Profile windowProfile = profile(window, dir.path());
    if (floorProfile.total > 0 && windowProfile.total > 0) {
        std::printf("\nInstructions (valgrind --tool=callgrind, all threads)    millions\n");
        std::printf("  floor                                          %9.1f\n", floorProfile.total / 1e6);
        std::printf("  Tuberon window                                 %9.1f\n", windowProfile.total / 1e6);
        std::printf("  ratio %.2f (goal <= 1.50)\n", windowProfile.total / floorProfile.total);
    } else {
        std::printf("\nInstructions: valgrind (callgrind) did not run; install valgrind for these figures\n");
    }

    constexpr int runs = 9;
    const Startup floorTime = measureStartup(floor, runs);
    const Startup windowTime = measureStartup(window, runs);
    std::printf("\nWall time (median of %d) and peak memory at the first frame\n", runs);
    std::printf("  floor                               %8.1f ms  %7ld KiB\n", floorTime.ms, floorTime.kib);
    std::printf("  Tuberon window                      %8.1f ms  %7ld KiB\n", windowTime.ms, windowTime.kib);
    if (floorTime.ms > 0)
        std::printf("  wall-time ratio %.2f; extra memory %.1f MiB (goal <= 15)\n", windowTime.ms / floorTime.ms,
                    (windowTime.kib - floorTime.kib) / 1024.0);

    if (windowProfile.total <= 0)
        return;
    // Inclusive costs: an indented line is part of the line above it; the
    // font database is paid by whatever first measures a text.
    struct Part {
        const char *label;
        std::initializer_list<const char *> functions;
    };
    const Part parts[] = {
        {"libraries loaded and relocated", {"_dl_start"}},
        {"static initialisers", {"_dl_init"}},
        {"application object (platform, plugins)", {"QApplication::QApplication("}},
        {"window constructor", {"TFPrincipal::TFPrincipal("}},
        {"  tab Entrada de dados", {"TFPrincipal::buildEntryTab("}},
        {"  tab Indicação de Calagem", {"LimingTab::LimingTab("}},
        {"  tab Definição das Doses de NPK", {"TFPrincipal::buildDosesTab("}},
        {"  tab Definição da Adubação", {"TFPrincipal::buildFertilizationTab("}},
        {"  tab Calendário de Adubação", {"CalendarTab::CalendarTab("}},
        {"  tab Relatório", {"TFPrincipal::buildReportTab("}},
        {"  tab Sobre", {"AboutTab::AboutTab("}},
        {"  window icon", {"QIcon::addFile("}},
        {"  tab bar (texts measured as tabs are added)", {"QTabWidget::addTab("}},
        {"  string grids (QTableWidget)", {"StringGrid::StringGrid("}},
        {"  pictures (the plant, in the screen's pixels)", {"ui::screenPixels("}},
        {"font database (fontconfig set-up), where first used",
         {"FcInitLoadConfigAndFonts", "QFontDatabasePrivate::ensureFontDatabase("}},
        {"fonts found and loaded, all sizes", {"QFontDatabasePrivate::findFont("}},
        {"show, with the start-up steps", {"QWidget::show("}},
        {"  start-up steps (FormShow)", {"TFPrincipal::FormShow("}},
        {"chart built (series, axes, first layout)", {"CalendarChart::build(", "CalendarChart::CalendarChart("}},
        {"chart scene events (layout requests)", {"QGraphicsWidget::event("}},
        {"first frame painted", {"QWidgetRepaintManager::paintAndFlush("}},
        {"other threads (painting helpers, events)", {"start_thread"}},
    };
    std::printf("\nWhere Tuberon's start-up instructions go (callgrind, inclusive)  millions\n");
    std::printf("  (indented: part of the line above; the font database counts where first used)\n");
    // Padded as text, not bytes: the tab names carry accents.
    const auto row = [](const char *label, double instructions) {
        std::printf("  %s %9.1f\n", qPrintable(QString::fromUtf8(label).leftJustified(48)), instructions / 1e6);
    };
    for (const Part &part : parts)
        row(part.label, cost(windowProfile, part.functions));
    const double floorLibraries = cost(floorProfile, {"_dl_start"});
    const double floorPaint = cost(floorProfile, {"QWidgetRepaintManager::paintAndFlush("});
    row("floor: libraries loaded and relocated", floorLibraries);
    row("floor: application object", cost(floorProfile, {"QApplication::QApplication("}));
    row("floor: font database", cost(floorProfile, {"FcInitLoadConfigAndFonts", "QFontDatabasePrivate::ensureFontDatabase("}));
    row("floor: first frame painted", floorPaint);

    // What Qt itself does for what the window must be: every named component
    // exists when the constructor returns (Qt's own constructors, measured
    // where the window calls them), every one is polished when the window is
    // shown, the first tab is painted as it is, and the libraries the
    // components come from (Charts for the chart view) are loaded. Added to
    // the floor, this is the least start-up the window can have; the rest of
    // the difference is the program's own work.
    struct Inherent {
        const char *label;
        std::vector<std::initializer_list<const char *>> functions; // summed
    };
    const Inherent inherent[] = {
        {"  string grids (QTableWidget)", {{"QTableWidget::QTableWidget("}}},
        {"  edits (QLineEdit, also in lists and pickers)", {{"QLineEdit::QLineEdit(QString const&"}}},
        {"  lists (QComboBox and its completer)", {{"QComboBox::QComboBox("}, {"QComboBox::setLineEdit("}}},
        {"  labels and pictures (QLabel)", {{"QLabel::QLabel("}}},
        {"  groups (QGroupBox)", {{"QGroupBox::QGroupBox("}}},
        {"  buttons, options and boxes",
         {{"QPushButton::QPushButton("}, {"QRadioButton::QRadioButton("}, {"QCheckBox::QCheckBox("}}},
        {"  memos (QPlainTextEdit)", {{"QPlainTextEdit::QPlainTextEdit("}}},
        {"  chart view (QChartView)", {{"QChartView::QChartView("}}},
        {"  the seven tabs added (texts measured)", {{"QTabWidget::addTab("}}},
    };
    std::printf("\nQt's own work that the window's contract requires              millions\n");
    double components = 0;
    for (const Inherent &part : inherent) {
        double sum = 0;
        for (const auto &prefixes : part.functions)
            sum += cost(windowProfile, prefixes);
        row(part.label, sum);
        components += sum;
    }
    const double polish = cost(windowProfile, {"QWidget::show("}) - cost(windowProfile, {"TFPrincipal::FormShow("});
    const double libraries = cost(windowProfile, {"_dl_start"}) - floorLibraries;
    // Painting large areas is shared with helper threads.
    const double paint = cost(windowProfile, {"QWidgetRepaintManager::paintAndFlush("})
                         + cost(windowProfile, {"start_thread"}) - floorPaint - cost(floorProfile, {"start_thread"});
    row("components built, in all", components);
    row("components polished at show", polish);
    row("first tab painted (all threads), beyond the floor", paint);
    // Charts and OpenGL come with the chart view; PrintSupport (about a
    // million) with the page report's printing and preview.
    row("extra libraries (Charts, OpenGL, PrintSupport)", libraries);
    const double least = floorProfile.total + components + polish + paint + libraries;
    row("least start-up under it (floor + all above)", least);
    std::printf("  least ratio under the contract %.2f; the program's own work beyond it %.1f\n",
                least / floorProfile.total, (windowProfile.total - least) / 1e6);
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
    QApplication app(argc, argv);
    startupFigures();
    handlerFigures();
    return 0;
}
