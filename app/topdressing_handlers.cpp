// The three top-dressings: mineral products proposed to close what each
// still misses, listed in its own grid. The blocks differ only in their
// components and their row of stga3.
#include "Closing.h"
#include "StringGrid.h"
#include "TFPrincipal.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// Potash decides the quantity whenever some is missing and the product has
// it; otherwise nitrogen does. Phosphate never decides it.
void propose(TFPrincipal &w, const TFPrincipal::Cobertura &c)
{
    w.lookupMineral(c.combo, c.pctN, c.pctP, c.pctK);

    const auto writeProposal = [&](double qtd, double pN) {
        w.write(c.quantity, w.fmt(qtd, 1));
        w.write(c.kgN, w.fmt(fertilizers::supplied(qtd, pN), 1));
        const double pP = w.readOrZero(c.pctP);
        w.write(c.kgP, w.fmt(fertilizers::supplied(qtd, pP), 1));
        const double pK = w.readOrZero(c.pctK);
        w.write(c.kgK, w.fmt(fertilizers::supplied(qtd, pK), 1));
    };

    // The deciders are tried one at a time, nitrogen first (see
    // fertilizers::topDressingDeciders), each written as soon as it proposes:
    // a text that is not a number further on stops the handler there.
    bool proposed = false;
    const double doseN = w.readOrZero(c.faltN);
    const double pN = w.readOrZero(c.pctN);
    if (const auto qtd = fertilizers::closingProposal(doseN, pN)) {
        writeProposal(*qtd, pN);
        proposed = true;
    }

    const double DoseK = w.readOrZero(c.faltK);
    const double pK = w.readOrZero(c.pctK);
    if (const auto qtd = fertilizers::closingProposal(DoseK, pK)) {
        writeProposal(*qtd, pN);
        proposed = true;
    }
    if (proposed)
        return;

    // No proposal: the quantity in hand stays, and what it supplies is that
    // of the product now chosen, never the figures of the one before. Those
    // go first, so that a quantity that is not a number leaves none behind.
    for (QLineEdit *amount : {c.kgN, c.kgP, c.kgK})
        w.write(amount, QString());
    if (!c.quantity->text().isEmpty())
        w.writeSupplied(c.kgN, c.kgP, c.kgK, w.read(c.quantity), pN, w.readOrZero(c.pctP), pK, 1);
}

void calculate(TFPrincipal &w, const TFPrincipal::Cobertura &c)
{
    const double qtd = w.read(c.quantity);
    const double pn = w.readOrZero(c.pctN), pp = w.readOrZero(c.pctP), pk = w.readOrZero(c.pctK);
    w.writeSupplied(c.kgN, c.kgP, c.kgK, qtd, pn, pp, pk, 2);
}

void insert(TFPrincipal &w, const TFPrincipal::Cobertura &c)
{
    w.insertProduct(c.grid, c.row,
                    {c.combo->currentText(), c.quantity->text(), c.kgN->text(), c.kgP->text(), c.kgK->text()});
}

} // namespace

void TFPrincipal::ComboBox3Change() { propose(*this, cobertura[0]); }
void TFPrincipal::ComboBox4Change() { propose(*this, cobertura[1]); }
void TFPrincipal::ComboBox5Change() { propose(*this, cobertura[2]); }
void TFPrincipal::Button10Click() { calculate(*this, cobertura[0]); }
void TFPrincipal::Button18Click() { calculate(*this, cobertura[1]); }
void TFPrincipal::Button21Click() { calculate(*this, cobertura[2]); }
void TFPrincipal::Button11Click() { insert(*this, cobertura[0]); }
void TFPrincipal::Button19Click() { insert(*this, cobertura[1]); }
void TFPrincipal::Button22Click() { insert(*this, cobertura[2]); }
void TFPrincipal::Button13Click() { clearProducts(cobertura[0].grid, cobertura[0].row); }
void TFPrincipal::Button20Click() { clearProducts(cobertura[1].grid, cobertura[1].row); }
void TFPrincipal::Button23Click() { clearProducts(cobertura[2].grid, cobertura[2].row); }
