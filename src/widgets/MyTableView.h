#pragma once

// A table view with wrap-around keyboard navigation, function-key shortcuts, and row
// moves and deletion that it asks of its delegate:
//   F9 next row, F8 previous row, F11 first row, F10 last row (each wrapping around);
//   down/up arrow wrap from the last row to the first and back;
//   shift- or control-down/up arrow ask the delegate to move the selected row;
//   Delete and Backspace ask the delegate to delete the selected row when the table is
//   deletable; Enter on the keypad edits the first column of the selected row.
// The table never changes its rows itself; the delegate changes its data, the selection
// and the display. Only a delegate that implements MyTableViewDelegate is asked.

#include <QPointer>
#include <QTableView>

namespace quorvel {

class MyTableView;

class MyTableViewDelegate {
public:
    virtual ~MyTableViewDelegate() = default;
    virtual void tableViewShiftDownSelectedRow(MyTableView* tableView) = 0;
    virtual void tableViewShiftUpSelectedRow(MyTableView* tableView) = 0;
    virtual void tableViewDeleteSelectedRow(MyTableView* tableView) = 0;
};

class MyTableView : public QTableView {
    Q_OBJECT
public:
    explicit MyTableView(QWidget* parent = nullptr);

    // The object that owns the rows; asked only when it implements MyTableViewDelegate.
    void setDelegate(QObject* delegate) { mDelegate = delegate; }
    QObject* delegate() const { return mDelegate; }

    void setDeletable(bool deletable) { _isDeletable = deletable; }
    bool isDeletable() const { return _isDeletable; }

    // Makes every column as wide as its title and cells, the last one also filling what is
    // left, so that no name or number is cut short; a table narrower than its columns scrolls.
    void sizeColumnsToContents();

    // Makes every column editable or read-only.
    void setEditable(bool editable);
    bool isEditable() const { return mEditable; }

    // The row of the current selection (the current row when it is selected, otherwise
    // the last selected row), -1 when no row is selected.
    int selectedRow() const;
    // The selected row when it is one of the first count rows of the data behind the table
    // (a table may show rows its data no longer holds), -1 otherwise.
    int selectedRowWithin(int count) const;
    // Replaces the selection by the row and scrolls it into view.
    void selectRowAndScroll(int row);
    // A negative row clears the selection.
    void selectRowOrNone(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);  // true when the key is fully handled here
    int rowCount() const;
    MyTableViewDelegate* rowDelegate() const;

    QPointer<QObject> mDelegate;
    bool _isDeletable = false;
    bool mEditable = true;
    EditTriggers mEditTriggers;
};

} // namespace quorvel
