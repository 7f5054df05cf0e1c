#pragma once
// An attributed text at a data position (its lower-left corner). Not selectable; the
// legend builds on its position and dimension fields.

#include "plot/CGraphObject.h"
#include "plot/ViewCanvas.h"

namespace quorvel {

class CGraphText : public CGraphObject {
public:
    CGraphText() = default;

    void setText(const QString& text) { mContents = AttributedText{text, std::nullopt}; }
    void setText(const AttributedText& text) { mContents = text; }
    const AttributedText& text() const { return mContents; }
    void setPosition(float x, float y);
    void getPosition(float& x, float& y) const;
    void setDimension(float width, float height);
    float width() const { return mWidth; }
    float height() const { return mHeight; }

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    std::shared_ptr<CGraphObject> copy() const override;

protected:
    void copyTextInto(CGraphText& target) const;

    AttributedText mContents;
    float mX = 0.0f;
    float mY = 0.0f;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
};

} // namespace quorvel
