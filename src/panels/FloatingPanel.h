#pragma once
// What the inspector panels share: a floating tool window that belongs to no document,
// is made the first time it is shown and follows the main window through the
// platform's notifications; the lookup of a window's controller; the placement beside
// the main window; enabling a page's controls together.

#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <typeinfo>

class QWidget;

namespace quorvel {

class FloatingPanel : public WindowController
{
    Q_OBJECT

public:
    explicit FloatingPanel(const QString& frameAutosaveName);

    // Loaded and on screen.
    bool isWindowVisible() const;
    // Shows the window in front of the others, as the key window.
    void makeKeyAndOrderFront();

protected:
    // A tool window that never becomes the main window.
    static QWidget* makePanelWindow(const QString& objectName, const QString& title);
    // Observes a notification from any sender for the panel's whole life.
    void observe(const QString& name, std::function<void(const Notification&)> handler);
};

// The controller of a window among the windows of the open documents; none for another window.
WindowController* windowControllerOfWindow(const QWidget* window);

// The window's controller when it is exactly of class Controller (a subclass does not count).
template <class Controller>
Controller* controllerOfExactClass(const QWidget* window)
{
    WindowController* controller = windowControllerOfWindow(window);
    if (!controller || typeid(*controller) != typeid(Controller))
        return nullptr;
    return static_cast<Controller*>(controller);
}

// Moves the panel `gap` points to the right of the main window, the tops of the two aligned,
// as far as the screen allows: the whole panel stays on screen.
void placeBesideWindow(QWidget* panel, const QWidget* mainWindow, int gap);

// Enables (or disables) every control of a page at once.
void setControlsEnabled(std::initializer_list<QWidget*> controls, bool enabled);

}  // namespace quorvel
