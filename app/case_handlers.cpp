// New, open and save: a producer's case kept in a file, and the window
// brought back to its start for the next producer.
#include "core/Version.h"
#include "cases/CaseFile.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

namespace {

const QString kCaption = QStringLiteral("Tuberon - %1  -  Indicação  para Adubação da Cultura da Mandioca ")
                             .arg(QLatin1String(tuberon::shortVersion));

// The first local file a drag carries, or nothing.
QString draggedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

// The tab shown is where the technician stood, not part of the work.
bool sameWork(model::Case a, model::Case b)
{
    a.shownTab = b.shownTab = 0;
    return a == b;
}

} // namespace

void TFPrincipal::buildCaseButtons()
{
    // Beside "&Fechar", in the free space before the report date; after it
    // in the tab order, which stays as it was.
    btnNovo = ui::button(this, QStringLiteral("btnNovo"), QStringLiteral("Novo"), 104, 658, 90, 26);
    btnAbrir = ui::button(this, QStringLiteral("btnAbrir"), QStringLiteral("Abrir..."), 200, 658, 90, 26);
    btnSalvar = ui::button(this, QStringLiteral("btnSalvar"), QStringLiteral("Salvar..."), 296, 658, 90, 26);
    btnNovo->setToolTip(QStringLiteral("Novo caso (Ctrl+N)"));
    btnAbrir->setToolTip(QStringLiteral("Abrir um caso salvo (Ctrl+O)"));
    btnSalvar->setToolTip(QStringLiteral("Salvar o caso com um nome (Ctrl+S salva no arquivo atual)"));
    setTabOrder(DateTimePicker3, btnNovo);
    setTabOrder(btnNovo, btnAbrir);
    setTabOrder(btnAbrir, btnSalvar);
    onClick(btnNovo, &TFPrincipal::btnNovoClick);
    onClick(btnAbrir, &TFPrincipal::btnAbrirClick);
    onClick(btnSalvar, &TFPrincipal::btnSalvarClick);

    const std::pair<QKeySequence, Handler> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), &TFPrincipal::btnNovoClick},
        {QKeySequence(Qt::CTRL | Qt::Key_O), &TFPrincipal::btnAbrirClick},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TFPrincipal::saveCurrentCase},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TFPrincipal::btnSalvarClick},
    };
    for (const auto &[sequence, handler] : keys) {
        auto *shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler = handler] { guard(handler); });
    }

    // A case file dropped anywhere on the window opens, also over a field
    // that would otherwise take the file's name as text.
    setAcceptDrops(true);
    for (QWidget *w : findChildren<QWidget *>())
        if (w->acceptDrops())
            w->installEventFilter(this);
}

void TFPrincipal::watchForChanges()
{
    if (modifiedCheck_.isSingleShot())
        return; // already watching
    // A change is compared with the case as opened only once the event that
    // made it is over: a handler writing many fields costs one comparison.
    modifiedCheck_.setSingleShot(true);
    modifiedCheck_.setInterval(0);
    connect(&modifiedCheck_, &QTimer::timeout, this, [this] {
        if (const bool modified = caseModified(); modified != isWindowModified())
            updateCaption(modified);
    });
    const auto changed = [this] { modifiedCheck_.start(); };
    for (QWidget *w : findChildren<QWidget *>()) {
        if (!inCase(w))
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            connect(edit, &QLineEdit::textChanged, this, changed);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
            connect(memo, &QPlainTextEdit::textChanged, this, changed);
        else if (auto *grid = qobject_cast<StringGrid *>(w))
            connect(grid, &QTableWidget::itemChanged, this, changed);
        else if (auto *list = qobject_cast<QComboBox *>(w)) {
            connect(list, &QComboBox::currentIndexChanged, this, changed);
            connect(list, &QComboBox::editTextChanged, this, changed);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (button->isCheckable())
                connect(button, &QAbstractButton::toggled, this, changed);
        } else if (auto *picker = qobject_cast<QDateTimeEdit *>(w))
            connect(picker, &QDateTimeEdit::dateChanged, this, changed);
    }
}

bool TFPrincipal::caseModified() const
{
    // Before its first frame the window holds nobody's work.
    return unmodifiedTaken_ && !sameWork(caseState(), unmodified_);
}

void TFPrincipal::markUnmodified(const cases::Stamp &stamp)
{
    watchForChanges();
    unmodified_ = caseState();
    unmodifiedTaken_ = true;
    caseFileStamp_ = stamp;
    modifiedCheck_.stop();
    updateCaption(false);
}

void TFPrincipal::updateCaption(bool modified)
{
    // Qt shows "[*]" as "*" while the window is modified; the caption of an
    // unchanged case holds no placeholder at all.
    const QString mark = modified ? QStringLiteral("[*]") : QString();
    if (!modified)
        setWindowModified(false);
    setWindowTitle(caseFile_.isEmpty() ? mark + kCaption
                                       : QFileInfo(caseFile_).fileName() + mark + QStringLiteral(" - ") + kCaption);
    if (modified)
        setWindowModified(true);
}

void TFPrincipal::startOnce()
{
    if (shown_)
        return;
    shown_ = true;
    guard(&TFPrincipal::FormShow);
}

