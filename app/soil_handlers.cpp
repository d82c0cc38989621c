// Interpretation of the soil analysis as each of its fields is left.
#include "SoilClasses.h"
#include "TFPrincipal.h"
#include "worksheet.h"

#include <QLineEdit>

namespace {
bool filled(const QLineEdit *a, const QLineEdit *b)
{
    return !a->text().isEmpty() && !b->text().isEmpty();
}
} // namespace

void TFPrincipal::Edit1Exit()
{
    if (filled(Edit1, Edit2)) {
        argila = read(Edit1);
        P = read(Edit2);
        ClasseP();
    }
    if (!Edit1->text().isEmpty()) {
        argila = read(Edit1);
        if (const auto factor = soil::aluminiumFactorText(argila, numbers().separator()))
            write(Edit26, *factor);
        write(Edit68, soil::clayClass(argila));
    }
    // The phosphate dose waits until the phosphorus field is left again.
}

void TFPrincipal::Edit2Exit()
{
    if (filled(Edit1, Edit2)) {
        argila = read(Edit1);
        P = read(Edit2);
        ClasseP();
        DoseP();
    }
}

void TFPrincipal::Edit3Exit()
{
    if (filled(Edit3, Edit8)) {
        K = read(Edit3);
        CTC = read(Edit8);
        ClasseK();
        DoseK();
    }
}

void TFPrincipal::Edit4Exit()
{
    write(Edit20, Edit4->text());
    if (filled(Edit4, Edit12))
        DoseN();
}

void TFPrincipal::Edit5Exit()
{
    write(Edit21, Edit5->text());
    write(Edit27, Edit5->text());
}

void TFPrincipal::Edit6Exit()
{
    if (filled(Edit6, Edit7)) {
        Ca = read(Edit6);
        Mg = read(Edit7);
        write(Edit13, fmt(Ca + Mg, 2));
        write(Edit14, fmt(divide(Ca, Mg), 2));
        write(Edit29, fmt(Ca + Mg, 2));
    }
}

void TFPrincipal::Edit7Exit()
{
    Edit6Exit();
}

void TFPrincipal::Edit8Exit()
{
    if (filled(Edit3, Edit8)) {
        K = read(Edit3);
        CTC = read(Edit8);
        ClasseK();
        DoseK();
        write(Edit69, soil::ctcClass(CTC));
    }
    write(Edit16, Edit8->text());
}

void TFPrincipal::Edit9Exit()
{
    write(Edit18, Edit9->text());
}

void TFPrincipal::ClasseP()
{
    const soil::Limits limits = soil::phosphorusLimits(argila);
    Lm1P = limits.l1;
    Lm2P = limits.l2;
    Lm3P = limits.l3;
    Lm4P = limits.l4;
    write(Edit11, soil::nutrientClass(P, limits));
}

void TFPrincipal::ClasseK()
{
    const soil::Limits limits = soil::potassiumLimits(CTC);
    Lm1K = limits.l1;
    Lm2K = limits.l2;
    Lm3K = limits.l3;
    Lm4K = limits.l4;
    write(Edit10, soil::nutrientClass(K, limits));
}
