#include "platform/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace quorvel {

namespace {
// What a window manager's frame typically adds around a window: borders and a title bar.
const QSize kTypicalFrameExtra(2 * 4, 30 + 4);
}  // namespace

QSize frameExtraOf(const QWidget* window)
{
    const QSize known = window->frameGeometry().size() - window->size();
    return window->isVisible() || window->testAttribute(Qt::WA_WState_ExplicitShowHide) ? known
                                                                                       : known.expandedTo(kTypicalFrameExtra);
}

QSize smallestSizeOf(const QWidget* window)
{
    return window->minimumSize().expandedTo(window->minimumSizeHint());
}

QRect availableScreenGeometry(const QWidget* window)
{
    const QScreen* screen = window && window->isVisible() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void fitInsideScreen(QWidget* window)
{
    const QRect available = availableScreenGeometry(window);
    if (!window || available.isEmpty())
        return;
    const QSize frameExtra = frameExtraOf(window);
    const QSize smallest = smallestSizeOf(window);
    const QSize fitting = window->size().boundedTo(available.size() - frameExtra).expandedTo(smallest);
    if (fitting != window->size())
        window->resize(fitting);
    const QSize frame = fitting + frameExtra;
    const QPoint at = window->frameGeometry().topLeft();
    const int x = std::max(available.left(), std::min(at.x(), available.right() + 1 - frame.width()));
    const int y = std::max(available.top(), std::min(at.y(), available.bottom() + 1 - frame.height()));
    if (QPoint(x, y) != at)
        window->move(x, y);
}

void moveInsideScreen(QWidget* window, QPoint topLeft)
{
    if (!window)
        return;
    window->move(topLeft);
    fitInsideScreen(window);
}

}  // namespace quorvel
