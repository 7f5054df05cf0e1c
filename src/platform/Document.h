#pragma once
// A document of the application: its file type and path, its own undo manager and
// change count, its window controllers, and its contents read from and written to
// whole files. Subclasses give the data of the whole document and load it back.

#include "platform/KeyedArchiver.h"
#include "platform/Responder.h"
#include "platform/Value.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class UndoManager;
class WindowController;

class Document : public QObject, public Responder
{
    Q_OBJECT

public:
    enum class ChangeType { ChangeDone, ChangeUndone, ChangeRedone, ChangeCleared };
    using enum ChangeType;
    // What closing a document with unsaved changes answers.
    enum class CloseChoice { Save, DontSave, Cancel };

    Document();
    ~Document() override;

    QString fileType() const { return mFileType; }
    void setFileType(const QString& type) { mFileType = type; }
    QString filePath() const { return mFilePath; }
    void setFilePath(const QString& path);
    // The file's name, or "Untitled", "Untitled 2", ... for a document never saved.
    QString displayName() const;
    void setUntitledNumber(int number) { mUntitledNumber = number; }

    UndoManager* undoManager() const { return mUndoManager.get(); }

    // The change count: done and redone add one, undone takes one, cleared resets it.
    void updateChangeCount(ChangeType change);
    bool isDocumentEdited() const { return mChangeCount != 0; }
    int changeCount() const { return mChangeCount; }

    // Window controllers, owned by the document.
    virtual void makeWindowControllers() {}
    void addWindowController(std::unique_ptr<WindowController> controller);
    const std::vector<std::unique_ptr<WindowController>>& windowControllers() const { return mWindowControllers; }
    void showWindows();

    // The whole document's data, and loading it back (false with a message when refused).
    virtual QByteArray dataRepresentationOfType(const QString& type, QString* error) = 0;
    virtual bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) = 0;

    // Reads the file into the document; false with a message when refused.
    bool readFromFile(const QString& path, QString* error);
    // Writes the document atomically: the old file stays byte for byte when it fails.
    bool writeToFile(const QString& path, QString* error);

    // The user's commands; failures are reported by one alert and change nothing.
    bool saveDocument();
    bool saveDocumentAs();
    bool revertDocumentToSaved();
    // Asks Save / Don't Save / Cancel when edited; answers whether the document may close.
    bool canCloseDocument();
    // Closes the windows and takes the document out of the controller (deleted later).
    void close();
    bool isClosing() const { return mClosing; }
    // Printing, for the documents that can print (Print is disabled for the others).
    virtual bool canPrint() const { return false; }
    virtual void printDocument() {}

    // The keyed archive of root values, written without the run-time keys.
    static QByteArray archiveRoots(const KeyedArchiver::RootList& roots, QString* error);
    // The root values of an archive holding every required key; none with a message.
    static std::optional<Dictionary> unarchiveRoots(const QByteArray& data, const QStringList& requiredKeys,
                                                   QString* error);

signals:
    void editedChanged(bool edited);
    void displayNameChanged();
    void willClose();
    // After a load replaced the contents of the open document (revert).
    void documentReloaded();

protected:
    // Prints the first window's contents as they show, on one page, after the print panel; false when
    // cancelled or failed (a failure is reported by one alert).
    bool printFirstWindow();
    // A revert also tells the document's observers; subclasses post their notification here.
    virtual void documentDidRevert() {}

private:
    void setChangeCount(int count);
    void followUndoManager();
    void answerDocumentActions();
    bool saveTo(const QString& path);
    // Whether the user lets a save replace the existing file.
    bool confirmReplacing(const QString& path) const;

    QString mFileType;
    QString mFilePath;
    int mUntitledNumber = 1;
    int mChangeCount = 0;
    bool mClosing = false;
    std::unique_ptr<UndoManager> mUndoManager;
    std::vector<std::unique_ptr<WindowController>> mWindowControllers;
};

// Whether a value read from a file is a list of records (an array of dictionaries only).
bool isArrayOfDictionaries(const Value& value);

// The message for a root entry of an archive that holds another kind of value than its key's.
QString damagedRootEntryMessage(const QString& key);
// A load refused with the message: false.
[[nodiscard]] bool refuseLoad(const QString& message, QString* error);

// Alert for a file that could not be read or written, naming it.
void alertFileProblem(const QString& verb, const QString& path, const QString& reason);

}  // namespace quorvel
