#pragma once
// Recommended doses of N, P2O5 and K2O for cassava, in kg/ha.
#include <QString>

class Working;

namespace doses {

// Each rule given a working says there the row of its table and the formula
// with its numbers.

// Expected yield above the 25 t/ha reference, never negative.
double yieldExcess(double yield, Working *working = nullptr);
// N by organic-matter band, growing with the yield excess up to the band's cap.
double nitrogen(double organicMatter, double yield, Working *working = nullptr);
// K2O by the potassium class word plus 2.5 kg per t/ha of excess; no cap.
// Any text that is not a class word gives 0.
double potash(const QString &potassiumClass, double excess, Working *working = nullptr);
// P2O5 by the phosphorus class word; any other text gives 0.
double phosphate(const QString &phosphorusClass, Working *working = nullptr);
// Phosphorus beyond three times the upper limit of "Alto" makes the
// phosphate fertilization dispensable.
bool phosphorusVeryHigh(double p, double lm4p, Working *working = nullptr);
inline const QString veryHighPhosphorusWarning =
    QStringLiteral("Atenção, P muito alto,pode-se suprimir a adubação fosfatada");

} // namespace doses
