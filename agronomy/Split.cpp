#include "agronomy/Split.h"
#include "core/NumberText.h"
#include "core/Working.h"

namespace split {

double byPercentage(double dose, double percent, Working *working)
{
    const double amount = dose * percent / 100;
    if (working)
        working->say(QStringLiteral("dose %1 kg/ha × %2 % = %3 kg/ha")
                         .arg(working->value(dose), working->value(percent), working->result(amount)));
    return amount;
}

Potash potash(double dose, Working *working)
{
    const bool over = dose > plantingPotashLimit;
    const Potash split = over ? Potash{plantingPotashLimit, dose - plantingPotashLimit} : Potash{dose, std::nullopt};
    if (working) {
        const Working &w = *working;
        if (over)
            working->say(QStringLiteral("K2O %1 kg/ha > %2 kg/ha: %2 no plantio, pois as raízes novas absorvem "
                                        "pouco potássio, e o restante, %1 − %2 = %3 kg/ha, na 1ª cobertura")
                             .arg(w.value(dose), w.value(plantingPotashLimit), w.result(*split.firstTopDressing)));
        else
            working->say(QStringLiteral("K2O %1 kg/ha ≤ %2 kg/ha: toda a dose no plantio, nada nas coberturas")
                             .arg(w.value(dose), w.value(plantingPotashLimit)));
    }
    return split;
}

std::array<QString, applications> potashTexts(const Potash &split, const NumberText &numbers)
{
    std::array<QString, applications> texts;
    if (split.firstTopDressing) {
        texts[0] = numbers.pointInForce() ? QStringLiteral("40.00") : QStringLiteral("40,00");
        texts[1] = numbers.format(*split.firstTopDressing, 2);
    } else {
        texts[0] = numbers.format(split.planting, 2);
    }
    return texts;
}

std::optional<double> byOptionalPercentage(double dose, std::optional<double> percent, Working *working)
{
    if (!percent) {
        if (working)
            working->say(QStringLiteral("sem percentual: nada nesta aplicação, e as outras não são aumentadas"));
        return std::nullopt;
    }
    return byPercentage(dose, *percent, working);
}

} // namespace split
