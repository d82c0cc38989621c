#include "agronomy/Applications.h"
#include "cases/CaseFile.h"
#include "app/CaseBinding.h"
#include "app/StringGrid.h"
#include "case_look.h"
#include "gui_helpers.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QXYSeries>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Case files through the window: a whole case typed, saved and opened in
// another window; files that are no case; a case moving between decimal
// separators; "Novo"; the buttons, keys, drops and caption that reach them.
namespace {

const QString kCaption = QStringLiteral("Tuberon - 1.0  -  Indicação  para Adubação da Cultura da Mandioca ");

QString notFound(const QString &name) { return QString("O arquivo \"%1\" não foi encontrado.").arg(name); }

// Chooses the path in a file dialog, or cancels it when empty; returns its title.
QString answer(QFileDialog *dialog, const QString &path)
{
    const QString title = dialog->windowTitle();
    if (path.isEmpty()) {
        dialog->reject();
    } else {
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    }
    return title;
}

// Answers the next file dialog with the path, or cancels it when empty;
// returns the dialogs' titles.
QStringList dialogsDuring(const QString &path, const std::function<void()> &action)
{
    QStringList titles;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            titles << answer(dialog, path);
    });
    timer.start();
    action();
    timer.stop();
    return titles;
}

// A named pipe that tells whether anything opened it to read. Opening it
// blocks until a writer comes; the writer here is always there and closes
// at once, so every reader gets an empty file instead of hanging, and is
// counted.
class Tripwire {
public:
    explicit Tripwire(const QString &path) : path_(path)
    {
        if (mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
            qFatal("mkfifo failed");
        writer_ = std::thread([this] {
            while (!finishing_) {
                const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY);
                if (!finishing_)
                    read_ = true;
                if (fd >= 0)
                    ::close(fd);
            }
        });
    }
    ~Tripwire() { wasRead(); }
    // Also ends the writer: the pipe opened here one last time.
    bool wasRead()
    {
        if (writer_.joinable()) {
            finishing_ = true;
            const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
            writer_.join();
            if (fd >= 0)
                ::close(fd);
        }
        return read_;
    }

private:
    QString path_;
    std::thread writer_;
    std::atomic<bool> finishing_{false}, read_{false};
};

// Answers the question about unsaved changes with the named button, and
// file dialogs with the path (cancelled when empty); returns what was asked.
QStringList answering(const QString &button, const QString &path, const std::function<void()> &action)
{
    QStringList asked;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            asked << box->objectName() + ": " + box->text();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == button)
                    return b->click();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            asked << answer(dialog, path);
        }
    });
    timer.start();
    action();
    timer.stop();
    return asked;
}

const QString kSaveChanges = QStringLiteral("saveChangesPrompt: Salvar as alterações?");

void dropFile(QWidget *onto, const QString &file)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto, &enter);
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto, &drop);
}

} // namespace

class TstCaseGui : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTripThroughTheControls();
    void badFiles_data();
    void badFiles();
    void separatorOfTheSavingWindow_data();
    void separatorOfTheSavingWindow();
    void newCaseEqualsAFreshWindow_data();
    void newCaseEqualsAFreshWindow();
    void buttonsBesideFechar();
    void keysAndDialogs();
    void dropOpensTheCase_data();
    void dropOpensTheCase();
    void failedSaveKeepsTheCase_data();
    void failedSaveKeepsTheCase();
    void hostileTextsShowLiterally_data();
    void hostileTextsShowLiterally();
    void everyChangeMarksTheCase_data();
    void everyChangeMarksTheCase();
    void unsavedChangesAreAsked_data();
    void unsavedChangesAreAsked();
    void fileChangedOnDiskIsAsked_data();
    void fileChangedOnDiskIsAsked();
    void freeTextsKeepTheirSeparator_data();
    void freeTextsKeepTheirSeparator();
    void qtDialogsSpeakPortuguese();
    void everyBoundNameHasItsComponent();

private:
    QTemporaryDir dir_;
    QString full_; // a whole case, saved once under a comma
    QString path(const QString &name) const { return dir_.filePath(name); }
};

void TstCaseGui::initTestCase()
{
    QVERIFY(dir_.isValid());
    const auto w = gui::openWindow(gui::comma());
    QCOMPARE(fillCase(*w), QStringList());
    full_ = path("completo.tuberon");
    QVERIFY(w->saveCase(full_));
}

