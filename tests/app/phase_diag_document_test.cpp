// The phase-diagram document and its P-T view: the calculations on a scripted calculator
// (alerts, change count, notifications), the drawing rules, the ptd file and revert,
// removals, the aqueous line, the context menus, the real engine end to end, and a
// render of the window.

#include "support/AppTestSupport.h"
#include "support/PhaseDiagramRecords.h"

#include "app/CPhaseDiagDocument.h"
#include "app/CPhaseDiagView.h"
#include "app/CPhaseDiagWindow.h"
#include "app/DocumentTypes.h"
#include "app/PhaseDiagramCalculator.h"
#include "platform/NotificationCenter.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CPlotFormat.h"
#include "plot/PlotFrame.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// ---- Records ----

PhaseDiagramPtr diagram(const QString& name, IsoplethPtr liquid, IsoplethPtr vapour)
{
    auto made = std::make_shared<CPhaseDiagram>();
    made->setName(name);
    made->setThermoModel(alphaBetaFluid(name));
    for (const IsoplethPtr& part : {liquid, vapour})
        if (part)
            part->setPhaseDiagram(made);
    made->setLiquidIsopleth(std::move(liquid));
    made->setVapourIsopleth(std::move(vapour));
    return made;
}

// Branches that meet 0.5 °C apart at (200, 210): one critical point.
PhaseDiagramPtr envelope(const QString& name = "Fluid A")
{
    return diagram(name, branch(kToLiquid, {{50, 100}, {100, 150}, {150, 190}, {200, 210}}),
                   branch(kToVapour, {{250, 50}, {230, 120}, {210, 180}, {200.5, 210}}));
}

// ---- A scripted calculator ----

struct CalculatorScript
{
    PhaseDiagramPtr envelope;  // what the envelope calculation hands back
    bool metLiquidLiquidGas = false;
    isochor_result isochorCode = isochor_result::both_made;  // the isochores are made only with this code
    struct Call
    {
        int fluidType, eos;
        double Th = 0, Ph = 0;
        std::optional<Homogenisation> homog;  // none for an envelope
        QString inclusion;
    };
    QList<Call> calls;
    int live = 0;
};

class ScriptedCalculator : public PhaseDiagramCalculator
{
public:
    ScriptedCalculator(CalculatorScript& script, int fluidType, int eos) : script(script), fluidType(fluidType), eos(eos)
    {
        ++script.live;
    }
    ~ScriptedCalculator() override { --script.live; }

    EnvelopeTrace calculateImmiscibilityLoop(const FluidRecord&, PhaseDiagramPtr* made) override
    {
        script.calls.append({fluidType, eos, 0, 0, std::nullopt, QString()});
        *made = script.envelope;
        return {step_code::end_of_curve, script.metLiquidLiquidGas};
    }
    isochor_result calculateIsochors(const PhaseDiagramPtr& on, const InclusionRecord* inclusion, double Th, double Ph,
                          Homogenisation homog, IsochorPtr* monophasic, IsochorPtr* biphasic) override
    {
        script.calls.append({fluidType, eos, Th, Ph, homog, inclusion ? inclusion->stringValue("name") : QString()});
        if (script.isochorCode != isochor_result::both_made)
            return script.isochorCode;
        auto [twoPhase, onePhase] = addIsochorPair(on, Th, Ph > 0 ? Ph : 160, homog, "made");
        *monophasic = onePhase;
        *biphasic = twoPhase;
        return script.isochorCode;
    }

private:
    CalculatorScript& script;
    int fluidType, eos;
};

struct ScriptedCalculatorInstalled
{
    CalculatorScript script;
    ScriptedCalculatorInstalled()
    {
        PhaseDiagramCalculator::setFactory(
            [this](FluidType fluidType, EquationOfState eos) {
                return std::make_unique<ScriptedCalculator>(script, code_number(fluidType), code_number(eos));
            });
    }
    ~ScriptedCalculatorInstalled() { PhaseDiagramCalculator::setFactory(nullptr); }
};

// ---- Notifications ----

struct Posts : PostedNotifications
{
    Posts() : PostedNotifications({PTPlotModified, PTPlotSelection, QStringLiteral("PlotSelection")}) {}
};

// ---- Fixture ----

struct PhaseDiagDocument : ::testing::Test, AppFixture
{
    RecordingPanels panels;
    ScriptedCalculatorInstalled calculator;

    CPhaseDiagDocument* shownDocument()
    {
        return shownDocumentOfType<CPhaseDiagDocument>(DocumentTypes::PhaseDiagram);
    }
    static CPhaseDiagView* viewOf(CPhaseDiagDocument& document)
    {
        return static_cast<CPhaseDiagWindow*>(document.windowControllers().front().get())->plotView();
    }
    // A document holding the scripted envelope, an isochore pair at Th 120 and a trapping line at 170.
    CPhaseDiagDocument* documentWithEverything()
    {
        CPhaseDiagDocument* document = shownDocument();
        calculator.script.envelope = envelope();
        document->calculateImmiscibilityLoop(alphaBetaFluid("Fluid A"));
        IsochorPtr onePhase;
        document->calculateIsochor(document->phaseDiagrams().front(), Dictionary{{"name", "Q-1"}}, 120, kToLiquid,
                                   &onePhase, 160);
        document->addTrappingLineTo(onePhase, 170);
        return document;
    }
    // Draws the window once, so that the view's coordinates are those of a draw.
    static QImage drawn(CPhaseDiagDocument& document, QSize size = QSize(640, 480))
    {
        QWidget* window = document.windowControllers().front()->window();
        window->resize(size);
        settle();
        return window->grab().toImage();
    }
};

std::vector<const CGraphObject*> objectsOf(const CPlotView& view)
{
    std::vector<const CGraphObject*> objects;
    for (const GraphObjectPtr& object : view.graphObjects())
        objects.push_back(object.get());
    return objects;
}

