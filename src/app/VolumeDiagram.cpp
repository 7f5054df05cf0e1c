#include "app/VolumeDiagram.h"

#include "app/InclusionRecord.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CPlotView.h"

#include <algorithm>

namespace quorvel {

namespace {
constexpr float kMargin = 10;       // around the points, in °C and in %
constexpr float kLowestStartT = -10;
constexpr float kMaxFraction = 100; // a bubble fills at most the whole inclusion
constexpr int kTicks = 10;
constexpr int kTemperatureDigits = 1, kVolumeDigits = 0;
constexpr float kCurveSize = 2;
constexpr MarkerCode kVolumeMarker = MarkerCode::Circle;

void setAxes(CPlotView& view)
{
    view.setLabels(QStringLiteral("T (\u00b0C)"), QStringLiteral("Fv (%)"));
    view.setTicksNumber(kTicks, kTicks);
    view.setTicksDigits(kTemperatureDigits, kVolumeDigits);
}
}  // namespace

void VolumeDiagram::prepare(CPlotView& view)
{
    view.setDefaultXYRange(kDefaultMinT, kDefaultMaxT, kDefaultMinF, kDefaultMaxF);
    setAxes(view);
}

void makeVolumeDiagram(CPlotView& view, const Array& volumes)
{
    view.purge();
    auto curve = std::make_shared<CGraphPointCurve>();
    float minT = 100000, maxT = -100000, minF = 100000, maxF = -100000;
    for (const Value& element : volumes) {
        const Dictionary point = element.toDictionary();
        const float t = point.floatValue(volumekey::Tvol), f = point.floatValue(volumekey::Fvol);
        curve->addPoint(t, f);
        minT = std::min(minT, t);
        maxT = std::max(maxT, t);
        minF = std::min(minF, f);
        maxF = std::max(maxF, f);
    }
    curve->setSize(kCurveSize);
    curve->setColor(Color::fromRgb(0.8, 0, 0));
    curve->setSelector(kVolumeMarker);
    curve->setJoinPoints(true);
    view.addGraphObject(curve);

    if (volumes.isEmpty()) {  // nothing to fit: the ranges of an empty diagram
        view.setXYRange(VolumeDiagram::kDefaultMinT, VolumeDiagram::kDefaultMaxT, VolumeDiagram::kDefaultMinF,
                        VolumeDiagram::kDefaultMaxF);
    } else {
        // The temperature axis starts at -10 °C, or 10 below a colder reading; the volume
        // axis keeps its margins within 0 .. 100 but always holds every point.
        const float lowF = std::min(minF, std::max(0.f, minF - kMargin));
        const float highF = std::max(maxF, std::min(kMaxFraction, maxF + kMargin));
        view.setXYRange(std::min(kLowestStartT, minT - kMargin), maxT + kMargin, lowF, highF);
    }
    setAxes(view);
}

}  // namespace quorvel
