#include "app/PriceListFile.h"

#include "batch/PriceListCsv.h"
#include "core/Failure.h"
#include "reports/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

fertilizers::PriceList readPriceListFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Não foi possível ler \"%1\": %2").arg(name, file.errorString()));
    fertilizers::PriceList list = batch::readPriceList(file.readAll(), name);
    list.name = QFileInfo(path).completeBaseName();
    return list;
}

void writePriceListFile(const QString &path, const fertilizers::PriceList &list)
{
    reports::saveFile(path, batch::priceListCsv(list));
}

QString userPriceListPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("precos.csv"));
}

fertilizers::PriceList loadUserPriceList(QString *problem)
{
    fertilizers::PriceList list;
    const QString path = userPriceListPath();
    if (QFileInfo::exists(path)) {
        try {
            list = readPriceListFile(path);
        } catch (const Failure &failure) {
            if (problem)
                *problem = QStringLiteral("A sua lista de preços não pôde ser lida (%1); a lista começa outra vez "
                                          "com os produtos do catálogo, sem preços.")
                               .arg(failure.message());
            list = fertilizers::cataloguePriceList();
        }
    } else {
        list = fertilizers::cataloguePriceList();
    }
    // Whatever the file was called, it is the technician's own list.
    list.name = QStringLiteral("Lista do usuário");
    return list;
}

void saveUserPriceList(const fertilizers::PriceList &list)
{
    const QString path = userPriceListPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    writePriceListFile(path, list);
}
