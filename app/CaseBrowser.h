#pragma once
// "Casos...": the store's producers, their fields and each field's seasons,
// newest first; a search box that finds by producer, CPF, município, field
// or report number as one types; a season to open in the window, a field's
// history, two seasons compared.
#include "store/Store.h"

#include <QDialog>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CaseBrowser : public QDialog {
    Q_OBJECT
public:
    // Opens (and makes, when missing) the store at `path`; a store that
    // cannot be used raises a Failure before anything shows.
    explicit CaseBrowser(const QString &path, QWidget *parent = nullptr);
    ~CaseBrowser() override;

    // After "Abrir": the season chosen and its case.
    std::optional<store::Season> chosen() const { return chosen_; }
    model::Case chosenCase() const;
    QString path() const;

    QLineEdit *searchBox() const { return search_; }
    QTreeWidget *tree() const { return tree_; }
    // The seasons (ids) selected in the tree, in the tree's order.
    QList<qint64> selectedSeasons() const;
    // The field of the item selected first (a field or a season), 0 for none.
    qint64 selectedField() const;
    // Another store; false (with the reason shown) when it cannot be used.
    bool useStore(const QString &path);

    void openSelected();
    void showHistory();
    void compareSelected();

private:
    void reload();
    void expand(QTreeWidgetItem *item);
    void updateButtons();
    void fail(const QString &message);

    std::unique_ptr<store::Store> store_;
    std::optional<store::Season> chosen_;
    QLabel *where_;
    QLineEdit *search_;
    QTreeWidget *tree_;
    QPushButton *open_, *history_, *compare_;
};
