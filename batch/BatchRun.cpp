#include "batch/BatchRun.h"

#include "agronomy/Applications.h"
#include "chart/CalendarChart.h"
#include "calendar/CalendarData.h"
#include "core/Failure.h"
#include "batch/LabSample.h"
#include "core/NumberText.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "agronomy/Recommendation.h"
#include "reports/ReportContent.h"
#include "reports/ReportFile.h"
#include "batch/SampleNames.h"
#include "batch/Summary.h"
#include "reports/TextReport.h"

#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>
#include <atomic>
#include <cstring>

namespace batch {

namespace {

// What every sample shares: drawn, loaded or formatted once per run.
struct Shared {
    NumberText numbers;
    QDir output;
    std::optional<double> prnt;
    QString technician;
    QString date;
    QImage chart;
    QHash<QString, QImage> pictures; // the template's own pictures, decoded once
    reports::PdfExport pdf;
};

QString templatePath() { return QStringLiteral(":/assets/report_page.json"); }

// The chart as the window draws it with "Data" chosen and no organ curve:
// it depends on the planting day only, not on the sample.
QImage chartPicture(QDate planting, const QLocale &regional)
{
    QChartView view;
    CalendarChart chart(&view);
    chart.draw(calendar::plan(calendar::Scale::Dates, {false, false, false, false}, planting, regional));
    return chart.picture();
}

QString reason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// The texts the window would show for the sample, keyed by component name.
QHash<QString, QString> sampleTexts(const LabSample &s, const Shared &shared)
{
    agronomy::Analysis a;
    a.argila = *s.value(Column::Argila);
    a.p = *s.value(Column::P);
    a.k = *s.value(Column::K);
    a.mo = *s.value(Column::Mo);
    a.al = *s.value(Column::Al);
    a.ca = *s.value(Column::Ca);
    a.mg = *s.value(Column::Mg);
    a.ctc = *s.value(Column::Ctc);
    a.v = *s.value(Column::V);
    a.yield = *s.value(Column::Rendimento);
    a.prnt = shared.prnt;
    const agronomy::Recommendation r = agronomy::recommend(a, shared.numbers);
    QHash<QString, QString> t = agronomy::windowTexts(a, r, shared.numbers);
    t[QStringLiteral("Edit55")] = s.text(Column::Produtor);
    t[QStringLiteral("Edit56")] = s.text(Column::Cpf);
    t[QStringLiteral("Edit57")] = s.text(Column::Localidade);
    t[QStringLiteral("Edit58")] = s.text(Column::Municipio);
    t[QStringLiteral("Edit59")] = s.text(Column::Denominacao);
    t[QStringLiteral("Edit60")] = s.text(Column::Laudo);
    if (const std::optional<double> ph = s.value(Column::Ph))
        t[QStringLiteral("Edit70")] = agronomy::typedText(*ph, shared.numbers);
    t[QStringLiteral("Edit15")] = shared.technician;
    return t;
}

QString cell(const QHash<QString, QString> &t, int column, int row)
{
    return t.value(QStringLiteral("stga3:%1,%2").arg(column).arg(row));
}

reports::ReportContent reportContent(const QHash<QString, QString> &t, const Shared &shared)
{
    reports::ReportContent c = reports::ReportContent::fromComponents(
        [&t](const QString &component) { return t.value(component); });
    using namespace applications;
    for (int row = Planting; row <= ThirdTopDressing; ++row)
        c.split << QStringList{names[row - Planting], epochs[row - Planting], cell(t, NColumn, row),
                               cell(t, P2O5Column, row), cell(t, K2OColumn, row)};
    c.observation = t.value(QStringLiteral("Memo1"));
    c.date = shared.date;
    return c;
}

SummaryRow summaryRow(const LabSample &s, const QHash<QString, QString> &t)
{
    using namespace applications;
    const auto f = [&t](const char *component) { return t.value(QLatin1String(component)); };
    const QStringList memo = f("Memo1").split(QLatin1Char('\n'));
    return {s.text(Column::Amostra), QString::number(s.line), f("Edit68"), f("Edit11"), f("Edit10"), f("Edit69"),
            memo.value(1), f("Edit61"), f("Edit25"), f("edit30"), f("edit32"), f("edit31"),
            cell(t, NColumn, Planting), cell(t, NColumn, FirstTopDressing), cell(t, NColumn, SecondTopDressing),
            cell(t, NColumn, ThirdTopDressing), cell(t, K2OColumn, Planting), cell(t, K2OColumn, FirstTopDressing),
            QString()};
}

// One sample from its values to its two report files; its summary row, with
// the reason in "Erro" when it could not be done. Both files are written in
// full beside their places before either is put in place, so that a sample
// has both new reports or neither.
SummaryRow process(const LabSample &s, const QString &fileBase, const Shared &shared)
{
    SummaryRow failed(summaryColumns().size());
    failed[0] = s.text(Column::Amostra);
    failed[1] = QString::number(s.line);
    if (!s.error.isEmpty()) {
        failed.last() = s.error;
        return failed;
    }
    try {
        const QHash<QString, QString> t = sampleTexts(s, shared);
        const reports::ReportContent content = reportContent(t, shared);

        reports::PageReport page(templatePath());
        reports::setPageVariables(page, content);
        for (auto it = shared.pictures.cbegin(); it != shared.pictures.cend(); ++it)
            page.loadPicture(it.key(), it.value());
        page.loadPicture(QStringLiteral("Grafico1"), shared.chart);
        const QByteArray pdf = shared.pdf.document(page);
        if (pdf.isEmpty())
            throw Failure(QStringLiteral("a página não pôde ser desenhada"));

        const QString txtPath = shared.output.filePath(fileBase + QStringLiteral(".txt"));
        const QString pdfPath = shared.output.filePath(fileBase + QStringLiteral(".pdf"));
        const auto notWritten = [](const QString &path, int code) {
            return Failure(QStringLiteral("não foi possível gravar \"%1\": %2")
                               .arg(QDir::toNativeSeparators(path), reason(code)));
        };
        reports::PendingFile pendingPdf, pendingTxt;
        if (const int code = reports::prepareFile(pdfPath, pdf, pendingPdf))
            throw notWritten(pdfPath, code);
        if (const int code =
                reports::prepareFile(txtPath, reports::legacyText(reports::textReportLines(content)), pendingTxt))
            throw notWritten(txtPath, code);
        if (const int code = pendingPdf.commit())
            throw notWritten(pdfPath, code);
        // A rename in the same folder right after another seldom fails; when
        // it does, the new page report stands beside the old text report,
        // and the message says so.
        if (const int code = pendingTxt.commit())
            throw Failure(notWritten(txtPath, code).message()
                          + QStringLiteral(" (o relatório PDF já é o novo; o relatório texto não)"));
        return summaryRow(s, t);
    } catch (const Failure &f) {
        failed.last() = QStringLiteral("linha %1: %2").arg(s.line).arg(f.message());
        return failed;
    }
}

QChar decimalSeparator(const QLocale &regional)
{
    const QString mark = regional.decimalPoint();
    return mark == QLatin1String(".") ? QLatin1Char('.') : QLatin1Char(',');
}

} // namespace

ExitStatus run(const Options &options, const QLocale &regional, const Console &console)
{
    const auto say = [&console](const QString &text) {
        if (console.message)
            console.message(text);
    };
    QFile input(options.input);
    if (!input.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("não foi possível ler \"%1\": %2").arg(options.input, input.errorString()));
        return NotRun;
    }
    // The file is held as text and read record by record, twice: once for
    // the report names, once for the samples; never as a table.
    CsvReader reader(input.readAll());
    input.close();
    CsvRecord record;
    if (!reader.next(record) || record.fields.isEmpty()) {
        say(QStringLiteral("\"%1\" está vazio").arg(options.input));
        return NotRun;
    }
    const MapResult columns = mapColumns(record.fields);
    if (!columns.map) {
        say(QStringLiteral("\"%1\": %2").arg(options.input, columns.error));
        return NotRun;
    }
    const ColumnMap &map = *columns.map;
    const auto sampleName = [&map](const CsvRecord &r) {
        const int at = map.indexOf(Column::Amostra);
        return at >= 0 ? r.fields.value(at).trimmed() : QString();
    };

