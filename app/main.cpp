#include "TFPrincipal.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuberon"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tuberon"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Indicação para adubação da cultura da mandioca."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("caso"), QStringLiteral("Caso do Tuberon a abrir (.tuberon)."),
                                 QStringLiteral("[caso.tuberon]"));
    parser.process(app);

    TFPrincipal FPrincipal;
    FPrincipal.show();
    // Opened once the window is on screen, so that a message about a bad
    // file stands over it.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        QMetaObject::invokeMethod(&FPrincipal, [&FPrincipal, path = files.constFirst()] { FPrincipal.openCase(path); },
                                  Qt::QueuedConnection);
    return app.exec();
}
