// Plot view state: ranges, coordinates, content, purges and copies.
#include "support/ProbeView.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/PlotViewProvider.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>

using namespace quorvel;
using quorvel::test::bounds;
using quorvel::test::ProbeView;

namespace {

std::shared_ptr<CGraphCurve> namedCurve(const QString& name)
{
    auto curve = std::make_shared<CGraphCurve>();
    curve->setName(name);
    curve->addPoint(0.1f, 0.1f, false);
    curve->addPoint(0.9f, 0.9f, false);
    return curve;
}

class DerivedCurve : public CGraphCurve { };

bool listed(const CGraphLegend& legend, const CGraphObject* object)
{
    for (const GraphObjectPtr& entry : legend.mRefObjectList())
        if (entry.get() == object)
            return true;
    return false;
}

} // namespace

TEST(PlotView, StartsWithTheStateOfANewView)
{
    ProbeView view;
    float x0, x1, y0, y1;
    view.getXYRange(x0, x1, y0, y1);
    EXPECT_EQ((std::array{x0, x1, y0, y1}), (std::array{0.f, 1.f, 0.f, 1.f}));
    view.getMaxXYRange(x0, x1, y0, y1);
    EXPECT_EQ((std::array{x0, x1, y0, y1}), (std::array{0.f, 1.f, 0.f, 1.f}));
    EXPECT_EQ(view.mNbXTicks(), 2);
    EXPECT_EQ(view.mYTicksDigits(), 3);
    const PlotGeometry& geometry = view.drawing().geometry();
    EXPECT_EQ((std::array{geometry.marginLeft, geometry.marginTop, geometry.marginRight, geometry.marginBottom}),
              (std::array{80.f, 15.f, 30.f, 60.f}));
    EXPECT_EQ(view.mXLabel().string, QStringLiteral("Undefined"));
    EXPECT_FALSE(view.mXLabel().attributes); // made before the attributes existed
    EXPECT_TRUE(view.mLegend()->isHidden());
    EXPECT_EQ(view.mLegend()->getPlotView(), &view);
    EXPECT_FALSE(view.state().axes().showLogX || view.state().axes().showLogY || view.state().axes().drawGrid);
    EXPECT_EQ(view.drawing().backColor(), Color::fromRgb(1, 1, 0.7));
    EXPECT_EQ(view.drawing().foreColor(), Color::fromRgb(0.6, 1, 1));

    view.setLabels(QStringLiteral("T (\u00B0C)"), QStringLiteral("P (bar)"));
    EXPECT_EQ(view.mYLabel().attributes, view.state().fonts().labels);
}

TEST(PlotView, DefaultAndCurrentRanges)
{
    ProbeView view;
    view.setMaxXYRange(-10, 200, -50, 50);
    view.setDefaultXYRange(0, 100, -5, 5);
    float d[4], c[4], m[4];
    view.getDefaultXYRange(d[0], d[1], d[2], d[3]);
    view.getXYRange(c[0], c[1], c[2], c[3]);
    view.getMaxXYRange(m[0], m[1], m[2], m[3]);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d[i], (std::array{0.f, 100.f, -5.f, 5.f})[i]);
        EXPECT_EQ(c[i], d[i]);
        EXPECT_EQ(m[i], (std::array{-10.f, 200.f, -50.f, 50.f})[i]);
    }
    view.setXYRange(10, 20, 0, 1);
    view.getDefaultXYRange(d[0], d[1], d[2], d[3]);
    EXPECT_EQ(d[1], 100.f);
}

TEST(PlotView, AdjustWidensTheDefaultsAndMakesThemCurrent)
{
    ProbeView view;
    view.adjustXYRange(15, 25, -3, 7, 10, 10);
    EXPECT_EQ(bounds(view.state().ranges().defaults), (std::array{0.f, 30.f, -3.f, 7.f}));
    EXPECT_EQ(bounds(view.state().ranges().current),
              (std::array{0.f, 30.f, -3.f, 7.f}));
    // Covered bounds stay.
    view.adjustXYRange(5, 30, 0, 1, 10, 10);
    EXPECT_EQ(bounds(view.state().ranges().defaults), (std::array{0.f, 30.f, -3.f, 7.f}));
    view.adjustXYRange(-15, 31, -4, 8, 10, 10);
    EXPECT_EQ(bounds(view.state().ranges().defaults), (std::array{-20.f, 40.f, -4.f, 8.f}));
}

