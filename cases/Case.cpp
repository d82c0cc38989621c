#include "Case.h"

#include "Failure.h"
#include "NumberText.h"

namespace cases {

namespace {

QString convert(const QString &text, const NumberText &from, QChar to)
{
    try {
        from.toDouble(text);
    } catch (const Failure &) {
        return text; // not a number: a name, a class word, free text
    }
    // A number holds at most one separator; it is the only character to change.
    QString result = text;
    result.replace(from.separator(), to);
    return result;
}

} // namespace

Case withSeparator(const Case &source, QChar separator)
{
    if (source.decimalSeparator == separator)
        return source;
    const NumberText from(source.decimalSeparator);
    Case result = source;
    result.decimalSeparator = separator;
    for (QString &text : result.fields)
        text = convert(text, from, separator);
    for (QList<QStringList> &rows : result.grids)
        for (QStringList &row : rows)
            for (QString &cell : row)
                cell = convert(cell, from, separator);
    return result;
}

} // namespace cases
