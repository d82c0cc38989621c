// resumo.xlsx through libxlsxwriter. The library writes only to a named file,
// so the workbook is made in a private temporary folder and handed back as
// bytes for the program's safe writer to put in place.
#include "NumberText.h"
#include "Summary.h"

#include <QFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace batch {

QByteArray summaryXlsx(const QList<SummaryRow> &rows, QString *error)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *error = dir.errorString();
        return {};
    }
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("resumo.xlsx")));
    lxw_workbook *book = workbook_new(path.constData());
    if (!book) {
        *error = QStringLiteral("não foi possível criar a planilha");
        return {};
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Resumo");
    lxw_format *title = workbook_add_format(book);
    format_set_bold(title);
    format_set_text_wrap(title);
    lxw_format *places[4] = {nullptr, workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_num_format(places[1], "0.0");
    format_set_num_format(places[2], "0.00");
    format_set_num_format(places[3], "0.000");

    const QList<SummaryColumn> &columns = summaryColumns();
    for (int c = 0; c < columns.size(); ++c) {
        worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].title.toUtf8().constData(), title);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), c == 0 || c == 6 || c == columns.size() - 1 ? 28 : 12,
                             nullptr);
    }
    const NumberText comma(QLatin1Char(',')), point(QLatin1Char('.'));
    for (int r = 0; r < rows.size(); ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < columns.size(); ++c) {
            const QString cell = rows[r].value(c);
            if (cell.isEmpty())
                continue;
            if (c == 1) {
                worksheet_write_number(sheet, row, lxw_col_t(c), cell.toInt(), nullptr);
            } else if (columns[c].places > 0) {
                const NumberText &rule = cell.contains(QLatin1Char(',')) ? comma : point;
                worksheet_write_number(sheet, row, lxw_col_t(c), rule.toDouble(cell), places[columns[c].places]);
            } else {
                worksheet_write_string(sheet, row, lxw_col_t(c), cell.toUtf8().constData(), nullptr);
            }
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_autofilter(sheet, 0, 0, lxw_row_t(rows.size()), lxw_col_t(columns.size() - 1));
    if (const lxw_error e = workbook_close(book); e != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(e));
        return {};
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    return file.readAll();
}

} // namespace batch
