#pragma once
// How a plot view paints its state: backgrounds, margins sized to the labels, frame,
// ticks, grid, tick labels, plot objects, selection cross, legend and zoom rectangle,
// and the mapping between data values and view coordinates (y growing upward, origin at
// the lower left).
//
// The margins, decade exponents and coefficients describe the last draw: a change of
// ranges, labels or size takes effect on them at the next draw, and every conversion
// between two draws uses them.

#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

#include "platform/Color.h"

#include <QRectF>
#include <QSizeF>

#include <optional>

class QWidget;

namespace quorvel {

class PlotState;

// The numbers of the last draw.
struct PlotGeometry {
    // Between the view's bounds and the plot area, view units; each draw recomputes left
    // and bottom.
    float marginLeft = 80.0f;
    float marginTop = 15.0f;
    float marginRight = 30.0f;
    float marginBottom = 60.0f;
    // On a logarithmic axis, the exponents of the whole decades enclosing the current range.
    float logXmin = 0.0f;
    float logXmax = 0.0f;
    float logYmin = 0.0f;
    float logYmax = 0.0f;
    // view = a * coordinate + b along each axis.
    float ax = 0.0f;
    float bx = 0.0f;
    float ay = 0.0f;
    float by = 0.0f;
};

class PlotDrawing {
public:
    PlotDrawing(const QWidget& view, const PlotState& state);

    // Paints the whole view; the selection cross is left out while printing.
    void draw(ViewCanvas& canvas);
    bool isPrinting() const { return mPrinting; }
    void setPrinting(bool printing) { mPrinting = printing; }
    const Color& backColor() const { return mBackColor; } // margin area
    const Color& foreColor() const { return mForeColor; } // plot area

    PlotGeometry& geometry() { return mGeometry; }
    const PlotGeometry& geometry() const { return mGeometry; }
    QRectF getPlotRect() const;
    void calculateCoefficients();
    float getXValue(float value) const;
    float getYValue(float value) const;
    float getXFromPixelValue(float pixel) const;
    float getYFromPixelValue(float pixel) const;
    // What the plot objects draw and are hit in: the transforms of the last draw, the
    // plot rectangle and the legend font.
    PlotFrame plotFrame() const;

private:
    // One axis as a draw sees it: bounds for the ticks, tick step and first tick, and
    // the size of its widest tick label.
    struct AxisTicks {
        bool logarithmic = false;
        float lo = 0.0f;
        float hi = 0.0f;
        int digits = 0;
        std::optional<float> step;
        float first = 0.0f;
        QSizeF labelSize;
    };
    AxisTicks axisTicks(bool logarithmic, float currentMin, float currentMax, float logMin, float logMax,
                        int tickCount, int digits) const;
    static QString tickLabel(const AxisTicks& axis, float value);
    // The width of the widest tick label the axis draws (at least that of labelSize).
    double widestTickLabelWidth(const AxisTicks& axis) const;
    void updateDecades();
    void sizeMargins(const AxisTicks& x, const AxisTicks& y);
    void drawAxisLabels(ViewCanvas& canvas, const QRectF& plotRect);
    void drawFrameAndTicks(ViewCanvas& canvas, const QRectF& plotRect, const AxisTicks& x, const AxisTicks& y);
    void drawTickLabels(ViewCanvas& canvas, const QRectF& plotRect, const AxisTicks& x, const AxisTicks& y);
    void drawSelectionCross(ViewCanvas& canvas);
    AxisTransform xTransform() const;
    AxisTransform yTransform() const;
    QRectF viewBounds() const;

    const QWidget& mView;
    const PlotState& mState;
    PlotGeometry mGeometry;
    Color mBackColor;
    Color mForeColor;
    bool mPrinting = false;
};

} // namespace quorvel
