#include "widgets/MyOutlineView.h"

#include "widgets/TableKeys.h"

#include <QItemSelectionModel>

namespace quorvel {

MyOutlineView::MyOutlineView(QWidget* parent) : QTreeView(parent) {}

QModelIndex MyOutlineView::selectedItem() const
{
    const QItemSelectionModel* selection = selectionModel();
    if (!selection)
        return {};
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.siblingAtColumn(0);
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.last().siblingAtColumn(0);
}

QModelIndex MyOutlineView::firstRow() const
{
    return model() ? model()->index(0, 0, rootIndex()) : QModelIndex();
}

QModelIndex MyOutlineView::lastRow() const
{
    if (!model())
        return {};
    QModelIndex parent = rootIndex();
    QModelIndex last;
    for (int count = model()->rowCount(parent); count > 0; count = model()->rowCount(parent)) {
        last = model()->index(count - 1, 0, parent);
        if (!isExpanded(last))
            break;
        parent = last;
    }
    return last;
}

void MyOutlineView::selectRowAndScroll(const QModelIndex& row)
{
    selectionModel()->setCurrentIndex(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(row);
}

void MyOutlineView::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event))
        event->accept();
    else
        QTreeView::keyPressEvent(event);
}

bool MyOutlineView::handleKey(QKeyEvent* event)
{
    const TableKey key = tableKey(*event);
    if (key != TableKey::Down && key != TableKey::Up && key != TableKey::Delete)
        return false;

    // Without rows there is nothing to select or delete.
    const QModelIndex first = firstRow();
    if (!first.isValid())
        return true;
    const QModelIndex selected = selectedItem();

    switch (key) {
    case TableKey::Down: {
        const QModelIndex last = lastRow();
        if (selected != last)
            return false;
        selectRowAndScroll(first);
        return true;
    }
    case TableKey::Up:
        if (selected != first)
            return false;
        selectRowAndScroll(lastRow());
        return true;
    case TableKey::Delete:
        if (auto* delegate = dynamic_cast<MyOutlineViewDelegate*>(mDelegate.data());
            delegate && selected.isValid())
            delegate->tableViewDeleteSelectedRow(this);
        return false;
    default:
        return false;
    }
}

} // namespace quorvel
