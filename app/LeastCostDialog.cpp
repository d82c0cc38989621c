#include "app/LeastCostDialog.h"

#include "agronomy/Recommendation.h"
#include "app/CompositionView.h"
#include "app/PriceListEditor.h"
#include "core/Failure.h"
#include "reports/CostSection.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using fertilizers::Composition;

// GLPK, except that a composition superseded by a newer one answers at once:
// the programmes still to come are not solved for nothing. Each call frees
// GLPK's memory of its thread, so a pool thread keeps none of it.
class DroppableSolver : public fertilizers::MipSolver {
public:
    DroppableSolver(std::shared_ptr<std::atomic<quint64>> latest, quint64 number)
        : latest_(std::move(latest)), number_(number)
    {
    }
    bool dropped() const { return latest_->load() != number_; }
    fertilizers::MipAnswer solve(const fertilizers::MixedIntegerProgramme &programme) const override
    {
        return dropped() ? fertilizers::MipAnswer{} : fertilizers::glpkSolver().solve(programme);
    }

private:
    std::shared_ptr<std::atomic<quint64>> latest_;
    quint64 number_;
};

// Whether some application's excess passes its tolerance.
bool beyondTolerance(const Composition &c)
{
    for (const fertilizers::ApplicationPlan &plan : c.applications)
        for (size_t n = 0; n < plan.needed.size(); ++n) {
            const double tolerance =
                std::max(plan.needed[n] * c.options.tolerancePercent / 100, c.options.toleranceKgHa);
            if (plan.excess[n] > tolerance + 0.005)
                return true;
        }
    return false;
}

std::optional<LeastCostDialog::Composed> compose(const fertilizers::PriceList &prices,
                                                 const LeastCostDialog::Needs &needs,
                                                 const fertilizers::CompositionOptions &options,
                                                 const DroppableSolver &solver)
{
    LeastCostDialog::Composed composed{fertilizers::composeLeastCost(prices, needs, options, solver)};
    if (solver.dropped())
        return std::nullopt;
    // On a small field one bag can pass the tolerance of an application
    // while the season's bags, shared between the applications, do not.
    if (!options.seasonBags && beyondTolerance(composed.composition)) {
        fertilizers::CompositionOptions season = options;
        season.seasonBags = true;
        const Composition other = fertilizers::composeLeastCost(prices, needs, season, solver);
        if (solver.dropped())
            return std::nullopt;
        composed.seasonFits = other.status == fertilizers::CompositionStatus::Composed && !beyondTolerance(other);
    }
    return composed;
}

} // namespace

