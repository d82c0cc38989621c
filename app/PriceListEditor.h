#pragma once
// The local store's price list as the technician keeps it: one product a
// row, with its guarantees, bag, price, where it may go, whether the store
// has it, and the date and store of the quotation. Numbers and dates are
// typed as the window writes them (the separator in force, the short date).
#include "core/NumberText.h"
#include "fertilizers/PriceList.h"

#include <QLocale>
#include <QStringList>
#include <QWidget>

class QLabel;
class QTableWidget;

class PriceListEditor : public QWidget {
    Q_OBJECT
public:
    // The columns of the table.
    enum Column : int {
        Name = 0, N, P2O5, K2O, BagKg, Price, PricePer, AllowedIn, Available, Date, Store, ColumnCount
    };
    // The choices of the "Preço por" column.
    enum PriceUnit : int { PerBag = 0, PerTonne };

    PriceListEditor(const NumberText &numbers, const QLocale &regional, QWidget *parent = nullptr);

    void setPriceList(const fertilizers::PriceList &list);
    // The list as the table holds it; a cell whose text is not a number or
    // a date counts as empty, and problems() says which.
    fertilizers::PriceList priceList() const;
    // "Linha 3 (Ureia): ..." for every cell that could not be read.
    QStringList problems() const;
    // Whether the technician changed the list since setPriceList().
    bool edited() const { return edited_; }

    // Replaces the list by a CSV file's; false, with the reason in the note,
    // when it cannot be read.
    bool importFile(const QString &path);
    // Writes the list as CSV; raises the file error when it cannot.
    void exportFile(const QString &path) const;

    QTableWidget *table() const { return table_; }

signals:
    void changed();

private:
    void addRow(const fertilizers::PricedProduct &product);
    void addProduct();
    void removeProduct();
    void askImport();
    void askExport();
    void touched();
    QString numberText(double value) const;
    QString folder() const;

    NumberText numbers_;
    QLocale regional_;
    QString name_;
    QString folder_; // of the last file imported or exported
    bool edited_ = false;
    bool filling_ = false;
    QTableWidget *table_ = nullptr;
    QLabel *note_ = nullptr;
};
