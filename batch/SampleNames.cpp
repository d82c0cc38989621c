#include "batch/SampleNames.h"

#include <QCryptographicHash>
#include <cstring>

namespace batch {

QString safeFileName(const QString &name)
{
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    QString safe;
    for (const QChar c : name)
        safe += (c.category() == QChar::Other_Control || reserved.contains(c)) ? QLatin1Char('_') : c;
    while (!safe.isEmpty() && (safe.front() == QLatin1Char('.') || safe.front().isSpace()))
        safe.remove(0, 1);
    while (!safe.isEmpty() && (safe.back() == QLatin1Char('.') || safe.back().isSpace()))
        safe.chop(1);
    // Room for the extension and a suffix within the usual 255-byte limit.
    while (safe.toUtf8().size() > 200)
        safe.chop(1);
    return safe;
}

namespace {

// Two different names meet in the same digest once in 2^64 pairs.
quint64 digest(const QString &name)
{
    const QByteArray sum = QCryptographicHash::hash(name.toCaseFolded().toUtf8(), QCryptographicHash::Sha256);
    quint64 d = 0;
    std::memcpy(&d, sum.constData(), sizeof d);
    return d;
}

} // namespace

QString UniqueNames::next(const QString &sampleName, int line)
{
    QString base = safeFileName(sampleName);
    if (base.isEmpty())
        base = QStringLiteral("linha-%1").arg(line);
    QString name = base;
    for (int n = 2; taken_.contains(digest(name)); ++n)
        name = QStringLiteral("%1-%2").arg(base).arg(n);
    taken_.insert(digest(name));
    return name;
}

QStringList uniqueFileNames(const QStringList &names, const QList<int> &lines)
{
    UniqueNames unique;
    QStringList bases;
    for (qsizetype i = 0; i < names.size(); ++i)
        bases << unique.next(names[i], lines.value(i));
    return bases;
}

} // namespace batch
