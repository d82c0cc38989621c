#include "batch/BatchRun.h"

#include "chart/CalendarChart.h"
#include "calendar/CalendarData.h"
#include "core/Failure.h"
#include "batch/LabFile.h"
#include "batch/LabSample.h"
#include "core/NumberText.h"
#include "reports/PageReport.h"
#include "reports/PdfExport.h"
#include "agronomy/Recommendation.h"
#include "model/RecommendedCase.h"
#include "reports/ReportContent.h"
#include "reports/ReportFile.h"
#include "batch/PriceListFile.h"
#include "batch/SampleNames.h"
#include "batch/Summary.h"
#include "reports/TextReport.h"
#include "reports/WorkingReport.h"
#include "batch/LabDate.h"
#include "store/Store.h"
#include "core/Dates.h"

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
    bool working = false;
    reports::PdfExport workingPdf;
    std::optional<fertilizers::PriceList> prices;
    fertilizers::CompositionOptions composition;
    bool store = false; // the rows end in the store's column
};

// The working of a sample is a document of its own beside the page report:
// the page report stays the one signed page it always was, while the working
// runs over as many pages as the case needs and goes to whoever checks it.
QString workingName(const QString &fileBase) { return fileBase + QStringLiteral("-memoria.pdf"); }

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

// The case the window would hold for the sample; given a working, the
// working of every result besides.
model::Case sampleCase(const LabSample &s, const Shared &shared, CaseWorking *working = nullptr)
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
    model::Case c;
    c.decimalSeparator = shared.numbers.separator();
    model::applyRecommendation(c, a, agronomy::recommend(a, shared.numbers, working), shared.numbers);
    c.producer = {s.text(Column::Produtor), s.text(Column::Cpf), s.text(Column::Localidade), s.text(Column::Municipio)};
    c.field.name = s.text(Column::Denominacao);
    c.field.report = s.text(Column::Laudo);
    if (const std::optional<double> ph = s.value(Column::Ph))
        c.analysis.ph = {agronomy::typedText(*ph, shared.numbers)};
    c.report.technician = shared.technician;
    if (shared.prices) {
        // What is still missing of each application after the default
        // split, as the window's "Faltante" shows it.
        const auto kgHa = [&shared](const model::Number &n) {
            return n.text.trimmed().isEmpty() ? 0.0 : shared.numbers.toDouble(n.text);
        };
        std::array<fertilizers::NutrientNeed, fertilizers::applicationCount> needs;
        for (int j = 0; j < fertilizers::applicationCount; ++j) {
            const model::Application &application = j == 0 ? c.planting : c.topDressings[size_t(j - 1)];
            needs[size_t(j)] = {kgHa(application.missing.n), kgHa(application.missing.p2o5),
                                kgHa(application.missing.k2o)};
        }
        c.composition = fertilizers::composeLeastCost(*shared.prices, needs, shared.composition);
        c.prices = shared.prices;
    }
    return c;
}

SummaryCell productsCell(const fertilizers::ApplicationPlan &plan, const NumberText &numbers)
{
    QList<SummaryProduct> products;
    for (const fertilizers::ComposedProduct &p : plan.products)
        products << SummaryProduct{p.name, p.bags > 0 ? int(qRound(p.bags)) : 0, p.kgField};
    return SummaryCell::ofProducts(products, numbers.separator());
}

// A figure of the case as its field holds it: a number with the places it is
// written with, or, when it is none, its text as it stands.
SummaryCell figureCell(const QString &text, const NumberText &numbers)
{
    if (text.isEmpty())
        return {};
    double value = 0;
    try {
        value = numbers.toDouble(text);
    } catch (const Failure &) {
        return text;
    }
    const qsizetype mark = text.indexOf(numbers.separator());
    const int places = mark < 0 ? 0 : int(text.size() - mark - 1);
    const SummaryCell cell = SummaryCell::ofNumber(value, places);
    const QString again = places == 0 ? QString::number(value, 'f', 0)
                          : places <= 3 ? numbers.format(value, places)
                                        : QString();
    return again == text ? cell : SummaryCell(text);
}

