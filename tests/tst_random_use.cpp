#include "reports/ReportFile.h"
#include "app/StringGrid.h"
#include "gui_helpers.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <cstdio>
#include <deque>
#include <random>

// A technician who does anything at all: types any text (numbers with either
// decimal mark, blanks, letters, signs), clicks buttons, check boxes and
// radios, picks from the lists, edits grid cells, switches tabs and presses
// Enter and Tab, on every tab, in a random order fixed by a seed. The window
// must never crash, never show "inf" or "nan", never show a message the
// program does not have, and never leave a dialog open.
//
//   TUBERON_RANDOM_SEED    the seed (printed at start)
//   TUBERON_RANDOM_EVENTS  how many events (default 2000)
//   TUBERON_RANDOM_VERBOSE 1: print every event before it happens
namespace {

// Every message the program can show: the number conversion, the arithmetic
// errors, the split's request for percentages, the file errors and the
// question before "Novo" or "Abrir..." discards a changed case (answered
// here as a box closed: nothing is discarded).
const QList<QRegularExpression> &programMessages()
{
    static const QList<QRegularExpression> patterns = [] {
        QList<QRegularExpression> p;
        for (const char *re : {
                 R"('.*' is not a valid floating point value)",
                 R"(Floating point overflow)",
                 R"(Invalid floating point operation)",
                 R"(Floating point division by zero)",
                 R"(Entre com os percentuais em cada período)",
                 R"(File access denied)",
                 R"(Disk full)",
                 R"(Too many open files)",
                 R"(I/O error \d+)",
                 R"(Cannot (create|open) file ".*"\. .*)",
                 R"(Salvar as alterações\?)",
             })
            p << QRegularExpression(QStringLiteral("\\A(?:%1)\\z").arg(QString::fromUtf8(re)),
                                    QRegularExpression::DotMatchesEverythingOption);
        return p;
    }();
    return patterns;
}

// The kind of a message, for the summary: the pattern it matched, or empty.
QString kindOf(const QString &message)
{
    for (const QRegularExpression &re : programMessages())
        if (re.match(message).hasMatch())
            return re.pattern();
    return {};
}

class Dice {
public:
    explicit Dice(quint64 seed) : engine_(seed) {}
    // Plain modulo, so that a seed replays the same run with any library.
    int below(int n) { return n <= 1 ? 0 : int(engine_() % quint64(n)); }
    bool percent(int p) { return below(100) < p; }
    template <class T>
    T pick(const QList<T> &list) { return list.at(below(int(list.size()))); }

private:
    std::mt19937_64 engine_;
};

// Texts a technician might type. The letters i, n, f and a never appear in
// them, so an "inf" or "nan" on the window can only be the program's own.
QString anyText(Dice &dice)
{
    static const QStringList specials = {
        QString(), QStringLiteral(" "), QStringLiteral("0"), QStringLiteral("-0"), QStringLiteral(","),
        QStringLiteral("."), QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("e"), QStringLiteral("1e308"),
        QStringLiteral("-1E308"), QStringLiteral("1e-320"), QStringLiteral("9e99"), QStringLiteral("100"),
        QStringLiteral("1.000,5"), QStringLiteral(" 12,5 "), QStringLiteral("2.5"), QStringLiteral("25"),
        QStringLiteral("40"), QStringLiteral("99999999999999999999"), QStringLiteral("0,0001"),
        QStringLiteral("12%"), QStringLiteral("1,2,3"), QStringLiteral("7e"), QStringLiteral("- 5"),
    };
    static const QString alphabet = QStringLiteral("0123456789,.,. +-eExXç%/'[]()Ãõ*#");
    const int kind = dice.below(10);
    if (kind < 2)
        return dice.pick(specials);
    if (kind < 8) { // a number, with either mark
        QString s;
        if (dice.percent(15))
            s += QLatin1Char('-');
        const int intDigits = dice.below(5);
        for (int i = 0; i < intDigits; ++i)
            s += QChar(u'0' + dice.below(10));
        if (dice.percent(60)) {
            s += dice.percent(50) ? QLatin1Char(',') : QLatin1Char('.');
            const int frac = dice.below(4);
            for (int i = 0; i < frac; ++i)
                s += QChar(u'0' + dice.below(10));
        }
        if (s.isEmpty() || s == QLatin1String("-"))
            s += QChar(u'1' + dice.below(9));
        if (dice.percent(8))
            s += QStringLiteral("e") + QString::number(dice.below(40) - 20);
        return s;
    }
    QString s; // anything
    const int n = 1 + dice.below(8);
    for (int i = 0; i < n; ++i)
        s += alphabet.at(dice.below(int(alphabet.size())));
    return s;
}

// Types a text key by key. QTest::keyClicks knows only ASCII; the accented
// letters go as the key of their capital with their own text, as a
// keyboard sends them.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

class RandomUser {
public:
    RandomUser(TFPrincipal &w, quint64 seed) : w_(w), dice_(seed)
    {
        for (QLineEdit *e : w.findChildren<QLineEdit *>()) {
            // Cell editors come and go with the grids; date fields are stepped.
            const bool inner = qobject_cast<QAbstractItemView *>(e->parentWidget())
                               || qobject_cast<QAbstractSpinBox *>(e->parentWidget())
                               || (e->parentWidget() && qobject_cast<QAbstractItemView *>(e->parentWidget()->parentWidget()));
            if (!inner)
                edits_ << e;
        }
        for (QPushButton *b : w.findChildren<QPushButton *>())
            if (b != w.BitBtn1) // "Fechar" would end the program
                buttons_ << b;
        for (QCheckBox *c : w.findChildren<QCheckBox *>())
            toggles_ << c;
        for (QRadioButton *r : w.findChildren<QRadioButton *>())
            toggles_ << r;
        combos_ = w.findChildren<QComboBox *>();
        grids_ = w.findChildren<StringGrid *>();
        dates_ = w.findChildren<QDateEdit *>();
        memos_ = w.findChildren<QPlainTextEdit *>();
        labels_ = w.findChildren<QLabel *>();
    }

