// The planting fertilization: organic or mineral products proposed to close
// what planting still misses, listed in stga4.
#include "Closing.h"
#include "OrganicFertilizers.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
constexpr int kPlanting = 1; // row of stga3
} // namespace

void TFPrincipal::ComboBox1Change()
{
    // The table's contents are written with one decimal in the separator in
    // force; under any other separator the fields are left as they are.
    const fertilizers::OrganicFertilizer *product = fertilizers::organicAt(ComboBox1->currentIndex());
    if (product && (numbers().commaInForce() || numbers().pointInForce())) {
        write(Edit34, fmt(product->n, 1));
        write(Edit35, fmt(product->p2o5, 1));
        write(Edit36, fmt(product->k2o, 1));
        write(Edit87, QString::number(product->dryMatter));
    }

    const double doseN = readOrZero(Edit50), DoseP = readOrZero(Edit52), DoseK = readOrZero(Edit54);
    const double pn = readOrZero(Edit34), pp = readOrZero(Edit35), pk = readOrZero(Edit36);
    const fertilizers::ClosingLimits limits = fertilizers::closingLimits(doseN, DoseP, DoseK, pn, pp, pk);
    const double qtd = fertilizers::proposedQuantity(fertilizers::chosenLimit(limits, closingCriterion()));

    // The quantity is of dry product; the wet weight is what goes on the field.
    const double ms = read(Edit87);
    const double qtdu = divide(qtd * 100, ms);
    write(Edit88, fmt(qtdu, 1));
    write(Edit33, fmt(qtd, 1));
    writeSupplied(Edit37, Edit38, Edit39, qtd, pn, pp, pk, 1);
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
    const double qtd = read(Edit33);
    const double pn = read(Edit34), pp = read(Edit35), pk = read(Edit36);
    // Only part of an organic fertilizer's nutrients is released in the cycle.
    const double EN = read(Edit62), EP = read(Edit63), EK = read(Edit65);
    write(Edit37, fmt(fertilizers::supplied(qtd, pn, EN), 1));
    write(Edit38, fmt(fertilizers::supplied(qtd, pp, EP), 1));
    write(Edit39, fmt(fertilizers::supplied(qtd, pk, EK), 1));
}

void TFPrincipal::Button6Click()
{
    insertProduct(stga4, kPlanting,
                  {ComboBox1->currentText(), Edit88->text(), Edit37->text(), Edit38->text(), Edit39->text()});
}

void TFPrincipal::ComboBox2Change()
{
    lookupMineral(ComboBox2, Edit34, Edit35, Edit36);

    const double doseN = readOrZero(Edit50), DoseP = readOrZero(Edit52), DoseK = readOrZero(Edit54);
    const double pn = readOrZero(Edit34), pp = readOrZero(Edit35), pk = readOrZero(Edit36);
    // A mineral product always closes the nutrient it runs out on first.
    const double qtd =
        fertilizers::proposedQuantity(fertilizers::closingLimits(doseN, DoseP, DoseK, pn, pp, pk).smallest());
    write(Edit40, fmt(qtd, 1));
    writeSupplied(Edit37, Edit38, Edit39, qtd, pn, pp, pk, 2);
}

void TFPrincipal::Button8Click()
{
    const double qtd = read(Edit40);
    const double pn = readOrZero(Edit34), pp = readOrZero(Edit35), pk = readOrZero(Edit36);
    writeSupplied(Edit37, Edit38, Edit39, qtd, pn, pp, pk, 2);
}

void TFPrincipal::Button9Click()
{
    insertProduct(stga4, kPlanting,
                  {ComboBox2->currentText(), Edit40->text(), Edit37->text(), Edit38->text(), Edit39->text()});
}

void TFPrincipal::Button7Click() { clearProducts(stga4, kPlanting); }

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