SummaryRow summaryRow(const LabSample &s, const model::Case &c, const NumberText &numbers)
{
    const QStringList memo = c.liming.observation.split(QLatin1Char('\n'));
    const auto n = [&c](int application) { return c.doses.applications.value(application).doses.n.text; };
    const auto k2o = [&c](int application) { return c.doses.applications.value(application).doses.k2o.text; };
    const auto figure = [&numbers](const QString &text) { return figureCell(text, numbers); };
    SummaryRow row{s.text(Column::Amostra), SummaryCell::ofNumber(s.line, 0), c.analysis.clayClass,
                   c.analysis.phosphorusClass, c.analysis.potassiumClass, c.analysis.ctcClass, memo.value(1),
                   figure(c.liming.need.text), figure(c.liming.commercial.quantity.text),
                   figure(c.doses.nitrogen.text), figure(c.doses.phosphate.text), figure(c.doses.potash.text),
                   figure(n(0)), figure(n(1)), figure(n(2)), figure(n(3)), figure(k2o(0)), figure(k2o(1)), QString(),
                   s.warning, QString()};
    if (const auto &composition = c.composition) {
        row << fertilizers::statusText(composition->status) << SummaryCell::ofNumber(composition->costHa, 2);
        for (const fertilizers::ApplicationPlan &plan : composition->applications)
            row << productsCell(plan, numbers);
    }
    return row;
}

