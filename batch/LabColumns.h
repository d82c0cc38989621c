#pragma once
// The columns of a laboratory's file: found by their header whatever its case,
// accents, spaces and punctuation, under the names laboratories use, with the
// unit the header gives (in parentheses or after the name) turned into the
// program's.
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
};
inline constexpr int columnCount = int(Column::Rendimento) + 1;

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
    QStringList headers;                  // the file's header texts, for messages
    int indexOf(Column c) const { return index[int(c)]; }
};

// The map of a header row, or the message that stops the run: a required
// column missing, or a unit the program does not know.
struct MapResult {
    std::optional<ColumnMap> map;
    QString error;
};
MapResult mapColumns(const QStringList &header);

} // namespace batch