    // The folder is checked before any work, so that nothing is half done.
    const QFileInfo folder(options.output);
    if (folder.exists() && !folder.isDir()) {
        say(QStringLiteral("\"%1\" não é uma pasta").arg(options.output));
        return NotRun;
    }
    if (!QDir().mkpath(options.output)) {
        say(QStringLiteral("não foi possível criar a pasta \"%1\"").arg(options.output));
        return NotRun;
    }

    // The laboratory's file is never written over, even when it lies in the folder.
    const QDir out(options.output);
    const QString inputPath = QFileInfo(options.input).canonicalFilePath();
    const auto overwritesInput = [&](const QString &name) {
        if (QFileInfo(out.filePath(name)).canonicalFilePath() != inputPath)
            return false;
        say(QStringLiteral("\"%1\" seria gravado por cima do arquivo de entrada; escolha outra pasta")
                .arg(QDir::toNativeSeparators(out.filePath(name))));
        return true;
    };
    static const QStringList summaries{QStringLiteral("resumo.csv"), QStringLiteral("resumo.xlsx")};
    for (const QString &name : summaries)
        if (overwritesInput(name))
            return NotRun;
    int total = 0;
    {
        UniqueNames names;
        while (reader.next(record)) {
            if (blankRecord(record))
                continue;
            ++total;
            const QString base = names.next(sampleName(record), record.line);
            if (overwritesInput(base + QStringLiteral(".pdf")) || overwritesInput(base + QStringLiteral(".txt")))
                return NotRun;
        }
    }
    {
        // A folder that cannot be written stops the run at once. This first
        // write also clears what a run killed part way left in the folder.
        const QString probe = out.filePath(QStringLiteral(".tuberon-teste"));
        if (const int code = reports::replaceFile(probe, QByteArray())) {
            say(QStringLiteral("não é possível gravar na pasta \"%1\": %2").arg(options.output, reason(code)));
            return NotRun;
        }
        QFile::remove(probe);
    }
    // The previous run's summary goes before any report is written, and the
    // new one comes at the end: a run stopped part way leaves no summary
    // that describes other reports than those beside it.
    for (const QString &name : summaries) {
        QFile old(out.filePath(name));
        if (old.exists() && !old.remove()) {
            say(QStringLiteral("não foi possível apagar o resumo anterior \"%1\": %2")
                    .arg(QDir::toNativeSeparators(old.fileName()), old.errorString()));
            return NotRun;
        }
    }

