// Prints what a lab-file run costs per sample, on one core and on all of
// them, next to its floor: one PDF page of the report, filled and written to
// memory, which every sample needs.
// Then the peak memory of a whole run on all cores of 1,000 and of 20,000
// samples, each in a process of its own (the peak of a process only grows),
// and what each further sample adds: the slope says what 100,000 would take
// without the 40 minutes such a run needs on two cores.
// The same runs with a price list of 40 products (--precos), every sample
// composed at the least cost, against the runs without it.
// Usage: tuberon_lote_bench [samples]     (default 1000; QT_QPA_PLATFORM=offscreen)
//        tuberon_lote_bench --peak samples [prices]  (one run; prints its peak in MB)
#include "batch/BatchRun.h"
#include "batch/PriceListFile.h"
#include "bench/price_fixture.h"
#include "chart/CalendarChart.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// Plausible analyses, the same every run: clay 5-70 %, P 1-60 mg/dm³, K
// 10-250 mg/dm³, MO 0.5-6 %, Al 0-1.5, Ca 0.3-6, Mg 0.1-2.5, CTC 3-20
// cmolc/dm³, V 10-80 %, yield 15-45 t/ha.
QByteArray generatedFile(int samples)
{
    QRandomGenerator random(20251001);
    const auto between = [&random](double low, double high, int places) {
        return QString::number(low + (high - low) * random.generateDouble(), 'f', places)
            .replace(QLatin1Char('.'), QLatin1Char(','));
    };
    QString csv = QStringLiteral("Amostra;Produtor;Município;Argila (%);pH;P;K;MO;Al;Ca;Mg;CTC;V;Rendimento\r\n");
    for (int i = 1; i <= samples; ++i)
        csv += QStringLiteral("AM-%1;Produtor %1;Cruz das Almas;%2;%3;%4;%5;%6;%7;%8;%9;%10;%11;%12\r\n")
                   .arg(i, 4, 10, QLatin1Char('0'))
                   .arg(between(5, 70, 0), between(4.2, 7, 1), between(1, 60, 1), between(10, 250, 0),
                        between(0.5, 6, 1), between(0, 1.5, 2), between(0.3, 6, 2), between(0.1, 2.5, 2),
                        between(3, 20, 1))
                   .arg(between(10, 80, 0), between(15, 45, 1));
    return csv.toUtf8();
}

double runMs(const QString &input, const QString &output, int threads, const QString &prices = {})
{
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    batch::Options options;
    options.input = input;
    options.output = output;
    options.prnt = 80;
    options.prices = prices;
    QElapsedTimer timer;
    timer.start();
    const batch::ExitStatus status = batch::run(options, QLocale(QLocale::Portuguese, QLocale::Brazil), {});
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (status != batch::AllDone)
        std::fprintf(stderr, "the run ended with status %d\n", int(status));
    return ms;
}

// The median of one filled page made into a PDF document in memory.
double pdfPageMs()
{
    reports::PageReport page(QStringLiteral(":/assets/report_page.json"));
    for (const char *name : {"NOME", "ARGILA", "P", "K", "MO", "CALAGEM", "N1", "K1", "Obs1", "Recomenda"})
        page.setVariable(QString::fromLatin1(name), QStringLiteral("12,34"));
    QChartView view;
    CalendarChart chart(&view);
    chart.draw(calendar::plan(calendar::Scale::Dates, {false, false, false, false}, QDate(2025, 10, 1), QLocale()));
    page.loadPicture(QStringLiteral("Grafico1"), chart.picture());
    const reports::PdfExport pdf;
    pdf.document(page); // fonts and pictures loaded once, as in a run
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        pdf.document(page);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + 10, times.end());
    return times[10];
}

// The peak resident memory of this process so far, in MB.
double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The bench's price list, written in the folder.
QString pricesIn(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("precos.csv"));
    batch::writePriceListFile(path, fortyProducts());
    return path;
}

