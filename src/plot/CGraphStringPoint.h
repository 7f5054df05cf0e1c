#pragma once
// A point with a label text of its own, moved by label offsets in view units.

#include "plot/CGraphPoint.h"

namespace quorvel {

class CGraphStringPoint : public CGraphPoint {
public:
    CGraphStringPoint() = default;
    static std::shared_ptr<CGraphStringPoint> newGraphStringPoint(float x, float y);

    void setLabel(const std::optional<QString>& label) { mLabel = label; }
    const std::optional<QString>& getLabel() const { return mLabel; }
    void setOffsetX(float offset) { mOffsetX = offset; }
    float offsetX() const { return mOffsetX; }
    void setOffsetY(float offset) { mOffsetY = offset; }
    float offsetY() const { return mOffsetY; }

    std::shared_ptr<CGraphObject> copy() const override;

protected:
    std::optional<QString> labelText() const override { return mLabel; }
    QPointF labelOffset() const override { return {mOffsetX, mOffsetY}; }

private:
    std::optional<QString> mLabel;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
};

} // namespace quorvel
