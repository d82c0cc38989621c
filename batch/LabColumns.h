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
    // What a laboratory prints beside the analysis, read only to check the
    // file's own sums: Na, SB, t (the effective CTC), H+Al and m.
    Na, Sb, Ctce, HAl, M,
};
inline constexpr int columnCount = int(Column::M) + 1;

// Name shown in messages, e.g. "Argila".
QString columnName(Column column);
// Analysis values every sample must have.
bool required(Column column);
bool numeric(Column column);
// A column read only to check the others (SB, t, H+Al, m, Na).
bool checkOnly(Column column);

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
    // Where the unit was found ("do cabeçalho", "da linha de unidades", ...),
    // for --colunas; and whether the file or the user states it at all. A
    // column whose unit nobody states is read in the program's unit only
    // when its values prove it.
    std::array<QString, columnCount> source;
    std::array<bool, columnCount> stated{};
    int indexOf(Column c) const { return index[int(c)]; }
};

// The map of a header row, or the message that stops the run: a required
// column missing, or a unit the program does not know.
struct MapResult {
    std::optional<ColumnMap> map;
    QString error;
};
// A variable taken from a header the user names, with the unit the user
// gives (empty: the unit the header gives, or the program's). Without a
// header, the unit of the variable wherever the file states none: a
// laboratory's convention.
struct ChosenColumn {
    Column column;
    QString header;
    QString unit;
    QString source = {}; // what gave it, for --colunas ("--unidades-iac")
};

// The São Paulo convention (the IAC's, Raij et al. 1997): cations, SB, t, T
// and H+Al in mmolc/dm³, MO in g/dm³, clay in g/kg, for the columns whose
// unit the file does not state.
QList<ChosenColumn> iacConvention();
inline constexpr const char *iacOption = "--unidades-iac";

// The rows around a header that say what its columns hold: the units row
// under it, a row of methods ("Mehlich-1", "KCl 1 mol/L"), and the row
// above it, whose cells name groups of columns ("Complexo sortivo
// (cmolc/dm³)"). A cell stands for the columns a workbook merged it over
// (CsvRecord::spans), or else for the blank cells to its right.
struct HeaderRows {
    QStringList header;
    CsvRecord units = {};
    CsvRecord methods = {};
    CsvRecord groups = {};
};
MapResult mapColumns(const HeaderRows &rows, const QList<ChosenColumn> &chosen = {});
// `units` is the file's second header row of units, when it has one.
MapResult mapColumns(const QStringList &header, const QStringList &units = {},
                     const QList<ChosenColumn> &chosen = {});

// The column a variable's name ("Argila", "ctc", "Rendimento") names.
std::optional<Column> columnNamed(const QString &name);

// Whether a record is a row of units under the header ("g/kg", "%",
// "cmolc/dm³", ...): some filled cell a known unit and none a number.
bool unitsRow(const QStringList &fields);

// Whether a record is a row of methods under the header ("Mehlich-1",
// "KCl 1 mol/L", "Walkley-Black", "CaCl2"): some cell a known method and
// none a number.
bool methodsRow(const QStringList &fields);

// How many of the program's columns a row names: a header row names several,
// a title line above it none or one. A label of a client block ("Cliente:",
// "Município: Laje") names none.
int namedColumns(const QStringList &fields);
// How many of the analysis columns (Argila to V) a row names.
int namedAnalyses(const QStringList &fields);

// The unit a column's values are in, as a user would write it in
// --coluna ("mmolc/dm³"), for the unit key of one of the column's units.
QString unitText(Column column, double factor);
// The units a column can be in, the program's first, as an option writes them.
QStringList unitTexts(Column column);
// The factor of a unit as written for a column; nothing when the column
// cannot take it.
std::optional<double> unitFactorOf(Column column, const QString &unit);

// The program's own unit of a column, for messages ("mg/dm³").
QString programUnit(Column column);

} // namespace batch
