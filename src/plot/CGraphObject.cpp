#include "plot/CGraphObject.h"

#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

CGraphObject::CGraphObject()
{
    mColorCousins.reserve(3);
}

CGraphObject::~CGraphObject()
{
    // No cousin keeps a link to an object that is gone.
    const std::vector<CGraphObject*> cousins = mColorCousins;
    for (CGraphObject* cousin : cousins)
        breakCousinship(cousin);
}

void CGraphObject::setColor(const Color& color)
{
    applyColor(color);
    for (CGraphObject* cousin : mColorCousins)
        cousin->applyColor(color);
}

void CGraphObject::setColor(float red, float green, float blue)
{
    mColor = Color::fromRgb(red, green, blue, 1.0);
}

namespace {
int scaledComponent(const std::optional<Color>& color, double (Color::*component)() const)
{
    if (!color)
        return 0;
    return static_cast<int>(std::trunc(((*color).*component)() * 65535.0));
}
} // namespace

int CGraphObject::getRed() const { return scaledComponent(mColor, &Color::redComponent); }
int CGraphObject::getGreen() const { return scaledComponent(mColor, &Color::greenComponent); }
int CGraphObject::getBlue() const { return scaledComponent(mColor, &Color::blueComponent); }

void CGraphObject::setHilited(bool hilited)
{
    if (mSelectable)
        mHilited = hilited;
}

void CGraphObject::setReferenceObject(const Value& record)
{
    mReferenceObject = WeakValue(record);
    mHasReferenceObject = !record.isNull();
}

void CGraphObject::addColorCousin(CGraphObject* cousin)
{
    if (cousin)
        mColorCousins.push_back(cousin);
}

void CGraphObject::removeColorCousin(CGraphObject* cousin)
{
    std::erase(mColorCousins, cousin);
}

void CGraphObject::setColorCousinship(CGraphObject* other)
{
    if (!other)
        return;
    addColorCousin(other);
    other->addColorCousin(this);
}

void CGraphObject::breakCousinship(CGraphObject* other)
{
    if (!other)
        return;
    removeColorCousin(other);
    other->removeColorCousin(this);
}

void CGraphObject::render(ViewCanvas&, const PlotFrame&)
{
}

bool CGraphObject::isHit(QPointF, const PlotFrame&) const
{
    return false;
}

QRectF CGraphObject::getBounds(const PlotFrame&) const
{
    return mHasDrawn ? mPath.boundingRect() : QRectF();
}

std::shared_ptr<CGraphObject> CGraphObject::copy() const
{
    auto object = std::make_shared<CGraphObject>();
    copyBaseInto(*object);
    return object;
}

void CGraphObject::copyBaseInto(CGraphObject& target) const
{
    target.mName = mName;
    target.mSize = mSize;
    target.mSelector = mSelector;
    target.mColor = mColor;
}

QPainterPath CGraphObject::constructPoint0(MarkerCode code, float rx, float ry, float x, float y)
{
    QPainterPath path;
    constexpr float kLow = 0.667f;  // single-precision constants, not 2/3 and 4/3
    constexpr float kHigh = 1.333f;
    switch (code) {
    case MarkerCode::FilledSquare:
    case MarkerCode::Square:
        path.addRect(QRectF(x - rx, y - ry, 2.0f * rx, 2.0f * ry));
        break;
    case MarkerCode::Plus:
        path.moveTo(x - rx, y);
        path.lineTo(x + rx, y);
        path.moveTo(x, y - ry);
        path.lineTo(x, y + ry);
        break;
    case MarkerCode::Cross:
        path.moveTo(x - rx, y - ry);
        path.lineTo(x + rx, y + ry);
        path.moveTo(x - rx, y + ry);
        path.lineTo(x + rx, y - ry);
        break;
    case MarkerCode::FilledTriangleUp:
    case MarkerCode::TriangleUp:
        path.moveTo(x - rx, y - kLow * ry);
        path.lineTo(x + rx, y - kLow * ry);
        path.lineTo(x, y + kHigh * ry);
        path.closeSubpath();
        break;
    case MarkerCode::FilledTriangleDown:
    case MarkerCode::TriangleDown:
        path.moveTo(x - rx, y + kLow * ry);
        path.lineTo(x + rx, y + kLow * ry);
        path.lineTo(x, y - kHigh * ry);
        path.closeSubpath();
        break;
    case MarkerCode::FilledDiamond:
    case MarkerCode::Diamond:
        path.moveTo(x - rx, y);
        path.lineTo(x, y - ry);
        path.lineTo(x + rx, y);
        path.lineTo(x, y + ry);
        path.closeSubpath();
        break;
    default: // the circles and every unknown code
        path.addEllipse(QRectF(x - rx, y - ry, 2.0f * rx, 2.0f * ry));
        break;
    }
    return path;
}

QPainterPath CGraphObject::constructPoint(MarkerCode code, float rx, float ry, float x, float y, const PlotFrame& frame)
{
    const QPointF centre = frame.toView(x, y);
    return constructPoint0(code, rx, ry, static_cast<float>(centre.x()), static_cast<float>(centre.y()));
}

float CGraphObject::markerRadius() const
{
    return 0.5f * mToolSizeFactor + (mHilited ? 3.0f : 2.0f);
}

QPainterPath CGraphObject::drawMarker(ViewCanvas& canvas, const PlotFrame& frame, float x, float y) const
{
    const float r = markerRadius();
    const QPainterPath outline = constructPoint(mSelector, r, r, x, y, frame);
    canvas.setColor(mColor);
    if (isFilledMarker(mSelector))
        canvas.fill(outline);
    else
        canvas.stroke(outline, 0.1f * mToolSizeFactor + 1.0f);
    return outline;
}

bool CGraphObject::isMarkerHit(QPointF point, const PlotFrame& frame, float x, float y) const
{
    const QPointF centre = frame.toView(x, y);
    const double tolerance = std::max(5.0f, markerRadius());
    return std::fabs(point.x() - centre.x()) <= tolerance && std::fabs(point.y() - centre.y()) <= tolerance;
}

} // namespace quorvel
