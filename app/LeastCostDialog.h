#pragma once
// "Menor custo...": what is still missing in each application composed at
// the least cost with the store's prices, in bags for the field, with the
// balance of every nutrient, the shopping list and the costs. The price list
// is edited in its own tab; "Aplicar" hands the composition to the window.
#include "core/NumberText.h"
#include "fertilizers/LeastCost.h"

#include <QDialog>
#include <QLocale>
#include <QTimer>
#include <array>

class PriceListEditor;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTextBrowser;

class LeastCostDialog : public QDialog {
    Q_OBJECT
public:
    using Needs = std::array<fertilizers::NutrientNeed, fertilizers::applicationCount>;

    LeastCostDialog(const NumberText &numbers, const QLocale &regional, const fertilizers::PriceList &prices,
                    const Needs &needs, const fertilizers::CompositionOptions &options, QWidget *parent = nullptr);

    // Says that the case already holds a composition, which "Aplicar" replaces.
    void noteApplied(const fertilizers::Composition &applied);

    // The composition shown, made with priceList() and options(); none while
    // an option cannot be read.
    const std::optional<fertilizers::Composition> &composition() const { return composition_; }
    fertilizers::PriceList priceList() const;
    // Whether the technician changed the price list here.
    bool priceListEdited() const;
    PriceListEditor *priceEditor() const { return editor_; }
    // Composes again now rather than once the current event is over.
    void recompose();

    // A change not yet composed is composed before the answer, so that
    // "Aplicar" applies what the last change gives.
    void done(int result) override;

private:
    // The options as typed; raises the number error of a field.
    fertilizers::CompositionOptions readOptions() const;
    void setOptions(const fertilizers::CompositionOptions &options);

    NumberText numbers_;
    QLocale regional_;
    Needs needs_;
    std::optional<fertilizers::Composition> composition_;
    QTimer recompose_;
    QTabWidget *tabs_ = nullptr;
    QLineEdit *area_ = nullptr, *tolerancePercent_ = nullptr, *toleranceKgHa_ = nullptr, *leastKgHa_ = nullptr;
    QSpinBox *maxProducts_ = nullptr;
    QRadioButton *perApplication_ = nullptr, *forSeason_ = nullptr;
    QTextBrowser *view_ = nullptr;
    QLabel *applied_ = nullptr;
    PriceListEditor *editor_ = nullptr;
    QPushButton *apply_ = nullptr;
};
