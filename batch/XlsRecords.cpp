#include "batch/XlsRecords.h"

#include "batch/Workbook.h"

#include <QtEndian>

namespace batch {

namespace {

constexpr quint32 endOfChain = 0xFFFFFFFE;

quint16 u16(const QByteArray &b, qsizetype at)
{
    return at >= 0 && at + 2 <= b.size() ? qFromLittleEndian<quint16>(b.constData() + at) : 0;
}
quint8 u8(const QByteArray &b, qsizetype at) { return at >= 0 && at < b.size() ? quint8(b.at(at)) : 0; }
quint32 u32(const QByteArray &b, qsizetype at)
{
    return at >= 0 && at + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + at) : 0;
}

// The compound file's streams, as its sectors chain them.
class Compound {
public:
    explicit Compound(const QByteArray &file) : file_(file)
    {
        const quint16 shift = u16(file, 0x1E), miniShift = u16(file, 0x20);
        if (!file.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
            return;
        // FreeXL takes the header's sizes of sectors as they come.
        if ((shift != 9 && shift != 12) || miniShift != 6) {
            damage_ = QStringLiteral("o cabeçalho do arquivo dá setores de tamanho impossível");
            return;
        }
        sector_ = qsizetype(1) << shift;
        // The sectors of the allocation table: 109 in the header, the rest in a chain of their own.
        QList<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors << u32(file, 0x4C + 4 * i);
        quint32 difat = u32(file, 0x44);
        for (int guard = 0; difat < endOfChain - 3 && guard < 1 << 16; ++guard) {
            const qsizetype at = offset(difat);
            if (at < 0)
                break;
            for (qsizetype i = 0; i < sector_ / 4 - 1; ++i)
                fatSectors << u32(file, at + 4 * i);
            difat = u32(file, at + sector_ - 4);
        }
        const qsizetype sectors = file.size() / sector_;
        for (const quint32 s : std::as_const(fatSectors)) {
            if (s >= endOfChain - 3 || fat_.size() >= sectors)
                continue;
            const qsizetype at = offset(s);
            if (at < 0)
                continue;
            for (qsizetype i = 0; i < sector_ / 4; ++i)
                fat_ << u32(file, at + 4 * i);
        }
        bool whole = false;
        const QByteArray directory = chain(u32(file, 0x30), -1, &whole);
        // FreeXL follows the directory's sectors wherever they point, past the
        // file's end or round to its header, and reads names there.
        if (!whole || directory.isEmpty())
            damage_ = QStringLiteral("o índice do arquivo aponta para fora dele");
        qint64 miniStreamSize = 0;
        bool miniFatWhole = false, miniStreamWhole = false;
        for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
            if (u16(directory, at + 0x40) > 64)
                damage_ = QStringLiteral("um nome no índice do arquivo passa do tamanho que cabe nele");
            const int bytes = qMin<int>(u16(directory, at + 0x40), 64);
            const QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(directory.constData() + at),
                                                    qMax(0, bytes / 2 - 1));
            const quint8 type = quint8(directory.at(at + 0x42));
            const quint32 start = u32(directory, at + 0x74);
            const qint64 size = u32(directory, at + 0x78);
            if (at == 0) {
                // FreeXL loads the small streams' container whatever the rest
                // is, and loses it when its sectors or their table end early.
                miniStream_ = chain(start, size, &miniStreamWhole);
                miniStreamSize = size;
                miniFat_ = chain(u32(file, 0x3C), -1, &miniFatWhole);
                if (size > 0 && (miniStream_.size() < size || !miniStreamWhole || !miniFatWhole))
                    damage_ = QStringLiteral("os fluxos pequenos do arquivo terminam antes do tamanho que ele declara");
            } else if (type == 2 && (name == QLatin1String("Workbook") || name == QLatin1String("Book"))) {
                const bool mini = size < u32(file, 0x38);
                bool workbookWhole = true;
                workbook_ = mini ? miniChain(start, size) : chain(start, size, &workbookWhole);
                // FreeXL reads the whole stream (and the small streams' container with it) and
                // loses what it read when the sectors end early.
                if (workbook_.size() < size || !workbookWhole
                    || (mini && (miniStream_.size() < miniStreamSize || !miniFatWhole || !miniStreamWhole)))
                    damage_ = QStringLiteral("a pasta de trabalho termina antes do tamanho que o arquivo declara");
            }
        }
    }
    QByteArray workbook() const { return workbook_; }
    QString damage() const { return damage_; }

private:
    qsizetype offset(quint32 sector) const
    {
        const qsizetype at = (qsizetype(sector) + 1) * sector_;
        return at + sector_ <= file_.size() ? at : -1;
    }
    // The sectors from `start`, up to `size` bytes (all when negative);
    // `whole` tells whether the chain came to its proper end.
    QByteArray chain(quint32 start, qint64 size, bool *whole = nullptr) const
    {
        QByteArray bytes;
        quint32 s = start, guard = 0;
        for (; s < endOfChain - 3 && s < quint32(fat_.size()) && guard <= quint32(fat_.size()); s = fat_[s], ++guard) {
            const qsizetype at = offset(s);
            if (at < 0)
                break;
            bytes += file_.mid(at, sector_);
            if (size >= 0 && bytes.size() >= size) {
                s = fat_[s]; // FreeXL follows the chain to its end
                break;
            }
        }
        if (whole)
            *whole = s == endOfChain;
        return size >= 0 ? bytes.left(size) : bytes;
    }
    QByteArray miniChain(quint32 start, qint64 size) const
    {
        QByteArray bytes;
        const quint32 entries = quint32(miniFat_.size() / 4);
        for (quint32 s = start, guard = 0; s < entries && guard <= entries; s = u32(miniFat_, 4 * qsizetype(s)), ++guard) {
            bytes += miniStream_.mid(qsizetype(s) * 64, 64);
            if (bytes.size() >= size)
                break;
        }
        return bytes.left(size);
    }