void TFPrincipal::takeUnmodifiedOnce()
{
    // Nobody can change the window before its first frame: what it holds
    // then is the start, unless a case was opened or started already.
    if (!unmodifiedTaken_)
        markUnmodified();
}

void TFPrincipal::setCaseFile(const QString &path)
{
    caseFile_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    updateCaption(isWindowModified());
}

void TFPrincipal::newCase()
{
    startOnce();
    guard([this] { resetToStart(); });
    setCaseFile(QString());
    markUnmodified();
    storedSeason_ = 0;
}

bool TFPrincipal::openCase(const QString &path)
{
    bool opened = false;
    cases::Stamp stamp;
    guard([&] {
        const QString name = QFileInfo(path).fileName();
        const model::Case c = model::withSeparator(
            cases::readFile(path, [&](const cases::FormatOne &old) { return migrated(old, name); }, &stamp),
            numbers().separator());
        checkCase(c, name);
        // Nothing below can fail: the whole file was checked above.
        startOnce();
        resetToStart();
        restoreCase(c);
        redrawAfterRestore();
        opened = true;
    });
    if (opened) {
        setCaseFile(path);
        markUnmodified(stamp);
        storedSeason_ = 0;
    }
    return opened;
}

bool TFPrincipal::saveCase(const QString &path)
{
    // A cell still being typed in is part of the case.
    for (StringGrid *grid : findChildren<StringGrid *>())
        grid->commitEditing();
    const QString target = QFileInfo(path).absoluteFilePath();
    if (target == caseFile_ && !mayReplaceChangedFile(target))
        return false;
    bool saved = false;
    cases::Stamp stamp;
    const model::Case c = caseState();
    guard([&] {
        cases::writeFile(path, c, &stamp);
        saved = true;
    });
    if (saved) {
        setCaseFile(path);
        markUnmodified(stamp);
        // The file is saved whatever becomes of the store's record.
        guard([&] { recordInCases(c); });
    }
    return saved;
}

bool TFPrincipal::mayReplaceChangedFile(const QString &path)
{
    if (!cases::changedSince(path, caseFileStamp_))
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tuberon"),
                    QStringLiteral("O arquivo \"%1\" foi alterado por outro programa desde que foi aberto ou salvo "
                                   "nesta janela. Substituir?")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("replaceChangedFilePrompt"));
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Substituir"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

bool TFPrincipal::mayDiscardCase()
{
    for (StringGrid *grid : findChildren<StringGrid *>())
        grid->commitEditing();
    if (!caseModified())
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tuberon"), QStringLiteral("Salvar as alterações?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("saveChangesPrompt"));
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Save)->setText(QStringLiteral("Salvar"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Descartar"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // A box closed any other way is a "Cancelar": nothing is lost.
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveToCurrentFile();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

QString TFPrincipal::askCaseFile(bool saving)
{
    const QString folder = caseFile_.isEmpty() ? QDir::currentPath() : QFileInfo(caseFile_).absolutePath();
    QFileDialog dialog(this, saving ? QStringLiteral("Salvar caso") : QStringLiteral("Abrir caso"), folder);
    dialog.setObjectName(QStringLiteral("caseFileDialog"));
    dialog.setNameFilters({QStringLiteral("Casos do Tuberon (*.%1)").arg(QLatin1String(cases::fileSuffix)),
                           QStringLiteral("Todos os arquivos (*)")});
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QLatin1String(cases::fileSuffix));
    if (saving && !caseFile_.isEmpty())
        dialog.selectFile(caseFile_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool TFPrincipal::saveCaseAs()
{
    const QString path = askCaseFile(true);
    return !path.isEmpty() && saveCase(path);
}

void TFPrincipal::btnNovoClick()
{
    if (mayDiscardCase())
        newCase();
}

void TFPrincipal::btnAbrirClick()
{
    if (!mayDiscardCase())
        return;
    if (const QString path = askCaseFile(false); !path.isEmpty())
        openCase(path);
}

void TFPrincipal::btnSalvarClick() { saveCaseAs(); }

void TFPrincipal::saveCurrentCase() { saveToCurrentFile(); }

bool TFPrincipal::saveToCurrentFile()
{
    // A cell still being typed in is part of the case.
    for (StringGrid *grid : findChildren<StringGrid *>())
        grid->commitEditing();
    return caseFile_.isEmpty() ? saveCaseAs() : saveCase(caseFile_);
}

void TFPrincipal::closeEvent(QCloseEvent *event)
{
    if (mayDiscardCase())
        QWidget::closeEvent(event);
    else
        event->ignore();
}

bool TFPrincipal::caseDragEvent(QEvent *event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = draggedFile(drop->mimeData());
    if (path.isEmpty())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        // Opened once the drop is over: a message box must not run inside
        // the drag and drop exchange with the file manager.
        QMetaObject::invokeMethod(
            this,
            [this, path] {
                if (mayDiscardCase())
                    openCase(path);
            },
            Qt::QueuedConnection);
    }
    return true;
}

void TFPrincipal::dragEnterEvent(QDragEnterEvent *event)
{
    if (!caseDragEvent(event))
        QWidget::dragEnterEvent(event);
}

void TFPrincipal::dropEvent(QDropEvent *event)
{
    if (!caseDragEvent(event))
        QWidget::dropEvent(event);
}