// One sample from its values to its report files; its summary row, with
// the reason in "Erro" when it could not be done. Every file is written in
// full beside its place before any is put in place, so that a sample has
// all its new reports or none.
SummaryRow process(const LabSample &s, const QString &fileBase, const Shared &shared, std::optional<model::Case> &made)
{
    SummaryRow failed(summaryColumns(shared.prices.has_value(), shared.store).size());
    failed[0] = s.text(Column::Amostra);
    failed[1] = SummaryCell::ofNumber(s.line, 0);
    failed[warningColumn] = s.warning;
    if (!s.error.isEmpty()) {
        failed[errorColumn] = s.error;
        return failed;
    }
    try {
        CaseWorking working;
        const model::Case c = sampleCase(s, shared, shared.working ? &working : nullptr);
        const reports::ReportContent content = reports::ReportContent::fromCase(c, shared.date);

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
        reports::PendingFile pendingPdf, pendingTxt, pendingWorking;
        const QString workingPath = shared.output.filePath(workingName(fileBase));
        if (shared.working) {
            const reports::WorkingDocument document = reports::workingDocument(c, shared.date, working);
            const QByteArray workingPdf = shared.workingPdf.document(
                [&document](QPagedPaintDevice &device) { return reports::printWorking(document, device); });
            if (workingPdf.isEmpty())
                throw Failure(QStringLiteral("a memória de cálculo não pôde ser desenhada"));
            if (const int code = reports::prepareFile(workingPath, workingPdf, pendingWorking))
                throw notWritten(workingPath, code);
        }
        if (const int code = reports::prepareFile(pdfPath, pdf, pendingPdf))
            throw notWritten(pdfPath, code);
        if (const int code =
                reports::prepareFile(txtPath, reports::legacyText(reports::textReportLines(content)), pendingTxt))
            throw notWritten(txtPath, code);
        if (const int code = pendingPdf.commit())
            throw notWritten(pdfPath, code);
        if (shared.working)
            if (const int code = pendingWorking.commit())
                throw Failure(notWritten(workingPath, code).message()
                              + QStringLiteral(" (o relatório PDF já é o novo; a memória de cálculo e o relatório "
                                               "texto não)"));
        // A rename in the same folder right after another seldom fails; when
        // it does, the new page report stands beside the old text report,
        // and the message says so.
        if (const int code = pendingTxt.commit())
            throw Failure(notWritten(txtPath, code).message()
                          + QStringLiteral(" (o relatório PDF já é o novo; o relatório texto não)"));
        made = c;
        SummaryRow row = summaryRow(s, c, shared.numbers);
        QString files = fileBase + QStringLiteral(".pdf, ") + fileBase + QStringLiteral(".txt");
        if (shared.working)
            files += QStringLiteral(", ") + workingName(fileBase);
        row[filesColumn] = files;
        if (shared.store)
            row << SummaryCell();
        return row;
    } catch (const Failure &f) {
        failed[errorColumn] = QStringLiteral("linha %1: %2").arg(s.line).arg(f.message());
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
    // The file is read as it comes, record by record: once for its decimal
    // mark, once for the report names, once for the samples; never held whole.
    input.close();
    const std::unique_ptr<LabFile> opened = LabFile::open(options.input, options.chosen, options.sheet);
    LabFile &lab = *opened;
    CsvRecord record;
    QString notSample;
    if (!lab.error().isEmpty()) {
        say(QStringLiteral("\"%1\": %2").arg(options.input, lab.error()));
        return NotRun;
    }
    if (!lab.sheet().isEmpty())
        say(QStringLiteral("\"%1\": amostras da planilha \"%2\"").arg(options.input, lab.sheet()));
    // A file of a header alone (or of means and totals) has nothing to do:
    // said as such, never a success of no samples.
    bool anySample = false;
    while (!anySample && lab.next(record, &notSample))
        anySample = notSample.isEmpty();
    lab.rewind();
    if (!anySample) {
        say(QStringLiteral("\"%1\": o arquivo não tem amostras").arg(options.input));
        return NotRun;
    }
    // A price list that cannot be read stops the run before anything is written.
    std::optional<fertilizers::PriceList> prices;
    if (!options.prices.isEmpty()) {
        try {
            prices = readPriceListFile(options.prices);
        } catch (const Failure &f) {
            say(f.message());
            return NotRun;
        }
    }
    const bool withCost = prices.has_value();
    // So does a store of cases that cannot be opened (damaged, newer, not a store).
    std::unique_ptr<store::Store> cases;
    if (!options.store.isEmpty()) {
        try {
            cases = std::make_unique<store::Store>(options.store);
        } catch (const Failure &f) {
            say(f.message());
            return NotRun;
        }
    }
    const bool withStore = cases != nullptr;
    const ColumnMap &map = lab.map();
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
        while (lab.next(record, &notSample)) {
            if (!notSample.isEmpty())
                continue;
            ++total;
            const QString base = names.next(sampleName(record), record.line);
            if (overwritesInput(base + QStringLiteral(".pdf")) || overwritesInput(base + QStringLiteral(".txt"))
                || (options.working && overwritesInput(workingName(base))))
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

    // resumo.csv is written beside its place as the samples are done, and
    // put in place at the end; a run stopped part way leaves none.
    reports::PendingFile csvSummary;
    int csvCode =
        reports::prepareFile(out.filePath(QStringLiteral("resumo.csv")), summaryCsvTitles(withCost, withStore), csvSummary);

    Shared shared;
    shared.numbers = NumberText(decimalSeparator(regional));
    shared.output = out;
    shared.prnt = options.prnt;
    shared.technician = options.technician;
    shared.working = options.working;
    shared.workingPdf.title = reports::workingTitle;
    shared.workingPdf.subject = reports::workingTitle;
    shared.prices = std::move(prices);
    shared.store = withStore;
    shared.composition.areaHa = options.areaHa;
    shared.date = dates::shortDate(QDate::currentDate(), regional);
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
        std::optional<model::Case> made; // the sample's case, once its reports are written
    };
    const qsizetype batchSize = qMax(256, 64 * QThreadPool::globalInstance()->maxThreadCount());
    SummaryRows rows;
    UniqueNames names;
    std::atomic<int> finished{0};
    int done = 0, failed = 0;
    const QDate runDate = QDate::currentDate();
    bool storeFailed = false;
    // The samples done, recorded in the store in one transaction per batch:
    // each row's last cell says where its sample went, or why it did not.
    const auto fileInStore = [&say](store::Store &into, QList<Job> &batch, QDate today) {
        QList<store::Store::Entry> entries;
        QList<Job *> recorded;
        bool all = true;
        for (Job &job : batch) {
            if (!job.made)
                continue;
            QString &cell = job.row.last().text;
            const QString dateText = job.sample.text(Column::Data);
            const std::optional<QDate> date = dateText.isEmpty() ? std::optional<QDate>(today) : labDate(dateText);
            if (!date) {
                cell = QStringLiteral("não gravado: data \"%1\" não reconhecida").arg(dateText);
            } else if (job.made->producer.name.trimmed().isEmpty() && job.made->producer.cpf.trimmed().isEmpty()) {
                cell = QStringLiteral("não gravado: sem produtor nem CPF");
            }
            if (!cell.isEmpty()) {
                say(QStringLiteral("linha %1: %2 no banco").arg(job.sample.line).arg(cell));
                all = false;
                continue;
            }
            job.made->report.date = *date;
            entries << store::Store::Entry{*job.made, *date};
            recorded << &job;
        }
        if (entries.isEmpty())
            return all;
        try {
            const QList<store::Recorded> results = into.record(entries);
            for (qsizetype i = 0; i < results.size(); ++i) {
                const store::Recorded &r = results[i];
                QString where = QStringLiteral("%1 / %2").arg(r.producer, r.field);
                if (r.newProducer)
                    where = QStringLiteral("novo");
                else if (r.newField)
                    where += QStringLiteral(" (talhão novo)");
                else if (r.replaced)
                    where += QStringLiteral(" (safra de %1 substituída)").arg(entries[i].date.toString(Qt::ISODate));
                recorded[i]->row.last() = where;
            }
            return all;
        } catch (const Failure &f) {
            say(f.message());
            for (Job *job : recorded)
                job->row.last() = QStringLiteral("não gravado: ") + f.message();
            return false;
        }
    };
    lab.rewind();
    for (bool more = true; more;) {
        QList<Job> jobs;
        jobs.reserve(batchSize);
        while (jobs.size() < batchSize && (more = lab.next(record, &notSample))) {
            if (!notSample.isEmpty()) {
                say(QStringLiteral("linha %1: \"%2\" não é uma amostra; linha ignorada").arg(record.line).arg(notSample));
                continue;
            }
            Job job;
            job.sample = readSample(record, map, options.yield);
            job.fileBase = names.next(job.sample.text(Column::Amostra), job.sample.line);
            jobs << std::move(job);
        }
        QFuture<void> work = QtConcurrent::map(jobs, [&](Job &job) {
            job.row = process(job.sample, job.fileBase, shared, job.made);
            ++finished;
        });
        int shown = -1;
        while (!work.isFinished()) {
            if (console.progress && finished != shown)
                console.progress(shown = finished, total);
            QThread::msleep(10);
        }
        work.waitForFinished();
        if (cases && !fileInStore(*cases, jobs, runDate))
            storeFailed = true;
        QByteArray lines;
        for (const Job &job : std::as_const(jobs)) {
            rows.append(job.row);
            lines += summaryCsvLine(job.row);
            if (job.row[errorColumn].isEmpty()) {
                ++done;
            } else {
                ++failed;
                say(job.row[errorColumn].text);
            }
        }
        if (!csvCode)
            csvCode = csvSummary.append(lines);
    }
    if (console.progress)
        console.progress(finished, total);

    // A summary that cannot be written does not undo the reports that were.
    bool summaryWritten = true;
    QString xlsxError;
    QStringList changes;
    const QByteArray xlsx = summaryXlsx(rows, &xlsxError, &changes, withCost, withStore);
    for (const QString &change : std::as_const(changes))
        say(change);
    if (xlsx.isEmpty()) {
        say(QStringLiteral("resumo.xlsx: %1").arg(xlsxError));
        summaryWritten = false;
    }
    const auto notWritten = [&](const QString &name, int code) {
        say(QStringLiteral("não foi possível gravar \"%1\": %2")
                .arg(QDir::toNativeSeparators(out.filePath(name)), reason(code)));
        summaryWritten = false;
    };
    if (!csvCode)
        csvCode = csvSummary.commit();
    if (csvCode)
        notWritten(QStringLiteral("resumo.csv"), csvCode);
    if (!xlsx.isEmpty())
        if (const int code = reports::replaceFile(out.filePath(QStringLiteral("resumo.xlsx")), xlsx))
            notWritten(QStringLiteral("resumo.xlsx"), code);

    if (console.finished)
        console.finished(done, failed);
    if (!done && !summaryWritten)
        return NotRun;
    return failed || !summaryWritten || storeFailed ? SomeNotDone : AllDone;
}

} // namespace batch