    const QByteArray &file_;
    qsizetype sector_ = 512;
    QList<quint32> fat_;
    QByteArray miniStream_, miniFat_, workbook_;
    QString damage_;
};

struct Record {
    quint16 type = 0;
    QByteArray data;
};

// The record at `at`, moving `at` past it; false at the stream's end.
bool recordAt(const QByteArray &stream, qsizetype &at, Record &r)
{
    if (at < 0 || at + 4 > stream.size())
        return false;
    r.type = u16(stream, at);
    const quint16 size = u16(stream, at + 2);
    r.data = stream.mid(at + 4, size);
    at += 4 + size;
    return true;
}

// An XLUnicodeString of BIFF8 at `at`: a count of characters, a byte of
// flags (bit 0: two bytes a character), the characters.
QString unicodeString(const QByteArray &b, qsizetype at, int count)
{
    const bool wide = u8(b, at) & 1;
    ++at;
    if (wide)
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(b.constData() + at),
                                  qMax<qsizetype>(0, qMin<qsizetype>(count, (b.size() - at) / 2)));
    return QString::fromLatin1(b.mid(at, count));
}

} // namespace

QString xlsDamage(const QByteArray &file)
{
    const Compound compound(file);
    if (!compound.damage().isEmpty())
        return compound.damage();
    // FreeXL reads the records in a row and keeps a worksheet's cells in a
    // table made at its dimensions: a worksheet without them, or with them
    // twice, leaves a table lost.
    const QByteArray stream = compound.workbook();
    qsizetype at = 0;
    Record r;
    struct Part {
        int number;
        bool worksheet;
        int dimensions;
        quint32 rows = 0, columns = 0; // past the last row and column the dimensions give
    };
    QList<Part> open; // the parts begun and not ended, charts inside a sheet last
    int parts = 0;
    const auto wrong = [](const Part &part) {
        return part.worksheet && part.dimensions != 1
                   ? QStringLiteral("a parte %1 da pasta de trabalho declara suas dimensões %2")
                         .arg(part.number)
                         .arg(part.dimensions ? QStringLiteral("mais de uma vez") : QStringLiteral("nenhuma vez"))
                   : QString();
    };
    while (recordAt(stream, at, r)) {
        if (r.type == 0x0809) {
            // A beginning of BIFF8 is 16 bytes; a longer one hides the records FreeXL reads.
            if (r.data.size() != 16)
                return QStringLiteral("a parte %1 da pasta de trabalho começa com um registro de tamanho errado").arg(parts + 1);
            open << Part{++parts, u16(r.data, 2) == 0x0010, 0};
        } else if (r.type == 0x0200 && !open.isEmpty()) {
            if (++open.last().dimensions > 1)
                return wrong(open.last());
            open.last().rows = u32(r.data, 4);
            open.last().columns = u16(r.data, 10);
        } else if (r.type == 0x041E || r.type == 0x0085) {
            // A number format's or a sheet's name that runs past its record: FreeXL copies it anyway.
            const qsizetype head = r.type == 0x041E ? 4 : 7;
            const qsizetype count = r.type == 0x041E ? u16(r.data, 2) : u8(r.data, 6);
            if (head + 1 + count * ((u8(r.data, head) & 1) ? 2 : 1) > r.data.size())
                return QStringLiteral("a parte %1 da pasta de trabalho tem um nome maior que seu registro").arg(parts);
        } else if (r.type == 0x0204) {
            // A text cell FreeXL cannot place loses the text it converted.
            const Part *part = open.isEmpty() ? nullptr : &open.last();
            if (!part || !part->worksheet || u16(r.data, 0) >= part->rows || u16(r.data, 2) >= part->columns)
                return QStringLiteral("a parte %1 da pasta de trabalho tem um texto fora das dimensões da planilha")
                    .arg(part ? part->number : parts);
        } else if (r.type == 0x000A && !open.isEmpty()) {
            if (const QString reason = wrong(open.takeLast()); !reason.isEmpty())
                return reason;
        }
    }
    for (const Part &part : std::as_const(open))
        if (const QString reason = wrong(part); !reason.isEmpty())
            return reason;
    return {};
}

