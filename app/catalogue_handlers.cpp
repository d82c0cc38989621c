// What every application's product list shares: the mineral catalogue
// lookup, "Calcular" and "Inserir" of a mineral product, "Limpar", and the
// "Faltante" amounts kept as the doses minus the list.
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "fertilizers/Closing.h"
#include "fertilizers/LeastCost.h"
#include "fertilizers/MineralCatalogue.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"

#include <QComboBox>
#include <QLineEdit>
#include <optional>

using namespace applications;

double TFPrincipal::readOrZero(const QLineEdit *field) const
{
    return field->text().isEmpty() ? 0.0 : read(field);
}

const TFPrincipal::Application &TFPrincipal::application(int row) const
{
    return row == Planting ? plantio : cobertura[row - FirstTopDressing];
}

QLineEdit *TFPrincipal::faltante(int row, int nutrientColumn) const
{
    return application(row).faltante[nutrientColumn - NColumn];
}

// All three contents are written, so nothing of a previous product stays; with
// no product chosen the fields keep whatever they hold (perhaps typed).
void TFPrincipal::lookupMineral(const Application &a)
{
    const fertilizers::MineralFertilizer *product = fertilizers::mineralAt(a.combo->currentIndex());
    if (!product)
        return;
    const fertilizers::Contents contents = fertilizers::contentsOf(*product);
    write(a.percent[N], contents.n);
    write(a.percent[P2O5], contents.p2o5);
    write(a.percent[K2O], contents.k2o);
}

std::array<double, 3> TFPrincipal::contentsOrZero(const Application &a) const
{
    const double pn = readOrZero(a.percent[N]);
    const double pp = readOrZero(a.percent[P2O5]);
    const double pk = readOrZero(a.percent[K2O]);
    return {pn, pp, pk};
}

QString TFPrincipal::sectionOf(int row) const
{
    return row == Planting ? sections::planting : sections::topDressing(row - Planting);
}

void TFPrincipal::writeSupplied(const std::array<QLineEdit *, 3> &kg, double quantity,
                                const std::array<double, 3> &contents, int places, QLineEdit *quantityField)
{
    int row = Planting;
    while (row < ThirdTopDressing && application(row).kg != kg)
        ++row;
    const Application &a = application(row);
    for (int n = 0; n < nutrients; ++n) {
        Working w(numbers(), places);
        write(kg[n], fmt(fertilizers::supplied(quantity, contents[n], 1.0, &w), places));
        explain({kg[n]}, sectionOf(row),
                w.told(QStringLiteral("%1 fornecido").arg(results::nutrientNames[n]), kg[n]->text() + QStringLiteral(" kg")),
                {{quantityField ? quantityField : a.quantity}, {a.percent[n]}});
    }
}

void TFPrincipal::calculateMineral(const Application &a)
{
    // The quantity must be a number; a missing content is none of it.
    const double qtd = read(a.quantity);
    writeSupplied(a.kg, qtd, contentsOrZero(a), 2);
}

void TFPrincipal::insertProduct(const Application &a, const QString &product, const QString &quantity)
{
    const QStringList cells{product, quantity, a.kg[N]->text(), a.kg[P2O5]->text(), a.kg[K2O]->text()};
    StringGrid *list = a.list;
    // Everything is read before anything changes: a text that is not a number
    // (an amount, or a dose in stga3) lists nothing and leaves "Faltante" as
    // it was, so the list and "Faltante" always count the same products.
    double sums[nutrients] = {0, 0, 0};
    const auto count = [&](const QString &cell, int n) {
        if (!cell.isEmpty())
            sums[n] += read(cell);
    };
    for (int j = FirstProductRow; j < list->rowCount(); ++j)
        for (int n = 0; n < nutrients; ++n)
            count(list->cell(columnOf(Nutrient(n)), j), n);
    for (int n = 0; n < nutrients; ++n)
        count(cells.value(columnOf(Nutrient(n))), n);
    std::optional<double> doses[nutrients]; // none: that "Faltante" keeps its text
    for (int n = 0; n < nutrients; ++n)
        if (const QString dose = stga3->cell(columnOf(Nutrient(n)), a.row); !dose.isEmpty())
            doses[n] = read(dose);

    const int lin = list->rowCount();
    list->setRows(lin + 1);
    for (int c = 0; c < cells.size(); ++c)
        list->setCell(c, lin, cells[c]);
    const int products = list->rowCount() - FirstProductRow;
    for (int n = 0; n < nutrients; ++n)
        if (doses[n]) {
            Working w(numbers(), 2);
            write(a.faltante[n], fmt(fertilizers::stillMissing(*doses[n], sums[n], products, &w), 2));
            explain({a.faltante[n]}, sectionOf(a.row),
                    w.told(results::faltante(results::nutrientNames[n], a.row - Planting),
                           a.faltante[n]->text() + QStringLiteral(" kg/ha")),
                    {{stga3, columnOf(Nutrient(n)), a.row}});
        }
}

void TFPrincipal::insertMineral(const Application &a)
{
    insertProduct(a, a.combo->currentText(), a.quantity->text());
}

void TFPrincipal::clearProducts(const Application &a)
{
    StringGrid *list = a.list;
    for (int j = FirstProductRow; j < list->rowCount(); ++j)
        for (int c = 0; c < list->columnCount(); ++c)
            list->setCell(c, j, QString());
    list->setRows(FirstProductRow); // the titles only
    // The composition applied no longer holds for this list: its products
    // leave the cost of the case and the shopping list.
    const size_t composed = size_t(a.row - Planting);
    if (composition_ && !composition_->applications[composed].products.isEmpty()) {
        composition_ = fertilizers::withoutApplication(*composition_, int(composed));
        bool any = false;
        for (const fertilizers::ApplicationPlan &plan : composition_->applications)
            any = any || !plan.products.isEmpty();
        if (!any)
            composition_.reset();
    }
    for (int n = 0; n < nutrients; ++n) {
        const QString dose = stga3->cell(columnOf(Nutrient(n)), a.row);
        write(a.faltante[n], dose);
        explain({a.faltante[n]}, sectionOf(a.row),
                {results::faltante(results::nutrientNames[n], a.row - Planting),
                 dose.isEmpty() ? QStringLiteral("vazio") : dose + QStringLiteral(" kg/ha"),
                 QStringLiteral("A dose da aplicação: a lista foi limpa.")},
                {{stga3, columnOf(Nutrient(n)), a.row}});
    }
}
