#pragma once

// Geometry of one drawing of a CBarPlotView, in the view's own coordinates: points,
// origin at the bottom-left corner, y growing upward. CBarPlotView::chartLayout computes
// it from the chart's state and size; the drawing paints it.

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

namespace quorvel {

struct BarPlotLayout {
    // A text placed by the bottom-left corner of its box, or centred on centreX.
    struct CategoryLabel {
        int index;      // into the labels
        float centreX;  // the slot's centre
        float y;
    };
    struct AxisLabel {
        QString text;
        float x;
        float y;
    };
    // What one value draws; `drawn` is false for a value that shows nothing (a value of
    // 0 or below on the logarithmic scale, or any value when the scale is undefined).
    struct Item {
        bool drawn = false;
        QRectF bar;    // the bar of mode 0: left, bottom, width, height
        QPointF top;   // the bar's top centre: a polyline point and a marker's centre
        bool hasReference = false;
        QPointF reference;  // centre of the reference dot
    };

    bool empty = true;  // no values: the chart is plain white
    float barRegionWidth = 0;  // W
    float plotHeight = 0;      // H
    float barWidth = 0;        // w
    float pitch = 0;           // p, the width of one slot
    std::vector<CategoryLabel> categoryLabels;
    std::vector<QLineF> axes;  // both axes, slot ticks and value ticks
    std::vector<QLineF> verticalGrid;
    std::vector<QLineF> horizontalGrid;
    std::vector<AxisLabel> valueLabels;
    std::vector<Item> items;  // one per value, in order
};

} // namespace quorvel
