// "Importar...": one sample of a laboratory's file (CSV or .xlsx, read as the
// lab-file run reads it) typed into the producer's and analysis fields in
// their Enter order, key by key, so that every handler runs as for typing.
#include "app/TFPrincipal.h"

#include "batch/LabFile.h"
#include "app/UnitQuestion.h"
#include "batch/LabSample.h"
#include "app/LabSampleList.h"
#include "agronomy/Recommendation.h"
#include "app/widgets_factory.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTabWidget>

namespace {

// A key as the keyboard sends it: its code and its text.
void press(QWidget *field, int key, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &up);
}

int keyOf(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return Qt::Key_0 + (c.unicode() - '0');
    if (c == QLatin1Char(','))
        return Qt::Key_Comma;
    if (c == QLatin1Char('.'))
        return Qt::Key_Period;
    const QChar upper = c.toUpper();
    if (upper >= QLatin1Char('A') && upper <= QLatin1Char('Z'))
        return upper.unicode();
    return c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown;
}

} // namespace

void TFPrincipal::buildImportButton()
{
    // After "Salvar..." in the free space before the report date, and after
    // it in the tab order.
    btnImportar = ui::button(this, QStringLiteral("btnImportar"), QStringLiteral("Importar..."), 392, 658, 90, 26);
    btnImportar->setToolTip(QStringLiteral("Importar uma amostra de um arquivo do laboratório, CSV ou XLSX (Ctrl+I)"));
    setTabOrder(btnSalvar, btnImportar);
    onClick(btnImportar, &TFPrincipal::btnImportarClick);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(shortcut, &QShortcut::activated, this, [this] { guard(&TFPrincipal::btnImportarClick); });
}

void TFPrincipal::btnImportarClick()
{
    if (!mayDiscardCase())
        return;
    QFileDialog dialog(this, QStringLiteral("Importar amostra do laboratório"),
                       labFolder_.isEmpty() ? QDir::currentPath() : labFolder_);
    dialog.setObjectName(QStringLiteral("labFileDialog"));
    dialog.setNameFilters({QStringLiteral("Arquivos do laboratório (*.csv *.xlsx *.xls *.ods *.txt)"),
                           QStringLiteral("Todos os arquivos (*)")});
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    labFolder_ = QFileInfo(path).absolutePath();

    std::unique_ptr<batch::LabFile> lab = batch::LabFile::open(path);
    if (!lab->doubts().isEmpty()) {
        UnitQuestion question(this, QFileInfo(path).fileName(), lab->doubts());
        if (question.exec() != QDialog::Accepted)
            return;
        lab = batch::LabFile::open(path, question.chosen());
    }
    if (!lab->error().isEmpty()) {
        showError(QStringLiteral("\"%1\": %2").arg(QFileInfo(path).fileName(), lab->error()));
        return;
    }
    // A sample without yield keeps the yield the window has.
    constexpr double noYield = -1;
    QList<batch::LabSample> samples;
    QList<LabSampleList::Row> rows;
    batch::CsvRecord record;
    QString notSample;
    while (lab->next(record, &notSample)) {
        if (!notSample.isEmpty())
            continue;
        const batch::LabSample s = batch::readSample(record, lab->map(), noYield);
        samples << s;
        // A value taken on trust (a detection limit) is said before the
        // sample is chosen, as the summary's "Aviso" says it.
        const QString problem = s.error.isEmpty() && !s.warning.isEmpty() ? QStringLiteral("Aviso: ") + s.warning : s.error;
        rows << LabSampleList::Row{s.line, s.text(batch::Column::Amostra), s.text(batch::Column::Produtor),
                                   s.text(batch::Column::Localidade), problem};
    }
    if (samples.isEmpty()) {
        showError(QStringLiteral("\"%1\" não tem amostras").arg(QFileInfo(path).fileName()));
        return;
    }
    LabSampleList list(this, path, rows);
    if (list.exec() != QDialog::Accepted || list.chosen() < 0)
        return;
    const batch::LabSample &s = samples[list.chosen()];
    if (!s.error.isEmpty()) {
        showError(QStringLiteral("A amostra da linha %1 não pode ser importada: %2").arg(s.line).arg(s.error));
        return;
    }
    typeSample(s);
}

void TFPrincipal::typeSample(const batch::LabSample &s)
{
    using batch::Column;
    const auto number = [&](Column c) {
        const std::optional<double> v = s.value(c);
        return v && *v >= 0 ? agronomy::typedText(*v, numbers_) : QString();
    };
    // The Enter order of the fields; the yield only when the file gives it.
    QList<std::pair<QLineEdit *, QString>> typed{
        {Edit55, s.text(Column::Produtor)}, {Edit56, s.text(Column::Cpf)},   {Edit57, s.text(Column::Localidade)},
        {Edit58, s.text(Column::Municipio)}, {Edit59, s.text(Column::Denominacao)}, {Edit60, s.text(Column::Laudo)},
        {Edit1, number(Column::Argila)},     {Edit70, number(Column::Ph)},    {Edit2, number(Column::P)},
        {Edit3, number(Column::K)},          {Edit4, number(Column::Mo)},     {Edit5, number(Column::Al)},
        {Edit6, number(Column::Ca)},         {Edit7, number(Column::Mg)},     {Edit8, number(Column::Ctc)},
        {Edit9, number(Column::V)},
    };
    if (!number(Column::Rendimento).isEmpty())
        typed.append({Edit12, number(Column::Rendimento)});
    // The fields' tab in front, as for a technician typing them.
    for (QWidget *p = Edit55; p; p = p->parentWidget())
        if (PageControl1->indexOf(p) >= 0)
            PageControl1->setCurrentWidget(p);
    activateWindow();
    // Each field is typed where it stands and, where Enter leaves it for the
    // next one, its exit handler runs right away: the handlers do not hang
    // on the window getting the focus back once the list has closed.
    QWidget *reached = nullptr; // where the last Enter leaves the focus
    for (auto &[field, text] : typed) {
        // A one-line field takes no line break nor tab: a name a cell
        // breaks over two lines is typed with a space between them.
        static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\t]+"));
        text.replace(breaks, QStringLiteral(" "));
        field->selectAll();
        press(field, Qt::Key_Backspace);
        for (const QChar c : text)
            press(field, keyOf(c), QString(c));
        // Where Enter stays in the field, the field is not left.
        QWidget *next = host_->enter(field);
        reached = next ? next : field;
    }
    // The focus where the last Enter left it, without leaving any field
    // again: the exits have run.
    if (reached)
        host_->focusQuietly(reached);
}
