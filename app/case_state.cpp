// The window's contents as a case, and back: components are found by kind
// and keyed by their names, so a field added later is saved without a word
// here.
#include "agronomy/Applications.h"
#include "cases/CaseJson.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
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

namespace {

// The worksheet under the names a case file gives it.
std::vector<std::pair<const char *, double *>> worksheetValues(agronomy::Worksheet &w)
{
    return {{"argila", &w.argila},
            {"CTC", &w.ctc},
            {"Ca", &w.ca},
            {"Mg", &w.mg},
            {"K", &w.k},
            {"P", &w.p},
            {"Lm1K", &w.potassiumLimits.l1},
            {"Lm2K", &w.potassiumLimits.l2},
            {"Lm3K", &w.potassiumLimits.l3},
            {"Lm4K", &w.potassiumLimits.l4},
            {"Lm1P", &w.phosphorusLimits.l1},
            {"Lm2P", &w.phosphorusLimits.l2},
            {"Lm3P", &w.phosphorusLimits.l3},
            {"Lm4P", &w.phosphorusLimits.l4}};
}

// A caption a handler rewrites is kept in a case; it shows what a file
// holds as letters only, never as rich text that could load a resource.
bool takesText(const QLabel *label) { return label->pixmap().isNull() && label->textFormat() == Qt::PlainText; }

// More rows than any list of products a technician composes.
constexpr int kMaxGridRows = 1000;

} // namespace

const cases::FreeTexts &TFPrincipal::freeTexts()
{
    // The producer's name, CPF, place and town, the field's name, the
    // report's number and the technician's signature; the product names of
    // the planting and top-dressing lists.
    static const cases::FreeTexts texts{
        {QStringLiteral("Edit55"), QStringLiteral("Edit56"), QStringLiteral("Edit57"), QStringLiteral("Edit58"),
         QStringLiteral("Edit59"), QStringLiteral("Edit60"), QStringLiteral("Edit15")},
        {{QStringLiteral("stga4"), {0}}, {QStringLiteral("stga5"), {0}}, {QStringLiteral("Stga6"), {0}},
         {QStringLiteral("stga7"), {0}}}};
    return texts;
}

bool TFPrincipal::inCase(const QWidget *component) const
{
    const QString name = component->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    // Dialogs open over the window are windows of their own.
    if (component->window() != this)
        return false;
    // The about text is the program's, not the producer's.
    if (TabSheet7->isAncestorOf(component))
        return false;
    // The text box inside a list or a date picker belongs to it.
    for (const QWidget *p = component->parentWidget(); p && p != this; p = p->parentWidget())
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p))
            return false;
    return true;
}

cases::Case TFPrincipal::caseState() const
{
    cases::Case c;
    c.decimalSeparator = numbers().separator();
    for (const QWidget *w : findChildren<QWidget *>()) {
        if (!inCase(w))
            continue;
        const QString name = w->objectName();
        if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
            c.fields.insert(name, edit->text());
        } else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(w)) {
            c.memos.insert(name, memo->toPlainText());
        } else if (const auto *label = qobject_cast<const QLabel *>(w)) {
            if (takesText(label))
                c.labels.insert(name, label->text());
        } else if (const auto *grid = qobject_cast<const StringGrid *>(w)) {
            QList<QStringList> rows;
            for (int r = 0; r < grid->rowCount(); ++r)
                rows << grid->rowTexts(r);
            c.grids.insert(name, rows);
        } else if (const auto *list = qobject_cast<const QComboBox *>(w)) {
            c.lists.insert(name, {list->currentIndex(), list->currentText()});
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            if (button->isCheckable())
                c.checks.insert(name, button->isChecked());
        } else if (const auto *picker = qobject_cast<const QDateTimeEdit *>(w)) {
            c.dates.insert(name, picker->date());
        } else if (const auto *tabs = qobject_cast<const QTabWidget *>(w)) {
            c.pages.insert(name, tabs->currentIndex());
        }
    }
    agronomy::Worksheet worksheet = worksheet_;
    for (const auto &[name, value] : worksheetValues(worksheet))
        c.worksheet.insert(QLatin1String(name), *value);
    return c;
}

