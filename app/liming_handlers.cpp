// Liming: the three criteria, the recommended need with its observation, and
// the correction for the PRNT of a commercial limestone.
#include "agronomy/Liming.h"
#include "agronomy/ResultNames.h"
#include "app/TFPrincipal.h"

#include <QLineEdit>
#include <QPlainTextEdit>

void TFPrincipal::Button1Click()
{
    Memo1->clear();
    Memo1->appendPlainText(liming::observationTitle);
    const QString tHa = QStringLiteral(" t/ha");

    const double vctc = read(Edit16);
    const double V1 = read(Edit17);
    const double V2 = read(Edit18);
    Working saturation(numbers(), 3);
    const double NC1 = liming::baseSaturation(vctc, V1, V2, &saturation);
    write(Edit19, fmt(NC1, 3));
    explain({Edit19}, sections::liming, saturation.told(results::baseSaturationNc, Edit19->text() + tHa),
            {{Edit16}, {Edit17}, {Edit18}});

    const double vmo = read(Edit20);
    const double val = read(Edit21);
    Working buffering(numbers(), 3);
    const double NC2 = liming::lowBuffering(vmo, val, &buffering);
    write(Edit22, fmt(NC2, 3));
    explain({Edit22}, sections::liming, buffering.told(results::lowBufferingNc, Edit22->text() + tHa),
            {{Edit20}, {Edit21}});

    const double f = read(Edit26);
    const double valAl = read(Edit27);
    const double CaMg = read(Edit29);
    Working aluminium(numbers(), 3);
    write(Edit28, fmt(liming::aluminium(valAl, f, CaMg, &aluminium), 3));
    explain({Edit28}, sections::liming, aluminium.told(results::aluminiumNc, Edit28->text() + tHa),
            {{Edit26}, {Edit27}, {Edit29}});

    // The clay field must hold a number, but the choice follows the clay
    // content last interpreted on the data-entry tab.
    [[maybe_unused]] const double varg = read(Edit1);

    // The choice works on the unrounded criteria, not on their shown texts.
    Working need(numbers(), 2);
    const liming::Recommendation NCrec = liming::recommend(worksheet_.argila, vctc, vmo, NC1, NC2, &need);
    Memo1->appendPlainText(liming::criterionLine(NCrec.criterion));
    if (NCrec.capped)
        Memo1->appendPlainText(liming::cappedLine);

    write(Edit61, fmt(NCrec.value, 2));
    write(Edit23, fmt(NCrec.value, 2));
    const std::initializer_list<Place> from{{Edit1}, {Edit16}, {Edit17}, {Edit18}, {Edit20}, {Edit21}};
    explain({Memo1}, sections::liming,
            need.told(results::criterion, Memo1->toPlainText().section(QLatin1Char('\n'), 1).replace(QLatin1Char('\n'), QLatin1Char(' '))),
            from, Kind::Copy);
    explain({Edit61}, sections::liming, need.told(results::need, Edit61->text() + tHa), from);
    explain({Edit23}, sections::liming, need.told(results::need, Edit23->text() + tHa), from, Kind::Copy);
}

void TFPrincipal::Button2Click()
{
    const double PRNT100 = read(Edit23);
    const double PRNT = read(Edit24);
    Working w(numbers(), 3);
    write(Edit25, fmt(liming::commercialQuantity(PRNT100, PRNT, &w), 3));
    explain({Edit25}, sections::liming, w.told(results::commercial, Edit25->text() + QStringLiteral(" t/ha")),
            {{Edit23}, {Edit24}});
}
