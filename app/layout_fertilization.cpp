#include "agronomy/Applications.h"
#include "fertilizers/MineralCatalogue.h"
#include "fertilizers/OrganicFertilizers.h"
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
// right. Widgets are created in their tab order, which Qt follows.

namespace {

// What tells one top-dressing block from the others: names, captions, colour.
struct CoberturaNames {
    applications::Row row; // its row in stga3
    const char *group, *caption;
    QColor colour;
    const char *grid;
    const char *faltanteGroup, *faltN, *faltP, *faltK;
    const char *mineralGroup, *combo, *quantityLabel, *quantity, *calcular, *inserir;
    const char *percentGroup, *pctN, *pctP, *pctK;
    const char *quantityGroup, *kgN, *kgP, *kgK;
    const char *limpar;
};

QString name(const char *text) { return QString::fromUtf8(text); }

// Layout of the right column: three blocks one above the other.
constexpr int coberturaX = 566;
constexpr int coberturaWidth = 602;
constexpr int coberturaHeight = 204;
constexpr int coberturaGap = 3;

} // namespace

void TFPrincipal::buildFertilizationTab()
{
    TabSheet6 = new QWidget;
    TabSheet6->setObjectName(QStringLiteral("TabSheet6"));
    PageControl1->addTab(TabSheet6, QStringLiteral("Definição da Adubação"));
    GroupBox6 = ui::fillingGroup(TabSheet6, QStringLiteral("GroupBox6"));

    stga3 = new StringGrid(QStringLiteral("stga3"), {5, 5, 1, 1, 70, 24, true}, GroupBox6);
    stga3->setGeometry(8, 6, 354, 124);

    // ---- Planting
    GroupBox25 = ui::group(GroupBox6, QStringLiteral("GroupBox25"), QStringLiteral("Adubação de plantio"), 6, 136,
                           552, 482);
    auto *box = GroupBox25; // the planting group

    stga4 = new StringGrid(QStringLiteral("stga4"), {5, 1, 0, 0, 64, 24, false}, box);
    stga4->setGeometry(8, 20, 536, 76);

    // Nutrients of the chosen product, in percent and in kg (bottom of the group).
    constexpr int resultY = 392;
    Edit34 = ui::labelledEdit(box, QStringLiteral("N (%)"), QStringLiteral("Edit34"), 8, resultY, 54);
    Edit35 = ui::labelledEdit(box, QStringLiteral("P2O5 (%)"), QStringLiteral("Edit35"), 136, resultY, 54);
    Edit36 = ui::labelledEdit(box, QStringLiteral("K2O (%)"), QStringLiteral("Edit36"), 264, resultY, 54);
    Edit37 = ui::labelledEdit(box, QStringLiteral("N (kg)"), QStringLiteral("Edit37"), 8, resultY + 26, 54);
    Edit38 = ui::labelledEdit(box, QStringLiteral("P2O5 (kg)"), QStringLiteral("Edit38"), 136, resultY + 26, 54);
    Edit39 = ui::labelledEdit(box, QStringLiteral("K2O (kg)"), QStringLiteral("Edit39"), 264, resultY + 26, 54);
    Button7 = ui::button(box, QStringLiteral("Button7"), QStringLiteral("Limpar tudo"), 444, resultY + 24, 96);

    // The organic and the mineral block take turns in the same place.
    constexpr int blockY = 206;
    GroupBox26 = ui::group(box, QStringLiteral("GroupBox26"), QStringLiteral("Adubo Orgânico"), 8, blockY, 536,
                           178);
    ComboBox1 = ui::combo(GroupBox26, QStringLiteral("ComboBox1"), fertilizers::organicItems(), 8, 22, 210);
    Edit33 = ui::labelledEdit(GroupBox26, QStringLiteral("Quant. (kg)"), QStringLiteral("Edit33"), 226, 22, 62, 56,
                              QStringLiteral("1000"));
    Button6 = ui::button(GroupBox26, QStringLiteral("Button6"), QStringLiteral("Inserir"), 376, 20, 72);
    Button5 = ui::button(GroupBox26, QStringLiteral("Button5"), QStringLiteral("Calcular"), 454, 20, 72);

    GroupBox37 = ui::group(GroupBox26, QStringLiteral("GroupBox37"), QStringLiteral("Eficiência"), 8, 54, 120, 114);
    // The layout carries the comma forms; start-up rewrites them for the separator in force.
    Edit62 = ui::labelledEdit(GroupBox37, QStringLiteral("N"), QStringLiteral("Edit62"), 10, 22, 20, 60,
                              QStringLiteral("0,50"));
    Edit63 = ui::labelledEdit(GroupBox37, QStringLiteral("P"), QStringLiteral("Edit63"), 10, 52, 20, 60,
                              QStringLiteral("0,80"));
    Edit65 = ui::labelledEdit(GroupBox37, QStringLiteral("K"), QStringLiteral("Edit65"), 10, 82, 20, 60,
                              QStringLiteral("1,00"));

    GroupBox38 = ui::group(GroupBox26, QStringLiteral("GroupBox38"), QStringLiteral("Critérios de fechamento"), 136,
                           54, 170, 114);
    RadioButton3 = ui::radio(GroupBox38, QStringLiteral("RadioButton3"), QStringLiteral("Fechar pelo N"), 12, 22);
    RadioButton4 = ui::radio(GroupBox38, QStringLiteral("RadioButton4"), QStringLiteral("Fechar pelo P"), 12, 44);
    RadioButton5 = ui::radio(GroupBox38, QStringLiteral("RadioButton5"), QStringLiteral("Fechar pelo K"), 12, 66);
    RadioButton6 = ui::radio(GroupBox38, QStringLiteral("RadioButton6"), QStringLiteral("Fechar pelo menor"), 12, 88);
    RadioButton4->setChecked(true);

    GroupBox52 = ui::group(GroupBox26, QStringLiteral("GroupBox52"), QStringLiteral("Correção para umidade"), 314,
                           54, 212, 114);
    Edit87 = ui::labelledEdit(GroupBox52, QStringLiteral("Mat Seca (%)"), QStringLiteral("Edit87"), 10, 30, 80, 70);
    Edit88 = ui::labelledEdit(GroupBox52, QStringLiteral("Peso úmido"), QStringLiteral("Edit88"), 10, 66, 80, 70);

    GroupBox27 = ui::group(box, QStringLiteral("GroupBox27"), QStringLiteral("Adubo mineral"), 8, blockY, 536,
                           178);
    ComboBox2 = ui::combo(GroupBox27, QStringLiteral("ComboBox2"), fertilizers::plantingItems(), 8, 22, 250);
    Edit40 = ui::labelledEdit(GroupBox27, QStringLiteral("Qutidade (kg)"), QStringLiteral("Edit40"), 266, 22, 70, 56,
                              QStringLiteral("100"));
    Button8 = ui::button(GroupBox27, QStringLiteral("Button8"), QStringLiteral("Calcular"), 8, 54, 72);
    Button9 = ui::button(GroupBox27, QStringLiteral("Button9"), QStringLiteral("Inserir"), 86, 54, 72);
    GroupBox27->hide();

    GroupBox34 = ui::group(box, QStringLiteral("GroupBox34"), QStringLiteral("Tipo de adubo"), 8, 152, 300, 48);
    RadioButton1 = ui::radio(GroupBox34, QStringLiteral("RadioButton1"), QStringLiteral("Adubo orgânico"), 12, 22, 130);
    RadioButton2 = ui::radio(GroupBox34, QStringLiteral("RadioButton2"), QStringLiteral("Adubo Mineral"), 150, 22, 130);
    RadioButton1->setChecked(true);

    GroupBox35 = ui::group(box, QStringLiteral("GroupBox35"), QStringLiteral("Faltante"), 8, 100, 370, 48);
    Edit50 = ui::labelledEdit(GroupBox35, QStringLiteral("N"), QStringLiteral("Edit50"), 10, 20, 14, 70);
    Edit52 = ui::labelledEdit(GroupBox35, QStringLiteral("P205"), QStringLiteral("Edit52"), 112, 20, 30, 70);
    Edit54 = ui::labelledEdit(GroupBox35, QStringLiteral("K2O"), QStringLiteral("Edit54"), 236, 20, 30, 70);

    // The mineral block and the list make planting an application like the others.
    plantio.row = applications::Planting;
    plantio.list = stga4;
    plantio.faltante = {Edit50, Edit52, Edit54};
    plantio.combo = ComboBox2;
    plantio.quantity = Edit40;
    plantio.calcular = Button8;
    plantio.inserir = Button9;
    plantio.limpar = Button7;
    plantio.percent = {Edit34, Edit35, Edit36};
    plantio.kg = {Edit37, Edit38, Edit39};

    // ---- Top-dressings: three blocks alike but for names, captions and colour.
    using namespace applications;
    const CoberturaNames blocks[3] = {
        {FirstTopDressing, "GroupBox28", "Adubação na 1ª Cobertura", ui::colour::cream, "stga5", "GroupBox43",
         "Edit64", "Edit66", "Edit67", "GroupBox29", "ComboBox3", "Quant. (kg)", "Edit41", "Button10", "Button11",
         "GroupBox30", "Edit42", "Edit43", "Edit44", "GroupBox31", "Edit45", "Edit46", "Edit47", "Button13"},
        {SecondTopDressing, "GroupBox32", "Adubação na 2ª Cobertura", ui::colour::silver, "Stga6", "GroupBox44",
         "Edit49", "Edit51", "Edit53", "GroupBox33", "ComboBox4", "Quantidade (kg)", "Edit48", "Button18", "Button19",
         "GroupBox45", "Edit71", "Edit72", "Edit73", "GroupBox46", "Edit74", "Edit75", "Edit76", "Button20"},
        {ThirdTopDressing, "GroupBox47", "Adubação na 3ª Cobertura", ui::colour::activeCaption, "stga7",
         "GroupBox49", "Edit78", "Edit79", "Edit80", "GroupBox48", "ComboBox5", "Qutidade (kg)", "Edit77", "Button21",
         "Button22", "GroupBox50", "Edit81", "Edit82", "Edit83", "GroupBox51", "Edit84", "Edit85", "Edit86", "Button23"},
    };
    const QStringList topDressingItems = fertilizers::topDressingItems();

    auto buildCobertura = [&](const CoberturaNames &n, int y) {
        Application c;
        c.row = n.row;
        QGroupBox *group = ui::group(GroupBox6, name(n.group), name(n.caption), coberturaX, y, coberturaWidth,
                                     coberturaHeight);
        ui::setBackground(group, n.colour);

        c.list = new StringGrid(name(n.grid), {5, 1, 0, 0, 64, 20, false}, group);
        c.list->setGeometry(8, 18, 470, 62);

        QGroupBox *faltante = ui::group(group, name(n.faltanteGroup), QStringLiteral("Faltante"), 8, 82, 300, 40);
        c.faltante = {ui::labelledEdit(faltante, QStringLiteral("N"), name(n.faltN), 8, 15, 12, 60),
                      ui::labelledEdit(faltante, QStringLiteral("P205"), name(n.faltP), 94, 15, 28, 60),
                      ui::labelledEdit(faltante, QStringLiteral("K2O"), name(n.faltK), 196, 15, 28, 60)};

        QGroupBox *mineral = ui::group(group, name(n.mineralGroup), QStringLiteral("Adubo mineral"), 8, 122, 586, 40);
        c.combo = ui::combo(mineral, name(n.combo), topDressingItems, 8, 15, 220);
        c.quantity = ui::labelledEdit(mineral, name(n.quantityLabel), name(n.quantity), 238, 15, 86, 56,
                                      QStringLiteral("100"));
        c.calcular = ui::button(mineral, name(n.calcular), QStringLiteral("Calcular"), 394, 13, 90, 24);
        c.inserir = ui::button(mineral, name(n.inserir), QStringLiteral("Inserir"), 490, 13, 88, 24);

        QGroupBox *percent = ui::group(group, name(n.percentGroup), QStringLiteral("Percentuais"), 8, 162, 240, 40);
        c.percent = {ui::labelledEdit(percent, QStringLiteral("N "), name(n.pctN), 6, 15, 12, 46),
                     ui::labelledEdit(percent, QStringLiteral("P2O5"), name(n.pctP), 74, 15, 30, 46),
                     ui::labelledEdit(percent, QStringLiteral("K2O "), name(n.pctK), 160, 15, 26, 46)};

        QGroupBox *quantity = ui::group(group, name(n.quantityGroup), QStringLiteral("Quantidade (kg)"), 254, 162,
                                        240, 40);
        c.kg = {ui::labelledEdit(quantity, QStringLiteral("N "), name(n.kgN), 6, 15, 12, 46),
                ui::labelledEdit(quantity, QStringLiteral("P2O5 "), name(n.kgP), 74, 15, 30, 46),
                ui::labelledEdit(quantity, QStringLiteral("K2O"), name(n.kgK), 160, 15, 26, 46)};

        c.limpar = ui::button(group, name(n.limpar), QStringLiteral("Limpar"), 504, 172, 90, 25);
        return c;
    };
    for (int i = 0; i < 3; ++i)
        cobertura[i] = buildCobertura(blocks[i], 2 + i * (coberturaHeight + coberturaGap));
    stga5 = cobertura[0].list;
    Stga6 = cobertura[1].list;
    stga7 = cobertura[2].list;
    ComboBox3 = cobertura[0].combo;
    ComboBox4 = cobertura[1].combo;
    ComboBox5 = cobertura[2].combo;
}
