// The store of cases through the window: two seasons of one field saved,
// found again with "Casos...", their history and their comparison, one
// opened in the window; a save that would replace another case's season.
#include "app/CaseBrowser.h"
#include "app/FieldHistory.h"
#include "app/SeasonComparison.h"
#include "batch/LabSample.h"
#include "gui_helpers.h"
#include "store/Store.h"

#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

batch::LabSample sample(double p, double k, double v, const QString &report)
{
    using batch::Column;
    batch::LabSample s;
    s.texts[int(Column::Produtor)] = QStringLiteral("João da Silva");
    s.texts[int(Column::Cpf)] = QStringLiteral("123.456.789-09");
    s.texts[int(Column::Localidade)] = QStringLiteral("Km 12");
    s.texts[int(Column::Municipio)] = QStringLiteral("Cruz das Almas");
    s.texts[int(Column::Denominacao)] = QStringLiteral("Gleba 1");
    s.texts[int(Column::Laudo)] = report;
    const std::pair<Column, double> values[] = {{Column::Argila, 35}, {Column::Ph, 5.4}, {Column::P, p},
                                                {Column::K, k},       {Column::Mo, 2.1}, {Column::Al, 0.4},
                                                {Column::Ca, 2.1},    {Column::Mg, 0.8}, {Column::Ctc, 8.5},
                                                {Column::V, v}};
    for (const auto &[column, value] : values)
        s.values[int(column)] = value;
    return s;
}

// Where the screenshots go when TUBERON_SHOTS names a folder.
void shot(QWidget &widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("TUBERON_SHOTS");
    if (folder.isEmpty())
        return;
    widget.show();
    QTest::qWait(200);
    widget.grab().save(QDir(folder).filePath(name));
}

QStringList seasonTexts(const QTreeWidget *tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
        texts << QString((*it)->text(0) + QLatin1Char('|') + (*it)->text(1));
    return texts;
}

} // namespace

class TstStoreGui : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void twoSeasonsFoundComparedAndOpened();
    void anotherCaseOfTheSameDayIsAsked();

private:
    QTemporaryDir dir_;
    // Saves the window's case to a file of its own, which records it.
    void save(TFPrincipal &w, const QString &name)
    {
        const QStringList shown = gui::messagesDuring([&] { QVERIFY(w.saveCase(dir_.filePath(name))); });
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
    }
};

void TstStoreGui::initTestCase()
{
    // The default store, and anything else of the user's data, in here.
    qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("dados")).toUtf8());
}

