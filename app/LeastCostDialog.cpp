#include "app/LeastCostDialog.h"

#include "agronomy/Recommendation.h"
#include "app/CompositionView.h"
#include "app/PriceListEditor.h"
#include "core/Failure.h"

#include <QDialogButtonBox>
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
        connect(edit, &QLineEdit::textChanged, &recompose_, qOverload<>(&QTimer::start));
        return edit;
    };
    area_ = field("areaHa");
    tolerancePercent_ = field("tolerancePercent");
    toleranceKgHa_ = field("toleranceKgHa");
    leastKgHa_ = field("leastKgHa");
    maxProducts_ = new QSpinBox(group);
    maxProducts_->setObjectName(QStringLiteral("maxProducts"));
    maxProducts_->setRange(1, 9);
    connect(maxProducts_, &QSpinBox::valueChanged, &recompose_, qOverload<>(&QTimer::start));
    perApplication_ = new QRadioButton(QStringLiteral("Sacos inteiros em cada aplicação"), group);
    perApplication_->setObjectName(QStringLiteral("bagsPerApplication"));
    forSeason_ = new QRadioButton(QStringLiteral("Sacos comprados para a safra"), group);
    forSeason_->setObjectName(QStringLiteral("bagsForSeason"));
    connect(forSeason_, &QRadioButton::toggled, &recompose_, qOverload<>(&QTimer::start));

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
    grid->addWidget(new QLabel(QStringLiteral("Quantidade mínima de um produto (kg/ha):"), group), 1, 2);
    grid->addWidget(leastKgHa_, 1, 3);
    grid->addWidget(forSeason_, 1, 4);
    grid->setColumnStretch(5, 1);
    pageLayout->addWidget(group);

    view_ = new QTextBrowser(compositionPage);
    view_->setObjectName(QStringLiteral("compositionView"));
    view_->setOpenLinks(false);
    pageLayout->addWidget(view_, 1);
    tabs_->addTab(compositionPage, QStringLiteral("Composição"));

    editor_ = new PriceListEditor(numbers_, regional, tabs_);
    editor_->setPriceList(prices);
    connect(editor_, &PriceListEditor::changed, &recompose_, qOverload<>(&QTimer::start));
    tabs_->addTab(editor_, QStringLiteral("Lista de preços"));

    auto *buttons = new QDialogButtonBox(this);
    apply_ = buttons->addButton(QStringLiteral("Aplicar"), QDialogButtonBox::AcceptRole);
    apply_->setObjectName(QStringLiteral("applyComposition"));
    apply_->setToolTip(QStringLiteral("Inserir os produtos compostos nas listas do plantio e das coberturas"));
    QPushButton *close = buttons->addButton(QStringLiteral("Fechar"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeLeastCost"));
    // Enter in an option or a price composes again; it neither applies nor closes.
    apply_->setAutoDefault(false);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Every change composes again once the event that made it is over, so
    // that a price typed digit by digit costs one composition per event.
    recompose_.setSingleShot(true);
    recompose_.setInterval(0);
    connect(&recompose_, &QTimer::timeout, this, &LeastCostDialog::recompose);
    setOptions(options);
    recompose();
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

fertilizers::PriceList LeastCostDialog::priceList() const { return editor_->priceList(); }

bool LeastCostDialog::priceListEdited() const { return editor_->edited(); }

void LeastCostDialog::recompose()
{
    recompose_.stop();
    const fertilizers::PriceList prices = priceList();
    try {
        composition_ = fertilizers::composeLeastCost(prices, needs_, readOptions());
    } catch (const Failure &failure) {
        composition_.reset();
        view_->setHtml(optionProblemHtml(failure.message()));
        apply_->setEnabled(false);
        return;
    }
    const int scroll = view_->verticalScrollBar()->value();
    view_->setHtml(compositionHtml(*composition_, prices, numbers_, regional_));
    view_->verticalScrollBar()->setValue(scroll);
    bool any = false;
    for (const fertilizers::ApplicationPlan &plan : composition_->applications)
        any = any || !plan.products.isEmpty();
    apply_->setEnabled(any);
}

void LeastCostDialog::done(int result)
{
    if (recompose_.isActive())
        recompose();
    QDialog::done(result);
}

void LeastCostDialog::noteApplied(const fertilizers::Composition &applied)
{
    applied_->setText(QStringLiteral("O caso já tem uma composição aplicada (%1 na área de %2 ha). \"Aplicar\" compõe só "
                                     "o que ainda falta e a substitui nos relatórios; os produtos já inseridos ficam "
                                     "nas listas.")
                          .arg(QStringLiteral("R$ ") + numbers_.format(applied.costField, 2),
                               numbers_.format(applied.options.areaHa, 2)));
    applied_->show();
}
