#pragma once
// A panel's list: one record per row, each column showing the record key that is its
// identifier, read-only. It reports every change of its selection, the ones the panel
// makes itself included, through selectionDidChange; selecting the row that is already
// the only selected one reports nothing.

#include "app/RecordTableModel.h"
#include "widgets/MyTableView.h"

namespace quorvel {

class RecordTable : public MyTableView
{
    Q_OBJECT

public:
    // Titles of the columns by record key; rows and cells come from the data source.
    RecordTable(QList<RecordTableModel::Column> columns, RecordTableModel::DataSource source,
                QWidget* parent = nullptr);

    RecordTableModel* recordModel() const { return mModel; }
    int numberOfRows() const { return mModel->rowCount(); }

    // Re-reads every row. The selected row stays selected, silently, while it still exists;
    // when it is gone the selection empties and selectionDidChange is sent.
    void reloadData();
    void deselectAll();

signals:
    void selectionDidChange();

private:
    RecordTableModel* mModel;
};

// The cell of a list of records: the record's value for the column's key; null outside the list.
Value recordCell(const Array& records, int row, const QString& key);

}  // namespace quorvel
