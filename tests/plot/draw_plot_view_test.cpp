// The plot frame view: layout of the plot view, tool buttons and status field, what
// the buttons do, and a rendering of the whole frame (written as a PNG beside the test).
#include "support/InteractivePlot.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPointCurve.h"
#include "plot/PlotToolImages.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::test::InteractivePlot;
using quorvel::test::ProbeView;

namespace {

std::array<QToolButton*, 5> buttonsOf(const CDrawPlotView& frame)
{
    return {frame.zoomInButton(), frame.zoomOutButton(), frame.gridButton(), frame.resetButton(), frame.axisButton()};
}

// Whether some pixel of the area is clearly darker than the button face around it.
bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 110)
                return true;
    return false;
}

} // namespace

TEST(DrawPlotView, ButtonsStatusFieldAndPlotViewAreLaidOutAlongTheBottom)
{
    CDrawPlotView frame(QRect(0, 0, 500, 300));
    frame.setPlotView(std::make_unique<ProbeView>());
    CPlotView* view = frame.plotView();
    EXPECT_EQ(view->geometry(), QRect(0, 0, 500, 300));
    EXPECT_EQ(view->drawPlotView(), &frame);
    EXPECT_FALSE(frame.hasButtons());
    frame.setStatusMessage(QStringLiteral("dropped")); // no status field yet

    frame.installButtons();
    EXPECT_TRUE(frame.hasButtons());
    // Qt counts y from the top: a bottom edge 25 units above the frame's is y = 275.
    EXPECT_EQ(view->geometry(), QRect(0, 0, 500, 275));
    EXPECT_EQ(frame.statusMessage()->geometry(), QRect(130, 278, 370, 22));
    int x = 0;
    for (QToolButton* button : buttonsOf(frame)) {
        EXPECT_EQ(button->geometry(), QRect(x, 278, 22, 22));
        x += 26;
    }
    EXPECT_EQ(frame.statusMessage()->text(), QString());
    EXPECT_TRUE(frame.statusMessage()->isReadOnly());

    frame.show(); // a hidden frame is laid out anew when shown
    frame.resize(640, 480); // the row stays at the lower left, the rest stretches
    EXPECT_EQ(view->geometry(), QRect(0, 0, 640, 455));
    EXPECT_EQ(frame.statusMessage()->geometry(), QRect(130, 458, 510, 22));
    EXPECT_EQ(frame.zoomOutButton()->geometry(), QRect(26, 458, 22, 22));

    frame.setStatusMessage(QStringLiteral("first"));
    frame.setStatusMessage(QStringLiteral("second"));
    EXPECT_EQ(frame.statusMessage()->text(), QStringLiteral("second"));
}

TEST(DrawPlotView, ButtonsCarryTheirImagesAndToolTips)
{
    CDrawPlotView frame;
    frame.setPlotView(std::make_unique<ProbeView>());
    frame.installButtons();
    for (const char* name : {"biggerUp", "smallerUp", "grid", "resetOff", "axis"}) {
        const QIcon image = plotToolImage(QLatin1String(name));
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_FALSE(image.pixmap(18, 18).toImage().isNull());
    }
    EXPECT_TRUE(plotToolImage(QStringLiteral("unknown")).isNull());
    EXPECT_EQ(frame.zoomInButton()->toolTip(), QString()); // until the zoom controls are first set
    EXPECT_TRUE(frame.zoomInButton()->isEnabled());
    EXPECT_EQ(frame.resetButton()->toolTip(), QStringLiteral("To return to the axis ranges by default"));
    EXPECT_EQ(frame.axisButton()->toolTip(), QStringLiteral("To set the axes ranges"));
    EXPECT_EQ(frame.statusMessage()->toolTip(), QStringLiteral("The status bar"));
}

TEST(DrawPlotView, TheResetAndAxisButtonsActOnThePlotView)
{
    InteractivePlot plot;
    plot.view->setXYRange(2, 3, 4, 5);
    plot.frame->resetButton()->click();
    float x0, x1, y0, y1;
    plot.view->getXYRange(x0, x1, y0, y1);
    EXPECT_EQ((std::array{x0, x1, y0, y1}), (std::array{0.f, 10.f, 0.f, 100.f}));
    EXPECT_EQ(plot.view->undoManager()->undoActionName(), QStringLiteral("Changes Of Axis Ranges"));

    plot.frame->axisButton()->click();
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    EXPECT_TRUE(panel->window()->isVisible());
    EXPECT_EQ(panel->plotView(), plot.view);
    panel->window()->hide();
}

TEST(DrawPlotView, RendersThePlotWithItsToolRow)
{
    InteractivePlot plot;
    auto liquid = std::make_shared<CGraphCurve>();
    auto vapour = std::make_shared<CGraphCurve>();
    liquid->setName(QStringLiteral("Liquid isopleth"));
    vapour->setName(QStringLiteral("Vapour isopleth"));
    liquid->setColor(Color::blue());
    vapour->setColor(Color::red());
    liquid->setSize(2);
    for (int i = 0; i <= 40; ++i) {
        const float t = 0.25f * i;
        liquid->addPoint(t, 10 + 80 * std::sin(0.15f * t), false);
        vapour->addPoint(t, 5 + 8 * t, false);
    }
    auto markers = std::make_shared<CGraphPointCurve>();
    markers->setName(QStringLiteral("Measurements"));
    markers->setSelector(MarkerCode::FilledSquare);
    markers->setColor(Color::fromRgb(0, 0.5, 0));
    for (float t : {1.5f, 3.f, 4.5f, 6.f, 7.5f})
        markers->addPoint(t, 30 + 5 * t);
    for (const auto& object : std::initializer_list<GraphObjectPtr>{liquid, vapour, markers}) {
        plot.view->addGraphObject(object);
        plot.view->includesIntoLegend(object);
    }
    plot.view->setLegendPosition(6.2f, 8.f);
    plot.view->setLabels(QStringLiteral("T (\u00B0C)"), QStringLiteral("P (bar)"));
    plot.view->setTicksNumber(6, 6); // ticks inside the frame, for the grid to show
    plot.frame->gridButton()->click();
    plot.drag(plot.widgetAt(1, 60), {}, plot.widgetAt(3.5f, 85)); // a zoom rectangle
    plot.click(plot.widgetAt(5, 10 + 80 * std::sin(0.75f)));   // on the liquid curve
    ASSERT_TRUE(plot.status().startsWith(QStringLiteral("Liquid isopleth : T (\u00B0C) = ")));

    const QImage image = plot.frame->grab().toImage();
    ASSERT_EQ(image.size(), QSize(500, 400));
    const QString path = QDir::current().filePath(QStringLiteral("draw_plot_view.png"));
    ASSERT_TRUE(image.save(path));
    for (QToolButton* button : buttonsOf(*plot.frame))
        EXPECT_TRUE(hasInk(image, button->geometry().adjusted(3, 3, -3, -3))) << button->objectName().toStdString();
}
