// Prints what the store of cases costs: a store of 100,000 seasons (5,000
// producers, 4 fields each, 5 seasons a field) made here, then the median
// time of a search (a producer's name, a CPF, a report number, a word that
// matches thousands) and of a field's history (goal: under 50 ms each), and
// a lab-file run with and without --banco (goal: at most 1.2 times).
// Usage: tuberon_store_bench [seasons] [samples]   (defaults 100000 and 200;
//        QT_QPA_PLATFORM=offscreen)
#include "agronomy/Recommendation.h"
#include "batch/BatchRun.h"
#include "core/NumberText.h"
#include "model/RecommendedCase.h"
#include "store/Store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int fieldsPerProducer = 4, seasonsPerField = 5;

model::Case seasonCase(int producer, int field, int season, QRandomGenerator &random)
{
    const NumberText numbers(QLatin1Char(','));
    agronomy::Analysis a;
    a.argila = 5 + 65 * random.generateDouble();
    a.p = 1 + 59 * random.generateDouble();
    a.k = 10 + 240 * random.generateDouble();
    a.mo = 0.5 + 5.5 * random.generateDouble();
    a.al = 1.5 * random.generateDouble();
    a.ca = 0.3 + 5.7 * random.generateDouble();
    a.mg = 0.1 + 2.4 * random.generateDouble();
    a.ctc = 3 + 17 * random.generateDouble();
    a.v = 10 + 70 * random.generateDouble();
    model::Case c;
    model::applyRecommendation(c, a, agronomy::recommend(a, numbers), numbers);
    c.producer = {QStringLiteral("Produtor %1 da Silva").arg(producer, 5, 10, QLatin1Char('0')),
                  QStringLiteral("%1.%2.%3-%4")
                      .arg(100 + producer / 1000)
                      .arg(producer % 1000, 3, 10, QLatin1Char('0'))
                      .arg(producer % 997, 3, 10, QLatin1Char('0'))
                      .arg(producer % 97, 2, 10, QLatin1Char('0')),
                  QStringLiteral("Comunidade %1").arg(producer % 300), QStringLiteral("Município %1").arg(producer % 400)};
    c.field.name = QStringLiteral("Gleba %1").arg(field + 1);
    c.field.report = QStringLiteral("L-%1-%2").arg(2018 + season).arg(producer * 100 + field * 10 + season);
    c.report.date = QDate(2018 + season, 3, 1 + field);
    return c;
}

double medianMs(const std::function<void()> &work)
{
    work(); // the pages read once, as a window's second search finds them
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + 7, times.end());
    return times[7];
}

QByteArray labFile(int samples)
{
    QRandomGenerator random(20251001);
    const auto between = [&random](double low, double high, int places) {
        return QString::number(low + (high - low) * random.generateDouble(), 'f', places)
            .replace(QLatin1Char('.'), QLatin1Char(','));
    };
    QString csv = QStringLiteral("Amostra;Produtor;CPF;Município;Talhão;Laudo;Data da coleta;Argila (%);pH;P;K;MO;Al;"
                                 "Ca;Mg;CTC;V\r\n");
    for (int i = 1; i <= samples; ++i)
        csv += QStringLiteral("AM-%1;Produtor %2;;Cruz das Almas;Gleba %3;L-%1;15/03/2025;%4;%5;%6;%7;%8;%9;%10;%11;%12;")
                   .arg(i, 4, 10, QLatin1Char('0'))
                   .arg(i / 3)
                   .arg(i % 3)
                   .arg(between(5, 70, 0), between(4.2, 7, 1), between(1, 60, 1), between(10, 250, 0),
                        between(0.5, 6, 1), between(0, 1.5, 2), between(0.3, 6, 2), between(0.1, 2.5, 2),
                        between(3, 20, 1))
            + between(10, 80, 0) + QStringLiteral("\r\n");
    return csv.toUtf8();
}

