#include "reports/ReportContent.h"

#include "reports/PageReport.h"

namespace reports {

const QList<ReportField> &copiedFields()
{
    static const QList<ReportField> fields{
        {QStringLiteral("NOME"), QStringLiteral("Edit55")},
        {QStringLiteral("CPF"), QStringLiteral("Edit56")},
        {QStringLiteral("LOCALIDADE"), QStringLiteral("Edit57")},
        {QStringLiteral("MUNICIPIO"), QStringLiteral("Edit58")},
        {QStringLiteral("LAUDO"), QStringLiteral("Edit60")},
        {QStringLiteral("DENOMINACAO"), QStringLiteral("Edit59")},
        {QStringLiteral("ARGILA"), QStringLiteral("Edit1")},
        {QStringLiteral("PH"), QStringLiteral("Edit70")},
        {QStringLiteral("P"), QStringLiteral("Edit2")},
        {QStringLiteral("K"), QStringLiteral("Edit3")},
        {QStringLiteral("MO"), QStringLiteral("Edit4")},
        {QStringLiteral("AL"), QStringLiteral("Edit5")},
        {QStringLiteral("CA"), QStringLiteral("Edit6")},
        {QStringLiteral("MG"), QStringLiteral("Edit7")},
        {QStringLiteral("CTC"), QStringLiteral("Edit8")},
        {QStringLiteral("V"), QStringLiteral("Edit9")},
        {QStringLiteral("RENDIMENTO"), QStringLiteral("Edit12")},
    };
    return fields;
}

const QList<ReportField> &pageOnlyFields()
{
    static const QList<ReportField> fields{
        {QStringLiteral("CALAGEM"), QStringLiteral("Edit61")},
        {QStringLiteral("PRNT"), QStringLiteral("Edit24")},
        {QStringLiteral("COMERCIAL"), QStringLiteral("Edit25")},
        {QStringLiteral("Tecnico"), QStringLiteral("Edit15")},
    };
    return fields;
}

ReportContent ReportContent::fromComponents(const std::function<QString(const QString &component)> &text)
{
    ReportContent content;
    for (const QList<ReportField> *table : {&copiedFields(), &pageOnlyFields()})
        for (const ReportField &f : *table)
            content.fields.insert(f.variable, text(f.component));
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
}

} // namespace reports
