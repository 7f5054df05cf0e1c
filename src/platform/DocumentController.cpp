#include "platform/DocumentController.h"

#include "platform/ActionNames.h"
#include "platform/Document.h"
#include "platform/FileChooser.h"
#include "platform/WindowController.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace quorvel {

namespace {
DocumentController* gShared = nullptr;

const QString kRecentKey = QStringLiteral("RecentDocuments");
constexpr int kMaxRecentDocuments = 10;

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}
}  // namespace

DocumentController::DocumentController()
{
    if (!gShared)
        gShared = this;
    mRecentPaths = QSettings().value(kRecentKey).toStringList();
    setLastResponder(this);
    answerActions({
        {actionname::newDocument, nullptr, [this](QObject*) { openUntitledDocumentAndDisplay(true); }},
        {actionname::openDocument, nullptr, [this](QObject*) { openChosenDocument(); }},
        {actionname::openRecentDocument, nullptr,
         [this](QObject* sender) {
             if (auto* item = qobject_cast<QAction*>(sender))
                 openRecentDocument(item->data().toString());
         }},
        {actionname::clearRecentDocuments, [this](QAction*) { return !mRecentPaths.isEmpty(); },
         [this](QObject*) { clearRecentDocuments(); }},
        {actionname::terminate, nullptr,
         [this](QObject*) {
             if (reviewUnsavedDocumentsForQuit())
                 QApplication::quit();
         }},
    });
}

DocumentController::~DocumentController()
{
    if (lastResponder() == this)
        setLastResponder(nullptr);
    // One at a time from the last: a document going may tell observers, who read the list.
    while (!mDocuments.empty()) {
        std::unique_ptr<Document> going = std::move(mDocuments.back());
        mDocuments.pop_back();
        going.reset();
    }
    if (gShared == this)
        gShared = nullptr;
}

DocumentController* DocumentController::sharedDocumentController()
{
    return gShared;
}

void DocumentController::addDocumentType(DocumentType type)
{
    mTypes.push_back(std::move(type));
}

const DocumentType* DocumentController::typeNamed(const QString& name) const
{
    auto found = std::find_if(mTypes.begin(), mTypes.end(), [&](const DocumentType& t) { return t.name == name; });
    return found == mTypes.end() ? nullptr : &*found;
}

const DocumentType* DocumentController::typeForExtension(const QString& extension) const
{
    auto found = std::find_if(mTypes.begin(), mTypes.end(), [&](const DocumentType& t) {
        return !t.extension.isEmpty() && t.extension.compare(extension, Qt::CaseInsensitive) == 0;
    });
    return found == mTypes.end() ? nullptr : &*found;
}

QString DocumentController::extensionForType(const QString& name) const
{
    const DocumentType* type = typeNamed(name);
    return type ? type->extension : QString();
}

QString DocumentController::defaultType() const
{
    return mTypes.empty() ? QString() : mTypes.front().name;
}

QList<Document*> DocumentController::documents() const
{
    QList<Document*> list;
    for (const auto& document : mDocuments)
        list.append(document.get());
    return list;
}

void DocumentController::addDocument(std::unique_ptr<Document> document)
{
    mDocuments.push_back(std::move(document));
    emit documentsChanged();
}

void DocumentController::removeDocument(Document* document)
{
    auto found = std::find_if(mDocuments.begin(), mDocuments.end(),
                              [document](const auto& d) { return d.get() == document; });
    if (found == mDocuments.end())
        return;
    found->release()->deleteLater();
    mDocuments.erase(found);
    emit documentsChanged();
}

Document* DocumentController::documentForFile(const QString& path) const
{
    const QString wanted = canonical(path);
    for (const auto& document : mDocuments)
        if (!document->filePath().isEmpty() && canonical(document->filePath()) == wanted)
            return document.get();
    return nullptr;
}

int DocumentController::nextUntitledNumber() const
{
    int highest = 0;
    for (const auto& document : mDocuments)
        if (document->filePath().isEmpty() && !extensionForType(document->fileType()).isEmpty())
            highest = std::max(highest, document->property("untitledNumber").toInt());
    return highest + 1;
}

std::unique_ptr<Document> DocumentController::makeUntitledDocumentOfType(const QString& typeName)
{
    const DocumentType* type = typeNamed(typeName);
    if (!type || !type->make)
        return nullptr;
    std::unique_ptr<Document> document = type->make();
    if (!document)
        return nullptr;
    document->setFileType(type->name);
    const int number = nextUntitledNumber();
    document->setProperty("untitledNumber", number);
    document->setUntitledNumber(number);
    return document;
}

Document* DocumentController::openUntitledDocumentAndDisplay(bool display)
{
    std::unique_ptr<Document> made = makeUntitledDocumentOfType(defaultType());
    if (!made)
        return nullptr;
    Document* document = made.get();
    addDocument(std::move(made));
    document->makeWindowControllers();
    if (display)
        document->showWindows();
    return document;
}

Document* DocumentController::openDocumentWithContentsOfFile(const QString& path, bool display)
{
    if (Document* open = documentForFile(path)) {
        if (display)
            open->showWindows();
        return open;
    }
    const DocumentType* type = typeForExtension(QFileInfo(path).suffix());
    if (!type || !type->make) {
        alertFileProblem(tr("opened"), path, tr("Its kind of file is not one Quorvel reads."));
        return nullptr;
    }
    std::unique_ptr<Document> made = type->make();
    made->setFileType(type->name);
    QString error;
    if (!made->readFromFile(path, &error)) {
        alertFileProblem(tr("opened"), path, error);
        return nullptr;
    }
    made->setFilePath(canonical(path));
    Document* document = made.get();
    addDocument(std::move(made));
    noteNewRecentDocument(document->filePath());
    document->makeWindowControllers();
    if (display)
        document->showWindows();
    return document;
}

QString DocumentController::runModalOpenPanel(const QStringList& extensions)
{
    QStringList allowed = extensions;
    if (allowed.isEmpty())
        for (const DocumentType& type : mTypes)
            if (!type.extension.isEmpty())
                allowed.append(type.extension);
    return FileChooser::current().chooseFileToOpen(tr("Open"), allowed);
}

void DocumentController::openChosenDocument()
{
    const QString path = runModalOpenPanel({});
    if (!path.isEmpty())
        openDocumentWithContentsOfFile(path, true);
}

QStringList DocumentController::recentDocumentPaths() const
{
    return mRecentPaths;
}

void DocumentController::noteNewRecentDocument(const QString& path)
{
    // One entry per file, however its path was spelled.
    const QString file = canonical(path);
    mRecentPaths.removeAll(file);
    mRecentPaths.prepend(file);
    while (mRecentPaths.size() > kMaxRecentDocuments)
        mRecentPaths.removeLast();
    QSettings().setValue(kRecentKey, mRecentPaths);
}

void DocumentController::openRecentDocument(const QString& path)
{
    // A file gone since it was listed is reported once by the open and leaves the list.
    if (!openDocumentWithContentsOfFile(path, true) && !QFileInfo::exists(path)) {
        mRecentPaths.removeAll(path);
        QSettings().setValue(kRecentKey, mRecentPaths);
    }
}

void DocumentController::clearRecentDocuments()
{
    mRecentPaths.clear();
    QSettings().setValue(kRecentKey, mRecentPaths);
}

bool DocumentController::reviewUnsavedDocumentsForQuit()
{
    for (Document* document : documents())
        if (document->isDocumentEdited() && !document->canCloseDocument())
            return false;
    return true;
}

}  // namespace quorvel
