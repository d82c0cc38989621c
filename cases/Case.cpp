#include "cases/Case.h"

#include "core/Failure.h"
#include "core/NumberText.h"

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

Case withSeparator(const Case &source, QChar separator, const FreeTexts &freeTexts)
{
    if (source.decimalSeparator == separator)
        return source;
    const NumberText from(source.decimalSeparator);
    Case result = source;
    result.decimalSeparator = separator;
    for (auto it = result.fields.begin(); it != result.fields.end(); ++it)
        if (!freeTexts.fields.contains(it.key()))
            *it = convert(*it, from, separator);
    for (auto it = result.grids.begin(); it != result.grids.end(); ++it) {
        const QList<int> words = freeTexts.gridColumns.value(it.key());
        for (QStringList &row : *it)
            for (int column = 0; column < row.size(); ++column)
                if (!words.contains(column))
                    row[column] = convert(row[column], from, separator);
    }
    return result;
}

} // namespace cases
