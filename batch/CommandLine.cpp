#include "batch/CommandLine.h"

#include "batch/BatchRun.h"
#include "batch/LabFile.h"
#include "batch/LabSample.h"
#include "batch/HistoryCsv.h"
#include "core/Failure.h"
#include "fertilizers/LeastCost.h"
#include "store/Store.h"

#include <QFile>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace batch {

CommandLine::CommandLine(QCommandLineParser &parser)
    : lote_(QStringLiteral("lote"),
            QStringLiteral("Lê o arquivo CSV ou XLSX do laboratório (uma amostra por linha) e grava, para cada amostra, "
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
                  QStringLiteral("Não mostra o andamento nem o balanço final; os erros ainda são mostrados.")),
      colunas_(QStringLiteral("colunas"),
               QStringLiteral("Mostra, para cada variável, a coluna de onde é tirada, a unidade entendida e a "
                              "conversão, e as colunas ignoradas; não grava nada.")),
      coluna_(QStringLiteral("coluna"),
              QStringLiteral("Tira a variável (Argila, pH, P, K, MO, Al, Ca, Mg, CTC, V, Rendimento, Amostra, ...; "
                             "SB, t, H+Al, m, Na para conferir as somas) da coluna de cabeçalho dado, na unidade dada; "
                             "pode vir várias vezes."),
              QStringLiteral("VARIAVEL=CABEÇALHO[:UNIDADE]")),
      planilha_(QStringLiteral("planilha"),
                QStringLiteral("Planilha do arquivo .xlsx, .xls ou .ods de onde ler as amostras (padrão: a primeira "
                               "visível com as colunas do laudo)."),
                QStringLiteral("NOME")),
      memoria_(QStringLiteral("memoria"),
               QStringLiteral("Grava também, para cada amostra, AMOSTRA-memoria.pdf: a memória de cálculo, com a regra "
                              "e os valores que deram cada resultado.")),
      precos_(QStringLiteral("precos"),
              QStringLiteral("Lista de preços da loja (CSV: Produto, N (%), P2O5 (%), K2O (%), Saco (kg), Preço do "
                             "saco (R$) ou Preço da tonelada (R$)); com ela, cada amostra recebe a composição de menor "
                             "custo do plantio e das três coberturas, em sacos inteiros, nos relatórios e no resumo."),
              QStringLiteral("ARQUIVO")),
      area_(QStringLiteral("area"),
            QStringLiteral("Área da lavoura em ha, para contar os sacos inteiros da composição (padrão: 1)."),
            QStringLiteral("HA"), QStringLiteral("1")),
      banco_(QStringLiteral("banco"),
             QStringLiteral("Banco de casos (SQLite) onde cada amostra feita é gravada com o seu produtor e talhão, "
                            "ou de onde --historico lê (padrão para --historico: tuberon.sqlite na pasta de dados do "
                            "usuário). Sem --banco, --lote não grava nada no banco."),
             QStringLiteral("BANCO.sqlite")),
      historico_(QStringLiteral("historico"),
                 QStringLiteral("Escreve na saída padrão, em CSV (\";\", vírgula decimal, UTF-8), uma linha por safra "
                                "do banco, da mais antiga à mais nova; não altera o banco.")),
      produtor_(QStringLiteral("produtor"),
                QStringLiteral("Com --historico, só os produtores cujo nome (ou CPF) contém o texto."),
                QStringLiteral("TEXTO")),
      talhao_(QStringLiteral("talhao"),
              QStringLiteral("Com --historico, só os talhões cuja denominação contém o texto."), QStringLiteral("TEXTO")),
      unidadesIac_(QString::fromLatin1(iacOption).mid(2),
                   QStringLiteral("As colunas cuja unidade o arquivo não diz estão na convenção do IAC (São Paulo): "
                                  "K, Ca, Mg, Al, SB, t, CTC (T) e H+Al em mmolc/dm³, M.O. em g/dm³, argila em g/kg. "
                                  "Sem ela, uma coluna sem unidade só é lida na unidade do programa quando os valores "
                                  "a confirmam; senão nada é gravado e a mensagem diz a opção que falta."))
{
    parser.addOptions({lote_, saida_, rendimento_, prnt_, plantio_, tecnico_, silencioso_, colunas_, coluna_,
                       planilha_, memoria_, precos_, area_, banco_, historico_, produtor_, talhao_, unidadesIac_});
}

bool CommandLine::requested(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--lote") == 0 || std::strncmp(argv[i], "--lote=", 7) == 0
            || std::strcmp(argv[i], "--historico") == 0)
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

int CommandLine::history(const QCommandLineParser &parser) const
{
    for (const QCommandLineOption *lotOnly : {&lote_, &saida_, &precos_, &colunas_, &memoria_})
        if (parser.isSet(*lotOnly)) {
            printError(QStringLiteral("--historico não se usa com --%1").arg(lotOnly->names().constFirst()));
            return NotRun;
        }
    const QString path = parser.isSet(banco_) ? parser.value(banco_) : store::Store::defaultPath();
    try {
        // Opened to read only: the history never changes the store.
        const store::Store cases(path, store::Store::Mode::Read);
        const QByteArray csv = historyCsv(cases.seasons(parser.value(produtor_), parser.value(talhao_)));
        if (std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout) != size_t(csv.size()) || std::fflush(stdout)) {
            printError(QStringLiteral("não foi possível escrever o histórico na saída padrão"));
            return NotRun;
        }
    } catch (const Failure &f) {
        printError(f.message());
        return NotRun;
    }
    return AllDone;
}

