#pragma once
// A list of markers of one style, optionally joined by a line in list order.

#include "plot/CGraphCurve.h"

namespace quorvel {

class CGraphPointCurve : public CGraphObject {
public:
    CGraphPointCurve();

    // The third argument is not used.
    void addPoint(float x, float y, int unused = 0);
    void setJoinPoints(bool join) { mJoinPoints = join; }
    bool joinsPoints() const { return mJoinPoints; }
    void setMPointsList(const std::vector<PlotPoint>& points) { mPoints = points; }
    const std::vector<PlotPoint>& mPointsList() const { return mPoints; }

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    bool isHit(QPointF point, const PlotFrame& frame) const override;
    std::shared_ptr<CGraphObject> copy() const override;

private:
    std::vector<PlotPoint> mPoints;
    bool mJoinPoints = false;
};

} // namespace quorvel
