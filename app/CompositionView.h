#pragma once
// The least-cost composition as the dialog shows it: each application's
// products and balance, the shopping list, the costs and the price of each
// nutrient by product, as rich text with the window's number texts.
#include "core/NumberText.h"
#include "fertilizers/LeastCost.h"

#include <QLocale>
#include <QString>

QString compositionHtml(const fertilizers::Composition &composition, const fertilizers::PriceList &prices,
                        const NumberText &numbers, const QLocale &regional);
// What stops the composition: an option that cannot be read.
QString optionProblemHtml(const QString &message);
