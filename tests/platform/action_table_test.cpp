// A responder's table of actions: the rows each class of a hierarchy adds answer their own
// action only, in the order added, and an action the table does not name is neither
// enabled nor performed.

#include "platform/ActionNames.h"
#include "platform/Responder.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

class BaseResponder : public Responder
{
public:
    BaseResponder()
    {
        answerActions({{actionname::undo,
                        [this](QAction* item) {
                            item->setText(QStringLiteral("Undo Typing"));
                            return canUndo;
                        },
                        [this](QObject*) { ++undone; }}});
    }
    bool canUndo = false;
    int undone = 0;
};

class DerivedResponder : public BaseResponder
{
public:
    DerivedResponder()
    {
        answerActions({{actionname::copy, nullptr, [this](QObject* sender) { copiedFrom = sender; }},
                       {actionname::paste, [](QAction*) { return false; }, nullptr}});
    }
    QObject* copiedFrom = nullptr;
};

TEST(ActionTable, AnswersTheRowsOfEveryClassInTheOrderAdded)
{
    DerivedResponder responder;
    EXPECT_EQ(responder.answeredActions(), (QStringList{"undo:", "copy:", "paste:"}));
    EXPECT_TRUE(responder.respondsToAction(QStringLiteral("copy:")));
    EXPECT_FALSE(responder.respondsToAction(QStringLiteral("redo:")));
}

TEST(ActionTable, ValidatesEachActionByItsOwnRow)
{
    DerivedResponder responder;
    QAction item;
    EXPECT_FALSE(responder.validateAction(actionname::undo, &item));
    EXPECT_EQ(item.text(), QStringLiteral("Undo Typing"));
    responder.canUndo = true;
    EXPECT_TRUE(responder.validateAction(actionname::undo, &item));

    EXPECT_TRUE(responder.validateAction(actionname::copy, &item));  // no validation: always enabled
    EXPECT_FALSE(responder.validateAction(actionname::paste, &item));
    EXPECT_FALSE(responder.validateAction(actionname::redo, &item));  // not answered
}

TEST(ActionTable, PerformsOnlyTheRowOfTheAction)
{
    DerivedResponder responder;
    QObject sender;
    responder.performAction(actionname::copy, &sender);
    EXPECT_EQ(responder.copiedFrom, &sender);
    EXPECT_EQ(responder.undone, 0);

    responder.performAction(actionname::undo, nullptr);
    responder.performAction(actionname::redo, nullptr);   // not answered: nothing
    responder.performAction(actionname::paste, nullptr);  // a row without a performer: nothing
    EXPECT_EQ(responder.undone, 1);
    EXPECT_EQ(responder.copiedFrom, &sender);
}

}  // namespace
