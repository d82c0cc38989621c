// The planting fertilization: organic or mineral products proposed to close
// what planting still misses, listed in stga4. The mineral block's
// "Calcular" and "Inserir", and "Limpar tudo", are those of every application.
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "fertilizers/Closing.h"
#include "fertilizers/OrganicFertilizers.h"
#include "app/ApplicationBlock.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace applications;

namespace {

struct PlantingClosing {
    fertilizers::ClosingLimits limits;
    std::array<double, 3> contents;
};

// What planting still misses against the contents of the product in hand,
// read in that order; an empty field counts as none.
PlantingClosing plantingClosing(const ApplicationBlock &a, const HandlerHost &host, Working *working)
{
    const double doseN = host.readOrZero(a.faltante[N]);
    const double DoseP = host.readOrZero(a.faltante[P2O5]);
    const double DoseK = host.readOrZero(a.faltante[K2O]);
    const std::array<double, 3> p = a.contentsOrZero();
    return {fertilizers::closingLimits(doseN, DoseP, DoseK, p[N], p[P2O5], p[K2O], working), p};
}

} // namespace

void TFPrincipal::ComboBox1Change()
{
    ApplicationBlock &plantio = block(Planting);
    // The table's contents are written with one decimal in the separator in
    // force; under any other separator the fields are left as they are.
    const fertilizers::OrganicFertilizer *product = fertilizers::organicAt(ComboBox1->currentIndex());
    if (product && (numbers().commaInForce() || numbers().pointInForce())) {
        write(plantio.percent[N], fmt(product->n, 1));
        write(plantio.percent[P2O5], fmt(product->p2o5, 1));
        write(plantio.percent[K2O], fmt(product->k2o, 1));
        write(Edit87, QString::number(product->dryMatter));
    }

    Working proposal(numbers(), 1);
    const PlantingClosing closing = plantingClosing(plantio, *host_, &proposal);
    const double qtd = fertilizers::proposedQuantity(
        fertilizers::chosenLimit(closing.limits, closingCriterion(), &proposal), &proposal);

    // The quantity is of dry product; the wet weight is what goes on the field.
    const double ms = read(Edit87);
    Working wet(numbers(), 1);
    const double qtdu = fertilizers::wetWeight(qtd, ms, &wet);
    write(Edit88, fmt(qtdu, 1));
    write(Edit33, fmt(qtd, 1));
    const std::initializer_list<Place> from{{ComboBox1},
                                            {plantio.faltante[N]},
                                            {plantio.faltante[P2O5]},
                                            {plantio.faltante[K2O]},
                                            {plantio.percent[N]},
                                            {plantio.percent[P2O5]},
                                            {plantio.percent[K2O]}};
    explain({Edit33}, sections::planting,
            proposal.told(QStringLiteral("Quantidade proposta do adubo orgânico"), Edit33->text() + QStringLiteral(" kg")),
            from);
    explain({Edit88}, sections::planting, wet.told(QStringLiteral("Peso úmido"), Edit88->text() + QStringLiteral(" kg")),
            {{Edit33}, {Edit87}});
    plantio.writeSupplied(qtd, closing.contents, 1, Edit33);
}

fertilizers::ClosingCriterion TFPrincipal::closingCriterion() const
{
    using C = fertilizers::ClosingCriterion;
    if (RadioButton3->isChecked())
        return C::N;
    if (RadioButton5->isChecked())
        return C::K2O;
    if (RadioButton6->isChecked())
        return C::Smallest;
    return C::P2O5;
}

void TFPrincipal::Button5Click()
{
    const ApplicationBlock &plantio = block(Planting);
    const double qtd = read(Edit33);
    // Here every content must be a number, an empty one included.
    const double pn = read(plantio.percent[N]), pp = read(plantio.percent[P2O5]), pk = read(plantio.percent[K2O]);
    // Only part of an organic fertilizer's nutrients is released in the cycle.
    const double EN = read(Edit62), EP = read(Edit63), EK = read(Edit65);
    const std::array<double, 3> contents{pn, pp, pk}, efficiencies{EN, EP, EK};
    const std::array<QLineEdit *, 3> efficiencyFields{Edit62, Edit63, Edit65};
    for (int n = 0; n < nutrients; ++n) {
        Working w(numbers(), 1);
        write(plantio.kg[n], fmt(fertilizers::supplied(qtd, contents[n], efficiencies[n], &w), 1));
        explain({plantio.kg[n]}, sections::planting,
                w.told(QStringLiteral("%1 fornecido").arg(results::nutrientNames[n]),
                       plantio.kg[n]->text() + QStringLiteral(" kg")),
                {{Edit33}, {plantio.percent[n]}, {efficiencyFields[n]}});
    }
}

// The organic product is listed with its wet weight.
void TFPrincipal::Button6Click() { block(Planting).insert(ComboBox1->currentText(), Edit88->text()); }

void TFPrincipal::ComboBox2Change()
{
    ApplicationBlock &plantio = block(Planting);
    plantio.lookupMineral();
    Working proposal(numbers(), 1);
    const PlantingClosing closing = plantingClosing(plantio, *host_, &proposal);
    // A mineral product always closes the nutrient it runs out on first.
    const double qtd = fertilizers::proposedQuantity(
        fertilizers::chosenLimit(closing.limits, fertilizers::ClosingCriterion::Smallest, &proposal), &proposal);
    write(plantio.quantity, fmt(qtd, 1));
    explain({plantio.quantity}, sections::planting,
            proposal.told(QStringLiteral("Quantidade proposta do adubo mineral"),
                          plantio.quantity->text() + QStringLiteral(" kg")),
            {{ComboBox2},
             {plantio.faltante[N]},
             {plantio.faltante[P2O5]},
             {plantio.faltante[K2O]},
             {plantio.percent[N]},
             {plantio.percent[P2O5]},
             {plantio.percent[K2O]}});
    plantio.writeSupplied(qtd, closing.contents, 2);
}

void TFPrincipal::Button8Click() { block(Planting).calculate(); }
void TFPrincipal::Button9Click() { block(Planting).insertMineral(); }
void TFPrincipal::Button7Click() { clearProducts(Planting); }

// The organic and the mineral block take turns in one place; switching clears nothing.
void TFPrincipal::RadioButton1Click()
{
    if (RadioButton1->isChecked()) {
        GroupBox26->show();
        GroupBox27->hide();
    }
}

void TFPrincipal::RadioButton2Click()
{
    if (RadioButton2->isChecked()) {
        GroupBox27->show();
        GroupBox26->hide();
    }
}
