#pragma once
// One application's block on "Definição da Adubação": planting or one of the
// three top-dressings. Its product list, the N, P2O5 and K2O it still misses
// ("Faltante"), the mineral product in hand with its contents and what it
// supplies, "Calcular", "Inserir" and "Limpar". The four blocks are built
// from one table of component names, which the case binder reads as well;
// planting lays its components out around its organic fertilizer.
#include "app/WorkingLedger.h"
#include "app/widgets_factory.h"

#include <array>
#include <functional>

class HandlerHost;
class QComboBox;
class QLineEdit;
class QPushButton;
class StringGrid;

class ApplicationBlock : public ui::Group {
public:
    // The names of a block's components, as the window names them.
    struct Names {
        const char *group, *list;
        std::array<const char *, 3> faltante; // N, P2O5, K2O, kg/ha still missing
        const char *combo, *quantity, *calcular, *inserir, *limpar;
        std::array<const char *, 3> percent; // contents of the product in hand, %
        std::array<const char *, 3> kg;      // N, P2O5, K2O it supplies, kg
    };
    // Planting first, then the top-dressings: rows Planting to ThirdTopDressing of stga3.
    static const Names &namesOf(int row);

    // Planting's own part, built where it comes in the tab order: its
    // organic fertilizer before the mineral product, the choice between
    // them after it.
    struct PlantingParts {
        std::function<void(QWidget *block)> organic, kind;
    };

    // `doses` is stga3, whose row `row` holds the block's N, P2O5 and K2O doses.
    ApplicationBlock(int row, const StringGrid *doses, HandlerHost &host, WorkingLedger &working, QWidget *parent,
                     const PlantingParts &planting = {});

    // Its row of stga3 (applications::Planting to ThirdTopDressing).
    int row() const { return row_; }
    // The part of the working its results belong to.
    QString section() const;

    // The components, named as the window names them.
    StringGrid *list = nullptr;
    std::array<QLineEdit *, 3> faltante{};
    QComboBox *combo = nullptr; // the mineral products
    QLineEdit *quantity = nullptr; // kg of the mineral product
    QPushButton *calcular = nullptr, *inserir = nullptr, *limpar = nullptr;
    std::array<QLineEdit *, 3> percent{};
    std::array<QLineEdit *, 3> kg{};
    // Planting's mineral group, which takes turns with the organic one.
    QGroupBox *mineralGroup = nullptr;

    // "Faltante", "Calcular" and "Inserir" answer by themselves; the list's
    // pick and "Limpar" run what the window gives (planting proposes its
    // mineral product its own way, and clearing drops a composition).
    void wire(std::function<void()> onPick, std::function<void()> onClear);

    // The chosen mineral product's N, P2O5 and K2O contents into the
    // percentage fields; nothing when no product is chosen.
    void lookupMineral();
    // The three percentage fields, an empty one as none of that nutrient.
    std::array<double, 3> contentsOrZero() const;
    // Writes the N, P2O5 and K2O that a quantity of product supplies, with
    // the pattern of the given places; read from `quantityField` (the
    // mineral quantity by default).
    void writeSupplied(double amount, const std::array<double, 3> &contents, int places,
                       QLineEdit *quantityField = nullptr);
    // "Calcular" of a mineral product: what the quantity in hand supplies.
    void calculate();
    // Appends a product row (its name, its quantity and the N, P2O5 and K2O
    // amounts in hand) to the list and brings "Faltante" to the doses minus
    // all listed products.
    void insert(const QString &product, const QString &amount);
    // "Inserir": the same for the mineral product in hand.
    void insertMineral();
    // "Limpar": empties the list; "Faltante" takes the full doses.
    void clear();
    // A top-dressing's pick: the quantity that closes what it misses, with
    // what that supplies.
    void proposeTopDressing();
    // "Faltante" fields are yellow while they hold an amount above zero.
    void colourFaltante(int nutrient);

private:
    void layOutPlanting(const Names &n, const PlantingParts &parts);
    void layOutTopDressing(const Names &n);

    int row_;
    const StringGrid *doses_;
    HandlerHost &host_;
    WorkingLedger &working_;
};