void TstStoreGui::twoSeasonsFoundComparedAndOpened()
{
    // The window's own store is the user's data folder's; tests use their own.
    QVERIFY(store::Store::defaultPath().startsWith(dir_.path()));
    auto w = gui::openWindow();
    w->setCasesPath(dir_.filePath(QStringLiteral("casos.sqlite")));

    w->typeSample(sample(6, 58.65, 35, QStringLiteral("L-2024-01")));
    w->DateTimePicker3->setDate(QDate(2024, 3, 15));
    save(*w, QStringLiteral("safra2024.tuberon"));
    w->typeSample(sample(25, 90, 62, QStringLiteral("L-2025-07")));
    w->DateTimePicker3->setDate(QDate(2025, 3, 10));
    save(*w, QStringLiteral("safra2025.tuberon"));
    // Saved again as it is: the same season, rewritten without a question.
    save(*w, QStringLiteral("safra2025.tuberon"));
    {
        store::Store s(w->casesPath(), store::Store::Mode::Read);
        QCOMPARE(s.seasons({}, {}).size(), 2);
    }
    // A change not saved: opening a season asks first.
    gui::typeAndLeave(w->Edit60, QStringLiteral("L-rascunho"), w->Edit1);

    bool browsed = false, historyShown = false, compared = false;
    QStringList questions;
    gui::whileOpen<QMessageBox>(
        [&] {
            gui::whileOpen<CaseBrowser>([&] { gui::click(*w, "btnCasos"); }, [&](CaseBrowser &b) {
                browsed = true;
                // One producer, folded until it is opened.
                QCOMPARE(b.tree()->topLevelItemCount(), 1);
                QVERIFY(b.tree()->topLevelItem(0)->text(0).startsWith(QStringLiteral("João da Silva")));
                // Typed letter by letter, without accents: the field and its seasons, newest first.
                QTest::keyClicks(b.searchBox(), QStringLiteral("joao"));
                QCOMPARE(seasonTexts(b.tree()),
                         QStringList({"João da Silva · 123.456.789-09 · Cruz das Almas|", "Gleba 1|",
                                      "10/03/2025|L-2025-07", "15/03/2024|L-2024-01"}));
                b.searchBox()->clear();
                QTest::keyClicks(b.searchBox(), QStringLiteral("L-2024"));
                QCOMPARE(seasonTexts(b.tree()).size(), 3);
                QTest::keyClicks(b.searchBox(), QStringLiteral("x"));
                QCOMPARE(b.tree()->topLevelItemCount(), 0);
                b.searchBox()->clear();
                QTest::keyClicks(b.searchBox(), QStringLiteral("gleba"));
                QTreeWidgetItem *field = b.tree()->topLevelItem(0)->child(0);
                QTreeWidgetItem *newer = field->child(0), *older = field->child(1);
                shot(b, QStringLiteral("navegador.png"));

                // The field's history: both seasons, oldest first, and the chart's five curves.
                b.tree()->setCurrentItem(field);
                gui::whileOpen<FieldHistory>([&] { b.showHistory(); }, [&](FieldHistory &h) {
                    historyShown = true;
                    QCOMPARE(h.table()->rowCount(), 2);
                    QCOMPARE(h.table()->item(0, 0)->text(), QStringLiteral("15/03/2024"));
                    QCOMPARE(h.table()->item(1, 4)->text(), QStringLiteral("25")); // P
                    const QList<QAbstractSeries *> series = h.chartView()->chart()->series();
                    QCOMPARE(series.size(), 5);
                    QStringList names;
                    for (QAbstractSeries *s : series) {
                        names << s->name();
                        QCOMPARE(static_cast<QLineSeries *>(s)->count(), 2);
                    }
                    QCOMPARE(names, QStringList({"pH", "V (%)", "P (mg/dm³)", "K (mg/dm³)", "MO (%)"}));
                    QCOMPARE(static_cast<QLineSeries *>(series[2])->at(1).y(), 25.0);
                    const QString csv = dir_.filePath(QStringLiteral("historico.csv"));
                    const QString png = dir_.filePath(QStringLiteral("historico.png"));
                    QVERIFY(h.exportCsv(csv));
                    QVERIFY(h.exportPng(png));
                    QFile file(csv);
                    QVERIFY(file.open(QIODevice::ReadOnly));
                    const QList<QByteArray> lines = file.readAll().split('\n');
                    QVERIFY(lines[0].startsWith("\xEF\xBB\xBFProdutor;CPF;"));
                    QVERIFY(lines[1].startsWith("João da Silva;123.456.789-09;Cruz das Almas;Gleba 1;2024-03-15;"));
                    const QImage picture(png);
                    QCOMPARE(picture.size(), QSize(766, 415));
                    QVERIFY(picture.pixelColor(5, 5) == Qt::white);
                    shot(h, QStringLiteral("historico-janela.png"));
                    if (!qEnvironmentVariable("TUBERON_SHOTS").isEmpty())
                        picture.save(QDir(qEnvironmentVariable("TUBERON_SHOTS")).filePath(QStringLiteral("historico-grafico.png")));
                });

                // The two seasons side by side.
                b.tree()->clearSelection();
                newer->setSelected(true);
                older->setSelected(true);
                gui::whileOpen<SeasonComparison>([&] { b.compareSelected(); }, [&](SeasonComparison &c) {
                    compared = true;
                    QTableWidget *t = c.table();
                    QVERIFY(t->horizontalHeaderItem(2)->text().startsWith(QStringLiteral("15/03/2024")));
                    QVERIFY(t->horizontalHeaderItem(3)->text().startsWith(QStringLiteral("10/03/2025")));
                    bool pRow = false;
                    for (int r = 0; r < t->rowCount(); ++r)
                        if (t->item(r, 1)->text() == QStringLiteral("P (mg/dm³)")) {
                            pRow = true;
                            QCOMPARE(t->item(r, 2)->text(), QStringLiteral("6"));
                            QCOMPARE(t->item(r, 3)->text(), QStringLiteral("25"));
                            QCOMPARE(t->item(r, 4)->text(), QStringLiteral("+19"));
                        }
                    QVERIFY(pRow);
                    QVERIFY2(c.changes()->toPlainText().contains(QStringLiteral("Doses, P2O5 (kg/ha): ")),
                             qPrintable(c.changes()->toPlainText()));
                    shot(c, QStringLiteral("comparacao.png"));
                });

                // The older season opens in the window.
                b.tree()->clearSelection();
                older->setSelected(true);
                b.openSelected();
            });
        },
        [&](QMessageBox &box) {
            questions << box.text();
            box.button(QMessageBox::Discard)->click();
        });
    QVERIFY(browsed && historyShown && compared);
    QCOMPARE(questions, QStringList{QStringLiteral("Salvar as alterações?")});
    QCOMPARE(w->Edit60->text(), QStringLiteral("L-2024-01"));
    QCOMPARE(w->Edit2->text(), QStringLiteral("6"));
    QCOMPARE(w->DateTimePicker3->date(), QDate(2024, 3, 15));
    QVERIFY(w->caseFile().isEmpty());
    QVERIFY(!w->caseModified());
}

