#include "app/tabs/AboutTab.h"
#include "core/Version.h"
#include "app/widgets_factory.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTabWidget>

AboutTab::AboutTab(QTabWidget *tabs)
{
    setObjectName(QStringLiteral("TabSheet7"));
    tabs->addTab(this, QStringLiteral("Sobre"));
    GroupBox39 = ui::fillingGroup(this, QStringLiteral("GroupBox39"));

    Memo2 = ui::memo(GroupBox39, QStringLiteral("Memo2"), 16, 16, 1140, 590);
    Memo2->setPlainText(QStringLiteral("Tuberon - %1\n").arg(QLatin1String(tuberon::shortVersion)) + QStringLiteral(
        "------------------------------------------------------------------------------------------\n"
        "Indicação para adubação da cultura da mandioca\n"
        "\n"
        "Equipe responsável:\n"
        "  Equipe Tuberon - desenvolvimento do programa, regras agronômicas e testes\n"
        "  Contato: contato@tuberon.example\n"
        "\n"
        "Data de criação: dezembro de 2026\n"
        "Última atualização: dezembro de 2026\n"
        "\n"
        "Referência bibliográfica:\n"
        "  COMISSÃO DE QUÍMICA E FERTILIDADE DO SOLO - RS/SC. Manual de calagem e adubação para os estados do "
        "Rio Grande do Sul e de Santa Catarina. 11. ed. Porto Alegre: Sociedade Brasileira de Ciência do Solo - "
        "Núcleo Regional Sul, 2016. 376 p.\n"));
}
