// Doses of N, K2O and P2O5 from the soil classes and the expected yield.
#include "agronomy/Doses.h"
#include "app/TFPrincipal.h"

#include <QLabel>
#include <QLineEdit>

void TFPrincipal::DoseN()
{
    const double organicMatter = read(Edit4);
    const double yield = read(Edit12);
    write(edit30, fmt(doses::nitrogen(organicMatter, yield), 2));
}

void TFPrincipal::DoseK()
{
    const double excess = doses::yieldExcess(read(Edit12));
    write(edit31, fmt(doses::potash(Edit10->text(), excess), 1));
}

void TFPrincipal::DoseP()
{
    const double dose = doses::phosphate(Edit11->text());
    Label34->setText(doses::phosphorusVeryHigh(worksheet_.p, worksheet_.phosphorusLimits.l4) ? doses::veryHighPhosphorusWarning : QString());
    write(edit32, fmt(dose, 1));
}

void TFPrincipal::Edit12Exit()
{
    write(Edit20, Edit4->text());
    if (!Edit4->text().isEmpty() && !Edit12->text().isEmpty())
        DoseN();
    DoseK();
}
