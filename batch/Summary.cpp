#include "batch/Summary.h"

#include "batch/CsvTable.h"
#include "core/NumberText.h"

#include <QDataStream>

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

SummaryCell SummaryCell::ofNumber(double value, int places)
{
    SummaryCell cell;
    cell.kind = Kind::Number;
    cell.number = value;
    cell.places = places;
    return cell;
}

SummaryCell SummaryCell::ofProducts(QList<SummaryProduct> products, QChar mark)
{
    SummaryCell cell;
    cell.kind = Kind::Products;
    cell.products = std::move(products);
    cell.mark = mark;
    return cell;
}

QString productsText(const QList<SummaryProduct> &products, QChar mark)
{
    QStringList texts;
    for (const SummaryProduct &p : products)
        texts << (p.bags > 0 ? QStringLiteral("%1: %2 sacos").arg(p.name).arg(p.bags)
                             : QStringLiteral("%1: %2 kg").arg(p.name, NumberText(mark).format(p.kg, 1)));
    return texts.join(QStringLiteral(" + "));
}

// Found by the streams of the lists that hold them.
QDataStream &operator<<(QDataStream &out, const SummaryProduct &p) { return out << p.name << qint32(p.bags) << p.kg; }
QDataStream &operator>>(QDataStream &in, SummaryProduct &p)
{
    qint32 bags = 0;
    in >> p.name >> bags >> p.kg;
    p.bags = bags;
    return in;
}

QDataStream &operator<<(QDataStream &out, const SummaryCell &c)
{
    return out << quint8(c.kind) << c.text << c.number << qint8(c.places) << c.products << c.mark;
}
QDataStream &operator>>(QDataStream &in, SummaryCell &c)
{
    quint8 kind = 0;
    qint8 places = 0;
    in >> kind >> c.text >> c.number >> places >> c.products >> c.mark;
    c.kind = SummaryCell::Kind(kind);
    c.places = places;
    return in;
}

namespace {

// A cell as resumo.csv writes it: numbers with a decimal comma, whatever
// the reports use.
QString csvText(const SummaryCell &cell)
{
    switch (cell.kind) {
    case SummaryCell::Kind::Number:
        return cell.places > 0 ? NumberText(QLatin1Char(',')).format(cell.number, cell.places)
                               : QString::number(cell.number, 'f', 0);
    case SummaryCell::Kind::Products:
        return productsText(cell.products, QLatin1Char(','));
    case SummaryCell::Kind::Text:
        break;
    }
    return cell.text;
}

} // namespace

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

// The row's cells serialised, after their count of bytes.
void SummaryRows::append(const SummaryRow &row)
{
    QByteArray packed;
    {
        QDataStream out(&packed, QIODevice::WriteOnly);
        out << row;
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
    QDataStream in(packed);
    in >> row;
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

QByteArray summaryCsvLine(const SummaryRow &cells)
{
    QStringList texts;
    texts.reserve(cells.size());
    for (const SummaryCell &cell : cells)
        texts << csvText(cell);
    return csvLine(texts).toUtf8();
}

QByteArray summaryCsv(const SummaryRows &rows, bool withCost, bool withStore)
{
    QByteArray bytes = summaryCsvTitles(withCost, withStore);
    for (qsizetype r = 0; r < rows.size(); ++r)
        bytes += summaryCsvLine(rows.at(r));
    return bytes;
}

} // namespace batch
