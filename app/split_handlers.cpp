// Splitting the N and K2O doses over planting and the three top-dressings,
// and the phosphate dose, which goes whole to planting.
#include "TFPrincipal.h"
#include "Split.h"
#include "StringGrid.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
constexpr int kColPercent = 2;
constexpr int kColAmount = 3;
constexpr int kColN = 2, kColP2O5 = 3, kColK2O = 4; // stga3
constexpr int kFirstApplication = 1, kLastApplication = 4;
} // namespace

QLineEdit *TFPrincipal::faltante(int row, int nutrientColumn) const
{
    if (row == 1)
        return nutrientColumn == kColN ? Edit50 : nutrientColumn == kColP2O5 ? Edit52 : Edit54;
    const Cobertura &c = cobertura[row - 2];
    return nutrientColumn == kColN ? c.faltN : nutrientColumn == kColP2O5 ? c.faltP : c.faltK;
}

void TFPrincipal::Button3Click()
{
    const double Dosenit = read(edit30);
    for (int j = 1; j < stga1->rowCount(); ++j) {
        const double percent = read(stga1->cell(kColPercent, j));
        const double qtd = split::byPercentage(Dosenit, percent);
        stga1->setCell(kColAmount, j, fmt(qtd, 2));
        stga3->setCell(kColN, j, stga1->cell(kColAmount, j));
    }
    for (int row = kFirstApplication; row <= kLastApplication; ++row)
        write(faltante(row, kColN), stga1->cell(kColAmount, row));
}

void TFPrincipal::Button4Click()
{
    for (int j = 1; j < stga2->rowCount(); ++j)
        stga2->setCell(kColAmount, j, QString());
    const double Dosek20 = read(edit31);
    const auto amounts = split::potashTexts(split::potash(Dosek20), numbers());
    for (int row = kFirstApplication; row <= kLastApplication; ++row)
        stga2->setCell(kColAmount, row, amounts[row - kFirstApplication]);
    for (int j = 1; j < stga2->rowCount(); ++j)
        stga3->setCell(kColK2O, j, stga2->cell(kColAmount, j));
    for (int row = kFirstApplication; row <= kLastApplication; ++row)
        write(faltante(row, kColK2O), stga2->cell(kColAmount, row));
}

void TFPrincipal::Button17Click()
{
    const double doseK = read(edit31);
    int nv = 0;
    for (int lin = kFirstApplication; lin <= kLastApplication; ++lin) {
        const QString percentText = stga2->cell(kColPercent, lin);
        const std::optional<double> percent =
            percentText.isEmpty() ? std::nullopt : std::optional<double>(read(percentText));
        if (const std::optional<double> qk = split::byOptionalPercentage(doseK, percent)) {
            ++nv;
            stga2->setCell(kColAmount, lin, fmt(*qk, 2));
            stga3->setCell(kColK2O, lin, fmt(*qk, 2));
        } else {
            stga2->setCell(kColAmount, lin, QString());
            stga3->setCell(kColK2O, lin, QString());
        }
    }
    if (nv == 0) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tuberon"),
                        split::noPercentagesMessage, QMessageBox::Ok, this);
        box.exec();
    }
    for (int row = kFirstApplication; row <= kLastApplication; ++row)
        write(faltante(row, kColK2O), stga2->cell(kColAmount, row));
}

void TFPrincipal::edit32Change()
{
    // The whole phosphate dose goes to planting, as typed or computed.
    stga3->setCell(kColP2O5, 1, edit32->text());
    write(Edit52, edit32->text());
}

void TFPrincipal::Edit50Change() { colourFaltante(Edit50); }
void TFPrincipal::Edit52Change() { colourFaltante(Edit52); }
void TFPrincipal::Edit54Change() { colourFaltante(Edit54); }
void TFPrincipal::Edit64Change() { colourFaltante(cobertura[0].faltN); }
void TFPrincipal::Edit66Change() { colourFaltante(cobertura[0].faltP); }
void TFPrincipal::Edit67Change() { colourFaltante(cobertura[0].faltK); }
void TFPrincipal::Edit49Change() { colourFaltante(cobertura[1].faltN); }
void TFPrincipal::Edit51Change() { colourFaltante(cobertura[1].faltP); }
void TFPrincipal::Edit53Change() { colourFaltante(cobertura[1].faltK); }
void TFPrincipal::Edit78Change() { colourFaltante(cobertura[2].faltN); }
void TFPrincipal::Edit79Change() { colourFaltante(cobertura[2].faltP); }
void TFPrincipal::Edit80Change() { colourFaltante(cobertura[2].faltK); }
