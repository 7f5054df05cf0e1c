// Records own the plot objects that draw them: a record freed, or given a new object, takes
// its old one out of the legend and the plot view, also when the view is already gone.
#include "support/PhaseDiagramFixtures.h"

#include "plot/CPlotView.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// Draws a record as the phase-diagram document does: a new curve, given to the record,
// added to the view.
template <class Record>
CGraphCurve* draw(CPlotView& view, Record& record)
{
    auto curve = std::make_shared<CGraphCurve>();
    curve->setSelectable(true);
    for (const auto& point : record.points())
        curve->addPoint(float(point->T()), float(point->P()), false);
    curve->setName(record.name());
    record.setGraphCurve(curve);
    view.addGraphObject(curve);
    return curve.get();
}

// A drawn diagram: both branches (the liquid one in the legend), the critical-point
// marker, an isochore pair and two trapping lines on the one-phase part.
struct DrawnDiagram {
    PhaseDiagramPtr diagram;
    IsochorPair pair;
};

DrawnDiagram drawnDiagram(CPlotView& view)
{
    DrawnDiagram drawn{makeDiagram(), {}};
    const PhaseDiagramPtr& diagram = drawn.diagram;
    draw(view, *diagram->liquidIsopleth());
    draw(view, *diagram->vapourIsopleth());
    view.includesIntoLegend(diagram->liquidIsopleth()->graphCurve());
    auto marker = CGraphPoint::newGraphPoint(105, 115);
    diagram->setCriticalPoint(marker);
    view.addGraphObject(marker);
    drawn.pair = addIsochorPair(diagram, 90, Homogenisation::toLiquid);
    draw(view, *drawn.pair.biphasic);
    draw(view, *drawn.pair.monophasic);
    for (double T : {100.0, 120.0}) {
        auto line = std::make_shared<CTrappingLine>();
        EXPECT_TRUE(line->attachToIsochor(drawn.pair.monophasic, T));
        draw(view, *line);
    }
    return drawn;
}

bool shows(const CPlotView& view, const CGraphObject* object)
{
    return std::any_of(view.graphObjects().begin(), view.graphObjects().end(),
                       [object](const GraphObjectPtr& listed) { return listed.get() == object; });
}

TEST(RecordPlotObjects, FreeingADiagramEmptiesTheViewAndTheLegend)
{
    CPlotView view;
    DrawnDiagram drawn = drawnDiagram(view);
    ASSERT_EQ(view.graphObjects().size(), 7u);
    ASSERT_EQ(view.mLegend()->mRefObjectList().size(), 1u);
    std::weak_ptr<CGraphCurve> liquidCurve = drawn.diagram->liquidIsopleth()->graphCurve();

    drawn.pair = {};
    drawn.diagram.reset();
    EXPECT_TRUE(view.graphObjects().empty());
    EXPECT_TRUE(view.mLegend()->mRefObjectList().empty());
    EXPECT_TRUE(liquidCurve.expired());  // the record held the last reference
}

TEST(RecordPlotObjects, RemovingRecordsFromTheirListsRemovesTheirCurves)
{
    CPlotView view;
    DrawnDiagram drawn = drawnDiagram(view);
    const CGraphCurve* lineCurve = drawn.pair.monophasic->trappingLines()[0]->graphCurve().get();
    const CGraphCurve* otherLineCurve = drawn.pair.monophasic->trappingLines()[1]->graphCurve().get();

    // A trapping line taken off its isochore takes its curve along.
    drawn.pair.monophasic->trappingLines().erase(drawn.pair.monophasic->trappingLines().begin());
    EXPECT_FALSE(shows(view, lineCurve));
    EXPECT_EQ(view.graphObjects().size(), 6u);

    // The one-phase isochore taken off its diagram takes its curve and its line's curve along.
    const CGraphCurve* isochorCurve = drawn.pair.monophasic->graphCurve().get();
    drawn.pair.monophasic.reset();
    drawn.diagram->monophasicIsochors().clear();
    EXPECT_FALSE(shows(view, isochorCurve));
    EXPECT_FALSE(shows(view, otherLineCurve));
    EXPECT_EQ(view.graphObjects().size(), 4u);
    EXPECT_EQ(drawn.pair.biphasic->sister(), nullptr);

    // A branch replaced on its diagram leaves the view and the legend.
    const CGraphCurve* liquidCurve = drawn.diagram->liquidIsopleth()->graphCurve().get();
    drawn.diagram->setLiquidIsopleth(nullptr);
    EXPECT_FALSE(shows(view, liquidCurve));
    EXPECT_TRUE(view.mLegend()->mRefObjectList().empty());
    EXPECT_EQ(view.graphObjects().size(), 3u);
}

