#include "app/LabSampleList.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

LabSampleList::LabSampleList(QWidget *parent, const QString &file, const QList<Row> &rows) : QDialog(parent)
{
    setObjectName(QStringLiteral("labSampleDialog"));
    setWindowTitle(QStringLiteral("Importar amostra"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Amostras de \"%1\":").arg(QFileInfo(file).fileName()), this));
    table_ = new QTableWidget(int(rows.size()), 5, this);
    table_->setObjectName(QStringLiteral("tblAmostras"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Linha"), QStringLiteral("Amostra"), QStringLiteral("Produtor"),
                                       QStringLiteral("Localidade"), QStringLiteral("Problema")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < rows.size(); ++r) {
        const Row &row = rows[r];
        const QStringList cells{QString::number(row.line), row.sample, row.producer, row.place, row.problem};
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnsToContents();
    if (!rows.isEmpty())
        table_->selectRow(0);
    layout->addWidget(table_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(720, 420);
}

int LabSampleList::chosen() const
{
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}
