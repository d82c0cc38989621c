// "Menor custo...": what each application still misses composed at the
// least cost with the store's prices, and put into the product lists by the
// same "Inserir" a technician uses, so the lists, "Faltante", the reports
// and the case follow and everything stays editable by hand.
#include "agronomy/Applications.h"
#include "agronomy/Recommendation.h"
#include "app/LeastCostDialog.h"
#include "app/UserPriceList.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"
#include "core/Working.h"
#include "fertilizers/MineralCatalogue.h"
#include "reports/CostSection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QShortcut>
#include <algorithm>
#include <cmath>

using namespace applications;

namespace {

// The catalogue's position of a product named as one of its items (the
// planting and top-dressing lists hold the catalogue in the same order), or
// -1 for a product of the store's own.
int catalogueItem(const QString &name)
{
    const QString wanted = name.simplified();
    for (int i = 0; i < fertilizers::mineralCount; ++i) {
        const fertilizers::MineralFertilizer &m = fertilizers::AdubosMinerais[size_t(i)];
        if (QString::fromUtf8(m.plantingText).simplified() == wanted
            || QString::fromUtf8(m.topDressingText).simplified() == wanted)
            return i;
    }
    return -1;
}

} // namespace

void TFPrincipal::buildLeastCostButton()
{
    // After "Importar...", in the free space before the report date, and
    // after it in the tab order.
    btnMenorCusto = ui::button(this, QStringLiteral("btnMenorCusto"), QStringLiteral("Menor custo..."), 488, 658, 90, 26);
    btnMenorCusto->setToolTip(
        QStringLiteral("Compor o que falta em cada aplicação ao menor custo, com os preços da loja (Ctrl+M)"));
    setTabOrder(btnImportar, btnMenorCusto);
    onClick(btnMenorCusto, &TFPrincipal::btnMenorCustoClick);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(shortcut, &QShortcut::activated, this, [this] { guard(&TFPrincipal::btnMenorCustoClick); });
}

std::array<fertilizers::NutrientNeed, fertilizers::applicationCount> TFPrincipal::missingNutrients() const
{
    // What the case holds under "Faltante": an empty field is nothing
    // missing, an amount already exceeded is nothing missing either.
    const model::Case c = caseState();
    const auto need = [this](const model::Nutrients &missing) {
        fertilizers::NutrientNeed n{};
        const model::Number *amounts[] = {&missing.n, &missing.p2o5, &missing.k2o};
        for (size_t i = 0; i < n.size(); ++i)
            n[i] = amounts[i]->text.isEmpty() ? 0.0 : std::max(0.0, read(amounts[i]->text));
        return n;
    };
    std::array<fertilizers::NutrientNeed, fertilizers::applicationCount> needs{};
    needs[0] = need(c.planting.missing);
    for (size_t i = 0; i < c.topDressings.size(); ++i)
        needs[i + 1] = need(c.topDressings[i].missing);
    return needs;
}

void TFPrincipal::btnMenorCustoClick()
{
    const auto needs = missingNutrients();
    if (!userPrices_) {
        QString problem;
        userPrices_ = loadUserPriceList(&problem);
        if (!problem.isEmpty())
            showError(problem);
    }
    // The options as last left in the dialog, else those of the composition
    // applied, else the defaults with a least quantity a spreader can apply.
    fertilizers::CompositionOptions options;
    options.leastKgHa = LeastCostDialog::defaultLeastKgHa;
    if (leastCostOptions_)
        options = *leastCostOptions_;
    // The area of a case with a composition is the one it was composed for.
    if (composition_)
        options.areaHa = composition_->options.areaHa;
    if (!leastCostOptions_ && composition_)
        options = composition_->options;
    LeastCostDialog dialog(numbers_, regional_, *userPrices_, needs, options, this);
    if (composition_)
        dialog.noteApplied(*composition_);
    const bool applied = dialog.exec() == QDialog::Accepted;
    if (const std::optional<fertilizers::CompositionOptions> left = dialog.options())
        leastCostOptions_ = left;
    // The list is the technician's whatever the answer: kept for the next time.
    if (dialog.priceListEdited()) {
        userPrices_ = dialog.priceList();
        saveUserPriceList(*userPrices_);
    }
    if (applied && dialog.composition())
        applyComposition(dialog.priceList(), *dialog.composition());
}

void TFPrincipal::applyComposition(const fertilizers::PriceList &prices, const fertilizers::Composition &composition)
{
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        ApplicationBlock &a = block(row);
        for (const fertilizers::ComposedProduct &composed : composition.applications[size_t(row - Planting)].products) {
            if (composed.product < 0 || composed.product >= prices.products.size() || !(composed.kgHa > 0))
                continue;
            const fertilizers::PricedProduct &p = prices.products[composed.product];
            // The product in hand as a technician would set it: its name in
            // the list (the catalogue's item when it is one), its contents,
            // the quantity, "Calcular", then "Inserir".
            {
                const QSignalBlocker quiet(a.combo);
                const int item = catalogueItem(p.name);
                a.combo->setCurrentIndex(item);
                if (item < 0)
                    a.combo->setEditText(p.name);
            }
            const double contents[] = {p.n, p.p2o5, p.k2o};
            for (int n = 0; n < nutrients; ++n)
                write(a.percent[n], contents[n] > 0 ? agronomy::typedText(contents[n], numbers_) : QString());
            // The list writes kg/ha with one decimal: rounded up, so that what
            // the rounded quantity supplies still meets the need (bags for the
            // season leave quantities that are no whole tenths).
            const double listed = reports::listedKgHa(composed.kgHa);
            write(a.quantity, fmt(listed, 1));
            // The quantity was written by the composition, not typed: its
            // working says where it came from.
            Working w(numbers(), 1);
            const QString area = w.value(composition.options.areaHa);
            if (p.bagKg <= 0)
                w.say(QStringLiteral("composição de menor custo: %1 kg a granel na área de %2 ha = %3 kg/ha")
                          .arg(w.value(composed.kgField), area, w.value(composed.kgHa)));
            else if (composition.options.seasonBags)
                w.say(QStringLiteral("composição de menor custo, com os sacos comprados para a safra: %1 kg na área "
                                     "de %2 ha = %3 kg/ha")
                          .arg(w.value(composed.kgField), area, w.value(composed.kgHa)));
            else
                w.say(QStringLiteral("composição de menor custo: %1 %2 de %3 kg na área de %4 ha = %5 kg/ha")
                          .arg(QString::number(std::llround(composed.bags)),
                               std::llround(composed.bags) == 1 ? QStringLiteral("saco") : QStringLiteral("sacos"),
                               w.value(p.bagKg), area, w.value(composed.kgHa)));
            if (std::abs(listed - composed.kgHa) > 1e-9)
                w.say(QStringLiteral("arredondado para cima ao décimo, para que a lista ainda atenda a necessidade"));
            explain({a.quantity}, a.section(),
                    w.told(QStringLiteral("Quantidade do adubo mineral"), a.quantity->text() + QStringLiteral(" kg")),
                    {});
            a.calculate();
            a.insertMineral();
        }
    }
    // Planting's mineral block shows the product last inserted, as after
    // "Inserir" by hand; switching blocks clears nothing.
    if (!composition.applications[0].products.isEmpty() && !RadioButton2->isChecked()) {
        RadioButton2->setChecked(true);
        RadioButton2Click();
    }
    prices_ = prices;
    composition_ = composition;
    if (modifiedCheck_.isSingleShot())
        modifiedCheck_.start();
}
