#include "app/ApplicationBlock.h"
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "fertilizers/Closing.h"
#include "fertilizers/MineralCatalogue.h"
#include "app/HandlerHost.h"
#include "app/StringGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

using namespace applications;

namespace {

const ApplicationBlock::Names blockNames[] = {
    {"GroupBox25", "stga4", {"Edit50", "Edit52", "Edit54"}, "ComboBox2", "Edit40", "Button8", "Button9", "Button7",
     {"Edit34", "Edit35", "Edit36"}, {"Edit37", "Edit38", "Edit39"}},
    {"GroupBox28", "stga5", {"Edit64", "Edit66", "Edit67"}, "ComboBox3", "Edit41", "Button10", "Button11", "Button13",
     {"Edit42", "Edit43", "Edit44"}, {"Edit45", "Edit46", "Edit47"}},
    {"GroupBox32", "Stga6", {"Edit49", "Edit51", "Edit53"}, "ComboBox4", "Edit48", "Button18", "Button19", "Button20",
     {"Edit71", "Edit72", "Edit73"}, {"Edit74", "Edit75", "Edit76"}},
    {"GroupBox47", "stga7", {"Edit78", "Edit79", "Edit80"}, "ComboBox5", "Edit77", "Button21", "Button22", "Button23",
     {"Edit81", "Edit82", "Edit83"}, {"Edit84", "Edit85", "Edit86"}},
};

// What tells one top-dressing block from the others on screen: the names of
// its inner groups, its caption, colour and quantity label.
struct TopDressingLook {
    const char *caption;
    QColor colour;
    const char *faltanteGroup, *mineralGroup, *quantityLabel, *percentGroup, *kgGroup;
};
const TopDressingLook topDressingLooks[] = {
    {"Adubação na 1ª Cobertura", ui::colour::cream, "GroupBox43", "GroupBox29", "Quant. (kg)", "GroupBox30",
     "GroupBox31"},
    {"Adubação na 2ª Cobertura", ui::colour::silver, "GroupBox44", "GroupBox33", "Quantidade (kg)", "GroupBox45",
     "GroupBox46"},
    {"Adubação na 3ª Cobertura", ui::colour::activeCaption, "GroupBox49", "GroupBox48", "Qutidade (kg)",
     "GroupBox50", "GroupBox51"},
};

// The right column of the tab: the three top-dressings one above the other.
constexpr int topDressingX = 566;
constexpr int topDressingWidth = 602;
constexpr int topDressingHeight = 204;
constexpr int topDressingGap = 3;

QString name(const char *text) { return QString::fromUtf8(text); }

QString captionOf(int row)
{
    return row == Planting ? QStringLiteral("Adubação de plantio")
                           : QString::fromUtf8(topDressingLooks[row - FirstTopDressing].caption);
}

// The nutrient's place in the application's triples.
Nutrient triplePlace(fertilizers::Nutrient nutrient)
{
    return nutrient == fertilizers::Nutrient::N ? N : K2O;
}

} // namespace

const ApplicationBlock::Names &ApplicationBlock::namesOf(int row)
{
    return blockNames[row - Planting];
}

ApplicationBlock::ApplicationBlock(int row, const StringGrid *doses, HandlerHost &host, WorkingLedger &working,
                                   QWidget *parent, const PlantingParts &planting)
    : ui::Group(captionOf(row), parent), row_(row), doses_(doses), host_(host), working_(working)
{
    const Names &n = namesOf(row);
    setObjectName(name(n.group));
    // Widgets are created in their tab order, which Qt follows.
    if (row == Planting)
        layOutPlanting(n, planting);
    else
        layOutTopDressing(n);
}

