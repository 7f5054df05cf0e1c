#pragma once
// How the editor's parts record an edit in the document: the inverse registered with the
// document's undo manager (all under the window controller, which takes them away when it
// goes), the change count, and the notice that the fluids changed.

#include <functional>

namespace quorvel {

class UndoManager;
class WindowController;

class EditorChanges
{
public:
    explicit EditorChanges(WindowController& owner) : mOwner(owner) {}

    // One undoable step of everything registered while it lives; closing it marks the
    // document changed.
    class Group
    {
    public:
        explicit Group(UndoManager* undo);
        ~Group();
        Group(const Group&) = delete;
        Group& operator=(const Group&) = delete;

    private:
        UndoManager* mUndo;
    };

    void registerUndo(std::function<void()> inverse) const;
    [[nodiscard]] Group group() const { return Group(undoManager()); }
    void markChanged() const;
    void postModified() const;
    void forgetUndo() const;

private:
    UndoManager* undoManager() const;

    WindowController& mOwner;
};

}  // namespace quorvel