    QString lastEvents() const
    {
        QStringList lines(recent_.begin(), recent_.end());
        return lines.join(QLatin1Char('\n'));
    }

    // One event somewhere on the window; false when the chosen control is not
    // within reach (hidden or disabled), so nothing happened.
    bool act()
    {
        const int roll = dice_.below(100);
        if (roll < 30)
            return typeIntoField();
        if (roll < 42)
            return keyToFocus();
        if (roll < 52)
            return editGrid();
        if (roll < 62)
            return clickButton();
        if (roll < 70)
            return pickFromList();
        if (roll < 77)
            return toggle();
        if (roll < 86)
            return switchTab(dice_.below(w_.PageControl1->count()));
        if (roll < 91)
            return stepDate();
        if (roll < 95)
            return typeIntoMemo();
        return typeIntoCombo();
    }

private:
    void note(const QString &what)
    {
        recent_.push_back(what);
        if (recent_.size() > 40)
            recent_.pop_front();
        if (verbose())
            std::fprintf(stderr, "event: %s\n", qPrintable(what));
    }

    static bool verbose()
    {
        static const bool on = qEnvironmentVariableIntValue("TUBERON_RANDOM_VERBOSE") != 0;
        return on;
    }

    static QString nameOf(const QObject *o)
    {
        return o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
    }

    bool switchTab(int index)
    {
        QTabBar *bar = w_.PageControl1->tabBar();
        if (w_.PageControl1->currentIndex() == index)
            return true;
        note(QStringLiteral("tab %1").arg(index));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        return true;
    }

    // Brings the control's tab to the front, as a user must before using it.
    bool reach(QWidget *control)
    {
        for (int i = 0; i < w_.PageControl1->count(); ++i) {
            if (w_.PageControl1->widget(i)->isAncestorOf(control)) {
                switchTab(i);
                break;
            }
        }
        return control->isVisible() && control->isEnabled();
    }

    bool typeIntoField()
    {
        QLineEdit *e = dice_.pick(edits_);
        if (!reach(e))
            return false;
        const QString text = anyText(dice_);
        const bool replace = dice_.percent(80);
        note(QStringLiteral("%1 %2 [%3]").arg(replace ? QStringLiteral("type into") : QStringLiteral("append to"),
                                              nameOf(e), text));
        QTest::mouseClick(e, Qt::LeftButton);
        if (replace) {
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Backspace);
        } else {
            e->end(false);
        }
        typeText(e, text);
        return true;
    }

