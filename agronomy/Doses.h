#pragma once
// Recommended doses of N, P2O5 and K2O for cassava, in kg/ha.
#include <QString>

namespace doses {

// Expected yield above the 25 t/ha reference, never negative.
double yieldExcess(double yield);
// N by organic-matter band, growing with the yield excess up to the band's cap.
double nitrogen(double organicMatter, double yield);
// K2O by the potassium class word plus 2.5 kg per t/ha of excess; no cap.
// Any text that is not a class word gives 0.
double potash(const QString &potassiumClass, double excess);
// P2O5 by the phosphorus class word; any other text gives 0.
double phosphate(const QString &phosphorusClass);
// Phosphorus beyond three times the upper limit of "Alto" makes the
// phosphate fertilization dispensable.
bool phosphorusVeryHigh(double p, double lm4p);
inline const QString veryHighPhosphorusWarning =
    QStringLiteral("Atenção, P muito alto,pode-se suprimir a adubação fosfatada");

} // namespace doses
