#include "app/CaseBrowser.h"

#include "app/FieldHistory.h"
#include "app/SeasonComparison.h"
#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Kind { ProducerItem = 1, FieldItem, SeasonItem };
constexpr int kindRole = Qt::UserRole, idRole = Qt::UserRole + 1, fieldRole = Qt::UserRole + 2;

QTreeWidgetItem *item(Kind kind, qint64 id, const QStringList &texts)
{
    auto *i = new QTreeWidgetItem(texts);
    i->setData(0, kindRole, int(kind));
    i->setData(0, idRole, id);
    return i;
}

QTreeWidgetItem *seasonItem(const store::Season &s)
{
    QTreeWidgetItem *i = item(SeasonItem, s.id,
                              {s.date.toString(QStringLiteral("dd/MM/yyyy")), s.report,
                               QStringLiteral("P %1 · K %2 · V %3 %").arg(s.value(store::Value::P), s.value(store::Value::K),
                                                                       s.value(store::Value::V))});
    i->setData(0, fieldRole, s.field);
    return i;
}

QTreeWidgetItem *fieldItem(qint64 id, const QString &name, int seasons)
{
    QTreeWidgetItem *i = item(FieldItem, id,
                              {name.isEmpty() ? QStringLiteral("(sem denominação)") : name, QString(),
                               seasons == 1 ? QStringLiteral("1 safra") : QStringLiteral("%1 safras").arg(seasons)});
    i->setData(0, fieldRole, id);
    return i;
}

QString producerText(const QString &name, const QString &cpf, const QString &town)
{
    QStringList parts{name};
    if (!cpf.isEmpty())
        parts << cpf;
    if (!town.isEmpty())
        parts << town;
    return parts.join(QStringLiteral(" · "));
}

} // namespace

CaseBrowser::CaseBrowser(const QString &path, QWidget *parent)
    : QDialog(parent), store_(std::make_unique<store::Store>(path)), where_(new QLabel(this)),
      search_(new QLineEdit(this)), tree_(new QTreeWidget(this)),
      open_(new QPushButton(QStringLiteral("Abrir"), this)),
      history_(new QPushButton(QStringLiteral("Histórico do talhão..."), this)),
      compare_(new QPushButton(QStringLiteral("Comparar safras..."), this))
{
    setObjectName(QStringLiteral("caseBrowser"));
    setWindowTitle(QStringLiteral("Casos"));
    where_->setObjectName(QStringLiteral("storePath"));
    where_->setTextFormat(Qt::PlainText);
    auto *other = new QPushButton(QStringLiteral("Outro banco..."), this);
    other->setObjectName(QStringLiteral("otherStore"));
    search_->setObjectName(QStringLiteral("searchBox"));
    search_->setPlaceholderText(QStringLiteral("Buscar por produtor, CPF, município, talhão ou nº do laudo"));
    search_->setClearButtonEnabled(true);
    tree_->setObjectName(QStringLiteral("caseTree"));
    tree_->setHeaderLabels({QStringLiteral("Produtor / talhão / safra"), QStringLiteral("Laudo"), QString()});
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->header()->setStretchLastSection(true);
    tree_->setColumnWidth(0, 420);
    tree_->setColumnWidth(1, 140);
    open_->setObjectName(QStringLiteral("openSeason"));
    history_->setObjectName(QStringLiteral("fieldHistoryButton"));
    compare_->setObjectName(QStringLiteral("compareSeasons"));
    open_->setToolTip(QStringLiteral("Abrir a safra escolhida na janela"));
    compare_->setToolTip(QStringLiteral("Escolha duas safras (Ctrl+clique) para compará-las"));
    auto *close = new QPushButton(QStringLiteral("Fechar"), this);
    close->setObjectName(QStringLiteral("closeBrowser"));

    connect(search_, &QLineEdit::textChanged, this, &CaseBrowser::reload);
    connect(tree_, &QTreeWidget::itemExpanded, this, &CaseBrowser::expand);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &CaseBrowser::updateButtons);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *i) {
        if (i->data(0, kindRole).toInt() == SeasonItem)
            openSelected();
    });
    connect(open_, &QPushButton::clicked, this, &CaseBrowser::openSelected);
    connect(history_, &QPushButton::clicked, this, &CaseBrowser::showHistory);
    connect(compare_, &QPushButton::clicked, this, &CaseBrowser::compareSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir banco de casos"),
                                                          QFileInfo(store_->path()).absolutePath(),
                                                          QStringLiteral("Bancos de casos (*.sqlite);;Todos os arquivos (*)"));
        if (!file.isEmpty())
            useStore(file);
    });

    auto *top = new QHBoxLayout;
    top->addWidget(where_, 1);
    top->addWidget(other);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(history_);
    buttons->addWidget(compare_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(search_);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    resize(860, 560);
    reload();
}

