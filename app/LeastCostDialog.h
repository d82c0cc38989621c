#pragma once
// "Menor custo...": what is still missing in each application composed at
// the least cost with the store's prices, in bags for the field, with the
// balance of every nutrient, the shopping list and the costs. The price list
// is edited in its own tab; "Aplicar" hands the composition to the window.
#include "core/NumberText.h"
#include "fertilizers/LeastCost.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QLocale>
#include <QTimer>
#include <array>
#include <atomic>
#include <memory>

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
    // The options as they stand; none while one cannot be read.
    std::optional<fertilizers::CompositionOptions> options() const;
    // A product under this quantity is not spread evenly: the default least
    // quantity, kg/ha.
    static constexpr double defaultLeastKgHa = 10;
    // Whether the technician changed the price list here.
    bool priceListEdited() const;
    PriceListEditor *priceEditor() const { return editor_; }
    // Composes again now, in this thread, rather than once typing pauses.
    void recompose();
    // Whether a change waits for its composition or one is being made off
    // the window's thread; the last one made stays shown meanwhile.
    bool composing() const;

    // A change not yet composed is composed before the answer, so that
    // "Aplicar" applies what the last change gives; a composition in
    // progress is dropped.
    void done(int result) override;
    ~LeastCostDialog() override;

    // The pause after typing before composing again, ms.
    static constexpr int typingPause = 300;

    // What a composition with its options gives, and whether bags bought
    // for the season keep within the tolerance where whole bags per
    // application do not.
    struct Composed {
        fertilizers::Composition composition;
        bool seasonFits = false;
    };

protected:
    // Enter in a field moves on, as in the window; it never applies.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // An option or a price changed.
    void changed();
    // Starts composing off the window's thread what the fields hold now.
    void startComposing();
    void display(const Composed &composed, const fertilizers::PriceList &prices);
    void showProblem(const QString &message);
    // Drops whatever composition is in progress.
    void dropComposition();

    // The options as typed; raises the number error of a field.
    fertilizers::CompositionOptions readOptions() const;
    void setOptions(const fertilizers::CompositionOptions &options);

    NumberText numbers_;
    QLocale regional_;
    Needs needs_;
    std::optional<fertilizers::Composition> composition_;
    QTimer recompose_;
    // The number of the newest composition started, shared with the worker
    // so that one superseded stops at its next programme.
    std::shared_ptr<std::atomic<quint64>> latest_ = std::make_shared<std::atomic<quint64>>(0);
    QFutureWatcher<std::optional<Composed>> *watcher_ = nullptr;
    fertilizers::PriceList composingPrices_;
    QLabel *progress_ = nullptr, *seasonHint_ = nullptr;
    QTabWidget *tabs_ = nullptr;
    QLineEdit *area_ = nullptr, *tolerancePercent_ = nullptr, *toleranceKgHa_ = nullptr, *leastKgHa_ = nullptr;
    QSpinBox *maxProducts_ = nullptr;
    QRadioButton *perApplication_ = nullptr, *forSeason_ = nullptr;
    QTextBrowser *view_ = nullptr;
    QLabel *applied_ = nullptr;
    PriceListEditor *editor_ = nullptr;
    QPushButton *apply_ = nullptr;
};
