#include "app/tabs/LimingTab.h"
#include "agronomy/Liming.h"
#include "agronomy/Recommendation.h"
#include "agronomy/ResultNames.h"
#include "app/HandlerHost.h"
#include "app/WorkingLedger.h"
#include "app/widgets_factory.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

// Each criterion group shows its formula in a larger, hot-light caption.
QLabel *formula(QWidget *group, const QString &text)
{
    QLabel *caption = ui::label(group, text, 12, 20, 380, 22);
    QFont font = caption->font();
    font.setPointSize(12);
    caption->setFont(font);
    ui::setTextColour(caption, ui::colour::hotLight);
    return caption;
}

} // namespace

LimingTab::LimingTab(QTabWidget *tabs, HandlerHost &host, WorkingLedger &working, const QLineEdit *clay,
                     std::function<double()> interpretedClay)
    : host_(host), working_(working), clay_(clay), interpretedClay_(std::move(interpretedClay))
{
    setObjectName(QStringLiteral("TabSheet2"));
    tabs->addTab(this, QStringLiteral("Indicação de Calagem"));
    GroupBox3 = ui::fillingGroup(this, QStringLiteral("GroupBox3"));

    GroupBox9 = ui::group(GroupBox3, QStringLiteral("GroupBox9"), QStringLiteral("Critérios"), 8, 8, 560, 604);

    // Groups are created in their tab order; their y places them on screen
    // (low buffering, base saturation, aluminium, indication, button).
    constexpr int criterionX = 10, criterionW = 540, criterionH = 84;
    constexpr int rowY = 50, labelW = 30;

    // Ca+Mg and the Ca/Mg ratio are kept here but not shown.
    GroupBox10 = ui::group(GroupBox9, QStringLiteral("GroupBox10"), QString(), criterionX, 540, criterionW, 56);
    Edit13 = ui::labelledEdit(GroupBox10, QStringLiteral("Ca+Mg"), QStringLiteral("Edit13"), 12, 20, 40);
    Edit14 = ui::labelledEdit(GroupBox10, QStringLiteral("Relação Ca/Mg"), QStringLiteral("Edit14"), 140, 20, 80);
    GroupBox10->hide();

    GroupBox11 = ui::group(GroupBox9, QStringLiteral("GroupBox11"), QStringLiteral("Critério baseado na saturação de bases"),
                           criterionX, 110, criterionW, criterionH);
    ui::setBackground(GroupBox11, ui::colour::silver);
    formula(GroupBox11, QStringLiteral("NC=CTC [(V1-V2)/100]"));
    Edit16 = ui::labelledEdit(GroupBox11, QStringLiteral("CTC"), QStringLiteral("Edit16"), 12, rowY, labelW);
    Edit17 = ui::labelledEdit(GroupBox11, QStringLiteral("V1 (%)"), QStringLiteral("Edit17"), 120, rowY, 40, 60,
                              agronomy::typedText(agronomy::targetSaturation, host.numbers()));
    Edit18 = ui::labelledEdit(GroupBox11, QStringLiteral("V2 (%)"), QStringLiteral("Edit18"), 240, rowY, 40);
    Edit19 = ui::labelledEdit(GroupBox11, QStringLiteral("NC (t/ha)"), QStringLiteral("Edit19"), 380, rowY, 60, 80);

    GroupBox12 = ui::group(GroupBox9, QStringLiteral("GroupBox12"),
                           QStringLiteral("Critério para solos com baixo poder tampão"), criterionX, 20, criterionW,
                           criterionH);
    ui::setBackground(GroupBox12, ui::colour::cream);
    formula(GroupBox12, QStringLiteral("NC = -0,653 +0,48 MO + 1,937Al"));
    Edit20 = ui::labelledEdit(GroupBox12, QStringLiteral("MO"), QStringLiteral("Edit20"), 12, rowY, labelW);
    Edit21 = ui::labelledEdit(GroupBox12, QStringLiteral("Al"), QStringLiteral("Edit21"), 120, rowY, labelW);
    Edit22 = ui::labelledEdit(GroupBox12, QStringLiteral("NC (t/ha)"), QStringLiteral("Edit22"), 380, rowY, 60, 80);

    Button1 = ui::button(GroupBox9, QStringLiteral("Button1"), QStringLiteral("Calcular"), criterionX, 500, 100, 28);

    GroupBox16 = ui::group(GroupBox9, QStringLiteral("GroupBox16"), QStringLiteral("Critério do teor de Alumínio trocável"),
                           criterionX, 200, criterionW, criterionH);
    ui::setBackground(GroupBox16, ui::colour::inactiveCaption);
    formula(GroupBox16, QStringLiteral("NC = (Al  f) +[2-(Ca+Mg)]"));
    Edit26 = ui::labelledEdit(GroupBox16, QStringLiteral("f"), QStringLiteral("Edit26"), 12, rowY, labelW);
    Edit27 = ui::labelledEdit(GroupBox16, QStringLiteral("Al"), QStringLiteral("Edit27"), 120, rowY, labelW);
    Edit29 = ui::labelledEdit(GroupBox16, QStringLiteral("Ca+Mg"), QStringLiteral("Edit29"), 240, rowY, 40);
    Edit28 = ui::labelledEdit(GroupBox16, QStringLiteral("NC (t/ha)"), QStringLiteral("Edit28"), 380, rowY, 60, 80);

    GroupBox36 = ui::group(GroupBox9, QStringLiteral("GroupBox36"), QStringLiteral("Indicação"), criterionX, 290,
                           criterionW, 200);
    Edit61 = ui::labelledEdit(GroupBox36, QStringLiteral("Necessidade de Calagem"), QStringLiteral("Edit61"), 12, 24,
                              140, 80);
    ui::label(GroupBox36, QStringLiteral("t/ha"), 242, 27);
    ui::label(GroupBox36, QStringLiteral("Observação:"), 12, 56);
    Memo1 = ui::memo(GroupBox36, QStringLiteral("Memo1"), 12, 74, 516, 114);

    // The focus follows the order of creation; make it explicit so that a later
    // change of the screen order cannot reshuffle it.
    const QList<QWidget *> chain{Edit13, Edit14, Edit16, Edit17, Edit18, Edit19, Edit20, Edit21,
                                 Edit22, Button1, Edit26, Edit27, Edit29, Edit28, Edit61, Memo1};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    // Correction of a need stated for PRNT 100 % into a commercial limestone.
    GroupBox13 = ui::group(GroupBox3, QStringLiteral("GroupBox13"), QStringLiteral("Correção PRNT"), 580, 8, 420, 230);
    GroupBox14 = ui::group(GroupBox13, QStringLiteral("GroupBox14"), QStringLiteral("Dados"), 10, 20, 400, 84);
    Edit23 = ui::labelledEdit(GroupBox14, QStringLiteral("Necessidade calcário PRNT 100% (t/ha)"),
                              QStringLiteral("Edit23"), 12, 22, 230, 80);
    Edit24 = ui::labelledEdit(GroupBox14, QStringLiteral("PRNT  comercial  (%)"), QStringLiteral("Edit24"), 12, 52,
                              230, 80);
    Button2 = ui::button(GroupBox13, QStringLiteral("Button2"), QStringLiteral("Calcular"), 10, 112, 100, 28);
    GroupBox15 = ui::group(GroupBox13, QStringLiteral("GroupBox15"), QStringLiteral("Resultados"), 10, 148, 400, 60);
    Edit25 = ui::labelledEdit(GroupBox15, QStringLiteral("Necessidade Calcário Comercial (t/ha)"),
                              QStringLiteral("Edit25"), 12, 24, 230, 80);
    setTabOrder(Edit23, Edit24);
    setTabOrder(Edit24, Button2);
    setTabOrder(Button2, Edit25);

    host.onClick(Button1, [this] { Button1Click(); });
    host.onClick(Button2, [this] { Button2Click(); });
}

