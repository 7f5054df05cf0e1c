// Benchmarks of the plot toolkit. Each group keeps its helpers in its own namespace.
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include "BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>

namespace plot_view_bench {

using namespace quorvel;
using quorvel::bench::ensureApplication;

// A view of 800 x 600 holding `curves` curves of `points` points each, all in the legend.
std::unique_ptr<CPlotView> makeView(int curves, int points)
{
    auto view = std::make_unique<CPlotView>(QRect(0, 0, 800, 600));
    view->setLabels(QStringLiteral("T (\u00B0C)"), QStringLiteral("P (bar)"));
    view->setDefaultXYRange(0, 1000, -1.5f, 1.5f);
    view->setTicksNumber(11, 7);
    view->setDrawGrid(true);
    for (int c = 0; c < curves; ++c) {
        auto curve = std::make_shared<CGraphCurve>();
        curve->setName(QStringLiteral("Curve %1").arg(c));
        curve->setColor(Color::fromRgb(c / 10.0, 0.3, 1.0 - c / 10.0));
        for (int i = 0; i < points; ++i) {
            const float x = 1000.0f * static_cast<float>(i) / static_cast<float>(points - 1);
            curve->addPoint(x, std::sin(0.01f * x + 0.3f * static_cast<float>(c)), false);
        }
        view->addGraphObject(curve);
        view->includesIntoLegend(curve);
    }
    view->setLegendPosition(700, -1.4f);
    return view;
}

void BM_PaintTenCurvesOf10000Points(benchmark::State& state)
{
    ensureApplication();
    const std::unique_ptr<CPlotView> view = makeView(10, 10000);
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view->drawView(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 10 * 10000);
}
BENCHMARK(BM_PaintTenCurvesOf10000Points)->Unit(benchmark::kMillisecond);

} // namespace plot_view_bench

namespace plot_interaction_bench {

using namespace quorvel;

// The hit test of a press in empty plot area: every point of every curve is tested.
void BM_PressMissesTenCurvesOf10000Points(benchmark::State& state)
{
    quorvel::bench::ensureApplication();
    const std::unique_ptr<CPlotView> view = plot_view_bench::makeView(10, 10000);
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    view->drawView(painter); // margins and coefficients of a drawn view
    painter.end();
    const QPointF emptyPlace(view->getXValue(500), view->getYValue(1.45f));
    for (auto _ : state)
        benchmark::DoNotOptimize(view->testClickedGraphObject(emptyPlace));
    state.SetItemsProcessed(state.iterations() * 10 * 10000);
}
BENCHMARK(BM_PressMissesTenCurvesOf10000Points)->Unit(benchmark::kMicrosecond);

} // namespace plot_interaction_bench