TEST(PlotView, LogarithmicAxisMapsDecadesAfterADraw)
{
    ProbeView view(QRect(0, 0, 500, 400));
    view.state().axes().showLogX = true;
    view.setXYRange(0.5f, 200, 0, 1);
    view.renderImage();
    EXPECT_EQ(view.drawing().geometry().logXmin, -1.0f);
    EXPECT_EQ(view.drawing().geometry().logXmax, 3.0f);
    const QRectF plot = view.drawing().getPlotRect();
    EXPECT_NEAR(view.getXValue(1.0f), plot.x() + 0.25 * plot.width(), 1e-3);
    EXPECT_NEAR(view.getXValue(100.0f), plot.x() + 0.75 * plot.width(), 1e-3);
    EXPECT_FLOAT_EQ(view.getXValue(0.0f), static_cast<float>(plot.x()));
    EXPECT_FLOAT_EQ(view.getXValue(-3.0f), static_cast<float>(plot.x()));
    // A click at the pixel of decade 2 is the value 100.
    EXPECT_NEAR(view.drawing().getXFromPixelValue(static_cast<float>(plot.x() + 0.75 * plot.width())), 100.0f, 1e-3);
}

TEST(PlotView, PixelConversionInvertsTheTransform)
{
    for (const bool logarithmic : {false, true}) {
        ProbeView view(QRect(0, 0, 640, 480));
        view.state().axes().showLogX = logarithmic;
        view.state().axes().showLogY = logarithmic;
        view.setXYRange(0.01f, 5000.0f, 0.2f, 80.0f);
        view.renderImage();
        // Single precision: relative on a logarithmic axis, a fraction of the range on a linear one.
        const auto tolerance = [&](float v, float range) { return logarithmic ? 1e-4 * v : 1e-6 * range; };
        for (const float v : {0.02f, 0.5f, 1.0f, 7.5f, 64.0f, 333.0f, 4999.0f}) {
            EXPECT_NEAR(view.drawing().getXFromPixelValue(view.getXValue(v)), v, tolerance(v, 5000))
                << v << " log " << logarithmic;
            if (v <= 80.0f && v >= 0.2f) {
                EXPECT_NEAR(view.drawing().getYFromPixelValue(view.getYValue(v)), v, tolerance(v, 80)) << v;
            }
        }
    }
}

TEST(PlotView, DrawSizesTheMarginsToTheLabels)
{
    ProbeView view(QRect(0, 0, 400, 300));
    view.renderImage();
    const QSizeF label = textSize(QStringLiteral("Undefined"), TextAttributes::defaultText());
    const QSizeF tick = textSize(QStringLiteral("-1.000"), view.state().fonts().ticks);
    // The unrotated y title and the widest tick label side by side: inset 5, gap 8 between
    // them, gap 10 to the plot area; never less than the label's height + tick width + 25.
    const double sideBySide = 5.0 + label.width() + 8.0 + tick.width() + 10.0;
    const PlotGeometry& g = view.drawing().geometry();
    EXPECT_FLOAT_EQ(g.marginLeft, static_cast<float>(std::max(label.height() + tick.width() + 25.0, sideBySide)));
    EXPECT_FLOAT_EQ(g.marginBottom, static_cast<float>(label.height() + tick.height() + 25.0));
    EXPECT_EQ(g.marginTop, 15.0f);
    EXPECT_EQ(g.marginRight, 30.0f);
    const QRectF plot = view.drawing().getPlotRect();
    EXPECT_FLOAT_EQ(static_cast<float>(plot.x()), g.marginLeft);
    EXPECT_FLOAT_EQ(static_cast<float>(plot.width()), 400.0f - g.marginLeft - 30.0f);
}

TEST(PlotView, UnusableGeometryDrawsAndEnds)
{
    struct Case {
        const char* name;
        QSize size;
        bool logX;
        float minX, maxX;
        int xTicks;
    };
    const Case cases[] = {
        {"empty range", {400, 300}, false, 5, 5, 5},
        {"reversed range", {400, 300}, false, 10, 0, 5},
        {"one tick", {400, 300}, false, 0, 1, 1},
        {"no ticks", {400, 300}, false, 0, 1, 0},
        {"a million ticks", {400, 300}, false, 0, 1, 1000000},
        {"narrow range far from zero", {400, 300}, false, 1e7f, 1e7f + 1, 10},
        {"view smaller than its margins", {50, 40}, false, 0, 100, 10},
        {"one-pixel view", {1, 1}, false, 0, 100, 10},
        {"log over non-positive values", {400, 300}, true, -5, 0, 5},
        {"log with reversed decades", {400, 300}, true, 0, 0.0005f, 5},
        {"log with equal decades", {400, 300}, true, 100, 100, 5},
    };
    for (const Case& c : cases) {
        ProbeView view(QRect(QPoint(0, 0), c.size));
        view.state().axes().showLogX = c.logX;
        view.setXYRange(c.minX, c.maxX, 0, 1);
        view.setTicksNumber(c.xTicks, 5);
        view.setDrawGrid(true);
        auto curve = namedCurve(QStringLiteral("c"));
        view.addGraphObject(curve);
        view.includesIntoLegend(curve);
        view.setLegendPosition(c.minX, 0.5f);
        view.renderImage();
        const PlotGeometry& g = view.drawing().geometry();
        EXPECT_TRUE(std::isfinite(g.ax) && std::isfinite(g.bx)) << c.name;
        EXPECT_TRUE(std::isfinite(view.drawing().getXFromPixelValue(100.0f))) << c.name;
        EXPECT_TRUE(std::isfinite(view.getXValue(0.5f))) << c.name;
    }
}

