#include "app/PriceListEditor.h"

#include "agronomy/Recommendation.h"
#include "batch/PriceListFile.h"
#include "core/Failure.h"
#include "core/Dates.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using fertilizers::PricedProduct;
using fertilizers::PriceList;

namespace {

const QStringList kAllowedIn{QStringLiteral("plantio"), QStringLiteral("cobertura"), QStringLiteral("ambas")};

// Marks the "Aplicações" of a row chosen rather than left at its default.
constexpr char kChosen[] = "chosen";

int allowedIndex(fertilizers::AllowedIn a)
{
    switch (a) {
    case fertilizers::AllowedIn::Planting:
        return 0;
    case fertilizers::AllowedIn::TopDressing:
        return 1;
    case fertilizers::AllowedIn::Both:
        break;
    }
    return 2;
}

fertilizers::AllowedIn allowedOf(int index)
{
    return index == 0 ? fertilizers::AllowedIn::Planting
                      : index == 1 ? fertilizers::AllowedIn::TopDressing : fertilizers::AllowedIn::Both;
}

// The regional short date with the year in full: a quotation's year is
// read back as written.
QString dateFormat(const QLocale &regional)
{
    QString format = dates::portuguese(regional).dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QComboBox *cellList(const QStringList &items, int current)
{
    auto *list = new QComboBox;
    list->addItems(items);
    list->setCurrentIndex(current);
    list->setFrame(false);
    return list;
}

} // namespace

PriceListEditor::PriceListEditor(const NumberText &numbers, const QLocale &regional, QWidget *parent)
    : QWidget(parent), numbers_(numbers), regional_(regional)
{
    setObjectName(QStringLiteral("priceListEditor"));
    auto *layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("priceTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Produto"), QStringLiteral("N (%)"), QStringLiteral("P2O5 (%)"),
                                       QStringLiteral("K2O (%)"), QStringLiteral("Saco (kg)"),
                                       QStringLiteral("Preço (R$)"), QStringLiteral("Preço por"),
                                       QStringLiteral("Aplicações"), QStringLiteral("Disponível"),
                                       QStringLiteral("Data"), QStringLiteral("Loja")});
    table_->horizontalHeaderItem(BagKg)->setToolTip(QStringLiteral("Massa do saco; vazio ou 0: a granel"));
    table_->horizontalHeaderItem(Price)->setToolTip(QStringLiteral("Vazio: sem preço, o produto fica de fora"));
    table_->horizontalHeaderItem(Date)->setToolTip(QStringLiteral("Data da cotação"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(22);
    layout->addWidget(table_);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        // Where a product may go follows its P2O5 until the technician
        // chooses: phosphate sources go at planting.
        if (!filling_ && item->column() == P2O5) {
            auto *allowed = qobject_cast<QComboBox *>(table_->cellWidget(item->row(), AllowedIn));
            if (allowed && !allowed->property(kChosen).toBool()) {
                double p2o5 = 0;
                try {
                    p2o5 = item->text().trimmed().isEmpty() ? 0 : numbers_.toDouble(item->text());
                } catch (const Failure &) {
                    // No number yet: none of it.
                }
                const QSignalBlocker quiet(allowed);
                allowed->setCurrentIndex(allowedIndex(fertilizers::defaultAllowedIn(p2o5)));
            }
        }
        // A price typed today is today's quotation, unless a date is given.
        if (!filling_ && item->column() == Price && !item->text().trimmed().isEmpty()) {
            QTableWidgetItem *date = table_->item(item->row(), Date);
            if (date && date->text().trimmed().isEmpty())
                date->setText(regional_.toString(QDate::currentDate(), dateFormat(regional_)));
        }
        touched();
    });

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("priceNote"));
    note_->setWordWrap(true);
    // What could not be read shows in red; the export's confirmation says so in green.
    note_->setStyleSheet(QStringLiteral("color: #a00000"));
    layout->addWidget(note_);

    auto *buttons = new QHBoxLayout;
    const auto button = [&](const char *name, const QString &caption, void (PriceListEditor::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button("addProduct", QStringLiteral("Adicionar produto"), &PriceListEditor::addProduct);
    button("removeProduct", QStringLiteral("Remover produto"), &PriceListEditor::removeProduct);
    buttons->addStretch();
    button("importPrices", QStringLiteral("Importar CSV..."), &PriceListEditor::askImport);
    button("exportPrices", QStringLiteral("Exportar CSV..."), &PriceListEditor::askExport);
    layout->addLayout(buttons);
}

QString PriceListEditor::numberText(double value) const { return agronomy::typedText(value, numbers_); }

void PriceListEditor::setPriceList(const PriceList &list)
{
    filling_ = true;
    name_ = list.name;
    table_->setRowCount(0);
    for (const PricedProduct &p : list.products)
        addRow(p);
    table_->resizeColumnsToContents();
    const std::pair<Column, int> least[] = {{Name, 220}, {Price, 80}, {Date, 90}, {Store, 140}};
    for (const auto &[column, width] : least)
        table_->setColumnWidth(column, std::max(table_->columnWidth(column), width));
    filling_ = false;
    edited_ = false;
    note_->setText(problems().join(QLatin1Char('\n')));
}

void PriceListEditor::addRow(const PricedProduct &p)
{
    const bool filling = filling_;
    filling_ = true;
    const int row = table_->rowCount();
    table_->insertRow(row);
    const auto amount = [&](double v) { return v == 0 ? QString() : numberText(v); };
    const std::optional<double> price = p.bagPrice ? p.bagPrice : p.tonnePrice;
    const QString texts[] = {p.name, amount(p.n), amount(p.p2o5), amount(p.k2o), amount(p.bagKg),
                             price ? numberText(*price) : QString()};
    for (int c = Name; c <= Price; ++c)
        table_->setItem(row, c, new QTableWidgetItem(texts[c]));
    auto *per = cellList({QStringLiteral("saco"), QStringLiteral("tonelada")},
                         !p.bagPrice && (p.tonnePrice || p.bagKg == 0) ? PerTonne : PerBag);
    auto *allowed = cellList(kAllowedIn, allowedIndex(p.allowedIn));
    table_->setCellWidget(row, PricePer, per);
    table_->setCellWidget(row, AllowedIn, allowed);
    connect(per, &QComboBox::currentIndexChanged, this, &PriceListEditor::touched);
    connect(allowed, &QComboBox::currentIndexChanged, this, &PriceListEditor::touched);
    // A choice other than the default was made; a pick by the technician is one too.
    allowed->setProperty(kChosen, p.allowedIn != fertilizers::defaultAllowedIn(p.p2o5));
    connect(allowed, &QComboBox::activated, allowed, [allowed] { allowed->setProperty(kChosen, true); });
    auto *available = new QTableWidgetItem;
    available->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    available->setCheckState(p.available ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, Available, available);
    table_->setItem(row, Date, new QTableWidgetItem(p.date.isValid() ? regional_.toString(p.date, dateFormat(regional_))
                                                                     : QString()));
    table_->setItem(row, Store, new QTableWidgetItem(p.store));
    filling_ = filling;
}

PriceList PriceListEditor::priceList() const
{
    PriceList list;
    list.name = name_;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto text = [&](int c) {
            const QTableWidgetItem *item = table_->item(row, c);
            return item ? item->text().trimmed() : QString();
        };
        const auto number = [&](int c) -> std::optional<double> {
            try {
                return text(c).isEmpty() ? std::nullopt : std::optional(numbers_.toDouble(text(c)));
            } catch (const Failure &) {
                return std::nullopt;
            }
        };
        PricedProduct p;
        p.name = text(Name);
        p.n = number(N).value_or(0);
        p.p2o5 = number(P2O5).value_or(0);
        p.k2o = number(K2O).value_or(0);
        p.bagKg = number(BagKg).value_or(0);
        const std::optional<double> price = number(Price);
        if (qobject_cast<QComboBox *>(table_->cellWidget(row, PricePer))->currentIndex() == PerTonne)
            p.tonnePrice = price;
        else
            p.bagPrice = price;
        p.allowedIn = allowedOf(qobject_cast<QComboBox *>(table_->cellWidget(row, AllowedIn))->currentIndex());
        p.available = table_->item(row, Available)->checkState() == Qt::Checked;
        p.date = regional_.toDate(text(Date), dateFormat(regional_));
        if (!p.date.isValid())
            p.date = QDate::fromString(text(Date), Qt::ISODate);
        p.store = text(Store);
        list.products << p;
    }
    return list;
}