void TstStoreGui::anotherCaseOfTheSameDayIsAsked()
{
    auto w = gui::openWindow();
    w->setCasesPath(dir_.filePath(QStringLiteral("outro.sqlite")));
    w->typeSample(sample(6, 58.65, 35, QStringLiteral("L-1")));
    w->DateTimePicker3->setDate(QDate(2024, 3, 15));
    save(*w, QStringLiteral("primeiro.tuberon"));

    // Another case of the same producer, field and day, typed anew.
    w->newCase();
    w->typeSample(sample(12, 70, 40, QStringLiteral("L-2")));
    w->DateTimePicker3->setDate(QDate(2024, 3, 15));
    const auto saveAnswering = [&](QMessageBox::StandardButton answer) {
        QStringList asked;
        gui::whileOpen<QMessageBox>([&] { QVERIFY(w->saveCase(dir_.filePath(QStringLiteral("segundo.tuberon")))); },
                                    [&](QMessageBox &box) {
                                        asked << box.objectName();
                                        box.button(answer)->click();
                                    });
        return asked;
    };
    const auto reportInStore = [&] {
        store::Store s(w->casesPath(), store::Store::Mode::Read);
        const QList<store::Season> all = s.seasons({}, {});
        return all.size() == 1 ? all[0].report : QString();
    };
    QCOMPARE(saveAnswering(QMessageBox::No), QStringList{"replaceSeasonPrompt"});
    QCOMPARE(reportInStore(), QStringLiteral("L-1"));
    QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("segundo.tuberon")))); // the file is saved all the same
    QCOMPARE(saveAnswering(QMessageBox::Yes), QStringList{"replaceSeasonPrompt"});
    QCOMPARE(reportInStore(), QStringLiteral("L-2"));
    // From then on it is this window's season: saved again, not asked.
    w->Edit60->setText(QStringLiteral("L-2b"));
    QCOMPARE(saveAnswering(QMessageBox::No), QStringList());
    QCOMPARE(reportInStore(), QStringLiteral("L-2b"));
}

QTEST_MAIN(TstStoreGui)
#include "tst_store_gui.moc"
