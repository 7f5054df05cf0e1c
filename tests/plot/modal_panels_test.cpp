// The settings panels' modal sessions as a user meets them: the panel opened by a double
// click is on screen (mapped, exposed, modal, active) for as long as its session runs.
// The program also runs on an X server under a window manager, where a window hidden
// and shown again at once could stay unmapped and leave the application unusable.
#include "support/InteractivePlot.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CCurveSettingsWindow.h"
#include "plot/CGraphCurve.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::InteractivePlot;

namespace {

// What the running session's panel looked like once it had settled (or at the deadline).
struct PanelOnScreen
{
    bool running = false;
    bool exposed = false;
    bool modal = false;
    bool active = false;
    bool stillExposedLater = false;
};

bool settled(QWidget* panel)
{
    const QWindow* handle = panel->windowHandle();
    return handle && handle->isExposed() && QGuiApplication::modalWindow() == handle
           && QApplication::activeWindow() == panel;
}

// Waits in the running session, by the event loop's turns, until the panel is on screen
// or five seconds have passed; looks again a little later; then presses OK.
void watchThenPressOK(CCurveSettingsWindow* controller, PanelOnScreen& seen)
{
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [controller, &seen, deadline, poll] {
        QWidget* panel = controller->window();
        if (!settled(panel) && !deadline->hasExpired()) {
            QTimer::singleShot(10, *poll);
            return;
        }
        seen.running = controller->isRunningModal();
        seen.exposed = panel->windowHandle() && panel->windowHandle()->isExposed();
        seen.modal = QGuiApplication::modalWindow() == panel->windowHandle();
        seen.active = QApplication::activeWindow() == panel;
        QTimer::singleShot(100, [controller, &seen, poll] {
            seen.stillExposedLater = controller->window()->windowHandle()->isExposed();
            controller->okButton()->click();
            *poll = nullptr;  // the last turn releases the loop's own reference
        });
    };
    QTimer::singleShot(0, *poll);
}

// Runs the event loop until `done` holds or two seconds have passed.
bool waitUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(10);
    return done();
}

} // namespace

TEST(ModalPanels, ACurveDoubleClickedTwentyTimesShowsItsSettingsPanelOnScreenEachTime)
{
    InteractivePlot plot;
    auto curve = std::make_shared<CGraphCurve>();
    curve->setName(QStringLiteral("Isochore"));
    curve->addPoint(1.0f, 50.0f, false);
    curve->addPoint(9.0f, 50.0f, false);
    plot.view->addGraphObject(curve);
    plot.redraw();
    CCurveSettingsWindow* controller = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    CAxisRangeWindow* axisRange = CAxisRangeWindow::sharedAxisRangeWindowCtroller();

    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE(run);
        // As the user did it: Window > Show Axis Range, OK, then a double click on a curve.
        axisRange->showWindow();
        QWidget* axisWindow = axisRange->window();
        EXPECT_TRUE(waitUntil([axisWindow] { return axisWindow->windowHandle()->isExposed(); }));
        axisRange->setCurrentPlotView(plot.view);  // the test's plot is no document's main window
        axisRange->okButton()->click();
        EXPECT_FALSE(axisWindow->isVisible());
        QTest::qWait(50);  // the window manager hands the focus on
        PanelOnScreen seen;
        watchThenPressOK(controller, seen);
        QTest::mouseDClick(plot.view, Qt::LeftButton, {}, plot.widgetAt(5, 50));

        EXPECT_TRUE(seen.running);
        EXPECT_TRUE(seen.exposed) << "the panel of a running session is not on screen";
        EXPECT_TRUE(seen.modal);
        EXPECT_TRUE(seen.active);
        EXPECT_TRUE(seen.stillExposedLater);
        EXPECT_FALSE(controller->isRunningModal());
        EXPECT_FALSE(controller->window()->isVisible());
        ASSERT_EQ(QGuiApplication::modalWindow(), nullptr) << "a modal window outlived its session";
    }
}

TEST(ModalPanels, TheCurvePanelIsWideEnoughForItsTitle)
{
    QWidget* panel = CCurveSettingsWindow::sharedCurvesSettingsCtroller()->window();
    // A title bar holds the title and, typically, three buttons of about 24 points each.
    const int titleBarWidth = panel->fontMetrics().horizontalAdvance(panel->windowTitle()) + 3 * 24;
    EXPECT_GE(panel->minimumSizeHint().width(), titleBarWidth);
    EXPECT_GE(panel->sizeHint().width(), titleBarWidth);
}
