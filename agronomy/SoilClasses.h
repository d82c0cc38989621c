#pragma once
// Interpretation of a soil analysis: clay class, the class limits that the
// phosphorus and potassium levels are judged against, and the CTC class.
#include <QChar>
#include <QString>
#include <optional>

namespace soil {

// Upper limits (inclusive) of the classes "Muito baixo" to "Alto", in mg/dm³.
struct Limits {
    double l1 = 0, l2 = 0, l3 = 0, l4 = 0;
    bool operator==(const Limits &) const = default;
};

// The five interpretation words; the dose rules compare field texts with them.
inline const QString muitoBaixo = QStringLiteral("Muito baixo");
inline const QString baixo = QStringLiteral("Baixo");
inline const QString medio = QStringLiteral("Médio");
inline const QString alto = QStringLiteral("Alto");
inline const QString muitoAlto = QStringLiteral("Muito alto");

// "Classe 1" (clay >= 60) to "Classe 4" (clay <= 20).
QString clayClass(double argila);
// Phosphorus limits depend on the clay class: sandier soils need more P.
Limits phosphorusLimits(double argila);
// Potassium limits depend on the CTC band.
Limits potassiumLimits(double ctc);
// "Baixa", "Média", "Alta" or "Muito Alta", by the same CTC bands.
QString ctcClass(double ctc);
// Class of a nutrient value against its four limits (lower bounds exclusive).
QString nutrientClass(double value, const Limits &limits);

// Aluminium factor of the exchangeable-aluminium liming criterion.
double aluminiumFactor(double argila);
// The factor as the fixed text for the separator in force ("2,0"/"2.0",
// "1,2"/"1.2"); nothing for any other separator.
std::optional<QString> aluminiumFactorText(double argila, QChar separator);

} // namespace soil
