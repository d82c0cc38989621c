// The three top-dressings: mineral products proposed to close what each
// still misses, listed in its own grid. The blocks differ only in their
// components and their row of stga3; "Calcular", "Inserir" and "Limpar" are
// those of every application.
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "fertilizers/Closing.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"

#include <QComboBox>
#include <QLineEdit>

using namespace applications;

namespace {

// The nutrient's place in the application's triples.
Nutrient triplePlace(fertilizers::Nutrient nutrient)
{
    return nutrient == fertilizers::Nutrient::N ? N : K2O;
}

// Potash decides the quantity whenever some is missing and the product has
// it; otherwise nitrogen does. Phosphate never decides it.
void propose(TFPrincipal &w, const TFPrincipal::Application &a)
{
    w.lookupMineral(a);

    // Each decider's figures are read when the rule comes to it and each
    // proposal is written as soon as it is made: a text that is not a number
    // further on stops the handler there, with what came before written.
    std::array<double, 3> contents{}; // as the deciders read them
    const QString section = w.sectionOf(a.row);
    Working rule(w.numbers(), 1);
    const auto supply = [&](Nutrient n, double qtd, double content) {
        Working each(w.numbers(), 1);
        w.write(a.kg[n], w.fmt(fertilizers::supplied(qtd, content, 1.0, &each), 1));
        w.explain({a.kg[n]}, section,
                  each.told(QStringLiteral("%1 fornecido").arg(results::nutrientNames[n]), a.kg[n]->text() + QStringLiteral(" kg")),
                  {{a.quantity}, {a.percent[n]}});
    };
    const bool proposed = fertilizers::followTopDressingRule(
        [&](fertilizers::Nutrient nutrient) { return w.readOrZero(a.faltante[triplePlace(nutrient)]); },
        [&](fertilizers::Nutrient nutrient) {
            const Nutrient place = triplePlace(nutrient);
            return contents[place] = w.readOrZero(a.percent[place]);
        },
        [&](const fertilizers::TopDressingProposal &proposal) {
            const double qtd = proposal.quantity;
            w.write(a.quantity, w.fmt(qtd, 1));
            supply(N, qtd, contents[N]);
            const double pP = w.readOrZero(a.percent[P2O5]);
            supply(P2O5, qtd, pP);
            const double pK = w.readOrZero(a.percent[K2O]);
            supply(K2O, qtd, pK);
        },
        &rule);
    const std::initializer_list<TFPrincipal::Place> from{
        {a.combo}, {a.faltante[N]}, {a.faltante[K2O]}, {a.percent[N]}, {a.percent[K2O]}};
    if (proposed) {
        w.explain({a.quantity}, section,
                  rule.told(QStringLiteral("Quantidade proposta"), a.quantity->text() + QStringLiteral(" kg")), from);
        return;
    }
    w.explain({a.quantity}, section,
              {QStringLiteral("Quantidade do produto"), a.quantity->text().isEmpty() ? QStringLiteral("vazio") : a.quantity->text() + QStringLiteral(" kg"),
               rule.why() + QStringLiteral(" Nenhum nutriente decide: fica a quantidade que estava.")},
              from);

    // No proposal: the quantity in hand stays, and what it supplies is that
    // of the product now chosen, never the figures of the one before. Those
    // go first, so that a quantity that is not a number leaves none behind.
    for (QLineEdit *amount : a.kg)
        w.write(amount, QString());
    if (!a.quantity->text().isEmpty()) {
        const double qtd = w.read(a.quantity);
        const double pP = w.readOrZero(a.percent[P2O5]);
        w.writeSupplied(a.kg, qtd, {contents[N], pP, contents[K2O]}, 1);
    }
}

} // namespace

void TFPrincipal::ComboBox3Change() { propose(*this, cobertura[0]); }
void TFPrincipal::ComboBox4Change() { propose(*this, cobertura[1]); }
void TFPrincipal::ComboBox5Change() { propose(*this, cobertura[2]); }
void TFPrincipal::Button10Click() { calculateMineral(cobertura[0]); }
void TFPrincipal::Button18Click() { calculateMineral(cobertura[1]); }
void TFPrincipal::Button21Click() { calculateMineral(cobertura[2]); }
void TFPrincipal::Button11Click() { insertMineral(cobertura[0]); }
void TFPrincipal::Button19Click() { insertMineral(cobertura[1]); }
void TFPrincipal::Button22Click() { insertMineral(cobertura[2]); }
void TFPrincipal::Button13Click() { clearProducts(cobertura[0]); }
void TFPrincipal::Button20Click() { clearProducts(cobertura[1]); }
void TFPrincipal::Button23Click() { clearProducts(cobertura[2]); }
