#include "app/CommandLineTexts.h"

#include <QHash>

QString CommandLineTexts::translate(const char *context, const char *sourceText, const char *, int) const
{
    static const QHash<QByteArray, QString> texts{
        {"Usage: %1", QStringLiteral("Uso: %1")},
        {"[options]", QStringLiteral("[opções]")},
        {"Options:", QStringLiteral("Opções:")},
        {"Arguments:", QStringLiteral("Argumentos:")},
        {"Displays help on commandline options.", QStringLiteral("Mostra esta ajuda.")},
        {"Displays help including Qt specific options.", QStringLiteral("Mostra a ajuda com as opções do Qt.")},
        {"Displays version information.", QStringLiteral("Mostra a versão do programa.")},
        {"Unknown option '%1'.", QStringLiteral("Opção desconhecida: '%1'.")},
        {"Unknown options: %1.", QStringLiteral("Opções desconhecidas: %1.")},
        {"Missing value after '%1'.", QStringLiteral("Falta o valor depois de '%1'.")},
        {"Unexpected value after '%1'.", QStringLiteral("Valor inesperado depois de '%1'.")},
    };
    if (qstrcmp(context, "QCommandLineParser") != 0)
        return {};
    return texts.value(QByteArray(sourceText));
}
