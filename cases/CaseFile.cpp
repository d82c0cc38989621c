#include "CaseFile.h"

#include "CaseJson.h"
#include "Failure.h"
#include "ReportFile.h"

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

} // namespace

Case readFile(const QString &path)
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
    return fromJson(bytes, name);
}

void writeFile(const QString &path, const Case &c)
{
    if (const int code = reports::replaceFile(path, toJson(c))) {
        const QFileInfo info(path);
        throw Failure(QStringLiteral("Não foi possível salvar o caso em \"%1\": %2.")
                          .arg(info.fileName().isEmpty() ? path : info.fileName(), reason(code)));
    }
}

} // namespace cases
