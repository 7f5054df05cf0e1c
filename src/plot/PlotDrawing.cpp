#include "plot/PlotDrawing.h"

#include "plot/PlotAxis.h"
#include "plot/PlotState.h"

#include "platform/UserDefaults.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

const Color kGridColor = Color::lightGray();
const Color kFrameColor = Color::gray();
const Color kKnobColor = Color::fromWhite(0.4); // the zoom rectangle

constexpr double kMarginRoom = 25.0;   // added to the label sizes for the left and bottom margins
constexpr double kTextInset = 5.0;     // from the view's edge to the axis titles
constexpr double kTitleGap = 8.0;      // between the y title and the widest y tick label
constexpr double kTickLabelGap = 10.0; // between the y tick labels and the plot area

struct PlotEdges {
    double left, right, bottom, top; // view coordinates, y up
    explicit PlotEdges(const QRectF& r) : left(r.x()), right(r.x() + r.width()), bottom(r.y()), top(r.y() + r.height()) { }
};

} // namespace

PlotDrawing::PlotDrawing(const QWidget& view, const PlotState& state)
    : mView(view)
    , mState(state)
    , mBackColor(UserDefaults::backColorMarginArea().value_or(Color::fromRgb(1.0, 1.0, 0.7)))
    , mForeColor(UserDefaults::backColorPlotArea().value_or(Color::fromRgb(0.6, 1.0, 1.0)))
{
}

QRectF PlotDrawing::viewBounds() const
{
    return QRectF(0.0, 0.0, mView.width(), mView.height());
}

// --- Coordinates

QRectF PlotDrawing::getPlotRect() const
{
    const QRectF bounds = viewBounds();
    const PlotGeometry& g = mGeometry;
    return QRectF(bounds.x() + g.marginLeft, bounds.y() + g.marginBottom,
                  bounds.width() - (g.marginLeft + g.marginRight), bounds.height() - (g.marginTop + g.marginBottom));
}

void PlotDrawing::calculateCoefficients()
{
    const QRectF plot = getPlotRect();
    const float px = static_cast<float>(plot.x());
    const float py = static_cast<float>(plot.y());
    const float pw = static_cast<float>(plot.width());
    const float ph = static_cast<float>(plot.height());
    const AxisSettings& axes = mState.axes();
    const XYRange& current = mState.ranges().current;
    const AxisCoefficients x = axes.showLogX ? axisCoefficients(mGeometry.logXmin, mGeometry.logXmax, px, pw)
                                             : axisCoefficients(current.minX, current.maxX, px, pw);
    const AxisCoefficients y = axes.showLogY ? axisCoefficients(mGeometry.logYmin, mGeometry.logYmax, py, ph)
                                             : axisCoefficients(current.minY, current.maxY, py, ph);
    mGeometry.ax = x.a;
    mGeometry.bx = x.b;
    mGeometry.ay = y.a;
    mGeometry.by = y.b;
}

namespace {
float valueOfCoordinate(float u, bool logarithmic)
{
    return logarithmic ? static_cast<float>(std::pow(10.0, static_cast<double>(u))) : u;
}
} // namespace

AxisTransform PlotDrawing::xTransform() const
{
    return AxisTransform{mGeometry.ax, mGeometry.bx, mState.axes().showLogX, mGeometry.logXmin};
}

AxisTransform PlotDrawing::yTransform() const
{
    return AxisTransform{mGeometry.ay, mGeometry.by, mState.axes().showLogY, mGeometry.logYmin};
}

float PlotDrawing::getXValue(float value) const
{
    return xTransform().toView(value);
}

float PlotDrawing::getYValue(float value) const
{
    return yTransform().toView(value);
}

PlotFrame PlotDrawing::plotFrame() const
{
    return PlotFrame{xTransform(), yTransform(), getPlotRect(), mState.fonts().legends};
}

float PlotDrawing::getXFromPixelValue(float pixel) const
{
    const bool logarithmic = mState.axes().showLogX;
    const float lo = logarithmic ? mGeometry.logXmin : mState.ranges().current.minX;
    return valueOfCoordinate(valueFromView(pixel, {mGeometry.ax, mGeometry.bx}, lo), logarithmic);
}

float PlotDrawing::getYFromPixelValue(float pixel) const
{
    const bool logarithmic = mState.axes().showLogY;
    const float lo = logarithmic ? mGeometry.logYmin : mState.ranges().current.minY;
    return valueOfCoordinate(valueFromView(pixel, {mGeometry.ay, mGeometry.by}, lo), logarithmic);
}

// --- Drawing

