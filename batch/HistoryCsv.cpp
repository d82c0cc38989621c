#include "batch/HistoryCsv.h"

#include "batch/CsvTable.h"

namespace batch {

QByteArray historyCsv(const QList<store::Season> &seasons)
{
    QStringList titles{QStringLiteral("Produtor"), QStringLiteral("CPF"), QStringLiteral("Município"),
                       QStringLiteral("Talhão"), QStringLiteral("Data"), QStringLiteral("Laudo")};
    for (int v = 0; v < store::valueCount; ++v)
        titles << store::valueTitle(store::Value(v));
    QByteArray bytes = "\xEF\xBB\xBF" + csvLine(titles).toUtf8();
    for (const store::Season &s : seasons) {
        QStringList cells{s.producerName, s.cpf, s.town, s.fieldName, s.date.toString(QStringLiteral("yyyy-MM-dd")),
                          s.report};
        for (const QString &value : s.values)
            cells << value;
        bytes += csvLine(cells).toUtf8();
    }
    return bytes;
}

} // namespace batch
