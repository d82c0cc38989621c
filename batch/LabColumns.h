#pragma once
// The columns of a laboratory's file: found by their header whatever its case,
// accents, spaces and punctuation, under the names laboratories use, with the
// unit the header gives (in parentheses, after the name, glued to it, or in a
// second header row) turned into the program's. Where the case carries the
// meaning (T, the CTC at pH 7, beside t, the effective CTC) it is kept.
#include "batch/CsvTable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace batch {

enum class Column {
    Amostra, Produtor, Cpf, Localidade, Municipio, Denominacao, Laudo,
    Argila, Ph, P, K, Mo, Al, Ca, Mg, Ctc, V, Rendimento,
    Data, // of the sample's collection or entry, as the file writes it (see LabDate.h)
};
inline constexpr int columnCount = int(Column::Data) + 1;

// Name shown in messages, e.g. "Argila".
QString columnName(Column column);
// Analysis values every sample must have.
bool required(Column column);
bool numeric(Column column);

// Lower case, accents and everything but letters and digits dropped:
// "Nº do Laudo" and "n do laudo" meet as "nodolaudo".
QString headerKey(QStringView text);

// Where each column stands in the file and what its values are multiplied by.
struct ColumnMap {
    std::array<int, columnCount> index;   // -1 when the file lacks the column
    std::array<double, columnCount> factor;
    std::array<QString, columnCount> unit; // the unit as the file writes it, empty for the program's own
    QStringList headers;                  // the file's header texts, for messages
    QStringList ignored;                  // headers not used, each with why
    QChar decimal;                        // the file's decimal mark, when its values show it
    QChar separator;                      // a CSV's field separator, for the message of a row of more or fewer fields
    // Further columns of a variable already taken (K in mg/dm³ and in
    // cmolc/dm³): each column and its factor, checked against the first.
    std::array<QList<std::pair<int, double>>, columnCount> also;
    int indexOf(Column c) const { return index[int(c)]; }
};

// The map of a header row, or the message that stops the run: a required
// column missing, or a unit the program does not know.
struct MapResult {
    std::optional<ColumnMap> map;
    QString error;
};
// A variable taken from a header the user names, with the unit the user
// gives (empty: the unit the header gives, or the program's).
struct ChosenColumn {
    Column column;
    QString header;
    QString unit;
};
// `units` is the file's second header row of units, when it has one.
MapResult mapColumns(const QStringList &header, const QStringList &units = {},
                     const QList<ChosenColumn> &chosen = {});

// The column a variable's name ("Argila", "ctc", "Rendimento") names.
std::optional<Column> columnNamed(const QString &name);

// Whether a record is a row of units under the header ("g/kg", "%",
// "cmolc/dm³", ...): some filled cell a known unit and none a number.
bool unitsRow(const QStringList &fields);

// How many of the program's columns a row names: a header row names several,
// a title line above it none or one.
int namedColumns(const QStringList &fields);

// The program's own unit of a column, for messages ("mg/dm³").
QString programUnit(Column column);

} // namespace batch
