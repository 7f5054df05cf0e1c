#include "widgets/MyTableView.h"

#include "widgets/TableKeys.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace quorvel {

MyTableView::MyTableView(QWidget* parent)
    : QTableView(parent), mEditTriggers(editTriggers())
{
    setSelectionBehavior(SelectRows);
}

void MyTableView::sizeColumnsToContents()
{
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void MyTableView::setEditable(bool editable)
{
    mEditable = editable;
    setEditTriggers(editable ? mEditTriggers : NoEditTriggers);
}

int MyTableView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int MyTableView::selectedRowWithin(int count) const
{
    const int row = selectedRow();
    return row >= 0 && row < count ? row : -1;
}

int MyTableView::selectedRow() const
{
    const QItemSelectionModel* selection = selectionModel();
    if (!selection || rowCount() == 0)
        return -1;
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.row();
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.last().row();
}

void MyTableView::selectRowAndScroll(int row)
{
    const QModelIndex index = model()->index(row, 0, rootIndex());
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void MyTableView::selectRowOrNone(int row)
{
    if (row < 0)
        clearSelection();
    else
        selectRowAndScroll(row);
}

MyTableViewDelegate* MyTableView::rowDelegate() const
{
    return dynamic_cast<MyTableViewDelegate*>(mDelegate.data());
}

void MyTableView::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event))
        event->accept();
    else
        QTableView::keyPressEvent(event);
}

bool MyTableView::handleKey(QKeyEvent* event)
{
    const TableKey key = tableKey(*event);
    if (key == TableKey::Other)
        return false;

    // Without rows there is nothing to select, move, delete or edit.
    const int count = rowCount();
    if (count == 0)
        return true;
    const int last = count - 1;
    const int row = selectedRow();
    MyTableViewDelegate* delegate = rowDelegate();

    switch (key) {
    case TableKey::NextRow:
        selectRowAndScroll(row < 0 || row >= last ? 0 : row + 1);
        return true;
    case TableKey::PreviousRow:
        selectRowAndScroll(row <= 0 ? last : row - 1);
        return true;
    case TableKey::FirstRow:
        selectRowAndScroll(0);
        return true;
    case TableKey::LastRow:
        selectRowAndScroll(last);
        return true;
    case TableKey::Down:
        if (hasShiftOrControl(*event)) {
            if (!delegate)
                return false;
            if (row >= 0)
                delegate->tableViewShiftDownSelectedRow(this);
            return true;
        }
        if (row != last)
            return false;
        selectRowAndScroll(0);
        return true;
    case TableKey::Up:
        if (hasShiftOrControl(*event)) {
            if (delegate && row >= 0)
                delegate->tableViewShiftUpSelectedRow(this);
            return true;
        }
        if (row != 0)
            return false;
        selectRowAndScroll(last);
        return true;
    case TableKey::Delete:
        if (_isDeletable && delegate && row >= 0)
            delegate->tableViewDeleteSelectedRow(this);
        return false;
    case TableKey::KeypadEnter:
        if (row >= 0 && mEditable)
            edit(model()->index(row, 0, rootIndex()));
        return true;
    case TableKey::Other:
        break;
    }
    return false;
}

} // namespace quorvel
