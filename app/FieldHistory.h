#pragma once
// A field's seasons, oldest first: a table of its values and results, and a
// chart of pH, V %, P, K and MO over the seasons (Qt Charts, like the crop
// calendar); exported as CSV (as --historico writes it) and as PNG.
#include "store/Store.h"

#include <QDialog>

class QChartView;
class QTableWidget;

class FieldHistory : public QDialog {
    Q_OBJECT
public:
    FieldHistory(const QList<store::Season> &seasons, QWidget *parent = nullptr);

    QTableWidget *table() const { return table_; }
    QChartView *chartView() const { return chart_; }
    // What the buttons write once a file is chosen; false when it could not be written.
    bool exportCsv(const QString &path) const;
    bool exportPng(const QString &path) const;
    // The chart as exported, on white.
    QImage picture() const;

private:
    void askExport(bool png);

    QList<store::Season> seasons_;
    QTableWidget *table_;
    QChartView *chart_;
};
