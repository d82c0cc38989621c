#include "app/SeasonComparison.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString seasonTitle(const store::Season &s)
{
    return s.report.isEmpty() ? s.date.toString(QStringLiteral("dd/MM/yyyy"))
                              : QStringLiteral("%1 (laudo %2)").arg(s.date.toString(QStringLiteral("dd/MM/yyyy")), s.report);
}

} // namespace

SeasonComparison::SeasonComparison(const store::Season &earlier, const model::Case &earlierCase,
                                   const store::Season &later, const model::Case &laterCase, QWidget *parent)
    : QDialog(parent), table_(new QTableWidget(this)), changes_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("seasonComparison"));
    setWindowTitle(QStringLiteral("Comparar safras - %1, %2").arg(later.producerName, later.fieldName));
    const store::Comparison comparison = store::compare(earlierCase, laterCase);

    table_->setObjectName(QStringLiteral("comparisonTable"));
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({QStringLiteral("Seção"), QStringLiteral("Item"), seasonTitle(earlier),
                                       seasonTitle(later), QStringLiteral("Diferença")});
    table_->setRowCount(int(comparison.rows.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // What changed stands out; a changed result of the rules more than a changed input.
    const QColor changedInput(255, 248, 200), changedResult(255, 220, 190);
    for (int r = 0; r < comparison.rows.size(); ++r) {
        const store::ComparedRow &row = comparison.rows[r];
        const QStringList cells{row.section, row.label, row.first, row.second, row.difference};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= 2)
                item->setTextAlignment((c == 4 || !row.difference.isEmpty() ? Qt::AlignRight : Qt::AlignLeft)
                                       | Qt::AlignVCenter);
            if (row.changed) {
                item->setBackground(row.recommendation ? changedResult : changedInput);
                QFont bold = item->font();
                bold.setBold(c >= 2);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);

    changes_->setObjectName(QStringLiteral("recommendationChanges"));
    changes_->setReadOnly(true);
    changes_->setPlainText(comparison.changes.isEmpty() ? QStringLiteral("A recomendação não mudou.")
                                                        : comparison.changes.join(QLatin1Char('\n')));
    changes_->setMaximumHeight(140);

    auto *close = new QPushButton(QStringLiteral("Fechar"), this);
    close->setObjectName(QStringLiteral("closeComparison"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(new QLabel(QStringLiteral("O que mudou na recomendação:"), this));
    layout->addWidget(changes_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 700);
}