double runMs(const QString &input, const QString &output, const QString &store)
{
    batch::Options options;
    options.input = input;
    options.output = output;
    options.store = store;
    QElapsedTimer timer;
    timer.start();
    const batch::ExitStatus status = batch::run(options, QLocale(QLocale::Portuguese, QLocale::Brazil), {});
    if (status != batch::AllDone)
        std::fprintf(stderr, "the run ended with status %d\n", int(status));
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets); // the page template, in the window's library
    const int seasons = argc > 1 ? std::max(20, QByteArray(argv[1]).toInt()) : 100000;
    const int samples = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("banco.sqlite"));

    QElapsedTimer made;
    made.start();
    const int producers = seasons / (fieldsPerProducer * seasonsPerField);
    {
        store::Store s(path);
        QRandomGenerator random(20251001);
        QList<store::Store::Entry> entries;
        for (int p = 0; p < producers; ++p) {
            for (int f = 0; f < fieldsPerProducer; ++f)
                for (int y = 0; y < seasonsPerField; ++y)
                    entries << store::Store::Entry{seasonCase(p, f, y, random), {}};
            if (entries.size() >= 2000 || p + 1 == producers) {
                s.record(entries);
                entries.clear();
            }
        }
    }
    const double makeS = double(made.nsecsElapsed()) / 1e9;
    const double sizeMb = double(QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size()) / 1e6;

    store::Store s(path, store::Store::Mode::Read);
    const int some = producers / 2;
    qsizetype found = 0;
    const auto search = [&](const QString &text) {
        return medianMs([&] { found = s.search(text).size(); });
    };
    std::printf("Store of %d seasons (%d producers): made in %.1f s, %.0f MB\n", producers * fieldsPerProducer * seasonsPerField,
                producers, makeS, sizeMb);
    std::printf("  %-52s %9s %8s\n", "", "ms", "found");
    const QString name = QStringLiteral("Produtor %1").arg(some, 5, 10, QLatin1Char('0'));
    double t = search(name);
    std::printf("  %-52s %9.2f %8lld\n", qPrintable(QStringLiteral("search \"%1\"").arg(name)), t, qlonglong(found));
    const QString cpf = seasonCase(some, 0, 0, *QRandomGenerator::global()).producer.cpf;
    t = search(cpf);
    std::printf("  %-52s %9.2f %8lld\n", qPrintable(QStringLiteral("search CPF \"%1\"").arg(cpf)), t, qlonglong(found));
    const QString report = QStringLiteral("L-2021-%1").arg(some * 100 + 23);
    t = search(report);
    std::printf("  %-52s %9.2f %8lld\n", qPrintable(QStringLiteral("search report \"%1\"").arg(report)), t,
                qlonglong(found));
    t = search(QStringLiteral("Município 12"));
    std::printf("  %-52s %9.2f %8lld\n", "search \"Município 12\" (many; first 500)", t, qlonglong(found));
    t = search(QStringLiteral("zzz"));
    std::printf("  %-52s %9.2f %8lld\n", "search \"zzz\" (nothing)", t, qlonglong(found));
    const qint64 field = s.search(name).first().field;
    t = medianMs([&] { found = s.history(field).size(); });
    std::printf("  %-52s %9.2f %8lld\n", "a field's history", t, qlonglong(found));
    t = medianMs([&] { found = s.seasons(name, QStringLiteral("Gleba 2")).size(); });
    std::printf("  %-52s %9.2f %8lld\n", "--historico of one producer's field", t, qlonglong(found));
    std::printf("  (goal: each under 50 ms)\n");

    const QString input = dir.filePath(QStringLiteral("amostras.csv"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(labFile(samples));
    }
    // Into the large store: the run's producers are new ones among 5,000.
    runMs(input, dir.filePath(QStringLiteral("aquecer")), {});
    const double without = runMs(input, dir.filePath(QStringLiteral("sem")), {});
    const double with = runMs(input, dir.filePath(QStringLiteral("com")), path);
    std::printf("Lab file of %d samples on all cores                   ms\n", samples);
    std::printf("  %-52s %9.0f\n", "without --banco", without);
    std::printf("  %-52s %9.0f\n", "with --banco (the store above)", with);
    std::printf("  %-52s %9.3f (goal: at most 1.2)\n", "with / without", with / without);
    return 0;
}
