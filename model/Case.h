#pragma once
// One producer's case in the domain's own terms: who and where, the soil
// analysis, the liming, the doses and their split over planting and three
// top-dressings, the products of each application, the calendar chart's
// options, the report's texts and the worksheet's last interpreted values.
//
// Inputs and results are kept as the texts the technician sees: a case is
// saved mid-edit too ("35," while the clay content is being typed), and a
// result keeps the places it was written with ("1,50" t/ha). A Number is such
// a text where a number belongs; a QString is free text (names, classes,
// memos), never rewritten.
#include "agronomy/Worksheet.h"
#include "fertilizers/LeastCost.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace model {

// The text of a field or cell that holds a number, with the decimal
// separator of its case.
struct Number {
    QString text;
    friend bool operator==(const Number &, const Number &) = default;
};

// A list of products or fertilizers: the position chosen (-1: none, the
// text was typed) and the text shown.
struct Choice {
    int index = -1;
    QString text;
    friend bool operator==(const Choice &, const Choice &) = default;
};

// N, P2O5 and K2O, in that order wherever the three go together.
struct Nutrients {
    Number n, p2o5, k2o;
    friend bool operator==(const Nutrients &, const Nutrients &) = default;
};

struct Producer {
    QString name, cpf, place, town; // place: the locality or community
    friend bool operator==(const Producer &, const Producer &) = default;
};

struct Field {
    QString name;        // the plot's denomination ("Gleba 1")
    QString report;      // the laboratory report's number
    Number expectedYield; // t/ha of roots
    friend bool operator==(const Field &, const Field &) = default;
};

struct SoilAnalysis {
    Number clay;             // %
    Number ph;               // in water
    Number phosphorus;       // P Mehlich, mg/dm³
    Number potassium;        // K, mg/dm³
    Number organicMatter;    // %
    Number aluminium, calcium, magnesium, ctc; // cmolc/dm³ (CTC at pH 7)
    Number baseSaturation;   // V, %
    // The classes read from them.
    QString clayClass, phosphorusClass, potassiumClass, ctcClass;
    friend bool operator==(const SoilAnalysis &, const SoilAnalysis &) = default;
};

// Criterion of the base saturation: the CTC (cmolc/dm³), the saturation
// aimed at and the current one (%), and the need (t/ha).
struct BaseSaturationCriterion {
    Number ctc, targetSaturation, currentSaturation, need;
    friend bool operator==(const BaseSaturationCriterion &, const BaseSaturationCriterion &) = default;
};

// Criterion of low-buffering soils: organic matter (%), Al (cmolc/dm³), need (t/ha).
struct LowBufferingCriterion {
    Number organicMatter, aluminium, need;
    friend bool operator==(const LowBufferingCriterion &, const LowBufferingCriterion &) = default;
};

// Criterion of the exchangeable aluminium: the factor f, Al and Ca + Mg
// (cmolc/dm³), need (t/ha).
struct AluminiumCriterion {
    Number factor, aluminium, caMg, need;
    friend bool operator==(const AluminiumCriterion &, const AluminiumCriterion &) = default;
};

// The commercial limestone: the need (t/ha at PRNT 100 %), its PRNT (%)
// and the quantity of it (t/ha).
struct CommercialLimestone {
    Number need, prnt, quantity;
    friend bool operator==(const CommercialLimestone &, const CommercialLimestone &) = default;
};

struct Liming {
    Number caMg, caMgRatio; // Ca + Mg (cmolc/dm³) and Ca / Mg
    BaseSaturationCriterion baseSaturation;
    LowBufferingCriterion lowBuffering;
    AluminiumCriterion aluminium;
    Number need;         // the indication, t/ha at PRNT 100 %
    QString observation; // the lines that explain it
    CommercialLimestone commercial;
    friend bool operator==(const Liming &, const Liming &) = default;
};

