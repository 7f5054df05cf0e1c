// A plot drawn offscreen as a person would see it. The images are kept in the test's
// working directory (plot_render_*.png) to be looked at.
#include "support/ProbeView.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::test::isNear;
using quorvel::test::nearAround;
using quorvel::test::pixelAtView;
using quorvel::test::ProbeView;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 160, 0);

// A phase-diagram-like plot: two curves (one running out of the ranges), a broken
// curve, a marker list, a labelled point, a labelled marker list and a legend.
class RenderedPlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.setLabels(QStringLiteral("T (\u00B0C)"), QStringLiteral("P (bar)"));
        view.setDefaultXYRange(0, 400, 0, 300);
        view.setTicksNumber(9, 7);
        view.setTicksDigits(0, 0);
        view.setDrawGrid(true);

        bubble = std::make_shared<CGraphCurve>();
        bubble->setName(QStringLiteral("Bubble curve"));
        bubble->setColor(Color::red());
        bubble->setSize(2);
        for (int t = 0; t <= 40; ++t) // runs past the top of the ranges
            bubble->addPoint(10.0f * t, 20.0f + 0.004f * 100.0f * t * t, false);
        view.addGraphObject(bubble);
        view.includesIntoLegend(bubble);

        isochore = std::make_shared<CGraphCurve>();
        isochore->setName(QStringLiteral("Isochore"));
        isochore->setColor(Color::blue());
        isochore->setSize(2);
        isochore->addPoint(100, 50, false);
        isochore->addPoint(200, 150, false);
        isochore->addPoint(0, 0, true);
        isochore->addPoint(250, 150, false);
        isochore->addPoint(350, 250, false);
        isochore->setLabel(QStringLiteral("Isochore 1"), 300, 180);
        view.addGraphObject(isochore);
        view.includesIntoLegend(isochore);

        measured = std::make_shared<CGraphPointCurve>();
        measured->setName(QStringLiteral("Measured"));
        measured->setColor(Color::fromRgb(0, 160.0 / 255.0, 0));
        measured->setSelector(MarkerCode::FilledSquare);
        for (const auto& [x, y] : {std::pair{60.f, 240.f}, {90.f, 230.f}, {120.f, 250.f}})
            measured->addPoint(x, y);
        view.addGraphObject(measured);
        view.includesIntoLegend(measured);

        critical = CGraphPoint::newGraphPoint(330, 80);
        critical->setName(QStringLiteral("Critical point"));
        critical->setSelector(MarkerCode::FilledDiamond);
        critical->setColor(Color::black());
        critical->setShowLabel(true);
        view.addGraphObject(critical);
        view.includesIntoLegend(critical);

        auto correlations = std::make_shared<CGraphStringPointCurve>();
        correlations->setColor(Color::magenta());
        correlations->setSelector(MarkerCode::FilledTriangleUp);
        correlations->addPoint(QStringLiteral("API 30"), 40, 100);
        correlations->addPoint(QStringLiteral("API 40"), 70, 130);
        view.addGraphObject(correlations);
        view.includesIntoLegend(correlations); // listed but without a row

        view.setLegendPosition(220, 20);
        image = view.renderImage();
        const QString file = QStringLiteral("plot_render_%1.png")
                                 .arg(QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        image.save(file);
    }

    QPointF at(float x, float y) const { return {view.getXValue(x), view.getYValue(y)}; }
    QColor pixel(QPointF p) const { return pixelAtView(image, p.x(), p.y()); }

    ProbeView view{QRect(0, 0, 640, 480)};
    std::shared_ptr<CGraphCurve> bubble, isochore;
    std::shared_ptr<CGraphPointCurve> measured;
    std::shared_ptr<CGraphPoint> critical;
    QImage image;
};

} // namespace

