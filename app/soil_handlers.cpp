// Interpretation of the soil analysis as each of its fields is left.
#include "agronomy/ResultNames.h"
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
        Working factorWorking(numbers(), 1);
        if (const auto factor = soil::aluminiumFactorText(worksheet_.argila, numbers().separator(), &factorWorking)) {
            write(Edit26, *factor);
            explain({Edit26}, sections::liming, factorWorking.told(results::aluminiumFactor, *factor), {{Edit1}});
        }
        Working classWorking(numbers(), 1);
        write(Edit68, soil::clayClass(worksheet_.argila, &classWorking));
        explain({Edit68}, sections::soil, classWorking.told(results::clayClass, Edit68->text()), {{Edit1}});
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

namespace {
// The liming tab takes the analysis' values as typed.
Told copied(const QString &what, const QString &text)
{
    return {what, text.isEmpty() ? QStringLiteral("vazio") : text, QStringLiteral("Copiado da análise do solo.")};
}
} // namespace

void TFPrincipal::Edit4Exit()
{
    write(Edit20, Edit4->text());
    explain({Edit20}, sections::liming, copied(QStringLiteral("MO"), Edit4->text()), {{Edit4}}, Kind::Copy);
    if (filled(Edit4, Edit12))
        DoseN();
}

void TFPrincipal::Edit5Exit()
{
    write(Edit21, Edit5->text());
    write(Edit27, Edit5->text());
    for (QLineEdit *copy : {Edit21, Edit27})
        explain({copy}, sections::liming, copied(QStringLiteral("Al"), Edit5->text()), {{Edit5}}, Kind::Copy);
}

void TFPrincipal::Edit6Exit()
{
    if (filled(Edit6, Edit7)) {
        worksheet_.ca = read(Edit6);
        worksheet_.mg = read(Edit7);
        Working sumWorking(numbers(), 2), ratioWorking(numbers(), 2);
        const double caMg = soil::caMg(worksheet_.ca, worksheet_.mg, &sumWorking);
        write(Edit13, fmt(caMg, 2));
        explain({Edit13}, sections::soil, sumWorking.told(results::caMg, Edit13->text() + QStringLiteral(" cmolc/dm³")),
                {{Edit6}, {Edit7}}, Kind::Copy);
        write(Edit14, fmt(soil::caMgRatio(worksheet_.ca, worksheet_.mg, &ratioWorking), 2));
        explain({Edit14}, sections::soil, ratioWorking.told(results::caMgRatio, Edit14->text()), {{Edit6}, {Edit7}});
        write(Edit29, fmt(caMg, 2));
        explain({Edit29}, sections::soil, sumWorking.told(results::caMg, Edit29->text() + QStringLiteral(" cmolc/dm³")),
                {{Edit6}, {Edit7}});
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
        Working w(numbers(), 1);
        write(Edit69, soil::ctcClass(worksheet_.ctc, &w));
        explain({Edit69}, sections::soil, w.told(results::ctcClass, Edit69->text()), {{Edit8}});
    }
    write(Edit16, Edit8->text());
    explain({Edit16}, sections::liming, copied(QStringLiteral("CTC"), Edit8->text()), {{Edit8}}, Kind::Copy);
}

void TFPrincipal::Edit9Exit()
{
    write(Edit18, Edit9->text());
    explain({Edit18}, sections::liming, copied(QStringLiteral("V2"), Edit9->text()), {{Edit9}}, Kind::Copy);
}

void TFPrincipal::ClasseP()
{
    Working w(numbers(), 1);
    worksheet_.phosphorusLimits = soil::phosphorusLimits(worksheet_.argila, &w);
    write(Edit11, soil::nutrientClass(soil::Nutrient::P, worksheet_.p, worksheet_.phosphorusLimits, w));
    explain({Edit11}, sections::soil, w.told(results::phosphorusClass, Edit11->text()), {{Edit1}, {Edit2}});
}

void TFPrincipal::ClasseK()
{
    Working w(numbers(), 1);
    worksheet_.potassiumLimits = soil::potassiumLimits(worksheet_.ctc, &w);
    write(Edit10, soil::nutrientClass(soil::Nutrient::K, worksheet_.k, worksheet_.potassiumLimits, w));
    explain({Edit10}, sections::soil, w.told(results::potassiumClass, Edit10->text()), {{Edit3}, {Edit8}});
}
