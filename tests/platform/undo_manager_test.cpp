#include "platform/UndoManager.h"
#include "platform/Value.h"

#include <QAction>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>

using namespace quorvel;

namespace {

// An editor whose keyed setter registers its own inverse, as the record editors do.
class RecordEditor
{
public:
    explicit RecordEditor(UndoManager& undo) : mUndo(undo) {}

    void setValue(Dictionary record, const QString& key, const Value& value)
    {
        const Value old = record.value(key);
        if (old == value)
            return;
        mUndo.registerUndo(this, [this, record, key, old] { setValue(record, key, old); });
        record.setValue(key, value);
    }

private:
    UndoManager& mUndo;
};

void endOfUserAction()
{
    QCoreApplication::processEvents();  // control back in the event loop
}

}  // namespace

TEST(UndoManager, UndoAndRedoAlternateAndANewEditClearsRedo)
{
    UndoManager undo;
    RecordEditor editor(undo);
    Dictionary inclusion;
    inclusion.setValue("Th", 100.0);

    editor.setValue(inclusion, "Th", 120.0);
    endOfUserAction();
    editor.setValue(inclusion, "comment", "first setting of a key");
    endOfUserAction();

    undo.undo();
    EXPECT_FALSE(inclusion.contains("comment")) << "undoing the first setting removes the key";
    undo.undo();
    EXPECT_EQ(inclusion.doubleValue("Th"), 100.0);
    EXPECT_FALSE(undo.canUndo());

    undo.redo();
    EXPECT_EQ(inclusion.doubleValue("Th"), 120.0);
    undo.undo();
    undo.redo();
    undo.redo();
    EXPECT_EQ(inclusion.stringValue("comment"), "first setting of a key");
    EXPECT_FALSE(undo.canRedo());

    undo.undo();
    EXPECT_TRUE(undo.canRedo());
    editor.setValue(inclusion, "Fv", 10.0);
    EXPECT_FALSE(undo.canRedo()) << "a new edit clears the redo stack";
}

TEST(UndoManager, OneUserActionIsOneGroupReplayedLastRegisteredFirst)
{
    UndoManager undo;
    QStringList log;
    auto step = [&](const QString& name) {
        undo.registerUndo(nullptr, [&log, name] { log << name; });
    };

    step("a");
    step("b");
    undo.beginUndoGrouping();  // an explicit group inside the user action belongs to it
    step("c");
    undo.endUndoGrouping();
    endOfUserAction();
    step("d");
    endOfUserAction();

    undo.undo();
    EXPECT_EQ(log, QStringList({"d"}));
    undo.undo();
    EXPECT_EQ(log, QStringList({"d", "c", "b", "a"}));

    // An explicit group still open when the pass ends (a modal panel runs the
    // event loop): the user action's group closes at the end of the pass the
    // explicit group ends in, not with the next user action.
    log.clear();
    step("e");
    undo.beginUndoGrouping();
    endOfUserAction();
    step("f");
    undo.endUndoGrouping();
    endOfUserAction();
    step("g");
    endOfUserAction();
    undo.undo();
    EXPECT_EQ(log, QStringList({"g"}));
    undo.undo();
    EXPECT_EQ(log, QStringList({"g", "f", "e"}));

    // Explicit groups without the event loop.
    UndoManager manual;
    manual.setGroupsByEvent(false);
    manual.beginUndoGrouping();
    manual.registerUndo(nullptr, [&log] { log << "x"; });
    manual.registerUndo(nullptr, [&log] { log << "y"; });
    manual.endUndoGrouping();
    manual.registerUndo(nullptr, [&log] { log << "single"; });
    log.clear();
    manual.undo();
    manual.undo();
    EXPECT_EQ(log, QStringList({"single", "y", "x"}));
}

TEST(UndoManager, ActionNamesAndMenuActionsFollowTheStacks)
{
    UndoManager undo;
    RecordEditor editor(undo);
    QAction* undoAction = undo.createUndoAction(&undo);
    QAction* redoAction = undo.createRedoAction(&undo);
    EXPECT_EQ(undoAction->text(), "Undo");
    EXPECT_FALSE(undoAction->isEnabled());

    Dictionary inclusion;
    editor.setValue(inclusion, "Th", 150.0);
    undo.setActionName("Th Change");
    EXPECT_TRUE(undoAction->isEnabled()) << "enabled as soon as the edit is registered";
    endOfUserAction();
    EXPECT_EQ(undoAction->text(), "Undo Th Change");

    undoAction->trigger();
    EXPECT_FALSE(inclusion.contains("Th"));
    EXPECT_EQ(redoAction->text(), "Redo Th Change");
    EXPECT_TRUE(redoAction->isEnabled());
    EXPECT_EQ(undoAction->text(), "Undo");

    redoAction->trigger();
    EXPECT_EQ(inclusion.doubleValue("Th"), 150.0);
    EXPECT_EQ(undoAction->text(), "Undo Th Change") << "the name goes with the group both ways";
}

TEST(UndoManager, TheInverseOfASetterRestoresThePreviousValueBothWays)
{
    UndoManager undo;
    double thickness = 1.0;
    std::function<void(double)> setThickness = [&](double value) {
        undo.registerInverse(&thickness, QStringLiteral("Change Of Line Thickness"), setThickness, thickness);
        thickness = value;
    };
    setThickness(3.0);
    endOfUserAction();
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Change Of Line Thickness"));
    undo.undo();
    EXPECT_EQ(thickness, 1.0);
    ASSERT_TRUE(undo.canRedo());
    EXPECT_EQ(undo.redoActionName(), QStringLiteral("Change Of Line Thickness"));
    undo.redo();
    EXPECT_EQ(thickness, 3.0);
    undo.undo();
    EXPECT_EQ(thickness, 1.0);
}

TEST(UndoManager, RemovingATargetsActionsKeepsTheOthers)
{
    UndoManager undo;
    undo.setGroupsByEvent(false);
    QStringList log;
    int controller = 0;
    int view = 0;
    undo.beginUndoGrouping();
    undo.registerUndo(&controller, [&] { log << "controller 1"; });
    undo.registerUndo(&view, [&] { log << "view"; });
    undo.endUndoGrouping();
    undo.registerUndo(&controller, [&] { log << "controller 2"; });

    undo.removeAllActions(&controller);  // a controller going away
    EXPECT_TRUE(undo.canUndo());
    undo.undo();
    EXPECT_EQ(log, QStringList({"view"}));
    EXPECT_FALSE(undo.canUndo()) << "groups left empty are dropped";
}