QList<XlsSheetExtras> readXlsExtras(const QByteArray &file)
{
    const Compound compound(file);
    const QByteArray stream = compound.workbook();
    QList<XlsSheetExtras> sheets;
    qsizetype at = 0;
    Record r;
    // BIFF8 only: a beginning of the workbook's globals of version 0x0600.
    if (!recordAt(stream, at, r) || r.type != 0x0809 || u16(r.data, 0) != 0x0600)
        return sheets;
    QSet<quint16> percentFormats{9, 10};
    QList<bool> percentStyles;
    QList<quint32> starts;
    while (recordAt(stream, at, r) && r.type != 0x000A) {
        if (r.type == 0x041E) { // a number format
            const quint16 id = u16(r.data, 0);
            percentFormats.remove(id);
            if (percentFormat(unicodeString(r.data, 4, u16(r.data, 2))))
                percentFormats << id;
        } else if (r.type == 0x00E0) { // a cell style
            percentStyles << percentFormats.contains(u16(r.data, 2));
        } else if (r.type == 0x0085) { // a sheet
            XlsSheetExtras sheet;
            sheet.hidden = (u8(r.data, 4) & 3) != 0;
            sheet.name = unicodeString(r.data, 7, u8(r.data, 6));
            starts << u32(r.data, 0);
            sheets << sheet;
        }
    }
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        XlsSheetExtras &sheet = sheets[i];
        const auto percent = [&](quint16 row, quint16 column, quint16 style) {
            if (percentStyles.value(style))
                sheet.percentCells << (quint64(row) << 16 | column);
        };
        qsizetype s = starts[i];
        if (!recordAt(stream, s, r) || r.type != 0x0809)
            continue;
        while (recordAt(stream, s, r) && r.type != 0x000A) {
            const QByteArray &d = r.data;
            switch (r.type) {
            case 0x0203: // a number
            case 0x027E: // a compressed number
            case 0x0006: // a formula's value
                percent(u16(d, 0), u16(d, 2), u16(d, 4));
                break;
            case 0x00BD: // compressed numbers in a row
                for (qsizetype k = 4, column = u16(d, 2); k + 6 <= d.size() - 2; k += 6, ++column)
                    percent(u16(d, 0), quint16(column), u16(d, k));
                break;
            case 0x00E5: // merged cells
                for (qsizetype k = 0, n = u16(d, 0); k < n && 2 + 8 * (k + 1) <= d.size(); ++k) {
                    const qsizetype ref = 2 + 8 * k;
                    const int row = u16(d, ref), first = u16(d, ref + 4), last = u16(d, ref + 6);
                    if (last > first)
                        sheet.merges[row] << qMakePair(first, last - first + 1);
                }
                break;
            default:
                break;
            }
        }
    }
    return sheets;
}

} // namespace batch
