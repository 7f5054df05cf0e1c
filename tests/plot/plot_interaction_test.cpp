// Mouse interaction of a plot view in its frame: selection, status line, zoom
// rectangle, legend drag, double clicks and context menus, driven by QTest events on
// an offscreen window.
#include "support/InteractivePlot.h"

#include "plot/CCurveSettingsWindow.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPointSettingsWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::test::InteractivePlot;
using quorvel::test::ProbeView;

namespace {

std::shared_ptr<CGraphCurve> horizontalCurve(const QString& name, float y)
{
    auto curve = std::make_shared<CGraphCurve>();
    curve->setName(name);
    curve->setColor(Color::blue());
    curve->addPoint(1.0f, y, false);
    curve->addPoint(9.0f, y, false);
    return curve;
}

// The data value of a widget position by the view's last draw: u = (pixel - b) / a.
double dataX(const InteractivePlot& plot, QPoint at)
{
    const PlotGeometry& g = plot.view->drawing().geometry();
    return (at.x() - g.bx) / g.ax;
}

double dataY(const InteractivePlot& plot, QPoint at)
{
    const PlotGeometry& g = plot.view->drawing().geometry();
    return (plot.view->height() - at.y() - g.by) / g.ay;
}

QString pointStatus(double x, double y, int decimals)
{
    return QString::asprintf("T = %.*f, P = %.*f", decimals, x, decimals, y);
}

} // namespace

TEST(PlotMouse, ClickOnEmptyPlotAreaShowsTheCrossReportsThePointAndRemovesTheRectangle)
{
    InteractivePlot plot;
    plot.drag(plot.widgetAt(2, 20), {plot.widgetAt(3, 30)}, plot.widgetAt(4, 40));
    ASSERT_TRUE(plot.view->state().hasTrackingRect());

    const QPoint at = plot.widgetAt(6.0f, 55.0f);
    plot.click(at);
    EXPECT_FALSE(plot.view->state().hasTrackingRect());
    EXPECT_FALSE(plot.frame->zoomInButton()->isEnabled());
    EXPECT_TRUE(plot.view->state().selection().pointVisible);
    EXPECT_EQ(plot.view->selectedObject(), nullptr);
    EXPECT_NEAR(plot.view->selectedPointX(), dataX(plot, at), 1e-4);
    EXPECT_NEAR(plot.view->selectedPointY(), dataY(plot, at), 1e-3);
    EXPECT_NEAR(plot.view->selectedPointX(), 6.0, 0.05); // within a pixel of the aim
    // One tick decimal on both axes: the status shows two.
    EXPECT_EQ(plot.status(), pointStatus(plot.view->selectedPointX(), plot.view->selectedPointY(), 2));
    EXPECT_EQ(plot.selectionNotes, 1);
}

TEST(PlotMouse, ClickInAMarginClearsThePointAndTheStatusAndStillAnnounces)
{
    InteractivePlot plot;
    plot.click(plot.widgetAt(5, 50));
    ASSERT_FALSE(plot.status().isEmpty());

    plot.click(QPoint(5, 5));
    EXPECT_FALSE(plot.view->state().selection().pointVisible);
    EXPECT_EQ(plot.view->selectedPointX(), 0.0f);
    EXPECT_EQ(plot.view->selectedPointY(), 0.0f);
    EXPECT_EQ(plot.status(), QString());
    EXPECT_EQ(plot.selectionNotes, 2);
}

TEST(PlotMouse, DragDrawsAZoomRectangleAndKeepsThePointFromBeforeThePress)
{
    InteractivePlot plot;
    plot.click(plot.widgetAt(5, 50));
    const float x = plot.view->selectedPointX();
    const float y = plot.view->selectedPointY();

    // The press is in the left margin: nothing is selected, yet the rectangle is drawn.
    const QPoint from(10, plot.widgetAt(0, 80).y());
    const QPoint to = plot.widgetAt(4, 30);
    plot.drag(from, {plot.widgetAt(2, 60)}, to);
    const QPointF a = plot.viewAt(from);
    const QPointF b = plot.viewAt(to);
    EXPECT_EQ(plot.view->state().selection().trackingRect,
              QRectF(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::fabs(b.x() - a.x()), std::fabs(b.y() - a.y())));
    EXPECT_EQ(plot.view->selectedPointX(), x);
    EXPECT_EQ(plot.view->selectedPointY(), y);
    EXPECT_TRUE(plot.view->state().selection().pointVisible);
    EXPECT_TRUE(plot.frame->zoomInButton()->isEnabled());
    EXPECT_EQ(plot.frame->zoomInButton()->toolTip(), QStringLiteral("To zoom in the rectangular area"));
    EXPECT_EQ(plot.frame->zoomOutButton()->toolTip(), QStringLiteral("To zoom out of the rectangular area."));
    EXPECT_EQ(plot.selectionNotes, 1); // the drag itself announces nothing
}

