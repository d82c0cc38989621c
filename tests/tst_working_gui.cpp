#include "agronomy/Recommendation.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "reports/ReportFile.h"
#include "gui_helpers.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolTip>

// Every computed field and cell tells how it was reached, with the case's
// numbers; what was typed over or left stale by a later change says so; and
// "Memória de cálculo..." gathers it all.
class TstWorkingGui : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholeCase();
    void staleAndTyped();
    void printedWorking();
    void openedCase();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_;
};

namespace {

// Clay 35, P 6,5, K 40, MO 1,5, Al 0,4, Ca 1, Mg 0,5, CTC 8, V 30, yield 30, PRNT 80.
const agronomy::Analysis analysis{35, 6.5, 40, 1.5, 0.4, 1, 0.5, 8, 30, 30, 80};

// The analysis typed field by field, the liming and the PRNT correction
// calculated and both splits made, as a technician goes through a case.
std::unique_ptr<TFPrincipal> wholeCaseWindow()
{
    auto w = gui::openWindow(gui::comma());
    const QList<QPair<QLineEdit *, QString>> fields{
        {w->Edit1, "35"}, {w->Edit2, "6.5"}, {w->Edit3, "40"}, {w->Edit4, "1.5"}, {w->Edit5, "0.4"},
        {w->Edit6, "1"},  {w->Edit7, "0.5"}, {w->Edit8, "8"},  {w->Edit9, "30"},  {w->Edit12, "30"}};
    const QStringList messages = gui::messagesDuring([&] {
        for (const auto &[field, text] : fields) {
            gui::typeInto(field, text);
            gui::leaveTo(w->Edit55);
        }
        gui::click(*w, "Button1");
        gui::typeInto(w->Edit24, QStringLiteral("80"));
        gui::click(*w, "Button2");
        gui::click(*w, "Button3");
        gui::click(*w, "Button4");
    });
    if (!messages.isEmpty())
        qWarning("unexpected messages: %s", qPrintable(messages.join(" | ")));
    return w;
}

// The tooltip a user reads resting the mouse on a point of a widget.
QString tooltipAt(QWidget *widget, QPoint at)
{
    QToolTip::hideText();
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return QToolTip::text();
}

QString cellTooltip(StringGrid *grid, int column, int row)
{
    return tooltipAt(grid->viewport(), grid->visualItemRect(grid->item(row, column)).center());
}

} // namespace

void TstWorkingGui::init()
{
    previous_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    reports::setOpener([](const QString &) {});
}

void TstWorkingGui::cleanup()
{
    QDir::setCurrent(previous_);
    dir_.reset();
}

