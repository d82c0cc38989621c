// Splitting the N and K2O doses over planting and the three top-dressings,
// and the phosphate dose, which goes whole to planting.
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "app/TFPrincipal.h"
#include "agronomy/Split.h"
#include "app/ApplicationBlock.h"
#include "app/StringGrid.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace applications;

namespace {
QString amountText(const QString &cell)
{
    return cell.isEmpty() ? QStringLiteral("nada") : cell + QStringLiteral(" kg/ha");
}

// What the split puts in "Faltante": the application's whole dose, the
// products already listed being taken off only at the next "Inserir".
Told splitFaltante(const QString &nutrient, int row, const QString &text, int listed)
{
    QString why = nutrient == QLatin1String("P2O5") ? QStringLiteral("A dose de P2O5, que vai toda ao plantio.")
                                                    : QStringLiteral("A dose da aplicação, do parcelamento.");
    if (listed > 0)
        why += QStringLiteral(" Os %1 produtos já listados só são descontados no próximo \"Inserir\".").arg(listed);
    return {results::faltante(nutrient, row - Planting), amountText(text), why};
}
} // namespace

void TFPrincipal::Button3Click()
{
    const double Dosenit = read(edit30);
    for (int j = Planting; j < stga1->rowCount(); ++j) {
        const double percent = read(stga1->cell(PercentColumn, j));
        Working w(numbers(), 2);
        const double qtd = split::byPercentage(Dosenit, percent, &w);
        stga1->setCell(AmountColumn, j, fmt(qtd, 2));
        stga3->setCell(NColumn, j, stga1->cell(AmountColumn, j));
        const Told told = w.told(results::splitAmount(QStringLiteral("N"), j - Planting), amountText(stga1->cell(AmountColumn, j)));
        explain({stga1, AmountColumn, j}, sections::split, told, {{edit30}, {stga1, PercentColumn, j}});
        explain({stga3, NColumn, j}, sections::split, told, {{edit30}, {stga1, PercentColumn, j}}, Kind::Copy);
    }
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        write(faltante(row, NColumn), stga1->cell(AmountColumn, row));
        explain({faltante(row, NColumn)}, sections::split,
                splitFaltante(QStringLiteral("N"), row, stga1->cell(AmountColumn, row), application(row).list->rowCount() - FirstProductRow),
                {{stga1, AmountColumn, row}});
    }
}

void TFPrincipal::Button4Click()
{
    for (int j = Planting; j < stga2->rowCount(); ++j)
        stga2->setCell(AmountColumn, j, QString());
    const double Dosek20 = read(edit31);
    Working w(numbers(), 2);
    const auto amounts = split::potashTexts(split::potash(Dosek20, &w), numbers());
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        stga2->setCell(AmountColumn, row, amounts[row - Planting]);
        explain({stga2, AmountColumn, row}, sections::split,
                w.told(results::splitAmount(QStringLiteral("K2O"), row - Planting), amountText(amounts[row - Planting])),
                {{edit31}});
    }
    for (int j = Planting; j < stga2->rowCount(); ++j) {
        stga3->setCell(K2OColumn, j, stga2->cell(AmountColumn, j));
        explain({stga3, K2OColumn, j}, sections::split,
                w.told(results::splitAmount(QStringLiteral("K2O"), j - Planting), amountText(stga2->cell(AmountColumn, j))),
                {{edit31}}, Kind::Copy);
    }
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        write(faltante(row, K2OColumn), stga2->cell(AmountColumn, row));
        explain({faltante(row, K2OColumn)}, sections::split,
                splitFaltante(QStringLiteral("K2O"), row, stga2->cell(AmountColumn, row), application(row).list->rowCount() - FirstProductRow),
                {{stga2, AmountColumn, row}});
    }
}

void TFPrincipal::Button17Click()
{
    const double doseK = read(edit31);
    int nv = 0;
    for (int lin = Planting; lin <= ThirdTopDressing; ++lin) {
        const QString percentText = stga2->cell(PercentColumn, lin);
        const std::optional<double> percent =
            percentText.isEmpty() ? std::nullopt : std::optional<double>(read(percentText));
        Working w(numbers(), 2);
        if (const std::optional<double> qk = split::byOptionalPercentage(doseK, percent, &w)) {
            ++nv;
            stga2->setCell(AmountColumn, lin, fmt(*qk, 2));
            stga3->setCell(K2OColumn, lin, fmt(*qk, 2));
        } else {
            stga2->setCell(AmountColumn, lin, QString());
            stga3->setCell(K2OColumn, lin, QString());
        }
        const Told told = w.told(results::splitAmount(QStringLiteral("K2O"), lin - Planting), amountText(stga2->cell(AmountColumn, lin)));
        explain({stga2, AmountColumn, lin}, sections::split, told, {{edit31}, {stga2, PercentColumn, lin}});
        explain({stga3, K2OColumn, lin}, sections::split, told, {{edit31}, {stga2, PercentColumn, lin}}, Kind::Copy);
    }
    if (nv == 0) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tuberon"),
                        split::noPercentagesMessage, QMessageBox::Ok, this);
        box.exec();
    }
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        write(faltante(row, K2OColumn), stga2->cell(AmountColumn, row));
        explain({faltante(row, K2OColumn)}, sections::split,
                splitFaltante(QStringLiteral("K2O"), row, stga2->cell(AmountColumn, row), application(row).list->rowCount() - FirstProductRow),
                {{stga2, AmountColumn, row}});
    }
}

void TFPrincipal::edit32Change()
{
    // The whole phosphate dose goes to planting, as typed or computed.
    stga3->setCell(P2O5Column, Planting, edit32->text());
    const Told told{results::splitAmount(QStringLiteral("P2O5"), 0), amountText(edit32->text()),
                    QStringLiteral("A dose de P2O5 vai toda ao plantio.")};
    explain({stga3, P2O5Column, Planting}, sections::split, told, {{edit32}}, Kind::Copy);
    write(Edit52, edit32->text());
    explain({Edit52}, sections::split, splitFaltante(QStringLiteral("P2O5"), Planting, edit32->text(), stga4->rowCount() - FirstProductRow),
            {{edit32}});
}

// The "Faltante" colours: each block colours its own fields.
void TFPrincipal::Edit50Change() { block(Planting).colourFaltante(N); }
void TFPrincipal::Edit52Change() { block(Planting).colourFaltante(P2O5); }
void TFPrincipal::Edit54Change() { block(Planting).colourFaltante(K2O); }
void TFPrincipal::Edit64Change() { block(FirstTopDressing).colourFaltante(N); }
void TFPrincipal::Edit66Change() { block(FirstTopDressing).colourFaltante(P2O5); }
void TFPrincipal::Edit67Change() { block(FirstTopDressing).colourFaltante(K2O); }
void TFPrincipal::Edit49Change() { block(SecondTopDressing).colourFaltante(N); }
void TFPrincipal::Edit51Change() { block(SecondTopDressing).colourFaltante(P2O5); }
void TFPrincipal::Edit53Change() { block(SecondTopDressing).colourFaltante(K2O); }
void TFPrincipal::Edit78Change() { block(ThirdTopDressing).colourFaltante(N); }
void TFPrincipal::Edit79Change() { block(ThirdTopDressing).colourFaltante(P2O5); }
void TFPrincipal::Edit80Change() { block(ThirdTopDressing).colourFaltante(K2O); }
