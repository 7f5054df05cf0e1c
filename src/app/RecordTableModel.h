#pragma once
// A table model whose rows and cells come from a data source (the window controller),
// in the manner of the platform's table data sources: one column per record key.

#include "platform/Value.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

namespace quorvel {

class RecordTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString key;    // the record key the column shows
        QString title;
        bool editable = true;
    };
    struct DataSource
    {
        std::function<int()> numberOfRows;
        std::function<Value(const QString& key, int row)> objectValue;
        std::function<void(const Value& value, const QString& key, int row)> setObjectValue;
    };

    RecordTableModel(QList<Column> columns, DataSource source, QObject* parent = nullptr);

    QString keyOfColumn(int column) const { return mColumns.value(column).key; }
    // Re-reads every row (the table's reloadData).
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
};

// The record value typed in a cell or field: a number when the text reads as one, else the text.
Value valueOfTypedText(const QString& text);

// A record value as a cell shows it: a measured or computed number with the digits a person
// reads (widgets/NumberFields.h), anything else as its text.
QString cellDisplayText(const Value& value);
// As a cell offers it for editing: every digit of a number, nothing for no number.
QString cellEditText(const Value& value);
// The tooltip of a cell whose number shows fewer digits than it holds; none otherwise.
QVariant cellToolTip(const Value& value);
// A cell's text for the display, edit and tooltip roles; nothing for another role.
QVariant cellData(const Value& value, int role);

}  // namespace quorvel
