// What every application's product list shares: the mineral catalogue
// lookup, and the "Faltante" amounts kept as the doses minus the list.
#include "Closing.h"
#include "MineralCatalogue.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QComboBox>
#include <QLineEdit>
#include <optional>

namespace {
constexpr int kFirstNutrientColumn = 2; // N, then P2O5, then K2O, in the lists and in stga3
constexpr int kNutrients = 3;
} // namespace

double TFPrincipal::readOrZero(const QLineEdit *field) const
{
    return field->text().isEmpty() ? 0.0 : read(field);
}

// All three contents are written, so nothing of a previous product stays; with
// no product chosen the fields keep whatever they hold (perhaps typed).
void TFPrincipal::lookupMineral(const QComboBox *list, QLineEdit *pctN, QLineEdit *pctP, QLineEdit *pctK)
{
    const fertilizers::MineralFertilizer *product = fertilizers::mineralAt(list->currentIndex());
    if (!product)
        return;
    const fertilizers::Contents contents = fertilizers::contentsOf(*product);
    write(pctN, contents.n);
    write(pctP, contents.p2o5);
    write(pctK, contents.k2o);
}

void TFPrincipal::writeSupplied(QLineEdit *kgN, QLineEdit *kgP, QLineEdit *kgK, double quantity, double pn,
                                double pp, double pk, int places)
{
    write(kgN, fmt(fertilizers::supplied(quantity, pn), places));
    write(kgP, fmt(fertilizers::supplied(quantity, pp), places));
    write(kgK, fmt(fertilizers::supplied(quantity, pk), places));
}

void TFPrincipal::insertProduct(StringGrid *list, int application, const QStringList &cells)
{
    // Everything is read before anything changes: a text that is not a number
    // (an amount, or a dose in stga3) lists nothing and leaves "Faltante" as
    // it was, so the list and "Faltante" always count the same products.
    double sums[kNutrients] = {0, 0, 0};
    const auto count = [&](const QString &cell, int n) {
        if (!cell.isEmpty())
            sums[n] += read(cell);
    };
    for (int j = 1; j < list->rowCount(); ++j)
        for (int n = 0; n < kNutrients; ++n)
            count(list->cell(kFirstNutrientColumn + n, j), n);
    for (int n = 0; n < kNutrients; ++n)
        count(cells.value(kFirstNutrientColumn + n), n);
    std::optional<double> doses[kNutrients]; // none: that "Faltante" keeps its text
    for (int n = 0; n < kNutrients; ++n)
        if (const QString dose = stga3->cell(kFirstNutrientColumn + n, application); !dose.isEmpty())
            doses[n] = read(dose);

    const int lin = list->rowCount();
    list->setRows(lin + 1);
    for (int c = 0; c < cells.size(); ++c)
        list->setCell(c, lin, cells[c]);
    for (int n = 0; n < kNutrients; ++n)
        if (doses[n])
            write(faltante(application, kFirstNutrientColumn + n), fmt(*doses[n] - sums[n], 2));
}

void TFPrincipal::clearProducts(StringGrid *list, int application)
{
    for (int j = 1; j < list->rowCount(); ++j)
        for (int c = 0; c < list->columnCount(); ++c)
            list->setCell(c, j, QString());
    list->setRows(1);
    for (int n = 0; n < kNutrients; ++n) {
        const int column = kFirstNutrientColumn + n;
        write(faltante(application, column), stga3->cell(column, application));
    }
}