void PlotDrawing::updateDecades()
{
    const AxisSettings& axes = mState.axes();
    const XYRange& current = mState.ranges().current;
    if (axes.showLogX) {
        const DecadeRange d = decadesEnclosing(current.minX, current.maxX);
        mGeometry.logXmin = d.lo;
        mGeometry.logXmax = d.hi;
    }
    if (axes.showLogY) {
        const DecadeRange d = decadesEnclosing(current.minY, current.maxY);
        mGeometry.logYmin = d.lo;
        mGeometry.logYmax = d.hi;
    }
}

PlotDrawing::AxisTicks PlotDrawing::axisTicks(bool logarithmic, float currentMin, float currentMax, float logMin,
                                          float logMax, int tickCount, int digits) const
{
    AxisTicks axis;
    axis.logarithmic = logarithmic;
    axis.lo = logarithmic ? logMin : currentMin;
    axis.hi = logarithmic ? logMax : currentMax;
    axis.digits = digits;
    axis.step = logarithmic ? logTickStep(axis.lo, axis.hi, tickCount) : linearTickStep(axis.lo, axis.hi, tickCount);
    if (axis.step)
        axis.first = firstTick(axis.lo, *axis.step);
    // The widest label: the larger bound in magnitude, negative when a bound is 0 or below.
    float widest = std::max(std::fabs(axis.lo), std::fabs(axis.hi));
    if (axis.lo <= 0.0f || axis.hi <= 0.0f)
        widest = -widest;
    axis.labelSize = textSize(tickLabel(axis, widest), mState.fonts().ticks);
    return axis;
}

double PlotDrawing::widestTickLabelWidth(const AxisTicks& axis) const
{
    double widest = axis.labelSize.width();
    if (axis.step)
        for (const float v : tickValues(axis.first, *axis.step, axis.hi))
            widest = std::max(widest, textSize(tickLabel(axis, v), mState.fonts().ticks).width());
    return widest;
}

QString PlotDrawing::tickLabel(const AxisTicks& axis, float value)
{
    return QString::fromStdString(tickLabelText(value, axis.logarithmic, axis.digits));
}

void PlotDrawing::draw(ViewCanvas& canvas)
{
    const QRectF bounds = viewBounds();
    canvas.save();
    canvas.setColor(mBackColor);
    canvas.fill(bounds);
    canvas.setColor(kFrameColor);
    canvas.frame(bounds, 1.0);

    updateDecades();
    const AxisSettings& axes = mState.axes();
    const XYRange& current = mState.ranges().current;
    const AxisTicks x = axisTicks(axes.showLogX, current.minX, current.maxX, mGeometry.logXmin, mGeometry.logXmax,
                                  axes.xTickCount, axes.xTickDigits);
    const AxisTicks y = axisTicks(axes.showLogY, current.minY, current.maxY, mGeometry.logYmin, mGeometry.logYmax,
                                  axes.yTickCount, axes.yTickDigits);
    sizeMargins(x, y);
    calculateCoefficients();

    const QRectF plot = getPlotRect();
    if (plot.width() > 0.0 && plot.height() > 0.0) {
        canvas.setColor(mForeColor);
        canvas.fill(plot);
    }
    canvas.setColor(Color::black());
    drawAxisLabels(canvas, plot);
    drawFrameAndTicks(canvas, plot, x, y);
    drawTickLabels(canvas, plot, x, y);

    const PlotFrame frame = plotFrame();
    for (const GraphObjectPtr& object : mState.objects())
        object->render(canvas, frame);
    drawSelectionCross(canvas);
    mState.legend().render(canvas, frame);

    if (mState.hasTrackingRect()) {
        canvas.setColor(kKnobColor);
        canvas.frame(mState.selection().trackingRect.normalized(), 1.0);
    }
    canvas.restore();
}

void PlotDrawing::sizeMargins(const AxisTicks& x, const AxisTicks& y)
{
    const QSizeF xLabelSize = textSize(mState.axes().xLabel);
    const QSizeF yLabelSize = textSize(mState.axes().yLabel);
    mGeometry.marginBottom = static_cast<float>(xLabelSize.height() + x.labelSize.height() + kMarginRoom);
    // The y title is drawn unrotated left of the tick labels: the margin grows to hold
    // both side by side, so that a title wider than its height never covers a label.
    const double sideBySide = kTextInset + yLabelSize.width() + kTitleGap + widestTickLabelWidth(y) + kTickLabelGap;
    mGeometry.marginLeft =
        static_cast<float>(std::max(yLabelSize.height() + y.labelSize.width() + kMarginRoom, sideBySide));
}

void PlotDrawing::drawAxisLabels(ViewCanvas& canvas, const QRectF& plot)
{
    const AttributedText& xLabel = mState.axes().xLabel;
    canvas.drawText(xLabel, {plot.center().x() - 0.5 * textSize(xLabel).width(), kTextInset});
    // Single precision, as the margins are.
    const float yLabelY = mGeometry.marginBottom + 0.5f * static_cast<float>(plot.height());
    canvas.drawText(mState.axes().yLabel, {kTextInset, yLabelY});
}

