// resumo.xlsx: the summary as a sheet (numbers as numbers, with their
// places), written by the file formats module's libxlsxwriter.
#include "fileformats/FileFormats.h"
#include "batch/Summary.h"

namespace batch {

QByteArray summaryXlsx(const SummaryRows &rows, QString *error, QStringList *changes, bool withCost, bool withStore)
{
    const fileformats::Functions *module = fileformats::load(error);
    if (!module)
        return {};
    fileformats::Sheet sheet;
    sheet.name = QStringLiteral("Resumo");
    const QList<SummaryColumn> &columns = summaryColumns(withCost, withStore);
    for (qsizetype c = 0; c < columns.size(); ++c) {
        sheet.titles << columns[c].title;
        sheet.widths << (c == 0 || c == 6 || (c >= errorColumn && !(withCost && (c == compositionColumn || c == costColumn))) ? 28 : 12);
    }
    sheet.rowCount = rows.size();
    sheet.row = [&](qsizetype r) {
        const SummaryRow row = rows.at(r);
        QList<fileformats::SheetCell> cells(columns.size());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const SummaryCell cell = row.value(c);
            fileformats::SheetCell &out = cells[c];
            if (cell.isEmpty())
                continue;
            if (cell.kind == SummaryCell::Kind::Number) {
                // Shown with the column's places.
                out.kind = fileformats::SheetCell::Number;
                out.number = cell.number;
                out.places = columns[c].places;
            } else {
                out.kind = fileformats::SheetCell::Text;
                QString change;
                out.text = workbookText(cell.kind == SummaryCell::Kind::Products ? productsText(cell.products, cell.mark)
                                                                                  : cell.text,
                                        &change);
                if (changes && !change.isEmpty())
                    *changes << QStringLiteral("resumo.xlsx, linha %1 do resumo, coluna %2: %3")
                                    .arg(r + 2)
                                    .arg(columns[c].title, change);
            }
        }
        return cells;
    };
    return module->workbook(sheet, error);
}

} // namespace batch
