#pragma once
// One marker at a data position, with the object's name drawn under it on demand.

#include "plot/CGraphObject.h"
#include "plot/ViewCanvas.h"

#include <QString>

#include <memory>

namespace quorvel {

class CGraphPoint : public CGraphObject {
public:
    CGraphPoint();
    static std::shared_ptr<CGraphPoint> newGraphPoint(float x, float y);

    void setPoint(float x, float y);
    float getX() const { return mX; }
    float getY() const { return mY; }
    void setShowLabel(bool show) { mShowLabel = show; }
    bool showsLabel() const { return mShowLabel; }
    // Sets the size factor to 1; the argument is not used.
    void setDefaultToolSize(float unused);

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    bool isHit(QPointF point, const PlotFrame& frame) const override;
    std::shared_ptr<CGraphObject> copy() const override;

protected:
    // The text drawn under the marker, if any: the name for a point.
    virtual std::optional<QString> labelText() const { return mName; }
    // Added to the label's lower-left corner, view units.
    virtual QPointF labelOffset() const { return {}; }
    void copyPointInto(CGraphPoint& target) const;

    float mX = 0.0f;
    float mY = 0.0f;
    bool mShowLabel = false;
};

// Draws `text` centred under a marker of radius r at view point (x, y), its box clear of
// the marker.
void drawMarkerLabel(ViewCanvas& canvas, const QString& text, const TextAttributes& attributes, QPointF centre,
                     float radius, QPointF offset = {});

} // namespace quorvel
