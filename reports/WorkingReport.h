#pragma once
// "Memória de cálculo": the working of every result of a case, in the order
// it was computed, as text lines and as printed pages.
#include "core/Working.h"
#include "model/Case.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace reports {

struct WorkingDocument {
    QStringList heading;  // who, where, which analysis, when, by whom
    QStringList analysis; // the analysis as typed: "Argila: 35 %"
    CaseWorking steps;
};

// The heading and the analysis from the case; the date as the caller writes
// it. The steps go by part of the recommendation (the analysis, the doses,
// the liming, the split, planting, the top-dressings), each part in the
// order its results were computed.
WorkingDocument workingDocument(const model::Case &c, const QString &date, const CaseWorking &steps);

// The document as lines of text: the title, the heading, the analysis, then
// each part of the recommendation with its results in the order computed.
QStringList workingTextLines(const WorkingDocument &document);
// The lines as a text file: UTF-8 marked as such, lines ended by CR LF; the
// working writes ≤, → and − , which the text report's code page lacks.
QByteArray workingText(const QStringList &lines);

// Paints the document on A4 pages, numbered; false when the device cannot
// be painted on.
bool printWorking(const WorkingDocument &document, QPagedPaintDevice &device);

inline const QString workingTitle = QStringLiteral("Memória de cálculo");

} // namespace reports
