#pragma once
// A whole case typed into the real window, and everything its components
// show, for the tests that save, open and compare cases.
#include "agronomy/Applications.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QAreaSeries>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QCategoryAxis>
#include <QChartView>
#include <QDateEdit>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QValueAxis>
#include <QXYSeries>

namespace {

// Everything a named component shows, by name: texts, cells, choices,
// states, dates, colours, what is hidden, and the chart's series and axes.
// Written here apart from the window's own saving, so that a component the
// saving misses shows up as a difference.
inline QMap<QString, QString> look(const TFPrincipal &w)
{
    QMap<QString, QString> seen;
    for (const QWidget *c : w.findChildren<QWidget *>()) {
        const QString name = c->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || c->window() != &w)
            continue;
        QStringList d{c->isHidden() ? "hidden" : "shown"};
        if (const auto *e = qobject_cast<const QLineEdit *>(c)) {
            d << e->text() << gui::base(e).name();
        } else if (const auto *m = qobject_cast<const QPlainTextEdit *>(c)) {
            d << m->toPlainText();
        } else if (const auto *l = qobject_cast<const QLabel *>(c)) {
            d << l->text();
        } else if (const auto *g = qobject_cast<const QTableWidget *>(c)) {
            d << QString::number(g->rowCount()) << QString::number(g->columnWidth(0));
            for (int r = 0; r < g->rowCount(); ++r)
                for (int col = 0; col < g->columnCount(); ++col)
                    d << (g->item(r, col) ? g->item(r, col)->text() : "<none>");
        } else if (const auto *list = qobject_cast<const QComboBox *>(c)) {
            d << QString::number(list->currentIndex()) << list->currentText();
        } else if (const auto *b = qobject_cast<const QAbstractButton *>(c)) {
            d << b->text() << (b->isChecked() ? "checked" : "unchecked");
        } else if (const auto *p = qobject_cast<const QDateTimeEdit *>(c)) {
            d << p->date().toString(Qt::ISODate) << p->text();
        } else if (const auto *t = qobject_cast<const QTabWidget *>(c)) {
            d << QString::number(t->currentIndex());
        } else if (const auto *v = qobject_cast<const QChartView *>(c)) {
            for (QAbstractSeries *s : v->chart()->series()) {
                QList<QPointF> points;
                if (auto *xy = qobject_cast<QXYSeries *>(s))
                    points = xy->points();
                else if (auto *area = qobject_cast<QAreaSeries *>(s))
                    points = area->upperSeries()->points() + area->lowerSeries()->points();
                QStringList ps;
                for (const QPointF &pt : points)
                    ps << QString("%1;%2").arg(pt.x()).arg(pt.y());
                d << s->name() + ":" + ps.join(' ');
            }
            for (QAbstractAxis *axis : v->chart()->axes()) {
                d << axis->titleText() << (axis->isVisible() ? "visible" : "invisible");
                if (auto *value = qobject_cast<QValueAxis *>(axis))
                    d << QString("%1..%2").arg(value->min()).arg(value->max());
                if (auto *category = qobject_cast<QCategoryAxis *>(axis))
                    d << category->categoriesLabels();
            }
        }
        seen.insert(name, d.join('|'));
    }
    seen.insert("caption", w.windowTitle());
    return seen;
}

// The first component that differs, or nothing.
inline QString difference(const QMap<QString, QString> &a, const QMap<QString, QString> &b)
{
    QStringList names = a.keys() + b.keys();
    names.removeDuplicates();
    for (const QString &name : names)
        if (a.value(name, "<absent>") != b.value(name, "<absent>"))
            return name + ": " + a.value(name, "<absent>") + "  <>  " + b.value(name, "<absent>");
    return {};
}

#define COMPARE_LOOKS(a, b)                                                                                        \
    do {                                                                                                           \
        const QString diff = difference(a, b);                                                                     \
        QVERIFY2(diff.isEmpty(), qPrintable(diff));                                                                \
    } while (false)

inline QStringList click(TFPrincipal &w, QAbstractButton *button)
{
    for (QWidget *p = button->parentWidget(); p; p = p->parentWidget())
        if (w.PageControl1->indexOf(p) >= 0)
            w.PageControl1->setCurrentWidget(p);
    return gui::messagesDuring([&] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2)); });
}

