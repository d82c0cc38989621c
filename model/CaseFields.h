#pragma once
// Every value of a case once, under the key a case file gives it: the file's
// reader and writer and the change of decimal separator walk the case
// through here, so a value added to the model is added here and nowhere
// else. A visitor has number, text, texts, reasons, choice, flag, date, integer,
// real, maybeReal, option, object, maybe (an object that may be absent) and
// list; see cases/CaseJson.cpp.
#include "model/Case.h"

#include <utility>

namespace model {

template <class V> void visitNutrients(V &v, Nutrients &n)
{
    v.number("n", n.n);
    v.number("p2o5", n.p2o5);
    v.number("k2o", n.k2o);
}

template <class V> void visitApplication(V &v, Application &a)
{
    v.object("missing", [&] { visitNutrients(v, a.missing); });
    v.object("mineral", [&] {
        v.choice("product", a.mineral);
        v.number("quantity", a.mineralQuantity);
        v.object("contents", [&] { visitNutrients(v, a.mineralContents); });
        v.object("supplies", [&] { visitNutrients(v, a.mineralSupplies); });
    });
    v.list("products", a.products, [&](ProductRow &r) {
        v.text("product", r.product);
        v.number("quantity", r.quantity);
        v.object("supplies", [&] { visitNutrients(v, r.supplies); });
    });
}

template <class V> void visitSplit(V &v, const char *key, QList<SplitRow> &rows)
{
    v.list(key, rows, [&](SplitRow &r) {
        v.text("application", r.application);
        v.text("epoch", r.epoch);
        v.number("percent", r.percent);
        v.number("amount", r.amount);
    });
}

template <class V> void visitLimits(V &v, const char *key, soil::Limits &l)
{
    v.object(key, [&] {
        v.real("l1", l.l1);
        v.real("l2", l.l2);
        v.real("l3", l.l3);
        v.real("l4", l.l4);
    });
}

// kg/ha of N, P2O5 and K2O.
template <class V> void visitAmounts(V &v, const char *key, std::array<double, 3> &a)
{
    v.object(key, [&] {
        v.real("n", a[0]);
        v.real("p2o5", a[1]);
        v.real("k2o", a[2]);
    });
}

template <class V> void visitPriceList(V &v, fertilizers::PriceList &l)
{
    using fertilizers::AllowedIn;
    v.text("name", l.name);
    v.list("products", l.products, [&](fertilizers::PricedProduct &p) {
        v.text("name", p.name);
        v.object("guarantees", [&] {
            v.real("n", p.n);
            v.real("p2o5", p.p2o5);
            v.real("k2o", p.k2o);
        });
        v.real("bagKg", p.bagKg);
        v.maybeReal("bagPrice", p.bagPrice);
        v.maybeReal("tonnePrice", p.tonnePrice);
        v.flag("available", p.available);
        v.option("allowedIn", p.allowedIn,
                 {std::pair{AllowedIn::Planting, "planting"}, std::pair{AllowedIn::TopDressing, "topDressing"},
                  std::pair{AllowedIn::Both, "both"}});
        v.date("date", p.date);
        v.text("store", p.store);
    });
}

template <class V> void visitStatus(V &v, fertilizers::CompositionStatus &s)
{
    using S = fertilizers::CompositionStatus;
    v.option("status", s,
             {std::pair{S::Composed, "composed"}, std::pair{S::Approximate, "approximate"},
              std::pair{S::NoPrice, "noPrice"}});
}

template <class V> void visitComposition(V &v, fertilizers::Composition &c)
{
    v.object("options", [&] {
        fertilizers::CompositionOptions &o = c.options;
        v.real("areaHa", o.areaHa);
        v.integer("maxProducts", o.maxProducts);
        v.real("tolerancePercent", o.tolerancePercent);
        v.real("toleranceKgHa", o.toleranceKgHa);
        v.real("leastKgHa", o.leastKgHa);
        v.flag("seasonBags", o.seasonBags);
        v.real("timeLimitSeconds", o.timeLimitSeconds);
    });
    v.list("applications", c.applications, [&](fertilizers::ApplicationPlan &a) {
        v.list("products", a.products, [&](fertilizers::ComposedProduct &p) {
            v.integer("product", p.product);
            v.text("name", p.name);
            v.real("kgHa", p.kgHa);
            v.real("kgField", p.kgField);
            v.real("bags", p.bags);
            v.real("costHa", p.costHa);
            v.real("costField", p.costField);
        });
        visitAmounts(v, "needed", a.needed);
        visitAmounts(v, "supplied", a.supplied);
        visitAmounts(v, "excess", a.excess);
        visitAmounts(v, "shortfall", a.shortfall);
        v.real("costHa", a.costHa);
        v.real("costField", a.costField);
        visitStatus(v, a.status);
        v.reasons("reasons", a.reasons);
    });
    v.list("shopping", c.shopping, [&](fertilizers::ShoppingItem &s) {
        v.integer("product", s.product);
        v.text("name", s.name);
        v.integer("bags", s.bags);
        v.real("kg", s.kg);
        v.real("leftoverKg", s.leftoverKg);
        v.real("cost", s.cost);
    });
    v.real("costHa", c.costHa);
    v.real("costField", c.costField);
    visitStatus(v, c.status);
    v.texts("leftOut", c.leftOut);
    v.text("priceListName", c.priceListName);
    v.date("priceListDate", c.priceListDate);
}

template <class V> void visitCase(V &v, Case &c)
{
    v.object("producer", [&] {
        v.text("name", c.producer.name);
        v.text("cpf", c.producer.cpf);
        v.text("place", c.producer.place);
        v.text("town", c.producer.town);
    });
    v.object("field", [&] {
        v.text("name", c.field.name);
        v.text("report", c.field.report);
        v.number("expectedYield", c.field.expectedYield);
    });
    v.object("analysis", [&] {
        SoilAnalysis &a = c.analysis;
        v.number("clay", a.clay);
        v.number("ph", a.ph);
        v.number("phosphorus", a.phosphorus);
        v.number("potassium", a.potassium);
        v.number("organicMatter", a.organicMatter);
        v.number("aluminium", a.aluminium);
        v.number("calcium", a.calcium);
        v.number("magnesium", a.magnesium);
        v.number("ctc", a.ctc);
        v.number("baseSaturation", a.baseSaturation);
        v.text("clayClass", a.clayClass);
        v.text("phosphorusClass", a.phosphorusClass);
        v.text("potassiumClass", a.potassiumClass);
        v.text("ctcClass", a.ctcClass);
    });
    v.object("liming", [&] {
        Liming &l = c.liming;
        v.number("caMg", l.caMg);
        v.number("caMgRatio", l.caMgRatio);
        v.object("baseSaturation", [&] {
            v.number("ctc", l.baseSaturation.ctc);
            v.number("targetSaturation", l.baseSaturation.targetSaturation);
            v.number("currentSaturation", l.baseSaturation.currentSaturation);
            v.number("need", l.baseSaturation.need);
        });
        v.object("lowBuffering", [&] {
            v.number("organicMatter", l.lowBuffering.organicMatter);
            v.number("aluminium", l.lowBuffering.aluminium);
            v.number("need", l.lowBuffering.need);
        });
        v.object("aluminium", [&] {
            v.number("factor", l.aluminium.factor);
            v.number("aluminium", l.aluminium.aluminium);
            v.number("caMg", l.aluminium.caMg);
            v.number("need", l.aluminium.need);
        });
        v.number("need", l.need);
        v.text("observation", l.observation);
        v.object("commercial", [&] {
            v.number("need", l.commercial.need);
            v.number("prnt", l.commercial.prnt);
            v.number("quantity", l.commercial.quantity);
        });
    });
    v.object("doses", [&] {
        v.number("nitrogen", c.doses.nitrogen);
        v.number("potash", c.doses.potash);
        v.number("phosphate", c.doses.phosphate);
        v.text("phosphateNote", c.doses.phosphateNote);
    });
    v.object("split", [&] {
        visitSplit(v, "nitrogen", c.doses.nitrogenSplit);
        visitSplit(v, "potash", c.doses.potashSplit);
        v.list("applications", c.doses.applications, [&](ApplicationDoses &r) {
            v.text("application", r.application);
            v.text("epoch", r.epoch);
            v.object("doses", [&] { visitNutrients(v, r.doses); });
        });
    });
    v.object("planting", [&] {
        Planting &p = c.planting;
        v.option("fertilizer", p.kind,
                 {std::pair{Planting::Kind::Organic, "organic"}, std::pair{Planting::Kind::Mineral, "mineral"}});
        visitApplication(v, p);
        v.object("organic", [&] {
            OrganicFertilizer &o = p.organic;
            v.choice("product", o.product);
            v.number("quantity", o.quantity);
            v.object("efficiency", [&] {
                v.number("n", o.nEfficiency);
                v.number("p", o.pEfficiency);
                v.number("k", o.kEfficiency);
            });
            using C = OrganicFertilizer::Closing;
            v.option("closing", o.closing,
                     {std::pair{C::ByN, "n"}, std::pair{C::ByP, "p"}, std::pair{C::ByK, "k"},
                      std::pair{C::ByLeast, "least"}});
            v.number("dryMatter", o.dryMatter);
            v.number("wetWeight", o.wetWeight);
        });
    });
    v.list("topDressings", c.topDressings, [&](Application &a) { visitApplication(v, a); });
    v.object("calendar", [&] {
        v.date("planting", c.calendar.planting);
        v.object("curves", [&] {
            v.flag("stems", c.calendar.stems);
            v.flag("leaves", c.calendar.leaves);
            v.flag("seedCuttings", c.calendar.seedCuttings);
            v.flag("storageRoots", c.calendar.storageRoots);
        });
        using S = Calendar::Scale;
        v.option("scale", c.calendar.scale,
                 {std::pair{S::DaysAfterPlanting, "daysAfterPlanting"}, std::pair{S::Dates, "dates"}});
        v.object("legend", [&] {
            v.text("planting", c.calendar.legend[0]);
            v.text("firstTopDressing", c.calendar.legend[1]);
            v.text("secondTopDressing", c.calendar.legend[2]);
            v.text("thirdTopDressing", c.calendar.legend[3]);
        });
    });
    v.object("report", [&] {
        v.text("recommendations", c.report.recommendations);
        v.text("technician", c.report.technician);
        v.date("date", c.report.date);
    });
    v.object("worksheet", [&] {
        agronomy::Worksheet &w = c.worksheet;
        v.real("clay", w.argila);
        v.real("phosphorus", w.p);
        v.real("potassium", w.k);
        v.real("calcium", w.ca);
        v.real("magnesium", w.mg);
        v.real("ctc", w.ctc);
        visitLimits(v, "phosphorusLimits", w.phosphorusLimits);
        visitLimits(v, "potassiumLimits", w.potassiumLimits);
    });
    v.integer("shownTab", c.shownTab);
    // Only a case composed at least cost has them.
    v.maybe("prices", c.prices, [&](fertilizers::PriceList &l) { visitPriceList(v, l); });
    v.maybe("composition", c.composition, [&](fertilizers::Composition &k) { visitComposition(v, k); });
}

} // namespace model