void TstWorkingGui::wholeCase()
{
    auto w = wholeCaseWindow();
    QCOMPARE(w->workingOf(w->Edit11),
             QStringLiteral("Classe de P: Médio. Argila 35 % (> 20 % e ≤ 40 %) → classe 3, limites de P "
                            "3,0 / 6,0 / 9,0 / 18,0 mg/dm³; P = 6,5 mg/dm³ está acima de 6,0 e até 9,0."));
    QCOMPARE(w->workingOf(w->Edit61),
             QStringLiteral("Necessidade de calagem: 0,84 t/ha. Baixo poder tampão (CTC 8 < 10, MO 1,5 % < 2 %; a "
                            "saturação de bases pede argila ≥ 15 %, CTC ≥ 10 e MO ≥ 2 %): critério do baixo poder "
                            "tampão; NC = 0,842 t/ha, até 2 t/ha: sem limitação."));
    QCOMPARE(w->workingOf(w->stga2, 3, 2),
             QStringLiteral("K2O na 1ª cobertura: 42,50 kg/ha. K2O 82,5 kg/ha > 40 kg/ha: 40 no plantio, pois as "
                            "raízes novas absorvem pouco potássio, e o restante, 82,5 − 40 = 42,50 kg/ha, na 1ª "
                            "cobertura."));
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit64")), QStringLiteral("Faltante de N na 1ª cobertura: 27,13 kg/ha. A dose da aplicação, "
                                                     "do parcelamento."));
    // A field nothing computes tells nothing; a computed one typed into says so.
    QCOMPARE(w->workingOf(w->Edit17), QString());
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit77")),
             QStringLiteral("Valor digitado ou inicial: nenhum cálculo o escreveu."));


    // Resting the mouse shows the same, on a field and on a cell.
    QVERIFY2(tooltipAt(w->Edit11, {5, 5}).contains(QStringLiteral("Classe de P: Médio. Argila 35 %")),
             qPrintable(QToolTip::text()));
    QVERIFY2(cellTooltip(w->stga1, 3, 1).contains(QStringLiteral("N no plantio: 11,63 kg/ha. Dose 77,5 kg/ha × 15 %")),
             qPrintable(QToolTip::text()));

    // The window tells each result as the pipeline does for the same analysis.
    CaseWorking pipeline;
    agronomy::recommend(analysis, w->numbers(), &pipeline);
    const CaseWorking window = w->caseWorking();
    for (const WorkingStep &step : std::as_const(pipeline)) {
        const auto same = std::find_if(window.cbegin(), window.cend(),
                                       [&](const WorkingStep &s) { return s.told.what == step.told.what; });
        QVERIFY2(same != window.cend(), qPrintable(step.told.what));
        QCOMPARE(same->told.text(), step.told.text());
        QCOMPARE(same->section, step.section);
    }

    // A top-dressing proposal and what is still missing after it is listed.
    w->PageControl1->setCurrentWidget(w->TabSheet6);
    QCOMPARE(gui::pick(w->ComboBox3, w->ComboBox3->findText(QStringLiteral("Uréia "))), QStringList());
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit41")),
             QStringLiteral("Quantidade proposta: 60,3 kg. N: faltam 27,13 kg e o produto tem 45 %: 100 × 27,13 / 45 = "
                            "60,3 kg; K2O: o produto não tem, não decide."));
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit45")), QStringLiteral("N fornecido: 27,1 kg. ≈ 60,289 kg × 45 % = 27,1 kg."));
    gui::click(*w, "Button11");
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit64")),
             QStringLiteral("Faltante de N na 1ª cobertura: 0,03 kg/ha. Dose 27,13 kg/ha − 27,1 kg fornecidos pelo "
                            "produto da lista = 0,03 kg/ha."));
}

// A late change leaves some results as they were until their handler runs
// again: their working says from what they were computed. A result typed
// over says so too, in the tooltip and in the whole working.
void TstWorkingGui::staleAndTyped()
{
    auto w = wholeCaseWindow();
    gui::typeInto(w->Edit1, QStringLiteral("70"));
    gui::leaveTo(w->Edit55);
    QCOMPARE(w->Edit11->text(), QStringLiteral("Alto"));
    QCOMPARE(w->edit32->text(), QStringLiteral("45,0"));
    QCOMPARE(w->workingOf(w->edit32),
             QStringLiteral("Desatualizado: calculado com Classe de P = \"Médio\" (agora \"Alto\"); o valor é refeito "
                            "quando o seu cálculo rodar de novo. Dose de P2O5: 45,0 kg/ha. Classe de P Médio: P2O5 = "
                            "45,0 kg/ha, qualquer que seja a produtividade."));
    QVERIFY(w->workingOf(w->Edit61).startsWith(
        QStringLiteral("Desatualizado: calculado com Argila = \"35\" (agora \"70\"); ")));
    // The class itself was computed again and stands.
    QVERIFY(w->workingOf(w->Edit11).startsWith(QStringLiteral("Classe de P: Alto. Argila 70 % (≥ 60 %)")));

    gui::typeInto(w->edit30, QStringLiteral("90"));
    QVERIFY2(w->workingOf(w->edit30).startsWith(
                 QStringLiteral("Valor digitado: \"90\"; o programa havia escrito \"77,50\". Dose de N: 77,50 kg/ha.")),
             qPrintable(w->workingOf(w->edit30)));
    QVERIFY2(tooltipAt(w->edit30, {5, 5}).contains(QStringLiteral("Valor digitado: &quot;90&quot;")),
             qPrintable(QToolTip::text()));

    const CaseWorking working = w->caseWorking();
    const auto dose = std::find_if(working.cbegin(), working.cend(),
                                   [](const WorkingStep &s) { return s.told.what == QLatin1String("Dose de P2O5"); });
    QVERIFY(dose != working.cend());
    QVERIFY(dose->told.why.startsWith(QStringLiteral("Desatualizado: calculado com Classe de P = \"Médio\"")));
    // The order computed: the clay class, computed again last, comes after the doses.
    const auto at = [&](const char *what) {
        return std::find_if(working.cbegin(), working.cend(),
                            [&](const WorkingStep &s) { return s.told.what == QLatin1String(what); }) - working.cbegin();
    };
    QVERIFY(at("Classe de argila") > at("Dose de P2O5"));
}

