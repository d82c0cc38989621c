#include "app/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <functional>

StringGrid::StringGrid(const QString &name, const Shape &shape, QWidget *parent)
    : QTableWidget(parent), shape_(shape)
{
    setObjectName(name);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(shape.columnWidth);
    verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    verticalHeader()->setMinimumSectionSize(1);
    // Sized only now, with the headers hidden and their sizes set: made with
    // its rows and columns, the grid lays its headers out twice.
    setColumnCount(shape.columns);
    setRowCount(shape.rows);
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

QStringList StringGrid::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columnCount(); ++c)
        texts << cell(c, row);
    return texts;
}

void StringGrid::setRows(int rows)
{
    const int old = rowCount();
    setRowCount(rows);
    for (int r = old; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCell(c, r, QString());
}

void StringGrid::commitEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

namespace {

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Ends the edit of a cell on Enter and hands the grid one Down-arrow key.
// Left to the standard delegate, Enter would travel on from the editor to the
// grid while the delegate closes the editor later, and the row would move
// more than once.
class EnterMovesDownDelegate : public QStyledItemDelegate {
public:
    using Down = std::function<void()>;
    EnterMovesDownDelegate(QObject *parent, Down down) : QStyledItemDelegate(parent), down_(std::move(down)) {}

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (!editor || !isEnter(event))
            return QStyledItemDelegate::eventFilter(object, event);
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        down_();
        return true;
    }

private:
    Down down_;
};

} // namespace

void StringGrid::setEnterMovesDown(bool on)
{
    if (on == enterMovesDown_)
        return;
    enterMovesDown_ = on;
    QAbstractItemDelegate *previous = itemDelegate();
    if (on)
        setItemDelegate(new EnterMovesDownDelegate(this, [this] { pressDown(); }));
    else
        setItemDelegate(new QStyledItemDelegate(this));
    if (previous && previous->parent() == this)
        previous->deleteLater();
}

void StringGrid::pressDown()
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QTableWidget::keyPressEvent(&down);
}

void StringGrid::keyPressEvent(QKeyEvent *event)
{
    if (enterMovesDown_ && isEnter(event)) {
        pressDown();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
