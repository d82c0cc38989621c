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

// Whether a value cell says the quantity was not measured: "ns", "nr",
// "-", "n.d.", "nd", "n/d".
bool notMeasured(const QString &text);

// Where soils stop, in the program's units: a column whose values pass a
// limit in most samples (clay: in any) is not in the unit taken. Data for
// the README's table.
struct SoilLimit {
    Column column;
    double limit;
    bool any;          // one sample past it is enough (clay above 100 %)
    const char *basis; // why no soil passes it
};
const QList<SoilLimit> &soilLimits();

// A column whose unit the file does not state (or states wrongly), which
// its values show is not the unit taken.
struct UnitDoubt {
    Column column;
    QString header; // as the file writes it
    QString unit;   // the unit the values point to, as an option writes it ("mmolc/dm³")
    QString why;    // what the values show
    bool stated = false; // the file states a unit, wrongly
};

// What a file's values show of its units: fed every record below the
// header, then asked.
class UnitEvidence {
public:
    explicit UnitEvidence(const ColumnMap &map);
    void add(const CsvRecord &record);
    QList<UnitDoubt> doubts() const;

private:
    const ColumnMap &map_;
    std::array<int, columnCount> count_{}, past_{};
    std::array<double, columnCount> worst_{};
    int kCount_ = 0, kLow_ = 0;          // samples with K and SB; K under 10 mg/dm³ where SB says more
    // SB's K matched by K in mg/dm³, mmolc/dm³, cmolc/dm³, with the other
    // cations as taken and in mmolc/dm³.
    std::array<std::array<int, 3>, 2> kMatch_{};
};

// The message that stops the run for the doubts: each column, the unit its
// values point to and the option that states it.
QString doubtsMessage(const QList<UnitDoubt> &doubts);
// Whether the doubts are those of a file in the São Paulo convention: bases
// in mmolc/dm³ where the file states no unit.
bool iacDoubts(const QList<UnitDoubt> &doubts);
// The --coluna option that states a doubt's unit ("--coluna K=K:mmolc/dm³").
QString doubtOption(const UnitDoubt &doubt);

// The decimal mark a value shows beyond doubt ("5,4" a comma, "0.15" a
// point), or none.
QChar decimalMarkOf(const QString &text);

} // namespace batch
