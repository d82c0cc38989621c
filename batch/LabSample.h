#pragma once
// One sample of a laboratory's file: its identification as written and its
// analysis in the program's units, or why it cannot be recommended.
#include "batch/CsvTable.h"
#include "batch/LabColumns.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace batch {

struct LabSample {
    int line = 0;                                         // line of the file
    std::array<QString, columnCount> texts;               // identification columns, as written
    std::array<std::optional<double>, columnCount> values; // analysis columns, in the program's units
    QString error;                                        // empty when the sample can be recommended
    QString warning;                                      // what was taken on trust: a detection limit

    QString text(Column c) const { return texts[int(c)]; }
    std::optional<double> value(Column c) const { return values[int(c)]; }
};

// Every record of the table as a sample, in file order. `yield` is the
// expected yield of samples whose file gives none.
QList<LabSample> readSamples(const CsvTable &table, const ColumnMap &map, double yield);
// One record as a sample.
LabSample readSample(const CsvRecord &record, const ColumnMap &map, double yield);

// A number as the file writes it (decimal comma or point), by the program's
// one number rule; nothing when it is not a number. Blanks around it (a tab,
// a non-breaking space) are dropped. A thousands separator is read where it
// cannot be mistaken ("1.234,5", "1.234.567"); a lone mark before exactly
// three digits ("38.500") is read by the file's decimal mark `decimal` (after a
// lone 0, "0.125", it is always a decimal mark), and as a decimal mark when
// the file shows none (a sample's value is then refused by readSample).
std::optional<double> fileNumber(const QString &text, QChar decimal = QChar());

// The decimal mark a value shows beyond doubt ("5,4" a comma, "0.15" a
// point), or none.
QChar decimalMarkOf(const QString &text);

} // namespace batch
