#include "batch/Summary.h"

#include "batch/CsvTable.h"

#include <QRegularExpression>

#include <cstring>

namespace batch {

const QList<SummaryColumn> &summaryColumns(bool withCost, bool withStore)
{
    static const QList<SummaryColumn> columns{
        {QStringLiteral("Amostra"), 0},
        {QStringLiteral("Linha"), 0},
        {QStringLiteral("Classe de argila"), 0},
        {QStringLiteral("Classe de P"), 0},
        {QStringLiteral("Classe de K"), 0},
        {QStringLiteral("Classe de CTC"), 0},
        {QStringLiteral("Critério de calagem"), 0},
        {QStringLiteral("Calagem (t/ha)"), 2},
        {QStringLiteral("Calagem comercial (t/ha)"), 3},
        {QStringLiteral("N (kg/ha)"), 2},
        {QStringLiteral("P2O5 (kg/ha)"), 1},
        {QStringLiteral("K2O (kg/ha)"), 1},
        {QStringLiteral("N plantio"), 2},
        {QStringLiteral("N 1ª"), 2},
        {QStringLiteral("N 2ª"), 2},
        {QStringLiteral("N 3ª"), 2},
        {QStringLiteral("K2O plantio"), 2},
        {QStringLiteral("K2O 1ª"), 2},
        {QStringLiteral("Erro"), 0},
        {QStringLiteral("Aviso"), 0},
        {QStringLiteral("Arquivos"), 0},
    };
    static const QList<SummaryColumn> withCostColumns = columns + QList<SummaryColumn>{
        {QStringLiteral("Composição"), 0},
        {QStringLiteral("Custo (R$/ha)"), 2},
        {QStringLiteral("Produtos plantio"), 0},
        {QStringLiteral("Produtos 1ª"), 0},
        {QStringLiteral("Produtos 2ª"), 0},
        {QStringLiteral("Produtos 3ª"), 0},
    };
    static const QList<SummaryColumn> store{{QStringLiteral("Banco de casos"), 0}};
    static const QList<SummaryColumn> withStoreColumns = columns + store, withBothColumns = withCostColumns + store;
    if (withStore)
        return withCost ? withBothColumns : withStoreColumns;
    return withCost ? withCostColumns : columns;
}

SummaryRows::SummaryRows() : file_(std::make_unique<QTemporaryFile>())
{
    if (!file_->open())
        file_.reset();
}

SummaryRows::SummaryRows(std::initializer_list<SummaryRow> rows) : SummaryRows()
{
    for (const SummaryRow &row : rows)
        append(row);
}

SummaryRows::~SummaryRows() = default;

// Each cell as its UTF-8 bytes after their count.
void SummaryRows::append(const SummaryRow &row)
{
    QByteArray packed;
    for (const QString &cell : row) {
        const QByteArray bytes = cell.toUtf8();
        const quint32 size = quint32(bytes.size());
        packed.append(reinterpret_cast<const char *>(&size), sizeof size);
        packed.append(bytes);
    }
    const quint32 size = quint32(packed.size());
    packed.prepend(reinterpret_cast<const char *>(&size), sizeof size);
    if (file_) {
        // Flushed row by row, so that a full temporary folder shows at once.
        if (file_->write(packed) == packed.size() && file_->flush()) {
            offsets_ << written_;
            written_ += packed.size();
            return;
        }
        // The temporary folder is full: the rows stay in memory from here on.
        QFile reader(file_->fileName());
        reader.open(QIODevice::ReadOnly);
        memory_ = reader.read(written_);
        file_.reset();
        reader_.reset();
    }
    offsets_ << memory_.size();
    memory_.append(packed);
}

SummaryRow SummaryRows::at(qsizetype i) const
{
    QByteArray packed;
    if (file_) {
        if (!reader_) {
            reader_ = std::make_unique<QFile>(file_->fileName());
            reader_->open(QIODevice::ReadOnly);
        }
        reader_->seek(offsets_[i]);
        quint32 size = 0;
        reader_->read(reinterpret_cast<char *>(&size), sizeof size);
        packed = reader_->read(size);
    } else {
        quint32 size = 0;
        std::memcpy(&size, memory_.constData() + offsets_[i], sizeof size);
        packed = memory_.mid(offsets_[i] + qsizetype(sizeof size), size);
    }
    SummaryRow row;
    for (qsizetype at = 0; at + qsizetype(sizeof(quint32)) <= packed.size();) {
        quint32 size = 0;
        std::memcpy(&size, packed.constData() + at, sizeof size);
        at += sizeof size;
        row << QString::fromUtf8(packed.constData() + at, qsizetype(size));
        at += size;
    }
    return row;
}

QString workbookText(const QString &text, QString *change)
{
    QString valid;
    valid.reserve(text.size());
    bool replaced = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            valid += text[i];
            valid += text[++i];
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD);
        replaced = replaced || !allowed;
        valid += allowed ? QChar(c) : QChar(QChar::ReplacementCharacter);
    }
    // The most a cell holds; a pair of surrogates is not split.
    constexpr qsizetype most = 32767;
    const bool cut = valid.size() > most;
    if (cut)
        valid.truncate(valid[most - 1].isHighSurrogate() ? most - 1 : most);
    QStringList what;
    if (replaced)
        what << QStringLiteral("caracteres que a planilha não aceita trocados por \"\uFFFD\"");
    if (cut)
        what << QStringLiteral("texto cortado em 32767 caracteres");
    *change = what.join(QStringLiteral("; "));
    return valid;
}

QByteArray summaryCsvTitles(bool withCost, bool withStore)
{
    QStringList titles;
    for (const SummaryColumn &c : summaryColumns(withCost, withStore))
        titles << c.title;
    return "\xEF\xBB\xBF" + csvLine(titles).toUtf8();
}

QByteArray summaryCsvLine(SummaryRow cells)
{
    // Numbers with a decimal comma whatever the reports use.
    // (The store's column, last, is a text: whether the row has one does not matter here.)
    const QList<SummaryColumn> &columns = summaryColumns(cells.size() > summaryColumns().size() + 1);
    // In the products of an application only the kilograms of a bulk
    // product ("Produto: 14.1 kg") are numbers; the names stay as written.
    static const QRegularExpression bulkKg(QStringLiteral(": (\\d+)\\.(\\d+) kg( \\+ |$)"));
    for (int i = 0; i < columns.size() && i < cells.size(); ++i)
        if (columns[i].places > 0)
            cells[i].replace(QLatin1Char('.'), QLatin1Char(','));
        else if (columns[i].title.startsWith(QLatin1String("Produtos ")))
            cells[i].replace(bulkKg, QStringLiteral(": \\1,\\2 kg\\3"));
    return csvLine(cells).toUtf8();
}

QByteArray summaryCsv(const SummaryRows &rows, bool withCost, bool withStore)
{
    QByteArray bytes = summaryCsvTitles(withCost, withStore);
    for (qsizetype r = 0; r < rows.size(); ++r)
        bytes += summaryCsvLine(rows.at(r));
    return bytes;
}

} // namespace batch
