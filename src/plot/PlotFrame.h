#pragma once
// How a plot view shows data at one draw: the data-to-view transform of each axis, the
// plot rectangle and the font of the texts that plot objects draw. The view builds it
// once per paint (and for each mouse event) and hands it to its objects, which draw and
// answer hit tests through it, never through the view.

#include "plot/ViewCanvas.h"

#include <QPointF>
#include <QRectF>

namespace quorvel {

// view = a * coordinate + b, where the coordinate of a value is the value itself, or its
// decade on a logarithmic axis (values of 0 and below go to the lower decade `logMin`).
struct AxisTransform {
    float a = 1.0f;
    float b = 0.0f;
    bool logarithmic = false;
    float logMin = 0.0f;

    float toView(float value) const;
};

struct PlotFrame {
    AxisTransform x;
    AxisTransform y;
    QRectF plotRect;                  // view coordinates, y growing upward
    TextAttributes legendsAttributes; // legend rows and the labels of curves and markers

    QPointF toView(float dataX, float dataY) const { return {x.toView(dataX), y.toView(dataY)}; }
};

} // namespace quorvel
