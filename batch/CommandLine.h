#pragma once
// The lab-file run on the program's command line:
//   tuberon --lote amostras.csv --saida relatorios/ [--rendimento 25] [--prnt 80]
//           [--plantio 2025-10-01] [--tecnico "Nome /CREA"] [--silencioso]
//           [--coluna VARIAVEL=CABEÇALHO[:UNIDADE]]... [--unidades-iac] [--colunas] [--planilha NOME] [--memoria]
//           [--precos PRECOS.csv [--area HA]] [--banco BANCO.sqlite]
//   tuberon --historico [--banco BANCO.sqlite] [--produtor TEXTO] [--talhao TEXTO]
#include <QCommandLineOption>
#include <QCommandLineParser>

namespace batch {

class CommandLine {
public:
    // Adds the options, with their help in Portuguese, to the parser.
    explicit CommandLine(QCommandLineParser &parser);

    // Whether the raw arguments ask for a lab-file run or a store's history:
    // looked at before the application exists, since neither needs a display.
    static bool requested(int argc, char **argv);

    bool isSet(const QCommandLineParser &parser) const { return parser.isSet(lote_) || parser.isSet(historico_); }

    // Runs the options as parsed; the exit status (2 for a wrong option).
    // Progress goes to the terminal when standard error is one, and not with
    // --silencioso; problems always go to standard error.
    int run(const QCommandLineParser &parser) const;

private:
    int history(const QCommandLineParser &parser) const;

    QCommandLineOption lote_, saida_, rendimento_, prnt_, plantio_, tecnico_, silencioso_, colunas_, coluna_, planilha_, memoria_,
        precos_, area_, banco_, historico_, produtor_, talhao_, unidadesIac_;
};

} // namespace batch