TEST_F(RenderedPlot, CurvesAndMarkersAreWhereTheirPointsAre)
{
    for (const float t : {5.f, 12.f, 20.f}) // between data points of the bubble curve
        EXPECT_TRUE(isNear(pixel(at(10 * t, 20 + 0.4f * t * t)), kRed, 60)) << t;
    EXPECT_TRUE(isNear(pixel(at(150, 100)), kBlue, 60));
    EXPECT_TRUE(isNear(pixel(at(300, 200)), kBlue, 60));
    // The break leaves the stretch from (200, 150) to (250, 150) empty.
    EXPECT_TRUE(isNear(pixel(at(225, 160)), view.drawing().foreColor().toQColor(), 10));
    for (const auto& [x, y] : {std::pair{60.f, 240.f}, {90.f, 230.f}, {120.f, 250.f}})
        EXPECT_TRUE(isNear(pixel(at(x, y)), kGreen, 30)) << x;
    EXPECT_TRUE(isNear(pixel(at(330, 80)), Qt::black, 30)); // filled diamond
}

TEST_F(RenderedPlot, LabelsAreDrawnUnderTheirMarkers)
{
    // Dark text pixels just below the critical point, none just above it.
    const QPointF centre = at(330, 80);
    const auto darkPixels = [&](double dy0, double dy1) {
        int dark = 0;
        for (double dx = -25; dx <= 25; dx += 1)
            for (double dy = dy0; dy <= dy1; dy += 1)
                dark += pixel(centre + QPointF(dx, dy)).lightness() < 100;
        return dark;
    };
    EXPECT_GT(darkPixels(-20, -8), 10);
    EXPECT_EQ(darkPixels(8, 20), 0);
}

TEST_F(RenderedPlot, NothingIsDrawnOutsideThePlotArea)
{
    const QRectF plot = view.drawing().getPlotRect();
    const QColor margin = view.drawing().backColor().toQColor();
    // The bubble curve leaves the ranges at the top: the margins above and to the right
    // of the plot area keep their fill.
    for (double x = plot.left(); x < plot.right(); x += 2)
        for (double y = plot.y() + plot.height() + 2; y < view.height() - 2; y += 2)
            ASSERT_TRUE(isNear(pixelAtView(image, x, y), margin, 2)) << x << "," << y;
    for (double x = plot.right() + 2; x < view.width() - 2; x += 2)
        for (double y = plot.y() + 2; y < plot.y() + plot.height(); y += 2)
            ASSERT_TRUE(isNear(pixelAtView(image, x, y), margin, 2)) << x << "," << y;
    // Both areas carry their colours.
    EXPECT_TRUE(isNear(pixelAtView(image, 3, 3), margin, 2));
    EXPECT_TRUE(isNear(pixel(at(390, 10)), view.drawing().foreColor().toQColor(), 2));
}

TEST_F(RenderedPlot, LegendRowsSitAboveTheAnchorInOrderOfInclusion)
{
    CGraphLegend& legend = *view.mLegend();
    const QRectF box = legend.getBounds(view.plotFrame());
    const QPointF anchor = at(220, 20);
    EXPECT_EQ(box.topLeft(), anchor); // y up: the lower-left corner
    // Four rows (the labelled marker list has none), the first included on top.
    const double h = textSize(QStringLiteral("Isochore"), view.state().fonts().legends).height();
    EXPECT_NEAR(legend.height(), 4 * (h + 6) - 6, 1e-3);
    const auto rowMiddle = [&](int rowFromTop) { return anchor.y() + (3 - rowFromTop) * (h + 2) + 0.5 * h; };
    // Line samples of width 1, spread over two pixels.
    EXPECT_TRUE(nearAround(image, anchor.x() + 10, rowMiddle(0), kRed, 120));
    EXPECT_TRUE(nearAround(image, anchor.x() + 10, rowMiddle(1), kBlue, 120));
    EXPECT_TRUE(isNear(pixelAtView(image, anchor.x() + 6, rowMiddle(2)), kGreen, 40)); // square marker
    EXPECT_TRUE(isNear(pixelAtView(image, anchor.x() + 6.5, rowMiddle(3)), Qt::black, 40));
    // Row texts start 30 units right of the anchor.
    int dark = 0;
    for (double x = anchor.x() + 30; x < anchor.x() + legend.width(); ++x)
        dark += pixelAtView(image, x, rowMiddle(0)).lightness() < 100;
    EXPECT_GT(dark, 3);
}

