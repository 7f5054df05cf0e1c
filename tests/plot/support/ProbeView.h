#pragma once
// A plot view that the tests render, and helpers to read its pixels.

#include "plot/CPlotView.h"

#include <QImage>
#include <QPainter>

#include <array>

namespace quorvel::test {

class ProbeView : public CPlotView {
public:
    using CPlotView::CPlotView;

    // Data units equal view coordinates until the next draw.
    void useIdentityTransform()
    {
        PlotGeometry& geometry = drawing().geometry();
        geometry.ax = 1.0f;
        geometry.bx = 0.0f;
        geometry.ay = 1.0f;
        geometry.by = 0.0f;
    }

    QImage renderImage()
    {
        QImage image(size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        drawView(painter);
        return image;
    }
};

// A range as x minimum, x maximum, y minimum, y maximum.
inline std::array<float, 4> bounds(const XYRange& range)
{
    return {range.minX, range.maxX, range.minY, range.maxY};
}

// The pixel that covers the view point (x, y), y growing upward.
inline QColor pixelAtView(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(x), static_cast<int>(image.height() - y));
}

inline bool isNear(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Whether a pixel within one pixel of the view point (x, y) is near `color` (thin
// antialiased lines spread over two pixels).
inline bool nearAround(const QImage& image, double x, double y, const QColor& color, int tolerance = 40)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (isNear(pixelAtView(image, x + dx, y + dy), color, tolerance))
                return true;
    return false;
}

} // namespace quorvel::test
