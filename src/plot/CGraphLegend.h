#pragma once
// The legend box of a plot view: one row per included object, with a line sample for a
// curve or a marker sample for a point or marker list, and the object's name. Its anchor
// (mX, mY, data units) is the lower-left corner of the lowest row; its extent (mWidth,
// mHeight, view units) is recomputed by every draw.

#include "plot/CGraphText.h"

#include <vector>

namespace quorvel {

class CGraphLegend : public CGraphText {
public:
    CGraphLegend();

    // The legend keeps the listed objects alive; an object included twice gets two rows.
    void addReferenceObject(const GraphObjectPtr& object);
    void removeReferenceObject(const CGraphObject* object);
    void purge() { mRefObjects.clear(); }
    void setMRefObjectList(const std::vector<GraphObjectPtr>& objects) { mRefObjects = objects; }
    const std::vector<GraphObjectPtr>& mRefObjectList() const { return mRefObjects; }

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    QRectF getBounds(const PlotFrame& frame) const override;
    bool isHit(QPointF point, const PlotFrame& frame) const override;
    std::shared_ptr<CGraphObject> copy() const override;

private:
    std::vector<GraphObjectPtr> mRefObjects;
};

} // namespace quorvel
