#include "core/Version.h"
#include "batch/CommandLine.h"
#include "app/CommandLineTexts.h"
#include "app/QtTranslations.h"
#include "app/TFPrincipal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {

// Help, version and the lab-file run show no window, so they need no display.
bool windowless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char *flag : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(argv[i], flag) == 0)
                return true;
    return batch::CommandLine::requested(argc, argv);
}

// Without a window, Qt's notes about the session (no runtime folder, no
// window manager) are noise on a server; its errors still show.
void onlyQtErrors(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    // Qt draws offscreen then, unless the user chose a platform.
    if (windowless(argc, argv)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(onlyQtErrors);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuberon"));
    QApplication::setApplicationVersion(QLatin1String(tuberon::version));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tuberon"));
    // Qt's texts first: the translator installed last is asked first, so the
    // program's own words for the command-line help win over Qt's.
    installQtTranslations();
    CommandLineTexts texts;
    QCoreApplication::installTranslator(&texts);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Indicação para adubação da cultura da mandioca.\n"
                       "Sem --lote abre a janela, com o caso dado se houver; com --lote faz um arquivo inteiro\n"
                       "de amostras sem janela; com --historico escreve as safras do banco de casos em CSV."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Mostra esta ajuda."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Mostra a versão do programa."));
    parser.addOptions({help, version});
    parser.addPositionalArgument(QStringLiteral("caso"), QStringLiteral("Caso do Tuberon a abrir (.tuberon)."),
                                 QStringLiteral("[caso.tuberon]"));
    const batch::CommandLine lote(parser);

    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "tuberon: %s\n", parser.errorText().toLocal8Bit().constData());
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Tuberon %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (lote.isSet(parser))
        return lote.run(parser);

    TFPrincipal FPrincipal;
    FPrincipal.show();
    // Opened once the window is on screen, so that a message about a bad
    // file stands over it.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        QMetaObject::invokeMethod(&FPrincipal, [&FPrincipal, path = files.constFirst()] { FPrincipal.openCase(path); },
                                  Qt::QueuedConnection);
    return app.exec();
}
