// Drawing of a plot view: backgrounds, margins sized to the labels, frame, ticks, grid,
// tick labels, plot objects, selection cross, legend and zoom rectangle. Each draw also
// brings the margins, decade exponents and coefficients up to date.
#include "plot/CPlotView.h"

#include "plot/PlotAxis.h"

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

bool isZeroRect(const QRectF& r)
{
    return r.x() == 0.0 && r.y() == 0.0 && r.width() == 0.0 && r.height() == 0.0;
}

struct PlotEdges {
    double left, right, bottom, top; // view coordinates, y up
    explicit PlotEdges(const QRectF& r) : left(r.x()), right(r.x() + r.width()), bottom(r.y()), top(r.y() + r.height()) { }
};

} // namespace

void CPlotView::updateDecades()
{
    if (mShowLogX) {
        const DecadeRange d = decadesEnclosing(mCurrentMinX, mCurrentMaxX);
        mLogXmin = d.lo;
        mLogXmax = d.hi;
    }
    if (mShowLogY) {
        const DecadeRange d = decadesEnclosing(mCurrentMinY, mCurrentMaxY);
        mLogYmin = d.lo;
        mLogYmax = d.hi;
    }
}

CPlotView::AxisTicks CPlotView::axisTicks(bool logarithmic, float currentMin, float currentMax, float logMin,
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
    axis.labelSize = textSize(tickLabel(axis, widest), mTicksAttributes);
    return axis;
}

double CPlotView::widestTickLabelWidth(const AxisTicks& axis) const
{
    double widest = axis.labelSize.width();
    if (axis.step)
        for (const float v : tickValues(axis.first, *axis.step, axis.hi))
            widest = std::max(widest, textSize(tickLabel(axis, v), mTicksAttributes).width());
    return widest;
}

QString CPlotView::tickLabel(const AxisTicks& axis, float value)
{
    return QString::fromStdString(tickLabelText(value, axis.logarithmic, axis.digits));
}

void CPlotView::drawRect(ViewCanvas& canvas)
{
    const QRectF bounds = viewBounds();
    canvas.save();
    canvas.setColor(backColor);
    canvas.fill(bounds);
    canvas.setColor(kFrameColor);
    canvas.frame(bounds, 1.0);

    updateDecades();
    const QSizeF xLabelSize = textSize(mXAxisLabel);
    const QSizeF yLabelSize = textSize(mYAxisLabel);
    const AxisTicks x = axisTicks(mShowLogX, mCurrentMinX, mCurrentMaxX, mLogXmin, mLogXmax, mXTickCount, mXTickDigits);
    const AxisTicks y = axisTicks(mShowLogY, mCurrentMinY, mCurrentMaxY, mLogYmin, mLogYmax, mYTickCount, mYTickDigits);
    mMarginBottom = static_cast<float>(xLabelSize.height() + x.labelSize.height() + kMarginRoom);
    // The y title is drawn unrotated left of the tick labels: the margin grows to hold
    // both side by side, so that a title wider than its height never covers a label.
    const double sideBySide = kTextInset + yLabelSize.width() + kTitleGap + widestTickLabelWidth(y) + kTickLabelGap;
    mMarginLeft = static_cast<float>(std::max(yLabelSize.height() + y.labelSize.width() + kMarginRoom, sideBySide));
    calculateCoefficients();

    const QRectF plot = getPlotRect();
    if (plot.width() > 0.0 && plot.height() > 0.0) {
        canvas.setColor(foreColor);
        canvas.fill(plot);
    }
    canvas.setColor(Color::black());
    drawAxisLabels(canvas, plot);
    drawFrameAndTicks(canvas, plot, x, y);
    drawTickLabels(canvas, plot, x, y);

    const PlotFrame frame = plotFrame();
    for (const GraphObjectPtr& object : mGraphObjects)
        object->render(canvas, frame);
    drawSelectionCross(canvas);
    mLegendObject->render(canvas, frame);

    if (!isZeroRect(mTrackingRect)) {
        canvas.setColor(kKnobColor);
        canvas.frame(mTrackingRect.normalized(), 1.0);
    }
    canvas.restore();
}

