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
    // Shows the window in front, as the key window. A document's window shown for the first
    // time, neither remembered nor placed by its controller, takes the next place of the
    // cascade; one that is, keeps its place unless an open window has it.
    void showWindow();

    // Where new document windows go: the first just below `window` (the top-left corner of
    // the screen while it is hidden or gone), each later one kCascadeStep further right and
    // down, from the start again once the next would leave the screen.
    static void setCascadeAnchor(QWidget* window);
    static constexpr int kCascadeStep = 24;
    void close();

    Document* document() const;
    void setDocument(Document* document);
    void setShouldCloseDocument(bool on) { mShouldCloseDocument = on; }
    bool shouldCloseDocument() const { return mShouldCloseDocument; }

    void synchronizeWindowTitleWithDocumentName();
    virtual QString windowTitleForDocumentDisplayName(const QString& displayName) const { return displayName; }
    // A title set by the program in place of the document's name (none: the name).
    void setFixedWindowTitle(const QString& title);

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
    bool mPlaced = false;  // shown once, or its frame remembered
};

}  // namespace quorvel