namespace {
// Ticks along an axis with a positive scale; none otherwise (a reversed or empty range,
// a plot area without room, no usable step).
std::vector<float> axisTickValues(const std::optional<float>& step, float first, float hi, float scale)
{
    if (!step || !(scale > 0.0f) || !std::isfinite(scale))
        return {};
    return tickValues(first, *step, hi);
}
} // namespace

void PlotDrawing::drawFrameAndTicks(ViewCanvas& canvas, const QRectF& plot, const AxisTicks& x, const AxisTicks& y)
{
    const PlotEdges edge(plot);
    const PlotGeometry& g = mGeometry;
    QPainterPath frame;
    frame.moveTo(edge.left, edge.top);
    frame.lineTo(edge.left, edge.bottom);
    frame.lineTo(edge.right, edge.bottom);
    frame.lineTo(edge.right, edge.top);
    frame.lineTo(edge.left, edge.top);

    const std::vector<float> xTicks = axisTickValues(x.step, x.first, x.hi, g.ax);
    const std::vector<float> yTicks = axisTickValues(y.step, y.first, y.hi, g.ay);
    for (const float v : xTicks) {
        const double px = g.ax * v + g.bx;
        frame.moveTo(px, edge.bottom);
        frame.lineTo(px, edge.bottom - 5.0);
    }
    for (const float v : yTicks) {
        const double py = g.ay * v + g.by;
        frame.moveTo(edge.left, py);
        frame.lineTo(edge.left - 5.0, py);
    }

    if (mState.axes().drawGrid) {
        canvas.setColor(kGridColor);
        const std::vector<double> dashes{5.0, 2.0};
        for (const float v : xTicks) {
            const double px = g.ax * v + g.bx;
            QPainterPath line({px, edge.bottom - 5.0});
            line.lineTo(px, edge.top);
            canvas.stroke(line, 0.3, dashes);
        }
        for (const float v : yTicks) {
            const double py = g.ay * v + g.by;
            QPainterPath line({edge.left - 5.0, py});
            line.lineTo(edge.right, py);
            canvas.stroke(line, 0.3, dashes);
        }
        canvas.setColor(Color::black());
    }
    canvas.stroke(frame, 1.0);
}

void PlotDrawing::drawTickLabels(ViewCanvas& canvas, const QRectF& plot, const AxisTicks& x, const AxisTicks& y)
{
    const PlotEdges edge(plot);
    const PlotGeometry& g = mGeometry;
    const TextAttributes& font = mState.fonts().ticks;
    // Labels are spaced more widely than ticks when they would crowd.
    if (x.step && std::isfinite(g.ax)) {
        const std::optional<float> step = labelStep(*x.step, g.ax, static_cast<float>(x.labelSize.width() + 10.0));
        for (const float v : axisTickValues(step, x.first, x.hi, g.ax)) {
            const double px = g.ax * v + g.bx;
            const QString text = tickLabel(x, v);
            const double width = textSize(text, font).width(); // centred on its tick
            canvas.drawText(text, font, {px - 0.5 * width, g.marginBottom - 15.0 - x.labelSize.height()});
        }
    }
    if (y.step && std::isfinite(g.ay)) {
        const std::optional<float> step = labelStep(*y.step, g.ay, static_cast<float>(y.labelSize.height() + 10.0));
        for (const float v : axisTickValues(step, y.first, y.hi, g.ay)) {
            const double py = g.ay * v + g.by;
            const QString text = tickLabel(y, v);
            const QSizeF size = textSize(text, font);
            canvas.drawText(text, font,
                            {edge.left - kTickLabelGap - size.width(), py - 0.5 * y.labelSize.height()});
        }
    }
}

void PlotDrawing::drawSelectionCross(ViewCanvas& canvas)
{
    const PlotSelection& selection = mState.selection();
    const XYRange& current = mState.ranges().current;
    if (!selection.pointVisible || mPrinting)
        return;
    const bool inX = selection.pointX >= current.minX && selection.pointX <= current.maxX;
    const bool inY = selection.pointY >= current.minY && selection.pointY <= current.maxY;
    if (!inX || !inY)
        return;
    const double px = getXValue(selection.pointX);
    const double py = getYValue(selection.pointY);
    QPainterPath cross;
    cross.addEllipse(QRectF(px - 5.0, py - 5.0, 10.0, 10.0));
    cross.moveTo(px, py - 5.0);
    cross.lineTo(px, py + 5.0);
    cross.moveTo(px - 5.0, py);
    cross.lineTo(px + 5.0, py);
    canvas.setColor(Color::black());
    canvas.stroke(cross, 1.0);
}

} // namespace quorvel
