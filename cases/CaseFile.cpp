#include "cases/CaseFile.h"

#include "cases/CaseJson.h"
#include "core/Failure.h"
#include "reports/ReportFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace cases {

namespace {

QString reason(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("acesso negado");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("disco cheio");
    case EISDIR:
        return QStringLiteral("já existe uma pasta com esse nome");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("a pasta não existe");
    default:
        return QStringLiteral("erro de entrada e saída %1").arg(code);
    }
}

QString nameOf(const QString &path)
{
    const QFileInfo info(path);
    return info.fileName().isEmpty() ? path : info.fileName();
}

Stamp stampOf(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

} // namespace

model::Case readFile(const QString &path, const FormatOneMigration &formatOne, Stamp *stamp)
{
    const QFileInfo info(path);
    const QString name = info.fileName().isEmpty() ? path : info.fileName();
    if (!info.exists())
        throw Failure(QStringLiteral("O arquivo \"%1\" não foi encontrado.").arg(name));
    if (info.isDir())
        throw Failure(QStringLiteral("\"%1\" é uma pasta, não um arquivo de caso do Tuberon.").arg(name));
    const auto tooLarge = [&] {
        return Failure(QStringLiteral("O arquivo \"%1\" é grande demais para ser um caso do Tuberon.").arg(name));
    };
    if (info.size() > maxFileSize)
        throw tooLarge();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Não foi possível ler o arquivo \"%1\".").arg(name));
    // One byte beyond the limit tells a file that grew, or a device without
    // a size, from a case.
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Não foi possível ler o arquivo \"%1\".").arg(name));
    if (bytes.size() > maxFileSize)
        throw tooLarge();
    model::Case c = fromJson(bytes, name, formatOne);
    if (stamp)
        *stamp = stampOf(path, bytes);
    return c;
}

void writeFile(const QString &path, const model::Case &c, Stamp *stamp)
{
    const QByteArray bytes = toJson(c);
    if (bytes.size() > maxFileSize)
        throw Failure(QStringLiteral("O caso não foi salvo em \"%1\": com %2 MiB, passa do limite de %3 MiB de um "
                                     "caso do Tuberon e não poderia ser aberto de novo. Encurte os textos mais longos "
                                     "(as observações do relatório, por exemplo) e salve outra vez.")
                          .arg(nameOf(path))
                          .arg((bytes.size() + 1024 * 1024 - 1) / (1024 * 1024))
                          .arg(maxFileSize / (1024 * 1024)));
    if (const int code = reports::replaceFile(path, bytes))
        throw Failure(QStringLiteral("Não foi possível salvar o caso em \"%1\": %2.").arg(nameOf(path), reason(code)));
    if (stamp)
        *stamp = stampOf(path, bytes);
}

bool changedSince(const QString &path, const Stamp &stamp)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (info.size() == stamp.size && info.lastModified() == stamp.modified)
        return false;
    // Touched, copied over with the same bytes or written anew: only other
    // contents count as a change.
    QFile file(path);
    if (info.size() > maxFileSize || !file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray bytes = file.read(maxFileSize + 1);
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) != stamp.hash;
}

} // namespace cases
