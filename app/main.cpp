#include "TFPrincipal.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuberon"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tuberon"));

    TFPrincipal FPrincipal;
    FPrincipal.show();
    return app.exec();
}
