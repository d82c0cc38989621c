#pragma once
// The question a lab-file run stops with, asked in the window before
// "Importar..." fills anything: the unit of each column whose unit the file
// does not state and whose values point to another, the likely one chosen.
#include "batch/LabColumns.h"
#include "batch/LabSample.h"

#include <QDialog>
#include <QList>

class QComboBox;

class UnitQuestion : public QDialog {
public:
    UnitQuestion(QWidget *parent, const QString &fileName, const QList<batch::UnitDoubt> &doubts);
    // The units chosen, as the command line's --coluna gives them.
    QList<batch::ChosenColumn> chosen() const;

private:
    QList<batch::UnitDoubt> doubts_;
    QList<QComboBox *> units_;
};