bool shows(const CPlotView& view, const CGraphObject* object)
{
    const auto objects = objectsOf(view);
    return object && std::find(objects.begin(), objects.end(), object) != objects.end();
}

// ---- The calculations ----

TEST_F(PhaseDiagDocument, IsochoreCodesWithAndWithoutAnEnvelopeAndLiquidLiquidGas)
{
    const QString llgAlert = "Quorvel has detected liquid-liquid-gas phase equilibria.";
    const QString envelopeFailure = "The program failed to calculate the P-T phase envelope.";
    struct Code
    {
        isochor_result code;
        Homogenisation homog;
        const char* alert;  // none: no alert
    };
    const Code codes[] = {
        {isochor_result::below_envelope, kToLiquid, "The homogenisation temperature is too low."},
        {isochor_result::above_envelope, kToVapour, "The homogenisation temperature is too high."},
        {isochor_result::no_branch, kToLiquid,
         "For the given composition, the inclusion cannot homogenize to liquid. Change the homogenisation type."},
        {isochor_result::no_branch, kToVapour,
         "For the given composition, the inclusion cannot homogenize to vapour.\nChange the homogenisation type."},
        {isochor_result::start_failed, kToLiquid,
         "Because of numeric limitations, the software cannot calculate isochors too close from a critical "
         "point.\nTry to calculate the critical isochor by increasing or decreasing the homogenisation "
         "temperature by 0.5°C."},
        {isochor_result::both_made, kToVapour, nullptr},
    };
    for (const Code& c : codes)
        for (const bool present : {true, false})
            for (const bool llg : {false, true}) {
                const std::string what = "code " + std::to_string(static_cast<int>(c.code)) + " homog "
                                         + std::to_string(code_number(c.homog)) + (present ? " with" : " without")
                                         + " envelope, llg " + std::to_string(llg);
                CPhaseDiagDocument* document = shownDocument();
                CPlotView* view = document->plotView();
                alerts.clear();
                calculator.script = CalculatorScript();
                calculator.script.envelope = present ? envelope() : nullptr;
                calculator.script.metLiquidLiquidGas = llg;
                calculator.script.isochorCode = c.code;
                {
                    Posts posts;
                    document->calculateImmiscibilityLoop(alphaBetaFluid("F"));
                    EXPECT_EQ(posts.count(PTPlotModified), 1) << what;
                }
                QStringList expected;
                if (llg)
                    expected << llgAlert;
                if (!present)
                    expected << envelopeFailure;
                EXPECT_EQ(alerts.messages(), expected) << what;
                EXPECT_EQ(document->changeCount(), present ? 1 : 0) << what;
                ASSERT_EQ(document->phaseDiagrams().size(), present ? 1u : 0u) << what;
                const std::size_t drawn = view->graphObjects().size();
                EXPECT_EQ(drawn, present ? 3u : 0u) << what << ": two branches and the critical point";

                // Isochores on the document's diagram, or on a diagram of no document.
                const PhaseDiagramPtr target = present ? document->phaseDiagrams().front() : envelope("outside");
                alerts.clear();
                IsochorPtr place;
                Posts posts;
                const isochor_result code = document->calculateIsochor(target, std::nullopt, 120, c.homog, &place, 0);
                EXPECT_EQ(code, c.code) << what;
                EXPECT_EQ(alerts.messages(), c.alert ? QStringList{QString::fromUtf8(c.alert)} : QStringList())
                    << what;
                EXPECT_EQ(posts.count(PTPlotModified), 1) << what;
                EXPECT_EQ(document->changeCount(), (present ? 1 : 0) + 1) << what;
                ASSERT_EQ(calculator.script.calls.size(), 2) << what;
                EXPECT_EQ(calculator.script.calls[0].fluidType, 1) << what;
                EXPECT_EQ(calculator.script.calls[1].eos, code_number(kPhaseDiagramEos)) << what;
                EXPECT_EQ(calculator.script.live, 0) << what << ": the calculator is deleted";
                if (c.code == isochor_result::both_made) {
                    ASSERT_TRUE(place) << what;
                    EXPECT_EQ(target->monophasicIsochors().back(), place) << what;
                    EXPECT_EQ(view->graphObjects().size(), drawn + 2) << what;
                    EXPECT_EQ(view->selectedObject(), place->graphCurve().get()) << what;
                    const auto& cousins = place->graphCurve()->colorCousins();
                    EXPECT_NE(std::find(cousins.begin(), cousins.end(), place->sister()->graphCurve().get()),
                              cousins.end())
                        << what;
                } else {
                    EXPECT_FALSE(place) << what;
                    EXPECT_TRUE(target->biphasicIsochors().empty()) << what;
                    EXPECT_TRUE(target->monophasicIsochors().empty()) << what;
                    EXPECT_EQ(view->graphObjects().size(), drawn) << what << ": nothing drawn";
                }
                document->updateChangeCount(Document::ChangeCleared);
                document->close();
                settle();
            }
}

TEST_F(PhaseDiagDocument, EnvelopeResetsTheRangesToTheWidenedDefaults)
{
    CPhaseDiagDocument* document = shownDocument();
    CPlotView* view = document->plotView();
    view->setXYRange(100, 120, 100, 120);
    calculator.script.envelope = diagram("Wide", branch(kToLiquid, {{20, 1}, {200, 300}, {350, 400}}), nullptr);
    document->calculateImmiscibilityLoop(alphaBetaFluid("Wide"));
    float minX, maxX, minY, maxY;
    view->getXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(std::vector<float>({minX, maxX, minY, maxY}), std::vector<float>({0, 360, 0, 500}));
    EXPECT_EQ(document->changeCount(), 1) << "the range change is the view's own, not an edit";
}

