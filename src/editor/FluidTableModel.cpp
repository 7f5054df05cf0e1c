#include "editor/FluidTableModel.h"

#include <cmath>

namespace quorvel {

QString shownNumber(double value, NumberFormat format)
{
    return std::isfinite(value) ? formatNumber(value, format) : kNoNumberText;
}

FluidTableModel::FluidTableModel(QList<Column> columns, DataSource source, QObject* parent)
    : QAbstractTableModel(parent), mColumns(std::move(columns)), mSource(std::move(source))
{
    mRows = mSource.numberOfRows();
}

void FluidTableModel::reload()
{
    const int rows = mSource.numberOfRows();
    if (rows > mRows) {
        beginInsertRows(QModelIndex(), mRows, rows - 1);
        mRows = rows;
        endInsertRows();
    } else if (rows < mRows) {
        beginRemoveRows(QModelIndex(), rows, mRows - 1);
        mRows = rows;
        endRemoveRows();
    }
    if (mRows > 0)
        emit dataChanged(index(0, 0), index(mRows - 1, columnCount() - 1));
}

int FluidTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int FluidTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mColumns.size());
}

QVariant FluidTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= mRows)
        return {};
    const Column& column = mColumns.at(index.column());
    const Value value = mSource.objectValue(column.key, index.row());
    if (column.checkBox)
        return role == Qt::CheckStateRole ? QVariant(value.toBool() ? Qt::Checked : Qt::Unchecked) : QVariant();
    if (column.format && value.isNumber() && role == Qt::DisplayRole)
        return shownNumber(value.toDouble(), *column.format);
    return cellData(value, role);
}

bool FluidTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() < 0 || index.row() >= mRows)
        return false;
    const Column& column = mColumns.at(index.column());
    if (column.checkBox && role == Qt::CheckStateRole)
        mSource.setObjectValue(Value(value.toInt() == Qt::Checked), column.key, index.row());
    else if (!column.checkBox && role == Qt::EditRole)
        mSource.setObjectValue(valueOfTypedText(value.toString()), column.key, index.row());
    else
        return false;
    return true;
}

Qt::ItemFlags FluidTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return flags;
    const Column& column = mColumns.value(index.column());
    if (column.checkBox)
        flags |= Qt::ItemIsUserCheckable;
    else if (column.editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant FluidTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return mColumns.value(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace quorvel