QStringList PriceListEditor::problems() const
{
    QStringList said;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QString name = table_->item(row, Name) ? table_->item(row, Name)->text() : QString();
        const QString where = QStringLiteral("Linha %1 (%2)").arg(row + 1).arg(name);
        for (int c = N; c <= Price; ++c) {
            const QString text = table_->item(row, c) ? table_->item(row, c)->text().trimmed() : QString();
            if (text.isEmpty())
                continue;
            try {
                if (numbers_.toDouble(text) < 0)
                    said << QStringLiteral("%1: %2 não pode ser negativo").arg(where, table_->horizontalHeaderItem(c)->text());
            } catch (const Failure &) {
                said << QStringLiteral("%1: \"%2\" não é um número; %3 ficou vazio")
                            .arg(where, text, table_->horizontalHeaderItem(c)->text());
            }
        }
        const QString date = table_->item(row, Date) ? table_->item(row, Date)->text().trimmed() : QString();
        if (!date.isEmpty() && !regional_.toDate(date, dateFormat(regional_)).isValid()
            && !QDate::fromString(date, Qt::ISODate).isValid())
            said << QStringLiteral("%1: \"%2\" não é uma data (%3)").arg(where, date, dateFormat(regional_));
    }
    return said;
}

void PriceListEditor::touched()
{
    if (filling_)
        return;
    edited_ = true;
    note_->setText(problems().join(QLatin1Char('\n')));
    emit changed();
}

