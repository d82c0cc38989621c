// Tab "Definição das Doses de NPK": the N, K2O and P2O5 doses and the grids
// where the N and K2O doses are split over the applications.
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

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

    // The N and the K2O block are alike: the dose above, its split grid below.
    struct SplitBlock {
        QGroupBox *block, *data, *split;
        QLineEdit *dose;
        StringGrid *grid;
        QPushButton *calcular;
    };
    const auto splitBlock = [&](int x, const char *blockName, const QString &caption, const char *dataName,
                                const QString &doseLabel, const char *doseName, const char *splitName,
                                const char *gridName, const char *buttonName) {
        SplitBlock b;
        b.block = ui::group(GroupBox4, QString::fromLatin1(blockName), caption, x, 8, blockWidth, blockHeight);
        b.data = ui::group(b.block, QString::fromLatin1(dataName), QStringLiteral("Dados"), 8, 22, innerWidth, 56);
        b.dose = ui::labelledEdit(b.data, doseLabel, QString::fromLatin1(doseName), 12, 22, 120, 80);
        b.split = ui::group(b.block, QString::fromLatin1(splitName), QStringLiteral("Parcelamento"), 8, 86,
                            innerWidth, 204);
        b.grid = new StringGrid(QString::fromLatin1(gridName), splitShape, b.split);
        b.grid->setGeometry(10, 24, gridWidth, gridHeight);
        b.calcular = ui::button(b.split, QString::fromLatin1(buttonName), QStringLiteral("&Calcular"), 10, 160);
        return b;
    };

    const SplitBlock n = splitBlock(8, "GroupBox22", QStringLiteral("Adubação Nitrogenada"), "GroupBox17",
                                    QStringLiteral("Dose de N (kg/ha)"), "edit30", "GroupBox18", "stga1", "Button3");
    GroupBox22 = n.block;
    GroupBox17 = n.data;
    edit30 = n.dose;
    GroupBox18 = n.split;
    stga1 = n.grid;
    Button3 = n.calcular;

    const SplitBlock k = splitBlock(356, "GroupBox23", QStringLiteral("Adubação Potássica"), "GroupBox19",
                                    QStringLiteral("Dose de K2O(kg/ha)"), "edit31", "GroupBox20", "stga2", "Button4");
    GroupBox23 = k.block;
    GroupBox19 = k.data;
    edit31 = k.dose;
    GroupBox20 = k.split;
    stga2 = k.grid;
    Button4 = k.calcular;
    Button17 = ui::button(GroupBox20, QStringLiteral("Button17"), QStringLiteral("Redistribuir pelo %"), 95, 160, 130);

    GroupBox21 = ui::group(GroupBox4, QStringLiteral("GroupBox21"), QStringLiteral("Adubação Fosfatada"), 704, 8, 440,
                           blockHeight);
    edit32 = ui::labelledEdit(GroupBox21, QStringLiteral("Dose de P205 (kg/ha)"), QStringLiteral("edit32"), 12, 26,
                              120, 80);
    Label34 = ui::label(GroupBox21, QStringLiteral("Observação"), 12, 60, 416, 32);
    Label34->setObjectName(QStringLiteral("Label34"));
    Label34->setTextFormat(Qt::PlainText);
    Label34->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label34->setWordWrap(true);
    ui::setTextColour(Label34, ui::colour::red);
}
