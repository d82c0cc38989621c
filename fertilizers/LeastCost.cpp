#include "fertilizers/LeastCost.h"

#include "core/Failure.h"
#include "core/NumberText.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>

namespace fertilizers {

namespace {

using Kind = MixedIntegerProgramme::Kind;
using Term = MixedIntegerProgramme::Term;

constexpr double tiny = 1e-6;
constexpr int cheapestSources = 1; // of each nutrient, looked at in the season's search // kg/ha: below it a shortfall or an excess is rounding
bool allowedAt(AllowedIn allowed, int application)
{
    return application == 0 ? allowed != AllowedIn::TopDressing : allowed != AllowedIn::Planting;
}

// A product that may go in an application, as the programme sees it.
struct Candidate {
    int product;
    double perKg;       // R$ per kg of product
    double content[3];  // kg of each nutrient per kg of product
    double bagKg;       // 0: bulk
};

struct Problem {
    const PriceList *prices;
    CompositionOptions options;
    std::array<NutrientNeed, applicationCount> need{}, upper{}; // kg/ha: the need and the need plus the tolerance
    std::array<QList<Candidate>, applicationCount> candidates;
    const MipSolver *solver;
};

// How one programme is asked: the limits hard or as penalised slacks, whole
// bags per application or quantities as they come, the most products.
struct Ask {
    bool hardLimits = true;
    bool wholeBags = true;
    bool season = false;
    int maxProducts = 3;
    double leastKgHa = 0;
};

struct Built {
    MixedIntegerProgramme programme;
    struct Use {
        int application;
        int candidate;
        int column;
        int usedColumn;
        double kgHaPerUnit;
        bool wholeBags;
    };
    QList<Use> uses;
    struct Bought {
        int product;
        int column;
        double bagKg;
    };
    QList<Bought> bought; // season: bags bought per product
};

bool carries(const Candidate &c, const NutrientNeed &need)
{
    for (int n = 0; n < 3; ++n)
        if (need[n] > 0 && c.content[n] > 0)
            return true;
    return false;
}

// The most of a product (kg/ha) an application can take. Within the limits:
// the quantity that brings a nutrient it carries to its need plus the
// tolerance. With the limits as slacks: the quantity past which it meets
// alone every need it carries, so that more of it only adds excess.
double mostKgHa(const Candidate &c, const NutrientNeed &need, const NutrientNeed &upper, bool hardLimits)
{
    double most = hardLimits ? unbounded : 0;
    for (int n = 0; n < 3; ++n) {
        if (c.content[n] <= 0)
            continue;
        if (hardLimits)
            most = std::min(most, upper[n] / c.content[n]);
        else if (need[n] > 0)
            most = std::max(most, need[n] / c.content[n]);
    }
    return most;
}

Built build(const Problem &p, const QList<int> &applications, const Ask &ask)
{
    Built b;
    auto &mip = b.programme;
    const double area = p.options.areaHa;
    double nutrientPrice = 1; // R$ per kg of the dearest nutrient, the scale of the penalties
    for (int a : applications)
        for (const Candidate &c : p.candidates[a])
            for (int n = 0; n < 3; ++n)
                if (c.content[n] > 0)
                    nutrientPrice = std::max(nutrientPrice, c.perKg / c.content[n]);
    const double overWeight = 1000 * nutrientPrice, shortWeight = 100 * overWeight;

    // Season: the bags bought of each bagged product, shared by the applications.
    QHash<int, int> boughtIndex;
    QHash<int, double> mostField; // kg of the product the season could take
    for (int a : applications) {
        QList<Term> supply[3], chosen;
        for (int ci = 0; ci < p.candidates[a].size(); ++ci) {
            const Candidate &c = p.candidates[a][ci];
            const bool whole = ask.wholeBags && !ask.season && c.bagKg > 0;
            const double perUnit = whole ? c.bagKg / area : 1;
            double most = mostKgHa(c, p.need[a], p.upper[a], ask.hardLimits) / perUnit;
            most = whole ? (ask.hardLimits ? std::floor(most + 1e-9) : std::max(1.0, std::ceil(most - 1e-9))) : most;
            if (most <= 0 || (ask.leastKgHa > 0 && most * perUnit < ask.leastKgHa - 1e-9))
                continue;
            const bool bagsBought = ask.season && ask.wholeBags && c.bagKg > 0;
            const int q = mip.addColumn(bagsBought ? 0 : c.perKg * perUnit, 0, most, whole ? Kind::Integer : Kind::Continuous);
            const int used = mip.addColumn(0, 0, 1, Kind::Binary);
            b.uses.append({a, ci, q, used, perUnit, whole});
            mip.addRow({{q, 1}, {used, -most}}, -unbounded, 0);
            if (ask.leastKgHa > 0)
                mip.addRow({{q, perUnit}, {used, -ask.leastKgHa}}, 0, unbounded);
            chosen.append({used, 1});
            for (int n = 0; n < 3; ++n)
                if (c.content[n] > 0)
                    supply[n].append({q, c.content[n] * perUnit});
            if (bagsBought) {
                if (!boughtIndex.contains(c.product)) {
                    boughtIndex.insert(c.product, int(b.bought.size()));
                    b.bought.append({c.product, -1, c.bagKg});
                }
                mostField[c.product] += most * area;
            }
        }
        if (!chosen.isEmpty())
            mip.addRow(chosen, 0, ask.maxProducts);
        for (int n = 0; n < 3; ++n) {
            if (supply[n].isEmpty() && p.need[a][n] <= 0)
                continue;
            if (ask.hardLimits) {
                mip.addRow(supply[n], p.need[a][n], p.upper[a][n]);
                continue;
            }
            QList<Term> low = supply[n], high = supply[n];
            if (p.need[a][n] > 0)
                low.append({mip.addColumn(shortWeight, 0, unbounded, Kind::Continuous), 1});
            high.append({mip.addColumn(overWeight, 0, unbounded, Kind::Continuous), -1});
            mip.addRow(low, p.need[a][n], unbounded);
            mip.addRow(high, -unbounded, p.upper[a][n]);
        }
    }
    for (Built::Bought &bought : b.bought) {
        const Candidate *c = nullptr;
        QList<Term> used;
        for (const Built::Use &u : std::as_const(b.uses)) {
            const Candidate &uc = p.candidates[u.application][u.candidate];
            if (uc.product == bought.product) {
                c = &uc;
                used.append({u.column, area});
            }
        }
        const double most = std::ceil(mostField[bought.product] / bought.bagKg - 1e-9);
        bought.column = mip.addColumn(c->perKg * bought.bagKg / area, 0, most, Kind::Integer);
        used.append({bought.column, -bought.bagKg});
        mip.addRow(used, -unbounded, 0);
    }
    mip.timeLimitSeconds = p.options.timeLimitSeconds;
    return b;
}

double clean(double v) { return std::abs(v) < 1e-9 ? 0 : v; }

// The plans of the applications asked, from the programme's answer; the
// bags bought in the season by product, in `bought`.
void readPlans(const Problem &p, const Built &b, const MipAnswer &answer, Composition &out, QHash<int, int> &bought)
{
    const double area = p.options.areaHa;
    for (const Built::Use &u : b.uses) {
        double value = clean(answer.values[u.column]);
        if (u.wholeBags)
            value = std::round(value);
        if (value <= 0)
            continue;
        const Candidate &c = p.candidates[u.application][u.candidate];
        ComposedProduct cp;
        cp.product = c.product;
        cp.name = p.prices->products[c.product].name;
        cp.kgHa = value * u.kgHaPerUnit;
        cp.kgField = cp.kgHa * area;
        cp.bags = c.bagKg > 0 ? cp.kgField / c.bagKg : 0;
        if (u.wholeBags)
            cp.bags = value;
        cp.costHa = c.perKg * cp.kgHa;
        cp.costField = cp.costHa * area;
        out.applications[u.application].products.append(cp);
    }
    for (const Built::Bought &bb : b.bought)
        bought.insert(bb.product, int(std::round(answer.values[bb.column])));
}

void settle(const Problem &p, int a, ApplicationPlan &plan)
{
    plan.needed = p.need[a];
    plan.supplied = {};
    plan.costHa = plan.costField = 0;
    for (const ComposedProduct &cp : std::as_const(plan.products)) {
        const PricedProduct &pp = p.prices->products[cp.product];
        const double contents[3] = {pp.n, pp.p2o5, pp.k2o};
        for (int n = 0; n < 3; ++n)
            plan.supplied[n] += cp.kgHa * contents[n] / 100;
        plan.costHa += cp.costHa;
        plan.costField += cp.costField;
    }
    for (int n = 0; n < 3; ++n) {
        const double d = plan.supplied[n] - plan.needed[n];
        plan.excess[n] = d > tiny ? d : 0;
        plan.shortfall[n] = -d > tiny ? -d : 0;
    }
}

bool feasible(const Problem &p, int a, const Ask &ask)
{
    return p.solver->solve(build(p, {a}, ask).programme).hasSolution();
}

QList<Nutrient> nutrientsOf(const QList<int> &indexes)
{
    QList<Nutrient> nutrients;
    for (int n : indexes)
        nutrients << Nutrient(n);
    return nutrients;
}

// Why an application's needs cannot be met within the limits: the nutrients
// no product brings, then each limit that, lifted alone, lets them be met.
QList<CompositionReason> reasonsFor(const Problem &p, int a, const Ask &ask, const ApplicationPlan &plan)
{
    using Why = CompositionReason::Kind;
    QList<CompositionReason> reasons;
    const auto reason = [a](Why kind, QList<Nutrient> nutrients) {
        CompositionReason r;
        r.kind = kind;
        r.application = a;
        r.nutrients = std::move(nutrients);
        return r;
    };
    QList<int> carried, off;
    for (int n = 0; n < 3; ++n) {
        if (p.need[a][n] <= 0)
            continue;
        bool some = false;
        for (const Candidate &c : p.candidates[a])
            some = some || c.content[n] > 0;
        if (some) {
            carried << n;
            continue;
        }
        bool elsewhere = false;
        for (const PricedProduct &pp : p.prices->products) {
            const double contents[3] = {pp.n, pp.p2o5, pp.k2o};
            elsewhere = elsewhere || (pp.available && pp.pricePerKg() && contents[n] > 0);
        }
        reasons << reason(elsewhere ? Why::NoCarrierAllowedHere : Why::NoPricedCarrier, {Nutrient(n)});
    }
    for (int n = 0; n < 3; ++n)
        if (plan.shortfall[n] > tiny || plan.supplied[n] > p.upper[a][n] + tiny)
            off << n;
    if (!reasons.isEmpty() || off.isEmpty())
        return reasons;
    // The other needs alone, as far as the products that carry them go.
    Problem alone = p;
    for (int n = 0; n < 3; ++n)
        if (!carried.contains(n))
            alone.need[a][n] = 0;
    const QList<Nutrient> nutrients = nutrientsOf(off);
    Ask lifted = ask;
    lifted.hardLimits = true;
    lifted.maxProducts = int(p.candidates[a].size());
    if (ask.maxProducts < lifted.maxProducts && feasible(alone, a, lifted)) {
        CompositionReason r = reason(Why::TooFewProducts, nutrients);
        r.products = ask.maxProducts;
        reasons << r;
    }
    lifted = ask;
    lifted.hardLimits = true;
    lifted.wholeBags = false;
    if (ask.wholeBags && feasible(alone, a, lifted)) {
        // One bag of every bagged carrier past the limit: a bag is too much.
        // Otherwise the bags step over the range: one fewer falls short of
        // the need, one more passes the tolerance.
        QList<int> oneBagTooMuch, stepOver;
        for (int n : std::as_const(off)) {
            bool tooMuch = true;
            for (const Candidate &c : p.candidates[a])
                if (c.content[n] > 0)
                    tooMuch = tooMuch && c.bagKg > 0 && c.bagKg / p.options.areaHa * c.content[n] > p.upper[a][n] + tiny;
            (tooMuch ? oneBagTooMuch : stepOver) << n;
        }
        for (const auto &[kind, which] : {std::pair{Why::OneBagTooMuch, oneBagTooMuch}, std::pair{Why::BagsStepOver, stepOver}})
            if (!which.isEmpty()) {
                CompositionReason r = reason(kind, nutrientsOf(which));
                r.figure = p.options.areaHa;
                reasons << r;
            }
    }
    lifted = ask;
    lifted.hardLimits = true;
    lifted.leastKgHa = 0;
    if (ask.leastKgHa > 0 && feasible(alone, a, lifted)) {
        CompositionReason r = reason(Why::LeastQuantity, nutrients);
        r.figure = ask.leastKgHa;
        reasons << r;
    }
    if (reasons.isEmpty())
        reasons << reason(Why::OutOfProportion, nutrients);
    return reasons;
}

// Each kind's sentence: %A the application, %N its nutrients, %P the most
// products, %F its figure with two places. Read back by the same patterns.
struct ReasonSentence {
    CompositionReason::Kind kind;
    bool oneProduct; // TooFewProducts with one product has its own words
    const char *sentence;
};
constexpr ReasonSentence reasonSentences[] = {
    {CompositionReason::Kind::NoPricedCarrier, false, "%A: nenhum produto com preço traz %N"},
    {CompositionReason::Kind::NoCarrierAllowedHere, false,
     "%A: nenhum produto com preço que possa ir nesta aplicação traz %N"},
    {CompositionReason::Kind::TooFewProducts, true, "%A: um só produto não compõe %N dentro da tolerância"},
    {CompositionReason::Kind::TooFewProducts, false, "%A: no máximo %P produtos não compõem %N dentro da tolerância"},
    {CompositionReason::Kind::OneBagTooMuch, false, "%A: um saco é mais do que a área de %F ha precisa de %N"},
    {CompositionReason::Kind::BagsStepOver, false,
     "%A: em sacos inteiros na área de %F ha, %N não fica entre a necessidade e a tolerância"},
    {CompositionReason::Kind::LeastQuantity, false,
     "%A: a quantidade mínima de %F kg/ha por produto passa do que a área precisa de %N"},
    {CompositionReason::Kind::OutOfProportion, false,
     "%A: os produtos com preço não trazem %N na proporção da dose, dentro da tolerância"},
    {CompositionReason::Kind::Failed, false, "%A: o cálculo da composição falhou"},
};

// "N", "N e K2O", "N, P2O5 e K2O".
QString nutrientList(const QList<Nutrient> &nutrients)
{
    QStringList names;
    for (Nutrient n : nutrients)
        names << nutrientName(n);
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

CompositionReason failedReason(int application)
{
    CompositionReason r;
    r.kind = CompositionReason::Kind::Failed;
    r.application = application;
    return r;
}

} // namespace

Composition withoutApplication(const Composition &composition, int application)
{
    Composition out = composition;
    if (application < 0 || application >= applicationCount)
        return out;
    out.applications[size_t(application)] = ApplicationPlan{};
    QHash<int, double> usedKg, wholeBags;
    for (const ApplicationPlan &plan : std::as_const(out.applications))
        for (const ComposedProduct &cp : plan.products) {
            usedKg[cp.product] += cp.kgField;
            wholeBags[cp.product] += std::round(cp.bags);
        }
    out.shopping.clear();
    out.costField = 0;
    for (const ShoppingItem &item : composition.shopping) {
        if (!usedKg.contains(item.product))
            continue;
        ShoppingItem kept = item;
        const double perKg = item.kg > 0 ? item.cost / item.kg : 0;
        if (item.bags > 0) {
            const double bagKg = item.kg / item.bags;
            // Bags per application are whole in each; bought for the season,
            // as few as the other applications take, never more than before.
            kept.bags = composition.options.seasonBags
                            ? std::min(item.bags, int(std::ceil(usedKg[item.product] / bagKg - 1e-9)))
                            : int(wholeBags[item.product]);
            kept.kg = kept.bags * bagKg;
        } else {
            kept.kg = usedKg[item.product];
        }
        kept.leftoverKg = std::max(0.0, clean(kept.kg - usedKg[item.product]));
        kept.cost = perKg * kept.kg;
        out.shopping << kept;
        out.costField += kept.cost;
    }
    out.costHa = out.costField / out.options.areaHa;
    out.status = CompositionStatus::Composed;
    for (const ApplicationPlan &plan : std::as_const(out.applications))
        out.status = std::max(out.status, plan.status);
    return out;
}

double CompositionOptions::toleratedExcessKgHa(double needKgHa) const
{
    return std::max(needKgHa * tolerancePercent / 100, toleranceKgHa);
}

QString reasonText(const CompositionReason &reason, const NumberText &numbers)
{
    if (reason.kind == CompositionReason::Kind::Text)
        return reason.text;
    for (const ReasonSentence &s : reasonSentences) {
        if (s.kind != reason.kind || (s.kind == CompositionReason::Kind::TooFewProducts && s.oneProduct != (reason.products == 1)))
            continue;
        QString text = QString::fromUtf8(s.sentence);
        text.replace(QStringLiteral("%P"), QString::number(reason.products));
        text.replace(QStringLiteral("%F"), numbers.format(reason.figure, 2));
        text.replace(QStringLiteral("%N"), nutrientList(reason.nutrients));
        text.replace(QStringLiteral("%A"), applicationName(reason.application));
        return text;
    }
    return reason.text;
}

CompositionReason reasonFromText(const QString &text, const NumberText &numbers)
{
    for (const ReasonSentence &s : reasonSentences) {
        // The sentence's words as they stand, each mark a group of its own.
        const QString sentence = QString::fromUtf8(s.sentence);
        QString pattern;
        for (qsizetype i = 0; i < sentence.size(); ++i) {
            if (sentence[i] != QLatin1Char('%') || i + 1 == sentence.size()) {
                pattern += QRegularExpression::escape(sentence.mid(i, 1));
                continue;
            }
            switch (sentence[++i].unicode()) {
            case 'A': pattern += QStringLiteral("(?<A>Plantio|[123]ª cobertura)"); break;
            case 'N': pattern += QStringLiteral("(?<N>[A-Z0-9, e]+)"); break;
            case 'P': pattern += QStringLiteral("(?<P>[0-9]+)"); break;
            default: pattern += QStringLiteral("(?<F>[0-9]+[.,][0-9]+)"); break;
            }
        }
        const QRegularExpressionMatch m =
            QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text);
        if (!m.hasMatch())
            continue;
        CompositionReason r;
        r.kind = s.kind;
        for (int a = 0; a < applicationCount; ++a)
            if (applicationName(a) == m.captured(QStringLiteral("A")))
                r.application = a;
        QString names = m.captured(QStringLiteral("N"));
        names.replace(QStringLiteral(" e "), QStringLiteral(", "));
        for (const QString &n : names.split(QStringLiteral(", ")))
            for (Nutrient nutrient : core::allNutrients)
                if (nutrientName(nutrient) == n)
                    r.nutrients << nutrient;
        r.products = s.oneProduct ? 1 : m.captured(QStringLiteral("P")).toInt();
        if (m.hasCaptured(QStringLiteral("F"))) {
            try {
                r.figure = numbers.toDouble(m.captured(QStringLiteral("F")));
            } catch (const Failure &) {
                continue;
            }
        }
        // Only a sentence written again as it stands is read as its kind.
        if (reasonText(r, numbers) == text)
            return r;
    }
    CompositionReason kept;
    kept.text = text;
    return kept;
}

QString applicationName(int application)
{
    static const char *const names[applicationCount] = {"Plantio", "1ª cobertura", "2ª cobertura", "3ª cobertura"};
    return application >= 0 && application < applicationCount ? QString::fromUtf8(names[application]) : QString();
}

QString statusText(CompositionStatus status)
{
    switch (status) {
    case CompositionStatus::Composed:
        return QStringLiteral("composto");
    case CompositionStatus::Approximate:
        return QStringLiteral("aproximado");
    case CompositionStatus::NoPrice:
        break;
    }
    return QStringLiteral("sem preço");
}

Composition composeLeastCost(const PriceList &prices, const std::array<NutrientNeed, applicationCount> &needs,
                             const CompositionOptions &options)
{
    return composeLeastCost(prices, needs, options, glpkSolver());
}

Composition composeLeastCost(const PriceList &prices, const std::array<NutrientNeed, applicationCount> &needs,
                             const CompositionOptions &options, const MipSolver &solver)
{
    if (!(options.areaHa > 0) || !std::isfinite(options.areaHa))
        throw Failure(QStringLiteral("A área do campo deve ser maior que zero."));
    if (options.areaHa > maxAreaHa)
        throw Failure(QStringLiteral("A área do campo deve ser de até um milhão de ha."));
    if (options.maxProducts < 1)
        throw Failure(QStringLiteral("O número de produtos por aplicação deve ser ao menos 1."));

    Composition out;
    out.options = options;
    out.priceListName = prices.name;
    out.priceListDate = prices.date();
    for (const PricedProduct &pp : prices.products)
        if (pp.available && !pp.pricePerKg())
            out.leftOut << pp.name;

    Problem p;
    p.prices = &prices;
    p.options = options;
    p.solver = &solver;
    for (int a = 0; a < applicationCount; ++a) {
        for (int n = 0; n < 3; ++n) {
            const double need = needs[a][n];
            p.need[a][n] = std::isfinite(need) && need > 0 ? need : 0;
            p.upper[a][n] = p.need[a][n] + options.toleratedExcessKgHa(p.need[a][n]);
        }
        for (int i = 0; i < prices.products.size(); ++i) {
            const PricedProduct &pp = prices.products[i];
            const auto perKg = pp.pricePerKg();
            if (!pp.available || !perKg || !std::isfinite(*perKg) || *perKg < 0 || !allowedAt(pp.allowedIn, a))
                continue;
            Candidate c{i, *perKg, {pp.n / 100, pp.p2o5 / 100, pp.k2o / 100}, pp.bagKg > 0 ? pp.bagKg : 0};
            if (carries(c, p.need[a]))
                p.candidates[a].append(c);
        }
    }

    Ask ask;
    ask.wholeBags = true;
    ask.season = options.seasonBags;
    ask.maxProducts = options.maxProducts;
    ask.leastKgHa = std::max(0.0, options.leastKgHa);

    QList<int> toCompose;
    for (int a = 0; a < applicationCount; ++a) {
        ApplicationPlan &plan = out.applications[a];
        bool needed = false;
        for (int n = 0; n < 3; ++n)
            needed = needed || p.need[a][n] > 0;
        if (!needed) {
            settle(p, a, plan);
        } else if (p.candidates[a].isEmpty()) {
            settle(p, a, plan);
            plan.status = CompositionStatus::NoPrice;
            plan.reasons = reasonsFor(p, a, ask, plan);
        } else {
            toCompose << a;
        }
    }

    // Whole bags per application first: the plans themselves, or in season
    // mode a solution the season's search starts from and falls back on.
    QHash<int, int> bought;
    std::optional<Composition> apart;
    if (options.seasonBags && !toCompose.isEmpty()) {
        CompositionOptions perApplication = options;
        perApplication.seasonBags = false;
        apart = composeLeastCost(prices, needs, perApplication, solver);
    }
    // The season's search among the products worth a look: those of the
    // plans per application, in whole bags and in quantities as they come,
    // and the cheapest source of each nutrient needed. Among all forty of a
    // store's list the search takes seconds, and runs out of time, for a
    // few reais.
    Problem season = p;
    if (apart) {
        for (int a : std::as_const(toCompose)) {
            QSet<int> worth;
            for (const ComposedProduct &cp : std::as_const(apart->applications[a].products))
                worth.insert(cp.product);
            Ask loose = ask;
            loose.season = false;
            loose.wholeBags = false;
            const Built b = build(p, {a}, loose);
            const MipAnswer answer = solver.solve(b.programme);
            if (answer.hasSolution())
                for (const Built::Use &u : b.uses)
                    if (answer.values[u.column] > 1e-9)
                        worth.insert(p.candidates[a][u.candidate].product);
            for (int n = 0; n < 3; ++n) {
                if (p.need[a][n] <= 0)
                    continue;
                QList<Candidate> carriers;
                for (const Candidate &c : p.candidates[a])
                    if (c.content[n] > 0)
                        carriers << c;
                std::sort(carriers.begin(), carriers.end(), [n](const Candidate &x, const Candidate &y) {
                    return x.perKg / x.content[n] < y.perKg / y.content[n];
                });
                for (qsizetype i = 0; i < carriers.size() && i < cheapestSources; ++i)
                    worth.insert(carriers[i].product);
            }
            season.candidates[a].removeIf([&worth](const Candidate &c) { return !worth.contains(c.product); });
        }
    }
    const auto solveGroup = [&](const QList<int> &group) {
        Built b = build(season, group, ask);
        if (apart && apart->status == CompositionStatus::Composed) {
            auto &start = b.programme.start;
            start.fill(0, b.programme.columns.size());
            for (const Built::Use &u : std::as_const(b.uses))
                for (const ComposedProduct &cp : apart->applications[u.application].products)
                    if (cp.product == season.candidates[u.application][u.candidate].product) {
                        start[u.column] = cp.kgHa;
                        start[u.usedColumn] = 1;
                    }
            for (const Built::Bought &bb : std::as_const(b.bought))
                for (const ShoppingItem &item : std::as_const(apart->shopping))
                    if (item.product == bb.product)
                        start[bb.column] = item.bags;
        }
        MipAnswer answer = solver.solve(b.programme);
        // Nothing within the limits: the best approximation, the limits
        // as slacks at a heavy cost.
        const bool approximate = answer.status == MipAnswer::Status::Infeasible;
        if (approximate) {
            Ask soft = ask;
            soft.hardLimits = false;
            b = build(season, group, soft);
            answer = solver.solve(b.programme);
        }
        if (!answer.hasSolution() && apart) {
            // The season's search ran out of time: bags per application.
            for (int a : group)
                out.applications[a] = apart->applications[a];
            return;
        }
        if (answer.hasSolution())
            readPlans(season, b, answer, out, bought);
        for (int a : group) {
            ApplicationPlan &plan = out.applications[a];
            settle(p, a, plan);
            if (!answer.hasSolution()) {
                plan.status = CompositionStatus::Approximate;
                plan.reasons << failedReason(a);
            } else if (approximate) {
                plan.status = CompositionStatus::Approximate;
                Ask perApplication = ask;
                perApplication.season = false;
                perApplication.wholeBags = !ask.season;
                plan.reasons = reasonsFor(p, a, perApplication, plan);
            }
        }
    };
    if (options.seasonBags && !toCompose.isEmpty())
        solveGroup(toCompose);
    else
        for (int a : std::as_const(toCompose))
            solveGroup({a});

    // The shopping list, in the price list's order.
    QHash<int, double> usedKg;
    for (const ApplicationPlan &plan : out.applications)
        for (const ComposedProduct &cp : plan.products)
            usedKg[cp.product] += cp.kgField;
    for (int i = 0; i < prices.products.size(); ++i) {
        if (!usedKg.contains(i))
            continue;
        const PricedProduct &pp = prices.products[i];
        ShoppingItem item;
        item.product = i;
        item.name = pp.name;
        if (pp.bagKg > 0) {
            item.bags = bought.contains(i) ? bought[i] : int(std::round(usedKg[i] / pp.bagKg));
            item.kg = item.bags * pp.bagKg;
        } else {
            item.kg = usedKg[i];
        }
        item.leftoverKg = std::max(0.0, clean(item.kg - usedKg[i]));
        item.cost = *pp.pricePerKg() * item.kg;
        out.shopping << item;
        out.costField += item.cost;
    }
    out.costHa = out.costField / options.areaHa;
    for (const ApplicationPlan &plan : out.applications)
        out.status = std::max(out.status, plan.status);
    return out;
}

} // namespace fertilizers
