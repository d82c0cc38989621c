// The least-cost composition of a whole case: the four applications from a
// list of 40 priced products, in whole bags per application and with the bags
// bought for the season, on one core. Prints milliseconds per case.
#include "bench/price_fixture.h"
#include "fertilizers/LeastCost.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace fertilizers;

namespace {

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
    std::printf("  %-28s %8s %8s %8s %8s %10s %12s\n", "mode, area", "median", "mean", "worst", "cases", "composed",
                "mean R$/ha");
    for (const bool season : {false, true}) {
        for (const double area : {0.5, 1.0, 5.0}) {
            QRandomGenerator random(7);
            std::vector<double> ms;
            int composed = 0;
            double cost = 0;
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
                cost += c.costHa;
            }
            const QString mode = season ? QStringLiteral("season bags") : QStringLiteral("bags per application");
            std::printf("  %-28s %8.1f %8.1f %8.1f %8zu %10d %12.2f  ms per case (goal < 100)\n",
                        qPrintable(QStringLiteral("%1, %2 ha").arg(mode).arg(area)), median(ms),
                        std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size()),
                        *std::max_element(ms.begin(), ms.end()), ms.size(), composed, cost / double(ms.size()));
        }
    }
    return 0;
}
