// The least-cost composition of a whole case: the four applications from a
// list of 40 priced products, in whole bags per application and with the bags
// bought for the season, on one core. Prints milliseconds per case.
#include "fertilizers/LeastCost.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace fertilizers;

namespace {

// The catalogue's 25 products and 15 more formulas, at prices a store might ask.
PriceList fortyProducts()
{
    PriceList list = cataloguePriceList();
    const double formulas[][3] = {{8, 28, 16}, {2, 20, 20}, {4, 30, 10}, {10, 10, 10}, {6, 24, 12},
                                  {12, 6, 12}, {30, 0, 10}, {15, 15, 15}, {0, 20, 20}, {5, 25, 15},
                                  {14, 0, 14}, {18, 0, 18}, {9, 33, 12}, {16, 16, 16}, {0, 0, 60}};
    for (const auto &f : formulas) {
        PricedProduct p;
        p.name = QStringLiteral("Adubo %1-%2-%3").arg(int(f[0]), 2, 10, QLatin1Char('0')).arg(int(f[1]), 2, 10, QLatin1Char('0')).arg(int(f[2]), 2, 10, QLatin1Char('0'));
        p.n = f[0];
        p.p2o5 = f[1];
        p.k2o = f[2];
        p.allowedIn = defaultAllowedIn(p.p2o5);
        list.products << p;
    }
    QRandomGenerator random(2026);
    for (PricedProduct &p : list.products) {
        // About R$ 9 a kg of N, 8 of P2O5, 6 of K2O, give or take a fifth.
        const double value = (p.n * 9 + p.p2o5 * 8 + p.k2o * 6) / 100 * 50;
        p.bagPrice = std::max(30.0, value * (0.8 + 0.4 * random.generateDouble()));
        p.bagKg = random.bounded(4) == 0 ? 25 : 50;
    }
    return list;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    const PriceList list = fortyProducts();
    std::printf("Least-cost composition of a whole case (4 applications, %d priced products, one core)\n",
                int(list.products.size()));
    std::printf("  %-28s %8s %8s %8s %8s %10s\n", "mode, area", "median", "mean", "worst", "cases", "composed");
    for (const bool season : {false, true}) {
        for (const double area : {0.5, 1.0, 5.0}) {
            QRandomGenerator random(7);
            std::vector<double> ms;
            int composed = 0;
            for (int i = 0; i < 40; ++i) {
                std::array<NutrientNeed, applicationCount> needs;
                needs[0] = {double(random.bounded(10, 40)), double(random.bounded(30, 120)), double(random.bounded(20, 90))};
                for (int a = 1; a < applicationCount; ++a)
                    needs[a] = {double(random.bounded(10, 40)), 0, double(random.bounded(0, 40))};
                CompositionOptions options;
                options.areaHa = area;
                options.seasonBags = season;
                QElapsedTimer timer;
                timer.start();
                const Composition c = composeLeastCost(list, needs, options);
                ms.push_back(timer.nsecsElapsed() / 1e6);
                composed += c.status == CompositionStatus::Composed;
            }
            const QString mode = season ? QStringLiteral("season bags") : QStringLiteral("bags per application");
            std::printf("  %-28s %8.1f %8.1f %8.1f %8zu %10d  ms per case (goal < 100)\n",
                        qPrintable(QStringLiteral("%1, %2 ha").arg(mode).arg(area)), median(ms),
                        std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size()),
                        *std::max_element(ms.begin(), ms.end()), ms.size(), composed);
        }
    }
    return 0;
}
