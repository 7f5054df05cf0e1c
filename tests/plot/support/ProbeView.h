#pragma once
// A plot view whose state the tests can read and set, and helpers to render it.

#include "plot/CPlotView.h"

#include <QImage>
#include <QPainter>

namespace quorvel::test {

class ProbeView : public CPlotView {
public:
    using CPlotView::CPlotView;
    using CPlotView::mAx;
    using CPlotView::mAy;
    using CPlotView::mBx;
    using CPlotView::mBy;
    using CPlotView::mCurrentMaxX;
    using CPlotView::mCurrentMaxY;
    using CPlotView::mCurrentMinX;
    using CPlotView::mCurrentMinY;
    using CPlotView::mIsPrinting;
    using CPlotView::mIsSelectingPointVisible;
    using CPlotView::mLabelsAttributes;
    using CPlotView::mLegendsAttributes;
    using CPlotView::mLogXmax;
    using CPlotView::mLogXmin;
    using CPlotView::mLogYmax;
    using CPlotView::mLogYmin;
    using CPlotView::mMarginBottom;
    using CPlotView::mMarginLeft;
    using CPlotView::mMarginRight;
    using CPlotView::mMarginTop;
    using CPlotView::mMaxMaxX;
    using CPlotView::mMaxMaxY;
    using CPlotView::mMaxMinX;
    using CPlotView::mMaxMinY;
    using CPlotView::mMaxX;
    using CPlotView::mMaxY;
    using CPlotView::mMinX;
    using CPlotView::mMinY;
    using CPlotView::mTicksAttributes;
    using CPlotView::mTrackingRect;
    using CPlotView::backColor;
    using CPlotView::foreColor;

    // Data units equal view coordinates until the next draw.
    void useIdentityTransform()
    {
        mAx = 1.0f;
        mBx = 0.0f;
        mAy = 1.0f;
        mBy = 0.0f;
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
