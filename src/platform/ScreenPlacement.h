#pragma once
// Keeping windows on the screen: within the available geometry of their screen (the
// screen less the desktop's panels), whatever size or place they were given.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quorvel {

// The available geometry of the window's screen; the primary screen's for a window not
// shown yet; empty when there is no screen.
QRect availableScreenGeometry(const QWidget* window);

// What the window's frame adds to its size: as on screen once shown, a typical window
// manager's frame before.
QSize frameExtraOf(const QWidget* window);
// The smallest the window can be made: its own minimum, or its layout's.
QSize smallestSizeOf(const QWidget* window);

// Makes the window no larger than the available geometry (never below its own smallest
// size) and moves it so that its whole frame lies within it.
void fitInsideScreen(QWidget* window);

// Moves the window's frame to `topLeft`, then keeps it within the screen.
void moveInsideScreen(QWidget* window, QPoint topLeft);

}  // namespace quorvel