TEST(PlotMouse, ADragWithoutHeightOrWidthLeavesNoRectangle)
{
    InteractivePlot plot;
    plot.drag(plot.widgetAt(1, 10), {}, plot.widgetAt(3, 30));
    ASSERT_TRUE(plot.frame->zoomInButton()->isEnabled());
    plot.drag(plot.widgetAt(2, 50), {plot.widgetAt(5, 50)}, plot.widgetAt(8, 50));
    EXPECT_FALSE(plot.view->state().hasTrackingRect());
    EXPECT_FALSE(plot.frame->zoomInButton()->isEnabled());
    plot.view->perform(PlotCommand::ZoomIn); // nothing to zoom into
    float x0, x1, y0, y1;
    plot.view->getXYRange(x0, x1, y0, y1);
    EXPECT_EQ((std::array{x0, x1, y0, y1}), (std::array{0.f, 10.f, 0.f, 100.f}));
}

TEST(PlotMouse, ClickOnACurveHighlightsTheLastOneHitAndNamesItInTheStatusLine)
{
    InteractivePlot plot;
    auto first = horizontalCurve(QStringLiteral("First"), 50);
    auto second = horizontalCurve(QStringLiteral("Isochore"), 50);
    plot.view->addGraphObject(first);
    plot.view->addGraphObject(second);
    plot.drag(plot.widgetAt(1, 10), {}, plot.widgetAt(3, 30));
    const QRectF rectangle = plot.view->state().selection().trackingRect;

    const QPoint at = plot.widgetAt(5, 50);
    plot.click(at);
    EXPECT_EQ(plot.view->selectedObject(), second.get());
    EXPECT_TRUE(second->isHilited());
    EXPECT_FALSE(first->isHilited());
    EXPECT_EQ(plot.status(),
              QStringLiteral("Isochore : ") + pointStatus(plot.view->selectedPointX(), plot.view->selectedPointY(), 2));
    EXPECT_EQ(plot.view->state().selection().trackingRect, rectangle); // a click on a curve leaves the rectangle
    EXPECT_EQ(plot.selectionNotes, 1);

    plot.click(plot.widgetAt(5, 80)); // empty plot area
    EXPECT_FALSE(second->isHilited());
    EXPECT_EQ(plot.view->selectedObject(), nullptr);
}

TEST(PlotMouse, OnALogarithmicAxisTheSelectionIsTenToTheAxisCoordinate)
{
    InteractivePlot plot;
    plot.view->state().axes().showLogX = true;
    plot.view->setDefaultXYRange(1, 1000, 0, 100);
    plot.redraw();
    const PlotGeometry& g = plot.view->drawing().geometry();
    const double pixel = g.ax * 2.0 + g.bx; // axis coordinate 2
    plot.click(plot.widgetAtView(pixel, plot.view->getYValue(50)));
    EXPECT_NEAR(plot.view->selectedPointX(), 100.0, 100.0 * std::log(10.0) * 0.6 / g.ax);
}

TEST(PlotMouse, LegendDragMovesTheLegendAndOneUndoPutsItBack)
{
    InteractivePlot plot;
    auto curve = horizontalCurve(QStringLiteral("Liquid"), 20);
    plot.view->addGraphObject(curve);
    plot.view->includesIntoLegend(curve);
    plot.view->setLegendPosition(2.0f, 70.0f);
    plot.redraw(); // gives the legend its extent
    const QRectF bounds = plot.view->mLegend()->getBounds(plot.view->plotFrame());
    ASSERT_GT(bounds.width(), 0.0);

    const QPoint grab = plot.widgetAtView(bounds.x() + 5, bounds.y() + 3);
    const QPoint end = grab + QPoint(60, -40);
    plot.drag(grab, {grab + QPoint(20, -10), grab, grab + QPoint(40, -30)}, end);

    float x, y;
    plot.view->mLegend()->getPosition(x, y);
    // The anchor followed the pointer by 60 units right and 40 up.
    EXPECT_NEAR(plot.view->getXValue(x), bounds.x() + 60, 0.01);
    EXPECT_NEAR(plot.view->getYValue(y), bounds.y() + 40, 0.01);
    EXPECT_FALSE(plot.view->mLegend()->isHilited());
    EXPECT_EQ(plot.view->selectedObject(), plot.view->mLegend());
    EXPECT_EQ(plot.status(), QString()); // a legend drag writes no status

    UndoManager* undo = plot.view->undoManager();
    EXPECT_EQ(undo->undoActionName(), QStringLiteral("Move Of Legend"));
    undo->undo();
    float ux, uy;
    plot.view->mLegend()->getPosition(ux, uy);
    EXPECT_EQ(ux, 2.0f);
    EXPECT_EQ(uy, 70.0f);
    EXPECT_FALSE(undo->canUndo());
    undo->redo();
    plot.view->mLegend()->getPosition(ux, uy);
    EXPECT_EQ(ux, x);
    EXPECT_EQ(uy, y);
}

