#include "plot/CGraphPointCurve.h"

#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

namespace quorvel {

CGraphPointCurve::CGraphPointCurve()
{
    mSelectable = true;
    mToolSizeFactor = 4.0f;
}

void CGraphPointCurve::addPoint(float x, float y, int)
{
    mPoints.push_back({x, y});
}

void CGraphPointCurve::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden)
        return;
    canvas.save();
    canvas.clipTo(frame.plotRect);
    canvas.setColor(mColor);
    mPath = QPainterPath();
    mHasDrawn = true;
    if (mJoinPoints && mPoints.size() > 1) {
        QPainterPath line(frame.toView(mPoints.front().x, mPoints.front().y));
        for (std::size_t i = 1; i < mPoints.size(); ++i)
            line.lineTo(frame.toView(mPoints[i].x, mPoints[i].y));
        canvas.stroke(line, 1.0);
        mPath.addPath(line);
    }
    for (const PlotPoint& p : mPoints)
        mPath.addPath(drawMarker(canvas, frame, p.x, p.y));
    canvas.restore();
}

bool CGraphPointCurve::isHit(QPointF point, const PlotFrame& frame) const
{
    if (mHidden || !mSelectable)
        return false;
    for (const PlotPoint& p : mPoints)
        if (isMarkerHit(point, frame, p.x, p.y))
            return true;
    return false;
}

std::shared_ptr<CGraphObject> CGraphPointCurve::copy() const
{
    auto list = std::make_shared<CGraphPointCurve>();
    copyBaseInto(*list);
    list->mPoints = mPoints;
    list->mJoinPoints = mJoinPoints;
    return list;
}

} // namespace quorvel
