#include "plot/CGraphPoint.h"

#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

namespace quorvel {

CGraphPoint::CGraphPoint()
{
    mSelectable = true;
    mToolSizeFactor = 3.0f;
}

std::shared_ptr<CGraphPoint> CGraphPoint::newGraphPoint(float x, float y)
{
    auto point = std::make_shared<CGraphPoint>();
    point->setPoint(x, y);
    return point;
}

void CGraphPoint::setPoint(float x, float y)
{
    mX = x;
    mY = y;
}

void CGraphPoint::setDefaultToolSize(float)
{
    setToolSizeFactor(1.0f);
    setPoint(mX, mY);
}

void drawMarkerLabel(ViewCanvas& canvas, const QString& text, const TextAttributes& attributes, QPointF centre,
                     float radius, QPointF offset)
{
    // The text's box hangs below the marker, a gap clear of it.
    constexpr double kGap = 2.0;
    const QSizeF size = textSize(text, attributes);
    const QPointF corner(centre.x() - 0.5 * size.width() + offset.x(),
                         centre.y() - radius - kGap - size.height() + offset.y());
    canvas.drawText(text, attributes, corner);
}

void CGraphPoint::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden)
        return;
    canvas.save();
    canvas.clipTo(frame.plotRect);
    mPath = drawMarker(canvas, frame, mX, mY);
    mHasDrawn = true;
    const std::optional<QString> label = labelText();
    if (mShowLabel && label)
        drawMarkerLabel(canvas, *label, frame.legendsAttributes, frame.toView(mX, mY), markerRadius(),
                        labelOffset());
    canvas.restore();
}

bool CGraphPoint::isHit(QPointF point, const PlotFrame& frame) const
{
    return !mHidden && mSelectable && isMarkerHit(point, frame, mX, mY);
}

void CGraphPoint::copyPointInto(CGraphPoint& target) const
{
    copyBaseInto(target);
    target.mX = mX;
    target.mY = mY;
    target.mShowLabel = mShowLabel;
}

std::shared_ptr<CGraphObject> CGraphPoint::copy() const
{
    auto point = std::make_shared<CGraphPoint>();
    copyPointInto(*point);
    return point;
}

} // namespace quorvel
