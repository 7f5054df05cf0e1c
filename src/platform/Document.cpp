#include "platform/Document.h"

#include "platform/ActionNames.h"
#include "platform/AlertService.h"
#include "platform/DocumentController.h"
#include "platform/FileAccess.h"
#include "platform/FileChooser.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PrintPanel.h"
#include "platform/PropertyListCheck.h"
#include "platform/RunTimeKeys.h"
#include "platform/UndoManager.h"
#include "platform/WindowController.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QPainter>

namespace quorvel {

bool isArrayOfDictionaries(const Value& value)
{
    if (!value.isArray())
        return false;
    for (const Value& element : value.toArray())
        if (!element.isDictionary())
            return false;
    return true;
}

QString damagedRootEntryMessage(const QString& key)
{
    return QObject::tr("The archive's \"%1\" entry is damaged.").arg(key);
}

bool refuseLoad(const QString& message, QString* error)
{
    if (error)
        *error = message;
    return false;
}

void alertFileProblem(const QString& verb, const QString& path, const QString& reason)
{
    showCriticalAlert(QObject::tr("Alert"), QObject::tr("The document \u201c%1\u201d could not be %2.\n%3")
                                                .arg(path, verb, reason));
}

Document::Document() : mUndoManager(std::make_unique<UndoManager>())
{
    followUndoManager();
    answerDocumentActions();
}

Document::~Document()
{
    mWindowControllers.clear();
}

// Every closed group of edits counts as one change, an undo takes it back and a redo
// makes it again; groups that only change what a view shows do not count.
void Document::followUndoManager()
{
    UndoManager* undo = mUndoManager.get();
    connect(undo, &UndoManager::didCloseUndoGroup, this, [this, undo] {
        if (!undo->isUndoing() && !undo->isRedoing() && !undo->lastGroupWasViewOnly())
            updateChangeCount(ChangeDone);
    });
    connect(undo, &UndoManager::didUndo, this, [this, undo] {
        if (!undo->lastGroupWasViewOnly())
            updateChangeCount(ChangeUndone);
    });
    connect(undo, &UndoManager::didRedo, this, [this, undo] {
        if (!undo->lastGroupWasViewOnly())
            updateChangeCount(ChangeRedone);
    });
}

void Document::setFilePath(const QString& path)
{
    mFilePath = path;
    emit displayNameChanged();
}

QString Document::displayName() const
{
    if (!mFilePath.isEmpty())
        return QFileInfo(mFilePath).fileName();
    return mUntitledNumber <= 1 ? tr("Untitled") : tr("Untitled %1").arg(mUntitledNumber);
}

void Document::updateChangeCount(ChangeType change)
{
    switch (change) {
    case ChangeDone:
    case ChangeRedone: setChangeCount(mChangeCount + 1); break;
    case ChangeUndone: setChangeCount(mChangeCount - 1); break;
    case ChangeCleared: setChangeCount(0); break;
    }
}

void Document::setChangeCount(int count)
{
    const bool wasEdited = isDocumentEdited();
    mChangeCount = count;
    if (wasEdited != isDocumentEdited())
        emit editedChanged(isDocumentEdited());
}

void Document::addWindowController(std::unique_ptr<WindowController> controller)
{
    controller->setDocument(this);
    mWindowControllers.push_back(std::move(controller));
}

void Document::showWindows()
{
    for (const auto& controller : mWindowControllers)
        controller->showWindow();
}

bool Document::readFromFile(const QString& path, QString* error)
{
    const FileContents file = readWholeFile(path, PropertyListCheck::maxSize);
    if (file.status != FileReadStatus::Read) {
        *error = fileReadProblem(file, PropertyListCheck::maxSize);
        return false;
    }
    return loadDataRepresentation(file.bytes, mFileType, error);
}

bool Document::writeToFile(const QString& path, QString* error)
{
    const QByteArray data = dataRepresentationOfType(mFileType, error);
    if (data.isEmpty())
        return false;
    if (const std::optional<QString> reason = writeFileAtomically(path, data)) {
        if (error)
            *error = *reason;
        return false;
    }
    return true;
}

bool Document::saveTo(const QString& path)
{
    QString error;
    if (!writeToFile(path, &error)) {
        alertFileProblem(tr("saved"), path, error);
        return false;
    }
    const bool renamed = path != mFilePath;
    mFilePath = path;
    updateChangeCount(ChangeCleared);
    if (renamed) {
        emit displayNameChanged();
        if (auto* controller = DocumentController::sharedDocumentController())
            controller->noteNewRecentDocument(path);
    }
    return true;
}

void Document::answerDocumentActions()
{
    answerActions({
        {actionname::saveDocument, nullptr, [this](QObject*) { saveDocument(); }},
        {actionname::saveDocumentAs, nullptr, [this](QObject*) { saveDocumentAs(); }},
        {actionname::revertDocumentToSaved, [this](QAction*) { return !mFilePath.isEmpty() && isDocumentEdited(); },
         [this](QObject*) { revertDocumentToSaved(); }},
        {actionname::performClose, nullptr,
         [this](QObject*) {
             if (canCloseDocument())
                 close();
         }},
        {actionname::printDocument, [this](QAction*) { return canPrint(); }, [this](QObject*) { printDocument(); }},
        {actionname::undo,
         [this](QAction* item) {
             item->setText(mUndoManager->undoMenuItemTitle());
             return mUndoManager->canUndo();
         },
         [this](QObject*) { mUndoManager->undo(); }},
        {actionname::redo,
         [this](QAction* item) {
             item->setText(mUndoManager->redoMenuItemTitle());
             return mUndoManager->canRedo();
         },
         [this](QObject*) { mUndoManager->redo(); }},
    });
}

bool Document::saveDocument()
{
    return mFilePath.isEmpty() ? saveDocumentAs() : saveTo(mFilePath);
}

bool Document::saveDocumentAs()
{
    QString extension;
    if (auto* controller = DocumentController::sharedDocumentController())
        extension = controller->extensionForType(mFileType);
    const QString proposed = extension.isEmpty() ? displayName() : displayName() + QLatin1Char('.') + extension;
    QString path = FileChooser::current().chooseFileToSave(tr("Save"), proposed,
                                                           extension.isEmpty() ? QStringList() : QStringList{extension});
    if (path.isEmpty())
        return false;
    // A name with a dot of its own ("QZ-12.5") still gets the type's extension.
    if (!extension.isEmpty() && QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) != 0) {
        path += QLatin1Char('.') + extension;
        // The chooser asked about the name without it; a file of the full name is asked about here.
        if (path != mFilePath && QFileInfo::exists(path) && !confirmReplacing(path))
            return false;
    }
    return saveTo(path);
}