TEST_F(PhaseDiagDocument, DiagramsAreComputedWithPengRobinsonWhateverTheFluidsOwnEquation)
{
    CPhaseDiagDocument* document = shownDocument();
    calculator.script.envelope = envelope("SRK oil");
    document->calculateImmiscibilityLoop(Dictionary{{"name", "SRK oil"}, {"fluidType", 2}, {"EOS", "SRK"}});
    document->phaseDiagrams().front()->setThermoModel(Dictionary{{"fluidType", 2}, {"EOS", "SRK"}});
    IsochorPtr onePhase;
    document->calculateIsochor(document->phaseDiagrams().front(), std::nullopt, 120, kToLiquid, &onePhase, 0);
    ASSERT_EQ(calculator.script.calls.size(), 2);
    for (const CalculatorScript::Call& call : calculator.script.calls) {
        EXPECT_EQ(call.fluidType, 2);
        EXPECT_EQ(call.eos, 0);
    }
    document->updateChangeCount(Document::ChangeCleared);
}

// ---- Drawing rules ----

TEST_F(PhaseDiagDocument, DrawingRulesForBranchesMarkersAndTheLegend)
{
    struct Case
    {
        const char* what;
        IsoplethPtr liquid, vapour;
        bool marker;
        const char* legend;  // "liquid", "vapour"
    };
    const Case cases[] = {
        {"ends 0.99 apart", branch(kToLiquid, {{100, 100}, {300, 200}}), branch(kToVapour, {{350, 50}, {300.99, 200}}), true,
         "liquid"},
        {"ends 1.0 apart", branch(kToLiquid, {{100, 100}, {300, 200}}), branch(kToVapour, {{350, 50}, {301, 200}}), false, "liquid"},
        {"liquid only", branch(kToLiquid, {{100, 100}, {300, 200}}), nullptr, false, "liquid"},
        {"vapour only", nullptr, branch(kToVapour, {{350, 50}, {300, 200}}), false, "vapour"},
    };
    for (const Case& c : cases) {
        CPhaseDiagDocument* document = shownDocument();
        CPlotView* view = document->plotView();
        const PhaseDiagramPtr made = diagram("D", c.liquid, c.vapour);
        document->phaseDiagrams().push_back(made);
        document->plotIsoplethsOfPhaseDiagram(made);
        const auto& legend = view->mLegend()->mRefObjectList();
        ASSERT_EQ(legend.size(), 1u) << c.what;
        const IsoplethPtr& inLegend = QString(c.legend) == "liquid" ? c.liquid : c.vapour;
        EXPECT_EQ(legend.front().get(), inLegend->graphCurve().get()) << c.what;
        for (const IsoplethPtr& part : {c.liquid, c.vapour})
            if (part) {
                EXPECT_EQ(part->graphCurve()->name(), QString("D")) << c.what;
                EXPECT_EQ(part->graphCurve()->referenceObject().toObject<CIsopleth>(), part) << c.what;
                EXPECT_TRUE(part->graphCurve()->isSelectable()) << c.what;
            }
        ASSERT_EQ(made->criticalPoint() != nullptr, c.marker) << c.what;
        if (c.marker) {
            const CGraphPoint& marker = *made->criticalPoint();
            EXPECT_EQ(marker.name(), QString("CP: D"));
            EXPECT_EQ(marker.getX(), 300.0f);
            EXPECT_EQ(marker.getY(), 200.0f);
            EXPECT_EQ(*marker.getColor(), Color::fromRgb(0, 0, 1));
            EXPECT_EQ(marker.size(), 3.0f);
            EXPECT_EQ(code_number(marker.selector()), 1);
            EXPECT_TRUE(shows(*view, &marker));
            EXPECT_TRUE(marker.referenceObject().isNull());
            const auto& cousins = c.liquid->graphCurve()->colorCousins();
            EXPECT_EQ(cousins, std::vector<CGraphObject*>{c.vapour->graphCurve().get()});
        }
        document->close();
        settle();
    }
}

TEST_F(PhaseDiagDocument, BranchExtentsAndTheWidenedDefaultRanges)
{
    struct Case
    {
        const char* what;
        IsoplethPtr branch;
        double minT, maxT, minP, maxP;
        std::vector<float> defaults;  // x min, x max, y min, y max of the view after drawing
    };
    const Case cases[] = {
        {"20 to 350 °C, 1 to 400 bar", branch(kToLiquid, {{20, 1}, {180, 300}, {350, 400}}), 20, 352, 1, 402, {0, 360, 0, 500}},
        {"inside the new plot", branch(kToLiquid, {{40, 10}, {120, 200}}), 40, 122, 10, 202, {0, 300, 0, 500}},
        {"below 0 °C and above 500 bar", branch(kToVapour, {{-35, 2}, {150, 640}}), -35, 152, 2, 642, {-40, 300, 0, 642}},
        // A break point whose values were never set counts as 0 °C and 0 bar.
        {"unset break point", branch(kToLiquid, {{40, 10}, {0, 0, 1}, {120, 200}}), 0, 122, 0, 202, {0, 300, 0, 500}},
    };
    for (const Case& c : cases) {
        CPhaseDiagDocument* document = shownDocument();
        document->plotIsoplethCurve(c.branch);
        EXPECT_DOUBLE_EQ(c.branch->minT(), c.minT) << c.what;
        EXPECT_DOUBLE_EQ(c.branch->maxT(), c.maxT) << c.what;
        EXPECT_DOUBLE_EQ(c.branch->minP(), c.minP) << c.what;
        EXPECT_DOUBLE_EQ(c.branch->maxP(), c.maxP) << c.what;
        float minX, maxX, minY, maxY;
        document->plotView()->getDefaultXYRange(minX, maxX, minY, maxY);
        EXPECT_EQ(std::vector<float>({minX, maxX, minY, maxY}), c.defaults) << c.what;
        const auto& points = c.branch->graphCurve()->mPointsList();
        ASSERT_EQ(points.size(), c.branch->points().size()) << c.what;
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(points[i].breakFlag, c.branch->points()[i]->skip() != 0) << c.what;
        document->close();
        settle();
    }
}

