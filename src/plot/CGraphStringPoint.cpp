#include "plot/CGraphStringPoint.h"

namespace quorvel {

std::shared_ptr<CGraphStringPoint> CGraphStringPoint::newGraphStringPoint(float x, float y)
{
    auto point = std::make_shared<CGraphStringPoint>();
    point->setPoint(x, y);
    return point;
}

std::shared_ptr<CGraphObject> CGraphStringPoint::copy() const
{
    auto point = std::make_shared<CGraphStringPoint>();
    copyPointInto(*point);
    point->mLabel = mLabel;
    point->mOffsetX = mOffsetX;
    point->mOffsetY = mOffsetY;
    return point;
}

} // namespace quorvel
