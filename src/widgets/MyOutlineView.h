#pragma once

// An outline (tree) view whose down and up arrows wrap around between its last and
// first visible rows, and whose Delete and Backspace keys ask its delegate to delete
// the selected row. Only a delegate that implements MyOutlineViewDelegate is asked.

#include <QPointer>
#include <QTreeView>

namespace quorvel {

class MyOutlineView;

class MyOutlineViewDelegate {
public:
    virtual ~MyOutlineViewDelegate() = default;
    virtual void tableViewDeleteSelectedRow(MyOutlineView* outlineView) = 0;
};

class MyOutlineView : public QTreeView {
    Q_OBJECT
public:
    explicit MyOutlineView(QWidget* parent = nullptr);

    void setDelegate(QObject* delegate) { mDelegate = delegate; }
    QObject* delegate() const { return mDelegate; }

    // The selected item of column 0 (the current one when selected, otherwise the last
    // selected one); invalid when nothing is selected.
    QModelIndex selectedItem() const;
    QModelIndex firstRow() const;
    QModelIndex lastRow() const;  // the last visible row, inside expanded items
    // Replaces the selection by the row and scrolls it into view.
    void selectRowAndScroll(const QModelIndex& row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);  // true when the key is fully handled here

    QPointer<QObject> mDelegate;
};

} // namespace quorvel
