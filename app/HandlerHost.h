#pragma once
// How the window's handlers are started and how they read and write fields.
// Every handler an event starts runs inside guard(), which shows its failure
// once and lets the event loop go on; no handler catches errors itself. A
// field is read through the regional number rules and written so that its
// change handler's failure ends the writing handler too.
#include "core/NumberText.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>

class QAbstractButton;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QWidget;

class HandlerHost : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void()>;

    // Messages are shown over the window; numbers follow its separator.
    HandlerHost(QWidget *window, const NumberText &numbers);

    void guard(const Work &work) const;
    void showError(const QString &message) const;

    // exit: the field loses the focus other than by the window losing its
    // activation or a popup opening.
    void onExit(QWidget *field, Work handler);
    // change: every change of the text, typed or set from outside the
    // handlers; the handlers' own writes go through write().
    void onChange(QLineEdit *field, Work handler);
    // click: a push button's clicks, a check box's or radio button's every change of state.
    void onClick(QAbstractButton *button, Work handler);
    // A product list's change handler: runs on every pick, also of the item
    // already selected, and on every change of position; typing into the
    // list's text runs nothing until a pick.
    void onPick(QComboBox *list, Work handler);
    void onDateChange(QDateEdit *picker, Work handler);
    // A date picker's click handler: a left click on its date or its button.
    void onPickerClick(QDateEdit *picker, Work handler);

    enum class KeyRule { MarkAndEnter, MarkOnly, EnterOnly };
    // A typed "," or "." becomes the separator in force (unless EnterOnly);
    // Enter moves to the successor (unless MarkOnly).
    void onKey(QLineEdit *field, KeyRule rule, QWidget *successor = nullptr);

    // Enter in a field, as its handlers see it without the focus moving:
    // where Enter leaves the field, its exit handler runs (guarded) and the
    // field Enter goes to is returned; null where Enter stays.
    QWidget *enter(QLineEdit *field);
    // Gives a component the focus without running the exit handler of the
    // one that had it.
    void focusQuietly(QWidget *component);

    // Reads a field through the number conversion (raises on bad text).
    double read(const QLineEdit *field) const;
    double read(const QString &text) const;
    // Reads a field where an empty text means none of it (0).
    double readOrZero(const QLineEdit *field) const;
    // Formats with the pattern of the given number of decimal places.
    QString fmt(double value, int places) const;
    // Sets a field's text; when the text changes, runs the field's change
    // handler right away, so its failure ends the writing handler too.
    void write(QLineEdit *field, const QString &text) const;

    const NumberText &numbers() const { return numbers_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeyBinding {
        KeyRule rule;
        QWidget *successor;
    };
    QWidget *window_;
    NumberText numbers_;
    QHash<QObject *, Work> exitHandlers_;
    QHash<QObject *, Work> changeHandlers_;
    QHash<QObject *, Work> clickHandlers_; // pickers and the date fields inside them
    QHash<QObject *, KeyBinding> keyBindings_;
    QSet<QObject *> justMoved_; // lists whose handler ran for a new position just now
    bool exitsPaused_ = false;  // the focus moves where the exits have already run
};
