#pragma once
// The price list both benches compose with: the catalogue's 25 products and
// 15 more formulas, at prices a store might ask, the same every run.
#include "fertilizers/PriceList.h"

#include <QRandomGenerator>
#include <algorithm>

inline fertilizers::PriceList fortyProducts()
{
    using namespace fertilizers;
    PriceList list = cataloguePriceList();
    const double formulas[][3] = {{8, 28, 16}, {2, 20, 20}, {4, 30, 10}, {10, 10, 10}, {6, 24, 12},
                                  {12, 6, 12}, {30, 0, 10}, {15, 15, 15}, {0, 20, 20}, {5, 25, 15},
                                  {14, 0, 14}, {18, 0, 18}, {9, 33, 12}, {16, 16, 16}, {0, 0, 60}};
    for (const auto &f : formulas) {
        PricedProduct p;
        const auto grade = [](double v) { return QStringLiteral("%1").arg(int(v), 2, 10, QLatin1Char('0')); };
        p.name = QStringLiteral("Adubo %1-%2-%3").arg(grade(f[0]), grade(f[1]), grade(f[2]));
        p.n = f[0];
        p.p2o5 = f[1];
        p.k2o = f[2];
        p.allowedIn = defaultAllowedIn(p.p2o5);
        list.products << p;
    }
    QRandomGenerator random(2026);
    for (PricedProduct &p : list.products) {
        // About R$ 9 a kg of N, 8 of P2O5, 6 of K2O, give or take a fifth.
        p.bagKg = random.bounded(4) == 0 ? 25 : 50;
        const double value = (p.n * 9 + p.p2o5 * 8 + p.k2o * 6) / 100 * p.bagKg;
        p.bagPrice = std::max(p.bagKg * 0.6, value * (0.8 + 0.4 * random.generateDouble()));
    }
    return list;
}
