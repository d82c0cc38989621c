// Doses of N, K2O and P2O5 from the soil classes and the expected yield.
#include "agronomy/Doses.h"
#include "agronomy/ResultNames.h"
#include "app/TFPrincipal.h"

#include <QLabel>
#include <QLineEdit>

void TFPrincipal::DoseN()
{
    const double organicMatter = read(Edit4);
    const double yield = read(Edit12);
    Working w(numbers(), 2);
    write(edit30, fmt(doses::nitrogen(organicMatter, yield, &w), 2));
    explain({edit30}, sections::doses, w.told(results::nitrogenDose, edit30->text() + QStringLiteral(" kg/ha")),
            {{Edit4}, {Edit12}});
}

void TFPrincipal::DoseK()
{
    Working w(numbers(), 1);
    const double excess = doses::yieldExcess(read(Edit12), &w);
    write(edit31, fmt(doses::potash(Edit10->text(), excess, &w), 1));
    explain({edit31}, sections::doses, w.told(results::potashDose, edit31->text() + QStringLiteral(" kg/ha")),
            {{Edit12}, {Edit10}});
}

void TFPrincipal::DoseP()
{
    Working w(numbers(), 1), note(numbers(), 1);
    const double dose = doses::phosphate(Edit11->text(), &w);
    const bool veryHigh = doses::phosphorusVeryHigh(worksheet_.p, worksheet_.phosphorusLimits.l4, &note);
    Label34->setText(veryHigh ? doses::veryHighPhosphorusWarning : QString());
    explain({Label34}, sections::doses, note.told(results::phosphateNote, veryHigh ? Label34->text() : QStringLiteral("nenhum")),
            {{Edit1}, {Edit2}});
    write(edit32, fmt(dose, 1));
    explain({edit32}, sections::doses, w.told(results::phosphateDose, edit32->text() + QStringLiteral(" kg/ha")),
            {{Edit11}});
}

void TFPrincipal::Edit12Exit()
{
    write(Edit20, Edit4->text());
    explain({Edit20}, sections::liming, {QStringLiteral("MO"), Edit4->text(), QStringLiteral("Copiado da análise do solo.")},
            {{Edit4}}, Kind::Copy);
    if (!Edit4->text().isEmpty() && !Edit12->text().isEmpty())
        DoseN();
    DoseK();
}
