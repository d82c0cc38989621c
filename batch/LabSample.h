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

    QString text(Column c) const { return texts[int(c)]; }
    std::optional<double> value(Column c) const { return values[int(c)]; }
};

// Every record of the table as a sample, in file order. `yield` is the
// expected yield of samples whose file gives none.
QList<LabSample> readSamples(const CsvTable &table, const ColumnMap &map, double yield);
// One record as a sample.
LabSample readSample(const CsvRecord &record, const ColumnMap &map, double yield);

// A number as the file writes it (decimal comma or point), by the program's
// one number rule; nothing when it is not a number.
std::optional<double> fileNumber(const QString &text);

} // namespace batch