    Shared shared;
    shared.numbers = NumberText(decimalSeparator(regional));
    shared.output = out;
    shared.prnt = options.prnt;
    shared.technician = options.technician;
    shared.date = regional.toString(QDate::currentDate(), QLocale::ShortFormat);
    shared.chart = chartPicture(options.planting.isValid() ? options.planting : QDate::currentDate(), regional);
    {
        // The template is read and its pictures decoded here, once, not per sample.
        const reports::PageReport prototype(templatePath());
        for (const reports::PageObject &o : prototype.page().objects)
            if (o.kind == reports::PageObject::Kind::Picture && !o.file.isEmpty())
                shared.pictures.insert(o.name, QImage(o.file));
    }

    // Samples go to the cores a batch at a time; of each only its summary
    // row is kept, packed, so that memory does not grow with the file.
    struct Job {
        LabSample sample;
        QString fileBase;
        SummaryRow row;
    };
    const qsizetype batchSize = qMax(256, 64 * QThreadPool::globalInstance()->maxThreadCount());
    SummaryRows rows;
    UniqueNames names;
    std::atomic<int> finished{0};
    int done = 0, failed = 0;
    reader.rewind();
    reader.next(record); // the header
    for (bool more = true; more;) {
        QList<Job> jobs;
        jobs.reserve(batchSize);
        while (jobs.size() < batchSize && (more = reader.next(record))) {
            if (blankRecord(record))
                continue;
            Job job;
            job.sample = readSample(record, map, options.yield);
            job.fileBase = names.next(job.sample.text(Column::Amostra), job.sample.line);
            jobs << std::move(job);
        }
        QFuture<void> work = QtConcurrent::map(jobs, [&](Job &job) {
            job.row = process(job.sample, job.fileBase, shared);
            ++finished;
        });
        int shown = -1;
        while (!work.isFinished()) {
            if (console.progress && finished != shown)
                console.progress(shown = finished, total);
            QThread::msleep(10);
        }
        work.waitForFinished();
        for (const Job &job : std::as_const(jobs)) {
            rows.append(job.row);
            if (job.row.last().isEmpty()) {
                ++done;
            } else {
                ++failed;
                say(job.row.last());
            }
        }
    }
    if (console.progress)
        console.progress(finished, total);

    // A summary that cannot be written does not undo the reports that were.
    bool summaryWritten = true;
    QString xlsxError;
    QStringList changes;
    const QByteArray xlsx = summaryXlsx(rows, &xlsxError, &changes);
    for (const QString &change : std::as_const(changes))
        say(change);
    if (xlsx.isEmpty()) {
        say(QStringLiteral("resumo.xlsx: %1").arg(xlsxError));
        summaryWritten = false;
    }
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("resumo.csv"), summaryCsv(rows)},
                                      std::pair{QStringLiteral("resumo.xlsx"), xlsx}}) {
        if (bytes.isEmpty())
            continue;
        if (const int code = reports::replaceFile(out.filePath(name), bytes)) {
            say(QStringLiteral("não foi possível gravar \"%1\": %2")
                    .arg(QDir::toNativeSeparators(out.filePath(name)), reason(code)));
            summaryWritten = false;
        }
    }

    if (console.finished)
        console.finished(done, failed);
    if (!done && !summaryWritten)
        return NotRun;
    return failed || !summaryWritten ? SomeNotDone : AllDone;
}

} // namespace batch