// "Memória de cálculo..." previews the whole working; it prints, goes to PDF
// and to text as the reports do.
void TstWorkingGui::printedWorking()
{
    auto w = wholeCaseWindow();
    w->Edit55->setText(QStringLiteral("João da Silva"));
    QString exported;
    w->PageControl1->setCurrentWidget(w->TabSheet4);
    QStringList messages;
    QVERIFY(gui::whileOpen<ReportPreview>(
        [&] { messages = gui::messagesDuring([&] { QTest::mouseClick(w->btnMemoria, Qt::LeftButton); }); },
        [&](ReportPreview &preview) {
            QCOMPARE(preview.windowTitle(), QStringLiteral("Memória de cálculo"));
            if (preview.exportPdf(QStringLiteral("memoria.pdf")))
                exported = QStringLiteral("memoria.pdf");
            preview.findChild<QAction *>(QStringLiteral("actionSaveText"))->trigger();
        }));
    QCOMPARE(messages, QStringList());

    QFile text(QStringLiteral("MemoriaTuberon.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray bytes = text.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "MEMÓRIA DE CÁLCULO\r\n"));
    const QString lines = QString::fromUtf8(bytes);
    QVERIFY(lines.contains(QStringLiteral("Produtor: João da Silva\r\n")));
    QVERIFY(lines.contains(QStringLiteral("\r\nINTERPRETAÇÃO DA ANÁLISE DO SOLO\r\n- Classe de argila: Classe 3.")));
    QVERIFY(lines.contains(QStringLiteral("\r\n- Calcário comercial: 1,050 t/ha. Necessidade (PRNT 100 %) × 100 / "
                                          "PRNT = 0,84 × 100 / 80 = 1,050 t/ha.\r\n")));

    QCOMPARE(exported, QStringLiteral("memoria.pdf"));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("memoria.pdf"), QStringLiteral("-")});
    QVERIFY(p.waitForFinished());
    const QString page = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    QVERIFY2(page.contains(QStringLiteral("Memória de cálculo Produtor: João da Silva")), qPrintable(page));
    QVERIFY2(page.contains(QStringLiteral("Faltante de K2O na 1ª cobertura: 42,50 kg/ha.")), qPrintable(page));
}

// A case file keeps the results, not how they were reached: opened, they say
// so until their handlers run again; a new case forgets the old working.
void TstWorkingGui::openedCase()
{
    auto first = wholeCaseWindow();
    QVERIFY(first->saveCase(QStringLiteral("caso.tuberon")));
    auto w = gui::openWindow(gui::comma());
    QCOMPARE(gui::messagesDuring([&] { QVERIFY(w->openCase(QStringLiteral("caso.tuberon"))); }), QStringList());
    QCOMPARE(w->Edit11->text(), QStringLiteral("Médio"));
    QCOMPARE(w->workingOf(w->Edit11),
             QStringLiteral("Valor digitado ou lido do caso aberto: nenhum cálculo desta sessão o escreveu."));
    QVERIFY(w->caseWorking().isEmpty());
    w->Edit2->setFocus(Qt::TabFocusReason);
    gui::leaveTo(w->Edit55);
    QVERIFY(w->workingOf(w->Edit11).startsWith(QStringLiteral("Classe de P: Médio. Argila 35 %")));

    w->newCase();
    QVERIFY(w->caseWorking().isEmpty());
    QCOMPARE(w->workingOf(gui::find(w.get(), "Edit41")),
             QStringLiteral("Valor digitado ou inicial: nenhum cálculo o escreveu."));
}

QTEST_MAIN(TstWorkingGui)
#include "tst_working_gui.moc"
