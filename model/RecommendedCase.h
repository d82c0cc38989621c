#pragma once
// The recommendation of one analysis written into a case, as the window
// shows it once the analysis is typed field by field (as typedText gives
// each value), "Calcular" of the liming (and of the PRNT correction when a
// PRNT is given) and both "&Calcular" of the split are pressed. The window
// and the lab-file run share it, so the lab-file run reports what the window
// would.
#include "agronomy/Recommendation.h"
#include "model/Case.h"

class NumberText;

namespace model {

// Writes the analysis, its classes, the liming, the doses and their split,
// and what is missing of each application; the rest of the case is left
// as it is.
void applyRecommendation(Case &c, const agronomy::Analysis &analysis, const agronomy::Recommendation &recommendation,
                         const NumberText &numbers);

} // namespace model