// One run of the generated file on all cores in this process.
int peakRun(int samples, bool withPrices)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("amostras.csv"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(generatedFile(samples));
    }
    runMs(input, dir.filePath(QStringLiteral("saida")), QThread::idealThreadCount(),
          withPrices ? pricesIn(dir) : QString());
    std::printf("%.1f\n", peakMb());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets); // the page template, in the window's library
    if (argc > 2 && QByteArray(argv[1]) == "--peak")
        return peakRun(std::max(1, QByteArray(argv[2]).toInt()), argc > 3 && QByteArray(argv[3]) == "prices");
    const int samples = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 1000;
    const int cores = QThread::idealThreadCount();
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("amostras.csv"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(generatedFile(samples));
    }
    const double floor = pdfPageMs();
    const double one = runMs(input, dir.filePath(QStringLiteral("um")), 1);
    const double all = runMs(input, dir.filePath(QStringLiteral("todos")), cores);
    const QString prices = pricesIn(dir);
    const double onePriced = runMs(input, dir.filePath(QStringLiteral("um-precos")), 1, prices);
    const double allPriced = runMs(input, dir.filePath(QStringLiteral("todos-precos")), cores, prices);

    std::printf("Lab file of %d generated samples                ms/sample   x floor\n", samples);
    std::printf("  %-44s %9.2f %9.2f\n", "floor: one PDF page, in memory", floor, 1.0);
    std::printf("  %-44s %9.2f %9.2f\n", "run on 1 core", one / samples, one / samples / floor);
    std::printf("  %-44s %9.2f %9.2f\n", qPrintable(QStringLiteral("run on all %1 cores").arg(cores)), all / samples,
                all / samples / floor);
    std::printf("  %-44s %9.2f\n", "speed-up on all cores", one / all);
    std::printf("  (whole runs: %.0f ms on 1 core, %.0f ms on %d)\n", one, all, cores);
    std::printf("  %-44s %9.2f %9.2f\n", "with 40 prices (--precos), on 1 core", onePriced / samples,
                onePriced / samples / floor);
    std::printf("  %-44s %9.2f %9.2f\n", qPrintable(QStringLiteral("with 40 prices, on all %1 cores").arg(cores)),
                allPriced / samples, allPriced / samples / floor);
    std::printf("  %-44s %9.2f (goal: at most 2)\n", "with prices / without, on 1 core", onePriced / one);
    std::printf("  %-44s %9.2f (goal: at most 2)\n", "with prices / without, on all cores", allPriced / all);

    std::printf("Peak memory of a whole run on all cores (goal: at most 200 MB whatever the count)\n");
    double first = 0, last = 0;
    const int counts[] = {1000, 20000};
    for (const int count : counts) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak"), QString::number(count)});
        child.waitForFinished(-1);
        const QByteArray peak = child.readAllStandardOutput().trimmed();
        std::printf("  %-44s %9s MB\n", qPrintable(QStringLiteral("%1 samples").arg(count)),
                    peak.isEmpty() ? "?" : peak.constData());
        (count == counts[0] ? first : last) = peak.toDouble();
    }
    std::printf("  %-44s %9.3f KB\n", "each sample beyond the first 1,000 adds",
                (last - first) * 1024 / (counts[1] - counts[0]));
    std::printf("The same with 40 prices (--precos)\n");
    const int pricedCounts[] = {1000, 5000};
    for (const int count : pricedCounts) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--peak"), QString::number(count), QStringLiteral("prices")});
        child.waitForFinished(-1);
        const QByteArray peak = child.readAllStandardOutput().trimmed();
        std::printf("  %-44s %9s MB\n", qPrintable(QStringLiteral("%1 samples").arg(count)),
                    peak.isEmpty() ? "?" : peak.constData());
        (count == pricedCounts[0] ? first : last) = peak.toDouble();
    }
    std::printf("  %-44s %9.3f KB\n", "each sample beyond the first 1,000 adds",
                (last - first) * 1024 / (pricedCounts[1] - pricedCounts[0]));
    return 0;
}