LeastCostDialog::LeastCostDialog(const NumberText &numbers, const QLocale &regional,
                                 const fertilizers::PriceList &prices, const Needs &needs,
                                 const fertilizers::CompositionOptions &options, QWidget *parent)
    : QDialog(parent), numbers_(numbers), regional_(regional), needs_(needs)
{
    setObjectName(QStringLiteral("leastCostDialog"));
    setWindowTitle(QStringLiteral("Menor custo"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Compõe o que ainda falta (\"Faltante\") no plantio e em cada cobertura com os "
                                            "produtos minerais da lista de preços, ao menor custo. Os produtos já "
                                            "inseridos, orgânicos ou não, ficam como estão."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    applied_ = new QLabel(this);
    applied_->setObjectName(QStringLiteral("appliedNote"));
    applied_->setWordWrap(true);
    applied_->hide();
    layout->addWidget(applied_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("leastCostTabs"));
    layout->addWidget(tabs_);

    auto *compositionPage = new QWidget(tabs_);
    auto *pageLayout = new QVBoxLayout(compositionPage);
    auto *group = new QGroupBox(QStringLiteral("Opções"), compositionPage);
    auto *grid = new QGridLayout(group);
    const auto field = [&](const char *name) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(QLatin1String(name));
        edit->setMaximumWidth(70);
        connect(edit, &QLineEdit::textChanged, this, &LeastCostDialog::changed);
        return edit;
    };
    area_ = field("areaHa");
    tolerancePercent_ = field("tolerancePercent");
    toleranceKgHa_ = field("toleranceKgHa");
    leastKgHa_ = field("leastKgHa");
    maxProducts_ = new QSpinBox(group);
    maxProducts_->setObjectName(QStringLiteral("maxProducts"));
    maxProducts_->setRange(1, 9);
    connect(maxProducts_, &QSpinBox::valueChanged, this, &LeastCostDialog::changed);
    perApplication_ = new QRadioButton(QStringLiteral("Sacos inteiros em cada aplicação"), group);
    perApplication_->setObjectName(QStringLiteral("bagsPerApplication"));
    forSeason_ = new QRadioButton(QStringLiteral("Sacos comprados para a safra"), group);
    forSeason_->setObjectName(QStringLiteral("bagsForSeason"));
    connect(forSeason_, &QRadioButton::toggled, this, &LeastCostDialog::changed);

    grid->addWidget(new QLabel(QStringLiteral("Área da lavoura (ha):"), group), 0, 0);
    grid->addWidget(area_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Produtos por aplicação, no máximo:"), group), 0, 2);
    grid->addWidget(maxProducts_, 0, 3);
    grid->addWidget(perApplication_, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Excesso tolerado, o maior entre (%):"), group), 1, 0);
    auto *tolerance = new QHBoxLayout;
    tolerance->addWidget(tolerancePercent_);
    tolerance->addWidget(new QLabel(QStringLiteral("e (kg/ha):"), group));
    tolerance->addWidget(toleranceKgHa_);
    tolerance->addStretch();
    grid->addLayout(tolerance, 1, 1);
    auto *least = new QLabel(QStringLiteral("Quantidade mínima de um produto (kg/ha):"), group);
    const QString leastTip = QStringLiteral("Menos que isto de um produto não se distribui por igual na lavoura; "
                                            "sugerido: %1 kg/ha")
                                 .arg(numbers_.format(defaultLeastKgHa, 0));
    least->setToolTip(leastTip);
    leastKgHa_->setToolTip(leastTip);
    grid->addWidget(least, 1, 2);
    grid->addWidget(leastKgHa_, 1, 3);
    grid->addWidget(forSeason_, 1, 4);
    grid->setColumnStretch(5, 1);
    pageLayout->addWidget(group);

    progress_ = new QLabel(QStringLiteral("Compondo... (a composição abaixo é a anterior)"), compositionPage);
    progress_->setObjectName(QStringLiteral("composingNote"));
    progress_->setVisible(false);
    pageLayout->addWidget(progress_);
    seasonHint_ = new QLabel(QStringLiteral("Com sacos inteiros em cada aplicação, o excesso passa da tolerância; com os "
                                            "sacos comprados para a safra, não passa: escolha \"Sacos comprados para a "
                                            "safra\"."),
                             compositionPage);
    seasonHint_->setObjectName(QStringLiteral("seasonHint"));
    seasonHint_->setWordWrap(true);
    seasonHint_->setStyleSheet(QStringLiteral("color:#a05000; font-weight:bold"));
    seasonHint_->setVisible(false);
    pageLayout->addWidget(seasonHint_);

    view_ = new QTextBrowser(compositionPage);
    view_->setObjectName(QStringLiteral("compositionView"));
    view_->setOpenLinks(false);
    pageLayout->addWidget(view_, 1);
    tabs_->addTab(compositionPage, QStringLiteral("Composição"));

    editor_ = new PriceListEditor(numbers_, regional, tabs_);
    editor_->setPriceList(prices);
    connect(editor_, &PriceListEditor::changed, this, &LeastCostDialog::changed);
    tabs_->addTab(editor_, QStringLiteral("Lista de preços"));

    auto *buttons = new QDialogButtonBox(this);
    apply_ = buttons->addButton(QStringLiteral("Aplicar"), QDialogButtonBox::AcceptRole);
    apply_->setObjectName(QStringLiteral("applyComposition"));
    apply_->setToolTip(QStringLiteral("Inserir os produtos compostos nas listas do plantio e das coberturas"));
    QPushButton *close = buttons->addButton(QStringLiteral("Fechar"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeLeastCost"));
    // Enter never applies nor closes: "Aplicar" is pressed on purpose.
    apply_->setAutoDefault(false);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Every change composes again once typing pauses, off the window's
    // thread, so that the window answers while a composition is made.
    recompose_.setSingleShot(true);
    recompose_.setInterval(typingPause);
    connect(&recompose_, &QTimer::timeout, this, &LeastCostDialog::startComposing);
    watcher_ = new QFutureWatcher<std::optional<Composed>>(this);
    connect(watcher_, &QFutureWatcherBase::finished, this, [this] {
        const std::optional<Composed> composed = watcher_->result();
        // One superseded meanwhile is not shown: the newer one follows.
        if (composed && !recompose_.isActive())
            display(*composed, composingPrices_);
        progress_->setVisible(composing());
    });
    setOptions(options);
    recompose();
    progress_->setVisible(false);
    // Without a single price there is nothing to compose: the list first.
    bool priced = false;
    for (const fertilizers::PricedProduct &p : prices.products)
        priced = priced || p.pricePerKg().has_value();
    tabs_->setCurrentIndex(priced ? 0 : 1);
    resize(980, 700);
}

void LeastCostDialog::setOptions(const fertilizers::CompositionOptions &o)
{
    const QSignalBlocker blockers[] = {QSignalBlocker(area_), QSignalBlocker(tolerancePercent_),
                                       QSignalBlocker(toleranceKgHa_), QSignalBlocker(leastKgHa_),
                                       QSignalBlocker(maxProducts_), QSignalBlocker(forSeason_)};
    area_->setText(agronomy::typedText(o.areaHa, numbers_));
    tolerancePercent_->setText(agronomy::typedText(o.tolerancePercent, numbers_));
    toleranceKgHa_->setText(agronomy::typedText(o.toleranceKgHa, numbers_));
    leastKgHa_->setText(agronomy::typedText(o.leastKgHa, numbers_));
    maxProducts_->setValue(o.maxProducts);
    (o.seasonBags ? forSeason_ : perApplication_)->setChecked(true);
}

fertilizers::CompositionOptions LeastCostDialog::readOptions() const
{
    fertilizers::CompositionOptions o;
    const auto read = [&](const QLineEdit *edit, const QString &what, bool positive) {
        const double v = numbers_.toDouble(edit->text());
        if (positive ? !(v > 0) : v < 0)
            throw Failure(QStringLiteral("%1: \"%2\" não serve; informe um número %3.")
                              .arg(what, edit->text(), positive ? QStringLiteral("maior que zero")
                                                                : QStringLiteral("positivo ou zero")));
        return v;
    };
    o.areaHa = read(area_, QStringLiteral("Área da lavoura"), true);
    o.tolerancePercent = read(tolerancePercent_, QStringLiteral("Excesso tolerado (%)"), false);
    o.toleranceKgHa = read(toleranceKgHa_, QStringLiteral("Excesso tolerado (kg/ha)"), false);
    o.leastKgHa = read(leastKgHa_, QStringLiteral("Quantidade mínima"), false);
    o.maxProducts = maxProducts_->value();
    o.seasonBags = forSeason_->isChecked();
    return o;
}

std::optional<fertilizers::CompositionOptions> LeastCostDialog::options() const
{
    try {
        return readOptions();
    } catch (const Failure &) {
        return std::nullopt;
    }
}

fertilizers::PriceList LeastCostDialog::priceList() const { return editor_->priceList(); }

bool LeastCostDialog::priceListEdited() const { return editor_->edited(); }

void LeastCostDialog::recompose()
{
    recompose_.stop();
    dropComposition();
    const fertilizers::PriceList prices = priceList();
    fertilizers::CompositionOptions options;
    try {
        options = readOptions();
    } catch (const Failure &failure) {
        showProblem(failure.message());
        return;
    }
    if (const std::optional<Composed> composed = compose(prices, needs_, options, DroppableSolver(latest_, *latest_)))
        display(*composed, prices);
}

void LeastCostDialog::startComposing()
{
    dropComposition();
    fertilizers::CompositionOptions options;
    try {
        options = readOptions();
    } catch (const Failure &failure) {
        showProblem(failure.message());
        return;
    }
    composingPrices_ = priceList();
    const quint64 number = ++*latest_;
    progress_->setVisible(true);
    watcher_->setFuture(QtConcurrent::run(
        [prices = composingPrices_, needs = needs_, options, solver = DroppableSolver(latest_, number)] {
            return compose(prices, needs, options, solver);
        }));
}

void LeastCostDialog::changed()
{
    // Composed once typing pauses; meanwhile the last composition stays in
    // view, said to be the previous one.
    recompose_.start();
    progress_->setVisible(true);
}

void LeastCostDialog::dropComposition()
{
    // The worker sees the newer number and stops at its next programme.
    ++*latest_;
    progress_->setVisible(recompose_.isActive());
}

bool LeastCostDialog::composing() const { return recompose_.isActive() || watcher_->isRunning(); }

void LeastCostDialog::showProblem(const QString &message)
{
    composition_.reset();
    view_->setHtml(optionProblemHtml(message));
    seasonHint_->setVisible(false);
    apply_->setEnabled(false);
    progress_->setVisible(composing());
}

void LeastCostDialog::display(const Composed &composed, const fertilizers::PriceList &prices)
{
    composition_ = composed.composition;
    const int scroll = view_->verticalScrollBar()->value();
    view_->setHtml(compositionHtml(*composition_, prices, numbers_, regional_));
    view_->verticalScrollBar()->setValue(scroll);
    seasonHint_->setVisible(composed.seasonFits);
    bool any = false;
    for (const fertilizers::ApplicationPlan &plan : composition_->applications)
        any = any || !plan.products.isEmpty();
    apply_->setEnabled(any);
    progress_->setVisible(composing());
}

void LeastCostDialog::done(int result)
{
    if (result == QDialog::Accepted && (recompose_.isActive() || watcher_->isRunning()))
        recompose();
    recompose_.stop();
    dropComposition();
    QDialog::done(result);
}

LeastCostDialog::~LeastCostDialog()
{
    // The worker keeps its own copies: it is let go, never waited for.
    ++*latest_;
    watcher_->disconnect(this);
}

void LeastCostDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()); button && event->modifiers() == Qt::NoModifier)
            button->click();
        else
            focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LeastCostDialog::noteApplied(const fertilizers::Composition &applied)
{
    applied_->setText(QStringLiteral("O caso já tem uma composição aplicada (%1 na área de %2 ha). \"Aplicar\" compõe só "
                                     "o que ainda falta e a substitui nos relatórios; os produtos já inseridos ficam "
                                     "nas listas.")
                          .arg(QStringLiteral("R$ ") + reports::moneyText(applied.costField, numbers_),
                               numbers_.format(applied.options.areaHa, 2)));
    applied_->show();
}
