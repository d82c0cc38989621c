#include "Summary.h"

namespace batch {

const QList<SummaryColumn> &summaryColumns()
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
    };
    return columns;
}

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')) && text.trimmed() == text)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList &cells)
{
    QStringList fields;
    for (const QString &c : cells)
        fields << csvField(c);
    return fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
}

} // namespace

QByteArray summaryCsv(const QList<SummaryRow> &rows)
{
    QStringList titles;
    for (const SummaryColumn &c : summaryColumns())
        titles << c.title;
    QString text = csvLine(titles);
    for (const SummaryRow &row : rows) {
        QStringList cells = row;
        // Numbers with a decimal comma whatever the reports use.
        for (int i = 0; i < summaryColumns().size() && i < cells.size(); ++i)
            if (summaryColumns()[i].places > 0)
                cells[i].replace(QLatin1Char('.'), QLatin1Char(','));
        text += csvLine(cells);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace batch
