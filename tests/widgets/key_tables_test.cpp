#include "widgets/MyOutlineView.h"
#include "widgets/MyTableView.h"

#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorvel {
namespace {

enum class Request { ShiftDown, ShiftUp, Delete };

// A delegate that records what the table asks of it.
class RecordingDelegate : public QObject, public MyTableViewDelegate, public MyOutlineViewDelegate {
public:
    void tableViewShiftDownSelectedRow(MyTableView*) override { requests.push_back(Request::ShiftDown); }
    void tableViewShiftUpSelectedRow(MyTableView*) override { requests.push_back(Request::ShiftUp); }
    void tableViewDeleteSelectedRow(MyTableView*) override { requests.push_back(Request::Delete); }
    void tableViewDeleteSelectedRow(MyOutlineView*) override { requests.push_back(Request::Delete); }
    std::vector<Request> requests;
};

// An object that does not take the table's requests.
class PlainObject : public QObject {};

class TableKeys : public ::testing::Test {
protected:
    void SetUp() override { fill(5); }

    void fill(int rows)
    {
        model = std::make_unique<QStandardItemModel>(rows, 2);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 2; ++c)
                model->setItem(r, c, new QStandardItem(QStringLiteral("%1-%2").arg(r).arg(c)));
        table = std::make_unique<MyTableView>();
        table->setModel(model.get());
        table->setDelegate(&delegate);
        table->resize(300, 200);
        table->show();
    }

    void select(int row) { table->selectRowAndScroll(row); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(table.get(), key, modifiers);
    }
    bool editing() const
    {
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                if (table->indexWidget(model->index(r, c)))
                    return true;
        return false;
    }
    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : table->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    RecordingDelegate delegate;
    PlainObject plain;
    std::unique_ptr<QStandardItemModel> model;
    std::unique_ptr<MyTableView> table;
};

struct Navigation {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int from;  // -1: no selection
    int to;
};

TEST_F(TableKeys, NavigationKeysWrapAround)
{
    const Navigation cases[] = {
        {Qt::Key_F9, Qt::NoModifier, 4, 0},
        {Qt::Key_F9, Qt::NoModifier, -1, 0},
        {Qt::Key_F9, Qt::ShiftModifier, 1, 2},
        {Qt::Key_F8, Qt::NoModifier, 0, 4},
        {Qt::Key_F8, Qt::NoModifier, 3, 2},
        {Qt::Key_F8, Qt::NoModifier, -1, 4},
        {Qt::Key_F11, Qt::NoModifier, 3, 0},
        {Qt::Key_F10, Qt::ControlModifier, 1, 4},
        {Qt::Key_Up, Qt::NoModifier, 0, 4},
        {Qt::Key_Down, Qt::NoModifier, 4, 0},
        {Qt::Key_Down, Qt::NoModifier, 2, 3},  // the table's own handling
        {Qt::Key_Up, Qt::NoModifier, 2, 1},
    };
    for (const Navigation& c : cases) {
        table->clearSelection();
        if (c.from >= 0)
            select(c.from);
        press(c.key, c.modifiers);
        EXPECT_EQ(selectedRows(), std::vector<int>{c.to}) << "key " << c.key << " from " << c.from;
        EXPECT_EQ(table->selectedRow(), c.to);
    }
    EXPECT_TRUE(delegate.requests.empty());
}

TEST_F(TableKeys, ShiftOrControlArrowsAskTheDelegateToMoveTheRow)
{
    select(2);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(delegate.requests,
              (std::vector<Request>{Request::ShiftDown, Request::ShiftUp, Request::ShiftUp}));
    EXPECT_EQ(selectedRows(), std::vector<int>{2});  // the delegate moves the selection
}

TEST_F(TableKeys, AnObjectWithoutTheDelegateInterfaceIsNeverAsked)
{
    table->setDelegate(&plain);
    table->setDeletable(true);
    select(2);
    press(Qt::Key_Up, Qt::ShiftModifier);  // nothing at all
    EXPECT_EQ(selectedRows(), std::vector<int>{2});
    press(Qt::Key_Down, Qt::ShiftModifier);  // the table's own handling extends the selection
    EXPECT_EQ(selectedRows(), (std::vector<int>{2, 3}));
    press(Qt::Key_Delete);
    EXPECT_TRUE(delegate.requests.empty());
}

