#include "platform/UndoManager.h"

#include <QAction>
#include <QMetaObject>

#include <algorithm>

namespace quorvel {

UndoManager::UndoManager(QObject* parent) : QObject(parent) {}
UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(const void* target, std::function<void()> action)
{
    if (!mUndoing && !mRedoing)
        mRedoStack.clear();
    const bool ownGroup = mLevel == 0;
    if (ownGroup) {
        beginUndoGrouping();
        if (mGroupsByEvent) {
            // The group of this user action closes when control is back in the event loop.
            mEventGroupOpen = true;
            QMetaObject::invokeMethod(this, &UndoManager::closeEventGroup, Qt::QueuedConnection);
        }
    }
    mOpenGroup.actions.push_back(Action{target, std::move(action)});
    if (ownGroup && !mGroupsByEvent)
        endUndoGrouping();
    emit stateChanged();
}

void UndoManager::setActionName(const QString& name)
{
    if (mLevel > 0)
        mOpenGroup.actionName = name;
    else if (!mUndoStack.empty() && !mUndoing)
        mUndoStack.back().actionName = name;
    else
        return;
    emit stateChanged();
}

void UndoManager::beginUndoGrouping()
{
    ++mLevel;
}

void UndoManager::endUndoGrouping()
{
    if (mLevel == 0)
        return;
    if (--mLevel > 0) {
        // Back to the user action's own group after an explicit group that
        // outlasted the event-loop pass: it closes at the end of this pass.
        if (mLevel == 1 && mEventGroupOpen)
            QMetaObject::invokeMethod(this, &UndoManager::closeEventGroup, Qt::QueuedConnection);
        return;
    }
    mEventGroupOpen = false;
    Group group = std::move(mOpenGroup);
    mOpenGroup = Group{};
    if (group.actions.empty())
        return;
    mLastGroupViewOnly = isViewOnly(group);
    (mUndoing ? mRedoStack : mUndoStack).push_back(std::move(group));
    emit didCloseUndoGroup();
    emit stateChanged();
}

void UndoManager::closeEventGroup()
{
    if (mEventGroupOpen && mLevel == 1)
        endUndoGrouping();
}

bool UndoManager::canUndo() const
{
    return !mUndoStack.empty() || (mEventGroupOpen && mLevel == 1 && !mOpenGroup.actions.empty());
}

bool UndoManager::canRedo() const
{
    return !mRedoStack.empty();
}

void UndoManager::undo()
{
    if (mUndoing || mRedoing)
        return;
    closeEventGroup();
    if (mLevel > 0 || mUndoStack.empty())
        return;  // an explicit group is still open, or nothing to undo
    replay(mUndoStack, true);
    emit didUndo();
    emit stateChanged();
}

void UndoManager::redo()
{
    if (mUndoing || mRedoing)
        return;
    closeEventGroup();
    if (mLevel > 0 || mRedoStack.empty())
        return;
    replay(mRedoStack, false);
    emit didRedo();
    emit stateChanged();
}

// Runs the top group of `from` backwards inside a group of the same name,
// which receives the inverse registrations.
void UndoManager::replay(std::vector<Group>& from, bool undoing)
{
    Group group = std::move(from.back());
    from.pop_back();
    const bool viewOnly = isViewOnly(group);
    (undoing ? mUndoing : mRedoing) = true;
    beginUndoGrouping();
    mOpenGroup.actionName = group.actionName;
    for (auto action = group.actions.rbegin(); action != group.actions.rend(); ++action)
        action->run();
    endUndoGrouping();
    (undoing ? mUndoing : mRedoing) = false;
    mLastGroupViewOnly = viewOnly;
}

bool UndoManager::isViewOnly(const Group& group) const
{
    return std::all_of(group.actions.begin(), group.actions.end(),
                       [this](const Action& a) { return mViewOnlyTargets.count(a.target) > 0; });
}

QString UndoManager::undoActionName() const
{
    if (mEventGroupOpen && mLevel == 1 && !mOpenGroup.actions.empty())
        return mOpenGroup.actionName;
    return mUndoStack.empty() ? QString() : mUndoStack.back().actionName;
}

QString UndoManager::redoActionName() const
{
    return mRedoStack.empty() ? QString() : mRedoStack.back().actionName;
}

QString UndoManager::undoMenuItemTitle() const
{
    const QString name = undoActionName();
    return name.isEmpty() ? tr("Undo") : tr("Undo %1").arg(name);
}

QString UndoManager::redoMenuItemTitle() const
{
    const QString name = redoActionName();
    return name.isEmpty() ? tr("Redo") : tr("Redo %1").arg(name);
}

void UndoManager::removeAllActions()
{
    mUndoStack.clear();
    mRedoStack.clear();
    mOpenGroup.actions.clear();
    emit stateChanged();
}

void UndoManager::removeAllActions(const void* target)
{
    auto strip = [target](Group& group) {
        std::erase_if(group.actions, [target](const Action& a) { return a.target == target; });
    };
    for (auto* stack : {&mUndoStack, &mRedoStack}) {
        std::for_each(stack->begin(), stack->end(), strip);
        std::erase_if(*stack, [](const Group& g) { return g.actions.empty(); });
    }
    strip(mOpenGroup);
    emit stateChanged();
}

QAction* UndoManager::createUndoAction(QObject* parent)
{
    auto* action = new QAction(parent);
    action->setShortcut(QKeySequence::Undo);
    auto update = [this, action] {
        action->setText(undoMenuItemTitle());
        action->setEnabled(canUndo());
    };
    update();
    connect(this, &UndoManager::stateChanged, action, update);
    connect(action, &QAction::triggered, this, &UndoManager::undo);
    return action;
}

QAction* UndoManager::createRedoAction(QObject* parent)
{
    auto* action = new QAction(parent);
    action->setShortcut(QKeySequence::Redo);
    auto update = [this, action] {
        action->setText(redoMenuItemTitle());
        action->setEnabled(canRedo());
    };
    update();
    connect(this, &UndoManager::stateChanged, action, update);
    connect(action, &QAction::triggered, this, &UndoManager::redo);
    return action;
}

}  // namespace quorvel