void ApplicationBlock::layOutPlanting(const Names &n, const PlantingParts &parts)
{
    setGeometry(6, 136, 552, 482);
    list = new StringGrid(name(n.list), {5, 1, 0, 0, 64, 24, false}, this);
    list->setGeometry(8, 20, 536, 76);

    // Nutrients of the chosen product, in percent and in kg (bottom of the group).
    constexpr int resultY = 392;
    percent = {ui::labelledEdit(this, QStringLiteral("N (%)"), name(n.percent[N]), 8, resultY, 54),
               ui::labelledEdit(this, QStringLiteral("P2O5 (%)"), name(n.percent[P2O5]), 136, resultY, 54),
               ui::labelledEdit(this, QStringLiteral("K2O (%)"), name(n.percent[K2O]), 264, resultY, 54)};
    kg = {ui::labelledEdit(this, QStringLiteral("N (kg)"), name(n.kg[N]), 8, resultY + 26, 54),
          ui::labelledEdit(this, QStringLiteral("P2O5 (kg)"), name(n.kg[P2O5]), 136, resultY + 26, 54),
          ui::labelledEdit(this, QStringLiteral("K2O (kg)"), name(n.kg[K2O]), 264, resultY + 26, 54)};
    limpar = ui::button(this, name(n.limpar), QStringLiteral("Limpar tudo"), 444, resultY + 24, 96);

    // The organic and the mineral block take turns in the same place.
    if (parts.organic)
        parts.organic(this);
    constexpr int blockY = 206;
    mineralGroup = ui::group(this, QStringLiteral("GroupBox27"), QStringLiteral("Adubo mineral"), 8, blockY, 536, 178);
    combo = ui::combo(mineralGroup, name(n.combo), fertilizers::plantingItems(), 8, 22, 250);
    quantity = ui::labelledEdit(mineralGroup, QStringLiteral("Qutidade (kg)"), name(n.quantity), 266, 22, 70, 56,
                                QStringLiteral("100"));
    calcular = ui::button(mineralGroup, name(n.calcular), QStringLiteral("Calcular"), 8, 54, 72);
    inserir = ui::button(mineralGroup, name(n.inserir), QStringLiteral("Inserir"), 86, 54, 72);
    mineralGroup->hide();
    if (parts.kind)
        parts.kind(this);

    QGroupBox *missing = ui::group(this, QStringLiteral("GroupBox35"), QStringLiteral("Faltante"), 8, 100, 370, 48);
    faltante = {ui::labelledEdit(missing, QStringLiteral("N"), name(n.faltante[N]), 10, 20, 14, 70),
                ui::labelledEdit(missing, QStringLiteral("P205"), name(n.faltante[P2O5]), 112, 20, 30, 70),
                ui::labelledEdit(missing, QStringLiteral("K2O"), name(n.faltante[K2O]), 236, 20, 30, 70)};
}

void ApplicationBlock::layOutTopDressing(const Names &n)
{
    const int index = row_ - FirstTopDressing;
    const TopDressingLook &look = topDressingLooks[index];
    setGeometry(topDressingX, 2 + index * (topDressingHeight + topDressingGap), topDressingWidth, topDressingHeight);
    ui::setBackground(this, look.colour);

    list = new StringGrid(name(n.list), {5, 1, 0, 0, 64, 20, false}, this);
    list->setGeometry(8, 18, 470, 62);

    QGroupBox *missing = ui::group(this, name(look.faltanteGroup), QStringLiteral("Faltante"), 8, 82, 300, 40);
    faltante = {ui::labelledEdit(missing, QStringLiteral("N"), name(n.faltante[N]), 8, 15, 12, 60),
                ui::labelledEdit(missing, QStringLiteral("P205"), name(n.faltante[P2O5]), 94, 15, 28, 60),
                ui::labelledEdit(missing, QStringLiteral("K2O"), name(n.faltante[K2O]), 196, 15, 28, 60)};

    QGroupBox *mineral = ui::group(this, name(look.mineralGroup), QStringLiteral("Adubo mineral"), 8, 122, 586, 40);
    combo = ui::combo(mineral, name(n.combo), fertilizers::topDressingItems(), 8, 15, 220);
    quantity = ui::labelledEdit(mineral, name(look.quantityLabel), name(n.quantity), 238, 15, 86, 56,
                                QStringLiteral("100"));
    calcular = ui::button(mineral, name(n.calcular), QStringLiteral("Calcular"), 394, 13, 90, 24);
    inserir = ui::button(mineral, name(n.inserir), QStringLiteral("Inserir"), 490, 13, 88, 24);

    QGroupBox *contents = ui::group(this, name(look.percentGroup), QStringLiteral("Percentuais"), 8, 162, 240, 40);
    percent = {ui::labelledEdit(contents, QStringLiteral("N "), name(n.percent[N]), 6, 15, 12, 46),
               ui::labelledEdit(contents, QStringLiteral("P2O5"), name(n.percent[P2O5]), 74, 15, 30, 46),
               ui::labelledEdit(contents, QStringLiteral("K2O "), name(n.percent[K2O]), 160, 15, 26, 46)};

    QGroupBox *supplied = ui::group(this, name(look.kgGroup), QStringLiteral("Quantidade (kg)"), 254, 162, 240, 40);
    kg = {ui::labelledEdit(supplied, QStringLiteral("N "), name(n.kg[N]), 6, 15, 12, 46),
          ui::labelledEdit(supplied, QStringLiteral("P2O5 "), name(n.kg[P2O5]), 74, 15, 30, 46),
          ui::labelledEdit(supplied, QStringLiteral("K2O"), name(n.kg[K2O]), 160, 15, 26, 46)};

    limpar = ui::button(this, name(n.limpar), QStringLiteral("Limpar"), 504, 172, 90, 25);
}

