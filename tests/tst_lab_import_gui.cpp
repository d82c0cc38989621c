// "Importar...": one sample of a laboratory's file into the window, as if
// typed, against typing the same sample.
#include "gui_helpers.h"

#include <QComboBox>
#include <QFileDialog>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TstLabImportGui : public QObject {
    Q_OBJECT
private slots:
    void importedAsTyped_data();
    void importedAsTyped();
    void sampleWithAProblemFillsNothing();
    void shortcutAndPlace();
    void valuesAsTheFileGivesThem_data();
    void valuesAsTheFileGivesThem();
    void unitsAskedBeforeFilling_data();
    void unitsAskedBeforeFilling();
};

namespace {

// A laboratory's layout: a title block, glued and cut units, units in a
// second row, t beside T, a thousands separator; the second sample has no P.
const char labFile[] = "Laboratório de Análise de Solos;;;;;;;;;;;;;;;;\r\n"
                       ";;;;;;;;;;;;;;;;\r\n"
                       "Identificação;Cliente;CPF;Comunidade;Município;Talhão;Nº do laudo;Argila%;pH H2O;Pmg/dm³;"
                       "Kcmolc/dm;MO;Alcmolc/dm³;Ca cmolc/dm?;Mgcmolc/dm3;t;T;V%;Produtividade\r\n"
                       ";;;;;;;;;;;g/dm³;;;;;;;kg/ha\r\n"
                       "CA-01;Joao da Silva;123.456.789-09;Km 12;Cruz das Almas;Gleba 1;2025/0412;35;5,4;6;0,15;21;"
                       "0,4;2,1;0,8;3,4;8,5;35;38.500\r\n"
                       "CA-02;Maria Souza;;Baixa Grande;Cruz das Almas;Gleba 2;2025/0413;60;4,8;n.d.;0,1;35;0,9;1,2;"
                       "0,4;2,46;16,5;22;25.000\r\n";

// What a technician types for CA-01, field by field in the Enter order
// (ASCII: the test types it through QTest, which knows no accents).
const std::pair<const char *, const char *> typedSample[] = {
    {"Edit55", "Joao da Silva"}, {"Edit56", "123.456.789-09"}, {"Edit57", "Km 12"}, {"Edit58", "Cruz das Almas"},
    {"Edit59", "Gleba 1"},       {"Edit60", "2025/0412"},      {"Edit1", "35"},     {"Edit70", "5,4"},
    {"Edit2", "6"},              {"Edit3", "58,65"},           {"Edit4", "2,1"},    {"Edit5", "0,4"},
    {"Edit6", "2,1"},            {"Edit7", "0,8"},             {"Edit8", "8,5"},    {"Edit9", "35"},
    {"Edit12", "38,5"},
};

// Answers the file dialog with `path` and the sample list with row `row`;
// the texts of the message boxes shown.
QStringList importing(TFPrincipal &w, const QString &path, int row, const std::function<void()> &start)
{
    QStringList messages;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            QCOMPARE(dialog->objectName(), QString("labFileDialog"));
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        } else if (modal && modal->objectName() == "labSampleDialog") {
            auto *table = modal->findChild<QTableWidget *>("tblAmostras");
            QCOMPARE(table->rowCount(), 2);
            QCOMPARE(table->item(1, 4)->text(), QString("linha 6, coluna Pmg/dm³: 'n.d.' não medido"));
            table->selectRow(row);
            static_cast<QDialog *>(modal)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer.start();
    start();
    timer.stop();
    Q_UNUSED(w);
    return messages;
}

// Every field's text, by name.
QHash<QString, QString> fields(const TFPrincipal &w)
{
    QHash<QString, QString> texts;
    for (const QLineEdit *edit : w.findChildren<QLineEdit *>())
        if (!edit->objectName().isEmpty())
            texts[edit->objectName()] = edit->text();
    return texts;
}

} // namespace

// The handlers run in the Enter order whether or not the window has the
// focus back when the list closes: a hidden window never gets it.
void TstLabImportGui::importedAsTyped_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("window active") << true;
    QTest::newRow("window hidden") << false;
}

