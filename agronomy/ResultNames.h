#pragma once
// The names the working gives each result, in the window's words; the
// window's tooltips and the printed working of a lab-file sample share them.
#include "core/Nutrient.h"
#include <QString>
#include <QStringList>

namespace results {

inline const QString clayClass = QStringLiteral("Classe de argila");
inline const QString phosphorusClass = QStringLiteral("Classe de P");
inline const QString potassiumClass = QStringLiteral("Classe de K");
inline const QString ctcClass = QStringLiteral("Classe de CTC");
inline const QString aluminiumFactor = QStringLiteral("Fator f do alumínio");
inline const QString caMg = QStringLiteral("Ca+Mg");
inline const QString caMgRatio = QStringLiteral("Relação Ca/Mg");

inline const QString nitrogenDose = QStringLiteral("Dose de N");
inline const QString potashDose = QStringLiteral("Dose de K2O");
inline const QString phosphateDose = QStringLiteral("Dose de P2O5");
inline const QString phosphateNote = QStringLiteral("Aviso de P muito alto");

inline const QString baseSaturationNc = QStringLiteral("NC pela saturação de bases");
inline const QString lowBufferingNc = QStringLiteral("NC pelo baixo poder tampão");
inline const QString aluminiumNc = QStringLiteral("NC pelo alumínio trocável (apenas informativa)");
inline const QString criterion = QStringLiteral("Critério de calagem");
inline const QString need = QStringLiteral("Necessidade de calagem");
inline const QString commercial = QStringLiteral("Calcário comercial");

// "no plantio", "na 1ª cobertura", ... for planting (0) and the top-dressings.
inline QString inApplication(int application)
{
    return application == 0 ? QStringLiteral("no plantio") : QStringLiteral("na %1ª cobertura").arg(application);
}
// "N no plantio", "K2O na 1ª cobertura".
inline QString splitAmount(const QString &nutrient, int application)
{
    return QStringLiteral("%1 %2").arg(nutrient, inApplication(application));
}
// "Faltante de N no plantio".
inline QString faltante(const QString &nutrient, int application)
{
    return QStringLiteral("Faltante de %1 %2").arg(nutrient, inApplication(application));
}
inline const QStringList nutrientNames{core::nutrientName(core::Nutrient::N),
                                       core::nutrientName(core::Nutrient::P2O5),
                                       core::nutrientName(core::Nutrient::K2O)};

} // namespace results
