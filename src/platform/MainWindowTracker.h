#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace quorvel {

// Follows which document window is the main window and posts the platform's
// window notifications on the default notification centre: became-main and
// resigned-main when another document window is activated (floating panels,
// dialogs and tool windows never become main), will-close when a window is
// closed (followed by resigned-main when it was the main window).
class MainWindowTracker : public QObject
{
    Q_OBJECT

public:
    // The tracker of the application, watching every window from the first call on.
    static MainWindowTracker& instance();

    QWidget* mainWindow() const { return mMain; }

    // A top-level window of plain window type not marked as a floating panel.
    static bool canBecomeMain(const QWidget* window);
    // Marks a plain window as a floating panel, which never becomes main.
    static void setFloatingPanel(QWidget* window, bool floating = true);

    // What the event watching calls; windows may also announce themselves.
    void windowActivated(QWidget* window);
    void windowWillClose(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowTracker();

    QPointer<QWidget> mMain;
    QList<QPointer<QWidget>> mClosing;  // asked to close; they close when they hide
};

}  // namespace quorvel