TEST_F(RenderedPlot, TicksAndGridFollowTheRanges)
{
    const QRectF plot = view.drawing().getPlotRect();
    // 0 to 400 with 9 ticks: a tick every 50; 0 to 300 with 7 ticks: every 50.
    for (float v = 0; v <= 400; v += 50)
        EXPECT_LT(pixelAtView(image, view.getXValue(v), plot.y() - 3).lightness(), 120) << v;
    EXPECT_TRUE(isNear(pixelAtView(image, view.getXValue(25), plot.y() - 3), view.drawing().backColor().toQColor(), 2));
    for (float v = 0; v <= 300; v += 50)
        EXPECT_LT(pixelAtView(image, plot.x() - 3, view.getYValue(v)).lightness(), 120) << v;
}

TEST(RenderedLogPlot, DecadeTicksAndLabels)
{
    ProbeView view(QRect(0, 0, 500, 360));
    view.setLabels(QStringLiteral("P (bar)"), QStringLiteral("GOR"));
    view.state().axes().showLogX = true;
    view.setXYRange(0.5f, 200, 0, 10);
    view.setTicksNumber(5, 3);
    view.setTicksDigits(1, 1);
    auto curve = std::make_shared<CGraphCurve>();
    curve->setColor(Color::red());
    curve->setSize(2);
    for (int i = 0; i <= 50; ++i) {
        const float p = 0.5f * std::pow(400.0f, i / 50.0f);
        curve->addPoint(p, 2.0f * std::log10(p) + 2.0f, false);
    }
    curve->addPoint(-1.0f, 9.0f, false); // a non-positive value goes to the left edge
    view.addGraphObject(curve);
    const QImage image = view.renderImage();
    image.save(QStringLiteral("plot_render_log_axis.png"));

    const QRectF plot = view.drawing().getPlotRect();
    for (int decade = -1; decade <= 3; ++decade) {
        const double x = plot.x() + (decade + 1) * plot.width() / 4;
        EXPECT_LT(pixelAtView(image, x, plot.y() - 3).lightness(), 120) << decade;
    }
    EXPECT_TRUE(nearAround(image, view.getXValue(10.0f), view.getYValue(4.0f), kRed, 80));
    EXPECT_TRUE(nearAround(image, plot.x() + 1, view.getYValue(9.0f) - 1, kRed, 120));
}

TEST(RenderedSelection, CrossOnlyInsideTheRangesAndNotWhilePrinting)
{
    struct Case {
        const char* what;
        float x, y;
        bool printing;
        bool drawn;
    };
    const Case cases[] = {
        {"inside", 50, 50, false, true},
        {"on the range bounds", 0, 100, false, true},
        {"outside after a zoom", 150, 50, false, false},
        {"while exported", 50, 50, true, false},
    };
    for (const Case& c : cases) {
        ProbeView view(QRect(0, 0, 300, 240));
        view.setDefaultXYRange(0, 100, 0, 100);
        view.setSelectedPointX(c.x);
        view.setSelectedPointY(c.y);
        view.showSelectionPoint(true);
        view.drawing().setPrinting(c.printing);
        const QImage image = view.renderImage();
        view.showSelectionPoint(false);
        // Drawn exactly when the image differs from the one without the cross.
        EXPECT_EQ(image != view.renderImage(), c.drawn) << c.what;
    }
}

