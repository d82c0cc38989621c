#include "agronomy/Applications.h"
#include "fertilizers/OrganicFertilizers.h"
#include "app/ApplicationBlock.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// Tab "Definição da Adubação": the doses per application on the top left,
// the planting fertilization below them and the three top-dressings on the
// right (ApplicationBlock). Widgets are created in their tab order, which Qt
// follows.

void TFPrincipal::buildFertilizationTab()
{
    TabSheet6 = new QWidget;
    TabSheet6->setObjectName(QStringLiteral("TabSheet6"));
    PageControl1->addTab(TabSheet6, QStringLiteral("Definição da Adubação"));
    GroupBox6 = ui::fillingGroup(TabSheet6, QStringLiteral("GroupBox6"));

    stga3 = new StringGrid(QStringLiteral("stga3"), {5, 5, 1, 1, 70, 24, true}, GroupBox6);
    stga3->setGeometry(8, 6, 354, 124);

    // ---- Planting, with its organic fertilizer and the choice between the two.
    ApplicationBlock::PlantingParts organic;
    organic.organic = [this](QWidget *box) {
        constexpr int blockY = 206;
        GroupBox26 = ui::group(box, QStringLiteral("GroupBox26"), QStringLiteral("Adubo Orgânico"), 8, blockY, 536,
                               178);
        ComboBox1 = ui::combo(GroupBox26, QStringLiteral("ComboBox1"), fertilizers::organicItems(), 8, 22, 210);
        Edit33 = ui::labelledEdit(GroupBox26, QStringLiteral("Quant. (kg)"), QStringLiteral("Edit33"), 226, 22, 62,
                                  56, QStringLiteral("1000"));
        Button6 = ui::button(GroupBox26, QStringLiteral("Button6"), QStringLiteral("Inserir"), 376, 20, 72);
        Button5 = ui::button(GroupBox26, QStringLiteral("Button5"), QStringLiteral("Calcular"), 454, 20, 72);

        GroupBox37 =
            ui::group(GroupBox26, QStringLiteral("GroupBox37"), QStringLiteral("Eficiência"), 8, 54, 120, 114);
        // The layout carries the comma forms; start-up rewrites them for the separator in force.
        Edit62 = ui::labelledEdit(GroupBox37, QStringLiteral("N"), QStringLiteral("Edit62"), 10, 22, 20, 60,
                                  QStringLiteral("0,50"));
        Edit63 = ui::labelledEdit(GroupBox37, QStringLiteral("P"), QStringLiteral("Edit63"), 10, 52, 20, 60,
                                  QStringLiteral("0,80"));
        Edit65 = ui::labelledEdit(GroupBox37, QStringLiteral("K"), QStringLiteral("Edit65"), 10, 82, 20, 60,
                                  QStringLiteral("1,00"));

        GroupBox38 = ui::group(GroupBox26, QStringLiteral("GroupBox38"), QStringLiteral("Critérios de fechamento"),
                               136, 54, 170, 114);
        RadioButton3 = ui::radio(GroupBox38, QStringLiteral("RadioButton3"), QStringLiteral("Fechar pelo N"), 12, 22);
        RadioButton4 = ui::radio(GroupBox38, QStringLiteral("RadioButton4"), QStringLiteral("Fechar pelo P"), 12, 44);
        RadioButton5 = ui::radio(GroupBox38, QStringLiteral("RadioButton5"), QStringLiteral("Fechar pelo K"), 12, 66);
        RadioButton6 =
            ui::radio(GroupBox38, QStringLiteral("RadioButton6"), QStringLiteral("Fechar pelo menor"), 12, 88);
        RadioButton4->setChecked(true);

        GroupBox52 = ui::group(GroupBox26, QStringLiteral("GroupBox52"), QStringLiteral("Correção para umidade"), 314,
                               54, 212, 114);
        Edit87 =
            ui::labelledEdit(GroupBox52, QStringLiteral("Mat Seca (%)"), QStringLiteral("Edit87"), 10, 30, 80, 70);
        Edit88 = ui::labelledEdit(GroupBox52, QStringLiteral("Peso úmido"), QStringLiteral("Edit88"), 10, 66, 80, 70);
    };
    organic.kind = [this](QWidget *box) {
        GroupBox34 = ui::group(box, QStringLiteral("GroupBox34"), QStringLiteral("Tipo de adubo"), 8, 152, 300, 48);
        RadioButton1 =
            ui::radio(GroupBox34, QStringLiteral("RadioButton1"), QStringLiteral("Adubo orgânico"), 12, 22, 130);
        RadioButton2 =
            ui::radio(GroupBox34, QStringLiteral("RadioButton2"), QStringLiteral("Adubo Mineral"), 150, 22, 130);
        RadioButton1->setChecked(true);
    };
    using namespace applications;
    blocks_[0] = new ApplicationBlock(Planting, stga3, *host_, *working_, GroupBox6, organic);
    // ---- The three top-dressings, on the right
    for (int row = FirstTopDressing; row <= ThirdTopDressing; ++row)
        blocks_[size_t(row - Planting)] = new ApplicationBlock(row, stga3, *host_, *working_, GroupBox6);

    const ApplicationBlock &planting = *blocks_[0];
    stga4 = planting.list;
    ComboBox2 = planting.combo;
    Edit50 = planting.faltante[N];
    Edit52 = planting.faltante[P2O5];
    Edit40 = planting.quantity;
    Button7 = planting.limpar;
    Button9 = planting.inserir;
    GroupBox27 = planting.mineralGroup;
    stga5 = blocks_[1]->list;
    Stga6 = blocks_[2]->list;
    stga7 = blocks_[3]->list;
    ComboBox3 = blocks_[1]->combo;
    ComboBox4 = blocks_[2]->combo;
    ComboBox5 = blocks_[3]->combo;
}
