// What every application's product list shares: the mineral catalogue
// lookup, and the "Faltante" amounts kept as the doses minus the list.
#include "Closing.h"
#include "MineralCatalogue.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QComboBox>
#include <QLineEdit>

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
    // The row goes in as typed, before anything is read.
    const int lin = list->rowCount();
    list->setRows(lin + 1);
    for (int c = 0; c < cells.size(); ++c)
        list->setCell(c, lin, cells[c]);

    double sums[kNutrients] = {0, 0, 0};
    for (int j = 1; j < list->rowCount(); ++j)
        for (int n = 0; n < kNutrients; ++n)
            if (const QString cell = list->cell(kFirstNutrientColumn + n, j); !cell.isEmpty())
                sums[n] += read(cell);

    // A nutrient without a dose keeps its "Faltante" text.
    for (int n = 0; n < kNutrients; ++n) {
        const int column = kFirstNutrientColumn + n;
        if (const QString dose = stga3->cell(column, application); !dose.isEmpty())
            write(faltante(application, column), fmt(read(dose) - sums[n], 2));
    }
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