TEST_F(PhaseDiagDocument, NewDocumentPlotAndViewSettings)
{
    CPhaseDiagDocument document;
    const CPlotFormat& format = document.plotFormat();
    EXPECT_EQ(std::vector<float>({format.minX(), format.maxX(), format.minY(), format.maxY(), format.currentMinX(),
                                  format.currentMaxX(), format.currentMinY(), format.currentMaxY(), format.legendX(),
                                  format.legendY()}),
              std::vector<float>({0, 300, 0, 500, 0, 300, 0, 500, 20, 400}));
    EXPECT_TRUE(document.name().isNull());

    CPhaseDiagView view;
    float minX, maxX, minY, maxY;
    view.getMaxXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(std::vector<float>({minX, maxX, minY, maxY}), std::vector<float>({-100, 1000, 0, 5000}));
    EXPECT_EQ(view.mXLabel().string, QString("T (°C)"));
    EXPECT_EQ(view.mYLabel().string, QString("P (bar)"));
    EXPECT_EQ(std::vector<int>({view.mNbXTicks(), view.mNbYTicks(), view.mXTicksDigits(), view.mYTicksDigits()}),
              std::vector<int>({11, 11, 1, 1}));
}

// ---- The ptd file ----

TEST_F(PhaseDiagDocument, PtdRoundTripRestoresLinksCurvesAndCousins)
{
    CPhaseDiagDocument* document = documentWithEverything();
    document->plotView()->setXYRange(50, 150, 100, 200);  // a zoom the file keeps
    const QString file = path("diagram.ptd");
    chooser.queuePath(file);
    ASSERT_TRUE(document->saveDocumentAs());
    EXPECT_EQ(document->name(), QString("diagram.ptd"));
    EXPECT_EQ(archiveRootKeys(file), (QSet<QString>{"phaseDiagrams", "plotFormat"}));

    chooser.queuePath(file);
    document->close();
    settle();
    controller->performAction("onOpenPhaseDiagDocument:", nullptr);
    settle();
    ASSERT_EQ(controller->documents().size(), 1);
    auto* loaded = dynamic_cast<CPhaseDiagDocument*>(controller->documents().front());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->phaseDiagrams().size(), 1u);
    const PhaseDiagramPtr diagram = loaded->phaseDiagrams().front();
    ASSERT_EQ(diagram->monophasicIsochors().size(), 1u);
    ASSERT_EQ(diagram->biphasicIsochors().size(), 1u);
    const IsochorPtr onePhase = diagram->monophasicIsochors().front();
    const IsochorPtr twoPhase = diagram->biphasicIsochors().front();
    EXPECT_EQ(onePhase->sister(), twoPhase);
    EXPECT_EQ(twoPhase->sister(), onePhase);
    EXPECT_EQ(onePhase->phaseDiagram(), diagram);
    EXPECT_EQ(twoPhase->phaseDiagram(), diagram);
    EXPECT_EQ(diagram->liquidIsopleth()->phaseDiagram(), diagram);
    ASSERT_EQ(onePhase->trappingLines().size(), 1u);
    const TrappingLinePtr line = onePhase->trappingLines().front();
    EXPECT_EQ(line->isochor(), onePhase);
    EXPECT_DOUBLE_EQ(line->Ptrap(), 360);

    CPlotView* view = loaded->plotView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(shows(*view, line->graphCurve().get())) << "the trapping line is drawn";
    EXPECT_EQ(*line->graphCurve()->getColor(), Color::black());
    const auto& cousins = onePhase->graphCurve()->colorCousins();
    EXPECT_NE(std::find(cousins.begin(), cousins.end(), twoPhase->graphCurve().get()), cousins.end());
    EXPECT_EQ(view->graphObjects().size(), 6u) << "branches, critical point, two isochore parts, trapping line";
    float minX, maxX, minY, maxY;
    view->getXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(std::vector<float>({minX, maxX, minY, maxY}), std::vector<float>({50, 150, 100, 200}));

    // Saving again without touching the plot writes the same plot settings.
    const QByteArray first = loaded->dataRepresentationOfType(DocumentTypes::PhaseDiagram, nullptr);
    const QByteArray second = loaded->dataRepresentationOfType(DocumentTypes::PhaseDiagram, nullptr);
    EXPECT_EQ(first, second);
}