TEST(PlotMouse, DoubleClickOnACurveOpensItsSettingsPanelAndOnAPointTheMarkerPanel)
{
    InteractivePlot plot;
    auto curve = horizontalCurve(QStringLiteral("Isochore"), 50);
    auto point = CGraphPoint::newGraphPoint(5.0f, 20.0f);
    point->setColor(Color::green());
    plot.view->addGraphObject(curve);
    plot.view->addGraphObject(point);

    CCurveSettingsWindow* curvePanel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    bool curvePanelShown = false;
    QTimer::singleShot(0, [&] {
        curvePanelShown = curvePanel->isRunningModal() && curvePanel->window()->isVisible()
                          && curvePanel->graphCurve() == curve.get() && curvePanel->plotView() == plot.view;
        curvePanel->okButton()->click();
    });
    QTest::mouseDClick(plot.view, Qt::LeftButton, {}, plot.widgetAt(5, 50));
    EXPECT_TRUE(curvePanelShown);
    EXPECT_FALSE(curvePanel->isRunningModal());

    CPointSettingsWindow* pointPanel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    bool pointPanelShown = false;
    QTimer::singleShot(0, [&] {
        pointPanelShown = pointPanel->isRunningModal() && pointPanel->graphObject() == point.get();
        pointPanel->cancelButton()->click();
    });
    QTest::mouseDClick(plot.view, Qt::LeftButton, {}, plot.widgetAt(5, 20));
    EXPECT_TRUE(pointPanelShown);
}

TEST(PlotMouse, HiliteAndSelectionPointOperations)
{
    InteractivePlot plot;
    auto a = horizontalCurve(QStringLiteral("A"), 30);
    auto b = horizontalCurve(QStringLiteral("B"), 60);
    plot.view->addGraphObject(a);
    plot.view->addGraphObject(b);
    plot.view->mLegend()->setHilited(true);
    plot.view->hilite(b.get());
    EXPECT_FALSE(a->isHilited());
    EXPECT_TRUE(b->isHilited());
    plot.view->mouse().hilite1(a.get());
    EXPECT_TRUE(a->isHilited() && b->isHilited());
    plot.view->hilite(nullptr);
    EXPECT_FALSE(a->isHilited() || b->isHilited());
    EXPECT_TRUE(plot.view->mLegend()->isHilited()); // the legend is not touched

    ASSERT_FALSE(plot.view->state().selection().pointVisible);
    plot.view->setSelectedPoint(3.0f, 40.0f);
    EXPECT_FALSE(plot.view->state().selection().pointVisible);
    auto point = CGraphPoint::newGraphPoint(7.5f, 12.5f);
    plot.view->mouse().adjustSelectionPoint(*point);
    EXPECT_EQ(plot.view->selectedPointX(), 7.5f);
    EXPECT_EQ(plot.view->selectedPointY(), 12.5f);
    plot.view->mouse().updateStatusMessage(); // the tick decimals themselves
    EXPECT_EQ(plot.status(), QStringLiteral("T = 7.5, P = 12.5"));
}

// --- Context menus

TEST(PlotContextMenu, TheMenuDependsOnWhatWasClicked)
{
    InteractivePlot plot;
    auto curve = horizontalCurve(QStringLiteral("Curve"), 50);
    auto point = CGraphPoint::newGraphPoint(5.0f, 20.0f);
    auto labelled = std::make_shared<CGraphStringPointCurve>();
    labelled->addPoint(QStringLiteral("Inclusion 1"), 8.0f, 80.0f);
    plot.view->addGraphObject(curve);
    plot.view->addGraphObject(point);
    plot.view->addGraphObject(labelled);
    plot.view->includesIntoLegend(curve);
    plot.view->setLegendPosition(1.0f, 90.0f);
    plot.redraw();

    const QPointF empty = plot.viewAt(plot.widgetAt(3, 70));
    EXPECT_EQ(plot.view->menuForEvent(empty), plot.view->plotMenu());
    EXPECT_NEAR(plot.view->selectedPointX(), 3.0, 0.05);
    EXPECT_EQ(plot.view->menuForEvent(plot.viewAt(plot.widgetAt(5, 50))), plot.view->curvesMenu());
    EXPECT_EQ(plot.view->menuForEvent(plot.viewAt(plot.widgetAt(5, 20))), plot.view->pointsMenu());
    EXPECT_EQ(plot.view->menuForEvent(plot.viewAt(plot.widgetAt(8, 80))), nullptr);
    const QRectF legend = plot.view->mLegend()->getBounds(plot.view->plotFrame());
    EXPECT_EQ(plot.view->menuForEvent(legend.center()), nullptr);
    EXPECT_EQ(plot.view->selectedObject(), plot.view->mLegend());

}

