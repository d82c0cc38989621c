// Which components a case holds, and the window brought back to its start
// or redrawn after a case is written into it (case_binder.cpp).
#include "agronomy/Applications.h"
#include "cases/CaseJson.h"
#include "app/ApplicationBlock.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "app/tabs/AboutTab.h"
#include "app/widgets_factory.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <vector>

bool TFPrincipal::inCase(const QWidget *component) const
{
    const QString name = component->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    // Dialogs open over the window are windows of their own.
    if (component->window() != this)
        return false;
    // The about text is the program's, not the producer's.
    if (about_->isAncestorOf(component))
        return false;
    // The text box inside a list or a date picker belongs to it.
    for (const QWidget *p = component->parentWidget(); p && p != this; p = p->parentWidget())
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p))
            return false;
    return true;
}

void TFPrincipal::redrawAfterRestore()
{
    for (int row = applications::Planting; row <= applications::ThirdTopDressing; ++row) {
        for (int nutrient = 0; nutrient < applications::nutrients; ++nutrient) {
            // A text that is no number shows no amount missing.
            try {
                block(row).colourFaltante(nutrient);
            } catch (const Failure &) {
                ui::setFieldColour(block(row).faltante[size_t(nutrient)], palette().color(QPalette::Base));
            }
        }
    }
    RadioButton1Click();
    RadioButton2Click();
    Grafico1();
}

void TFPrincipal::resetToStart()
{
    model::Case start = startState_;
    // The worksheet starts at zero.
    start.worksheet = {};
    restoreCase(start);
    working_->forget(false); // a new case: nothing in it came from a file
    redrawAfterRestore();
    // Grid titles, the N split, today's dates, the efficiencies and the
    // chart, exactly as the first show fills them.
    FormShow();
}
