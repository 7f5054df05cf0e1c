#pragma once
// A list of labelled markers of one style (the list's marker code, size factor, colour
// and highlight); all labels are shown or hidden at once.

#include "plot/CGraphStringPoint.h"

#include <vector>

namespace quorvel {

class CGraphStringPointCurve : public CGraphObject {
public:
    CGraphStringPointCurve();

    void addPoint(const QString& label, float x, float y);
    void setShowLabels(bool show) { mShowLabels = show ? 1 : 0; }
    bool showsLabels() const { return mShowLabels != 0; }
    // The label of the marker last hit (the first one until a hit); empty without entries.
    QString getHitPointName() const;
    int lastHitPointIndex() const { return mLastHitPointIndex; }
    // Entries are shared with copies of the list.
    void setMStringPointArray(const std::vector<std::shared_ptr<CGraphStringPoint>>& entries) { mEntries = entries; }
    const std::vector<std::shared_ptr<CGraphStringPoint>>& mStringPointArray() const { return mEntries; }

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    // Hit when a click lies on one of the markers; the topmost one hit becomes the last
    // hit entry.
    bool isHit(QPointF point, const PlotFrame& frame) const override;
    std::shared_ptr<CGraphObject> copy() const override;

private:
    std::vector<std::shared_ptr<CGraphStringPoint>> mEntries;
    mutable int mLastHitPointIndex = 0;
    int mShowLabels = 1;
};

} // namespace quorvel
