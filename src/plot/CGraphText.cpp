#include "plot/CGraphText.h"

#include "plot/PlotFrame.h"

namespace quorvel {

void CGraphText::setPosition(float x, float y)
{
    mX = x;
    mY = y;
}

void CGraphText::getPosition(float& x, float& y) const
{
    x = mX;
    y = mY;
}

void CGraphText::setDimension(float width, float height)
{
    mWidth = width;
    mHeight = height;
}

void CGraphText::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden || mContents.string.isEmpty())
        return;
    canvas.save();
    canvas.setColor(mColor);
    canvas.drawText(mContents, frame.toView(mX, mY));
    canvas.restore();
}

void CGraphText::copyTextInto(CGraphText& target) const
{
    copyBaseInto(target);
    target.mContents = mContents;
    target.mX = mX;
    target.mY = mY;
    target.mWidth = mWidth;
    target.mHeight = mHeight;
}

std::shared_ptr<CGraphObject> CGraphText::copy() const
{
    auto text = std::make_shared<CGraphText>();
    copyTextInto(*text);
    return text;
}

} // namespace quorvel
