#include "plot/PlotState.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPointCurve.h"
#include "plot/PlotAxis.h"

#include <initializer_list>
#include <map>
#include <utility>
#include <typeinfo>

namespace quorvel {

TextAttributes& PlotFonts::of(FontKind kind)
{
    return const_cast<TextAttributes&>(std::as_const(*this).of(kind));
}

const TextAttributes& PlotFonts::of(FontKind kind) const
{
    switch (kind) {
    case FontKind::Ticks: return ticks;
    case FontKind::Legends: return legends;
    case FontKind::Labels: break;
    }
    return labels;
}

PlotState::PlotState(CPlotView* owner)
    : mOwner(owner)
    , mFonts{TextAttributes::systemFont(), TextAttributes::labelFont(), TextAttributes::labelFont()}
    , mLegend(std::make_shared<CGraphLegend>())
{
    mObjects.reserve(10);
    // Made before any font applies, the initial labels carry none.
    mAxes.xLabel = AttributedText{QStringLiteral("Undefined"), std::nullopt};
    mAxes.yLabel = AttributedText{QStringLiteral("Undefined"), std::nullopt};
    mLegend->setPlotView(owner);
    mLegend->setHidden(true);
}

PlotState::~PlotState()
{
    for (const GraphObjectPtr& object : mObjects)
        detach(object.get());
    for (const GraphObjectPtr& object : mLegend->mRefObjectList())
        detach(object.get());
    mLegend->setPlotView(nullptr);
}

void PlotState::detach(CGraphObject* object)
{
    if (object && object->getPlotView() == mOwner)
        object->setPlotView(nullptr);
}

void PlotState::copyContentOf(const PlotState& source)
{
    mAxes.xTickCount = source.mAxes.xTickCount;
    mAxes.yTickCount = source.mAxes.yTickCount;
    mAxes.xTickDigits = source.mAxes.xTickDigits;
    mAxes.yTickDigits = source.mAxes.yTickDigits;
    mAxes.xLabel = source.mAxes.xLabel;
    mAxes.yLabel = source.mAxes.yLabel;
    mAxes.showLogX = source.mAxes.showLogX;
    mAxes.showLogY = source.mAxes.showLogY;

    // The copy's legend lists the copies of the listed objects.
    std::map<const CGraphObject*, GraphObjectPtr> copies;
    for (const GraphObjectPtr& object : source.mObjects) {
        GraphObjectPtr duplicate = object->copy();
        copies[object.get()] = duplicate;
        add(duplicate);
    }
    auto legend = std::static_pointer_cast<CGraphLegend>(source.mLegend->copy());
    std::vector<GraphObjectPtr> listed;
    for (const GraphObjectPtr& object : legend->mRefObjectList()) {
        const auto it = copies.find(object.get());
        listed.push_back(it != copies.end() ? it->second : object);
    }
    legend->setMRefObjectList(listed);
    legend->setHidden(source.mLegend->isHidden());
    legend->setPlotView(mOwner);
    mLegend = legend;

    setDefaultRange(source.mRanges.current);
    mRanges.maximum = source.mRanges.maximum;
}

// --- Ranges and labels

void PlotState::setDefaultRange(const XYRange& range)
{
    mRanges.defaults = range;
    mRanges.current = range;
}

void PlotState::adjustDefaultRange(const XYRange& bounds, float lowStep, float highStep)
{
    XYRange& d = mRanges.defaults;
    if (d.minX > bounds.minX)
        d.minX = widenedLowerBound(bounds.minX, lowStep);
    if (bounds.maxX > d.maxX)
        d.maxX = widenedUpperBound(bounds.maxX, highStep);
    if (d.minY > bounds.minY)
        d.minY = bounds.minY;
    if (bounds.maxY > d.maxY)
        d.maxY = bounds.maxY;
    setDefaultRange(d);
}

void PlotState::setLabels(const QString& xLabel, const QString& yLabel)
{
    mAxes.xLabel = AttributedText{xLabel, mFonts.labels};
    mAxes.yLabel = AttributedText{yLabel, mFonts.labels};
}

bool PlotState::hasTrackingRect() const
{
    const QRectF& r = mSelection.trackingRect;
    return !(r.x() == 0.0 && r.y() == 0.0 && r.width() == 0.0 && r.height() == 0.0);
}

// --- Objects

void PlotState::add(const GraphObjectPtr& object)
{
    if (!object)
        return;
    mObjects.push_back(object);
    object->setPlotView(mOwner);
}

void PlotState::remove(CGraphObject* object)
{
    // Held until the object is off both lists, which may hold its last references.
    GraphObjectPtr keepAlive;
    using List = const std::vector<GraphObjectPtr>*;
    for (List list : std::initializer_list<List>{&mObjects, &mLegend->mRefObjectList()})
        for (const GraphObjectPtr& listed : *list)
            if (listed.get() == object)
                keepAlive = listed;
    mLegend->removeReferenceObject(object);
    detach(object);
    std::erase_if(mObjects, [object](const GraphObjectPtr& listed) { return listed.get() == object; });
    mSelection.object = nullptr;
}

void PlotState::purge()
{
    mSelection.object = nullptr;
    for (const GraphObjectPtr& object : mObjects)
        detach(object.get());
    mObjects.clear();
    mLegend->purge();
}

template <class Predicate>
void PlotState::purgeMatching(Predicate matches)
{
    std::vector<GraphObjectPtr> kept;
    for (const GraphObjectPtr& object : mObjects) {
        if (!matches(*object)) {
            kept.push_back(object);
            continue;
        }
        // Purged objects leave the legend and the view too.
        mLegend->removeReferenceObject(object.get());
        detach(object.get());
        if (mSelection.object == object.get())
            mSelection.object = nullptr;
    }
    mObjects = std::move(kept);
}

void PlotState::purgeReferenceObjects()
{
    purgeMatching([](const CGraphObject& object) { return object.hasReferenceObject(); });
}

void PlotState::purgeCurves()
{
    purgeMatching([](const CGraphObject& object) { return typeid(object) == typeid(CGraphCurve); });
}

void PlotState::purgePointCurves()
{
    purgeMatching([](const CGraphObject& object) {
        return typeid(object) == typeid(CGraphPointCurve) && !object.hasReferenceObject();
    });
}

std::weak_ptr<CGraphObject> PlotState::handleOf(const CGraphObject* object) const
{
    if (object == mLegend.get())
        return mLegend;
    for (const GraphObjectPtr& listed : mObjects)
        if (listed.get() == object)
            return listed;
    return {};
}

// --- Legend

void PlotState::includeInLegend(const GraphObjectPtr& object)
{
    mLegend->addReferenceObject(object);
}

void PlotState::removeFromLegend(CGraphObject* object)
{
    mLegend->removeReferenceObject(object);
}

void PlotState::setLegendPosition(float x, float y)
{
    mLegend->setHidden(false);
    mLegend->setPosition(x, y);
}

} // namespace quorvel