bool Document::confirmReplacing(const QString& path) const
{
    return confirm(tr("Alert"),
                   tr("\u201c%1\u201d already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
                   tr("Replace"), tr("Cancel"))
           == AlertResponse::Default;
}

bool Document::revertDocumentToSaved()
{
    if (mFilePath.isEmpty())
        return false;
    QString error;
    if (!readFromFile(mFilePath, &error)) {
        alertFileProblem(tr("reverted"), mFilePath, error);
        return false;
    }
    mUndoManager->removeAllActions();
    updateChangeCount(ChangeCleared);
    emit documentReloaded();
    documentDidRevert();
    return true;
}

bool Document::canCloseDocument()
{
    if (!isDocumentEdited())
        return true;
    const AlertResponse answer =
        confirm(tr("Alert"), tr("Do you want to save the changes you made in the document \u201c%1\u201d?").arg(displayName()),
                tr("Save"), tr("Don't Save"), tr("Cancel"));
    switch (answer) {
    case AlertResponse::Default: return saveDocument();
    case AlertResponse::Alternate: return true;
    case AlertResponse::Other: return false;
    }
    return false;
}

void Document::close()
{
    if (mClosing)
        return;
    mClosing = true;
    emit willClose();
    for (const auto& controller : mWindowControllers)
        controller->close();
    if (auto* controller = DocumentController::sharedDocumentController())
        controller->removeDocument(this);
}

bool Document::printFirstWindow()
{
    if (mWindowControllers.empty())
        return false;
    QWidget* window = mWindowControllers.front()->window();
    // The document's contents, without the window's menu bar.
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    QWidget* contents = mainWindow && mainWindow->centralWidget() ? mainWindow->centralWidget() : window;
    return printWithPanel(displayName(), window,
                          [contents](QPainter& painter) { drawWidgetOnOnePage(painter, *contents); });
}

QByteArray Document::archiveRoots(const KeyedArchiver::RootList& roots, QString* error)
{
    KeyedArchiver archiver;
    archiver.setTransientKeys(kRunTimeKeys);
    for (const auto& [key, value] : roots)
        archiver.encodeObject(value, key);
    const QByteArray data = archiver.finishEncoding();
    if (archiver.hasError() && error)
        *error = archiver.errorString();
    return data;
}

std::optional<Dictionary> Document::unarchiveRoots(const QByteArray& data, const QStringList& requiredKeys,
                                                   QString* error)
{
    return KeyedUnarchiver::unarchivedRootKeys(data, requiredKeys, error);
}

}  // namespace quorvel
