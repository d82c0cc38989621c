#include "MineralCatalogue.h"
#include "TFPrincipal.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Catalogue lookup, the first step of every mineral list's change handler:
// the chosen product's N, P2O5 and K2O contents replace the block's
// percentages, all three, so nothing of a previous product stays. With no
// product chosen the percentages keep whatever they hold (perhaps typed).
void lookupMineral(TFPrincipal &w, const QComboBox *list, QLineEdit *pctN, QLineEdit *pctP, QLineEdit *pctK)
{
    const fertilizers::MineralFertilizer *product = fertilizers::mineralAt(list->currentIndex());
    if (!product)
        return;
    const fertilizers::Contents contents = fertilizers::contentsOf(*product);
    w.write(pctN, contents.n);
    w.write(pctP, contents.p2o5);
    w.write(pctK, contents.k2o);
}

void lookupMineral(TFPrincipal &w, const TFPrincipal::Cobertura &block)
{
    lookupMineral(w, block.combo, block.pctN, block.pctP, block.pctK);
}

} // namespace

void TFPrincipal::ComboBox2Change() { lookupMineral(*this, ComboBox2, Edit34, Edit35, Edit36); }
void TFPrincipal::ComboBox3Change() { lookupMineral(*this, cobertura[0]); }
void TFPrincipal::ComboBox4Change() { lookupMineral(*this, cobertura[1]); }
void TFPrincipal::ComboBox5Change() { lookupMineral(*this, cobertura[2]); }

// The organic and the mineral planting blocks share one place; switching clears nothing.
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
