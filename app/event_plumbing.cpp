#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

void TFPrincipal::guard(Handler handler)
{
    guard([this, handler] { (this->*handler)(); });
}

void TFPrincipal::guard(const std::function<void()> &work)
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

void TFPrincipal::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tuberon"), message, QMessageBox::Ok, this);
    // Messages quote field texts and file names, which may come from a file.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void TFPrincipal::onExit(QWidget *field, Handler handler)
{
    exitHandlers_.insert(field, handler);
    field->installEventFilter(this);
}

void TFPrincipal::onChange(QLineEdit *field, Handler handler)
{
    changeHandlers_.insert(field, handler);
    // Typed text (or text set from outside the handlers) arrives here; the
    // handlers' own writes go through write(), which blocks this signal.
    connect(field, &QLineEdit::textChanged, this, [this, handler] { guard(handler); });
}

void TFPrincipal::onClick(QAbstractButton *button, Handler handler)
{
    // A check box or radio button answers every change of its state, whether
    // the user clicked it or the program set it; a push button its clicks.
    if (button->isCheckable())
        connect(button, &QAbstractButton::toggled, this, [this, handler] { guard(handler); });
    else
        connect(button, &QAbstractButton::clicked, this, [this, handler] { guard(handler); });
}

void TFPrincipal::onPick(QComboBox *list, Handler handler)
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

void TFPrincipal::onDateChange(QDateEdit *picker, Handler handler)
{
    connect(picker, &QDateEdit::dateChanged, this, [this, handler] { guard(handler); });
}

void TFPrincipal::onPickerClick(QDateEdit *picker, Handler handler)
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

void TFPrincipal::onKey(QLineEdit *field, KeyRule rule, QWidget *successor)
{
    keyBindings_.insert(field, KeyBinding{rule, successor});
    field->installEventFilter(this);
}

bool TFPrincipal::eventFilter(QObject *watched, QEvent *event)
{
    if (caseDragEvent(event) || showWorking(watched, event))
        return true;
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The window losing activation or a popup opening is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
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
    return QWidget::eventFilter(watched, event);
}

double TFPrincipal::read(const QLineEdit *field) const
{
    return numbers_.toDouble(field->text());
}

double TFPrincipal::read(const QString &text) const
{
    return numbers_.toDouble(text);
}

QString TFPrincipal::fmt(double value, int places) const
{
    return numbers_.format(value, places);
}

void TFPrincipal::write(QLineEdit *field, const QString &text)
{
    if (field->text() == text)
        return;
    {
        const QSignalBlocker blocker(field);
        field->setText(text);
    }
    if (const auto it = changeHandlers_.constFind(field); it != changeHandlers_.cend())
        (this->*it.value())();
}

void TFPrincipal::colourFaltante(QLineEdit *field)
{
    const bool missing = !field->text().isEmpty() && read(field) > 0;
    ui::setFieldColour(field, missing ? ui::colour::yellow : palette().color(QPalette::Base));
}