CaseBrowser::~CaseBrowser() = default;

QString CaseBrowser::path() const { return store_->path(); }

model::Case CaseBrowser::chosenCase() const { return store_->caseOf(chosen_ ? chosen_->id : 0); }

bool CaseBrowser::useStore(const QString &path)
{
    try {
        store_ = std::make_unique<store::Store>(path);
    } catch (const Failure &f) {
        fail(f.message());
        return false;
    }
    reload();
    return true;
}

void CaseBrowser::fail(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tuberon"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The whole store as producers to unfold, or, while a search is typed, the
// seasons it finds under their producers and fields, unfolded.
void CaseBrowser::reload()
{
    where_->setText(QStringLiteral("Banco: %1").arg(QDir::toNativeSeparators(store_->path())));
    tree_->clear();
    try {
        const QString text = search_->text();
        if (store::searchKey(text).isEmpty()) {
            for (const store::Producer &p : store_->producers()) {
                QTreeWidgetItem *i = item(ProducerItem, p.id, {producerText(p.name, p.cpf, p.town), QString(), p.place});
                i->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
                tree_->addTopLevelItem(i);
            }
        } else {
            QHash<qint64, QTreeWidgetItem *> producers, fields;
            for (const store::Season &s : store_->search(text)) {
                QTreeWidgetItem *&p = producers[s.producer];
                if (!p) {
                    p = item(ProducerItem, s.producer, {producerText(s.producerName, s.cpf, s.town), QString(), s.place});
                    tree_->addTopLevelItem(p);
                }
                QTreeWidgetItem *&f = fields[s.field];
                if (!f) {
                    f = fieldItem(s.field, s.fieldName, 0);
                    f->setText(2, QString());
                    p->addChild(f);
                }
                f->addChild(seasonItem(s));
            }
            tree_->expandAll();
        }
    } catch (const Failure &f) {
        fail(f.message());
    }
    if (tree_->topLevelItemCount() > 0)
        tree_->setCurrentItem(tree_->topLevelItem(0));
    updateButtons();
}

void CaseBrowser::expand(QTreeWidgetItem *i)
{
    if (i->childCount() > 0)
        return;
    try {
        const qint64 id = i->data(0, idRole).toLongLong();
        if (i->data(0, kindRole).toInt() == ProducerItem) {
            for (const store::Field &f : store_->fields(id)) {
                QTreeWidgetItem *child = fieldItem(f.id, f.name, f.seasons);
                child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
                i->addChild(child);
            }
        } else if (i->data(0, kindRole).toInt() == FieldItem) {
            const QList<store::Season> history = store_->history(id);
            for (auto s = history.crbegin(); s != history.crend(); ++s) // newest first
                i->addChild(seasonItem(*s));
        }
    } catch (const Failure &f) {
        fail(f.message());
    }
}

QList<qint64> CaseBrowser::selectedSeasons() const
{
    QList<qint64> ids;
    for (QTreeWidgetItem *i : tree_->selectedItems())
        if (i->data(0, kindRole).toInt() == SeasonItem)
            ids << i->data(0, idRole).toLongLong();
    return ids;
}

qint64 CaseBrowser::selectedField() const
{
    const QList<QTreeWidgetItem *> items = tree_->selectedItems();
    for (QTreeWidgetItem *i : items)
        if (const int kind = i->data(0, kindRole).toInt(); kind == FieldItem || kind == SeasonItem)
            return i->data(0, fieldRole).toLongLong();
    return 0;
}

void CaseBrowser::updateButtons()
{
    const QList<qint64> seasons = selectedSeasons();
    open_->setEnabled(seasons.size() == 1);
    compare_->setEnabled(seasons.size() == 2);
    history_->setEnabled(selectedField() != 0);
}

void CaseBrowser::openSelected()
{
    const QList<qint64> seasons = selectedSeasons();
    if (seasons.size() != 1)
        return;
    try {
        chosen_ = store_->season(seasons.first());
    } catch (const Failure &f) {
        fail(f.message());
        return;
    }
    if (chosen_)
        accept();
}

void CaseBrowser::showHistory()
{
    const qint64 field = selectedField();
    if (!field)
        return;
    try {
        FieldHistory history(store_->history(field), this);
        history.exec();
    } catch (const Failure &f) {
        fail(f.message());
    }
}

void CaseBrowser::compareSelected()
{
    const QList<qint64> ids = selectedSeasons();
    if (ids.size() != 2)
        return;
    try {
        std::optional<store::Season> a = store_->season(ids[0]), b = store_->season(ids[1]);
        if (!a || !b)
            return;
        if (b->date < a->date)
            std::swap(a, b);
        SeasonComparison comparison(*a, store_->caseOf(a->id), *b, store_->caseOf(b->id), this);
        comparison.exec();
    } catch (const Failure &f) {
        fail(f.message());
    }
}