void TstLabImportGui::importedAsTyped()
{
    QFETCH(bool, shown);
    QTemporaryDir dir;
    const QString path = dir.filePath("laboratorio.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(labFile);
    file.close();

    auto typed = gui::openWindow();
    for (const auto &[field, text] : typedSample) {
        QLineEdit *edit = gui::find(typed.get(), field);
        gui::showPageOf(*typed, edit);
        gui::messagesDuring([&] {
            gui::typeInto(edit, QString::fromUtf8(text));
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }

    auto imported = gui::openWindow();
    if (!shown)
        imported->hide();
    const QStringList messages = importing(*imported, path, 0, [&] {
        if (shown)
            gui::click(*imported, "btnImportar");
        else
            imported->guard(&TFPrincipal::btnImportarClick);
    });
    if (!shown)
        QVERIFY(!imported->isActiveWindow());

    QCOMPARE(messages, QStringList());

    const QHash<QString, QString> a = fields(*typed), b = fields(*imported);
    for (auto it = a.cbegin(); it != a.cend(); ++it)
        QVERIFY2(b.value(it.key()) == it.value(),
                 qPrintable(QString("%1: typed \"%2\", imported \"%3\"").arg(it.key(), it.value(), b.value(it.key()))));
    // Classes, liming, doses and split: the whole case as a case file holds it.
    model::Case x = typed->caseState(), y = imported->caseState();
    x.shownTab = y.shownTab = 0;
    QVERIFY(x == y);
    QCOMPARE(imported->Edit3->text(), QString("58,65"));
    QVERIFY(!imported->Edit68->text().isEmpty());
}

// A sample that cannot be read says why and leaves every field as it was.
void TstLabImportGui::sampleWithAProblemFillsNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("laboratorio.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(labFile);
    file.close();
    auto w = gui::openWindow();
    const QHash<QString, QString> before = fields(*w);
    const QStringList messages = importing(*w, path, 1, [&] { gui::click(*w, "btnImportar"); });
    QCOMPARE(messages, QStringList{"A amostra da linha 6 não pode ser importada: "
                                   "linha 6, coluna Pmg/dm³: 'n.d.' não medido"});
    QCOMPARE(fields(*w), before);
}

// Beside the case buttons, after them in the tab order, and on Ctrl+I.
void TstLabImportGui::shortcutAndPlace()
{
    auto w = gui::openWindow();
    auto *button = gui::find<QPushButton>(w.get(), "btnImportar");
    QCOMPARE(button->text(), QString("Importar..."));
    QCOMPARE(w->btnSalvar->nextInFocusChain(), static_cast<QWidget *>(button));
    QVERIFY(button->geometry().left() > w->btnSalvar->geometry().right());
    QVERIFY(button->geometry().right() < w->DateTimePicker3->geometry().left());
    QStringList titles;
    gui::whileOpen<QFileDialog>([&] { QTest::keyClick(w.get(), Qt::Key_I, Qt::ControlModifier); },
                                [&](QFileDialog &dialog) { titles << dialog.objectName(); });
    QCOMPARE(titles, QStringList{"labFileDialog"});
}

namespace {

// Imports the first sample of the file at `path`: the problems the list shows
// and the texts of the message boxes.
std::pair<QStringList, QStringList> importFirst(TFPrincipal &w, const QString &path)
{
    QStringList problems, messages;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        } else if (modal && modal->objectName() == "labSampleDialog") {
            auto *table = modal->findChild<QTableWidget *>("tblAmostras");
            for (int r = 0; r < table->rowCount(); ++r)
                problems << table->item(r, 4)->text();
            table->selectRow(0);
            static_cast<QDialog *>(modal)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer.start();
    gui::click(w, "btnImportar");
    timer.stop();
    return {problems, messages};
}

} // namespace

// What the file holds reaches the fields as the file gives it, and what was
// taken on trust is said before the sample is chosen.
void TstLabImportGui::valuesAsTheFileGivesThem_data()
{
    QTest::addColumn<QByteArray>("sample");   // the row below "Amostra;Produtor;Argila;P;K;MO;Al;Ca;Mg;CTC;V"
    QTest::addColumn<QString>("problem");     // shown in the list
    QTest::addColumn<QStringList>("fields");  // name=text of the fields filled
    QTest::newRow("below the detection limit")
        << QByteArray("A;Ana;35;< 2;40;2,1;0,4;2,1;0,8;8,5;35\n")
        << "Aviso: linha 2, coluna P: '< 2' abaixo do limite de detecção, tomado como 2"
        << QStringList{"Edit55=Ana", "Edit2=2"};
    QTest::newRow("a line break in a name")
        << QByteArray("A;\"Maria\nSouza\";35;6;40;2,1;0,4;2,1;0,8;8,5;35\n") << ""
        << QStringList{"Edit55=Maria Souza", "Edit2=6"};
    QTest::newRow("a tab in a name")
        << QByteArray("A;\"Maria\tSouza\";35;6;40;2,1;0,4;2,1;0,8;8,5;35\n") << ""
        << QStringList{"Edit55=Maria Souza"};
    QTest::newRow("accents and symbols")
        << QByteArray("A;Sítio \"Bom\" – Ação & Cia;35;6;40;2,1;0,4;2,1;0,8;8,5;35\n") << ""
        << QStringList{"Edit55=Sítio \"Bom\" – Ação & Cia"};
    QTest::newRow("three decimals")
        << QByteArray("A;Ana;35;6;40;2,125;0,4;2,1;0,8;8,5;35\n") << ""
        << QStringList{"Edit4=2,125"};
}

void TstLabImportGui::valuesAsTheFileGivesThem()
{
    QFETCH(QByteArray, sample);
    QFETCH(QString, problem);
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    const QString path = dir.filePath("laboratorio.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Amostra;Produtor;Argila;P;K;MO;Al;Ca;Mg;CTC;V\n" + sample);
    file.close();
    auto w = gui::openWindow();
    const auto [problems, messages] = importFirst(*w, path);
    QCOMPARE(messages, QStringList());
    QCOMPARE(problems, QStringList{problem});
    for (const QString &field : fields)
        QCOMPARE(gui::find(w.get(), field.section('=', 0, 0).toUtf8().constData())->text(), field.section('=', 1));
}

// A file in the São Paulo convention, no unit anywhere: the window asks the
// command line's question, the likely units chosen, before filling anything.
void TstLabImportGui::unitsAskedBeforeFilling_data()
{
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("potassium"); // Edit3 after the import
    QTest::newRow("the likely units taken") << true << "207,23";
    QTest::newRow("cancelled: nothing filled") << false << "";
}

void TstLabImportGui::unitsAskedBeforeFilling()
{
    QFETCH(bool, answered);
    QFETCH(QString, potassium);
    QTemporaryDir dir;
    const QString path = dir.filePath("sp.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Amostra;K;Ca;Mg;Al;H+Al;SB;T;V;M.O.;Argila;pH CaCl2;P\n"
               "A1;5,3;34;12;1;28;51,3;79,3;65;18;95;5,4;12\n"
               "A2;2,1;30;9;2;25;41,1;66,1;62;14;150;5,1;9\n");
    file.close();
    auto w = gui::openWindow();
    QStringList asked, listed;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        } else if (modal && modal->objectName() == "unitQuestion") {
            QVERIFY(listed.isEmpty());
            for (const QComboBox *units : modal->findChildren<QComboBox *>())
                asked << units->currentText();
            answered ? static_cast<QDialog *>(modal)->accept() : static_cast<QDialog *>(modal)->reject();
        } else if (modal && modal->objectName() == "labSampleDialog") {
            listed << "list";
            modal->findChild<QTableWidget *>("tblAmostras")->selectRow(0);
            static_cast<QDialog *>(modal)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            listed << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer.start();
    gui::click(*w, "btnImportar");
    timer.stop();
    asked.sort();
    QCOMPARE(asked, (QStringList{"g/dm³", "g/kg", "mmolc/dm³", "mmolc/dm³", "mmolc/dm³", "mmolc/dm³", "mmolc/dm³",
                                 "mmolc/dm³", "mmolc/dm³"}));
    QCOMPARE(listed, answered ? QStringList{"list"} : QStringList());
    QCOMPARE(w->Edit3->text(), potassium);
    if (answered) {
        QCOMPARE(w->Edit1->text(), QString("9,5"));
        QCOMPARE(w->Edit6->text(), QString("3,4"));
        QCOMPARE(w->Edit8->text(), QString("7,93"));
    }
}

QTEST_MAIN(TstLabImportGui)
#include "tst_lab_import_gui.moc"
