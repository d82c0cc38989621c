// Interpretation of the soil analysis as each of its fields is left.
#include "agronomy/SoilClasses.h"
#include "app/TFPrincipal.h"

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
        worksheet_.argila = read(Edit1);
        worksheet_.p = read(Edit2);
        ClasseP();
    }
    if (!Edit1->text().isEmpty()) {
        worksheet_.argila = read(Edit1);
        if (const auto factor = soil::aluminiumFactorText(worksheet_.argila, numbers().separator()))
            write(Edit26, *factor);
        write(Edit68, soil::clayClass(worksheet_.argila));
    }
    // The phosphate dose waits until the phosphorus field is left again.
}

void TFPrincipal::Edit2Exit()
{
    if (filled(Edit1, Edit2)) {
        worksheet_.argila = read(Edit1);
        worksheet_.p = read(Edit2);
        ClasseP();
        DoseP();
    }
}

void TFPrincipal::Edit3Exit()
{
    if (filled(Edit3, Edit8)) {
        worksheet_.k = read(Edit3);
        worksheet_.ctc = read(Edit8);
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
        worksheet_.ca = read(Edit6);
        worksheet_.mg = read(Edit7);
        const double caMg = worksheet_.ca + worksheet_.mg;
        write(Edit13, fmt(caMg, 2));
        write(Edit14, fmt(divide(worksheet_.ca, worksheet_.mg), 2));
        write(Edit29, fmt(caMg, 2));
    }
}

void TFPrincipal::Edit7Exit()
{
    Edit6Exit();
}

void TFPrincipal::Edit8Exit()
{
    if (filled(Edit3, Edit8)) {
        worksheet_.k = read(Edit3);
        worksheet_.ctc = read(Edit8);
        ClasseK();
        DoseK();
        write(Edit69, soil::ctcClass(worksheet_.ctc));
    }
    write(Edit16, Edit8->text());
}

void TFPrincipal::Edit9Exit()
{
    write(Edit18, Edit9->text());
}

void TFPrincipal::ClasseP()
{
    worksheet_.phosphorusLimits = soil::phosphorusLimits(worksheet_.argila);
    write(Edit11, soil::nutrientClass(worksheet_.p, worksheet_.phosphorusLimits));
}

void TFPrincipal::ClasseK()
{
    worksheet_.potassiumLimits = soil::potassiumLimits(worksheet_.ctc);
    write(Edit10, soil::nutrientClass(worksheet_.k, worksheet_.potassiumLimits));
}
