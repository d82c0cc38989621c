// Splitting the N and K2O doses over planting and the three top-dressings,
// and the phosphate dose, which goes whole to planting.
#include "agronomy/Applications.h"
#include "app/TFPrincipal.h"
#include "agronomy/Split.h"
#include "app/StringGrid.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace applications;

void TFPrincipal::Button3Click()
{
    const double Dosenit = read(edit30);
    for (int j = Planting; j < stga1->rowCount(); ++j) {
        const double percent = read(stga1->cell(PercentColumn, j));
        const double qtd = split::byPercentage(Dosenit, percent);
        stga1->setCell(AmountColumn, j, fmt(qtd, 2));
        stga3->setCell(NColumn, j, stga1->cell(AmountColumn, j));
    }
    for (int row = Planting; row <= ThirdTopDressing; ++row)
        write(faltante(row, NColumn), stga1->cell(AmountColumn, row));
}

void TFPrincipal::Button4Click()
{
    for (int j = Planting; j < stga2->rowCount(); ++j)
        stga2->setCell(AmountColumn, j, QString());
    const double Dosek20 = read(edit31);
    const auto amounts = split::potashTexts(split::potash(Dosek20), numbers());
    for (int row = Planting; row <= ThirdTopDressing; ++row)
        stga2->setCell(AmountColumn, row, amounts[row - Planting]);
    for (int j = Planting; j < stga2->rowCount(); ++j)
        stga3->setCell(K2OColumn, j, stga2->cell(AmountColumn, j));
    for (int row = Planting; row <= ThirdTopDressing; ++row)
        write(faltante(row, K2OColumn), stga2->cell(AmountColumn, row));
}

void TFPrincipal::Button17Click()
{
    const double doseK = read(edit31);
    int nv = 0;
    for (int lin = Planting; lin <= ThirdTopDressing; ++lin) {
        const QString percentText = stga2->cell(PercentColumn, lin);
        const std::optional<double> percent =
            percentText.isEmpty() ? std::nullopt : std::optional<double>(read(percentText));
        if (const std::optional<double> qk = split::byOptionalPercentage(doseK, percent)) {
            ++nv;
            stga2->setCell(AmountColumn, lin, fmt(*qk, 2));
            stga3->setCell(K2OColumn, lin, fmt(*qk, 2));
        } else {
            stga2->setCell(AmountColumn, lin, QString());
            stga3->setCell(K2OColumn, lin, QString());
        }
    }
    if (nv == 0) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tuberon"),
                        split::noPercentagesMessage, QMessageBox::Ok, this);
        box.exec();
    }
    for (int row = Planting; row <= ThirdTopDressing; ++row)
        write(faltante(row, K2OColumn), stga2->cell(AmountColumn, row));
}

void TFPrincipal::edit32Change()
{
    // The whole phosphate dose goes to planting, as typed or computed.
    stga3->setCell(P2O5Column, Planting, edit32->text());
    write(Edit52, edit32->text());
}

void TFPrincipal::Edit50Change() { colourFaltante(Edit50); }
void TFPrincipal::Edit52Change() { colourFaltante(Edit52); }
void TFPrincipal::Edit54Change() { colourFaltante(Edit54); }
void TFPrincipal::Edit64Change() { colourFaltante(cobertura[0].faltante[N]); }
void TFPrincipal::Edit66Change() { colourFaltante(cobertura[0].faltante[P2O5]); }
void TFPrincipal::Edit67Change() { colourFaltante(cobertura[0].faltante[K2O]); }
void TFPrincipal::Edit49Change() { colourFaltante(cobertura[1].faltante[N]); }
void TFPrincipal::Edit51Change() { colourFaltante(cobertura[1].faltante[P2O5]); }
void TFPrincipal::Edit53Change() { colourFaltante(cobertura[1].faltante[K2O]); }
void TFPrincipal::Edit78Change() { colourFaltante(cobertura[2].faltante[N]); }
void TFPrincipal::Edit79Change() { colourFaltante(cobertura[2].faltante[P2O5]); }
void TFPrincipal::Edit80Change() { colourFaltante(cobertura[2].faltante[K2O]); }
