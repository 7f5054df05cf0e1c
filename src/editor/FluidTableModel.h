#pragma once
// The model of the editor's two tables: rows and cells from the controller (one column per
// record key). Reloading announces the rows added or removed at the end and the changed
// cells, never a reset, so the table keeps its selection and raises no selection change.

#include "app/RecordTableModel.h"
#include "platform/Value.h"
#include "widgets/NumberFields.h"

#include <QAbstractTableModel>
#include <QList>

#include <optional>

namespace quorvel {

// The editor's text of a number it shows: fixed decimals, kNoNumberText for a value that is
// not a number.
QString shownNumber(double value, NumberFormat format);

class FluidTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString key;  // the record key the column shows
        QString title;
        std::optional<NumberFormat> format = std::nullopt;  // numbers shown fixed-decimal; none: as stored
        bool editable = true;
        bool checkBox = false;
    };
    using DataSource = RecordTableModel::DataSource;

    FluidTableModel(QList<Column> columns, DataSource source, QObject* parent = nullptr);

    QString keyOfColumn(int column) const { return mColumns.value(column).key; }
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Column> mColumns;
    DataSource mSource;
    int mRows = 0;  // the rows the views know of
};

}  // namespace quorvel
