#include "platform/WindowController.h"

#include "platform/ActionNames.h"
#include "platform/Document.h"
#include "platform/ScreenPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QPoint>
#include <QPointer>
#include <QSettings>

#include <algorithm>

namespace quorvel {

namespace {
const QString kFramesGroup = QStringLiteral("WindowFrames/");

struct Cascade
{
    QPointer<QWidget> anchor;  // new windows go below it
    QPoint topLeft;
    QPoint next;
};

Cascade& cascade()
{
    static Cascade shared;
    return shared;
}

// Where the cascade starts: below its anchor window as it is now, or the screen's top-left corner.
QPoint cascadeTopLeft(const QRect& available)
{
    const QWidget* anchor = cascade().anchor;
    if (!anchor || !anchor->isVisible())
        return available.topLeft();
    const QRect frame = anchor->frameGeometry();
    return QPoint(frame.left(), frame.bottom() + 1 + WindowController::kCascadeStep);
}

// Puts a new window at the cascade's next place, or back at its start when the window would
// not fit the screen from there even at its smallest; the window shrinks to the room it has.
void cascadeWindow(QWidget* window)
{
    Cascade& places = cascade();
    const QRect available = availableScreenGeometry(window);
    if (available.isEmpty())
        return;
    const QSize frameExtra = frameExtraOf(window);
    const QSize smallest = smallestSizeOf(window);
    const QPoint topLeft = cascadeTopLeft(available);
    if (topLeft != places.topLeft || !available.contains(QRect(places.next, smallest + frameExtra)))
        places.next = places.topLeft = topLeft;
    const QSize room = QSize(available.right() + 1 - places.next.x(), available.bottom() + 1 - places.next.y()) - frameExtra;
    window->resize(window->size().boundedTo(room).expandedTo(smallest));
    moveInsideScreen(window, places.next);
    places.next += QPoint(WindowController::kCascadeStep, WindowController::kCascadeStep);
}

// A window given its remembered place steps down the cascade while an open window of the
// application has its top-left corner there: two windows never lie on each other.
void keepClearOfOpenWindows(QWidget* window)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    auto taken = [&](QPoint at) {
        return std::any_of(windows.begin(), windows.end(), [&](const QWidget* other) {
            // Within a step of the other's frame or of its contents (a frame not on screen yet
            // is not known): the same place to the eye.
            const auto near = [&](QPoint corner) { return (corner - at).manhattanLength() < WindowController::kCascadeStep; };
            return other != window && other->isVisible() && (near(other->frameGeometry().topLeft()) || near(other->pos()));
        });
    };
    QPoint at = window->pos();
    for (qsizetype i = 0; i < windows.size() && taken(at); ++i)
        at += QPoint(WindowController::kCascadeStep, WindowController::kCascadeStep);
    if (at != window->pos())
        moveInsideScreen(window, at);
}
}  // namespace

void WindowController::setCascadeAnchor(QWidget* window)
{
    cascade().anchor = window;
}

WindowController::WindowController(const QString& frameAutosaveName) : mFrameAutosaveName(frameAutosaveName)
{
    answerActions({{actionname::performClose, [this](QAction*) { return mWindow != nullptr; },
                    [this](QObject*) { close(); }}});
}

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
            mPlaced = mWindow->restoreGeometry(frame);
    }
    synchronizeWindowTitleWithDocumentName();
    windowDidLoad();
    return mWindow;
}

void WindowController::showWindow()
{
    QWidget* w = window();
    // A window remembered or placed by its controller keeps its place, clear of the others.
    if (!mPlaced && mDocument && !w->testAttribute(Qt::WA_Moved))
        cascadeWindow(w);
    else if (!mPlaced && mDocument)
        keepClearOfOpenWindows(w);
    mPlaced = true;
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

Responder* WindowController::nextResponder() const
{
    return mDocument.data();
}

}  // namespace quorvel
