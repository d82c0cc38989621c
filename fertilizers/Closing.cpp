#include "fertilizers/Closing.h"

#include "core/Working.h"

#include <algorithm>

namespace fertilizers {

namespace {
QString limitText(const QString &name, double missing, double content, double limit, const Working &w)
{
    if (content == 0)
        return QStringLiteral("%1: o produto não tem, sem limite").arg(name);
    return QStringLiteral("%1: %2 × 100 / %3 % = %4 kg")
        .arg(name, w.value(missing), w.value(content), w.value(limit, 1));
}
} // namespace

double closingLimit(double missing, double contentPercent)
{
    if (contentPercent == 0)
        return noLimit;
    return missing * 100 / contentPercent;
}

double ClosingLimits::smallest() const
{
    return std::min({n, p2o5, k2o});
}

ClosingLimits closingLimits(double missingN, double missingP2O5, double missingK2O, double pn, double pp,
                            double pk, Working *working)
{
    const ClosingLimits limits{closingLimit(missingN, pn), closingLimit(missingP2O5, pp), closingLimit(missingK2O, pk)};
    if (working)
        working->say(QStringLiteral("produto que fecha o que falta, faltante × 100 / teor: %1, %2, %3")
                         .arg(limitText(QStringLiteral("N"), missingN, pn, limits.n, *working),
                              limitText(QStringLiteral("P2O5"), missingP2O5, pp, limits.p2o5, *working),
                              limitText(QStringLiteral("K2O"), missingK2O, pk, limits.k2o, *working)));
    return limits;
}

double proposedQuantity(double limit, Working *working)
{
    const bool none = limit >= noLimit, negative = limit < 0;
    if (working) {
        if (none)
            working->say(QStringLiteral("o produto não tem o nutriente que decide: nenhuma quantidade proposta (%1)")
                             .arg(working->result(0)));
        else if (negative)
            working->say(QStringLiteral("limite %1 kg negativo, o nutriente já sobra e mais produto só aumentaria o "
                                        "excesso: proposta mantida em %2")
                             .arg(working->value(limit, 1), working->result(0)));
    }
    if (none || negative)
        return 0;
    return limit;
}

double chosenLimit(const ClosingLimits &limits, ClosingCriterion criterion, Working *working)
{
    const auto tell = [working](const QString &how) {
        if (working)
            working->say(how);
    };
    switch (criterion) {
    case ClosingCriterion::N:
        tell(QStringLiteral("fechar pelo N: o limite de N"));
        return limits.n;
    case ClosingCriterion::P2O5:
        tell(QStringLiteral("fechar pelo P: o limite de P2O5"));
        return limits.p2o5;
    case ClosingCriterion::K2O:
        tell(QStringLiteral("fechar pelo K: o limite de K2O"));
        return limits.k2o;
    case ClosingCriterion::Smallest:
        break;
    }
    tell(QStringLiteral("o menor dos três limites, para que nenhum nutriente passe do que falta"));
    return limits.smallest();
}

std::optional<double> closingProposal(double missing, double contentPercent)
{
    if (missing > 0 && contentPercent > 0)
        return 100 * missing / contentPercent;
    return std::nullopt;
}

void tellDecider(Nutrient nutrient, double missing, double contentPercent, std::optional<double> quantity,
                 Working &working)
{
    const QString name = nutrientName(nutrient);
    if (quantity)
        working.say(QStringLiteral("%1: faltam %2 kg e o produto tem %3 %: 100 × %2 / %3 = %4 kg")
                        .arg(name, working.value(missing), working.value(contentPercent), working.result(*quantity)));
    else if (!(missing > 0))
        working.say(QStringLiteral("%1: nada falta, não decide").arg(name));
    else
        working.say(QStringLiteral("%1: o produto não tem, não decide").arg(name));
}

std::optional<TopDressingProposal> topDressingProposal(double missingN, double pn, double missingK2O, double pk)
{
    const auto isN = [](Nutrient nutrient) { return nutrient == Nutrient::N; };
    std::optional<TopDressingProposal> proposal;
    followTopDressingRule([&](Nutrient nutrient) { return isN(nutrient) ? missingN : missingK2O; },
                          [&](Nutrient nutrient) { return isN(nutrient) ? pn : pk; },
                          [&](const TopDressingProposal &made) { proposal = made; });
    return proposal;
}

double stillMissing(double dose, double supplied, int products, Working *working)
{
    const double missing = dose - supplied;
    if (working) {
        const QString list = products == 1 ? QStringLiteral("pelo produto da lista")
                                           : QStringLiteral("pelos %1 produtos da lista").arg(products);
        working->say(QStringLiteral("dose %1 kg/ha − %2 kg fornecidos %3 = %4 kg/ha")
                         .arg(working->value(dose), working->value(supplied), list, working->result(missing)));
        if (missing < 0)
            working->say(QStringLiteral("negativo: a lista fornece mais que a dose"));
    }
    return missing;
}

double supplied(double quantity, double contentPercent, double efficiency, Working *working)
{
    const double amount = quantity * contentPercent * efficiency / 100;
    if (working) {
        const Working &w = *working;
        if (efficiency == 1.0)
            working->say(QStringLiteral("%1 kg × %2 % = %3 kg")
                             .arg(w.value(quantity), w.value(contentPercent), w.result(amount)));
        else
            working->say(QStringLiteral("%1 kg × %2 % × eficiência %3 = %4 kg")
                             .arg(w.value(quantity), w.value(contentPercent), w.value(efficiency), w.result(amount)));
    }
    return amount;
}

} // namespace fertilizers
