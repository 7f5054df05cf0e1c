#include "panels/RecordTable.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace quorvel {

namespace {

QList<RecordTableModel::Column> readOnly(QList<RecordTableModel::Column> columns)
{
    for (RecordTableModel::Column& column : columns)
        column.editable = false;
    return columns;
}

}  // namespace

RecordTable::RecordTable(QList<RecordTableModel::Column> columns, RecordTableModel::DataSource source,
                         QWidget* parent)
    : MyTableView(parent), mModel(new RecordTableModel(readOnly(std::move(columns)), std::move(source), this))
{
    setModel(mModel);
    setSelectionMode(SingleSelection);
    setEditable(false);
    setWordWrap(false);
    verticalHeader()->hide();
    sizeColumnsToContents();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecordTable::selectionDidChange);
}

void RecordTable::reloadData()
{
    const int selected = selectedRow();
    {
        // A model reset clears the selection without telling anyone; the row is put back the same way.
        const QSignalBlocker quiet(selectionModel());
        mModel->reload();
        if (selected >= 0 && selected < numberOfRows())
            selectionModel()->setCurrentIndex(mModel->index(selected, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (selected >= numberOfRows())
        emit selectionDidChange();
}

void RecordTable::deselectAll()
{
    clearSelection();
}

Value recordCell(const Array& records, int row, const QString& key)
{
    if (row < 0 || row >= records.size())
        return {};
    return records.at(row).toDictionary().value(key);
}

}  // namespace quorvel
