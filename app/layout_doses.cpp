// Tab "Definição das Doses de NPK": the N, K2O and P2O5 doses and the grids
// where the N and K2O doses are split over the applications.
#include "StringGrid.h"
#include "TFPrincipal.h"
#include "widgets_factory.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void TFPrincipal::buildDosesTab()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Definição das Doses de NPK"));
    GroupBox4 = ui::fillingGroup(TabSheet3, QStringLiteral("GroupBox4"));

    // Both split grids: four applications' columns, the title row fixed.
    const StringGrid::Shape splitShape{4, 5, 1, 0, 75, 24, true};
    constexpr int blockWidth = 340, blockHeight = 300, innerWidth = blockWidth - 16;
    constexpr int gridWidth = 4 * 75 + 4, gridHeight = 5 * 24 + 4;

    GroupBox22 = ui::group(GroupBox4, QStringLiteral("GroupBox22"), QStringLiteral("Adubação Nitrogenada"), 8, 8,
                           blockWidth, blockHeight);
    GroupBox17 = ui::group(GroupBox22, QStringLiteral("GroupBox17"), QStringLiteral("Dados"), 8, 22, innerWidth, 56);
    edit30 = ui::labelledEdit(GroupBox17, QStringLiteral("Dose de N (kg/ha)"), QStringLiteral("edit30"), 12, 22, 120,
                              80);
    GroupBox18 = ui::group(GroupBox22, QStringLiteral("GroupBox18"), QStringLiteral("Parcelamento"), 8, 86,
                           innerWidth, 204);
    stga1 = new StringGrid(QStringLiteral("stga1"), splitShape, GroupBox18);
    stga1->setGeometry(10, 24, gridWidth, gridHeight);
    Button3 = ui::button(GroupBox18, QStringLiteral("Button3"), QStringLiteral("&Calcular"), 10, 160);

    GroupBox23 = ui::group(GroupBox4, QStringLiteral("GroupBox23"), QStringLiteral("Adubação Potássica"), 356, 8,
                           blockWidth, blockHeight);
    GroupBox19 = ui::group(GroupBox23, QStringLiteral("GroupBox19"), QStringLiteral("Dados"), 8, 22, innerWidth, 56);
    edit31 = ui::labelledEdit(GroupBox19, QStringLiteral("Dose de K2O(kg/ha)"), QStringLiteral("edit31"), 12, 22, 120,
                              80);
    GroupBox20 = ui::group(GroupBox23, QStringLiteral("GroupBox20"), QStringLiteral("Parcelamento"), 8, 86,
                           innerWidth, 204);
    stga2 = new StringGrid(QStringLiteral("stga2"), splitShape, GroupBox20);
    stga2->setGeometry(10, 24, gridWidth, gridHeight);
    Button4 = ui::button(GroupBox20, QStringLiteral("Button4"), QStringLiteral("&Calcular"), 10, 160);
    Button17 = ui::button(GroupBox20, QStringLiteral("Button17"), QStringLiteral("Redistribuir pelo %"), 95, 160, 130);

    GroupBox21 = ui::group(GroupBox4, QStringLiteral("GroupBox21"), QStringLiteral("Adubação Fosfatada"), 704, 8, 440,
                           blockHeight);
    edit32 = ui::labelledEdit(GroupBox21, QStringLiteral("Dose de P205 (kg/ha)"), QStringLiteral("edit32"), 12, 26,
                              120, 80);
    Label34 = ui::label(GroupBox21, QStringLiteral("Observação"), 12, 60, 416, 32);
    Label34->setObjectName(QStringLiteral("Label34"));
    Label34->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label34->setWordWrap(true);
    ui::setTextColour(Label34, ui::colour::red);
}
