#include "app/UnitQuestion.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

UnitQuestion::UnitQuestion(QWidget *parent, const QString &fileName, const QList<batch::UnitDoubt> &doubts)
    : QDialog(parent), doubts_(doubts)
{
    setObjectName(QStringLiteral("unitQuestion"));
    setWindowTitle(QStringLiteral("Unidades do arquivo"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("\"%1\" não diz a unidade destas colunas, e os valores mostram que não é a "
                                            "do programa. Escolha a unidade de cada uma; a que os valores apontam já "
                                            "vem escolhida.")
                                 .arg(fileName),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    for (const batch::UnitDoubt &d : doubts_) {
        auto *units = new QComboBox(this);
        units->setObjectName(QStringLiteral("cmbUnidade%1").arg(units_.size()));
        QStringList offered{d.unit};
        for (const QString &u : batch::unitTexts(d.column))
            if (!offered.contains(u))
                offered << u;
        units->addItems(offered);
        units->setToolTip(d.why);
        form->addRow(QStringLiteral("%1 (\"%2\"):").arg(batch::columnName(d.column), d.header), units);
        units_ << units;
    }
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QList<batch::ChosenColumn> UnitQuestion::chosen() const
{
    QList<batch::ChosenColumn> chosen;
    for (int i = 0; i < doubts_.size(); ++i)
        chosen << batch::ChosenColumn{doubts_[i].column, doubts_[i].header, units_[i]->currentText()};
    return chosen;
}
