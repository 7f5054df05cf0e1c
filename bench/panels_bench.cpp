// Benchmarks of the inspector panels: the phase-diagram panel's refresh of each page on a
// document of 20 diagrams with 10 isochores each (it runs on every notification), an
// envelope and an isochore requested from the panel on the engine, and one alpha-beta curve
// through the calculation panel's loop with its longest single turn (how long Stop may wait).
#include "app/CAlphaBetaPlotDocument.h"
#include "app/CCQuorvelDocumentController.h"
#include "app/CPhaseDiagDocument.h"
#include "app/DocumentTypes.h"
#include "calc/CPhaseDiagram.h"
#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CPhaseDiagPanel.h"
#include "panels/PhaseDiagIsochorsPage.h"
#include "panels/PhaseDiagIsoplethsPage.h"
#include "platform/AlertService.h"
#include "platform/NotificationCenter.h"
#include "plot/CPlotView.h"

#include "BenchApplication.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace phase_diag_panel_bench {

using namespace quorvel;
using quorvel::bench::ensureApplication;

constexpr int kDiagrams = 20;
constexpr int kIsochoresPerDiagram = 10;
constexpr int kBranchPoints = 150;
constexpr int kIsochorePoints = 30;

IsoplethPtr branch(const PhaseDiagramPtr& diagram, Homogenisation homog)
{
    auto isopleth = std::make_shared<CIsopleth>();
    isopleth->setHomog(homog);
    isopleth->setPhaseDiagram(diagram);
    for (int i = 0; i < kBranchPoints; ++i) {
        const double angle = std::numbers::pi * i / (kBranchPoints - 1);
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT(120 - 110 * std::cos(angle));
        point->setP((homog == Homogenisation::toLiquid ? 180 : 60) * std::sin(angle) + 10);
        isopleth->points().push_back(point);
    }
    return isopleth;
}

void addIsochore(const PhaseDiagramPtr& diagram, double Th)
{
    auto twoPhase = std::make_shared<CIsochor>();
    auto onePhase = std::make_shared<CIsochor>();
    for (const IsochorPtr& part : {twoPhase, onePhase}) {
        part->setTh(Th);
        part->setPh(150);
        part->setHomog(Homogenisation::toLiquid);
        part->setName(QStringLiteral("%1 : Th = %2").arg(diagram->name()).arg(Th));
        part->setPhaseDiagram(diagram);
        for (int i = 0; i < kIsochorePoints; ++i) {
            auto point = std::make_shared<CBiphasicIsochorPoint>();
            point->setT(part == twoPhase ? Th - 2.0 * i : Th + 5.0 * i);
            point->setP(part == twoPhase ? 150 - 1.5 * i : 150 + 12.0 * i);
            part->points().push_back(point);
        }
    }
    twoPhase->setIsBiphasic(true);
    twoPhase->setSister(onePhase);
    onePhase->setSister(twoPhase);
    diagram->biphasicIsochors().push_back(twoPhase);
    diagram->monophasicIsochors().push_back(onePhase);
}

// A listed phase-diagram document with its window, attached to a panel.
struct AttachedPanel
{
    RecordingAlertService alerts;
    CCQuorvelDocumentController controller;
    CPhaseDiagPanel panel;
    CPhaseDiagDocument* document = nullptr;

    AttachedPanel()
    {
        std::unique_ptr<Document> made = controller.makeUntitledDocumentOfType(DocumentTypes::PhaseDiagram);
        document = static_cast<CPhaseDiagDocument*>(made.get());
        controller.addDocument(std::move(made));
        document->makeWindowControllers();
        document->showWindows();
        panel.showWindow();
        NotificationCenter::defaultCenter().postNotification(WindowDidBecomeMainNotification,
                                                             document->windowControllers().front()->window());
    }
    ~AttachedPanel() { document->updateChangeCount(Document::ChangeCleared); }
};

void BM_PanelRefreshOfEachPage(benchmark::State& state)
{
    ensureApplication();
    AttachedPanel attached;
    for (int d = 0; d < kDiagrams; ++d) {
        auto diagram = std::make_shared<CPhaseDiagram>();
        diagram->setName(QStringLiteral("Fluid %1").arg(d));
        diagram->setLiquidIsopleth(branch(diagram, Homogenisation::toLiquid));
        diagram->setVapourIsopleth(branch(diagram, Homogenisation::toVapour));
        for (int i = 0; i < kIsochoresPerDiagram; ++i)
            addIsochore(diagram, 40 + 10 * i);
        attached.document->phaseDiagrams().push_back(diagram);
    }
    attached.document->plotData();
    const QString pages[] = {CPhaseDiagPanel::kIsoplethsPage, CPhaseDiagPanel::kIsochorsPage,
                             CPhaseDiagPanel::kVolumesPage,   CPhaseDiagPanel::kTrappingPage,
                             CPhaseDiagPanel::kSummaryPage};
    for (auto _ : state)
        for (const QString& page : pages)
            attached.panel.updatePanel(page);
    state.SetItemsProcessed(state.iterations() * std::size(pages));
}
BENCHMARK(BM_PanelRefreshOfEachPage)->Unit(benchmark::kMillisecond);

