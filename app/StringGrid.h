#pragma once
#include <QTableWidget>

// A grid of text cells addressed as (column, row) from 0. Fixed rows and
// columns are drawn as headers and can be neither selected nor edited.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Shape {
        int columns = 5;
        int rows = 5;
        int fixedRows = 1;
        int fixedColumns = 1;
        int columnWidth = 64;
        int rowHeight = 24;
        bool editable = false;
    };

    StringGrid(const QString &name, const Shape &shape, QWidget *parent);

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    // The texts of a row's cells, column 0 first.
    QStringList rowTexts(int row) const;
    void setRows(int rows);
    // Ends the edit of a cell still open, keeping what was typed in it, as
    // leaving the cell would.
    void commitEditing();

    // Enter, in a cell or in its editor, acts as one Down-arrow key: the
    // selection moves one row down and stays on the last row.
    void setEnterMovesDown(bool on);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isFixed(int column, int row) const;
    void styleCell(QTableWidgetItem *item, int column, int row) const;
    void pressDown();

    Shape shape_;
    bool enterMovesDown_ = false;
};
