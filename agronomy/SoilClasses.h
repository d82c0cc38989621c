#pragma once
// Interpretation of a soil analysis: clay class, the class limits that the
// phosphorus and potassium levels are judged against, and the CTC class.
#include <QChar>
#include <QString>
#include <optional>

class Working;

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

// Each rule given a working says there which band or row it took and why.

// "Classe 1" (clay >= 60) to "Classe 4" (clay <= 20).
QString clayClass(double argila, Working *working = nullptr);
// Phosphorus limits depend on the clay class: sandier soils need more P.
Limits phosphorusLimits(double argila, Working *working = nullptr);
// Potassium limits depend on the CTC band.
Limits potassiumLimits(double ctc, Working *working = nullptr);
// "Baixa", "Média", "Alta" or "Muito Alta", by the same CTC bands.
QString ctcClass(double ctc, Working *working = nullptr);
// Class of a nutrient value against its four limits (lower bounds exclusive).
QString nutrientClass(double value, const Limits &limits);
// The same, telling where the phosphorus or potassium content falls.
enum class Nutrient { P, K };
QString nutrientClass(Nutrient nutrient, double value, const Limits &limits, Working &working);

// Ca + Mg and Ca / Mg, cmolc/dm³; Mg = 0 fails the division.
double caMg(double ca, double mg, Working *working = nullptr);
double caMgRatio(double ca, double mg, Working *working = nullptr);

// Aluminium factor of the exchangeable-aluminium liming criterion.
double aluminiumFactor(double argila);
// The factor as the fixed text for the separator in force ("2,0"/"2.0",
// "1,2"/"1.2"); nothing for any other separator.
std::optional<QString> aluminiumFactorText(double argila, QChar separator, Working *working = nullptr);

} // namespace soil
