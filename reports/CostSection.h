#pragma once
// What both reports show of a least-cost composition made with the user's
// prices: the products of each application, the shopping list and the
// costs, every number already written with the case's decimal separator.
#include "model/Case.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class NumberText;
class QPainter;

namespace reports {

struct CostSection {
    QString producer;   // the producer and the field, to tell a loose page apart
    QString pricesNote; // "Preços informados pelo usuário em 30/11/2026 (lista: precos.csv)"
    QString basis;      // the area and how bags are counted
    struct Application {
        QString name;              // "Plantio", "1ª cobertura", ...
        QList<QStringList> rows;   // product, kg/ha, bags, R$/ha (composed, then inserted by hand)
        QString costHa;            // R$/ha of the application
        QString status;            // "composto", "aproximado", "sem preço"
        QStringList notes;         // why it is approximate, what is short
    };
    QList<Application> applications;
    QList<QStringList> shopping; // product, bags, kg, kg left over, R$
    QString totalHa, totalField; // R$/ha and R$ for the field
    QStringList leftOut;         // products without a price
    // Products inserted by hand that the price list does not price, with
    // their quantity: outside the total, and said so.
    QStringList unpriced;
};

// Money as the reports and the dialog write it: two places, the thousands
// grouped ("1.448.165,00" with the comma in force, "1,448,165.00" with the
// point).
QString moneyText(double value, const NumberText &numbers);

// The kg/ha a composed quantity is listed with: rounded up to the tenth, so
// that what the listed quantity supplies still meets the need. The lists,
// the dialog and the cost section show this same figure.
double listedKgHa(double kgHa);

// The section of a case, when it holds a composition made with prices.
std::optional<CostSection> costSection(const model::Case &c);

// The section as the text report's lines, after the recommendation.
QStringList costLines(const CostSection &cost);

// The section as a page of its own: the painter's origin at the printable
// area's corner, `dpi` the device's resolution, `widthMm` the area's width.
void paintCostPage(QPainter &painter, qreal dpi, qreal widthMm, const CostSection &cost);

} // namespace reports