void TstCaseGui::roundTripThroughTheControls()
{
    const auto first = gui::openWindow();
    QCOMPARE(fillCase(*first), QStringList());
    QVERIFY(first->GroupBox26->isHidden()); // the mineral group is up
    int yellow = 0;
    for (int row = applications::Planting; row <= applications::ThirdTopDressing; ++row)
        for (int column = applications::NColumn; column <= applications::K2OColumn; ++column)
            yellow += gui::base(first->faltante(row, column)) == QColor(255, 255, 0);
    QVERIFY(yellow > 0 && yellow < 12); // some amounts still missing, some closed
    const QString file = path("caso.tuberon");
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(first->saveCase(file)); }), QStringList());
    const auto saved = look(*first);
    QCOMPARE(saved.value("caption"), "caso.tuberon - " + kCaption);

    // What the next clicks give on the saved case.
    QCOMPARE(nextSteps(*first), QStringList());
    const auto next = look(*first);

    // The second window's worksheet starts at zero, so only the file can
    // bring the interpreted values (the recommended liming follows the clay
    // content last interpreted, not the text of its field).
    const auto second = gui::openWindow();
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(second->openCase(file)); }), QStringList());
    QCOMPARE(second->caseFile(), QFileInfo(file).absoluteFilePath());
    COMPARE_LOOKS(look(*second), saved);
    QCOMPARE(nextSteps(*second), QStringList());
    COMPARE_LOOKS(look(*second), next);
}

void TstCaseGui::badFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // nothing is written for a missing file
    QTest::addColumn<QString>("message");

    QFile file(full_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto notACase = [](const char *name) {
        return QString("O arquivo \"%1\" não é um caso do Tuberon.").arg(name);
    };
    const auto damaged = [](const char *name) {
        return QString("O arquivo \"%1\" está danificado e não pode ser aberto.").arg(name);
    };
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 37) % 256));
    QByteArray newer = whole;
    newer.replace("\"versao\": 2", "\"versao\": 3");
    QByteArray listForNumber = whole;
    listForNumber.replace("\"clay\": 35.5", "\"clay\": [35.5]");
    QByteArray farChoice = whole;
    farChoice.replace("\"index\": 17", "\"index\": 999");

    QTest::newRow("empty") << "vazio.tuberon" << QByteArray("") << notACase("vazio.tuberon");
    QTest::newRow("not JSON") << "notas.tuberon" << QByteArray("Produtor: João\nArgila 35,5\n")
                              << notACase("notas.tuberon");
    QTest::newRow("JSON of another kind") << "outro.tuberon"
                                          << QByteArray(R"({"type": "FeatureCollection", "features": []})")
                                          << notACase("outro.tuberon");
    QTest::newRow("newer version") << "novo.tuberon" << newer
                                   << "O arquivo \"novo.tuberon\" foi feito por uma versão mais nova do Tuberon e "
                                      "não pode ser aberto por esta versão.";
    QTest::newRow("truncated save") << "cortado.tuberon" << whole.left(whole.size() / 2) << damaged("cortado.tuberon");
    QTest::newRow("binary") << "foto.tuberon" << binary << notACase("foto.tuberon");
    QTest::newRow("huge") << "enorme.tuberon" << QByteArray(cases::maxFileSize + 1, ' ')
                          << "O arquivo \"enorme.tuberon\" é grande demais para ser um caso do Tuberon.";
    QTest::newRow("number field holding a list") << "lista-numero.tuberon" << listForNumber
                                                 << damaged("lista-numero.tuberon");
    QTest::newRow("list position beyond its items") << "lista.tuberon" << farChoice << damaged("lista.tuberon");
    QTest::newRow("missing") << "sumiu.tuberon" << QByteArray() << notFound("sumiu.tuberon");
    QTest::newRow("folder") << "pasta.tuberon" << QByteArray()
                            << "\"pasta.tuberon\" é uma pasta, não um arquivo de caso do Tuberon.";
}

void TstCaseGui::badFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString file = path(name);
    if (name == "pasta.tuberon") {
        QVERIFY(QDir(dir_.path()).mkpath(name));
    } else if (!bytes.isNull()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    const auto w = gui::openWindow();
    QVERIFY(w->openCase(full_));
    const auto before = look(*w);
    bool opened = true;
    QCOMPARE(gui::messagesDuring([&] { opened = w->openCase(file); }), QStringList{message});
    QVERIFY(!opened);
    COMPARE_LOOKS(look(*w), before);
    QCOMPARE(w->caseFile(), QFileInfo(full_).absoluteFilePath());
}