void BM_EnvelopeRequestedFromThePanel(benchmark::State& state)
{
    ensureApplication();
    AttachedPanel attached;
    CPhaseDiagPanel& panel = attached.panel;
    PhaseDiagIsoplethsPage& isopleths = panel.isoplethsPage();
    const PhaseDiagIsoplethsPage::Controls& ui = isopleths.controls();
    panel.selectTabViewIndex(PhaseDiagPanelPage::Isopleths);
    for (auto _ : state) {
        ui.mAlphaBetaModelsView->clearSelection();
        ui.mAlphaBetaModelsView->selectRowAndScroll(0);
        ui.mAlphaEdit->setText(QStringLiteral("0.5"));
        ui.mBetaEdit->setText(QStringLiteral("0.2"));
        isopleths.onCalculateIsopleth();
        state.PauseTiming();
        const auto diagrams = attached.document->phaseDiagrams();
        for (const PhaseDiagramPtr& diagram : diagrams)
            attached.document->removeFluidPhaseDiagram(diagram);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EnvelopeRequestedFromThePanel)->Unit(benchmark::kMillisecond);

void BM_IsochoreRequestedFromThePanel(benchmark::State& state)
{
    ensureApplication();
    AttachedPanel attached;
    CPhaseDiagPanel& panel = attached.panel;
    PhaseDiagIsoplethsPage& isopleths = panel.isoplethsPage();
    PhaseDiagIsochorsPage& isochors = panel.isochorsPage();
    panel.selectTabViewIndex(PhaseDiagPanelPage::Isopleths);
    isopleths.controls().mAlphaBetaModelsView->selectRowAndScroll(0);
    isopleths.controls().mAlphaEdit->setText(QStringLiteral("0.5"));
    isopleths.controls().mBetaEdit->setText(QStringLiteral("0.2"));
    isopleths.onCalculateIsopleth();
    if (attached.document->phaseDiagrams().empty()) {
        state.SkipWithError("no envelope");
        return;
    }
    const PhaseDiagramPtr diagram = attached.document->phaseDiagrams().front();
    const auto& points = diagram->liquidIsopleth()->points();
    const double Th = std::round(points[points.size() / 3]->T());
    panel.selectTabViewIndex(PhaseDiagPanelPage::Isochors);
    const PhaseDiagIsochorsPage::Controls& ui = isochors.controls();
    ui.mIsoplethsView1->selectRowAndScroll(0);
    for (auto _ : state) {
        ui.mInclusionsView->clearSelection();
        ui.mInclusionsView->selectRowAndScroll(0);
        ui.mThEdit->setText(QString::number(Th));
        isochors.onThChanged();
        isochors.onCalculateIsochor();
        state.PauseTiming();
        const auto made = diagram->monophasicIsochors();
        for (const IsochorPtr& isochor : made)
            attached.document->deleteIsochor(isochor);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_IsochoreRequestedFromThePanel)->Unit(benchmark::kMillisecond);

// The document's calculation, timing each turn the panel asks for.
class TimedCalculation : public AlphaBetaCalculation
{
public:
    explicit TimedCalculation(std::shared_ptr<AlphaBetaCalculation> calculation)
        : mCalculation(std::move(calculation))
    {
    }
    AlphaBetaTurn calculateAlphaBetaPoint(double* alpha, double* beta) override
    {
        const auto start = std::chrono::steady_clock::now();
        const AlphaBetaTurn code = mCalculation->calculateAlphaBetaPoint(alpha, beta);
        const std::chrono::duration<double, std::milli> turn = std::chrono::steady_clock::now() - start;
        longestTurnMs = std::max(longestTurnMs, turn.count());
        ++turns;
        return code;
    }
    AlphaBetaTurn calculateAlphaBetaPoint1(double* alpha, double* beta) override
    {
        return mCalculation->calculateAlphaBetaPoint1(alpha, beta);
    }
    QString getCurveName() const override { return mCalculation->getCurveName(); }

    double longestTurnMs = 0;
    int turns = 0;

private:
    std::shared_ptr<AlphaBetaCalculation> mCalculation;
};

// One curve of a liquid-homogenising inclusion (Th 100 °C, Fv 10 % at 20 °C) on the engine.
void BM_AlphaBetaCurveThroughTheCalculationPanel(benchmark::State& state)
{
    ensureApplication();
    RecordingAlertService alerts;
    CCQuorvelDocumentController controller;
    std::unique_ptr<Document> made = controller.makeUntitledDocumentOfType(DocumentTypes::AlphaBetaPlot);
    auto* document = static_cast<CAlphaBetaPlotDocument*>(made.get());
    controller.addDocument(std::move(made));
    CAlphaBetaCalcPanel panel;
    constexpr double kKelvin = 273.15;
    double longestTurnMs = 0;
    int turns = 0;
    for (auto _ : state) {
        document->prepareCalculation(100 + kKelvin, 20 + kKelvin, 0.10, 0, 0, 0, Homogenisation::toLiquid,
                                     QStringLiteral("bench"), std::nullopt);
        auto timed = std::make_shared<TimedCalculation>(calculationOfDocument(document));
        panel.setCalculation(timed);
        panel.doModal();
        state.PauseTiming();
        longestTurnMs = std::max(longestTurnMs, timed->longestTurnMs);
        turns = timed->turns;
        const Array curves = document->alphaBetaCurves();
        for (const Value& curve : curves)
            document->removeAlphaBetaCurve(curve.toDictionary());
        state.ResumeTiming();
    }
    state.counters["turns"] = turns;
    state.counters["longestTurnMs"] = longestTurnMs;
    document->updateChangeCount(Document::ChangeCleared);
}
BENCHMARK(BM_AlphaBetaCurveThroughTheCalculationPanel)->Unit(benchmark::kMillisecond);

}  // namespace phase_diag_panel_bench
