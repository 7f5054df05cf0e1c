#include "app/RecordTableModel.h"

#include "widgets/NumberFields.h"

#include <cmath>

namespace quorvel {

RecordTableModel::RecordTableModel(QList<Column> columns, DataSource source, QObject* parent)
    : QAbstractTableModel(parent), mColumns(std::move(columns)), mSource(std::move(source))
{
}

void RecordTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mSource.numberOfRows();
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mColumns.size());
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(mSource.objectValue(keyOfColumn(index.column()), index.row()), role);
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() < 0)
        return false;
    mSource.setObjectValue(valueOfTypedText(value.toString()), keyOfColumn(index.column()), index.row());
    return true;
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && mColumns.value(index.column()).editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return mColumns.value(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Value valueOfTypedText(const QString& text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok ? Value(number) : Value(text);
}

namespace {
bool isMeasuredNumber(const Value& value)
{
    return value.isDouble() || value.isNotANumber();
}
}  // namespace

QString cellDisplayText(const Value& value)
{
    return isMeasuredNumber(value) ? readableNumber(value.toDouble()) : value.toString();
}

QString cellEditText(const Value& value)
{
    if (value.isNotANumber() || (value.isDouble() && !std::isfinite(value.toDouble())))
        return QString();
    return value.toString();
}

QVariant cellToolTip(const Value& value)
{
    if (!isMeasuredNumber(value))
        return {};
    const QString exact = exactNumber(value.toDouble());
    return exact == cellDisplayText(value) ? QVariant() : QVariant(exact);
}

QVariant cellData(const Value& value, int role)
{
    switch (role) {
    case Qt::DisplayRole: return cellDisplayText(value);
    case Qt::EditRole: return cellEditText(value);
    case Qt::ToolTipRole: return cellToolTip(value);
    default: return {};
    }
}

}  // namespace quorvel