    bool keyToFocus()
    {
        QWidget *focus = QApplication::focusWidget();
        if (!focus)
            focus = &w_;
        static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab,
                                       Qt::Key_Return, Qt::Key_Tab};
        const Qt::Key key = keys[dice_.below(int(std::size(keys)))];
        note(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), nameOf(focus)));
        QTest::keyClick(focus, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        return true;
    }

    bool editGrid()
    {
        StringGrid *g = dice_.pick(grids_);
        if (!reach(g) || g->rowCount() == 0)
            return false;
        const int row = dice_.below(g->rowCount());
        const int column = dice_.below(g->columnCount());
        QTableWidgetItem *item = g->item(row, column);
        if (!item)
            return false;
        g->scrollToItem(item);
        const QRect cell = g->visualItemRect(item);
        const QString text = anyText(dice_);
        const int end = dice_.below(3);
        note(QStringLiteral("grid %1 (%2,%3) [%4] then %5")
                 .arg(nameOf(g)).arg(column).arg(row).arg(text)
                 .arg(end == 0 ? QStringLiteral("Enter") : end == 1 ? QStringLiteral("Tab") : QStringLiteral("nothing")));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        if (!(item->flags() & Qt::ItemIsEditable))
            return true;
        // Any key starts the edit; the rest goes to the cell's editor.
        QWidget *target = g;
        for (const QChar c : text) {
            typeText(target, QString(c));
            if (QWidget *focus = QApplication::focusWidget(); focus && g->isAncestorOf(focus))
                target = focus;
        }
        if (end < 2)
            QTest::keyClick(target, end == 0 ? Qt::Key_Return : Qt::Key_Tab);
        return true;
    }

    bool clickButton()
    {
        QPushButton *b = dice_.pick(buttons_);
        if (!reach(b))
            return false;
        note(QStringLiteral("click %1 \"%2\"").arg(nameOf(b), b->text()));
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
    }

    bool pickFromList()
    {
        QComboBox *c = dice_.pick(combos_);
        if (!reach(c) || c->count() == 0)
            return false;
        const int to = dice_.below(c->count());
        note(QStringLiteral("pick %1 item %2").arg(nameOf(c)).arg(to));
        c->setFocus(Qt::MouseFocusReason);
        if (dice_.percent(50)) {
            // The keyboard: Up and Down walk the list.
            const int steps = to - c->currentIndex();
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::keyClick(c, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        } else {
            // The mouse on the open list ends in the same choice.
            c->setCurrentIndex(to);
            emit c->activated(to);
        }
        return true;
    }

    bool typeIntoCombo()
    {
        QComboBox *c = dice_.pick(combos_);
        if (!reach(c) || !c->isEditable())
            return false;
        const QString text = anyText(dice_);
        note(QStringLiteral("type into list %1 [%2]").arg(nameOf(c), text));
        QTest::mouseClick(c->lineEdit(), Qt::LeftButton);
        c->lineEdit()->selectAll();
        typeText(c->lineEdit(), text);
        return true;
    }

    bool toggle()
    {
        QAbstractButton *b = dice_.pick(toggles_);
        if (!reach(b))
            return false;
        note(QStringLiteral("click %1").arg(nameOf(b)));
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
    }

    bool stepDate()
    {
        QDateEdit *d = dice_.pick(dates_);
        if (!reach(d))
            return false;
        const int steps = 1 + dice_.below(40);
        const bool up = dice_.percent(50);
        note(QStringLiteral("date %1 %2 x%3").arg(nameOf(d), up ? QStringLiteral("up") : QStringLiteral("down")).arg(steps));
        d->setFocus(Qt::MouseFocusReason);
        if (dice_.percent(30))
            d->setCurrentSectionIndex(dice_.below(d->sectionCount()));
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(d, up ? Qt::Key_Up : Qt::Key_Down);
        return true;
    }

    bool typeIntoMemo()
    {
        QPlainTextEdit *m = dice_.pick(memos_);
        if (!reach(m))
            return false;
        QString text = anyText(dice_);
        note(QStringLiteral("memo %1 [%2]").arg(nameOf(m), text));
        QTest::mouseClick(m->viewport(), Qt::LeftButton);
        typeText(m, text);
        if (dice_.percent(30))
            QTest::keyClick(m, Qt::Key_Return);
        return true;
    }

    TFPrincipal &w_;
    Dice dice_;
    QList<QLineEdit *> edits_;
    QList<QPushButton *> buttons_;
    QList<QAbstractButton *> toggles_;
    QList<QComboBox *> combos_;
    QList<StringGrid *> grids_;
    QList<QDateEdit *> dates_;
    QList<QPlainTextEdit *> memos_;
    QList<QLabel *> labels_;
    std::deque<QString> recent_;

public:
    // Every text the window shows that the program may have written.
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const QLineEdit *e : edits_)
            texts << e->text();
        for (const QLabel *l : labels_)
            texts << l->text();
        for (const StringGrid *g : grids_)
            for (int r = 0; r < g->rowCount(); ++r)
                texts << g->rowTexts(r);
        return texts;
    }
};

} // namespace

