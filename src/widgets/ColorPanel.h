#pragma once
// The application's shared colour panel: one non-modal colour dialog whose colour
// changes go to the object that last brought it to the front (a plot view, a colour
// well of a settings panel).

#include "platform/Color.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QColorDialog;
class QWidget;

namespace quorvel {

class ColorPanel : public QObject {
    Q_OBJECT
public:
    using ChangeColor = std::function<void(const Color&)>;

    static ColorPanel& shared();

    // The dialog; made on first use.
    QColorDialog* dialog();
    bool isVisible() const;
    Color color() const;
    // Shows `color` without sending it anywhere.
    void setColor(const Color& color);

    // Shows the panel in front of `receiver`'s window (usable even while that window
    // runs a modal session); its changes then go to `changeColor` while `receiver` lives.
    void orderFront(QWidget* receiver, ChangeColor changeColor);
    // Sends the panel's changes to `changeColor` from now on, without showing the panel.
    void setTarget(QWidget* receiver, ChangeColor changeColor);
    // Stops sending changes to `receiver` if it is the one they go to.
    void releaseTarget(const QWidget* receiver);
    void close();

private:
    ColorPanel() = default;
    void colorChanged();

    QPointer<QColorDialog> mDialog;
    QPointer<QWidget> mReceiver;
    ChangeColor mChangeColor;
    bool mSettingColor = false;
};

} // namespace quorvel