TEST(RecordPlotObjects, IsochorWithTwoTrappingLinesTakesThreeCurvesAlong)
{
    CPlotView view;
    auto isochor = makeIsochor({{50, 100}, {150, 300}});
    draw(view, *isochor);
    for (double T : {60.0, 80.0}) {
        auto line = std::make_shared<CTrappingLine>();
        ASSERT_TRUE(line->attachToIsochor(isochor, T));
        draw(view, *line);
    }
    auto other = makeIsochor({{50, 100}, {150, 300}});
    draw(view, *other);
    ASSERT_EQ(view.graphObjects().size(), 4u);
    isochor.reset();
    ASSERT_EQ(view.graphObjects().size(), 1u);
    EXPECT_EQ(view.graphObjects()[0], other->graphCurve());
}

TEST(RecordPlotObjects, NewPlotObjectsReplaceTheOldOnesInTheView)
{
    CPlotView view;
    DrawnDiagram drawn = drawnDiagram(view);
    const PhaseDiagramPtr& diagram = drawn.diagram;

    // Each redraw makes a new critical-point marker: only the last one stays.
    for (int redraw = 0; redraw < 3; ++redraw) {
        const CGraphPoint* former = diagram->criticalPoint().get();
        auto marker = CGraphPoint::newGraphPoint(105, 115);
        diagram->setCriticalPoint(marker);
        view.addGraphObject(marker);
        EXPECT_FALSE(shows(view, former));
        EXPECT_TRUE(shows(view, marker.get()));
    }
    EXPECT_EQ(view.graphObjects().size(), 7u);

    // Setting the object a record already has keeps it in the view.
    diagram->setCriticalPoint(diagram->criticalPoint());
    diagram->vapourIsopleth()->setGraphCurve(diagram->vapourIsopleth()->graphCurve());
    EXPECT_EQ(view.graphObjects().size(), 7u);

    // A new curve for a branch in the legend takes the old one out of both.
    const CGraphCurve* former = diagram->liquidIsopleth()->graphCurve().get();
    draw(view, *diagram->liquidIsopleth());
    EXPECT_FALSE(shows(view, former));
    EXPECT_TRUE(view.mLegend()->mRefObjectList().empty());
    EXPECT_EQ(view.graphObjects().size(), 7u);
}

TEST(RecordPlotObjects, FreeingRecordsAfterTheViewIsGone)
{
    auto view = std::make_unique<CPlotView>();
    DrawnDiagram drawn = drawnDiagram(*view);
    const std::shared_ptr<CGraphCurve> curve = drawn.pair.monophasic->graphCurve();
    view.reset();
    EXPECT_EQ(curve->getPlotView(), nullptr);
    EXPECT_EQ(drawn.diagram->criticalPoint()->getPlotView(), nullptr);

    // Nothing is left to take the objects out of: freeing and replacing are harmless.
    drawn.diagram->setCriticalPoint(CGraphPoint::newGraphPoint(0, 0));
    drawn.pair.monophasic->trappingLines().clear();
    drawn.pair = {};
    drawn.diagram.reset();
    SUCCEED();
}

TEST(RecordPlotObjects, FreeingRecordsOfTwoViews)
{
    CPlotView first;
    auto second = std::make_unique<CPlotView>();
    DrawnDiagram one = drawnDiagram(first);
    DrawnDiagram other = drawnDiagram(*second);
    second.reset();
    one = {};
    other = {};
    EXPECT_TRUE(first.graphObjects().empty());
    EXPECT_TRUE(first.mLegend()->mRefObjectList().empty());
}

} // namespace
