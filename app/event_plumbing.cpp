#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

void TFPrincipal::guard(Handler handler)
{
    host_->guard([this, handler] { (this->*handler)(); });
}

void TFPrincipal::guard(const std::function<void()> &work) { host_->guard(work); }
void TFPrincipal::showError(const QString &message) { host_->showError(message); }

void TFPrincipal::onExit(QWidget *field, Handler handler)
{
    host_->onExit(field, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onChange(QLineEdit *field, Handler handler)
{
    host_->onChange(field, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onClick(QAbstractButton *button, Handler handler)
{
    host_->onClick(button, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onPick(QComboBox *list, Handler handler)
{
    host_->onPick(list, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onDateChange(QDateEdit *picker, Handler handler)
{
    host_->onDateChange(picker, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onPickerClick(QDateEdit *picker, Handler handler)
{
    host_->onPickerClick(picker, [this, handler] { (this->*handler)(); });
}

void TFPrincipal::onKey(QLineEdit *field, KeyRule rule, QWidget *successor) { host_->onKey(field, rule, successor); }

// Drops of a case file and the working shown over a result; the handlers'
// own events are HandlerHost's.
bool TFPrincipal::eventFilter(QObject *watched, QEvent *event)
{
    if (caseDragEvent(event) || showWorking(watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

double TFPrincipal::read(const QLineEdit *field) const { return host_->read(field); }
double TFPrincipal::read(const QString &text) const { return host_->read(text); }
QString TFPrincipal::fmt(double value, int places) const { return host_->fmt(value, places); }
void TFPrincipal::write(QLineEdit *field, const QString &text) { host_->write(field, text); }
