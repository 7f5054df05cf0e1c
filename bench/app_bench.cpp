// Benchmarks of the application's documents: opening a phase-diagram file of 20
// diagrams with their isochores and drawing it, and repainting its window as it resizes.
#include "app/CPhaseDiagDocument.h"
#include "app/CPhaseDiagWindow.h"
#include "app/CPhaseDiagView.h"
#include "calc/CPhaseDiagram.h"

#include "BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace phase_diagram_bench {

using namespace quorvel;
using quorvel::bench::ensureApplication;

constexpr int kDiagrams = 20;
constexpr int kBranchPoints = 150;
constexpr int kIsochoresPerDiagram = 4;
constexpr int kTwoPhasePoints = 40;
constexpr int kOnePhasePoints = 30;

// One half of an envelope loop: bubble (upper) or dew (lower) branch meeting at the top.
IsoplethPtr branch(Homogenisation homog, double shift)
{
    const bool bubble = homog == Homogenisation::toLiquid;
    auto isopleth = std::make_shared<CIsopleth>();
    isopleth->setHomog(homog);
    for (int i = 0; i < kBranchPoints; ++i) {
        const double angle = std::numbers::pi * i / (kBranchPoints - 1);
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT(shift + 120 - 110 * std::cos(angle));
        point->setP((bubble ? 180 : 60) * std::sin(angle) + (bubble ? 20 : 5));
        isopleth->points().push_back(point);
    }
    return isopleth;
}

IsochorPtr isochorePart(const PhaseDiagramPtr& diagram, double Th, double Ph, bool biphasic)
{
    auto part = std::make_shared<CIsochor>();
    part->setTh(Th);
    part->setPh(Ph);
    part->setIsBiphasic(biphasic);
    part->setName(QStringLiteral("%1 : Th = %2").arg(diagram->name()).arg(Th));
    part->setPhaseDiagram(diagram);
    const int count = biphasic ? kTwoPhasePoints : kOnePhasePoints;
    for (int i = 0; i < count; ++i) {
        auto point = biphasic ? std::make_shared<CBiphasicIsochorPoint>() : std::make_shared<CIsochorPoint>();
        point->setT(biphasic ? Th - 2.0 * i : Th + 5.0 * i);
        point->setP(biphasic ? Ph - 1.5 * i : Ph + 12.0 * i);
        part->points().push_back(point);
    }
    return part;
}

PhaseDiagramPtr diagram(int index)
{
    auto made = std::make_shared<CPhaseDiagram>();
    made->setName(QStringLiteral("Fluid %1").arg(index));
    made->setThermoModel(Dictionary{{"name", made->name()}, {"fluidType", 1}, {"alpha", 0.5}, {"beta", 0.2}});
    made->setLiquidIsopleth(branch(Homogenisation::toLiquid, 4.0 * index));
    made->setVapourIsopleth(branch(Homogenisation::toVapour, 4.0 * index));
    for (int k = 0; k < kIsochoresPerDiagram; ++k) {
        const double Th = 40 + 4.0 * index + 30 * k;
        IsochorPtr twoPhase = isochorePart(made, Th, 100 + 10 * k, true);
        IsochorPtr onePhase = isochorePart(made, Th, 100 + 10 * k, false);
        twoPhase->setSister(onePhase);
        onePhase->setSister(twoPhase);
        made->biphasicIsochors().push_back(twoPhase);
        made->monophasicIsochors().push_back(onePhase);
    }
    auto line = std::make_shared<CTrappingLine>();
    line->attachToIsochor(made->monophasicIsochors().front(), 60 + 4.0 * index);
    return made;
}

// The file of 20 diagrams, written once.
const QString& ptdFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath("twenty.ptd");
        CPhaseDiagDocument document;
        for (int i = 0; i < kDiagrams; ++i)
            document.phaseDiagrams().push_back(diagram(i));
        QString error;
        if (!document.writeToFile(file, &error))
            qFatal("%s", qPrintable(error));
        return file;
    }();
    return path;
}

// An opened document with its window made (which draws the diagrams into the view).
std::unique_ptr<CPhaseDiagDocument> openedDocument()
{
    auto document = std::make_unique<CPhaseDiagDocument>();
    QString error;
    if (!document->readFromFile(ptdFile(), &error))
        qFatal("%s", qPrintable(error));
    document->makeWindowControllers();
    document->windowControllers().front()->window();
    return document;
}

void paint(CPlotView& view, QImage& image)
{
    QPainter painter(&image);
    view.drawView(painter);
}

void BM_OpenPtdOf20DiagramsAndDraw(benchmark::State& state)
{
    ensureApplication();
    ptdFile();
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const std::unique_ptr<CPhaseDiagDocument> document = openedDocument();
        CPlotView* view = document->plotView();
        view->resize(image.size());
        paint(*view, image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_OpenPtdOf20DiagramsAndDraw)->Unit(benchmark::kMillisecond);

// One paint of the plot at a size that changes every time, as during a window resize.
void BM_PaintPtdOf20DiagramsWhileResizing(benchmark::State& state)
{
    ensureApplication();
    const std::unique_ptr<CPhaseDiagDocument> document = openedDocument();
    CPlotView* view = document->plotView();
    QImage image(1000, 800, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        view->resize(700 + step % 300, 500 + step % 300);
        ++step;
        paint(*view, image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["objects"] = double(view->graphObjects().size());
}
BENCHMARK(BM_PaintPtdOf20DiagramsWhileResizing)->Unit(benchmark::kMillisecond);

}  // namespace phase_diagram_bench
