#pragma once
// The prices of the local store: the products it sells, with their
// guarantees, bag and price on the date of the quotation, and the
// applications each may go in. Prices are the user's: the program ships none.
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace fertilizers {

// Where a product may go. By default a source of P2O5 goes at planting only
// (phosphorus barely moves in the soil), every other product in both.
enum class AllowedIn { Planting, TopDressing, Both };

struct PricedProduct {
    QString name;
    double n = 0, p2o5 = 0, k2o = 0; // guarantees, % of the product's mass
    double bagKg = 50;               // mass of a bag, kg; 0: sold in bulk
    // The price as quoted: per bag or per tonne (one of them, or none: the
    // product is then left out of every composition, and the program says so).
    std::optional<double> bagPrice;   // R$ per bag
    std::optional<double> tonnePrice; // R$ per tonne
    bool available = true;
    AllowedIn allowedIn = AllowedIn::Both;
    QDate date;    // of the quotation
    QString store; // where it was quoted
    friend bool operator==(const PricedProduct &, const PricedProduct &) = default;

    // R$ per kg of product; none without a price, with a price below zero or
    // with a bag of no mass.
    std::optional<double> pricePerKg() const;
    // R$ per kg of the nutrient (0: N, 1: P2O5, 2: K2O) as this product sells
    // it, which is how buyers compare; none when it carries none of it.
    std::optional<double> pricePerNutrientKg(int nutrient) const;
};

// The default allowed applications for these guarantees.
AllowedIn defaultAllowedIn(double p2o5);

struct PriceList {
    QString name; // where it came from (a file's name, "Lista do usuário")
    QList<PricedProduct> products;
    friend bool operator==(const PriceList &, const PriceList &) = default;
    // The latest quotation date among its products (none: no dates).
    QDate date() const;
};

// The mineral catalogue's products with their guarantees and no price.
PriceList cataloguePriceList();

} // namespace fertilizers
