// The window's longest wait while "Menor custo..." composes: an area typed
// key by key into the dialog with 40 priced products, a heartbeat timer in
// the window's thread measuring how late it runs. Prints milliseconds.
// With "--foto FILE" it shows the dialog composed for 2000 ha instead and
// saves a picture of the screen, to look at it.
#include "app/LeastCostDialog.h"
#include "bench/price_fixture.h"

#include <QApplication>
#include <QScreen>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const NumberText numbers(QLatin1Char(','));
    LeastCostDialog::Needs needs{};
    needs[0] = {25, 90, 60};
    needs[1] = {30, 0, 30};
    needs[2] = {30, 0, 20};
    needs[3] = {15, 0, 0};
    if (const int at = QCoreApplication::arguments().indexOf(QStringLiteral("--foto")); at > 0) {
        fertilizers::CompositionOptions options;
        options.areaHa = 2000;
        options.leastKgHa = LeastCostDialog::defaultLeastKgHa;
        LeastCostDialog dialog(numbers, QLocale(QLocale::Portuguese, QLocale::Brazil), fortyProducts(), needs, options);
        dialog.show();
        QTest::qWait(1500);
        return dialog.screen()->grabWindow(0).save(QCoreApplication::arguments().value(at + 1)) ? 0 : 1;
    }
    std::printf("The window's longest wait while \"Menor custo...\" composes (40 priced products)\n");
    for (const bool season : {false, true}) {
        fertilizers::CompositionOptions options;
        options.seasonBags = season;
        LeastCostDialog dialog(numbers, QLocale(QLocale::Portuguese, QLocale::Brazil), fortyProducts(), needs, options);
        dialog.show();
        auto *area = dialog.findChild<QLineEdit *>(QStringLiteral("areaHa"));

        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, longest = 0;
        QTimer heartbeat;
        heartbeat.setInterval(5);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        heartbeat.start();
        // Typed as a technician types: a key, a pause, sometimes a longer one.
        for (const QString &typed : {QStringLiteral("12,5"), QStringLiteral("0,5"), QStringLiteral("2000")}) {
            area->selectAll();
            for (const QChar key : typed) {
                QTest::keyClicks(area, QString(key));
                QTest::qWait(120);
            }
            QTest::qWait(LeastCostDialog::typingPause + 50);
        }
        QElapsedTimer settle;
        settle.start();
        while (dialog.composing() && settle.elapsed() < 30000)
            QTest::qWait(5);
        heartbeat.stop();

        QElapsedTimer once;
        once.start();
        dialog.recompose();
        const double inThread = double(once.nsecsElapsed()) / 1e6;
        std::printf("  %-22s longest wait %5lld ms (goal < 100); one composition in the window's thread would "
                    "take %.1f ms\n",
                    season ? "season bags:" : "bags per application:", longest, inThread);
    }
    return 0;
}