TEST_F(PhaseDiagDocument, RevertLeavesExactlyTheReloadedObjectsAndAFailedRevertChangesNothing)
{
    CPhaseDiagDocument* document = documentWithEverything();
    const QString file = path("revert.ptd");
    chooser.queuePath(file);
    ASSERT_TRUE(document->saveDocumentAs());
    IsochorPtr extra;
    document->calculateIsochor(document->phaseDiagrams().front(), std::nullopt, 90, kToLiquid, &extra, 130);
    document->setTemporaryAqueousHomogLine(150, 300);
    const PhaseDiagramPtr old = document->phaseDiagrams().front();
    CPlotView* view = document->plotView();
    ASSERT_EQ(view->graphObjects().size(), 9u);

    {
        Posts posts;
        ASSERT_TRUE(document->revertDocumentToSaved());
        EXPECT_EQ(posts.count(PTPlotModified), 1);
    }
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_FALSE(document->aqueousHomogLine());
    ASSERT_EQ(document->phaseDiagrams().size(), 1u);
    const PhaseDiagramPtr reloaded = document->phaseDiagrams().front();
    EXPECT_NE(reloaded, old);
    std::vector<const CGraphObject*> expected{reloaded->liquidIsopleth()->graphCurve().get(),
                                              reloaded->vapourIsopleth()->graphCurve().get(),
                                              reloaded->criticalPoint().get()};
    for (const IsochorPtr& part : reloaded->biphasicIsochors())
        expected.push_back(part->graphCurve().get());
    for (const IsochorPtr& part : reloaded->monophasicIsochors()) {
        expected.push_back(part->graphCurve().get());
        for (const TrappingLinePtr& line : part->trappingLines())
            expected.push_back(line->graphCurve().get());
    }
    EXPECT_EQ(objectsOf(*view), expected);
    EXPECT_FALSE(old->liquidIsopleth()->graphCurve()) << "the old records keep no drawing";
    EXPECT_FALSE(extra->graphCurve());
    EXPECT_EQ(view->mLegend()->mRefObjectList().size(), 1u);

    // A damaged file: the revert is refused with an alert and the document stays as it is.
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not an archive");
    damaged.close();
    document->updateChangeCount(Document::ChangeDone);
    alerts.clear();
    Posts posts;
    EXPECT_FALSE(document->revertDocumentToSaved());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(posts.count(PTPlotModified), 0);
    EXPECT_EQ(document->phaseDiagrams().front(), reloaded);
    EXPECT_EQ(objectsOf(*view), expected);
}

// ---- Removals, trapping lines and the aqueous line ----

TEST_F(PhaseDiagDocument, DeletingEitherPartRemovesBothWithTheirTrappingLines)
{
    for (const bool byOnePhase : {true, false}) {
        CPhaseDiagDocument* document = documentWithEverything();
        const PhaseDiagramPtr diagram = document->phaseDiagrams().front();
        const IsochorPtr onePhase = diagram->monophasicIsochors().front();
        const IsochorPtr twoPhase = diagram->biphasicIsochors().front();
        const TrappingLinePtr line = onePhase->trappingLines().front();
        const int changes = document->changeCount();
        Posts posts;
        document->deleteIsochor(byOnePhase ? onePhase : twoPhase);
        EXPECT_TRUE(diagram->monophasicIsochors().empty());
        EXPECT_TRUE(diagram->biphasicIsochors().empty());
        EXPECT_EQ(document->plotView()->graphObjects().size(), 3u) << "branches and critical point left";
        EXPECT_FALSE(line->graphCurve()) << "held elsewhere, the line still leaves the plot";
        EXPECT_EQ(document->changeCount(), changes + 1);
        EXPECT_EQ(posts.names, QStringList{PTPlotModified});
        document->updateChangeCount(Document::ChangeCleared);
        document->close();
        settle();
    }
}

