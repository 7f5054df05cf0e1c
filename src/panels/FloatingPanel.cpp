#include "panels/FloatingPanel.h"

#include "platform/Document.h"
#include "platform/DocumentController.h"
#include "platform/MainWindowTracker.h"
#include "platform/ScreenPlacement.h"

#include <QWidget>

namespace quorvel {

FloatingPanel::FloatingPanel(const QString& frameAutosaveName) : WindowController(frameAutosaveName) {}

bool FloatingPanel::isWindowVisible() const
{
    return isWindowLoaded() && const_cast<FloatingPanel*>(this)->window()->isVisible();
}

void FloatingPanel::makeKeyAndOrderFront()
{
    showWindow();
}

QWidget* FloatingPanel::makePanelWindow(const QString& objectName, const QString& title)
{
    auto* window = new QWidget(nullptr, Qt::Tool);
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    MainWindowTracker::setFloatingPanel(window);
    return window;
}

void FloatingPanel::observe(const QString& name, std::function<void(const Notification&)> handler)
{
    NotificationCenter::defaultCenter().addObserver(name, this, std::move(handler));
}

WindowController* windowControllerOfWindow(const QWidget* window)
{
    const DocumentController* documents = DocumentController::sharedDocumentController();
    if (!window || !documents)
        return nullptr;
    for (Document* document : documents->documents())
        for (const auto& controller : document->windowControllers())
            if (controller->isWindowLoaded() && controller->window() == window)
                return controller.get();
    return nullptr;
}

void placeBesideWindow(QWidget* panel, const QWidget* mainWindow, int gap)
{
    if (!panel || !mainWindow)
        return;
    const QRect main = mainWindow->frameGeometry();
    moveInsideScreen(panel, QPoint(main.x() + main.width() + gap, main.y()));
}

void setControlsEnabled(std::initializer_list<QWidget*> controls, bool enabled)
{
    for (QWidget* control : controls)
        if (control)
            control->setEnabled(enabled);
}

}  // namespace quorvel
