#include "reports/ReportContent.h"

#include "core/Version.h"
#include "reports/PageReport.h"

namespace reports {

namespace {

using model::Case;

ReportField number(const char *variable, model::Number (*of)(const Case &))
{
    return {QLatin1String(variable), [of](const Case &c) { return of(c).text; }};
}

ReportField text(const char *variable, QString (*of)(const Case &))
{
    return {QLatin1String(variable), of};
}

QStringList nutrientCells(const model::Nutrients &n) { return {n.n.text, n.p2o5.text, n.k2o.text}; }

Rows productRows(const model::Application &a)
{
    Rows rows;
    for (const model::ProductRow &r : a.products)
        rows << QStringList{r.product, r.quantity.text} + nutrientCells(r.supplies);
    return rows;
}

} // namespace

const QList<ReportField> &copiedFields()
{
    static const QList<ReportField> fields{
        text("NOME", [](const Case &c) { return c.producer.name; }),
        text("CPF", [](const Case &c) { return c.producer.cpf; }),
        text("LOCALIDADE", [](const Case &c) { return c.producer.place; }),
        text("MUNICIPIO", [](const Case &c) { return c.producer.town; }),
        text("LAUDO", [](const Case &c) { return c.field.report; }),
        text("DENOMINACAO", [](const Case &c) { return c.field.name; }),
        number("ARGILA", [](const Case &c) { return c.analysis.clay; }),
        number("PH", [](const Case &c) { return c.analysis.ph; }),
        number("P", [](const Case &c) { return c.analysis.phosphorus; }),
        number("K", [](const Case &c) { return c.analysis.potassium; }),
        number("MO", [](const Case &c) { return c.analysis.organicMatter; }),
        number("AL", [](const Case &c) { return c.analysis.aluminium; }),
        number("CA", [](const Case &c) { return c.analysis.calcium; }),
        number("MG", [](const Case &c) { return c.analysis.magnesium; }),
        number("CTC", [](const Case &c) { return c.analysis.ctc; }),
        number("V", [](const Case &c) { return c.analysis.baseSaturation; }),
        number("RENDIMENTO", [](const Case &c) { return c.field.expectedYield; }),
    };
    return fields;
}

const QList<ReportField> &pageOnlyFields()
{
    static const QList<ReportField> fields{
        // The need beside the commercial quantity is the one that quantity
        // was computed from: a need typed for the PRNT correction wins over
        // the indication of the criteria.
        number("CALAGEM",
               [](const Case &c) {
                   const model::CommercialLimestone &commercial = c.liming.commercial;
                   return commercial.quantity.text.isEmpty() || commercial.need.text.isEmpty() ? c.liming.need
                                                                                             : commercial.need;
               }),
        number("PRNT", [](const Case &c) { return c.liming.commercial.prnt; }),
        number("COMERCIAL", [](const Case &c) { return c.liming.commercial.quantity; }),
        text("Tecnico", [](const Case &c) { return c.report.technician; }),
    };
    return fields;
}

ReportContent ReportContent::fromCase(const model::Case &c, const QString &date)
{
    ReportContent content;
    for (const QList<ReportField> *table : {&copiedFields(), &pageOnlyFields()})
        for (const ReportField &f : *table)
            content.fields.insert(f.variable, f.of(c));
    for (const model::ApplicationDoses &a : c.doses.applications)
        content.split << QStringList{a.application, a.epoch} + nutrientCells(a.doses);
    content.planting = productRows(c.planting);
    for (int i = 0; i < 3; ++i)
        content.topDressing[i] = productRows(c.topDressings[size_t(i)]);
    content.observation = c.liming.observation;
    content.recommendations = c.report.recommendations;
    content.date = date;
    content.cost = costSection(c);
    return content;
}

namespace {

// A list of products for the page: each "name  quantity  (kg/ha)", joined by " + ".
QString productList(const Rows &rows)
{
    QStringList entries;
    for (const QStringList &row : rows)
        entries << row.value(0) + QStringLiteral("  ") + row.value(1) + QStringLiteral("  (kg/ha)");
    return entries.join(QStringLiteral(" + "));
}

// The lines of a memo, each after one blank, on one line.
QString memoLines(const QString &text)
{
    QString joined;
    if (text.isEmpty())
        return joined;
    for (const QString &line : text.split(QLatin1Char('\n')))
        joined += QLatin1Char(' ') + line;
    return joined;
}

} // namespace

void setPageVariables(PageReport &report, const ReportContent &c)
{
    for (const QList<ReportField> *table : {&copiedFields(), &pageOnlyFields()})
        for (const ReportField &f : *table)
            report.setVariable(f.variable, c.field(f.variable));
    report.setVariable(QStringLiteral("Obs1"), memoLines(c.observation));

    for (int r = 0; r < 4; ++r) {
        const QString n = QString::number(r + 1);
        const QStringList row = c.split.value(r);
        report.setVariable(QStringLiteral("Par") + n, row.value(0));
        report.setVariable(QStringLiteral("Epoca") + n, row.value(1));
        report.setVariable(QStringLiteral("N") + n, row.value(2));
        report.setVariable(QStringLiteral("P") + n, row.value(3));
        report.setVariable(QStringLiteral("K") + n, row.value(4));
    }
    report.setVariable(QStringLiteral("AdubPlantio"), productList(c.planting));
    report.setVariable(QStringLiteral("Adubcob1"), productList(c.topDressing[0]));
    report.setVariable(QStringLiteral("Adubcob2"), productList(c.topDressing[1]));
    report.setVariable(QStringLiteral("Adubcob3"), productList(c.topDressing[2]));

    report.setVariable(QStringLiteral("Recomenda"), QStringLiteral("Recomendações:") + memoLines(c.recommendations));
    report.setVariable(QStringLiteral("Data"), c.date);
    report.setVariable(QStringLiteral("VERSAO"), QLatin1String(tuberon::shortVersion));
    report.setCostPage(c.cost);
}

} // namespace reports