void TstCaseGui::separatorOfTheSavingWindow_data()
{
    QTest::addColumn<QLocale>("saving");
    QTest::addColumn<QLocale>("opening");
    QTest::newRow("comma to point") << gui::comma() << gui::point();
    QTest::newRow("point to comma") << gui::point() << gui::comma();
}

void TstCaseGui::separatorOfTheSavingWindow()
{
    QFETCH(QLocale, saving);
    QFETCH(QLocale, opening);
    const QString from = saving.decimalPoint(), to = opening.decimalPoint();
    const auto swap = [&](QString text) { return text.replace(from, to); };

    const auto first = gui::openWindow(saving);
    QCOMPARE(fillCase(*first), QStringList());
    const QString file = path("separador.tuberon");
    QVERIFY(first->saveCase(file));

    const auto second = gui::openWindow(opening);
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(second->openCase(file)); }), QStringList());
    // Numbers take the separator in force...
    for (const char *name : {"Edit1", "Edit70", "Edit13", "edit30", "Edit61", "Edit25", "Edit62", "Edit50", "Edit88"}) {
        const QString text = gui::find(first.get(), name)->text();
        QVERIFY2(text.contains(from), name);
        QCOMPARE(gui::find(second.get(), name)->text(), swap(text));
    }
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        QCOMPARE(second->stga3->rowTexts(r), QStringList(first->stga3->rowTexts(r)).replaceInStrings(from, to));
    const int product = applications::FirstProductRow;
    QCOMPARE(second->stga4->rowTexts(product), QStringList(first->stga4->rowTexts(product)).replaceInStrings(from, to));
    // ...names, free texts and product names stay as typed.
    for (const char *name : {"Edit55", "Edit56", "Edit59", "Edit15"})
        QCOMPARE(gui::find(second.get(), name)->text(), gui::find(first.get(), name)->text());
    QCOMPARE(second->Memo3->toPlainText(), first->Memo3->toPlainText());
    QCOMPARE(second->ComboBox2->currentText(), first->ComboBox2->currentText());

    // The next clicks read the converted texts without a complaint and give
    // the same numbers.
    QCOMPARE(nextSteps(*first), QStringList());
    QCOMPARE(nextSteps(*second), QStringList());
    for (const char *name : {"Edit61", "Edit23", "Edit54", "Edit78", "Edit86"})
        QCOMPARE(gui::find(second.get(), name)->text(), swap(gui::find(first.get(), name)->text()));
    for (int r = applications::Planting; r <= applications::ThirdTopDressing; ++r)
        QCOMPARE(second->stga1->rowTexts(r), QStringList(first->stga1->rowTexts(r)).replaceInStrings(from, to));
}

void TstCaseGui::newCaseEqualsAFreshWindow_data()
{
    QTest::addColumn<QLocale>("regional");
    QTest::newRow("comma") << gui::comma();
    QTest::newRow("point") << gui::point();
}

void TstCaseGui::newCaseEqualsAFreshWindow()
{
    QFETCH(QLocale, regional);
    const auto used = gui::openWindow(regional);
    QCOMPARE(fillCase(*used), QStringList());
    QVERIFY(used->saveCase(path("usado.tuberon")));
    QCOMPARE(gui::messagesDuring([&] { used->newCase(); }), QStringList());

    const auto fresh = gui::openWindow(regional);
    COMPARE_LOOKS(look(*used), look(*fresh));
    QCOMPARE(used->caseFile(), QString());
    QCOMPARE(used->caseState().worksheet, agronomy::Worksheet());
}

void TstCaseGui::buttonsBesideFechar()
{
    const auto w = gui::openWindow();
    const auto *fechar = gui::find<QPushButton>(w.get(), "BitBtn1");
    QCOMPARE(fechar->geometry(), QRect(8, 658, 90, 26));
    QCOMPARE(w->DateTimePicker3->geometry(), QRect(940, 660, 236, 22));
    QCOMPARE(w->PageControl1->geometry(), QRect(4, 4, 1176, 648));
    QList<QRect> taken{fechar->geometry(), w->DateTimePicker3->geometry()};
    const std::pair<const char *, QString> buttons[] = {
        {"btnNovo", "Novo"}, {"btnAbrir", "Abrir..."}, {"btnSalvar", "Salvar..."}};
    for (const auto &[name, caption] : buttons) {
        const auto *b = gui::find<QPushButton>(w.get(), name);
        QVERIFY2(b && b->parentWidget() == w.get() && b->isVisible(), name);
        QCOMPARE(b->text(), caption);
        const QRect r = b->geometry();
        QVERIFY2(w->rect().contains(r) && r.top() >= w->PageControl1->geometry().bottom(), name);
        for (const QRect &other : taken)
            QVERIFY2(!r.intersects(other), name);
        taken << r;
    }
    // "Fechar" still closes at once.
    QTest::mouseClick(const_cast<QPushButton *>(fechar), Qt::LeftButton);
    QVERIFY(!w->isVisible());
}

