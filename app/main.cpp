#include "TFPrincipal.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuberon"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));

    TFPrincipal FPrincipal;
    FPrincipal.show();
    return app.exec();
}