void ApplicationBlock::wire(std::function<void()> onPick, std::function<void()> onClear)
{
    for (int nutrient = 0; nutrient < nutrients; ++nutrient)
        host_.onChange(faltante[size_t(nutrient)], [this, nutrient] { colourFaltante(nutrient); });
    host_.onPick(combo, std::move(onPick));
    host_.onClick(calcular, [this] { calculate(); });
    host_.onClick(inserir, [this] { insertMineral(); });
    host_.onClick(limpar, std::move(onClear));
}

QString ApplicationBlock::section() const
{
    return row_ == Planting ? sections::planting : sections::topDressing(row_ - Planting);
}

// All three contents are written, so nothing of a previous product stays; with
// no product chosen the fields keep whatever they hold (perhaps typed).
void ApplicationBlock::lookupMineral()
{
    const fertilizers::MineralFertilizer *product = fertilizers::mineralAt(combo->currentIndex());
    if (!product)
        return;
    const fertilizers::Contents contents = fertilizers::contentsOf(*product);
    host_.write(percent[N], contents.n);
    host_.write(percent[P2O5], contents.p2o5);
    host_.write(percent[K2O], contents.k2o);
}

std::array<double, 3> ApplicationBlock::contentsOrZero() const
{
    const double pn = host_.readOrZero(percent[N]);
    const double pp = host_.readOrZero(percent[P2O5]);
    const double pk = host_.readOrZero(percent[K2O]);
    return {pn, pp, pk};
}

void ApplicationBlock::writeSupplied(double amount, const std::array<double, 3> &contents, int places,
                                     QLineEdit *quantityField)
{
    for (int n = 0; n < nutrients; ++n) {
        Working w(host_.numbers(), places);
        host_.write(kg[n], host_.fmt(fertilizers::supplied(amount, contents[n], 1.0, &w), places));
        working_.explain({kg[n]}, section(),
                         w.told(QStringLiteral("%1 fornecido").arg(results::nutrientNames[n]),
                                kg[n]->text() + QStringLiteral(" kg")),
                         {{quantityField ? quantityField : quantity}, {percent[n]}});
    }
}

void ApplicationBlock::calculate()
{
    // The quantity must be a number; a missing content is none of it.
    const double qtd = host_.read(quantity);
    writeSupplied(qtd, contentsOrZero(), 2);
}

void ApplicationBlock::insert(const QString &product, const QString &amount)
{
    const QStringList cells{product, amount, kg[N]->text(), kg[P2O5]->text(), kg[K2O]->text()};
    // Everything is read before anything changes: a text that is not a number
    // (an amount, or a dose in stga3) lists nothing and leaves "Faltante" as
    // it was, so the list and "Faltante" always count the same products.
    double sums[nutrients] = {0, 0, 0};
    const auto count = [&](const QString &cell, int n) {
        if (!cell.isEmpty())
            sums[n] += host_.read(cell);
    };
    for (int j = FirstProductRow; j < list->rowCount(); ++j)
        for (int n = 0; n < nutrients; ++n)
            count(list->cell(columnOf(Nutrient(n)), j), n);
    for (int n = 0; n < nutrients; ++n)
        count(cells.value(columnOf(Nutrient(n))), n);
    std::optional<double> doses[nutrients]; // none: that "Faltante" keeps its text
    for (int n = 0; n < nutrients; ++n)
        if (const QString dose = doses_->cell(columnOf(Nutrient(n)), row_); !dose.isEmpty())
            doses[n] = host_.read(dose);

    const int lin = list->rowCount();
    list->setRows(lin + 1);
    for (int c = 0; c < cells.size(); ++c)
        list->setCell(c, lin, cells[c]);
    const int products = list->rowCount() - FirstProductRow;
    for (int n = 0; n < nutrients; ++n)
        if (doses[n]) {
            Working w(host_.numbers(), 2);
            host_.write(faltante[n], host_.fmt(fertilizers::stillMissing(*doses[n], sums[n], products, &w), 2));
            working_.explain({faltante[n]}, section(),
                             w.told(results::faltante(results::nutrientNames[n], row_ - Planting),
                                    faltante[n]->text() + QStringLiteral(" kg/ha")),
                             {{doses_, columnOf(Nutrient(n)), row_}});
        }
}

