#include "StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

StringGrid::StringGrid(const QString &name, const Shape &shape, QWidget *parent)
    : QTableWidget(shape.rows, shape.columns, parent), shape_(shape)
{
    setObjectName(name);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(shape.columnWidth);
    verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(shape.editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                         | QAbstractItemView::AnyKeyPressed
                                   : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < shape.rows; ++r)
        for (int c = 0; c < shape.columns; ++c)
            setCell(c, r, QString());
}

bool StringGrid::isFixed(int column, int row) const
{
    return row < shape_.fixedRows || column < shape_.fixedColumns;
}

void StringGrid::styleCell(QTableWidgetItem *item, int column, int row) const
{
    if (isFixed(column, row)) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(palette().button());
    } else {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (shape_.editable)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
    }
}

QString StringGrid::cell(int column, int row) const
{
    const QTableWidgetItem *it = item(row, column);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString &text)
{
    if (row >= rowCount())
        setRows(row + 1);
    QTableWidgetItem *it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        styleCell(it, column, row);
        setItem(row, column, it);
    }
    it->setText(text);
}

void StringGrid::setRows(int rows)
{
    const int old = rowCount();
    setRowCount(rows);
    for (int r = old; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCell(c, r, QString());
}

void StringGrid::moveDown()
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() + 1 < rowCount())
        setCurrentCell(current.row() + 1, current.column());
}

void StringGrid::keyPressEvent(QKeyEvent *event)
{
    if (enterMovesDown_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        moveDown();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void StringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter inside a cell editor ends the edit and, as outside it, moves down.
    const bool enter = enterMovesDown_ && hint == QAbstractItemDelegate::SubmitModelCache;
    QTableWidget::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter)
        moveDown();
}