int CommandLine::run(const QCommandLineParser &parser) const
{
    if (parser.isSet(historico_))
        return history(parser);
    if (parser.isSet(produtor_) || parser.isSet(talhao_)) {
        printError(QStringLiteral("--produtor e --talhao só valem com --historico"));
        return NotRun;
    }
    Options options;
    options.input = parser.value(lote_);
    options.output = parser.isSet(saida_) ? parser.value(saida_) : QStringLiteral(".");
    options.technician = parser.value(tecnico_);
    options.working = parser.isSet(memoria_);

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
    for (const QString &choice : parser.values(coluna_)) {
        const qsizetype equals = choice.indexOf(QLatin1Char('='));
        const std::optional<Column> column = equals > 0 ? columnNamed(choice.left(equals)) : std::nullopt;
        if (!column) {
            printError(QStringLiteral("--coluna: '%1' não é VARIAVEL=CABEÇALHO[:UNIDADE] com uma variável do programa")
                           .arg(choice));
            return NotRun;
        }
        // Two columns for one variable: which one is meant cannot be told.
        for (const ChosenColumn &earlier : std::as_const(options.chosen))
            if (earlier.column == *column && !earlier.header.isEmpty()) {
                printError(QStringLiteral("--coluna: %1 dada mais de uma vez").arg(columnName(*column)));
                return NotRun;
            }
        // The unit after the last colon, when what follows it reads as one.
        QString header = choice.mid(equals + 1), unit;
        if (const qsizetype colon = header.lastIndexOf(QLatin1Char(':')); colon >= 0) {
            unit = header.mid(colon + 1);
            header.truncate(colon);
        }
        options.chosen << ChosenColumn{*column, header, unit};
    }
    // The laboratory's convention, for the columns neither the file nor a --coluna states.
    if (parser.isSet(unidadesIac_))
        options.chosen << iacConvention();
    options.sheet = parser.value(planilha_);
    options.store = parser.value(banco_);
    if (parser.isSet(banco_) && options.store.isEmpty()) {
        printError(QStringLiteral("--banco: falta o arquivo"));
        return NotRun;
    }
    options.prices = parser.value(precos_);
    if (parser.isSet(precos_) && options.prices.isEmpty()) {
        printError(QStringLiteral("--precos: falta o arquivo"));
        return NotRun;
    }
    if (parser.isSet(area_)) {
        const std::optional<double> area = optionNumber(parser.value(area_), true);
        if (!area || !std::isfinite(*area)) {
            printError(QStringLiteral("--area: '%1' não é uma área em ha maior que zero").arg(parser.value(area_)));
            return NotRun;
        }
        if (*area > fertilizers::maxAreaHa) {
            printError(QStringLiteral("--area: '%1' passa de um milhão de ha").arg(parser.value(area_)));
            return NotRun;
        }
        if (!parser.isSet(precos_)) {
            printError(QStringLiteral("--area só vale com --precos, para contar os sacos da composição"));
            return NotRun;
        }
        options.areaHa = *area;
    }
    if (parser.isSet(colunas_)) {
        const std::unique_ptr<LabFile> lab = LabFile::open(options.input, options.chosen, options.sheet);
        if (!lab->error().isEmpty()) {
            printError(QStringLiteral("\"%1\": %2").arg(options.input, lab->error()));
            return NotRun;
        }
        if (!lab->sheet().isEmpty())
            std::printf("%s\n", QStringLiteral("planilha: \"%1\"").arg(lab->sheet()).toLocal8Bit().constData());
        for (const QString &line : describeColumns(lab->map()))
            std::printf("%s\n", line.toLocal8Bit().constData());
        return AllDone;
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
            const QString doneText = done == 1 ? QStringLiteral("1 amostra feita") : QStringLiteral("%1 amostras feitas").arg(done);
            console.message(failed ? QStringLiteral("%1, %2 com erro (veja a coluna Erro do resumo)").arg(doneText).arg(failed)
                                   : doneText);
        };
    const ExitStatus status = batch::run(options, QLocale(), console);
    if (progressShown)
        std::fputc('\n', stderr);
    return status;
}

} // namespace batch