void LimingTab::Button1Click()
{
    Memo1->clear();
    Memo1->appendPlainText(liming::observationTitle);
    const QString tHa = QStringLiteral(" t/ha");

    const double vctc = host_.read(Edit16);
    const double V1 = host_.read(Edit17);
    const double V2 = host_.read(Edit18);
    Working saturation(host_.numbers(), 3);
    const double NC1 = liming::baseSaturation(vctc, V1, V2, &saturation);
    host_.write(Edit19, host_.fmt(NC1, 3));
    working_.explain({Edit19}, sections::liming, saturation.told(results::baseSaturationNc, Edit19->text() + tHa),
            {{Edit16}, {Edit17}, {Edit18}});

    const double vmo = host_.read(Edit20);
    const double val = host_.read(Edit21);
    Working buffering(host_.numbers(), 3);
    const double NC2 = liming::lowBuffering(vmo, val, &buffering);
    host_.write(Edit22, host_.fmt(NC2, 3));
    working_.explain({Edit22}, sections::liming, buffering.told(results::lowBufferingNc, Edit22->text() + tHa),
            {{Edit20}, {Edit21}});

    const double f = host_.read(Edit26);
    const double valAl = host_.read(Edit27);
    const double CaMg = host_.read(Edit29);
    Working aluminium(host_.numbers(), 3);
    host_.write(Edit28, host_.fmt(liming::aluminium(valAl, f, CaMg, &aluminium), 3));
    working_.explain({Edit28}, sections::liming, aluminium.told(results::aluminiumNc, Edit28->text() + tHa),
            {{Edit26}, {Edit27}, {Edit29}});

    // The clay field must hold a number, but the choice follows the clay
    // content last interpreted on the data-entry tab.
    [[maybe_unused]] const double varg = host_.read(clay_);

    // The choice works on the unrounded criteria, not on their shown texts.
    Working need(host_.numbers(), 2);
    const liming::Recommendation NCrec = liming::recommend(interpretedClay_(), vctc, vmo, NC1, NC2, &need);
    Memo1->appendPlainText(liming::criterionLine(NCrec.criterion));
    if (NCrec.capped)
        Memo1->appendPlainText(liming::cappedLine);

    host_.write(Edit61, host_.fmt(NCrec.value, 2));
    host_.write(Edit23, host_.fmt(NCrec.value, 2));
    const std::initializer_list<WorkingLedger::Place> from{{clay_}, {Edit16}, {Edit17}, {Edit18}, {Edit20}, {Edit21}};
    working_.explain({Memo1}, sections::liming,
            need.told(results::criterion, Memo1->toPlainText().section(QLatin1Char('\n'), 1).replace(QLatin1Char('\n'), QLatin1Char(' '))),
            from, WorkingLedger::Kind::Copy);
    working_.explain({Edit61}, sections::liming, need.told(results::need, Edit61->text() + tHa), from);
    working_.explain({Edit23}, sections::liming, need.told(results::need, Edit23->text() + tHa), from, WorkingLedger::Kind::Copy);
}

void LimingTab::Button2Click()
{
    const double PRNT100 = host_.read(Edit23);
    const double PRNT = host_.read(Edit24);
    Working w(host_.numbers(), 3);
    host_.write(Edit25, host_.fmt(liming::commercialQuantity(PRNT100, PRNT, &w), 3));
    working_.explain({Edit25}, sections::liming, w.told(results::commercial, Edit25->text() + QStringLiteral(" t/ha")),
            {{Edit23}, {Edit24}});
}
