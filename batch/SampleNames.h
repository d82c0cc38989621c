#pragma once
// Report file names for the samples of a file: the sample's own name, made
// safe for any file system, and made unique when two samples share it.
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace batch {

// The name without what file systems refuse (path separators, reserved
// characters, control characters, leading and trailing dots and blanks);
// empty when nothing is left.
QString safeFileName(const QString &name);

// One base name per sample, in order: its safe name, or "linha-<line>" when
// it has none; a name met before (whatever its letter case) gets "-2", "-3", ...
QStringList uniqueFileNames(const QStringList &names, const QList<int> &lines);

// The same, one sample at a time in file order. The names taken are kept as
// 64-bit digests, a few bytes each, so that a file of many samples needs
// little memory for them.
class UniqueNames {
public:
    QString next(const QString &name, int line);

private:
    QSet<quint64> taken_;
};

} // namespace batch