void TFPrincipal::checkCase(const cases::Case &c, const QString &fileName) const
{
    const auto component = [this](const QString &name) -> QWidget * {
        QWidget *w = findChild<QWidget *>(name);
        return w && inCase(w) ? w : nullptr;
    };
    for (auto it = c.lists.cbegin(); it != c.lists.cend(); ++it)
        if (const auto *list = qobject_cast<QComboBox *>(component(it.key())))
            if (it->index >= list->count())
                throw cases::damagedFile(fileName);
    for (auto it = c.grids.cbegin(); it != c.grids.cend(); ++it) {
        if (const auto *grid = qobject_cast<StringGrid *>(component(it.key()))) {
            if (it->isEmpty() || it->size() > kMaxGridRows)
                throw cases::damagedFile(fileName);
            for (const QStringList &row : *it)
                if (row.size() != grid->columnCount())
                    throw cases::damagedFile(fileName);
        }
    }
    for (auto it = c.dates.cbegin(); it != c.dates.cend(); ++it)
        if (const auto *picker = qobject_cast<QDateTimeEdit *>(component(it.key())))
            if (*it < picker->minimumDate() || *it > picker->maximumDate())
                throw cases::damagedFile(fileName);
    for (auto it = c.pages.cbegin(); it != c.pages.cend(); ++it)
        if (const auto *tabs = qobject_cast<QTabWidget *>(component(it.key())))
            if (*it < 0 || *it >= tabs->count())
                throw cases::damagedFile(fileName);
}

void TFPrincipal::restoreCase(const cases::Case &c)
{
    std::vector<QWidget *> components;
    for (QWidget *w : findChildren<QWidget *>())
        if (inCase(w))
            components.push_back(w);
    // Every component stays silent until all are written: a radio button
    // chosen here unchecks its neighbour, which must not answer either.
    std::vector<QSignalBlocker> silence;
    silence.reserve(components.size());
    for (QWidget *w : components)
        silence.emplace_back(w);

    std::vector<QAbstractButton *> unchecked;
    for (QWidget *w : components) {
        const QString name = w->objectName();
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            if (const auto it = c.fields.constFind(name); it != c.fields.cend())
                edit->setText(*it);
        } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
            if (const auto it = c.memos.constFind(name); it != c.memos.cend())
                memo->setPlainText(*it);
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (const auto it = c.labels.constFind(name); it != c.labels.cend() && takesText(label))
                label->setText(*it);
        } else if (auto *grid = qobject_cast<StringGrid *>(w)) {
            if (const auto it = c.grids.constFind(name); it != c.grids.cend()) {
                grid->setRows(int(it->size()));
                for (int r = 0; r < it->size(); ++r)
                    for (int col = 0; col < grid->columnCount(); ++col)
                        grid->setCell(col, r, it->at(r).at(col));
            }
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            if (const auto it = c.lists.constFind(name); it != c.lists.cend()) {
                list->setCurrentIndex(it->index);
                list->setEditText(it->text);
            }
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (const auto it = c.checks.constFind(name); it != c.checks.cend() && button->isCheckable()) {
                // Choices first: unchecking a lone chosen radio button is refused.
                if (*it)
                    button->setChecked(true);
                else
                    unchecked.push_back(button);
            }
        } else if (auto *picker = qobject_cast<QDateTimeEdit *>(w)) {
            if (const auto it = c.dates.constFind(name); it != c.dates.cend())
                picker->setDate(*it);
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            if (const auto it = c.pages.constFind(name); it != c.pages.cend())
                tabs->setCurrentIndex(*it);
        }
    }
    for (QAbstractButton *button : unchecked)
        button->setChecked(false);

    for (const auto &[name, value] : worksheetValues(worksheet_))
        if (const auto it = c.worksheet.constFind(QLatin1String(name)); it != c.worksheet.cend())
            *value = *it;
}

void TFPrincipal::redrawAfterRestore()
{
    for (int row = applications::Planting; row <= applications::ThirdTopDressing; ++row) {
        for (int column = applications::NColumn; column <= applications::K2OColumn; ++column) {
            QLineEdit *field = faltante(row, column);
            // A text that is no number shows no amount missing.
            try {
                colourFaltante(field);
            } catch (const Failure &) {
                ui::setFieldColour(field, palette().color(QPalette::Base));
            }
        }
    }
    RadioButton1Click();
    RadioButton2Click();
    Grafico1();
}

void TFPrincipal::resetToStart()
{
    cases::Case start = startState_;
    // The worksheet starts at zero.
    agronomy::Worksheet zero;
    for (const auto &[name, value] : worksheetValues(zero))
        start.worksheet.insert(QLatin1String(name), *value);
    restoreCase(start);
    redrawAfterRestore();
    // Grid titles, the N split, today's dates, the efficiencies and the
    // chart, exactly as the first show fills them.
    FormShow();
}