// One row of a split: the application ("Plantio", "1ª", ...), when it goes
// in (days after emergence), its share of the dose (%) and amount (kg/ha).
struct SplitRow {
    QString application, epoch;
    Number percent, amount;
    friend bool operator==(const SplitRow &, const SplitRow &) = default;
};

// One application's N, P2O5 and K2O, kg/ha.
struct ApplicationDoses {
    QString application, epoch;
    Nutrients doses;
    friend bool operator==(const ApplicationDoses &, const ApplicationDoses &) = default;
};

struct Doses {
    Number nitrogen, potash, phosphate; // N, K2O and P2O5, kg/ha
    QString phosphateNote;              // the warning of a very high P
    QList<SplitRow> nitrogenSplit, potashSplit;
    QList<ApplicationDoses> applications; // planting and the three top-dressings
    friend bool operator==(const Doses &, const Doses &) = default;
};

// A product put in an application: its name, kg/ha of it and the N, P2O5
// and K2O it brings, kg/ha.
struct ProductRow {
    QString product;
    Number quantity;
    Nutrients supplies;
    friend bool operator==(const ProductRow &, const ProductRow &) = default;
};

// Planting or a top-dressing: what is still missing of its doses (kg/ha),
// the mineral product in hand (its quantity in kg, contents in %, and the
// kg of each nutrient it supplies) and the products put in.
struct Application {
    Nutrients missing;
    Choice mineral;
    Number mineralQuantity;
    Nutrients mineralContents, mineralSupplies;
    QList<ProductRow> products;
    friend bool operator==(const Application &, const Application &) = default;
};

// Planting's organic fertilizer: the product, its quantity (kg), the
// efficiency of each nutrient (%), what closes the doses, and the moisture
// correction (dry matter %, wet weight kg).
struct OrganicFertilizer {
    enum class Closing { None, ByN, ByP, ByK, ByLeast };
    Choice product;
    Number quantity;
    Number nEfficiency, pEfficiency, kEfficiency;
    Closing closing = Closing::None;
    Number dryMatter, wetWeight;
    friend bool operator==(const OrganicFertilizer &, const OrganicFertilizer &) = default;
};

struct Planting : Application {
    enum class Kind { None, Organic, Mineral }; // which fertilizer is being composed
    Kind kind = Kind::None;
    OrganicFertilizer organic;
    friend bool operator==(const Planting &, const Planting &) = default;
};

// The crop calendar chart: the planting day, the curves drawn and the
// horizontal axis (days after planting or dates).
struct Calendar {
    enum class Scale { None, DaysAfterPlanting, Dates };
    QDate planting;
    bool stems = false, leaves = false, seedCuttings = false, storageRoots = false;
    Scale scale = Scale::None;
    // What was typed into the legend's colour boxes of planting and the
    // three top-dressings (they are meant to stay empty).
    std::array<QString, 4> legend;
    friend bool operator==(const Calendar &, const Calendar &) = default;
};

struct Report {
    QString recommendations; // the technician's memo
    QString technician;      // name and professional registry
    QDate date;
    friend bool operator==(const Report &, const Report &) = default;
};

struct Case {
    QChar decimalSeparator = QLatin1Char(','); // of every Number in it
    Producer producer;
    Field field;
    SoilAnalysis analysis;
    Liming liming;
    Doses doses;
    Planting planting;
    std::array<Application, 3> topDressings;
    Calendar calendar;
    Report report;
    agronomy::Worksheet worksheet; // the values last interpreted
    int shownTab = 0;              // the page the window showed, from 0
    // The least-cost composition last applied to the applications, and the
    // store's prices it used (kept with the case: prices change).
    std::optional<fertilizers::PriceList> prices;
    std::optional<fertilizers::Composition> composition;
    friend bool operator==(const Case &, const Case &) = default;
};

// The case with every Number that is a number under its separator written
// with another; free texts stay as typed.
Case withSeparator(const Case &source, QChar separator);

} // namespace model
