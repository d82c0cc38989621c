#include "app/UserPriceList.h"

#include "batch/PriceListFile.h"
#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
            list = batch::readPriceListFile(path);
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
    // Whatever the file is called, it is the technician's own list.
    list.name = QStringLiteral("Lista do usuário");
    return list;
}

void saveUserPriceList(const fertilizers::PriceList &list)
{
    const QString path = userPriceListPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    batch::writePriceListFile(path, list);
}