// Keys reach the window's shortcuts only while it is the active window,
// as it is again on a desktop once a dialog over it closes.
void press(TFPrincipal &w, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, key, modifiers);
}

void TstCaseGui::keysAndDialogs()
{
    const auto w = gui::openWindow();
    QVERIFY(w->openCase(full_));
    const QString first = path("atalho.tuberon"), second = path("outro nome.tuberon");

    // Ctrl+S on a case never saved asks for a name.
    w->newCase();
    gui::typeAndLeave(w->Edit55, "Produtor A", w->Edit56);
    QCOMPARE(dialogsDuring(first, [&] { press(*w, Qt::Key_S, Qt::ControlModifier); }),
             QStringList{"Salvar caso"});
    QCOMPARE(w->caseFile(), first);
    QCOMPARE(w->windowTitle(), "atalho.tuberon - " + kCaption);

    // Then it saves to that file without a question, with a grid cell
    // still being typed in.
    gui::typeAndLeave(w->Edit55, "Produtor B", w->Edit56);
    w->PageControl1->setCurrentWidget(w->TabSheet3);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->stga2->setFocus(Qt::MouseFocusReason);
    w->stga2->setCurrentCell(3, 2);
    QTest::keyClick(QApplication::focusWidget(), '2');
    QTest::keyClick(QApplication::focusWidget(), '5');
    // Still in the cell's editor.
    QCOMPARE(w->stga2->cell(applications::PercentColumn, applications::SecondTopDressing), QString());
    QCOMPARE(dialogsDuring({}, [&] { press(*w, Qt::Key_S, Qt::ControlModifier); }), QStringList());
    const model::Case saved = cases::readFile(first);
    QCOMPARE(saved.producer.name, QStringLiteral("Produtor B"));
    QCOMPARE(saved.doses.potashSplit.value(2).percent.text, QStringLiteral("25"));

    // Ctrl+Shift+S and "Salvar..." ask again; a cancelled dialog saves nothing.
    QCOMPARE(dialogsDuring({}, [&] { QTest::mouseClick(w->btnSalvar, Qt::LeftButton); }), QStringList{"Salvar caso"});
    QCOMPARE(w->caseFile(), first);
    QCOMPARE(dialogsDuring(second, [&] { press(*w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); }),
             QStringList{"Salvar caso"});
    QCOMPARE(w->windowTitle(), "outro nome.tuberon - " + kCaption);

    // Ctrl+N: the start again; Ctrl+O and "Abrir...": a case chosen in the dialog.
    press(*w, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(w->Edit55->text(), QString());
    QCOMPARE(w->windowTitle(), kCaption);
    QCOMPARE(dialogsDuring(first, [&] { press(*w, Qt::Key_O, Qt::ControlModifier); }),
             QStringList{"Abrir caso"});
    QCOMPARE(w->Edit55->text(), QStringLiteral("Produtor B"));
    QCOMPARE(dialogsDuring(full_, [&] { QTest::mouseClick(w->btnAbrir, Qt::LeftButton); }), QStringList{"Abrir caso"});
    QCOMPARE(w->Edit55->text(), QStringLiteral("Silva, João"));
    QTest::mouseClick(w->btnNovo, Qt::LeftButton);
    QCOMPARE(w->Edit55->text(), QString());
}

void TstCaseGui::dropOpensTheCase_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("on a field that takes text") << "Edit55";
    QTest::newRow("on a memo") << "Memo3";
    QTest::newRow("on the window") << "";
}

void TstCaseGui::dropOpensTheCase()
{
    QFETCH(QString, target);
    const auto w = gui::openWindow();
    QWidget *onto = w.get();
    if (!target.isEmpty()) {
        onto = w->findChild<QWidget *>(target);
        if (auto *memo = qobject_cast<QPlainTextEdit *>(onto))
            onto = memo->viewport();
    }
    w->PageControl1->setCurrentWidget(target == "Memo3" ? w->TabSheet4 : w->TabSheet1);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(full_)});
    data.setText(QUrl::fromLocalFile(full_).toString());
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(w->caseFile(), QFileInfo(full_).absoluteFilePath());
    QCOMPARE(w->Edit55->text(), QStringLiteral("Silva, João"));
    QVERIFY(!w->Memo3->toPlainText().contains("file:"));
}

