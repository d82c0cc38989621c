#pragma once
// A laboratory's file as laboratories send it: a title block of a few lines
// above the header, a second header row of units, rows of means and totals
// below the samples. Finds the header and the columns, and gives the
// samples' records one at a time; the command line and the window read
// files through it.
#include "batch/CsvTable.h"
#include "batch/LabColumns.h"
#include "batch/LabSample.h"

#include <QFile>
#include <QIODevice>
#include <memory>
#include <optional>

namespace batch {

class LabFile {
public:
    // The device stays open while the file is read; seekable for rewind().
    LabFile(QIODevice *device, const QList<ChosenColumn> &chosen = {});
    LabFile(std::unique_ptr<RecordReader> reader, const QList<ChosenColumn> &chosen = {});
    // The file at `path`, CSV or a workbook (.xlsx, .xls, .ods) as its
    // content says; of a workbook, the sheet named `sheet`, or else the
    // first visible sheet whose header has the columns needed. A file that
    // cannot be opened gives its reason in error().
    static std::unique_ptr<LabFile> open(const QString &path, const QList<ChosenColumn> &chosen = {},
                                         const QString &sheet = {});
    // Why the file cannot be read (no header, a column missing, a unit
    // unknown); empty when it can.
    QString error() const { return error_; }
    const ColumnMap &map() const { return map_; }
    // The workbook's sheet read; empty for a CSV.
    QString sheet() const { return sheet_; }
    // The columns whose unit the file's values show is not the unit taken;
    // when there are any, error() says them and the options that state them.
    const QList<UnitDoubt> &doubts() const { return doubts_; }
    // The next record below the header, blank ones left out; false at the end.
    // A row that is no sample ("Média", "Total") comes with `notSample` set.
    bool next(CsvRecord &record, QString *notSample);
    // Back to the first record below the header.
    void rewind();

private:
    void start(const QList<ChosenColumn> &chosen);

    std::unique_ptr<QFile> file_;
    std::unique_ptr<RecordReader> reader_;
    ColumnMap map_;
    QString error_;
    QString sheet_;
    QList<UnitDoubt> doubts_;
    int headerRecords_ = 0; // records from the top to the header and its units, both included
    std::optional<CsvRecord> first_;
};

// What was understood of the header, a line per variable ("P: \"Pmg/dm³\",
// em mg/dm³, sem conversão") and one per header not used, for --colunas.
QStringList describeColumns(const ColumnMap &map);

// Why a record is a row of a table's statistics rather than a sample, or empty.
QString statisticsRow(const CsvRecord &record);
// A note below the table ("Métodos: ...", "* valores em base seca") whose
// analysis cells hold no number: its text, or empty.
QString noteRow(const CsvRecord &record, const ColumnMap &map);

} // namespace batch