TEST(PlotView, AddAndRemoveKeepViewLegendAndSelectionInStep)
{
    ProbeView view;
    auto a = namedCurve(QStringLiteral("A"));
    auto b = namedCurve(QStringLiteral("B"));
    view.addGraphObject(a);
    view.addGraphObject(b);
    EXPECT_EQ(a->getPlotView(), &view);
    EXPECT_FALSE(listed(*view.mLegend(), a.get())); // adding does not enter the legend
    view.includesIntoLegend(a);
    view.includesIntoLegend(b);

    view.setSelectedObject(b.get());
    view.removeGraphObject(a.get());
    EXPECT_EQ(view.selectedObject(), nullptr); // cleared whichever object was selected
    EXPECT_EQ(a->getPlotView(), nullptr);
    EXPECT_FALSE(listed(*view.mLegend(), a.get()));
    EXPECT_TRUE(listed(*view.mLegend(), b.get()));
    ASSERT_EQ(view.graphObjects().size(), 1u);

    view.removeFromLegend(b.get());
    EXPECT_EQ(view.graphObjects().size(), 1u);
    EXPECT_TRUE(view.mLegend()->mRefObjectList().empty());

    view.includesIntoLegend(b);
    view.purge();
    EXPECT_TRUE(view.graphObjects().empty());
    EXPECT_TRUE(view.mLegend()->mRefObjectList().empty());
    EXPECT_EQ(b->getPlotView(), nullptr);
}

TEST(PlotView, SelectivePurgesRemoveTheirObjectsFromViewAndLegend)
{
    const Dictionary record;
    const auto withRecord = [&](GraphObjectPtr object) {
        object->setReferenceObject(Value(record));
        return object;
    };
    ProbeView view;
    auto curve = std::make_shared<CGraphCurve>();
    auto derived = std::make_shared<DerivedCurve>();
    auto recordCurve = withRecord(std::make_shared<CGraphCurve>());
    auto pointCurve = std::make_shared<CGraphPointCurve>();
    auto recordPointCurve = withRecord(std::make_shared<CGraphPointCurve>());
    auto labelled = std::make_shared<CGraphStringPointCurve>();
    auto point = std::make_shared<CGraphPoint>();
    const std::vector<GraphObjectPtr> all{curve, derived, recordCurve, pointCurve, recordPointCurve, labelled, point};
    const auto reset = [&] {
        view.purge();
        for (const GraphObjectPtr& object : all) {
            view.addGraphObject(object);
            view.includesIntoLegend(object);
        }
    };
    const auto remaining = [&] {
        std::vector<CGraphObject*> objects;
        for (const GraphObjectPtr& object : view.graphObjects())
            objects.push_back(object.get());
        return objects;
    };

    reset();
    view.setSelectedObject(point.get());
    view.purgeCurves(); // exactly CGraphCurve, with or without a record
    EXPECT_EQ(remaining(), (std::vector<CGraphObject*>{derived.get(), pointCurve.get(), recordPointCurve.get(),
                                                       labelled.get(), point.get()}));
    EXPECT_FALSE(listed(*view.mLegend(), curve.get()));
    EXPECT_FALSE(listed(*view.mLegend(), recordCurve.get()));
    EXPECT_EQ(curve->getPlotView(), nullptr);
    EXPECT_EQ(view.selectedObject(), point.get()); // not among those removed

    reset();
    view.purgePointCurves(); // record-less point curves only
    EXPECT_EQ(remaining(), (std::vector<CGraphObject*>{curve.get(), derived.get(), recordCurve.get(),
                                                       recordPointCurve.get(), labelled.get(), point.get()}));
    EXPECT_FALSE(listed(*view.mLegend(), pointCurve.get()));

    reset();
    view.setSelectedObject(recordCurve.get());
    view.purgeReferenceObjects();
    EXPECT_EQ(remaining(), (std::vector<CGraphObject*>{curve.get(), derived.get(), pointCurve.get(), labelled.get(),
                                                       point.get()}));
    EXPECT_EQ(view.mLegend()->mRefObjectList().size(), 5u);
    EXPECT_EQ(view.selectedObject(), nullptr);
}

