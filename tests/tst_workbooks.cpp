#include "batch/LabFile.h"
#include "batch/LabSample.h"
#include "batch/OdsTable.h"
#include "batch/PriceListFile.h"
#include "batch/Workbook.h"
#include "batch/XlsxTable.h"
#include "core/Failure.h"
#include "fileformats/FileFormats.h"

#include <QtTest>

// One table reader for every file a laboratory or a store sends: .xlsx,
// .xls and .ods as LibreOffice Calc and Gnumeric write them (the fixtures in
// tests/workbooks, remade by make_fixtures.py from the .fods beside them),
// and CSV. Values as stored, formats that write a "%" after a number, merged
// cells, the sheet that holds the table, and the real cause of a refusal.
class TstWorkbooks : public QObject {
    Q_OBJECT
private slots:
    void labWorkbooks_data();
    void labWorkbooks();
    void sheetChoice_data();
    void sheetChoice();
    void noSheetHasTheTable();
    void mergedCells_data();
    void mergedCells();
    void storedNumbers_data();
    void storedNumbers();
    void percentFormats_data();
    void percentFormats();
    void realCause_data();
    void realCause();
    void sheetEndingEarly_data();
    void sheetEndingEarly();
    void oversizedParts();
    void summaryRowThrowing();
    void priceLists_data();
    void priceLists();
};

namespace {

QString fixture(const QString &name) { return QStringLiteral(TUBERON_TEST_WORKBOOKS "/") + name; }

// The records of a workbook's sheet, all of them.
QList<batch::CsvRecord> recordsOf(const QString &name, const QString &sheet)
{
    batch::OpenedTable table = batch::openTable(fixture(name));
    if (!table.error.isEmpty() || !table.book)
        qWarning("%s: %s", qPrintable(name), qPrintable(table.error));
    QList<batch::CsvRecord> records;
    if (!table.book)
        return records;
    const QList<batch::WorkbookSheet> sheets = table.book->sheets();
    for (int i = 0; i < sheets.size(); ++i)
        if (sheets[i].name == sheet) {
            const std::unique_ptr<batch::RecordReader> reader = table.book->reader(i);
            for (batch::CsvRecord r; reader->next(r);)
                records << r;
            if (!reader->failure().isEmpty())
                qWarning("%s", qPrintable(reader->failure()));
        }
    return records;
}

// A part of an archive read through the module, cut short where asked: an
// intact archive whose sheet stops early.
class CutPart : public batch::PartStream {
public:
    CutPart(const fileformats::Functions *f, fileformats::ArchivePart *part, qint64 keep) : f_(f), part_(part), keep_(keep) {}
    ~CutPart() override { f_->closePart(part_); }
    QByteArray read(bool *failed) override
    {
        QByteArray piece(qMin<qint64>(4096, keep_), Qt::Uninitialized);
        const qint64 n = piece.isEmpty() ? 0 : f_->readPart(part_, piece.data(), piece.size());
        if (n < 0)
            *failed = true;
        piece.truncate(qMax<qint64>(n, 0));
        keep_ -= piece.size();
        return piece;
    }

private:
    const fileformats::Functions *f_;
    fileformats::ArchivePart *part_;
    qint64 keep_;
};

batch::PartOpener cutOpener(const QString &path, const QString &cutPart, qint64 keep)
{
    const fileformats::Functions *f = fileformats::load(nullptr);
    return [f, path, cutPart, keep](const QString &name, QString *error) -> std::unique_ptr<batch::PartStream> {
        fileformats::ArchivePart *part = f->openPart(path, name, error);
        if (!part)
            return nullptr;
        return std::make_unique<CutPart>(f, part, name == cutPart ? keep : std::numeric_limits<qint64>::max());
    };
}

// A part that never ends: shared strings past any laboratory's workbook.
class EndlessPart : public batch::PartStream {
public:
    QByteArray read(bool *) override { return QByteArray("<si><t>Latossolo Vermelho-Amarelo</t></si>").repeated(1000); }
};

} // namespace

