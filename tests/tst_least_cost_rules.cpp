#include "core/Failure.h"
#include "core/NumberText.h"
#include "fertilizers/LeastCost.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <optional>

// The least-cost composition of planting and the three top-dressings: the
// optimiser's cost held against every combination of whole bags counted on
// small catalogues, and what it says when no combination fits.
using namespace fertilizers;
using Needs = std::array<NutrientNeed, applicationCount>;
Q_DECLARE_METATYPE(PriceList)
Q_DECLARE_METATYPE(Needs)
Q_DECLARE_METATYPE(CompositionOptions)

namespace {

PricedProduct bagged(const char *name, double n, double p, double k, double bagKg, double bagPrice,
                     AllowedIn allowed = AllowedIn::Both)
{
    PricedProduct product;
    product.name = QString::fromUtf8(name);
    product.n = n;
    product.p2o5 = p;
    product.k2o = k;
    product.bagKg = bagKg;
    product.bagPrice = bagPrice;
    product.allowedIn = allowed;
    return product;
}

const PricedProduct urea = bagged("Uréia", 45, 0, 0, 50, 190);
const PricedProduct sulphate = bagged("Sulfato de amônio", 20, 0, 0, 50, 110);
const PricedProduct triple = bagged("Superfosfato Triplo", 0, 41, 0, 50, 210, AllowedIn::Planting);
const PricedProduct single = bagged("Superfosfato Simples", 0, 18, 0, 50, 95, AllowedIn::Planting);
const PricedProduct chloride = bagged("Cloreto de Potássio", 0, 0, 58, 50, 200);
const PricedProduct npk41408 = bagged("Adubo 04-14-08", 4, 14, 8, 50, 120, AllowedIn::Planting);
const PricedProduct npk200020 = bagged("Adubo 20-00-20", 20, 0, 20, 25, 95);

PriceList listOf(std::initializer_list<PricedProduct> products)
{
    PriceList list;
    list.name = QStringLiteral("Loja");
    list.products = products;
    return list;
}

double upperOf(double need, const CompositionOptions &o)
{
    return need + std::max(need * o.tolerancePercent / 100, o.toleranceKgHa);
}

bool mayGo(const PricedProduct &p, int application)
{
    return p.available && p.pricePerKg()
           && (application == 0 ? p.allowedIn != AllowedIn::TopDressing : p.allowedIn != AllowedIn::Planting);
}

// The least cost (R$ for the field) of one application in whole bags, by
// trying every set of at most k products and every count of their bags;
// none when no combination keeps each nutrient between its need and its
// need plus the tolerance.
std::optional<double> bruteForce(const PriceList &list, int application, const NutrientNeed &need,
                                 const CompositionOptions &o)
{
    QList<int> usable;
    for (int i = 0; i < list.products.size(); ++i)
        if (mayGo(list.products[i], application) && list.products[i].bagKg > 0)
            usable << i;
    std::optional<double> best;
    std::vector<int> bags(size_t(usable.size()), 0);
    const std::function<void(int, int)> visit = [&](int at, int used) {
        if (at == usable.size()) {
            double supplied[3] = {0, 0, 0}, cost = 0;
            for (int u = 0; u < usable.size(); ++u) {
                const PricedProduct &p = list.products[usable[u]];
                const double kgHa = bags[size_t(u)] * p.bagKg / o.areaHa;
                supplied[0] += kgHa * p.n / 100;
                supplied[1] += kgHa * p.p2o5 / 100;
                supplied[2] += kgHa * p.k2o / 100;
                cost += bags[size_t(u)] * p.bagKg * *p.pricePerKg();
            }
            for (int n = 0; n < 3; ++n)
                if (supplied[n] < need[n] - 1e-9 || supplied[n] > upperOf(need[n], o) + 1e-9)
                    return;
            if (!best || cost < *best)
                best = cost;
            return;
        }
        bags[size_t(at)] = 0;
        visit(at + 1, used);
        if (used == o.maxProducts)
            return;
        const PricedProduct &p = list.products[usable[at]];
        // More bags would put a nutrient past its limit whatever the others bring.
        const auto fits = [&](int b) {
            const double kgHa = b * p.bagKg / o.areaHa;
            return kgHa * p.n / 100 <= upperOf(need[0], o) + 1e-9 && kgHa * p.p2o5 / 100 <= upperOf(need[1], o) + 1e-9
                   && kgHa * p.k2o / 100 <= upperOf(need[2], o) + 1e-9;
        };
        for (int b = 1; fits(b); ++b) {
            bags[size_t(at)] = b;
            visit(at + 1, used + 1);
        }
        bags[size_t(at)] = 0;
    };
    visit(0, 0);
    return best;
}

// What a plan must be whatever the costs: products that may go in the
// application, at most k of them, at least leastKgHa each, whole bags
// counted for the field, and the balance as its products give it.
void checkPlan(const PriceList &list, int application, const ApplicationPlan &plan, const CompositionOptions &o)
{
    QVERIFY2(plan.products.size() <= o.maxProducts, qPrintable(QString::number(plan.products.size())));
    double supplied[3] = {0, 0, 0};
    for (const ComposedProduct &cp : plan.products) {
        const PricedProduct &p = list.products[cp.product];
        QVERIFY2(mayGo(p, application), qPrintable(p.name));
        QVERIFY(cp.kgHa > 0);
        QVERIFY(cp.kgHa >= o.leastKgHa - 1e-9);
        if (p.bagKg > 0 && !o.seasonBags) {
            QCOMPARE(cp.bags, std::round(cp.bags));
            QCOMPARE(cp.kgHa, cp.bags * p.bagKg / o.areaHa);
        }
        QCOMPARE(cp.kgField, cp.kgHa * o.areaHa);
        QVERIFY(std::abs(cp.costHa - cp.kgHa * *p.pricePerKg()) < 1e-6);
        supplied[0] += cp.kgHa * p.n / 100;
        supplied[1] += cp.kgHa * p.p2o5 / 100;
        supplied[2] += cp.kgHa * p.k2o / 100;
    }
    for (int n = 0; n < 3; ++n)
        QVERIFY(std::abs(plan.supplied[n] - supplied[n]) < 1e-6);
}

bool withinLimits(const ApplicationPlan &plan, const CompositionOptions &o)
{
    for (int n = 0; n < 3; ++n)
        if (plan.supplied[n] < plan.needed[n] - 1e-6 || plan.supplied[n] > upperOf(plan.needed[n], o) + 1e-6)
            return false;
    return true;
}

const double grades[][3] = {{45, 0, 0}, {20, 0, 0}, {0, 41, 0}, {0, 18, 0}, {0, 0, 58},  {4, 14, 8},
                            {5, 20, 20}, {20, 0, 20}, {10, 5, 20}, {13, 13, 28}, {0, 0, 48}, {25, 0, 25}};

// A catalogue of a few products with random grades, bags and prices.
PriceList randomList(QRandomGenerator &random)
{
    PriceList list;
    const int count = random.bounded(3, 7);
    for (int i = 0; i < count; ++i) {
        const auto &g = grades[random.bounded(int(std::size(grades)))];
        PricedProduct p = bagged("", g[0], g[1], g[2], random.bounded(2) ? 50 : 25, random.bounded(60, 320));
        p.name = QStringLiteral("P%1").arg(i);
        if (random.bounded(3) == 0)
            p.allowedIn = defaultAllowedIn(p.p2o5);
        list.products << p;
    }
    return list;
}

// Random needs under the given ceilings: P2O5 at planting only, as the split gives it.
Needs randomNeeds(QRandomGenerator &random, int mostN, int mostP2O5, int mostK2O)
{
    Needs needs;
    for (int a = 0; a < applicationCount; ++a)
        needs[a] = {double(random.bounded(0, mostN)), a == 0 ? double(random.bounded(0, mostP2O5)) : 0.0,
                    double(random.bounded(0, mostK2O))};
    return needs;
}

// The reasons as the window and the reports tell them.
QStringList reasonTexts(const ApplicationPlan &plan, QChar separator = QLatin1Char(','))
{
    QStringList texts;
    for (const CompositionReason &r : plan.reasons)
        texts << reasonText(r, NumberText(separator));
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(CompositionReason)

class TstLeastCostRules : public QObject {
    Q_OBJECT
private slots:
    void againstBruteForce_data();
    void againstBruteForce();
    void named_data();
    void named();
    void noFeasibleCombination_data();
    void noFeasibleCombination();
    void reasonSentences_data();
    void reasonSentences();
    void productsLeftOut();
    void pricePerBagOrTonne();
    void bulk();
    void zeroNeeds();
    void season();
    void seasonNeverDearer();
    void solverRefusal();
    void prices();
    void withoutAnApplication_data();
    void withoutAnApplication();
    void area_data();
    void area();
};

void TstLeastCostRules::againstBruteForce_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 40; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TstLeastCostRules::againstBruteForce()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const PriceList list = randomList(random);
    CompositionOptions o;
    o.areaHa = std::array{0.5, 1.0, 2.0, 3.0}[random.bounded(4)];
    o.maxProducts = random.bounded(1, 4);
    o.tolerancePercent = std::array{0.0, 10.0, 20.0}[random.bounded(3)];
    o.toleranceKgHa = std::array{2.0, 5.0, 10.0}[random.bounded(3)];
    const Needs needs = randomNeeds(random, 90, 90, 70);
    const Composition c = composeLeastCost(list, needs, o);
    double total = 0;
    for (int a = 0; a < applicationCount; ++a) {
        const ApplicationPlan &plan = c.applications[a];
        checkPlan(list, a, plan, o);
        if (QTest::currentTestFailed())
            return;
        const auto best = bruteForce(list, a, needs[a], o);
        QVERIFY2(best.has_value() == (plan.status == CompositionStatus::Composed),
                 qPrintable(QStringLiteral("application %1: %2").arg(a).arg(reasonTexts(plan).join(QLatin1Char('|')))));
        if (best) {
            QVERIFY(withinLimits(plan, o));
            QVERIFY2(std::abs(plan.costField - *best) < 1e-6,
                     qPrintable(QStringLiteral("application %1: %2 against %3").arg(a).arg(plan.costField).arg(*best)));
        } else {
            QVERIFY(!plan.reasons.isEmpty());
        }
        total += plan.costField;
    }
    QVERIFY(std::abs(c.costField - total) < 1e-6);
    QVERIFY(std::abs(c.costHa - total / o.areaHa) < 1e-6);
}

void TstLeastCostRules::named_data()
{
    QTest::addColumn<PriceList>("list");
    QTest::addColumn<Needs>("needs");
    QTest::addColumn<CompositionOptions>("options");
    CompositionOptions o;
    // Needs that whole 50 kg bags can meet on a hectare.
    const Needs reachable{{{22.5, 61.5, 58}, {22.5, 0, 29}, {45, 0, 29}, {20, 0, 0}}};
    QTest::newRow("straight products, 1 ha") << listOf({urea, triple, chloride, sulphate}) << reachable << o;
    QTest::newRow("formulas among them") << listOf({urea, triple, chloride, npk41408, npk200020}) << reachable << o;
    CompositionOptions small = o;
    small.areaHa = 0.5;
    QTest::newRow("whole bags on half a hectare")
        << listOf({urea, single, chloride, npk200020}) << Needs{{{45, 54, 58}, {45, 0, 58}, {40, 0, 58}, {20, 0, 20}}}
        << small;
    const Needs onePerApplication{{{20, 70, 40}, {20, 0, 20}, {45, 0, 0}, {20, 0, 0}}};
    CompositionOptions one = o;
    one.maxProducts = 1;
    QTest::newRow("one product per application")
        << listOf({urea, sulphate, triple, chloride, npk41408, npk200020}) << onePerApplication << one;
    CompositionOptions tight = o;
    tight.tolerancePercent = 0;
    tight.toleranceKgHa = 1;
    QTest::newRow("a tolerance of 1 kg/ha") << listOf({urea, sulphate, triple, single, chloride}) << reachable << tight;
    CompositionOptions least = o;
    least.leastKgHa = 60;
    QTest::newRow("at least 60 kg/ha of each product")
        << listOf({urea, sulphate, triple, chloride, npk41408, npk200020}) << onePerApplication << least;
}

void TstLeastCostRules::named()
{
    QFETCH(PriceList, list);
    QFETCH(Needs, needs);
    QFETCH(CompositionOptions, options);
    const Composition c = composeLeastCost(list, needs, options);
    for (int a = 0; a < applicationCount; ++a) {
        const ApplicationPlan &plan = c.applications[a];
        checkPlan(list, a, plan, options);
        if (QTest::currentTestFailed())
            return;
        // The brute force knows nothing of leastKgHa: a plan under it is
        // still a plan there, so only its cost bounds the optimiser's.
        const auto best = bruteForce(list, a, needs[a], options);
        QVERIFY(best);
        QCOMPARE(plan.status, CompositionStatus::Composed);
        QVERIFY(withinLimits(plan, options));
        if (options.leastKgHa > 0)
            QVERIFY(plan.costField >= *best - 1e-6);
        else
            QVERIFY2(std::abs(plan.costField - *best) < 1e-6,
                     qPrintable(QStringLiteral("application %1: %2 against %3").arg(a).arg(plan.costField).arg(*best)));
    }
    QCOMPARE(c.status, CompositionStatus::Composed);
}

void TstLeastCostRules::noFeasibleCombination_data()
{
    QTest::addColumn<PriceList>("list");
    QTest::addColumn<Needs>("needs");
    QTest::addColumn<CompositionOptions>("options");
    QTest::addColumn<int>("application");
    QTest::addColumn<QString>("reason");
    // The nutrients short of the need and over the tolerance, a bit each: 1 N, 2 P2O5, 4 K2O.
    QTest::addColumn<int>("shortMask");
    QTest::addColumn<int>("overMask");
    CompositionOptions o;
    const Needs topK{{{0, 0, 0}, {20, 0, 30}, {0, 0, 0}, {0, 0, 0}}};
    QTest::newRow("no priced K2O for the 1st top-dressing")
        << listOf({urea, triple}) << topK << o << 1 << QStringLiteral("1ª cobertura: nenhum produto com preço traz K2O")
        << 4 << 0;
    QTest::newRow("K2O only in a planting product")
        << listOf({urea, bagged("Adubo 00-20-20", 0, 20, 20, 50, 150, AllowedIn::Planting)}) << topK << o << 1
        << QStringLiteral("1ª cobertura: nenhum produto com preço que possa ir nesta aplicação traz K2O") << 4 << 0;
    CompositionOptions small = o;
    small.areaHa = 0.5;
    const Needs littleN{{{0, 0, 0}, {0, 0, 0}, {15, 0, 0}, {0, 0, 0}}};
    QTest::newRow("one bag is more than half a hectare needs")
        << listOf({urea}) << littleN << small << 2
        << QStringLiteral("2ª cobertura: um saco é mais do que a área de 0,50 ha precisa de N") << 0 << 1;
    // One bag of urea is 22,5 kg/ha of N, two are 45: short of 30, or past 35.
    const Needs thirtyN{{{0, 0, 0}, {30, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
    QTest::newRow("whole bags step over the range")
        << listOf({urea}) << thirtyN << o << 1
        << QStringLiteral("1ª cobertura: em sacos inteiros na área de 1,00 ha, N não fica entre a necessidade e a tolerância")
        << 0 << 1;
    CompositionOptions one = o;
    one.maxProducts = 1;
    const Needs planting{{{22.5, 61.5, 58}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
    QTest::newRow("one product cannot bring three nutrients")
        << listOf({urea, triple, chloride}) << planting << one << 0
        << QStringLiteral("Plantio: um só produto não compõe N e K2O dentro da tolerância") << 5 << 0;
    CompositionOptions two = o;
    two.maxProducts = 2;
    QTest::newRow("two products cannot bring three nutrients")
        << listOf({urea, triple, chloride}) << planting << two << 0
        << QStringLiteral("Plantio: no máximo 2 produtos não compõem N dentro da tolerância") << 1 << 0;
    const Needs nOnly{{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {40, 0, 0}}};
    QTest::newRow("N only with potash in it")
        << listOf({npk200020}) << nOnly << o << 3
        << QStringLiteral("3ª cobertura: os produtos com preço não trazem K2O na proporção da dose, dentro da tolerância")
        << 0 << 4;
}

void TstLeastCostRules::noFeasibleCombination()
{
    QFETCH(PriceList, list);
    QFETCH(Needs, needs);
    QFETCH(CompositionOptions, options);
    QFETCH(int, application);
    QFETCH(QString, reason);
    QFETCH(int, shortMask);
    QFETCH(int, overMask);
    QVERIFY(!bruteForce(list, application, needs[application], options));
    const Composition c = composeLeastCost(list, needs, options);
    const ApplicationPlan &plan = c.applications[application];
    checkPlan(list, application, plan, options);
    QCOMPARE(plan.status, CompositionStatus::Approximate);
    QCOMPARE(c.status, CompositionStatus::Approximate);
    QVERIFY2(reasonTexts(plan).contains(reason), qPrintable(reasonTexts(plan).join(QLatin1Char('|'))));
    // Never empty-handed: what can be given is given.
    QVERIFY(!plan.products.isEmpty());
    for (int n = 0; n < 3; ++n) {
        QCOMPARE(plan.shortfall[n] > 0, bool(shortMask & (1 << n)));
        QCOMPARE(plan.supplied[n] > upperOf(needs[application][n], options) + 1e-6, bool(overMask & (1 << n)));
    }
    // The other applications need nothing: empty and composed.
    for (int a = 0; a < applicationCount; ++a)
        if (a != application)
            QVERIFY(c.applications[a].products.isEmpty());
}

void TstLeastCostRules::reasonSentences_data()
{
    QTest::addColumn<CompositionReason>("reason");
    QTest::addColumn<QString>("comma");
    QTest::addColumn<QString>("point");
    using Kind = CompositionReason::Kind;
    const auto reason = [](Kind kind, int application, QList<Nutrient> nutrients, int products = 0, double figure = 0) {
        CompositionReason r;
        r.kind = kind;
        r.application = application;
        r.nutrients = std::move(nutrients);
        r.products = products;
        r.figure = figure;
        return r;
    };
    const QString failed = QStringLiteral("3ª cobertura: o cálculo da composição falhou");
    QTest::newRow("the solver failed") << reason(Kind::Failed, 3, {}) << failed << failed;
    const QString one = QStringLiteral("Plantio: um só produto não compõe N, P2O5 e K2O dentro da tolerância");
    QTest::newRow("one product, three nutrients")
        << reason(Kind::TooFewProducts, 0, {Nutrient::N, Nutrient::P2O5, Nutrient::K2O}, 1) << one << one;
    QTest::newRow("a bag on a field with decimals")
        << reason(Kind::OneBagTooMuch, 2, {Nutrient::N, Nutrient::K2O}, 0, 1234.5)
        << QStringLiteral("2ª cobertura: um saco é mais do que a área de 1234,50 ha precisa de N e K2O")
        << QStringLiteral("2ª cobertura: um saco é mais do que a área de 1234.50 ha precisa de N e K2O");
    QTest::newRow("the least quantity")
        << reason(Kind::LeastQuantity, 1, {Nutrient::P2O5}, 0, 12.345)
        << QStringLiteral("1ª cobertura: a quantidade mínima de 12,35 kg/ha por produto passa do que a área precisa de P2O5")
        << QStringLiteral("1ª cobertura: a quantidade mínima de 12.35 kg/ha por produto passa do que a área precisa de P2O5");
    // A sentence this program does not write is kept as it stands.
    CompositionReason other;
    other.text = QStringLiteral("Plantio: escrito à mão, 1,5 t");
    QTest::newRow("another sentence") << other << other.text << other.text;
}

// Each reason is told in the mark of the place it is shown, and a case file
// that holds its sentence gives the same reason back.
void TstLeastCostRules::reasonSentences()
{
    QFETCH(CompositionReason, reason);
    QFETCH(QString, comma);
    QFETCH(QString, point);
    const NumberText commaMark(QLatin1Char(',')), pointMark(QLatin1Char('.'));
    QCOMPARE(reasonText(reason, commaMark), comma);
    QCOMPARE(reasonText(reason, pointMark), point);
    // Read back from the sentence, the figure as it was written (two places).
    CompositionReason read = reasonFromText(comma, commaMark);
    QCOMPARE(reasonText(read, pointMark), point);
    QCOMPARE(reasonFromText(point, pointMark), read);
    if (reason.kind != CompositionReason::Kind::LeastQuantity)
        QCOMPARE(read, reason);
}

void TstLeastCostRules::productsLeftOut()
{
    PricedProduct unpriced = bagged("Nitrato de amônio", 32, 0, 0, 50, 0);
    unpriced.bagPrice.reset();
    PricedProduct gone = bagged("Uréia barata", 45, 0, 0, 50, 10);
    gone.available = false;
    // Cheap triple superphosphate, kept at planting.
    const PricedProduct cheapP = bagged("Superfosfato Triplo", 0, 41, 0, 50, 20, AllowedIn::Planting);
    const PricedProduct cheapNpk = bagged("Adubo 10-10-10", 10, 10, 10, 50, 30, AllowedIn::Planting);
    // A price typed with a minus sign is no price: named, never the cheapest.
    PricedProduct negative = bagged("Uréia com sinal", 45, 0, 0, 50, -150);
    const PriceList list = listOf({unpriced, gone, cheapP, cheapNpk, sulphate, chloride, negative});
    QVERIFY(!negative.pricePerKg());
    QVERIFY(!negative.pricePerNutrientKg(0));
    const Needs needs{{{20, 61.5, 58}, {20, 0, 29}, {20, 0, 29}, {20, 0, 0}}};
    const Composition c = composeLeastCost(list, needs);
    QCOMPARE(c.leftOut, (QStringList{QStringLiteral("Nitrato de amônio"), QStringLiteral("Uréia com sinal")}));
    for (int a = 0; a < applicationCount; ++a) {
        QCOMPARE(c.applications[a].status, CompositionStatus::Composed);
        for (const ComposedProduct &cp : c.applications[a].products) {
            QVERIFY(cp.product >= 4 || (a == 0 && cp.product >= 2));
            QVERIFY(cp.product != 6);
        }
    }
    bool plantingP = false;
    for (const ComposedProduct &cp : c.applications[0].products)
        plantingP = plantingP || cp.product == 2 || cp.product == 3;
    QVERIFY(plantingP);
}

void TstLeastCostRules::withoutAnApplication_data()
{
    QTest::addColumn<bool>("season");
    QTest::addColumn<int>("application");
    for (const bool season : {false, true})
        for (int a = 0; a < applicationCount; ++a)
            QTest::addRow("%s, without %d", season ? "season" : "per application", a) << season << a;
}

// A list cleared by hand after "Aplicar": the products bought and the costs
// are those of the other applications. Bags per application come out as
// composing without that application's need; bags for the season are never
// more than before, and still cover what the others take.
void TstLeastCostRules::withoutAnApplication()
{
    QFETCH(bool, season);
    QFETCH(int, application);
    PricedProduct bulkUrea = urea;
    bulkUrea.name = QStringLiteral("Uréia a granel");
    bulkUrea.bagKg = 0;
    bulkUrea.bagPrice.reset();
    bulkUrea.tonnePrice = 3900;
    const PriceList list = listOf({urea, triple, chloride, sulphate, bulkUrea});
    const Needs needs{{{22.5, 61.5, 58}, {22.5, 0, 29}, {45, 0, 29}, {20, 0, 0}}};
    CompositionOptions o;
    o.areaHa = 1.5;
    o.seasonBags = season;
    const Composition full = composeLeastCost(list, needs, o);
    const Composition without = withoutApplication(full, application);
    QVERIFY(without.applications[application].products.isEmpty());
    for (int a = 0; a < applicationCount; ++a)
        if (a != application)
            QCOMPARE(without.applications[a], full.applications[a]);
    double cost = 0;
    for (const ShoppingItem &item : without.shopping) {
        double used = 0;
        for (const ApplicationPlan &plan : without.applications)
            for (const ComposedProduct &cp : plan.products)
                used += cp.product == item.product ? cp.kgField : 0;
        QVERIFY(used > 0);
        QVERIFY(item.kg >= used - 1e-6);
        QVERIFY(std::abs(item.leftoverKg - (item.kg - used)) < 1e-6);
        QVERIFY(std::abs(item.cost - item.kg * *list.products[item.product].pricePerKg()) < 1e-6);
        const auto before = std::find_if(full.shopping.cbegin(), full.shopping.cend(),
                                         [&item](const ShoppingItem &s) { return s.product == item.product; });
        QVERIFY(before != full.shopping.cend());
        QVERIFY(item.bags <= before->bags);
        cost += item.cost;
    }
    QVERIFY(std::abs(without.costField - cost) < 1e-6);
    QVERIFY(std::abs(without.costHa - cost / o.areaHa) < 1e-6);
    if (!season) {
        Needs less = needs;
        less[application] = {};
        const Composition expected = composeLeastCost(list, less, o);
        QCOMPARE(without.shopping.size(), expected.shopping.size());
        for (qsizetype i = 0; i < expected.shopping.size(); ++i) {
            QCOMPARE(without.shopping[i].product, expected.shopping[i].product);
            QCOMPARE(without.shopping[i].bags, expected.shopping[i].bags);
            QVERIFY(std::abs(without.shopping[i].kg - expected.shopping[i].kg) < 1e-6);
        }
        QVERIFY(std::abs(without.costField - expected.costField) < 1e-6);
    }
}

void TstLeastCostRules::pricePerBagOrTonne()
{
    // R$ 150 for 50 kg is R$ 3000 a tonne: the same plan, the same cost.
    PricedProduct perTonne = urea;
    perTonne.bagPrice.reset();
    perTonne.tonnePrice = 3000;
    PricedProduct perBag = urea;
    perBag.bagPrice = 150;
    const Needs needs{{{0, 0, 0}, {40, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
    const Composition byTonne = composeLeastCost(listOf({perTonne}), needs);
    const Composition byBag = composeLeastCost(listOf({perBag}), needs);
    QCOMPARE(byTonne.applications[1].products.size(), 1);
    QCOMPARE(byTonne.applications[1].products[0].bags, 2.0); // 100 kg/ha, 45 kg of N
    QCOMPARE(byTonne.costField, 300.0);
    QCOMPARE(byBag.costField, 300.0);
    QCOMPARE(byTonne.applications[1].products, byBag.applications[1].products);
    QCOMPARE(byTonne.shopping.size(), 1);
    QCOMPARE(byTonne.shopping[0].bags, 2);
    QCOMPARE(byTonne.shopping[0].kg, 100.0);
}

void TstLeastCostRules::bulk()
{
    // In bulk the quantity is what the need asks, to the kilogram; the
    // bagged product, dearer by the kilogram, is left.
    PricedProduct bulkUrea = urea;
    bulkUrea.bagKg = 0;
    bulkUrea.bagPrice.reset();
    bulkUrea.tonnePrice = 2500;
    CompositionOptions o;
    o.areaHa = 2.5;
    const Needs needs{{{0, 0, 0}, {27, 0, 0}, {0, 0, 0}, {36, 0, 0}}};
    const Composition c = composeLeastCost(listOf({urea, bulkUrea}), needs, o);
    QCOMPARE(c.status, CompositionStatus::Composed);
    const ComposedProduct &first = c.applications[1].products.value(0);
    QCOMPARE(first.product, 1);
    QCOMPARE(qRound(first.kgHa * 1000), 60000);
    QCOMPARE(first.bags, 0.0);
    QCOMPARE(c.shopping.size(), 1);
    QCOMPARE(c.shopping[0].bags, 0);
    QCOMPARE(qRound(c.shopping[0].kg), qRound((60 + 80) * 2.5));
    QCOMPARE(qRound(c.costField * 100), qRound(140 * 2.5 * 2.5 * 100));
}

void TstLeastCostRules::area_data()
{
    QTest::addColumn<double>("areaHa");
    QTest::addColumn<QString>("refused"); // empty: composed
    QTest::newRow("none") << 0.0 << QStringLiteral("A área do campo deve ser maior que zero.");
    QTest::newRow("a tenth of a hectare") << 0.1 << QString();
    QTest::newRow("a million hectares") << 1e6 << QString();
    // Mistyped: its bags would pass what a whole number holds and show negative.
    QTest::newRow("ten billion hectares") << 1e10 << QStringLiteral("A área do campo deve ser de até um milhão de ha.");
}

void TstLeastCostRules::area()
{
    QFETCH(double, areaHa);
    QFETCH(QString, refused);
    CompositionOptions o;
    o.areaHa = areaHa;
    const Needs needs{{{0, 0, 0}, {40, 0, 30}, {0, 0, 0}, {0, 0, 0}}};
    try {
        const Composition c = composeLeastCost(listOf({urea, chloride}), needs, o);
        QVERIFY2(refused.isEmpty(), "composed");
        QVERIFY(c.costField > 0);
        for (const ShoppingItem &item : c.shopping)
            QVERIFY(item.bags > 0 && item.cost > 0);
    } catch (const Failure &f) {
        QCOMPARE(f.message(), refused);
    }
}

void TstLeastCostRules::zeroNeeds()
{
    const Composition c = composeLeastCost(listOf({urea, chloride}), Needs{}, {});
    QCOMPARE(c.status, CompositionStatus::Composed);
    for (const ApplicationPlan &plan : c.applications) {
        QVERIFY(plan.products.isEmpty());
        QVERIFY(plan.reasons.isEmpty());
    }
    QVERIFY(c.shopping.isEmpty());
    QCOMPARE(c.costField, 0.0);
}

void TstLeastCostRules::season()
{
    // Half a hectare, 20 kg/ha of N in each top-dressing: a bag of urea is
    // 45 kg/ha there, too much for any one of them, but two bags bought for
    // the season cover the three.
    CompositionOptions o;
    o.areaHa = 0.5;
    const Needs needs{{{0, 0, 0}, {20, 0, 0}, {20, 0, 0}, {20, 0, 0}}};
    const PriceList list = listOf({urea});
    const Composition perApplication = composeLeastCost(list, needs, o);
    QCOMPARE(perApplication.status, CompositionStatus::Approximate);
    o.seasonBags = true;
    const Composition c = composeLeastCost(list, needs, o);
    QCOMPARE(c.status, CompositionStatus::Composed);
    for (int a = 1; a < applicationCount; ++a) {
        checkPlan(list, a, c.applications[a], o);
        QVERIFY(withinLimits(c.applications[a], o));
    }
    QCOMPARE(c.shopping.size(), 1);
    QCOMPARE(c.shopping[0].bags, 2);
    QCOMPARE(c.costField, 380.0);
    QCOMPARE(c.costHa, 760.0);
    double used = 0;
    for (const ApplicationPlan &plan : c.applications)
        for (const ComposedProduct &cp : plan.products)
            used += cp.kgField;
    QVERIFY(std::abs(c.shopping[0].leftoverKg - (100 - used)) < 1e-6);
    QVERIFY(c.shopping[0].leftoverKg >= 0);
}

void TstLeastCostRules::seasonNeverDearer()
{
    // Whatever whole bags per application do, the season's bags may do too.
    for (quint32 seed = 100; seed < 112; ++seed) {
        QRandomGenerator random(seed);
        const PriceList list = randomList(random);
        CompositionOptions o;
        o.areaHa = std::array{0.5, 1.0, 2.0}[random.bounded(3)];
        const Needs needs = randomNeeds(random, 60, 60, 50);
        const Composition apart = composeLeastCost(list, needs, o);
        o.seasonBags = true;
        const Composition together = composeLeastCost(list, needs, o);
        if (apart.status != CompositionStatus::Composed)
            continue;
        QCOMPARE(together.status, CompositionStatus::Composed);
        QVERIFY2(together.costField <= apart.costField + 1e-6,
                 qPrintable(QStringLiteral("seed %1: %2 > %3").arg(seed).arg(together.costField).arg(apart.costField)));
        for (int a = 0; a < applicationCount; ++a)
            QVERIFY(withinLimits(together.applications[a], o));
    }
}

void TstLeastCostRules::solverRefusal()
{
    // A programme the solver refuses is an answer, and the next one is solved.
    MixedIntegerProgramme bad;
    bad.addColumn(1, 5, 1, MixedIntegerProgramme::Kind::Continuous);
    QCOMPARE(glpkSolver().solve(bad).status, MipAnswer::Status::Failed);
    MixedIntegerProgramme good;
    const int x = good.addColumn(2, 0, 10, MixedIntegerProgramme::Kind::Integer);
    good.addRow({{x, 3}}, 7, unbounded);
    const MipAnswer answer = glpkSolver().solve(good);
    QCOMPARE(answer.status, MipAnswer::Status::Optimal);
    QCOMPARE(answer.values.value(0), 3.0);
    MixedIntegerProgramme infeasible = good;
    infeasible.rows[0].upper = 8;
    QCOMPARE(glpkSolver().solve(infeasible).status, MipAnswer::Status::Infeasible);
}

void TstLeastCostRules::prices()
{
    QCOMPARE(*urea.pricePerKg(), 3.8);
    QCOMPARE(qRound(*urea.pricePerNutrientKg(0) * 1000), qRound(3.8 / 0.45 * 1000));
    QVERIFY(!urea.pricePerNutrientKg(2));
    PricedProduct bulkWithBagPrice = urea;
    bulkWithBagPrice.bagKg = 0;
    QVERIFY(!bulkWithBagPrice.pricePerKg());
    QCOMPARE(defaultAllowedIn(14), AllowedIn::Planting);
    QCOMPARE(defaultAllowedIn(0), AllowedIn::Both);
    const PriceList catalogue = cataloguePriceList();
    QCOMPARE(catalogue.products.size(), 25);
    for (const PricedProduct &p : catalogue.products)
        QVERIFY(!p.pricePerKg());
    QCOMPARE(catalogue.products[0].n, 45.0);
    QCOMPARE(catalogue.products[21].k2o, 28.0);
    QCOMPARE(statusText(CompositionStatus::NoPrice), QStringLiteral("sem preço"));
}

QTEST_GUILESS_MAIN(TstLeastCostRules)
#include "tst_least_cost_rules.moc"