void TstCaseGui::failedSaveKeepsTheCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder that does not exist")
        << "nenhuma/caso.tuberon" << "Não foi possível salvar o caso em \"caso.tuberon\": a pasta não existe.";
    QTest::newRow("a folder in the file's place")
        << "ocupado.tuberon" << "Não foi possível salvar o caso em \"ocupado.tuberon\": já existe uma pasta com esse nome.";
}

void TstCaseGui::failedSaveKeepsTheCase()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QVERIFY(QDir(dir_.path()).mkpath("ocupado.tuberon"));
    const auto w = gui::openWindow();
    QVERIFY(w->openCase(full_));
    bool saved = true;
    QCOMPARE(gui::messagesDuring([&] { saved = w->saveCase(path(name)); }), QStringList{message});
    QVERIFY(!saved);
    QCOMPARE(w->caseFile(), QFileInfo(full_).absoluteFilePath());
    QCOMPARE(w->windowTitle(), "completo.tuberon - " + kCaption);
}

void TstCaseGui::hostileTextsShowLiterally_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::newRow("caption rewritten by a handler") << "labels" << "Label34";
    QTest::newRow("producer's name") << "fields" << "Edit55";
    QTest::newRow("soil field") << "fields" << "Edit1";
    QTest::newRow("report notes") << "memos" << "Memo3";
    QTest::newRow("product in a list") << "grids" << "stga4";
    QTest::newRow("typed product name") << "lists" << "ComboBox5";
    QTest::newRow("message quoting a field") << "message" << "Edit1";
}

// A file's texts are letters: an image named in one is never loaded, here a
// pipe that would hang the window (and /dev/zero would fill its memory).
void TstCaseGui::hostileTextsShowLiterally()
{
    QFETCH(QString, section);
    QFETCH(QString, name);
    const QString pipe = path(QStringLiteral("tubo-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    Tripwire tripwire(pipe);
    const QString hostile = QStringLiteral("<img src=\"%1\"><b>negrito</b>").arg(pipe);

    model::Case c = cases::readFile(full_);
    if (name == "Label34") {
        c.doses.phosphateNote = hostile;
    } else if (name == "Edit55") {
        c.producer.name = hostile;
    } else if (name == "Edit1") {
        c.analysis.clay.text = hostile;
    } else if (name == "Memo3") {
        c.report.recommendations = hostile;
    } else if (name == "stga4") {
        QVERIFY(!c.planting.products.isEmpty());
        c.planting.products.last().product = hostile;
    } else {
        c.topDressings[2].mineral.text = hostile;
    }
    const QString file = path("hostil.tuberon");
    cases::writeFile(file, c);

    const auto w = gui::openWindow();
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(w->openCase(file)); }), QStringList());
    QWidget *component = w->findChild<QWidget *>(name);
    QVERIFY(component);
    gui::showPageOf(*w, component);
    QStringList messages;
    if (section == "message") {
        messages = gui::messagesDuring([&] {
            component->setFocus(Qt::MouseFocusReason);
            gui::leaveTo(w->Edit2);
        });
        QCOMPARE(messages, QStringList{"'" + hostile + "' is not a valid floating point value"});
    }
    // Laid out and painted, as a user would see it.
    QVERIFY(!w->grab().isNull());

    QString shown;
    if (const auto *label = qobject_cast<QLabel *>(component))
        shown = label->text();
    else if (const auto *edit = qobject_cast<QLineEdit *>(component))
        shown = edit->text();
    else if (const auto *memo = qobject_cast<QPlainTextEdit *>(component))
        shown = memo->toPlainText();
    else if (const auto *grid = qobject_cast<StringGrid *>(component))
        shown = grid->cell(0, grid->rowCount() - 1);
    else if (const auto *list = qobject_cast<QComboBox *>(component))
        shown = list->currentText();
    QVERIFY2(!tripwire.wasRead(), "a text from the file was read as rich text and loaded its image");
    QCOMPARE(shown, hostile);
    if (const auto *label = qobject_cast<QLabel *>(component))
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void TstCaseGui::everyChangeMarksTheCase_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("modified");
    for (const char *change : {"name typed", "number typed", "list pick", "grid cell", "radio button", "check box",
                               "date", "memo", "product inserted"})
        QTest::newRow(change) << change << true;
    QTest::newRow("another tab shown") << "tab" << false;
    QTest::newRow("a field entered and left") << "focus" << false;
}

