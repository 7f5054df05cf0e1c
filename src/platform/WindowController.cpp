#include "platform/WindowController.h"

#include "platform/Document.h"

#include <QAction>
#include <QCloseEvent>
#include <QSettings>

namespace quorvel {

namespace {
const QString kPerformClose = QStringLiteral("performClose:");
const QString kFramesGroup = QStringLiteral("WindowFrames/");
}  // namespace

WindowController::WindowController(const QString& frameAutosaveName) : mFrameAutosaveName(frameAutosaveName) {}

WindowController::~WindowController()
{
    destroyWindow();
}

void WindowController::destroyWindow()
{
    delete mWindow.data();
}

QWidget* WindowController::window()
{
    if (mWindow)
        return mWindow;
    mWindow = makeWindow();
    setWindowResponder(mWindow, this);
    mWindow->installEventFilter(this);
    if (!mFrameAutosaveName.isEmpty()) {
        const QByteArray frame = QSettings().value(kFramesGroup + mFrameAutosaveName).toByteArray();
        if (!frame.isEmpty())
            mWindow->restoreGeometry(frame);
    }
    synchronizeWindowTitleWithDocumentName();
    windowDidLoad();
    return mWindow;
}

void WindowController::showWindow()
{
    QWidget* w = window();
    w->show();
    w->raise();
    w->activateWindow();
}

void WindowController::close()
{
    if (mWindow)
        mWindow->close();
}

Document* WindowController::document() const
{
    return mDocument;
}

void WindowController::setDocument(Document* document)
{
    mDocument = document;
    if (!document)
        return;
    connect(document, &Document::editedChanged, this, &WindowController::synchronizeWindowTitleWithDocumentName);
    connect(document, &Document::displayNameChanged, this,
            &WindowController::synchronizeWindowTitleWithDocumentName);
    synchronizeWindowTitleWithDocumentName();
}

void WindowController::setFixedWindowTitle(const QString& title)
{
    mFixedTitle = title;
    mHasFixedTitle = true;
    synchronizeWindowTitleWithDocumentName();
}

void WindowController::synchronizeWindowTitleWithDocumentName()
{
    if (!mWindow)
        return;
    if (mHasFixedTitle) {
        mWindow->setWindowTitle(mFixedTitle);
        return;
    }
    if (!mDocument)
        return;
    // "[*]" is where the window shows its modified marker.
    mWindow->setWindowTitle(windowTitleForDocumentDisplayName(mDocument->displayName()) + QStringLiteral("[*]"));
    mWindow->setWindowModified(mDocument->isDocumentEdited());
}

bool WindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mWindow && event->type() == QEvent::Close) {
        if (!mFrameAutosaveName.isEmpty())
            QSettings().setValue(kFramesGroup + mFrameAutosaveName, mWindow->saveGeometry());
        if (mShouldCloseDocument && mDocument && !mDocument->isClosing()) {
            if (!mDocument->canCloseDocument()) {
                event->ignore();
                return true;
            }
            mDocument->close();
        }
    }
    return QObject::eventFilter(watched, event);
}

QStringList WindowController::answeredActions() const
{
    return {kPerformClose};
}

bool WindowController::validateAction(const QString&, QAction*)
{
    return mWindow != nullptr;
}

void WindowController::performAction(const QString&, QObject*)
{
    close();
}

Responder* WindowController::nextResponder() const
{
    return mDocument.data();
}

}  // namespace quorvel
