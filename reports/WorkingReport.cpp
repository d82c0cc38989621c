#include "reports/WorkingReport.h"

#include <QFont>
#include <algorithm>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringEncoder>
#include <QTextDocument>

namespace reports {

namespace {

// Consecutive steps of one part of the recommendation go under one title.
template <class Section, class Step>
void bySection(const CaseWorking &steps, Section section, Step step)
{
    QString current;
    for (const WorkingStep &s : steps) {
        if (s.section != current) {
            current = s.section;
            section(current);
        }
        step(s.told);
    }
}

QString line(const QString &label, const QString &text, const QString &unit = {})
{
    if (text.isEmpty())
        return {};
    return QStringLiteral("%1: %2%3").arg(label, text, unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

} // namespace

WorkingDocument workingDocument(const model::Case &c, const QString &date, const CaseWorking &steps)
{
    WorkingDocument d;
    const QStringList heading{line(QStringLiteral("Produtor"), c.producer.name),
                              line(QStringLiteral("Localidade"), c.producer.place),
                              line(QStringLiteral("Município"), c.producer.town),
                              line(QStringLiteral("Denominação"), c.field.name),
                              line(QStringLiteral("N° do laudo"), c.field.report),
                              line(QStringLiteral("Técnico"), c.report.technician),
                              line(QStringLiteral("Data"), date)};
    for (const QString &l : heading)
        if (!l.isEmpty())
            d.heading << l;
    const model::SoilAnalysis &s = c.analysis;
    const QString cmolc = QStringLiteral("cmolc/dm³"), mg = QStringLiteral("mg/dm³");
    const QStringList analysis{line(QStringLiteral("Argila"), s.clay.text, QStringLiteral("%")),
                               line(QStringLiteral("pH"), s.ph.text),
                               line(QStringLiteral("P"), s.phosphorus.text, mg),
                               line(QStringLiteral("K"), s.potassium.text, mg),
                               line(QStringLiteral("MO"), s.organicMatter.text, QStringLiteral("%")),
                               line(QStringLiteral("Al"), s.aluminium.text, cmolc),
                               line(QStringLiteral("Ca"), s.calcium.text, cmolc),
                               line(QStringLiteral("Mg"), s.magnesium.text, cmolc),
                               line(QStringLiteral("CTC"), s.ctc.text, cmolc),
                               line(QStringLiteral("V"), s.baseSaturation.text, QStringLiteral("%")),
                               line(QStringLiteral("Produtividade esperada"), c.field.expectedYield.text,
                                    QStringLiteral("t/ha"))};
    for (const QString &l : analysis)
        if (!l.isEmpty())
            d.analysis << l;
    // The parts in the order of the recommendation, each with its results in
    // the order computed: a result computed again goes last within its part.
    const QStringList order{sections::soil,           sections::doses,          sections::liming,
                            sections::split,          sections::planting,       sections::topDressing(1),
                            sections::topDressing(2), sections::topDressing(3)};
    d.steps = steps;
    std::stable_sort(d.steps.begin(), d.steps.end(), [&order](const WorkingStep &a, const WorkingStep &b) {
        return order.indexOf(a.section) < order.indexOf(b.section);
    });
    return d;
}

QStringList workingTextLines(const WorkingDocument &d)
{
    QStringList lines{workingTitle.toUpper(), QString()};
    lines << d.heading;
    if (!d.analysis.isEmpty())
        lines << QString() << QStringLiteral("Análise do solo") << d.analysis;
    if (d.steps.isEmpty())
        lines << QString() << QStringLiteral("Nenhum resultado calculado ainda.");
    bySection(
        d.steps, [&](const QString &section) { lines << QString() << section.toUpper(); },
        [&](const Told &told) { lines << QStringLiteral("- ") + told.text(); });
    return lines;
}

QByteArray workingText(const QStringList &lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString &l : lines)
        bytes += l.toUtf8() + "\r\n";
    return bytes;
}

bool printWorking(const WorkingDocument &d, QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const auto esc = [](const QString &text) { return text.toHtmlEscaped(); };
    QString html = QStringLiteral("<h2>%1</h2>").arg(esc(workingTitle));
    if (!d.heading.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(esc(d.heading.join(QLatin1Char('\n'))).replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    if (!d.analysis.isEmpty())
        html += QStringLiteral("<h3>Análise do solo</h3><p>%1</p>")
                    .arg(esc(d.analysis.join(QStringLiteral("; "))));
    if (d.steps.isEmpty())
        html += QStringLiteral("<p>Nenhum resultado calculado ainda.</p>");
    bool open = false;
    bySection(
        d.steps,
        [&](const QString &section) {
            if (open)
                html += QStringLiteral("</ul>");
            html += QStringLiteral("<h3>%1</h3><ul>").arg(esc(section));
            open = true;
        },
        [&](const Told &told) {
            html += QStringLiteral("<li><b>%1: %2.</b> %3</li>").arg(esc(told.what), esc(told.result), esc(told.why));
        });
    if (open)
        html += QStringLiteral("</ul>");

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setHtml(html);
    // The pages are numbered at the foot, and the text keeps 2 cm from the edges.
    document.print(&device);
    return true;
}

} // namespace reports
