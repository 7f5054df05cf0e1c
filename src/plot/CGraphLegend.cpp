#include "plot/CGraphLegend.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/PlotFrame.h"

#include <algorithm>
#include <typeinfo>

namespace quorvel {

namespace {
constexpr double kFramePadding = 3.0; // between the bounds and the highlight's frame
} // namespace

CGraphLegend::CGraphLegend()
{
    mSelectable = true;
}

void CGraphLegend::addReferenceObject(const GraphObjectPtr& object)
{
    if (object)
        mRefObjects.push_back(object);
}

void CGraphLegend::removeReferenceObject(const CGraphObject* object)
{
    std::erase_if(mRefObjects, [object](const GraphObjectPtr& listed) { return listed.get() == object; });
}

void CGraphLegend::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden)
        return; // the former extent stays
    canvas.save();
    canvas.setColor(mColor);
    const QPointF anchor = frame.toView(mX, mY);
    const TextAttributes& attributes = frame.legendsAttributes;
    const float x = static_cast<float>(anchor.x());
    float y = static_cast<float>(anchor.y());
    mWidth = 0.0f;
    mHeight = 0.0f;

    // From the last included to the first, each row above the previous one.
    for (auto it = mRefObjects.rbegin(); it != mRefObjects.rend(); ++it) {
        const CGraphObject& object = **it;
        const QString text = object.name().value_or(QStringLiteral("Untitled"));
        const QSizeF size = textSize(text, attributes);
        const float w = static_cast<float>(size.width());
        const float h = static_cast<float>(size.height());
        const std::type_info& type = typeid(object);
        if (type == typeid(CGraphCurve)) {
            canvas.setColor(object.color());
            // The sample is as thick as the curve draws its line.
            canvas.strokeLine({x, y + 0.5f * h}, {x + 20.0f, y + 0.5f * h}, object.size());
        } else if (type == typeid(CGraphPoint) || type == typeid(CGraphPointCurve)) {
            const float f = object.getToolSizeFactor();
            const float r = 0.5f * f + 2.0f;
            const QPainterPath marker = constructPoint0(object.selector(), r, r, x + 8.0f - 0.5f * f, y + 0.5f * h);
            canvas.setColor(object.color());
            if (isFilledMarker(object.selector()))
                canvas.fill(marker);
            else
                canvas.stroke(marker, 0.1f * mToolSizeFactor + 1.0f);
        } else {
            continue; // labelled points, labelled marker lists and texts get no row
        }
        canvas.drawText(text, attributes, {x + 30.0f, y});
        y += h + 2.0f;
        mWidth = std::max(mWidth, w + 30.0f);
        mHeight += h + 6.0f;
    }
    mHeight -= 6.0f;

    if (mHilited) {
        canvas.setColor(Color::black());
        canvas.fill(QRectF(anchor.x() - 5.0, anchor.y() - 5.0, 10.0, 10.0));
        // The dashed frame keeps clear of the row texts, whose last letter ends at the
        // right edge of the bounds.
        QPainterPath outline;
        outline.addRect(getBounds(frame).adjusted(-kFramePadding, -kFramePadding, kFramePadding, kFramePadding));
        canvas.stroke(outline, 1.0, {5.0, 2.0}, 0.0);
    }
    canvas.restore();
}

QRectF CGraphLegend::getBounds(const PlotFrame& frame) const
{
    const QPointF origin = frame.toView(mX, mY);
    return QRectF(origin.x(), origin.y(), mWidth, mHeight);
}

bool CGraphLegend::isHit(QPointF point, const PlotFrame& frame) const
{
    if (mHidden || !mSelectable)
        return false;
    const QRectF bounds = getBounds(frame);
    // Inside as an unflipped view sees it: the left and top edges are in, the right and
    // bottom edges out.
    return point.x() >= bounds.x() && point.x() < bounds.x() + bounds.width() && point.y() > bounds.y()
           && point.y() <= bounds.y() + bounds.height();
}

std::shared_ptr<CGraphObject> CGraphLegend::copy() const
{
    auto legend = std::make_shared<CGraphLegend>();
    copyTextInto(*legend);
    legend->mRefObjects = mRefObjects;
    return legend;
}

} // namespace quorvel
