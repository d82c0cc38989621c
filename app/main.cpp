#include "TFPrincipal.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuberon"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/assets/icon_%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    TFPrincipal FPrincipal;
    FPrincipal.show();
    return app.exec();
}
