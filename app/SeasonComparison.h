#pragma once
// Two seasons of a field side by side: every value and result of both, the
// difference, and what changed in the recommendation.
#include "store/Comparison.h"
#include "store/Store.h"

#include <QDialog>

class QPlainTextEdit;
class QTableWidget;

class SeasonComparison : public QDialog {
    Q_OBJECT
public:
    // `earlier` and `later` by date; their cases as the store keeps them.
    SeasonComparison(const store::Season &earlier, const model::Case &earlierCase, const store::Season &later,
                     const model::Case &laterCase, QWidget *parent = nullptr);

    QTableWidget *table() const { return table_; }
    QPlainTextEdit *changes() const { return changes_; }

private:
    QTableWidget *table_;
    QPlainTextEdit *changes_;
};