void TstCaseGui::everyChangeMarksTheCase()
{
    QFETCH(QString, change);
    QFETCH(bool, modified);
    const auto w = gui::openWindow();
    QVERIFY(!w->caseModified());
    QVERIFY(w->openCase(full_));
    QCOMPARE(w->windowTitle(), "completo.tuberon - " + kCaption);
    QVERIFY(!w->caseModified());

    QStringList messages;
    if (change == "name typed") {
        gui::showPageOf(*w, w->Edit55);
        gui::typeAndLeave(w->Edit55, "Outro", w->Edit56);
    } else if (change == "number typed") {
        gui::showPageOf(*w, w->Edit1);
        messages = gui::messagesDuring([&] { gui::typeAndLeave(w->Edit1, "40", w->Edit2); });
    } else if (change == "list pick") {
        gui::showPageOf(*w, w->ComboBox3);
        messages = gui::pick(w->ComboBox3, 5);
    } else if (change == "grid cell") {
        w->PageControl1->setCurrentWidget(w->TabSheet3);
        typeCell(w->stga2, 2, 1, "70");
    } else if (change == "radio button") {
        messages = click(*w, w->RadioButton1);
    } else if (change == "check box") {
        messages = click(*w, w->CheckBox2);
    } else if (change == "date") {
        gui::showPageOf(*w, w->DateTimePicker2);
        w->DateTimePicker2->setFocus(Qt::MouseFocusReason);
        messages = gui::messagesDuring([&] { QTest::keyClick(w->DateTimePicker2, Qt::Key_Up); });
    } else if (change == "memo") {
        w->PageControl1->setCurrentWidget(w->TabSheet4);
        w->Memo3->setFocus(Qt::MouseFocusReason);
        typeText(w->Memo3, "x");
    } else if (change == "product inserted") {
        messages = click(*w, w->application(applications::ThirdTopDressing).inserir);
    } else if (change == "tab") {
        w->PageControl1->setCurrentWidget(w->TabSheet2);
    } else {
        gui::showPageOf(*w, w->Edit1);
        w->Edit1->setFocus(Qt::MouseFocusReason);
        gui::leaveTo(w->Edit2);
    }
    QCOMPARE(messages, QStringList());
    // The caption follows once the event is over.
    QTest::qWait(20);
    QCOMPARE(w->isWindowModified(), modified);
    QCOMPARE(w->caseModified(), modified);
    QCOMPARE(w->windowTitle(), (modified ? "completo.tuberon[*] - " : "completo.tuberon - ") + kCaption);

    // Saving takes the mark away.
    QVERIFY(w->saveCase(path("marcado.tuberon")));
    QVERIFY(!w->isWindowModified() && !w->caseModified());
    QCOMPARE(w->windowTitle(), "marcado.tuberon - " + kCaption);
}

void TstCaseGui::unsavedChangesAreAsked_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer"); // empty: nothing changed, nothing asked
    QTest::addColumn<bool>("neverSaved");
    QTest::addColumn<QString>("saveAs"); // the name given when a name is asked
    for (const char *action : {"Novo", "Abrir...", "Ctrl+N", "Ctrl+O", "drop", "Fechar"})
        for (const char *answer : {"Salvar", "Descartar", "Cancelar", ""})
            QTest::addRow("%s, %s", action, *answer ? answer : "nothing changed") << action << answer << false << "";
    QTest::newRow("Novo, never saved, Salvar with the name cancelled") << "Novo" << "Salvar" << true << "";
    QTest::newRow("Fechar, never saved, Salvar with a name") << "Fechar" << "Salvar" << true << "nomeado.tuberon";
}