void PriceListEditor::addProduct()
{
    PricedProduct p;
    p.name = QStringLiteral("Novo produto");
    p.date = QDate::currentDate();
    addRow(p);
    table_->setCurrentCell(table_->rowCount() - 1, Name);
    table_->editItem(table_->item(table_->rowCount() - 1, Name));
    touched();
}

void PriceListEditor::removeProduct()
{
    const int row = table_->currentRow();
    if (row < 0)
        return;
    table_->removeRow(row);
    touched();
}

QString PriceListEditor::folder() const { return folder_.isEmpty() ? QDir::homePath() : folder_; }

bool PriceListEditor::importFile(const QString &path)
{
    PriceList list;
    try {
        list = batch::readPriceListFile(path);
    } catch (const Failure &failure) {
        note_->setText(failure.message());
        return false;
    }
    setPriceList(list);
    edited_ = true;
    emit changed();
    return true;
}

void PriceListEditor::exportFile(const QString &path) const { batch::writePriceListFile(path, priceList()); }

void PriceListEditor::askImport()
{
    // The stored list is the technician's work: replaced only when meant.
    int priced = 0;
    for (const fertilizers::PricedProduct &p : priceList().products)
        priced += p.pricePerKg().has_value();
    if (priced > 0
        && QMessageBox::question(this, QStringLiteral("Importar lista de preços"),
                                 QStringLiteral("A lista importada substitui a lista de preços atual (%1 produtos, %2 "
                                                "com preço). Substituir?")
                                     .arg(table_->rowCount())
                                     .arg(priced),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Importar lista de preços"), folder(),
                                                      QStringLiteral("Listas de preços (*.csv *.xlsx *.xls *.ods *.txt);;Todos os arquivos (*)"));
    if (path.isEmpty())
        return;
    folder_ = QFileInfo(path).absolutePath();
    importFile(path);
}

void PriceListEditor::askExport()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar lista de preços"),
                                                QDir(folder()).filePath(QStringLiteral("precos.csv")),
                                                QStringLiteral("Listas de preços (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    folder_ = QFileInfo(path).absolutePath();
    try {
        exportFile(path);
        note_->setText(QStringLiteral("<span style=\"color:#006000\">Lista exportada para \"%1\".</span>")
                           .arg(QDir::toNativeSeparators(path).toHtmlEscaped()));
    } catch (const Failure &failure) {
        note_->setText(QStringLiteral("A lista não foi exportada: %1").arg(failure.message()));
    }
}