TEST(RenderedLegend, HighlightShowsTheAnchorSquareAndAFrame)
{
    ProbeView view(QRect(0, 0, 400, 300));
    view.setDefaultXYRange(0, 100, 0, 100);
    auto point = CGraphPoint::newGraphPoint(80, 80);
    point->setName(QStringLiteral("Point"));
    point->setColor(Color::blue());
    view.addGraphObject(point);
    view.includesIntoLegend(point);
    view.setLegendPosition(20, 20);
    view.mLegend()->setHilited(true);
    view.state().selection().trackingRect = QRectF(200, 150, 60, 40);
    view.renderImage();
    const QImage image = view.renderImage();
    image.save(QStringLiteral("plot_render_hilited_legend.png"));
    const QPointF anchor(view.getXValue(20), view.getYValue(20));
    EXPECT_TRUE(isNear(pixelAtView(image, anchor.x() - 3, anchor.y() - 3), Qt::black, 30)); // the square
    const QRectF box = view.mLegend()->getBounds(view.plotFrame());
    int dark = 0;
    for (double x = box.left() + 6; x < box.right(); ++x)
        dark += pixelAtView(image, x, box.bottom() + 3).lightness() < 150; // the dashed top edge, clear of the text
    EXPECT_GT(dark, 0.5 * (box.width() - 6));
    EXPECT_LT(dark, box.width() - 6);
}

namespace {
// Bounds, in image pixels, of the dark (text) pixels of an image.
QRect darkPixelBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 100)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A view without axis texts or frame in sight: only the plot area and what is added.
std::unique_ptr<ProbeView> bareView()
{
    auto view = std::make_unique<ProbeView>(QRect(0, 0, 300, 200));
    view->setLabels(QString(), QString());
    view->setDefaultXYRange(0, 100, 0, 100);
    view->setTicksNumber(0, 0);
    return view;
}

QImage plotAreaOf(ProbeView& view)
{
    const QImage image = view.renderImage();
    const QRectF plot = view.drawing().getPlotRect();
    return image.copy(QRect(static_cast<int>(plot.x()) + 2, static_cast<int>(image.height() - plot.y() - plot.height()) + 2,
                            static_cast<int>(plot.width()) - 4, static_cast<int>(plot.height()) - 4));
}
} // namespace

TEST(RenderedLabels, OffsetsMoveALabelledPointsLabel)
{
    auto view = bareView();
    auto point = CGraphStringPoint::newGraphStringPoint(50, 50);
    point->setSelector(MarkerCode::Unset);
    point->setColor(Color::fromRgb(0.8, 0.8, 0.8)); // light marker: only the text is dark
    point->setLabel(QStringLiteral("Label"));
    point->setShowLabel(true);
    view->addGraphObject(point);
    const QRect plain = darkPixelBounds(plotAreaOf(*view));
    ASSERT_FALSE(plain.isEmpty());
    const int middle = plotAreaOf(*view).height() / 2; // the marker's row
    EXPECT_GT(plain.top(), middle);                    // under the marker, close to it
    EXPECT_LT(plain.top(), middle + 30);
    point->setOffsetX(10);
    point->setOffsetY(-5);
    const QRect moved = darkPixelBounds(plotAreaOf(*view));
    EXPECT_EQ(moved, plain.translated(10, 5)); // right and, y growing upward, down
    point->setShowLabel(false);
    EXPECT_TRUE(darkPixelBounds(plotAreaOf(*view)).isEmpty());
}

TEST(RenderedLabels, LabelledMarkerListShowsAndHidesAllLabels)
{
    auto view = bareView();
    auto list = std::make_shared<CGraphStringPointCurve>();
    list->setColor(Color::fromRgb(0.8, 0.8, 0.8));
    list->addPoint(QStringLiteral("API 30"), 25, 50);
    list->addPoint(QStringLiteral("API 40"), 75, 50);
    view->addGraphObject(list);
    const QRect shown = darkPixelBounds(plotAreaOf(*view));
    EXPECT_GT(shown.width(), 0.5 * view->drawing().getPlotRect().width()); // both labels
    list->setShowLabels(false);
    EXPECT_TRUE(darkPixelBounds(plotAreaOf(*view)).isEmpty());
    list->setShowLabels(true);
    EXPECT_EQ(darkPixelBounds(plotAreaOf(*view)), shown);
}
