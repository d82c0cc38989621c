// "Casos...": the store of cases in the window. Every save records the case
// as a season of its producer's field; the browser finds a season again,
// opens it, shows a field's history and compares two seasons.
#include "app/CaseBrowser.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"
#include "store/Store.h"

#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

void TFPrincipal::buildCasesButton()
{
    casesPath_ = store::Store::defaultPath();
    // After "Menor custo...", in the free space before the report date, and
    // after it in the tab order.
    btnCasos = ui::button(this, QStringLiteral("btnCasos"), QStringLiteral("Casos..."), 584, 658, 90, 26);
    btnCasos->setToolTip(QStringLiteral("Procurar um caso gravado: produtores, talhões e safras (Ctrl+L)"));
    setTabOrder(btnMenorCusto, btnCasos);
    onClick(btnCasos, &TFPrincipal::btnCasosClick);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(shortcut, &QShortcut::activated, this, [this] { guard(&TFPrincipal::btnCasosClick); });
}

void TFPrincipal::btnCasosClick()
{
    CaseBrowser browser(casesPath_, this);
    if (browser.exec() != QDialog::Accepted || !browser.chosen())
        return;
    const model::Case c = browser.chosenCase();
    if (mayDiscardCase())
        openStoredCase(c, browser.path() == casesPath_ ? browser.chosen()->id : 0);
}

bool TFPrincipal::openStoredCase(const model::Case &stored, qint64 season)
{
    bool opened = false;
    guard([&] {
        const model::Case c = model::withSeparator(stored, numbers().separator());
        checkCase(c, QStringLiteral("banco de casos"));
        // Nothing below can fail: the whole case was checked above.
        startOnce();
        resetToStart();
        restoreCase(c);
        redrawAfterRestore();
        opened = true;
    });
    if (opened) {
        // A season is no file: "Salvar..." asks for a name, and records the
        // season again in place.
        setCaseFile(QString());
        markUnmodified();
        storedSeason_ = season;
    }
    return opened;
}

void TFPrincipal::recordInCases(const model::Case &c)
{
    // A case of nobody (no producer's name nor CPF) is no producer's season.
    if (c.producer.name.trimmed().isEmpty() && c.producer.cpf.trimmed().isEmpty())
        return;
    store::Store cases(casesPath_);
    if (const std::optional<store::Season> old = cases.existing(c); old && old->id != storedSeason_) {
        // Another case of the same field and day: replaced only when the
        // technician says so (the same case saved again is not asked about).
        if (!(cases.caseOf(old->id) == c)) {
            QMessageBox box(QMessageBox::Question, QStringLiteral("Tuberon"),
                            QStringLiteral("O banco de casos já tem uma safra de %1 no talhão \"%2\" de %3%4. "
                                           "Substituir essa safra por este caso?")
                                .arg(old->date.toString(QStringLiteral("dd/MM/yyyy")), old->fieldName, old->producerName,
                                     old->report.isEmpty() ? QString()
                                                           : QStringLiteral(" (laudo %1)").arg(old->report)),
                            QMessageBox::Yes | QMessageBox::No, this);
            box.setObjectName(QStringLiteral("replaceSeasonPrompt"));
            box.setTextFormat(Qt::PlainText);
            box.button(QMessageBox::Yes)->setText(QStringLiteral("Substituir"));
            box.button(QMessageBox::No)->setText(QStringLiteral("Não gravar no banco"));
            box.setDefaultButton(QMessageBox::No);
            if (box.exec() != QMessageBox::Yes)
                return;
        }
    }
    storedSeason_ = cases.record(c).season;
}