void ApplicationBlock::insertMineral()
{
    insert(combo->currentText(), quantity->text());
}

void ApplicationBlock::clear()
{
    for (int j = FirstProductRow; j < list->rowCount(); ++j)
        for (int c = 0; c < list->columnCount(); ++c)
            list->setCell(c, j, QString());
    list->setRows(FirstProductRow); // the titles only
    for (int n = 0; n < nutrients; ++n) {
        const QString dose = doses_->cell(columnOf(Nutrient(n)), row_);
        host_.write(faltante[n], dose);
        working_.explain({faltante[n]}, section(),
                         {results::faltante(results::nutrientNames[n], row_ - Planting),
                          dose.isEmpty() ? QStringLiteral("vazio") : dose + QStringLiteral(" kg/ha"),
                          QStringLiteral("A dose da aplicação: a lista foi limpa.")},
                         {{doses_, columnOf(Nutrient(n)), row_}});
    }
}

// Potash decides the quantity whenever some is missing and the product has
// it; otherwise nitrogen does. Phosphate never decides it.
void ApplicationBlock::proposeTopDressing()
{
    lookupMineral();

    // Each decider's figures are read when the rule comes to it and each
    // proposal is written as soon as it is made: a text that is not a number
    // further on stops the handler there, with what came before written.
    std::array<double, 3> contents{}; // as the deciders read them
    const QString part = section();
    Working rule(host_.numbers(), 1);
    const auto supply = [&](Nutrient n, double qtd, double content) {
        Working each(host_.numbers(), 1);
        host_.write(kg[n], host_.fmt(fertilizers::supplied(qtd, content, 1.0, &each), 1));
        working_.explain({kg[n]}, part,
                         each.told(QStringLiteral("%1 fornecido").arg(results::nutrientNames[n]),
                                   kg[n]->text() + QStringLiteral(" kg")),
                         {{quantity}, {percent[n]}});
    };
    const bool proposed = fertilizers::followTopDressingRule(
        [&](fertilizers::Nutrient nutrient) { return host_.readOrZero(faltante[triplePlace(nutrient)]); },
        [&](fertilizers::Nutrient nutrient) {
            const Nutrient place = triplePlace(nutrient);
            return contents[place] = host_.readOrZero(percent[place]);
        },
        [&](const fertilizers::TopDressingProposal &proposal) {
            const double qtd = proposal.quantity;
            host_.write(quantity, host_.fmt(qtd, 1));
            supply(N, qtd, contents[N]);
            const double pP = host_.readOrZero(percent[P2O5]);
            supply(P2O5, qtd, pP);
            const double pK = host_.readOrZero(percent[K2O]);
            supply(K2O, qtd, pK);
        },
        &rule);
    const std::initializer_list<WorkingLedger::Place> from{
        {combo}, {faltante[N]}, {faltante[K2O]}, {percent[N]}, {percent[K2O]}};
    if (proposed) {
        working_.explain({quantity}, part,
                         rule.told(QStringLiteral("Quantidade proposta"), quantity->text() + QStringLiteral(" kg")),
                         from);
        return;
    }
    working_.explain({quantity}, part,
                     {QStringLiteral("Quantidade do produto"),
                      quantity->text().isEmpty() ? QStringLiteral("vazio") : quantity->text() + QStringLiteral(" kg"),
                      rule.why() + QStringLiteral(" Nenhum nutriente decide: fica a quantidade que estava.")},
                     from);

    // No proposal: the quantity in hand stays, and what it supplies is that
    // of the product now chosen, never the figures of the one before. Those
    // go first, so that a quantity that is not a number leaves none behind.
    for (QLineEdit *amount : kg)
        host_.write(amount, QString());
    if (!quantity->text().isEmpty()) {
        const double qtd = host_.read(quantity);
        const double pP = host_.readOrZero(percent[P2O5]);
        writeSupplied(qtd, {contents[N], pP, contents[K2O]}, 1);
    }
}

void ApplicationBlock::colourFaltante(int nutrient)
{
    QLineEdit *field = faltante[size_t(nutrient)];
    const bool missing = !field->text().isEmpty() && host_.read(field) > 0;
    ui::setFieldColour(field, missing ? ui::colour::yellow : window()->palette().color(QPalette::Base));
}
