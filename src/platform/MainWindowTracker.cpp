#include "platform/MainWindowTracker.h"

#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QEvent>

namespace quorvel {

namespace {

const char* floatingPanelProperty = "quorvelFloatingPanel";

void post(const QString& name, QWidget* window)
{
    NotificationCenter::defaultCenter().postNotification(name, window);
}

bool isClosableWindow(const QWidget* widget)
{
    if (!widget || !widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool || type == Qt::Drawer;
}

}  // namespace

MainWindowTracker& MainWindowTracker::instance()
{
    static MainWindowTracker* tracker = new MainWindowTracker;  // lives as long as the application
    return *tracker;
}

MainWindowTracker::MainWindowTracker()
{
    qApp->installEventFilter(this);
}

bool MainWindowTracker::canBecomeMain(const QWidget* window)
{
    return window && window->isWindow() && window->windowType() == Qt::Window
           && !window->property(floatingPanelProperty).toBool();
}

void MainWindowTracker::setFloatingPanel(QWidget* window, bool floating)
{
    window->setProperty(floatingPanelProperty, floating);
}

void MainWindowTracker::windowActivated(QWidget* window)
{
    if (!canBecomeMain(window) || window == mMain)
        return;
    if (QWidget* previous = mMain) {
        mMain = nullptr;
        post(WindowDidResignMainNotification, previous);
    }
    mMain = window;
    post(WindowDidBecomeMainNotification, window);
}

void MainWindowTracker::windowWillClose(QWidget* window)
{
    post(WindowWillCloseNotification, window);
    if (window == mMain) {
        mMain = nullptr;
        post(WindowDidResignMainNotification, window);
    }
}

bool MainWindowTracker::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!isClosableWindow(widget))
        return false;
    switch (event->type()) {
    case QEvent::WindowActivate:
        windowActivated(widget);
        break;
    case QEvent::Close:
        if (!mClosing.contains(widget))
            mClosing.append(widget);
        break;
    case QEvent::Show:
        mClosing.removeAll(widget);
        break;
    case QEvent::Hide:
        // A hide that follows an accepted close: the window is closing.
        if (mClosing.removeAll(widget) > 0)
            windowWillClose(widget);
        break;
    default:
        break;
    }
    mClosing.removeAll(nullptr);
    return false;
}

}  // namespace quorvel
