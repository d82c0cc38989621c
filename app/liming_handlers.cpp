// Liming: the three criteria, the recommended need with its observation, and
// the correction for the PRNT of a commercial limestone.
#include "agronomy/Liming.h"
#include "app/TFPrincipal.h"

#include <QLineEdit>
#include <QPlainTextEdit>

void TFPrincipal::Button1Click()
{
    Memo1->clear();
    Memo1->appendPlainText(liming::observationTitle);

    const double vctc = read(Edit16);
    const double V1 = read(Edit17);
    const double V2 = read(Edit18);
    const double NC1 = liming::baseSaturation(vctc, V1, V2);
    write(Edit19, fmt(NC1, 3));

    const double vmo = read(Edit20);
    const double val = read(Edit21);
    const double NC2 = liming::lowBuffering(vmo, val);
    write(Edit22, fmt(NC2, 3));

    const double f = read(Edit26);
    const double valAl = read(Edit27);
    const double CaMg = read(Edit29);
    write(Edit28, fmt(liming::aluminium(valAl, f, CaMg), 3));

    // The clay field must hold a number, but the choice follows the clay
    // content last interpreted on the data-entry tab.
    [[maybe_unused]] const double varg = read(Edit1);

    // The choice works on the unrounded criteria, not on their shown texts.
    const liming::Recommendation NCrec = liming::recommend(worksheet_.argila, vctc, vmo, NC1, NC2);
    Memo1->appendPlainText(liming::criterionLine(NCrec.criterion));
    if (NCrec.capped)
        Memo1->appendPlainText(liming::cappedLine);

    write(Edit61, fmt(NCrec.value, 2));
    write(Edit23, fmt(NCrec.value, 2));
}

void TFPrincipal::Button2Click()
{
    const double PRNT100 = read(Edit23);
    const double PRNT = read(Edit24);
    write(Edit25, fmt(liming::commercialQuantity(PRNT100, PRNT), 3));
}