// Types as keys, also the accented letters of Portuguese names, which
// QTest::keyClicks cannot map to keys.
inline void typeText(QWidget *into, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(into, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, into, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

inline QStringList choose(QComboBox *list, int index)
{
    return gui::messagesDuring([&] { list->setCurrentIndex(index); });
}

inline void typeCell(StringGrid *grid, int column, int row, const QString &text)
{
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentCell(row, column);
    for (const QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
}

// A producer's whole case, typed and clicked as a technician does: every
// tab, every list, the calendar options and the report's texts. Decimal
// marks are typed as commas; the fields' key rule writes the separator in
// force.
inline QStringList fillCase(TFPrincipal &w)
{
    QStringList messages;
    const auto type = [&](const char *name, const QString &text) {
        QLineEdit *field = gui::find(&w, name);
        w.PageControl1->setCurrentIndex(0);
        for (QWidget *p = field->parentWidget(); p; p = p->parentWidget())
            if (w.PageControl1->indexOf(p) >= 0)
                w.PageControl1->setCurrentWidget(p);
        messages << gui::messagesDuring([&] {
            field->setFocus(Qt::MouseFocusReason);
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            typeText(field, text);
            gui::leaveTo(w.Edit55 == field ? w.Edit56 : w.Edit55);
        });
    };
    type("Edit55", "Silva, João");
    type("Edit56", "123.456.789-00");
    type("Edit57", "Linha São Pedro");
    type("Edit58", "Cruz Alta");
    type("Edit59", "Lavoura 3, talhão 2");
    type("Edit60", "118/2026");
    const char *soil[][2] = {{"Edit1", "35,5"}, {"Edit70", "5,4"}, {"Edit2", "6,2"}, {"Edit3", "48"},
                             {"Edit4", "2,6"},  {"Edit5", "0,4"},  {"Edit6", "3,1"}, {"Edit7", "1,2"},
                             {"Edit8", "11,5"}, {"Edit9", "45"},   {"Edit12", "30"}};
    for (const auto &[name, text] : soil)
        type(name, QString::fromUtf8(text));

    type("Edit24", "85");
    messages << click(w, w.Button1) << click(w, w.Button2);

    messages << click(w, w.Button3);
    typeCell(w.stga2, 2, 1, "60");
    typeCell(w.stga2, 2, 2, "40");
    messages << click(w, w.Button17);

    w.PageControl1->setCurrentWidget(w.TabSheet6);
    messages << choose(w.ComboBox1, 3) << click(w, w.Button5) << click(w, w.Button6);
    messages << click(w, w.RadioButton2) << choose(w.ComboBox2, 17) << click(w, w.Button9);
    messages << choose(w.ComboBox3, 0) << click(w, w.application(applications::FirstTopDressing).inserir);
    messages << choose(w.ComboBox4, 12) << click(w, w.application(applications::SecondTopDressing).inserir);
    w.ComboBox5->setFocus(Qt::MouseFocusReason);
    w.ComboBox5->lineEdit()->selectAll();
    QTest::keyClicks(w.ComboBox5->lineEdit(), "Adubo da cooperativa"); // typed, not chosen

    messages << click(w, w.CheckBox1) << click(w, w.CheckBox4) << click(w, w.RadioButton8);
    messages << gui::messagesDuring([&] { w.DateTimePicker2->setDate(QDate(2026, 3, 15)); });

    w.PageControl1->setCurrentWidget(w.TabSheet4);
    w.Memo3->setFocus(Qt::MouseFocusReason);
    typeText(w.Memo3, "Calcário 60 dias antes do plantio, 1,5 t/ha.");
    QTest::keyClick(w.Memo3, Qt::Key_Return);
    typeText(w.Memo3, "Cobertura com ureia.");
    type("Edit15", "Eng. Agr. Maria Souza - CREA 12345");
    w.DateTimePicker3->setDate(QDate(2026, 4, 1));
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    return messages;
}

// The next steps a technician takes on an opened case.
inline QStringList nextSteps(TFPrincipal &w)
{
    QStringList messages;
    messages << click(w, w.Button1) << click(w, w.Button3) << click(w, w.Button4);
    messages << click(w, w.Button9); // the mineral product again
    messages << choose(w.ComboBox5, 0) << click(w, w.application(applications::ThirdTopDressing).inserir);
    messages << click(w, w.Button7);
    return messages;
}

} // namespace
