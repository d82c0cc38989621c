// The four applications' blocks as the window reaches them, and "Limpar",
// which also takes the list's products out of the composition applied.
#include "agronomy/Applications.h"
#include "fertilizers/LeastCost.h"
#include "app/ApplicationBlock.h"
#include "app/TFPrincipal.h"

using namespace applications;

ApplicationBlock &TFPrincipal::block(int row) const
{
    return *blocks_[size_t(row - Planting)];
}

const ApplicationBlock &TFPrincipal::application(int row) const
{
    return block(row);
}

QLineEdit *TFPrincipal::faltante(int row, int nutrientColumn) const
{
    return application(row).faltante[size_t(nutrientColumn - NColumn)];
}

void TFPrincipal::clearProducts(int row)
{
    // The composition applied no longer holds for this list: its products
    // leave the cost of the case and the shopping list.
    const size_t composed = size_t(row - Planting);
    if (composition_ && !composition_->applications[composed].products.isEmpty()) {
        composition_ = fertilizers::withoutApplication(*composition_, int(composed));
        bool any = false;
        for (const fertilizers::ApplicationPlan &plan : composition_->applications)
            any = any || !plan.products.isEmpty();
        if (!any)
            composition_.reset();
    }
    block(row).clear();
}