void TstCaseGui::unsavedChangesAreAsked()
{
    QFETCH(QString, action);
    QFETCH(QString, answer);
    QFETCH(bool, neverSaved);
    QFETCH(QString, saveAs);
    const QString work = path("trabalho.tuberon"), other = path("outro.tuberon");
    QFile::remove(work);
    QVERIFY(QFile::copy(full_, work));
    model::Case otherCase = cases::readFile(full_);
    otherCase.producer.name = QStringLiteral("Outro Caso");
    cases::writeFile(other, otherCase);
    const QString named = saveAs.isEmpty() ? QString() : path(saveAs);
    if (!named.isEmpty())
        QFile::remove(named);

    const auto w = gui::openWindow();
    if (!neverSaved)
        QVERIFY(w->openCase(work));
    const bool changed = !answer.isEmpty();
    if (changed) {
        gui::showPageOf(*w, w->Edit55);
        gui::typeAndLeave(w->Edit55, "Produtor Novo", w->Edit56);
    }
    QCOMPARE(w->caseModified(), changed);
    const QString fileBefore = w->caseFile();

    const QStringList asked = answering(answer, neverSaved ? named : other, [&] {
        if (action == "Novo")
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
        else if (action == "Abrir...")
            QTest::mouseClick(w->btnAbrir, Qt::LeftButton);
        else if (action == "Ctrl+N")
            press(*w, Qt::Key_N, Qt::ControlModifier);
        else if (action == "Ctrl+O")
            press(*w, Qt::Key_O, Qt::ControlModifier);
        else if (action == "Fechar")
            QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        else {
            dropFile(w.get(), other);
            QCoreApplication::processEvents(); // the file opens once the drop is over
        }
    });
    QCOMPARE(asked.count(kSaveChanges), changed ? 1 : 0);

    const bool saved = answer == "Salvar" && (!neverSaved || !named.isEmpty());
    const bool goesOn = !changed || answer == "Descartar" || saved;
    if (!goesOn) {
        QVERIFY(w->isVisible());
        QCOMPARE(w->Edit55->text(), QStringLiteral("Produtor Novo"));
        QCOMPARE(w->caseFile(), fileBefore);
        QVERIFY(w->caseModified());
    } else if (action == "Fechar") {
        QVERIFY(!w->isVisible());
    } else if (action == "Novo" || action == "Ctrl+N") {
        QCOMPARE(w->Edit55->text(), QString());
        QCOMPARE(w->caseFile(), QString());
    } else {
        QCOMPARE(w->Edit55->text(), QStringLiteral("Outro Caso"));
        QCOMPARE(w->caseFile(), other);
    }
    if (goesOn && action != "Fechar") {
        QVERIFY(!w->caseModified());
        QCOMPARE(w->windowTitle().contains("[*]"), false);
    }
    // What the file holds: the typed name only when "Salvar" was answered.
    const QString target = neverSaved ? named : work;
    if (!target.isEmpty())
        QCOMPARE(cases::readFile(target).producer.name,
                 saved ? QStringLiteral("Produtor Novo") : QStringLiteral("Silva, João"));
}

void TstCaseGui::fileChangedOnDiskIsAsked_data()
{
    QTest::addColumn<bool>("otherContents"); // false: only its time changed
    QTest::addColumn<QString>("answer");
    QTest::newRow("written by another window, Substituir") << true << "Substituir";
    QTest::newRow("written by another window, Cancelar") << true << "Cancelar";
    QTest::newRow("only touched") << false << "";
}

void TstCaseGui::fileChangedOnDiskIsAsked()
{
    QFETCH(bool, otherContents);
    QFETCH(QString, answer);
    const QString shared = path("compartilhado.tuberon");
    QFile::remove(shared);
    QVERIFY(QFile::copy(full_, shared));
    const auto first = gui::openWindow();
    QVERIFY(first->openCase(shared));
    const auto second = gui::openWindow();
    QVERIFY(second->openCase(shared));

    if (otherContents) {
        gui::typeAndLeave(second->Edit55, "Da outra janela", second->Edit56);
        QVERIFY(second->saveCase(shared));
    } else {
        QFile file(shared);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    }
    gui::showPageOf(*first, first->Edit55);
    gui::typeAndLeave(first->Edit55, "Desta janela", first->Edit56);
    const QStringList asked = answering(answer, {}, [&] { press(*first, Qt::Key_S, Qt::ControlModifier); });

    const bool replaced = !otherContents || answer == "Substituir";
    QCOMPARE(asked, otherContents ? QStringList{"replaceChangedFilePrompt: O arquivo \"compartilhado.tuberon\" foi "
                                                "alterado por outro programa desde que foi aberto ou salvo nesta "
                                                "janela. Substituir?"}
                                  : QStringList());
    QCOMPARE(cases::readFile(shared).producer.name,
             replaced ? QStringLiteral("Desta janela") : QStringLiteral("Da outra janela"));
    QCOMPARE(first->caseModified(), !replaced);
    if (replaced) {
        // What this window wrote is what it compares with from now on.
        gui::typeAndLeave(first->Edit55, "De novo", first->Edit56);
        QCOMPARE(answering({}, {}, [&] { press(*first, Qt::Key_S, Qt::ControlModifier); }), QStringList());
        QCOMPARE(cases::readFile(shared).producer.name, QStringLiteral("De novo"));
    }
}

void TstCaseGui::freeTextsKeepTheirSeparator_data()
{
    QTest::addColumn<QLocale>("saving");
    QTest::addColumn<QLocale>("opening");
    QTest::newRow("point to comma and back") << gui::point() << gui::comma();
    QTest::newRow("comma to point and back") << gui::comma() << gui::point();
}

