#pragma once
// The application's document controller: the document types with their New and Open
// commands, the Show commands of the log, axis-range and toolbar windows, and the
// default type of the untitled documents it makes (the splash document at launch).

#include "platform/DocumentController.h"

#include <QPointer>

class QWidget;

namespace quorvel {

class Document;

class CCQuorvelDocumentController : public DocumentController
{
    Q_OBJECT

public:
    CCQuorvelDocumentController();

    QString defaultType() const override { return mDefaultType; }

    // New document windows cascade from below the toolbar window.
    void setToolBarWindow(QWidget* window);
    QWidget* toolBarWindow() const { return mToolBarWindow; }

    // After launch: the inspector panels start following the documents.
    void applicationDidFinishLaunching();
    // The toolbar window moves to the top-left corner of the main screen when it becomes key.
    void windowDidBecomeKey(QWidget* window);

    void onShowToolBarWindow(QObject* sender);
    void onShowLogWindow(QObject* sender);
    void onShowAxisRangePanel(QObject* sender);

    // New of a type: the type becomes the default one for good, then an untitled document
    // of it is made and shown (nothing when the type has no document class).
    Document* newDocumentOfType(const QString& type);
    // The open panel limited to the extension; the document, or none when cancelled or refused.
    Document* openDocumentWithExtension(const QString& extension);

private:
    void answerApplicationActions();

    QString mDefaultType;
    QPointer<QWidget> mToolBarWindow;
};

// An open panel for files of the extension; the document opened without a window
// (the caller closes it when done), or none.
Document* openDocumentNoDisplay(const QString& extension);

}  // namespace quorvel