class TstRandomUse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void anythingATechnicianDoes();

private:
    QTemporaryDir workDir_;
};

void TstRandomUse::initTestCase()
{
    // Every message box on the offscreen platform says so; thousands of them
    // would drown the log.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("does not support propagateSizeHints")))
                previous(type, context, message);
        });

    // The text report goes to the working folder and is never shown.
    QVERIFY(workDir_.isValid());
    QVERIFY(QDir::setCurrent(workDir_.path()));
    reports::setOpener([](const QString &) {});
}

void TstRandomUse::anythingATechnicianDoes()
{
    const quint64 seed = qEnvironmentVariableIsSet("TUBERON_RANDOM_SEED")
                             ? qgetenv("TUBERON_RANDOM_SEED").toULongLong()
                             : 20261210;
    const int events = qEnvironmentVariableIsSet("TUBERON_RANDOM_EVENTS")
                           ? qEnvironmentVariableIntValue("TUBERON_RANDOM_EVENTS")
                           : 2000;
    std::fprintf(stderr, "random use: seed %llu, %d events (TUBERON_RANDOM_SEED, TUBERON_RANDOM_EVENTS)\n",
                 static_cast<unsigned long long>(seed), events);

    // Each separator rule in turn, the comma first.
    const QLocale locales[] = {gui::comma(), gui::point(), gui::otherSeparator()};
    const QLocale regional = locales[seed % 3];
    auto w = gui::openWindow(regional);
    RandomUser user(*w, seed);

    // Message boxes are read and answered, other dialogs (the page report's
    // preview) closed, as soon as they are up.
    QStringList unknownMessages;
    QMap<QString, int> messageKinds;
    int messages = 0, dialogs = 0;
    QTimer closer;
    closer.setInterval(1);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            ++messages;
            const QString kind = kindOf(box->text());
            if (kind.isEmpty())
                unknownMessages << box->text();
            else
                ++messageKinds[kind];
            box->done(QMessageBox::Ok);
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            ++dialogs;
            dialog->reject();
        }
    });
    closer.start();

    static const QRegularExpression notANumber(QStringLiteral("\\b(inf|infinity|nan)\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    int done = 0;
    for (int attempt = 0; done < events && attempt < events * 20; ++attempt) {
        if (!user.act())
            continue;
        ++done;
        if (done % 5000 == 0) // long runs show they are alive
            std::fprintf(stderr, "random use: %d events, %d messages\n", done, messages);
        const auto failAt = [&](const QString &what) {
            return QStringLiteral("event %1 of seed %2: %3\nlast events:\n%4")
                .arg(done).arg(seed).arg(what, user.lastEvents());
        };
        if (QWidget *left = QApplication::activeModalWidget())
            QFAIL(qPrintable(failAt(QStringLiteral("a dialog was left open: %1").arg(
                QString::fromLatin1(left->metaObject()->className())))));
        for (QWidget *top : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(top) && top->isVisible())
                QFAIL(qPrintable(failAt(QStringLiteral("a dialog was left open: %1").arg(
                    QString::fromLatin1(top->metaObject()->className())))));
        if (!unknownMessages.isEmpty())
            QFAIL(qPrintable(failAt(QStringLiteral("a message the program does not have: %1").arg(unknownMessages.first()))));
        for (const QString &text : user.shownTexts())
            if (notANumber.match(text).hasMatch())
                QFAIL(qPrintable(failAt(QStringLiteral("the window shows \"%1\"").arg(text))));
        QVERIFY2(w->isVisible(), qPrintable(failAt(QStringLiteral("the window closed"))));
        // Popups (a list or a calendar left dropped) are closed as a click elsewhere would.
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        // Between two events the event loop runs, as it does between two keys.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // A message box takes the activation; the technician clicks the window again.
        if (!w->isActiveWindow()) {
            w->activateWindow();
            QCoreApplication::processEvents();
            QVERIFY(w->isActiveWindow() || QTest::qWaitForWindowActive(w.get()));
        }
    }
    closer.stop();
    QCOMPARE(done, events);

    std::fprintf(stderr, "random use: %d events, %d messages, %d other dialogs closed\n", done, messages, dialogs);
    for (auto it = messageKinds.cbegin(); it != messageKinds.cend(); ++it)
        std::fprintf(stderr, "  %6d  %s\n", it.value(), qPrintable(it.key()));
}

QTEST_MAIN(TstRandomUse)
#include "tst_random_use.moc"