TEST(PlotView, CopyHoldsCopiesListedInItsOwnLegend)
{
    const Dictionary record;
    ProbeView view(QRect(0, 0, 500, 350));
    view.setMaxXYRange(-100, 100, -100, 100);
    view.setDefaultXYRange(0, 50, 0, 10);
    view.setXYRange(10, 20, 1, 2); // zoomed
    view.setTicksNumber(6, 7);
    view.setTicksDigits(1, 2);
    view.state().axes().showLogY = true;
    view.setLabels(QStringLiteral("T"), QStringLiteral("P"));
    auto a = namedCurve(QStringLiteral("A"));
    a->setReferenceObject(Value(record));
    auto b = std::make_shared<CGraphPoint>();
    view.addGraphObject(a);
    view.addGraphObject(b);
    view.includesIntoLegend(a);
    view.setLegendPosition(12, 1.5f);

    std::unique_ptr<CPlotView> copy = view.copy();
    ASSERT_EQ(copy->graphObjects().size(), 2u);
    const CGraphObject* copiedA = copy->graphObjects()[0].get();
    EXPECT_NE(copiedA, a.get());
    EXPECT_EQ(copiedA->name(), a->name());
    EXPECT_EQ(copiedA->getPlotView(), copy.get());
    EXPECT_FALSE(copiedA->hasReferenceObject());
    EXPECT_EQ(a->getPlotView(), &view);
    ASSERT_EQ(copy->mLegend()->mRefObjectList().size(), 1u);
    EXPECT_EQ(copy->mLegend()->mRefObjectList()[0].get(), copiedA);
    EXPECT_EQ(copy->mLegend()->getPlotView(), copy.get());
    EXPECT_FALSE(copy->mLegend()->isHidden());

    float d[4], m[4];
    copy->getDefaultXYRange(d[0], d[1], d[2], d[3]);
    copy->getMaxXYRange(m[0], m[1], m[2], m[3]);
    EXPECT_EQ((std::array{d[0], d[1], d[2], d[3]}), (std::array{10.f, 20.f, 1.f, 2.f}));
    EXPECT_EQ((std::array{m[0], m[1], m[2], m[3]}), (std::array{-100.f, 100.f, -100.f, 100.f}));
    EXPECT_EQ(copy->mNbYTicks(), 7);
    EXPECT_EQ(copy->mYTicksDigits(), 2);
    EXPECT_TRUE(copy->state().axes().showLogY);
    EXPECT_EQ(copy->mXLabel(), view.mXLabel());
    EXPECT_EQ(copy->size(), view.size());
}

TEST(PlotView, ObjectsOutlivingTheirViewAreDetached)
{
    auto curve = namedCurve(QStringLiteral("kept by its record"));
    {
        ProbeView view;
        view.addGraphObject(curve);
    }
    EXPECT_EQ(curve->getPlotView(), nullptr);
}

TEST(PlotView, SelectionAccessors)
{
    ProbeView view;
    auto point = std::make_shared<CGraphPoint>();
    view.setSelectedPointX(3.5f);
    view.setSelectedPointY(-1.0f);
    view.setSelectedObject(point.get());
    float x, y;
    CGraphObject* object = nullptr;
    view.getSelectedPoint(x, y);
    object = view.selectedObject();
    EXPECT_EQ(x, 3.5f);
    EXPECT_EQ(y, -1.0f);
    EXPECT_EQ(object, point.get());
    view.showSelectionPoint(true);
    EXPECT_TRUE(view.state().selection().pointVisible);
}

TEST(PlotView, FindsTheDocumentOfItsWindow)
{
    struct Document : PlotViewProvider {
        CPlotView* view = nullptr;
        CPlotView* plotView() const override { return view; }
    } document;
    QWidget window;
    auto* view = new ProbeView(QRect(0, 0, 200, 100), &window);
    document.view = view;
    EXPECT_EQ(view->getDocument(), nullptr);
    PlotViewProvider::setDocumentOfWindow(&window, &document);
    EXPECT_EQ(view->getDocument(), &document);
    EXPECT_EQ(ProbeView().getDocument(), nullptr); // no window
    PlotViewProvider::setDocumentOfWindow(&window, nullptr);
}
