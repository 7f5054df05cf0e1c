#include "IsoCurveGenerator.h"

#include "thermo/AlphaBetaModel.h"

#include <algorithm>
#include <cmath>

namespace quorvel::iso_curves {

namespace {

constexpr double kPercent = 100;
// The model's distribution degenerates at alpha 1: lines stop just below it.
constexpr double kHighestAlpha = 0.999;
constexpr int kBisections = 60;
constexpr int kBetaStepCount = 100;
constexpr double kBetaStep = 0.01;
// A search result counts when the property it gives is this close to the target.
constexpr double kAPITolerance = 0.01;
constexpr double kGORRelativeTolerance = 1e-4;

// The plot of the lines (unit square) and the labels' size in it: a label's text in the
// plot's legend font is about this wide per character and this high, in data units of a
// plot window of the usual size.
constexpr double kLabelCharacterWidth = 0.014;
constexpr double kLabelPadding = 0.01;
constexpr double kLabelHeight = 0.04;
constexpr double kPlotMargin = 0.01;

std::vector<double> ladder(double first, double last, double step)
{
    std::vector<double> values;
    for (int i = 0; first + i * step <= last + 1e-9; ++i)
        values.push_back(first + i * step);
    return values;
}

// Root of an increasing or decreasing function on [low, high] by bisection; none when
// the ends do not bracket one.
template <class Function>
std::optional<double> bisect(Function f, double low, double high)
{
    double fLow = f(low);
    const double fHigh = f(high);
    if (!std::isfinite(fLow) || !std::isfinite(fHigh) || (fLow > 0) == (fHigh > 0))
        return std::nullopt;
    for (int i = 0; i < kBisections; ++i) {
        const double middle = 0.5 * (low + high);
        const double fMiddle = f(middle);
        if ((fMiddle > 0) == (fLow > 0)) {
            low = middle;
            fLow = fMiddle;
        } else {
            high = middle;
        }
    }
    return 0.5 * (low + high);
}

double percentOf(CAlphaBetaModelInterface& model, double alpha, double beta, int first, int last)
{
    model.calculateComposition(alpha, beta, 0, 0, 0);
    double sum = 0;
    for (int i = first; i <= last; ++i)
        sum += model.getMoleFraction(i);
    return sum * kPercent;
}

using Content = double (*)(CAlphaBetaModelInterface&, double, double);

// At each beta the alpha of the content; where the line leaves the model's range of
// alpha, its last point is where it meets the limit.
IsoLine compositionLine(CAlphaBetaModelInterface& model, double value, Content content)
{
    IsoLine line{value, {}, {}};
    std::optional<double> lastBeta;
    for (const double beta : betaSteps()) {
        const auto alpha = bisect([&](double a) { return content(model, a, beta) - value; }, 0, kHighestAlpha);
        if (alpha) {
            line.points.emplace_back(QPointF(*alpha, beta));
            lastBeta = beta;
            continue;
        }
        if (lastBeta) {
            const auto end = bisect([&](double b) { return content(model, kHighestAlpha, b) - value; }, *lastBeta,
                                    beta);
            if (end)
                line.points.emplace_back(QPointF(kHighestAlpha, *end));
            break;
        }
    }
    return line;
}

using Property = std::optional<double> (*)(CAlphaBetaModelInterface&, double, double);
using Search = char (CAlphaBetaModelInterface::*)(double, double*, double);

// Whether alpha really gives the target: the searches accept their last secant step.
bool reaches(CAlphaBetaModelInterface& model, Property property, double alpha, double beta, double target,
             double tolerance)
{
    const std::optional<double> reached = property(model, alpha, beta);
    return alpha > 0 && alpha < 1 && reached && std::fabs(*reached - target) <= tolerance;
}

}  // namespace

std::vector<double> c7plusValues() { return ladder(10, 90, 10); }
std::vector<double> methaneValues() { return ladder(10, 90, 10); }
std::vector<double> apiValues() { return ladder(20, 60, 5); }
std::vector<double> gorValues() { return {50, 100, 200, 500, 1000, 2000, 5000}; }

std::vector<double> betaSteps()
{
    std::vector<double> steps;
    for (int i = 0; i < kBetaStepCount; ++i)
        steps.push_back(i * kBetaStep);
    return steps;
}

double c7plusPercent(CAlphaBetaModelInterface& model, double alpha, double beta)
{
    return percentOf(model, alpha, beta, kC7, kCn2);
}

double methanePercent(CAlphaBetaModelInterface& model, double alpha, double beta)
{
    return percentOf(model, alpha, beta, kC1, kC1);
}

namespace {

std::optional<double> stockTankProperty(CAlphaBetaModelInterface& model, double alpha, double beta, bool api)
{
    model.calculateComposition(alpha, beta, 0, 0, 0);
    model.calculateGOR();
    const double value = api ? model.engine()->apiGravities()[0] : model.engine()->gasOilRatios()[0];
    if (model.engine()->failureCode() != equilibrium_failure::none || !std::isfinite(value) || value == 0)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> stockTankAPI(CAlphaBetaModelInterface& model, double alpha, double beta)
{
    return stockTankProperty(model, alpha, beta, true);
}

std::optional<double> stockTankGOR(CAlphaBetaModelInterface& model, double alpha, double beta)
{
    return stockTankProperty(model, alpha, beta, false);
}

IsoLine c7plusLine(CAlphaBetaModelInterface& model, double value)
{
    return compositionLine(model, value, c7plusPercent);
}

IsoLine methaneLine(CAlphaBetaModelInterface& model, double value)
{
    return compositionLine(model, value, methanePercent);
}

IsoLine apiLine(CAlphaBetaModelInterface& model, double value)
{
    IsoLine line{value, {}, {}};
    double alpha = 0;
    bool started = false;
    for (const double beta : betaSteps()) {
        double found = alpha;
        const AlphaSearch code = started ? model.nextAlphaBetaAPI(value, &found, beta)
                                  : model.firstAlphaBetaAPI(value, &found, beta);
        if (code == AlphaSearch::found && reaches(model, stockTankAPI, found, beta, value, kAPITolerance)) {
            line.points.emplace_back(QPointF(found, beta));
            alpha = found;
            started = true;
        } else if (!line.points.empty() && line.points.back()) {
            line.points.emplace_back(std::nullopt);
        }
    }
    while (!line.points.empty() && !line.points.back())
        line.points.pop_back();
    return line;
}

IsoLine gorLine(CAlphaBetaModelInterface& model, double value)
{
    IsoLine line{value, {}, {}};
    double alpha = 0;
    for (const double beta : betaSteps()) {
        double found = alpha;
        const AlphaSearch code = line.points.empty() ? model.firstAlphaBetaGOR(value, &found, beta)
                                              : model.nextAlphaBetaGOR(value, &found, beta);
        if (code != AlphaSearch::found ||
            !reaches(model, stockTankGOR, found, beta, value, kGORRelativeTolerance * value)) {
            if (line.points.empty())
                continue;  // not started yet
            break;
        }
        line.points.emplace_back(QPointF(found, beta));
        alpha = found;
    }
    return line;
}

// ---- Labels ----

LabelBox labelBox(const QString& text, QPointF centre)
{
    return {centre, QPointF(0.5 * (kLabelCharacterWidth * text.size() + kLabelPadding), 0.5 * kLabelHeight)};
}

namespace {

bool overlap(const LabelBox& a, const LabelBox& b)
{
    return std::fabs(a.centre.x() - b.centre.x()) < a.halfSize.x() + b.halfSize.x() &&
           std::fabs(a.centre.y() - b.centre.y()) < a.halfSize.y() + b.halfSize.y();
}

bool insidePlot(const LabelBox& box)
{
    return box.centre.x() - box.halfSize.x() >= kPlotMargin && box.centre.x() + box.halfSize.x() <= 1 - kPlotMargin &&
           box.centre.y() - box.halfSize.y() >= kPlotMargin && box.centre.y() + box.halfSize.y() <= 1 - kPlotMargin;
}

// The line's points from its middle outwards: labels sit away from the ends first.
std::vector<QPointF> candidatePositions(const IsoLine& line)
{
    std::vector<QPointF> points;
    for (const LinePoint& point : line.points)
        if (point)
            points.push_back(*point);
    std::vector<QPointF> ordered;
    const int middle = static_cast<int>(points.size()) / 2;
    for (int offset = 0; offset <= middle + 1; ++offset) {
        for (const int i : {middle + offset, middle - offset - 1})
            if (i >= 0 && i < static_cast<int>(points.size()))
                ordered.push_back(points[i]);
    }
    return ordered;
}

}  // namespace

void placeLabels(std::vector<IsoFamily*> families, std::vector<LabelBox> placed)
{
    for (IsoFamily* family : families)
        for (IsoLine& line : family->lines) {
            const std::vector<QPointF> candidates = candidatePositions(line);
            if (candidates.empty())
                continue;
            line.label = candidates.front();  // where no free place exists
            const QString text = labelText(*family, line.value);
            for (const QPointF& candidate : candidates) {
                const LabelBox box = labelBox(text, candidate);
                if (!insidePlot(box) ||
                    std::any_of(placed.begin(), placed.end(), [&](const LabelBox& other) { return overlap(box, other); }))
                    continue;
                line.label = candidate;
                break;
            }
            placed.push_back(labelBox(text, line.label));
        }
}

// ---- Files ----

QString lineFileName(const IsoFamily& family, double value) { return QString::asprintf(family.curveFormat, value); }

QString labelText(const IsoFamily& family, double value) { return QString::asprintf(family.labelFormat, value); }

QByteArray indexFileText(const IsoFamily& family)
{
    QByteArray text;
    for (const IsoLine& line : family.lines)
        if (!line.points.empty())
            text += QString::asprintf("%g %.4f %.4f\n", line.value, line.label.x(), line.label.y()).toLatin1();
    return text;
}

QByteArray lineFileText(const IsoLine& line)
{
    QByteArray text;
    for (const LinePoint& point : line.points)
        text += point ? QString::asprintf("%.6f %.6f\n", point->x(), point->y()).toLatin1() : QByteArray("-1\n");
    return text;
}

}  // namespace quorvel::iso_curves