// The same laboratory's table saved by each writer in each format: every
// value as the laboratory typed it.
void TstWorkbooks::labWorkbooks_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"laudo.xlsx", "laudo.ods", "laudo.xls", "laudo-gnumeric.xlsx", "laudo-gnumeric.xls"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TstWorkbooks::labWorkbooks()
{
    QFETCH(QString, file);
    const std::unique_ptr<batch::LabFile> lab = batch::LabFile::open(fixture(file), {}, QStringLiteral("laudos"));
    QCOMPARE(lab->error(), QString());
    QCOMPARE(lab->sheet(), QStringLiteral("Laudos"));
    batch::CsvRecord record;
    QString notSample;
    QList<batch::LabSample> samples;
    while (lab->next(record, &notSample))
        if (notSample.isEmpty())
            samples << batch::readSample(record, lab->map(), 25);
    QVERIFY(samples.size() >= 2);
    const batch::LabSample &a1 = samples[0], &a2 = samples[1];
    QCOMPARE(a1.text(batch::Column::Amostra), QStringLiteral("A1"));
    QCOMPARE(a1.line, 4);
    QCOMPARE(a1.error, QString());
    // Stored in single precision (5.30000019073486 in the file).
    QCOMPARE(*a1.value(batch::Column::P), 5.3);
    // "3,80 %" and "35,0%" are numbers with a sign written after them.
    QCOMPARE(*a1.value(batch::Column::Mo), 3.8);
    QCOMPARE(*a1.value(batch::Column::Argila), 35.0);
    // 0.633 shown as 63,3%.
    QCOMPARE(*a1.value(batch::Column::V), 63.3);
    QCOMPARE(*a1.value(batch::Column::Rendimento), 30.0);
    // A cell the writer repeats is in each of its columns.
    QCOMPARE(a2.line, 5);
    QCOMPARE(*a2.value(batch::Column::Ca), 1.5);
    QCOMPARE(*a2.value(batch::Column::Mg), 1.5);
    QCOMPARE(*a2.value(batch::Column::Ctc), 7.2);
}

