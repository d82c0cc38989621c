#pragma once
// The samples of a laboratory's file, to choose the one the window takes:
// each with its line, identification, producer, place and any problem.
#include <QDialog>
#include <QList>
#include <QString>

class QTableWidget;

class LabSampleList : public QDialog {
public:
    struct Row {
        int line = 0;
        QString sample, producer, place, problem;
    };
    LabSampleList(QWidget *parent, const QString &file, const QList<Row> &rows);
    // The row chosen, or -1.
    int chosen() const;

private:
    QTableWidget *table_;
};
