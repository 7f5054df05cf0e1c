#include "plot/CGraphStringPointCurve.h"

#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

namespace quorvel {

CGraphStringPointCurve::CGraphStringPointCurve()
{
    mSelectable = true;
    mToolSizeFactor = 4.0f;
}

void CGraphStringPointCurve::addPoint(const QString& label, float x, float y)
{
    auto entry = CGraphStringPoint::newGraphStringPoint(x, y);
    entry->setLabel(label);
    mEntries.push_back(entry);
}

QString CGraphStringPointCurve::getHitPointName() const
{
    if (mLastHitPointIndex < 0 || mLastHitPointIndex >= static_cast<int>(mEntries.size()))
        return QString();
    return mEntries[static_cast<std::size_t>(mLastHitPointIndex)]->getLabel().value_or(QString());
}

void CGraphStringPointCurve::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden)
        return;
    canvas.save();
    canvas.clipTo(frame.plotRect);
    mPath = QPainterPath();
    mHasDrawn = true;
    const TextAttributes& attributes = frame.legendsAttributes;
    for (const auto& entry : mEntries) {
        mPath.addPath(drawMarker(canvas, frame, entry->getX(), entry->getY()));
        const std::optional<QString>& label = entry->getLabel();
        if (showsLabels() && label) // the entries' own offsets are not applied
            drawMarkerLabel(canvas, *label, attributes, frame.toView(entry->getX(), entry->getY()), markerRadius());
    }
    canvas.restore();
}

bool CGraphStringPointCurve::isHit(QPointF point, const PlotFrame& frame) const
{
    if (mHidden || !mSelectable)
        return false;
    for (int i = static_cast<int>(mEntries.size()) - 1; i >= 0; --i) {
        const auto& entry = mEntries[static_cast<std::size_t>(i)];
        if (isMarkerHit(point, frame, entry->getX(), entry->getY())) {
            mLastHitPointIndex = i;
            return true;
        }
    }
    return false;
}

std::shared_ptr<CGraphObject> CGraphStringPointCurve::copy() const
{
    auto list = std::make_shared<CGraphStringPointCurve>();
    copyBaseInto(*list);
    list->mEntries = mEntries; // labels are shown in the copy
    return list;
}

} // namespace quorvel