TEST_F(TableKeys, DeleteKeysAskTheDelegateOnlyWhenDeletable)
{
    select(1);
    press(Qt::Key_Delete);
    press(Qt::Key_Backspace);
    EXPECT_TRUE(delegate.requests.empty());
    EXPECT_FALSE(table->isDeletable());

    table->setDeletable(true);
    press(Qt::Key_Delete);
    press(Qt::Key_Backspace);
    EXPECT_EQ(delegate.requests, (std::vector<Request>{Request::Delete, Request::Delete}));
}

TEST_F(TableKeys, WithoutASelectionNothingIsMovedDeletedOrEdited)
{
    table->setDeletable(true);
    table->clearSelection();
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Up, Qt::ShiftModifier);
    press(Qt::Key_Delete);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(delegate.requests.empty());
    EXPECT_FALSE(editing());
}

TEST_F(TableKeys, AnEmptyTableIgnoresEveryKey)
{
    fill(0);
    table->setDeletable(true);
    for (Qt::Key key : {Qt::Key_F9, Qt::Key_F8, Qt::Key_F10, Qt::Key_F11, Qt::Key_Down, Qt::Key_Up,
                        Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Enter})
        for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier})
            press(key, modifiers);
    EXPECT_TRUE(delegate.requests.empty());
    EXPECT_EQ(table->selectedRow(), -1);
    EXPECT_FALSE(editing());
}

TEST_F(TableKeys, KeypadEnterEditsTheFirstColumnOfTheSelectedRow)
{
    select(3);
    table->setCurrentIndex(model->index(3, 1));
    press(Qt::Key_Enter, Qt::KeypadModifier);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(model->index(3, 0)));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->selectedText(), "3-0");
}

TEST_F(TableKeys, ReadOnlyColumnsAreNotEdited)
{
    table->setEditable(false);
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    select(3);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(editing());

    const auto initial = MyTableView().editTriggers();
    table->setEditable(true);
    EXPECT_EQ(table->editTriggers(), initial);
}

// Outline: A (A1, A2), B (B1), with A expanded and B collapsed.
class OutlineKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* a = new QStandardItem("A");
        a->appendRow(new QStandardItem("A1"));
        a->appendRow(new QStandardItem("A2"));
        auto* b = new QStandardItem("B");
        b->appendRow(new QStandardItem("B1"));
        model.appendRow(a);
        model.appendRow(b);
        outline.setModel(&model);
        outline.setDelegate(&delegate);
        outline.expand(a->index());
        outline.resize(300, 200);
        outline.show();
    }

    QModelIndex item(const char* name) const
    {
        return model.match(model.index(0, 0), Qt::DisplayRole, name, 1,
                           Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    void select(const char* name) { outline.selectRowAndScroll(item(name)); }
    QString selected() const { return outline.selectedItem().data().toString(); }
    void press(Qt::Key key) { QTest::keyClick(&outline, key); }

    QStandardItemModel model;
    MyOutlineView outline;
    RecordingDelegate delegate;
};

TEST_F(OutlineKeys, ArrowsWrapBetweenTheFirstAndTheLastVisibleRow)
{
    select("B");
    press(Qt::Key_Down);
    EXPECT_EQ(selected(), "A");
    press(Qt::Key_Up);
    EXPECT_EQ(selected(), "B");

    outline.expand(item("B"));
    press(Qt::Key_Down);  // B is no longer the last row
    EXPECT_EQ(selected(), "B1");
    press(Qt::Key_Down);
    EXPECT_EQ(selected(), "A");
    press(Qt::Key_Up);
    EXPECT_EQ(selected(), "B1");
    press(Qt::Key_Up);
    EXPECT_EQ(selected(), "B");
    EXPECT_TRUE(delegate.requests.empty());
}

TEST_F(OutlineKeys, DeleteKeysAskADelegateWithTheInterface)
{
    select("A2");
    press(Qt::Key_Delete);
    press(Qt::Key_Backspace);
    EXPECT_EQ(delegate.requests, (std::vector<Request>{Request::Delete, Request::Delete}));

    outline.clearSelection();
    press(Qt::Key_Delete);  // nothing selected: nothing to delete
    EXPECT_EQ(delegate.requests.size(), 2u);

    PlainObject plain;
    outline.setDelegate(&plain);
    select("A2");
    press(Qt::Key_Delete);
    EXPECT_EQ(delegate.requests.size(), 2u);
}

TEST_F(OutlineKeys, AnEmptyOutlineIgnoresTheKeys)
{
    model.clear();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Delete})
        press(key);
    EXPECT_TRUE(delegate.requests.empty());
    EXPECT_FALSE(outline.selectedItem().isValid());
}

} // namespace
} // namespace quorvel
