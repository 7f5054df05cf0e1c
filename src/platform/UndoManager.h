#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <set>
#include <vector>

class QAction;

namespace quorvel {

// A document's undo manager with the platform's semantics:
// - an edit registers its inverse (registerUndo); what is registered while
//   undoing goes to the redo stack, and while redoing back to the undo stack;
//   a registration outside undo and redo clears the redo stack;
// - registrations are grouped: by default every top-level user action (one
//   pass of the event loop) makes one group, closed when control returns to
//   the event loop; beginUndoGrouping / endUndoGrouping make explicit groups,
//   which may nest (a nested group belongs to the group around it);
// - one undo or redo runs every action of the top group, last registered first;
// - a group carries an action name for the menus ("Undo <name>");
// - the actions of one target can be removed (a controller going away).
class UndoManager : public QObject
{
    Q_OBJECT

public:
    explicit UndoManager(QObject* parent = nullptr);
    ~UndoManager() override;

    void registerUndo(const void* target, std::function<void()> action);
    // Names the group being registered (or, with none open, the last one).
    void setActionName(const QString& name);

    // The undo of a property change: registers `setter` called with the value before
    // the change, and names the action. The caller then makes the change. The setter
    // is expected to be the undoable setter itself, so that an undo registers the redo.
    template <class T, class Setter>
    void registerInverse(const void* target, const QString& actionName, Setter setter, T previous)
    {
        registerUndo(target, [setter = std::move(setter), previous = std::move(previous)] { setter(previous); });
        setActionName(actionName);
    }

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const { return mLevel; }
    bool groupsByEvent() const { return mGroupsByEvent; }
    void setGroupsByEvent(bool on) { mGroupsByEvent = on; }

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    bool isUndoing() const { return mUndoing; }
    bool isRedoing() const { return mRedoing; }

    QString undoActionName() const;
    QString redoActionName() const;
    QString undoMenuItemTitle() const;  // "Undo" or "Undo <name>"
    QString redoMenuItemTitle() const;  // "Redo" or "Redo <name>"

    void removeAllActions();
    void removeAllActions(const void* target);

    // Targets whose actions only change what a view shows (a plot's ranges or fonts):
    // a group made of such actions alone does not change the document.
    void addViewOnlyTarget(const void* target) { mViewOnlyTargets.insert(target); }
    void removeViewOnlyTarget(const void* target) { mViewOnlyTargets.erase(target); }
    // Whether the group last closed, undone or redone held view-only actions alone.
    bool lastGroupWasViewOnly() const { return mLastGroupViewOnly; }

    // Menu actions that follow the manager's state and trigger undo / redo.
    QAction* createUndoAction(QObject* parent);
    QAction* createRedoAction(QObject* parent);

signals:
    void stateChanged();       // stacks, names or the open group changed
    void didCloseUndoGroup();  // a top-level group went onto a stack
    void didUndo();
    void didRedo();

private:
    struct Action
    {
        const void* target;
        std::function<void()> run;
    };
    struct Group
    {
        QString actionName;
        std::vector<Action> actions;
    };

    void closeEventGroup();
    bool isViewOnly(const Group& group) const;
    void replay(std::vector<Group>& from, bool undoing);

    std::vector<Group> mUndoStack;
    std::vector<Group> mRedoStack;
    Group mOpenGroup;
    int mLevel = 0;
    bool mEventGroupOpen = false;
    bool mGroupsByEvent = true;
    bool mUndoing = false;
    bool mRedoing = false;
    std::set<const void*> mViewOnlyTargets;
    bool mLastGroupViewOnly = false;
};

}  // namespace quorvel
