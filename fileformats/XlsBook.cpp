// A laboratory's Excel 97-2003 workbook (.xls) read with FreeXL, which reads
// the whole workbook when it opens it (a sheet of that format holds at most
// 65536 rows). FreeXL gives each cell's value as stored, not its format nor
// the merged cells; what the lab-file run needs beyond that is read in batch/.
#include "fileformats/FormatFunctions.h"

#include <QFile>
#include <freexl.h>
#include <memory>

namespace fileformats {

namespace {

struct Book {
    const void *handle = nullptr;
};

QString reason(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("o arquivo não pôde ser aberto");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("falta memória para ler a planilha");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("o arquivo do Office não tem uma pasta de trabalho do Excel (é outro documento?)");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("a planilha usa uma codificação de texto que não se pode ler");
    default:
        return QStringLiteral("a planilha .xls está danificada (FreeXL: erro %1)").arg(code);
    }
}

} // namespace

XlsBook *openXls(const QString &path, QString *error)
{
    auto book = std::make_unique<Book>();
    const int code = freexl_open(QFile::encodeName(path).constData(), &book->handle);
    if (code != FREEXL_OK) {
        *error = reason(code);
        freexl_close(book->handle);
        return nullptr;
    }
    unsigned int password = 0;
    if (freexl_get_info(book->handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK && password == FREEXL_BIFF_OBFUSCATED) {
        *error = QStringLiteral("a planilha .xls está protegida por senha; salve-a sem senha");
        freexl_close(book->handle);
        return nullptr;
    }
    return reinterpret_cast<XlsBook *>(book.release());
}

QStringList xlsSheets(XlsBook *opened)
{
    const auto *book = reinterpret_cast<Book *>(opened);
    unsigned int count = 0;
    QStringList names;
    if (freexl_get_info(book->handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return names;
    for (unsigned int i = 0; i < count && i < 65536; ++i) {
        const char *name = nullptr;
        names << (freexl_get_worksheet_name(book->handle, (unsigned short)i, &name) == FREEXL_OK && name
                      ? QString::fromUtf8(name)
                      : QString());
    }
    return names;
}

bool xlsSelect(XlsBook *opened, int sheet, quint32 *rows, quint32 *columns)
{
    const auto *book = reinterpret_cast<Book *>(opened);
    unsigned int r = 0;
    unsigned short c = 0;
    if (sheet < 0 || sheet > 65535 || freexl_select_active_worksheet(book->handle, (unsigned short)sheet) != FREEXL_OK
        || freexl_worksheet_dimensions(book->handle, &r, &c) != FREEXL_OK)
        return false;
    *rows = r;
    *columns = c;
    return true;
}

SheetCell xlsCell(XlsBook *opened, quint32 row, quint32 column)
{
    const auto *book = reinterpret_cast<Book *>(opened);
    FreeXL_CellValue value;
    SheetCell cell;
    if (column > 65535 || freexl_get_cell_value(book->handle, row, (unsigned short)column, &value) != FREEXL_OK)
        return cell;
    switch (value.type) {
    case FREEXL_CELL_INT:
        cell.kind = SheetCell::Number;
        cell.number = value.value.int_value;
        break;
    case FREEXL_CELL_DOUBLE:
        cell.kind = SheetCell::Number;
        cell.number = value.value.double_value;
        break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        cell.kind = SheetCell::Text;
        cell.text = value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
        break;
    default:
        break;
    }
    return cell;
}

void closeXls(XlsBook *opened)
{
    auto *book = reinterpret_cast<Book *>(opened);
    freexl_close(book->handle);
    delete book;
}

} // namespace fileformats
