#pragma once
// The application's one document controller: the table of document types, the open
// documents in the order they were opened or made, New, Open, Open Recent, and the
// review of unsaved documents before the application quits.

#include "platform/Responder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace quorvel {

class Document;

struct DocumentType
{
    QString name;       // "Quorvel Inclusion Data"
    QString extension;  // "inc"; empty for a type never saved or opened
    std::function<std::unique_ptr<Document>()> make;
};

class DocumentController : public QObject, public Responder
{
    Q_OBJECT

public:
    // The first controller made becomes the shared one until it goes.
    DocumentController();
    ~DocumentController() override;
    static DocumentController* sharedDocumentController();

    void addDocumentType(DocumentType type);
    const DocumentType* typeNamed(const QString& name) const;
    const DocumentType* typeForExtension(const QString& extension) const;
    QString extensionForType(const QString& name) const;
    virtual QString defaultType() const;

    QList<Document*> documents() const;
    // Takes the document into the list (the controller owns it).
    void addDocument(std::unique_ptr<Document> document);
    // Takes the document out of the list; it is deleted when control is back in the event loop.
    void removeDocument(Document* document);
    Document* documentForFile(const QString& path) const;

    // A new untitled document of the type (not yet in the list), none for an unknown type.
    std::unique_ptr<Document> makeUntitledDocumentOfType(const QString& type);
    // A new untitled document of the default type, listed, with its windows (shown when asked).
    Document* openUntitledDocumentAndDisplay(bool display);
    // The document of the file: the open one when it is open already, else read, listed and
    // given its windows. A file that cannot be read is reported by one alert naming it; none then.
    Document* openDocumentWithContentsOfFile(const QString& path, bool display);
    // The open panel limited to the extensions (empty: every known type); an empty path when cancelled.
    QString runModalOpenPanel(const QStringList& extensions);

    QStringList recentDocumentPaths() const;
    void noteNewRecentDocument(const QString& path);
    // Open Recent's item: the file's document; a file that no longer exists leaves the list.
    void openRecentDocument(const QString& path);
    void clearRecentDocuments();

    // Asks about every edited document in turn (Save / Don't Save / Cancel); a Cancel or a
    // failed save stops the review and keeps every document open. True when the application may quit.
    bool reviewUnsavedDocumentsForQuit();

signals:
    void documentsChanged();

private:
    int nextUntitledNumber() const;
    // Open's item: the document of the file chosen in the open panel, if any.
    void openChosenDocument();

    std::vector<DocumentType> mTypes;
    std::vector<std::unique_ptr<Document>> mDocuments;
    QStringList mRecentPaths;
};

}  // namespace quorvel