// Without a sheet named, the table is on the first visible sheet whose
// header has the columns: not on the cover, not on the hidden old one.
void TstWorkbooks::sheetChoice_data()
{
    QTest::addColumn<QString>("file");
    // Gnumeric keeps no sheet hidden when it saves.
    for (const char *file : {"laudo.xlsx", "laudo.ods", "laudo.xls"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TstWorkbooks::sheetChoice()
{
    QFETCH(QString, file);
    const std::unique_ptr<batch::LabFile> lab = batch::LabFile::open(fixture(file));
    QCOMPARE(lab->error(), QString());
    QCOMPARE(lab->sheet(), QStringLiteral("Laudos"));
    batch::CsvRecord record;
    QString notSample;
    QVERIFY(lab->next(record, &notSample));
    QCOMPARE(batch::readSample(record, lab->map(), 25).text(batch::Column::Amostra), QStringLiteral("A1"));
}

void TstWorkbooks::noSheetHasTheTable()
{
    for (const char *file : {"precos.xlsx", "precos.ods", "precos.xls"}) {
        const std::unique_ptr<batch::LabFile> lab = batch::LabFile::open(fixture(QString::fromLatin1(file)));
        const QString error = lab->error();
        QVERIFY2(error.startsWith(QStringLiteral("nenhuma planilha tem a tabela")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("\"Preços\" (")) && error.contains(QStringLiteral("\"Notas\" (")),
                 qPrintable(error));
        QVERIFY2(error.endsWith(QStringLiteral("Escolha uma com --planilha=NOME")), qPrintable(error));
    }
}

// "Complexo sortivo" merged over Al, Ca, Mg and CTC (columns F to I).
void TstWorkbooks::mergedCells_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"laudo.xlsx", "laudo.ods", "laudo.xls", "laudo-gnumeric.xlsx", "laudo-gnumeric.xls"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TstWorkbooks::mergedCells()
{
    QFETCH(QString, file);
    const QList<batch::CsvRecord> records = recordsOf(file, QStringLiteral("Laudos"));
    QVERIFY(records.size() >= 2);
    const batch::CsvRecord &group = records[1];
    QCOMPARE(group.line, 2);
    QCOMPARE(group.fields.value(5), QStringLiteral("Complexo sortivo (cmolc/dm³)"));
    QCOMPARE(group.spans.value(5), 4);
    for (int c = 0; c < group.spans.size(); ++c)
        if (c != 5)
            QCOMPARE(group.spans[c], 1);
    // The footnote below two blank rows keeps its row's number.
    QCOMPARE(records.last().line, 8);
    QVERIFY(records.last().fields.value(0).startsWith(QStringLiteral("Métodos:")));
}

void TstWorkbooks::storedNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("single precision") << 5.300000190734863 << "5.3";
    QTest::newRow("single precision to fifteen digits") << 5.30000019073486 << "5.3";
    QTest::newRow("single precision of a large value") << double(207.3f) << "207.3";
    QTest::newRow("a sum's noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("three places") << 1.125 << "1.125";
    QTest::newRow("a tenth") << 0.1 << "0.1";
    QTest::newRow("more digits than a float holds") << 123456789.0 << "123456789";
    QTest::newRow("a percentage") << 0.633 * 100 << "63.3";
}

void TstWorkbooks::storedNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(batch::storedNumber(value), text);
}

// As LibreOffice and Gnumeric write a sign after a number, and real percentages.
void TstWorkbooks::percentFormats_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("percentage");
    QTest::newRow("0.0%") << "0.0%" << true;
    QTest::newRow("0%") << "0%" << true;
    QTest::newRow("coloured") << "[Red]0.00%" << true;
    QTest::newRow("quoted with a space") << "0.00\" %\"" << false;
    QTest::newRow("space and quoted sign") << "0.00 \"%\"" << false;
    QTest::newRow("quoted sign") << "0.0\"%\"" << false;
    QTest::newRow("escaped sign") << "0.0\\%" << false;
    QTest::newRow("a fill of signs") << "0.0*%" << false;
}

void TstWorkbooks::percentFormats()
{
    QFETCH(QString, code);
    QFETCH(bool, percentage);
    QCOMPARE(batch::percentFormat(code), percentage);
}

// A file is known by what it holds, and a refusal says what is wrong with it.
void TstWorkbooks::realCause_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("error");
    QFile xls(fixture(QStringLiteral("laudo.xls")));
    QVERIFY(xls.open(QIODevice::ReadOnly));
    QFile pdf(fixture(QStringLiteral("laudo.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QFile ods(fixture(QStringLiteral("laudo.ods")));
    QVERIFY(ods.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls cut short") << xls.read(2048) << QString() << "a planilha .xls está danificada";
    // A directory entry's name counted past its 64 bytes made FreeXL read
    // past the entry: the file is refused before FreeXL sees it.
    const QString damaged = QStringLiteral("a planilha .xls está danificada: um nome no índice do arquivo passa do tamanho");
    QByteArray longName = xls.seek(0) ? xls.readAll() : QByteArray();
    const qsizetype directory = (qFromLittleEndian<quint32>(longName.constData() + 0x30) + 1) * 512;
    qToLittleEndian<quint16>(0x6D00, longName.data() + directory + 128 + 0x40);
    QTest::newRow("an .xls directory name longer than its entry") << longName << QString() << damaged;
    // A directory starting at no sector: FreeXL took the header for it.
    QByteArray nowhere = longName;
    qToLittleEndian<quint32>(0xFFFFFFFF, nowhere.data() + 0x30);
    nowhere.replace(directory + 128 + 0x40, 2, xls.seek(directory + 128 + 0x40) ? xls.read(2) : QByteArray());
    QTest::newRow("an .xls directory at no sector")
        << nowhere << QString() << "a planilha .xls está danificada: o índice do arquivo aponta para fora dele";
    // Small sectors of an impossible size: FreeXL took them as they came.
    QByteArray oddSectors = nowhere;
    oddSectors.replace(0x30, 4, longName.mid(0x30, 4));
    qToLittleEndian<quint16>(0x86, oddSectors.data() + 0x20);
    QTest::newRow("an .xls with sectors of an impossible size")
        << oddSectors << QString() << "a planilha .xls está danificada: o cabeçalho do arquivo dá setores de tamanho impossível";
    QFile fuzzed(fixture(QStringLiteral("indice-danificado.xls")));
    QVERIFY(fuzzed.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls whose directory is shifted") << fuzzed.readAll() << QString() << damaged;
    // A workbook whose sectors end before its size: FreeXL lost what it had read.
    QFile cut(fixture(QStringLiteral("fluxo-curto.xls")));
    QVERIFY(cut.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls workbook shorter than declared")
        << cut.readAll() << QString() << "a planilha .xls está danificada: a pasta de trabalho termina antes";
    // The small streams' sectors lead out of the table: FreeXL lost them.
    QFile smallCut(fixture(QStringLiteral("fluxos-pequenos-cortados.xls")));
    QVERIFY(smallCut.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls whose small streams end early")
        << smallCut.readAll() << QString() << "a planilha .xls está danificada: os fluxos pequenos do arquivo terminam antes";
    // A sheet's beginning long enough to hide its dimensions from this check, not from FreeXL.
    QFile longBegin(fixture(QStringLiteral("inicio-longo.xls")));
    QVERIFY(longBegin.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls sheet beginning with a long record")
        << longBegin.readAll() << QString()
        << "a planilha .xls está danificada: a parte 2 da pasta de trabalho começa com um registro de tamanho errado";
    // A name longer than its record: FreeXL copied past the record.
    QFile longText(fixture(QStringLiteral("nome-longo.xls")));
    QVERIFY(longText.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls name longer than its record")
        << longText.readAll() << QString() << "a planilha .xls está danificada: a parte 1 da pasta de trabalho tem um nome maior";
    // A sheet's dimensions twice, or none: FreeXL lost a table of cells.
    QFile twice(fixture(QStringLiteral("dimensoes-repetidas.xls")));
    QVERIFY(twice.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls sheet with two dimensions")
        << twice.readAll() << QString()
        << "a planilha .xls está danificada: a parte 4 da pasta de trabalho declara suas dimensões mais de uma vez";
    // A text cell out of every sheet: FreeXL lost the text it had converted.
    QFile outside(fixture(QStringLiteral("texto-fora.xls")));
    QVERIFY(outside.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls text outside a sheet")
        << outside.readAll() << QString()
        << "a planilha .xls está danificada: a parte 1 da pasta de trabalho tem um texto fora das dimensões da planilha";
    QFile none(fixture(QStringLiteral("sem-dimensoes.xls")));
    QVERIFY(none.open(QIODevice::ReadOnly));
    QTest::newRow("an .xls sheet without dimensions")
        << none.readAll() << QString()
        << "a planilha .xls está danificada: a parte 2 da pasta de trabalho declara suas dimensões nenhuma vez";
    QTest::newRow("a PDF") << pdf.readAll() << QString() << "é um documento PDF, não uma tabela";
    QTest::newRow("an .ods cut short") << ods.read(ods.size() / 2) << QString() << "o arquivo compactado (zip) não pôde ser lido";
    QTest::newRow("a sheet named in a CSV") << QByteArray("Argila;P;K\n35;6;40\n") << "Laudos"
                                            << "--planilha vale só para planilhas (.xlsx, .xls, .ods); este arquivo é um CSV";
    QTest::newRow("a sheet that is not there") << QByteArray() << "Resumo" << "não há a planilha \"Resumo\"; há: \"Capa\", \"Antigo\", \"Laudos\"";
}

void TstWorkbooks::realCause()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, sheet);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QString path = fixture(QStringLiteral("laudo.ods"));
    if (!bytes.isEmpty()) {
        path = dir.filePath(QStringLiteral("laudo"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const std::unique_ptr<batch::LabFile> lab = batch::LabFile::open(path, {}, sheet);
    QVERIFY2(lab->error().startsWith(error), qPrintable(lab->error()));
}

// A sheet whose XML stops early inside an intact archive lost its rows: the
// table is refused, never read short.
void TstWorkbooks::sheetEndingEarly_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("part");
    QTest::newRow("xlsx") << "laudo.xlsx" << "xl/worksheets/sheet3.xml";
    QTest::newRow("ods") << "laudo.ods" << "content.xml";
}

void TstWorkbooks::sheetEndingEarly()
{
    QFETCH(QString, file);
    QFETCH(QString, part);
    const batch::PartOpener opener = cutOpener(fixture(file), part, 3000);
    std::unique_ptr<batch::RecordReader> reader;
    if (file.endsWith(QLatin1String(".xlsx"))) {
        reader = batch::XlsxBook(opener).reader(2);
    } else {
        const batch::OdsBook book(opener);
        QVERIFY2(book.error().startsWith(QStringLiteral("a planilha termina antes do fim")), qPrintable(book.error()));
        reader = std::make_unique<batch::OdsReader>(opener, 2);
    }
    const batch::LabFile lab(std::move(reader));
    QVERIFY2(lab.error().startsWith(QStringLiteral("a planilha termina antes do fim")), qPrintable(lab.error()));
}

// The workbook's parts read whole are capped, with the part named.
void TstWorkbooks::oversizedParts()
{
    const fileformats::Functions *f = fileformats::load(nullptr);
    const QString path = fixture(QStringLiteral("laudo.xlsx"));
    const batch::XlsxBook book([f, path](const QString &name, QString *error) -> std::unique_ptr<batch::PartStream> {
        if (name == QLatin1String("xl/sharedStrings.xml"))
            return std::make_unique<EndlessPart>();
        fileformats::ArchivePart *part = f->openPart(path, name, error);
        return part ? std::make_unique<CutPart>(f, part, std::numeric_limits<qint64>::max()) : nullptr;
    });
    QCOMPARE(book.error(), QStringLiteral("a parte \"xl/sharedStrings.xml\" da planilha passa de 64 MiB; "
                                          "não é a planilha de um laboratório"));
}

// A summary row that throws while the workbook is written leaves nothing
// behind (the sanitizers' run sees the workbook freed).
void TstWorkbooks::summaryRowThrowing()
{
    const fileformats::Functions *f = fileformats::load(nullptr);
    fileformats::Sheet sheet;
    sheet.name = QStringLiteral("Resumo");
    sheet.titles = {QStringLiteral("Amostra")};
    sheet.rowCount = 3;
    sheet.row = [](qsizetype r) {
        if (r == 1)
            throw Failure(QStringLiteral("o resumo temporário não pôde ser lido"));
        fileformats::SheetCell cell;
        cell.kind = fileformats::SheetCell::Text;
        cell.text = QStringLiteral("A1");
        return QList<fileformats::SheetCell>{cell};
    };
    QString error;
    QVERIFY_THROWS_EXCEPTION(Failure, f->workbook(sheet, &error));
}

// A store's price list in every format, with a title line above the header
// and its dates as a spreadsheet in Brazil saves them ("30/11/25").
void TstWorkbooks::priceLists_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"precos.csv", "precos.xlsx", "precos.xls", "precos.ods", "precos-gnumeric.xlsx", "precos-gnumeric.xls"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TstWorkbooks::priceLists()
{
    QFETCH(QString, file);
    fertilizers::PriceList list;
    try {
        list = batch::readPriceListFile(fixture(file));
    } catch (const Failure &f) {
        QFAIL(qPrintable(f.message()));
    }
    QCOMPARE(list.products.size(), 2);
    const fertilizers::PricedProduct &urea = list.products[0], &super = list.products[1];
    QCOMPARE(urea.name, QStringLiteral("Ureia"));
    QCOMPARE(urea.n, 45.0);
    QCOMPARE(urea.bagKg, 50.0);
    QCOMPARE(urea.bagPrice, std::optional<double>(150.5));
    QCOMPARE(urea.date, QDate(2025, 11, 30));
    QCOMPARE(super.name, QStringLiteral("Superfosfato simples"));
    QCOMPARE(super.p2o5, 18.0);
    QCOMPARE(super.bagPrice, std::optional<double>(98));
    QCOMPARE(super.date, QDate(2025, 11, 28));
}

QTEST_GUILESS_MAIN(TstWorkbooks)
#include "tst_workbooks.moc"
