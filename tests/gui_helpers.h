#pragma once
// Shared steps of the GUI tests: the real window, real focus changes and
// typing, and message boxes read and closed as a user would.
#include "chart/CalendarChart.h"
#include "app/TFPrincipal.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace gui {

inline QLocale comma() { return QLocale(QLocale::Portuguese, QLocale::Brazil); }
inline QLocale point() { return QLocale::c(); }
inline QLocale otherSeparator() { return QLocale(QLocale::Arabic, QLocale::Egypt); }

namespace detail {
// A dialog that nobody answers fails the running test with its text, and is
// closed, instead of holding the test until its time-out. Dialogs a test
// expects are answered by its helpers within a few milliseconds, far inside
// the grace given here.
class DialogWatchdog : public QObject {
public:
    DialogWatchdog() : QObject(qApp)
    {
        timer_.setInterval(25);
        connect(&timer_, &QTimer::timeout, this, &DialogWatchdog::check);
        timer_.start();
    }

private:
    static constexpr int graceMs = 1500;

    void check()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal != seen_) {
            seen_ = modal;
            since_.start();
            return;
        }
        if (!modal || since_.elapsed() < graceMs)
            return;
        seen_ = nullptr;
        const auto *box = qobject_cast<QMessageBox *>(modal);
        const QString text = box ? box->text() : modal->windowTitle();
        QTest::qFail(qPrintable(QStringLiteral("unexpected dialog %1: \"%2\"")
                                    .arg(QLatin1String(modal->metaObject()->className()), text)),
                     __FILE__, __LINE__);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    QElapsedTimer since_;
};

inline void watchForUnexpectedDialogs()
{
    static DialogWatchdog *watchdog = new DialogWatchdog;
    Q_UNUSED(watchdog);
}
} // namespace detail

// The window shown and active, so that focus changes reach it.
inline std::unique_ptr<TFPrincipal> openWindow(const QLocale &regional = comma())
{
    detail::watchForUnexpectedDialogs();
    auto w = std::make_unique<TFPrincipal>(regional);
    // Cases saved by a test go into a store of that window's own, never the
    // user's nor an earlier test's.
    static QTemporaryDir casesFolder;
    static int windows = 0;
    w->setCasesPath(QDir(casesFolder.path()).filePath(QStringLiteral("casos-%1.sqlite").arg(++windows)));
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("window did not become active");
    // Events run on, as before a user could act: the chart is drawn right
    // after the first frame.
    if (!QTest::qWaitFor([&w] { return w->calendarChart->isComplete(); }))
        qWarning("the chart was not drawn after the first frame");
    return w;
}

template <class T = QLineEdit>
T *find(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    // A missing component is a broken contract: stop here rather than go on
    // with a null pointer or a check that passes on nothing.
    if (!found)
        qFatal("no component named %s of the expected kind", name);
    return found;
}

// Runs the action and returns the text of every message box it opened, each
// one closed with its OK button.
inline QStringList messagesDuring(const std::function<void()> &action)
{
    QStringList texts;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&texts] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer.start();
    action();
    timer.stop();
    return texts;
}

// Focus into the field, replace its text by typing, and leave it for `next`.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

inline void leaveTo(QWidget *next) { next->setFocus(Qt::TabFocusReason); }

inline void typeAndLeave(QLineEdit *field, const QString &text, QWidget *next)
{
    typeInto(field, text);
    leaveTo(next);
}

// Picks an item of a list as a user does: the list opened, the item
// highlighted and taken with Enter. Answers the messages it caused.
inline QStringList pick(QComboBox *list, int index)
{
    return messagesDuring([&] {
        list->setFocus(Qt::MouseFocusReason);
        list->showPopup();
        QAbstractItemView *view = list->view();
        if (!QTest::qWaitForWindowExposed(view->window()))
            qWarning("the list %s did not open", qPrintable(list->objectName()));
        view->setCurrentIndex(list->model()->index(index, list->modelColumn(), list->rootModelIndex()));
        QTest::keyClick(view, Qt::Key_Return);
    });
}

// The window open on "Definição da Adubação".
inline std::unique_ptr<TFPrincipal> fertilizationWindow(const QLocale &regional = comma())
{
    auto w = openWindow(regional);
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    return w;
}

// Types a whole text into a field whose change handler may complain about
// the partial texts on the way (a "Faltante" field and a lone "-").
inline void typeWhole(QWidget &window, const char *field, const QString &text)
{
    QLineEdit *edit = find(&window, field);
    messagesDuring([&] { typeInto(edit, text); });
    QCOMPARE(edit->text(), text);
}

// Brings forward the tab that holds the widget, as a user would before using it.
inline void showPageOf(TFPrincipal &w, QWidget *widget)
{
    for (QWidget *p = widget; p; p = p->parentWidget())
        if (w.PageControl1->indexOf(p) >= 0)
            w.PageControl1->setCurrentWidget(p);
}

// A mouse click on a push button, on its own tab.
inline void click(TFPrincipal &w, const char *button)
{
    auto *b = find<QPushButton>(&w, button);
    showPageOf(w, b);
    if (!b->isVisible())
        qWarning("%s is not visible", button);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The same click, answering the message boxes it opens; returns their texts.
inline QStringList clickAnswering(TFPrincipal &w, const char *button)
{
    return messagesDuring([&] { click(w, button); });
}

// Runs the action; the first dialog of kind Modal that it opens is handed to
// `use` while open, then closed unless `use` closed it. Answers whether one
// opened.
template <class Modal>
bool whileOpen(const std::function<void()> &action, const std::function<void(Modal &)> &use = {})
{
    bool opened = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QPointer<Modal> modal = qobject_cast<Modal *>(QApplication::activeModalWidget());
        if (!modal || opened)
            return;
        // Before `use`: what it opens in turn runs the events, this timer's too.
        opened = true;
        if (use)
            use(*modal);
        if (modal && modal->isVisible())
            modal->reject();
    });
    timer.start();
    action();
    timer.stop();
    return opened;
}

// Clicks a radio button on its indicator, where a user clicks.
inline void clickRadio(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(7, radio->height() / 2));
}

// The texts of several fields, in order.
template <std::size_t N>
QStringList texts(const QWidget &window, const char *const (&names)[N])
{
    QStringList result;
    for (const char *name : names)
        result << find(&window, name)->text();
    return result;
}

// The background a field shows (yellow for a positive "Faltante").
inline QColor base(const QLineEdit *field) { return field->palette().color(QPalette::Base); }
inline const QColor yellow(255, 255, 0);

} // namespace gui

