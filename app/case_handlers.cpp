// New, open and save: a producer's case kept in a file, and the window
// brought back to its start for the next producer.
#include "CaseFile.h"
#include "StringGrid.h"
#include "TFPrincipal.h"
#include "widgets_factory.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

namespace {

const QString kCaption = QStringLiteral("Tuberon - 1.0  -  Indicação  para Adubação da Cultura da Mandioca ");

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

void TFPrincipal::startOnce()
{
    if (shown_)
        return;
    shown_ = true;
    guard(&TFPrincipal::FormShow);
}

void TFPrincipal::setCaseFile(const QString &path)
{
    caseFile_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    setWindowTitle(caseFile_.isEmpty() ? kCaption : QFileInfo(caseFile_).fileName() + QStringLiteral(" - ") + kCaption);
}

void TFPrincipal::newCase()
{
    startOnce();
    guard([this] { resetToStart(); });
    setCaseFile(QString());
}

bool TFPrincipal::openCase(const QString &path)
{
    bool opened = false;
    guard([&] {
        const cases::Case c = cases::withSeparator(cases::readFile(path), numbers().separator());
        checkCase(c, QFileInfo(path).fileName());
        // Nothing below can fail: the whole file was checked above.
        startOnce();
        resetToStart();
        restoreCase(c);
        redrawAfterRestore();
        opened = true;
    });
    if (opened)
        setCaseFile(path);
    return opened;
}

bool TFPrincipal::saveCase(const QString &path)
{
    // A cell still being typed in is part of the case.
    for (StringGrid *grid : findChildren<StringGrid *>())
        grid->commitEditing();
    bool saved = false;
    guard([&] {
        cases::writeFile(path, caseState());
        saved = true;
    });
    if (saved)
        setCaseFile(path);
    return saved;
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

void TFPrincipal::btnNovoClick() { newCase(); }

void TFPrincipal::btnAbrirClick()
{
    if (const QString path = askCaseFile(false); !path.isEmpty())
        openCase(path);
}

void TFPrincipal::btnSalvarClick() { saveCaseAs(); }

void TFPrincipal::saveCurrentCase()
{
    if (caseFile_.isEmpty())
        saveCaseAs();
    else
        saveCase(caseFile_);
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
        QMetaObject::invokeMethod(this, [this, path] { openCase(path); }, Qt::QueuedConnection);
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