TEST_F(PhaseDiagDocument, DeletingAnIsochoreWithoutItsSisterRemovesWhatIsThere)
{
    CPhaseDiagDocument* document = shownDocument();
    const PhaseDiagramPtr made = envelope();
    document->phaseDiagrams().push_back(made);
    auto [twoPhase, onePhase] = addIsochorPair(made, 120, 160, kToLiquid, "lonely");
    made->biphasicIsochors().clear();  // the sister is gone
    twoPhase.reset();
    document->plotData();
    ASSERT_FALSE(onePhase->sister());
    document->deleteIsochor(onePhase);
    EXPECT_TRUE(made->monophasicIsochors().empty());
    EXPECT_EQ(document->plotView()->graphObjects().size(), 3u);
    EXPECT_EQ(document->changeCount(), 1);
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, RemovingTrappingLinesAndDiagrams)
{
    CPhaseDiagDocument* document = documentWithEverything();
    const PhaseDiagramPtr diagram = document->phaseDiagrams().front();
    const IsochorPtr onePhase = diagram->monophasicIsochors().front();
    const TrappingLinePtr line = onePhase->trappingLines().front();
    EXPECT_EQ(line->trappingName(), QString("made, Thaq = 170, Pt = 360"));
    CPlotView* view = document->plotView();
    ASSERT_EQ(view->graphObjects().size(), 6u);

    Posts posts;
    document->removeTrappingLine(line);
    EXPECT_TRUE(onePhase->trappingLines().empty());
    EXPECT_FALSE(shows(*view, line->graphCurve().get()));
    EXPECT_EQ(view->graphObjects().size(), 5u);

    // Given as an isochore, a trapping line still only leaves its isochore.
    const TrappingLinePtr second = document->addTrappingLineTo(onePhase, 180);
    ASSERT_TRUE(second);
    posts.names.clear();
    document->deleteIsochor(second);
    EXPECT_TRUE(onePhase->trappingLines().empty());
    EXPECT_EQ(diagram->monophasicIsochors().size(), 1u);
    EXPECT_EQ(view->graphObjects().size(), 5u);
    EXPECT_EQ(posts.names, QStringList{PTPlotModified});

    document->removeFluidPhaseDiagram(diagram);
    EXPECT_TRUE(document->phaseDiagrams().empty());
    EXPECT_TRUE(view->graphObjects().empty());
    EXPECT_TRUE(view->mLegend()->mRefObjectList().empty());
    EXPECT_FALSE(diagram->criticalPoint());
    EXPECT_EQ(posts.names, (QStringList{PTPlotModified, PTPlotModified}));
    EXPECT_EQ(document->changeCount(), 7) << "envelope, isochore, two lines, and the three removals";
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, TrappingLineWhereTheIsochoreHasNoPressureIsRefused)
{
    CPhaseDiagDocument* document = documentWithEverything();
    const IsochorPtr onePhase = document->phaseDiagrams().front()->monophasicIsochors().front();
    const IsochorPtr twoPhase = onePhase->sister();
    const int changes = document->changeCount();
    alerts.clear();
    Posts posts;
    EXPECT_FALSE(document->addTrappingLineTo(onePhase, 400)) << "beyond the isochore";
    EXPECT_FALSE(document->addTrappingLineTo(twoPhase, 100)) << "a falling two-phase isochore";
    EXPECT_EQ(alerts.messages(), (QStringList{"The isochor has no pressure at 400.0 °C: no trapping line was set.",
                                              "The isochor has no pressure at 100.0 °C: no trapping line was set."}));
    EXPECT_EQ(onePhase->trappingLines().size(), 1u);
    EXPECT_TRUE(twoPhase->trappingLines().empty());
    EXPECT_EQ(document->changeCount(), changes);
    EXPECT_TRUE(posts.names.isEmpty());
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, AqueousLineIsTemporaryAndATrappingLineHidesIt)
{
    CPhaseDiagDocument* document = documentWithEverything();
    const int changes = document->changeCount();
    CPlotView* view = document->plotView();
    Posts posts;
    document->setTemporaryAqueousHomogLine(150, 800);
    const IsochorPtr line = document->aqueousHomogLine();
    ASSERT_TRUE(line);
    ASSERT_EQ(line->points().size(), 2u);
    EXPECT_EQ(std::vector<double>({line->points()[0]->T(), line->points()[0]->P(), line->points()[1]->T()}),
              std::vector<double>({150, 0, 150}));
    EXPECT_DOUBLE_EQ(line->points()[1]->P(), 880);
    EXPECT_EQ(line->name(), QString("Th (Aq.) = 150.0 °C"));
    const auto curve = line->graphCurve();
    ASSERT_TRUE(shows(*view, curve.get()));
    EXPECT_FALSE(curve->isSelectable());
    EXPECT_EQ(*curve->getColor(), Color::fromRgb(1, 0, 1));
    EXPECT_EQ(curve->size(), 1.0f);
    EXPECT_EQ(view->selectedPointX(), 150.0f);
    EXPECT_EQ(view->selectedPointY(), 800.0f);
    EXPECT_EQ(view->mLegend()->mRefObjectList().size(), 1u);

    // A second line replaces the first.
    document->setTemporaryAqueousHomogLine(160, 500);
    EXPECT_FALSE(shows(*view, curve.get()));
    EXPECT_EQ(view->graphObjects().size(), 7u);
    const auto second = document->aqueousHomogLine()->graphCurve();
    EXPECT_FALSE(second->isHidden());
    document->hideTemporaryAqueousHomogLine();
    EXPECT_TRUE(second->isHidden());
    EXPECT_EQ(document->changeCount(), changes) << "the aqueous line is no edit";
    EXPECT_TRUE(posts.names.isEmpty());

    document->setTemporaryAqueousHomogLine(190, 500);
    const IsochorPtr onePhase = document->phaseDiagrams().front()->monophasicIsochors().front();
    document->addTrappingLineTo(onePhase, 190);
    EXPECT_TRUE(document->aqueousHomogLine()->graphCurve()->isHidden());
    document->removeAqueousHomogLine();
    EXPECT_FALSE(document->aqueousHomogLine()->graphCurve());
    EXPECT_EQ(view->graphObjects().size(), 7u);

    const QByteArray data = document->dataRepresentationOfType(DocumentTypes::PhaseDiagram, nullptr);
    EXPECT_FALSE(data.contains("Th (Aq.)")) << "never written";
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, TrappingReportOfALineAndOfARecordWithoutTrapping)
{
    CPhaseDiagDocument* document = documentWithEverything();
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->clearText();
    const IsochorPtr onePhase = document->phaseDiagrams().front()->monophasicIsochors().front();
    document->writeTrappingInfoLog(onePhase);  // Trap 0: the log is only shown
    EXPECT_TRUE(log->text().plainText().trimmed().isEmpty());

    document->writeTrappingInfoLog(onePhase->trappingLines().front());
    const QString text = log->text().plainText();
    EXPECT_TRUE(text.contains("Isochor : made\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tTrapping temperature  :       170.00 °C\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tTrapping pressure     :       360.00 bar\n"));
    EXPECT_TRUE(text.contains("\tBulk molar volume (1) :       150.00 cm3/mol (Peng & Robinson EOS)\n"));
    EXPECT_TRUE(text.contains("\tCH4 mole percent      :         0.00%\n"));
    log->clearText();
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, PageItemsFollowThePanel)
{
    CPhaseDiagDocument* document = shownDocument();
    QAction item;
    for (int page = 1; page <= 4; ++page) {
        const QString action = QStringLiteral("onShowPhaseDiagPanelPage%1:").arg(page);
        ASSERT_TRUE(document->respondsToAction(action));
        document->performAction(action, nullptr);
    }
    EXPECT_EQ(panels.calls, (QStringList{"showPhaseDiagPanel", "selectPhaseDiagPage 0", "selectPhaseDiagPage 1",
                                         "selectPhaseDiagPage 2", "selectPhaseDiagPage 3"}));
    EXPECT_TRUE(document->validateAction("onShowPhaseDiagPanelPage2:", &item));
    EXPECT_FALSE(item.isChecked()) << "hidden panel: nothing ticked";
    panels.phaseDiagVisible = true;
    panels.phaseDiagPage = PhaseDiagPanelPage::Isochors;
    for (int page = 1; page <= 4; ++page) {
        EXPECT_TRUE(document->validateAction(QStringLiteral("onShowPhaseDiagPanelPage%1:").arg(page), &item));
        EXPECT_EQ(item.isChecked(), page == 2) << page;
    }
}

// ---- The view's context menus ----

struct ClickCase
{
    const char* what;
    QPointF data;    // the click in data units, or
    QPointF view;    // in view units when data is (-1, -1)
    const char* menu;  // menu title, "Points" for the plot view's points menu, none: no menu
};

