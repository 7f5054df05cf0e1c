#include "plot/CGraphPoint.h"

#include "plot/CPlotView.h"
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
    const QSizeF size = textSize(text, attributes);
    const QPointF corner(centre.x() - 0.5 * size.width() + offset.x(),
                         centre.y() - 0.7 * size.height() - radius - 2.0 + offset.y());
    canvas.drawText(text, attributes, corner);
}

void CGraphPoint::render(ViewCanvas& canvas)
{
    if (mHidden || !mPlotView)
        return;
    canvas.save();
    canvas.clipTo(mPlotView->getPlotRect());
    mPath = drawMarker(canvas, mX, mY);
    mHasDrawn = true;
    const std::optional<QString> label = labelText();
    if (mShowLabel && label)
        drawMarkerLabel(canvas, *label, mPlotView->getLegendsAttributes(), toView(mX, mY), markerRadius(),
                        labelOffset());
    canvas.restore();
}

bool CGraphPoint::isHit(QPointF point) const
{
    return !mHidden && mSelectable && isMarkerHit(point, mX, mY);
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
