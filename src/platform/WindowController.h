#pragma once
// The controller of one document window: makes the window on first use, titles it
// with the document's name and its modified marker, remembers its frame, and closes
// the document with the window when asked to.

#include "platform/Responder.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace quorvel {

class Document;

class WindowController : public QObject, public Responder
{
    Q_OBJECT

public:
    // frameAutosaveName: the key under which the window's frame is remembered (none: not).
    explicit WindowController(const QString& frameAutosaveName = QString());
    ~WindowController() override;

    // The window, made (and windowDidLoad run) on first use.
    QWidget* window();
    bool isWindowLoaded() const { return mWindow != nullptr; }
    void showWindow();
    void close();

    Document* document() const;
    void setDocument(Document* document);
    void setShouldCloseDocument(bool on) { mShouldCloseDocument = on; }
    bool shouldCloseDocument() const { return mShouldCloseDocument; }

    void synchronizeWindowTitleWithDocumentName();
    virtual QString windowTitleForDocumentDisplayName(const QString& displayName) const { return displayName; }
    // A title set by the program in place of the document's name (none: the name).
    void setFixedWindowTitle(const QString& title);

    QStringList answeredActions() const override;
    bool validateAction(const QString& action, QAction* item) override;
    void performAction(const QString& action, QObject* sender) override;
    Responder* nextResponder() const override;

protected:
    virtual QWidget* makeWindow() = 0;  // the controller owns it
    virtual void windowDidLoad() {}
    // Deletes the window; a controller whose window reads its members calls it first in its destructor.
    void destroyWindow();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> mWindow;
    QPointer<Document> mDocument;
    QString mFrameAutosaveName;
    QString mFixedTitle;
    bool mHasFixedTitle = false;
    bool mShouldCloseDocument = false;
};

}  // namespace quorvel
