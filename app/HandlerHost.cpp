#include "app/HandlerHost.h"
#include "core/Failure.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>

HandlerHost::HandlerHost(QWidget *window, const NumberText &numbers)
    : QObject(window), window_(window), numbers_(numbers)
{
}

void HandlerHost::guard(const Work &work) const
{
    try {
        work();
    } catch (const Failure &failure) {
        showError(failure.message());
    } catch (const std::exception &error) {
        // Not one of the program's own errors (memory, a library): say so
        // rather than let it cross Qt's event loop, which cannot carry it.
        showError(QStringLiteral("Erro inesperado: %1").arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        showError(QStringLiteral("Erro inesperado."));
    }
}

void HandlerHost::showError(const QString &message) const
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tuberon"), message, QMessageBox::Ok, window_);
    // Messages quote field texts and file names, which may come from a file.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void HandlerHost::onExit(QWidget *field, Work handler)
{
    exitHandlers_.insert(field, std::move(handler));
    field->installEventFilter(this);
}

void HandlerHost::onChange(QLineEdit *field, Work handler)
{
    changeHandlers_.insert(field, handler);
    // Typed text (or text set from outside the handlers) arrives here; the
    // handlers' own writes go through write(), which blocks this signal.
    connect(field, &QLineEdit::textChanged, this, [this, handler = std::move(handler)] { guard(handler); });
}

void HandlerHost::onClick(QAbstractButton *button, Work handler)
{
    // A check box or radio button answers every change of its state, whether
    // the user clicked it or the program set it; a push button its clicks.
    if (button->isCheckable())
        connect(button, &QAbstractButton::toggled, this, [this, handler = std::move(handler)] { guard(handler); });
    else
        connect(button, &QAbstractButton::clicked, this, [this, handler = std::move(handler)] { guard(handler); });
}

void HandlerHost::onPick(QComboBox *list, Work handler)
{
    // Qt reports a new position (also one set by the program) and, apart, each
    // pick by the user, also of the item already selected: after a name was
    // typed over it, a technician picks the product again to get it back. A
    // pick that moves the position reports both, one right after the other,
    // and the handler runs once. Typing into the list's text picks nothing:
    // the handler waits for a pick rather than run at every keystroke.
    connect(list, &QComboBox::currentIndexChanged, this, [this, list, handler] {
        guard(handler);
        justMoved_.insert(list);
        QTimer::singleShot(0, this, [this, list] { justMoved_.remove(list); });
    });
    connect(list, &QComboBox::activated, this, [this, list, handler] {
        if (!justMoved_.remove(list))
            guard(handler);
    });
}

void HandlerHost::onDateChange(QDateEdit *picker, Work handler)
{
    connect(picker, &QDateEdit::dateChanged, this, [this, handler = std::move(handler)] { guard(handler); });
}

void HandlerHost::onPickerClick(QDateEdit *picker, Work handler)
{
    // The date itself is a field of its own inside the picker, which gets the
    // clicks on the text; the picker gets those on its button.
    const QList<QObject *> parts{picker, picker->findChild<QLineEdit *>()};
    for (QObject *part : parts) {
        if (!part)
            continue;
        clickHandlers_.insert(part, handler);
        part->installEventFilter(this);
    }
}

void HandlerHost::onKey(QLineEdit *field, KeyRule rule, QWidget *successor)
{
    keyBindings_.insert(field, KeyBinding{rule, successor});
    field->installEventFilter(this);
}

QWidget *HandlerHost::enter(QLineEdit *field)
{
    const auto key = keyBindings_.constFind(field);
    if (key == keyBindings_.cend() || key->rule == KeyRule::MarkOnly || !key->successor)
        return nullptr;
    if (const auto exit = exitHandlers_.constFind(field); exit != exitHandlers_.cend())
        guard(exit.value());
    return key->successor;
}

void HandlerHost::focusQuietly(QWidget *component)
{
    exitsPaused_ = true;
    component->setFocus(Qt::TabFocusReason);
    exitsPaused_ = false;
}

bool HandlerHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The window losing activation or a popup opening is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !exitsPaused_) {
            if (const auto it = exitHandlers_.constFind(watched); it != exitHandlers_.cend())
                guard(it.value());
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (const auto it = clickHandlers_.constFind(watched); it != clickHandlers_.cend()) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const auto *widget = static_cast<QWidget *>(watched);
            if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
                guard(it.value());
        }
    } else if (event->type() == QEvent::KeyPress) {
        if (const auto it = keyBindings_.constFind(watched); it != keyBindings_.cend()) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const KeyBinding binding = it.value();
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && binding.rule != KeyRule::MarkOnly && binding.successor) {
                binding.successor->setFocus(Qt::TabFocusReason);
                return true;
            }
            const QString typed = key->text();
            const bool mark = typed == QLatin1String(",") || typed == QLatin1String(".");
            if (mark && binding.rule != KeyRule::EnterOnly) {
                static_cast<QLineEdit *>(watched)->insert(QString(numbers_.separator()));
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

double HandlerHost::read(const QLineEdit *field) const
{
    return numbers_.toDouble(field->text());
}

double HandlerHost::read(const QString &text) const
{
    return numbers_.toDouble(text);
}

double HandlerHost::readOrZero(const QLineEdit *field) const
{
    return field->text().isEmpty() ? 0.0 : read(field);
}

QString HandlerHost::fmt(double value, int places) const
{
    return numbers_.format(value, places);
}

void HandlerHost::write(QLineEdit *field, const QString &text) const
{
    if (field->text() == text)
        return;
    {
        const QSignalBlocker blocker(field);
        field->setText(text);
    }
    if (const auto it = changeHandlers_.constFind(field); it != changeHandlers_.cend())
        it.value()();
}