void TstCaseGui::freeTextsKeepTheirSeparator()
{
    QFETCH(QLocale, saving);
    QFETCH(QLocale, opening);
    const QString from = saving.decimalPoint(), to = opening.decimalPoint();
    // Every free text looks like a number under the saving separator.
    const std::pair<const char *, QString> words[] = {
        {"Edit55", "1" + from + "5"},      {"Edit56", "123" + from + "456"}, {"Edit57", "7" + from + "5"},
        {"Edit58", "0" + from + "25"},     {"Edit59", "1" + from + "2"},     {"Edit60", "12" + from + "345"},
        {"Edit15", "1" + from + "234"},
    };
    const std::pair<const char *, QString> numbers[] = {{"Edit1", "35" + from + "5"}, {"Edit70", "5" + from + "4"}};
    const QString memo = "1" + from + "5";

    const auto first = gui::openWindow(saving);
    QCOMPARE(gui::messagesDuring([&] {
                 for (const auto &[name, text] : words)
                     gui::find(first.get(), name)->setText(text);
                 for (const auto &[name, text] : numbers)
                     gui::find(first.get(), name)->setText(text);
                 first->Memo3->setPlainText(memo);
             }),
             QStringList());
    QVERIFY(first->saveCase(path("ida.tuberon")));

    const auto second = gui::openWindow(opening);
    QVERIFY(second->openCase(path("ida.tuberon")));
    for (const auto &[name, text] : words)
        QCOMPARE(gui::find(second.get(), name)->text(), text);
    for (const auto &[name, text] : numbers)
        QCOMPARE(gui::find(second.get(), name)->text(), QString(text).replace(from, to));
    QCOMPARE(second->Memo3->toPlainText(), memo);
    QVERIFY(second->saveCase(path("volta.tuberon")));

    const auto third = gui::openWindow(saving);
    QVERIFY(third->openCase(path("volta.tuberon")));
    for (const auto &[name, text] : words)
        QCOMPARE(gui::find(third.get(), name)->text(), text);
    for (const auto &[name, text] : numbers)
        QCOMPARE(gui::find(third.get(), name)->text(), text);
}

void TstCaseGui::qtDialogsSpeakPortuguese()
{
    const auto w = gui::openWindow(gui::point()); // whatever the regional settings
    QMessageBox box(QMessageBox::Question, "Tuberon", "?",
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No | QMessageBox::Close,
                    w.get());
    const std::pair<QMessageBox::StandardButton, QString> buttons[] = {
        {QMessageBox::Ok, "OK"}, {QMessageBox::Cancel, "Cancelar"}, {QMessageBox::Yes, "&Sim"},
        {QMessageBox::No, "&Não"}, {QMessageBox::Close, "Fechar"}};
    for (const auto &[button, text] : buttons)
        QCOMPARE(box.button(button)->text(), text);

    // The dialog of "Abrir...": Qt's own, with its labels and buttons in Portuguese.
    QStringList labels;
    gui::whileOpen<QFileDialog>([&] { QTest::mouseClick(w->btnAbrir, Qt::LeftButton); }, [&](QFileDialog &dialog) {
        for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            labels << dialog.findChild<QLabel *>(name)->text();
        for (QAbstractButton *b : dialog.findChild<QDialogButtonBox *>("buttonBox")->buttons())
            labels << b->text();
    });
    QCOMPARE(labels, (QStringList{"Procurar em:", "&Nome do arquivo:", "Arquivos do tipo:", "&Abrir", "Cancelar"}));
}

QTEST_MAIN(TstCaseGui)
// The window is built with a component for every name of the case table; a
// name without one, or with one of another kind, is reported by the check
// the window runs while it is built.
void TstCaseGui::everyBoundNameHasItsComponent()
{
    const auto w = gui::openWindow();
    QHash<QString, QWidget *> byName;
    for (QWidget *component : w->findChildren<QWidget *>())
        if (!component->objectName().isEmpty() && !component->objectName().startsWith("qt_"))
            byName.insert(component->objectName(), component);
    QCOMPARE(caseBinding::unbound(byName), QStringList());

    byName.remove("Edit55");
    QLineEdit notAList;
    byName["ComboBox2"] = &notAList;
    byName["stga4"] = w->Edit40;
    QCOMPARE(caseBinding::unbound(byName), (QStringList{"Edit55", "stga4", "ComboBox2"}));
}

#include "tst_case_gui.moc"