TEST(PlotContextMenu, TheFourMenusHoldTheirItemsInOrder)
{
    ProbeView view;
    struct MenuCase {
        QMenu* menu;
        const char* title;
        QStringList items; // "" for a separator
    };
    const MenuCase menus[] = {
        {view.plotMenu(), "Plot",
         {"Zoom in", "Zoom out", "Set Axis ranges...", "Axis ranges by default...", "Axis label font...",
          "Axis graduation font...", "Logarithmic X axis", "Logarithmic Y axis", "", "Save as PDF...", "",
          "Open in a new window..."}},
        {view.curvesMenu(), "Curves",
         {"Normal thickness", "Double thickness", "Triple thickness", "", "Color...", "", "Settings panel...", "",
          "Save to file..."}},
        {view.pointsMenu(), "Points", {"Increase size", "Decrease size", "", "Color...", "", "Settings panel..."}},
        {view.fontsMenu(), "Texts", {"Font"}},
    };
    for (const MenuCase& c : menus) {
        ASSERT_NE(c.menu, nullptr) << c.title;
        EXPECT_EQ(c.menu->title(), QLatin1String(c.title));
        QStringList titles;
        for (const QAction* item : c.menu->actions()) {
            titles << (item->isSeparator() ? QString() : item->text());
            EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
        }
        EXPECT_EQ(titles, c.items) << c.title;
    }
}

TEST(PlotContextMenu, CurveAndPointItemsActOnTheClickedObject)
{
    InteractivePlot plot;
    auto curve = horizontalCurve(QStringLiteral("Curve"), 50);
    auto point = CGraphPoint::newGraphPoint(5.0f, 20.0f);
    plot.view->addGraphObject(curve);
    plot.view->addGraphObject(point);
    plot.redraw();
    auto item = [](QMenu* menu, const QString& title) {
        for (QAction* action : menu->actions())
            if (action->text() == title)
                return action;
        return static_cast<QAction*>(nullptr);
    };

    QMenu* curves = plot.view->menuForEvent(plot.viewAt(plot.widgetAt(5, 50)));
    ASSERT_EQ(curves, plot.view->curvesMenu());
    item(curves, QStringLiteral("Triple thickness"))->trigger();
    EXPECT_EQ(curve->getToolSizeFactor(), 3.f);
    EXPECT_EQ(plot.view->undoManager()->undoActionName(), QStringLiteral("Change Of Line Thickness"));

    const float factor = point->getToolSizeFactor();
    QMenu* points = plot.view->menuForEvent(plot.viewAt(plot.widgetAt(5, 20)));
    ASSERT_EQ(points, plot.view->pointsMenu());
    item(points, QStringLiteral("Increase size"))->trigger();
    EXPECT_EQ(point->getToolSizeFactor(), factor + 1);
    EXPECT_EQ(plot.view->undoManager()->undoActionName(), QStringLiteral("Increase Of Marker Size"));
    item(points, QStringLiteral("Decrease size"))->trigger();
    EXPECT_EQ(point->getToolSizeFactor(), factor);
    EXPECT_EQ(plot.view->undoManager()->undoActionName(), QStringLiteral("Decrease Of Marker Size"));
}

TEST(PlotContextMenu, ARightClickShowsTheValidatedMenuAndRunsTheChosenItem)
{
    InteractivePlot plot;
    QStringList disabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* item : menu->actions())
            if (!item->isSeparator() && !item->isEnabled())
                disabled << item->text();
        for (QAction* item : menu->actions())
            if (item->text() == QStringLiteral("Logarithmic X axis")) {
                menu->setActiveAction(item);
                QTest::keyClick(menu, Qt::Key_Return);
            }
    });
    const QPoint at = plot.widgetAt(5, 50);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, plot.view->mapToGlobal(at));
    QApplication::sendEvent(plot.view, &event);
    EXPECT_TRUE(plot.view->state().axes().showLogX);
    // No rectangle and default ranges: the zooms and the return to the defaults are off.
    EXPECT_EQ(disabled, (QStringList{"Zoom in", "Zoom out", "Axis ranges by default..."}));

    // The item shows the state of the axis the next time.
    plot.view->validateMenuItem(plot.view->plotMenu()->actions().at(6));
    EXPECT_TRUE(plot.view->plotMenu()->actions().at(6)->isChecked());
}