TEST_F(PhaseDiagDocument, ContextMenuFollowsTheExactClassOfWhatWasHit)
{
    CPhaseDiagDocument* document = documentWithEverything();
    CPhaseDiagView* view = viewOf(*document);
    drawn(*document);
    const QRectF legend = view->mLegend()->getBounds(view->plotFrame());
    ASSERT_FALSE(legend.isEmpty());
    const ClickCase cases[] = {
        {"empty plot area", {280, 450}, {}, "Plot"},
        {"margin", {-1, -1}, {5, 5}, "Plot"},
        {"liquid branch", {60, 110}, {}, "Isopleths"},
        {"vapour branch", {240, 85}, {}, "Isopleths"},
        {"one-phase isochore", {145, 260}, {}, "Isochors"},
        {"two-phase isochore", {100, 130}, {}, "Isochors"},
        {"trapping line", {170, 395}, {}, "Trapping"},
        {"critical point", {200, 210}, {}, "Points"},
        {"legend", {-1, -1}, legend.center(), nullptr},
    };
    for (const ClickCase& c : cases) {
        const QPointF at = c.data == QPointF(-1, -1)
                               ? c.view
                               : QPointF(view->getXValue(float(c.data.x())), view->getYValue(float(c.data.y())));
        QMenu* menu = view->menuForEvent(at);
        if (!c.menu) {
            EXPECT_EQ(menu, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(menu, nullptr) << c.what;
        if (QString(c.menu) == "Points")
            EXPECT_EQ(menu, view->pointsMenu()) << c.what;
        else
            EXPECT_EQ(menu->title(), QString(c.menu)) << c.what;
    }

    QStringList plotItems;
    for (const QAction* item : view->plotMenu()->actions())
        plotItems << (item->isSeparator() ? QString("-") : item->text());
    EXPECT_EQ(plotItems, (QStringList{"New Phase Envelope...", "-", "Zoom in", "Zoom out", "Set Axis ranges...",
                                      "Axis ranges by default...", "-", "Axis label font...",
                                      "Axis graduation font...", "-", "Save as PDF..."}));
    QStringList trappingItems;
    for (const QAction* item : view->trappingMenu()->actions())
        trappingItems << (item->isSeparator() ? QString("-") : item->text());
    EXPECT_EQ(trappingItems, (QStringList{"Delete Th(Aq.) line", "-", "Normal thickness", "Double thickness",
                                          "Triple thickness", "-", "Color...", "Settings panel..."}));
}

QAction* itemNamed(QMenu* menu, const QString& title)
{
    for (QAction* item : menu->actions())
        if (item->text() == title)
            return item;
    return nullptr;
}

TEST_F(PhaseDiagDocument, MenuCommandsActOnTheClickedRecordAndPoint)
{
    CPhaseDiagDocument* document = documentWithEverything();
    CPhaseDiagView* view = viewOf(*document);
    drawn(*document);
    const auto at = [view](double T, double P) { return QPointF(view->getXValue(float(T)), view->getYValue(float(P))); };
    const PhaseDiagramPtr diagram = document->phaseDiagrams().front();

    // New Isochor... on the liquid branch: Th and Ph of the click, the branch's type, no inclusion.
    calculator.script.calls.clear();
    QMenu* menu = view->menuForEvent(at(60, 110));
    itemNamed(menu, "New Isochor...")->trigger();
    ASSERT_EQ(calculator.script.calls.size(), 1);
    const CalculatorScript::Call call = calculator.script.calls.front();
    EXPECT_NEAR(call.Th, 60, 1.0);
    EXPECT_NEAR(call.Ph, 110, 2.0);
    EXPECT_EQ(call.homog, kToLiquid);
    EXPECT_TRUE(call.inclusion.isNull());
    EXPECT_EQ(call.Th, double(view->selectedPointX()));
    ASSERT_EQ(diagram->monophasicIsochors().size(), 2u);

    // Page items go to the panel.
    panels.calls.clear();
    itemNamed(view->menuForEvent(at(280, 450)), "New Phase Envelope...")->trigger();
    itemNamed(view->menuForEvent(at(240, 85)), "Isochors Panel...")->trigger();
    itemNamed(view->menuForEvent(at(145, 260)), "Trapping panel...")->trigger();
    itemNamed(view->menuForEvent(at(145, 260)), "Isochors panel...")->trigger();
    // "Trapping panel..." shows the panel's trapping page, its fourth.
    EXPECT_EQ(panels.calls, (QStringList{"selectPhaseDiagPage 0", "selectPhaseDiagPage 1", "selectPhaseDiagPage 3",
                                         "selectPhaseDiagPage 1"}));

    // View Th(Aq.) line on the one-phase isochore: the panel gets the isochore and T.
    const IsochorPtr onePhase = diagram->monophasicIsochors().front();
    itemNamed(view->menuForEvent(at(145, 260)), "View Th(Aq.) line")->trigger();
    EXPECT_EQ(panels.calls.last(), QString("showAqueousHomogLine"));
    EXPECT_EQ(panels.aqueousIsochore.toObject<CIsochor>(), onePhase);
    EXPECT_EQ(panels.aqueousTemperature, double(view->selectedPointX()));

    // Set Th(Aq.) line: a trapping line at the clicked T.
    itemNamed(view->menuForEvent(at(145, 260)), "Set Th(Aq.) line")->trigger();
    ASSERT_EQ(onePhase->trappingLines().size(), 2u);
    EXPECT_NEAR(onePhase->trappingLines().back()->Trap(), 145, 1.0);

    // Deletions: the trapping line, then the isochore, then the envelope.
    itemNamed(view->menuForEvent(at(170, 395)), "Delete Th(Aq.) line")->trigger();
    EXPECT_EQ(onePhase->trappingLines().size(), 1u);
    itemNamed(view->menuForEvent(at(130, 200)), "Delete Isochor...")->trigger();
    EXPECT_EQ(diagram->monophasicIsochors().size(), 1u);
    EXPECT_EQ(diagram->biphasicIsochors().size(), 1u);
    itemNamed(view->menuForEvent(at(240, 85)), "Delete Phase Envelope")->trigger();
    EXPECT_TRUE(document->phaseDiagrams().empty());
    EXPECT_TRUE(view->graphObjects().empty());
    document->updateChangeCount(Document::ChangeCleared);
}

TEST_F(PhaseDiagDocument, ClickingAnObjectPostsPTPlotSelectionOnly)
{
    CPhaseDiagDocument* document = documentWithEverything();
    CPhaseDiagView* view = viewOf(*document);
    drawn(*document);
    const QPointF widget(view->getXValue(145), view->height() - view->getYValue(260));
    Posts posts;
    QMouseEvent press(QEvent::MouseButtonPress, widget, view->mapToGlobal(widget), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, widget, view->mapToGlobal(widget), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(view, &release);
    EXPECT_EQ(posts.names, QStringList{PTPlotSelection});
    EXPECT_EQ(view->selectedObject(),
              document->phaseDiagrams().front()->monophasicIsochors().front()->graphCurve().get());
    document->updateChangeCount(Document::ChangeCleared);
}

// ---- The real engine ----

TEST_F(PhaseDiagDocument, RealEngineEnvelopeIsochoresAndTrappingPressure)
{
    PhaseDiagramCalculator::setFactory(nullptr);
    CPhaseDiagDocument* document = shownDocument();
    Dictionary fluid = alphaBetaFluid("AB test", 0.5, 0.2);
    fluid.setValue("inclusion", Dictionary{{"name", "FI-1"}});
    document->calculateImmiscibilityLoop(fluid);
    ASSERT_EQ(document->phaseDiagrams().size(), 1u) << alerts.messages().join("|").toStdString();
    const PhaseDiagramPtr diagram = document->phaseDiagrams().front();
    ASSERT_TRUE(diagram->liquidIsopleth());
    EXPECT_TRUE(diagram->liquidIsopleth()->graphCurve());

    // The diagram keeps its own copy of the fluid, nested lists included.
    fluid.setValue("alpha", 0.9);
    fluid.dictionaryValue("inclusion").setValue("name", "changed");
    EXPECT_EQ(diagram->thermoModel().doubleValue("alpha"), 0.5);
    EXPECT_EQ(diagram->thermoModel().dictionaryValue("inclusion").stringValue("name"), "FI-1");

    // An isochore of an inclusion homogenising to liquid inside the liquid branch.
    const auto& points = diagram->liquidIsopleth()->points();
    const double Th = points[points.size() / 3]->T();
    IsochorPtr onePhase;
    alerts.clear();
    const isochor_result code =
        document->calculateIsochor(diagram, Dictionary{{"name", "FI-7"}}, Th, kToLiquid, &onePhase, 0);
    ASSERT_EQ(code, isochor_result::both_made) << alerts.messages().join("|").toStdString();
    ASSERT_TRUE(onePhase);
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_EQ(onePhase->name(), QString("AB test : FI-7"));
    EXPECT_EQ(document->plotView()->selectedObject(), onePhase->graphCurve().get());

    // The trapping pressure at an aqueous homogenisation temperature is the isochore's pressure there.
    const double Taq = onePhase->points().front()->T() + 30;
    const double onIsochore = onePhase->getPressure(Taq, nullptr);
    ASSERT_GT(onIsochore, 0);
    const double trapping = onePhase->calculateTrappingPressure(Taq + 273.15);
    EXPECT_NEAR(trapping, onIsochore, 0.01 * onIsochore);
    const TrappingLinePtr line = document->addTrappingLineTo(onePhase, Taq);
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->Ptrap(), trapping, 0.01 * trapping);
    document->setTemporaryAqueousHomogLine(Taq, trapping);
    const QString png = QDir(QCoreApplication::applicationDirPath()).filePath("phase_diagram_real_engine.png");
    EXPECT_TRUE(drawn(*document).save(png));
    document->updateChangeCount(Document::ChangeCleared);
}

// ---- The window ----

TEST_F(PhaseDiagDocument, WindowWithEnvelopeIsochoreTrappingAndAqueousLinesRendersToPng)
{
    CPhaseDiagDocument* document = documentWithEverything();
    CPlotView* view = document->plotView();
    const IsochorPtr onePhase = document->phaseDiagrams().front()->monophasicIsochors().front();
    onePhase->graphCurve()->setColor(Color::fromRgb(0, 0.5, 0));
    document->setTemporaryAqueousHomogLine(230, 400);
    view->setSelectedObject(onePhase->graphCurve().get());
    view->hilite(onePhase->graphCurve().get());
    const QImage image = drawn(*document, QSize(720, 540));
    const QString png = QDir(QCoreApplication::applicationDirPath()).filePath("phase_diagram_window.png");
    ASSERT_TRUE(image.save(png));
    int magenta = 0, green = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            magenta += c.red() > c.green() + 60 && c.blue() > c.green() + 60;  // blended with the background
            green += c.red() < 60 && c.green() > 100 && c.green() < 160 && c.blue() < 60;
            blue += c.red() < 60 && c.green() < 60 && c.blue() > 200;
        }
    EXPECT_GT(magenta, 30) << "the aqueous line";
    EXPECT_GT(green, 50) << "the isochore, recoloured with its sister";
    EXPECT_GT(blue, 5) << "the critical point";
    document->updateChangeCount(Document::ChangeCleared);
}

}  // namespace