void CPlotView::drawAxisLabels(ViewCanvas& canvas, const QRectF& plot)
{
    const QSizeF xLabelSize = textSize(mXAxisLabel);
    canvas.drawText(mXAxisLabel, {plot.center().x() - 0.5 * xLabelSize.width(), kTextInset});
    drawYLabel(canvas, static_cast<float>(kTextInset), mMarginBottom + 0.5f * static_cast<float>(plot.height()));
}

void CPlotView::drawYLabel(ViewCanvas& canvas, float x, float y)
{
    canvas.drawText(mYAxisLabel, {x, y});
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

void CPlotView::drawFrameAndTicks(ViewCanvas& canvas, const QRectF& plot, const AxisTicks& x, const AxisTicks& y)
{
    const PlotEdges edge(plot);
    QPainterPath frame;
    frame.moveTo(edge.left, edge.top);
    frame.lineTo(edge.left, edge.bottom);
    frame.lineTo(edge.right, edge.bottom);
    frame.lineTo(edge.right, edge.top);
    frame.lineTo(edge.left, edge.top);

    const std::vector<float> xTicks = axisTickValues(x.step, x.first, x.hi, mAx);
    const std::vector<float> yTicks = axisTickValues(y.step, y.first, y.hi, mAy);
    for (const float v : xTicks) {
        const double px = mAx * v + mBx;
        frame.moveTo(px, edge.bottom);
        frame.lineTo(px, edge.bottom - 5.0);
    }
    for (const float v : yTicks) {
        const double py = mAy * v + mBy;
        frame.moveTo(edge.left, py);
        frame.lineTo(edge.left - 5.0, py);
    }

    if (mDrawGrid) {
        canvas.setColor(kGridColor);
        const std::vector<double> dashes{5.0, 2.0};
        for (const float v : xTicks) {
            const double px = mAx * v + mBx;
            QPainterPath line({px, edge.bottom - 5.0});
            line.lineTo(px, edge.top);
            canvas.stroke(line, 0.3, dashes);
        }
        for (const float v : yTicks) {
            const double py = mAy * v + mBy;
            QPainterPath line({edge.left - 5.0, py});
            line.lineTo(edge.right, py);
            canvas.stroke(line, 0.3, dashes);
        }
        canvas.setColor(Color::black());
    }
    canvas.stroke(frame, 1.0);
}

void CPlotView::drawTickLabels(ViewCanvas& canvas, const QRectF& plot, const AxisTicks& x, const AxisTicks& y)
{
    const PlotEdges edge(plot);
    // Labels are spaced more widely than ticks when they would crowd.
    if (x.step && std::isfinite(mAx)) {
        const std::optional<float> step = labelStep(*x.step, mAx, static_cast<float>(x.labelSize.width() + 10.0));
        for (const float v : axisTickValues(step, x.first, x.hi, mAx)) {
            const double px = mAx * v + mBx;
            const QString text = tickLabel(x, v);
            const double width = textSize(text, mTicksAttributes).width(); // centred on its tick
            canvas.drawText(text, mTicksAttributes, {px - 0.5 * width, mMarginBottom - 15.0 - x.labelSize.height()});
        }
    }
    if (y.step && std::isfinite(mAy)) {
        const std::optional<float> step = labelStep(*y.step, mAy, static_cast<float>(y.labelSize.height() + 10.0));
        for (const float v : axisTickValues(step, y.first, y.hi, mAy)) {
            const double py = mAy * v + mBy;
            const QString text = tickLabel(y, v);
            const QSizeF size = textSize(text, mTicksAttributes);
            canvas.drawText(text, mTicksAttributes,
                            {edge.left - kTickLabelGap - size.width(), py - 0.5 * y.labelSize.height()});
        }
    }
}

void CPlotView::drawSelectionCross(ViewCanvas& canvas)
{
    if (!mIsSelectingPointVisible || mIsPrinting)
        return;
    const bool inX = mSelectedPointX >= mCurrentMinX && mSelectedPointX <= mCurrentMaxX;
    const bool inY = mSelectedPointY >= mCurrentMinY && mSelectedPointY <= mCurrentMaxY;
    if (!inX || !inY)
        return;
    const double px = getXValue(mSelectedPointX);
    const double py = getYValue(mSelectedPointY);
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
