#include "editor/EditorChanges.h"

#include "platform/Document.h"
#include "platform/NotificationCenter.h"
#include "platform/UndoManager.h"
#include "platform/WindowController.h"

#include <QString>

namespace quorvel {

EditorChanges::Group::Group(UndoManager* undo) : mUndo(undo)
{
    if (mUndo)
        mUndo->beginUndoGrouping();
}

EditorChanges::Group::~Group()
{
    if (mUndo)
        mUndo->endUndoGrouping();
}

UndoManager* EditorChanges::undoManager() const
{
    return mOwner.document() ? mOwner.document()->undoManager() : nullptr;
}

void EditorChanges::registerUndo(std::function<void()> inverse) const
{
    if (UndoManager* undo = undoManager())
        undo->registerUndo(&mOwner, std::move(inverse));
}

void EditorChanges::markChanged() const
{
    if (mOwner.document())
        mOwner.document()->updateChangeCount(Document::ChangeDone);
}

void EditorChanges::postModified() const
{
    NotificationCenter::defaultCenter().postNotification(QStringLiteral("FluidModelDataDocModified"), &mOwner);
}

void EditorChanges::forgetUndo() const
{
    if (UndoManager* undo = undoManager())
        undo->removeAllActions(&mOwner);
}

}  // namespace quorvel
