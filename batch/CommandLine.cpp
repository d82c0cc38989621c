#include "batch/CommandLine.h"

#include "batch/BatchRun.h"
#include "batch/LabSample.h"

#include <QLocale>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace batch {

CommandLine::CommandLine(QCommandLineParser &parser)
    : lote_(QStringLiteral("lote"),
            QStringLiteral("Lê o arquivo CSV do laboratório (uma amostra por linha) e grava, para cada amostra, "
                           "o relatório PDF e o relatório texto, mais resumo.csv e resumo.xlsx. Não precisa de tela."),
            QStringLiteral("ARQUIVO")),
      saida_(QStringLiteral("saida"),
             QStringLiteral("Pasta onde os relatórios são gravados; criada se não existir (padrão: a pasta atual)."),
             QStringLiteral("PASTA")),
      rendimento_(QStringLiteral("rendimento"),
                  QStringLiteral("Expectativa de rendimento em t/ha das amostras sem essa coluna (padrão: 25)."),
                  QStringLiteral("T_HA"), QStringLiteral("25")),
      prnt_(QStringLiteral("prnt"),
            QStringLiteral("PRNT do calcário comercial em %, para dar também a quantidade de calcário comercial."),
            QStringLiteral("PERCENT")),
      plantio_(QStringLiteral("plantio"),
               QStringLiteral("Data de plantio do gráfico do calendário (padrão: hoje)."), QStringLiteral("AAAA-MM-DD")),
      tecnico_(QStringLiteral("tecnico"), QStringLiteral("Nome do técnico /CREA que assina os relatórios."),
               QStringLiteral("TEXTO")),
      silencioso_(QStringLiteral("silencioso"),
                  QStringLiteral("Não mostra o andamento nem o balanço final; os erros ainda são mostrados."))
{
    parser.addOptions({lote_, saida_, rendimento_, prnt_, plantio_, tecnico_, silencioso_});
}

bool CommandLine::requested(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--lote") == 0 || std::strncmp(argv[i], "--lote=", 7) == 0)
            return true;
    }
    return false;
}

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "tuberon: %s\n", text.toLocal8Bit().constData());
}

// A number given on the command line, with a decimal comma or point.
std::optional<double> optionNumber(const QString &text, bool positive)
{
    const std::optional<double> v = fileNumber(text);
    if (!v || *v < 0 || (positive && *v == 0))
        return std::nullopt;
    return v;
}

} // namespace

int CommandLine::run(const QCommandLineParser &parser) const
{
    Options options;
    options.input = parser.value(lote_);
    options.output = parser.isSet(saida_) ? parser.value(saida_) : QStringLiteral(".");
    options.technician = parser.value(tecnico_);

    const std::optional<double> yield = optionNumber(parser.value(rendimento_), false);
    if (!yield) {
        printError(QStringLiteral("--rendimento: '%1' não é uma expectativa de rendimento em t/ha")
                       .arg(parser.value(rendimento_)));
        return NotRun;
    }
    options.yield = *yield;
    if (parser.isSet(prnt_)) {
        // Burnt and hydrated limes neutralise more than limestone, to about 180 %.
        options.prnt = optionNumber(parser.value(prnt_), true);
        if (!options.prnt) {
            printError(QStringLiteral("--prnt: '%1' não é um PRNT em % maior que zero").arg(parser.value(prnt_)));
            return NotRun;
        }
        if (*options.prnt > 200) {
            printError(QStringLiteral("--prnt: '%1' passa de 200 %, mais que o de qualquer corretivo")
                           .arg(parser.value(prnt_)));
            return NotRun;
        }
        if (*options.prnt > 100)
            printError(QStringLiteral("aviso: --prnt %1 está acima de 100 %, como o de cal virgem ou cal hidratada; "
                                      "confira o valor")
                           .arg(parser.value(prnt_)));
    }
    if (parser.isSet(plantio_)) {
        options.planting = QDate::fromString(parser.value(plantio_), Qt::ISODate);
        if (!options.planting.isValid()) {
            printError(QStringLiteral("--plantio: '%1' não é uma data AAAA-MM-DD").arg(parser.value(plantio_)));
            return NotRun;
        }
    }
    if (options.input.isEmpty()) {
        printError(QStringLiteral("--lote: falta o arquivo"));
        return NotRun;
    }
    // One file per run, each with its own summary: files left over (as a
    // shell's *.csv gives) are refused rather than silently not done.
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty()) {
        printError(QStringLiteral("--lote faz um arquivo por vez; arquivos a mais: \"%1\". "
                                  "Rode o tuberon uma vez para cada arquivo, cada um com a sua --saida")
                       .arg(extra.join(QStringLiteral("\", \""))));
        return NotRun;
    }

    const bool quiet = parser.isSet(silencioso_);
    const bool terminal = ::isatty(STDERR_FILENO);
    Console console;
    bool progressShown = false;
    console.message = [&](const QString &text) {
        if (progressShown) {
            std::fputc('\n', stderr);
            progressShown = false;
        }
        printError(text);
    };
    if (terminal && !quiet)
        console.progress = [&](int done, int total) {
            std::fprintf(stderr, "\r%d/%d amostras", done, total);
            std::fflush(stderr);
            progressShown = true;
        };
    if (!quiet)
        console.finished = [&](int done, int failed) {
            console.message(failed ? QStringLiteral("%1 amostras feitas, %2 com erro (veja a coluna Erro do resumo)")
                                         .arg(done)
                                         .arg(failed)
                                   : QStringLiteral("%1 amostras feitas").arg(done));
        };
    const ExitStatus status = batch::run(options, QLocale(), console);
    if (progressShown)
        std::fputc('\n', stderr);
    return status;
}

} // namespace batch
