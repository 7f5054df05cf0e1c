// Plot view state, ranges, content and coordinates. The drawing is in CPlotViewDrawing.cpp.
#include "plot/CPlotView.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPointCurve.h"
#include "plot/PlotAxis.h"
#include "plot/PlotViewProvider.h"

#include "platform/UserDefaults.h"

#include <QPainter>

#include <cmath>
#include <map>
#include <typeinfo>

namespace quorvel {

CPlotView::CPlotView(const QRect& frame, QWidget* parent)
    : QWidget(parent)
    , mLegendObject(std::make_shared<CGraphLegend>())
    , mLabelsAttributes(TextAttributes::systemFont())
    , mTicksAttributes(TextAttributes::labelFont())
    , mLegendsAttributes(TextAttributes::labelFont())
    , backColor(UserDefaults::backColorMarginArea().value_or(Color::fromRgb(1.0, 1.0, 0.7)))
    , foreColor(UserDefaults::backColorPlotArea().value_or(Color::fromRgb(0.6, 1.0, 1.0)))
{
    setGeometry(frame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    mGraphObjects.reserve(10);
    // Made before the text attributes apply, the initial labels carry none.
    mXAxisLabel = AttributedText{QStringLiteral("Undefined"), std::nullopt};
    mYAxisLabel = AttributedText{QStringLiteral("Undefined"), std::nullopt};
    mLegendObject->setPlotView(this);
    mLegendObject->setHidden(true);
    buildMenus();
}

CPlotView::~CPlotView()
{
    if (mDrag == Drag::Legend && mUndoManager)
        mUndoManager->endUndoGrouping();
    // A document's undo manager outlives the view: it must not call back into it.
    if (mUndoManager)
        mUndoManager->removeAllActions(this);
    for (const GraphObjectPtr& object : mGraphObjects)
        detach(object.get());
    for (const GraphObjectPtr& object : mLegendObject->mRefObjectList())
        detach(object.get());
    mLegendObject->setPlotView(nullptr);
}

void CPlotView::detach(CGraphObject* object)
{
    if (object && object->getPlotView() == this)
        object->setPlotView(nullptr);
}

std::unique_ptr<CPlotView> CPlotView::copy() const
{
    auto view = std::make_unique<CPlotView>(QRect(QPoint(0, 0), size()));
    view->mXTickCount = mXTickCount;
    view->mYTickCount = mYTickCount;
    view->mXTickDigits = mXTickDigits;
    view->mYTickDigits = mYTickDigits;
    view->mXAxisLabel = mXAxisLabel;
    view->mYAxisLabel = mYAxisLabel;
    view->mShowLogX = mShowLogX;
    view->mShowLogY = mShowLogY;

    // The copy's legend lists the copies of the listed objects.
    std::map<const CGraphObject*, GraphObjectPtr> copies;
    for (const GraphObjectPtr& object : mGraphObjects) {
        GraphObjectPtr duplicate = object->copy();
        copies[object.get()] = duplicate;
        view->addGraphObject(duplicate);
    }
    auto legend = std::static_pointer_cast<CGraphLegend>(mLegendObject->copy());
    std::vector<GraphObjectPtr> listed;
    for (const GraphObjectPtr& object : legend->mRefObjectList()) {
        const auto it = copies.find(object.get());
        listed.push_back(it != copies.end() ? it->second : object);
    }
    legend->setMRefObjectList(listed);
    legend->setHidden(mLegendObject->isHidden());
    legend->setPlotView(view.get());
    view->mLegendObject = legend;

    view->setDefaultXYRange(mCurrentMinX, mCurrentMaxX, mCurrentMinY, mCurrentMaxY);
    view->setMaxXYRange(mMaxMinX, mMaxMaxX, mMaxMinY, mMaxMaxY);
    return view;
}

// --- Ranges

void CPlotView::setDefaultXYRange(float minX, float maxX, float minY, float maxY)
{
    mMinX = minX;
    mMaxX = maxX;
    mMinY = minY;
    mMaxY = maxY;
    mCurrentMinX = minX;
    mCurrentMaxX = maxX;
    mCurrentMinY = minY;
    mCurrentMaxY = maxY;
}

void CPlotView::setMaxXYRange(float minX, float maxX, float minY, float maxY)
{
    mMaxMinX = minX;
    mMaxMaxX = maxX;
    mMaxMinY = minY;
    mMaxMaxY = maxY;
}

void CPlotView::setXYRange(float minX, float maxX, float minY, float maxY)
{
    mCurrentMinX = minX;
    mCurrentMaxX = maxX;
    mCurrentMinY = minY;
    mCurrentMaxY = maxY;
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    if (panel->isWindowVisible())
        panel->updatePanel();
}

void CPlotView::adjustXYRange(float minX, float maxX, float minY, float maxY, float lowStep, float highStep)
{
    if (mMinX > minX)
        mMinX = widenedLowerBound(minX, lowStep);
    if (maxX > mMaxX)
        mMaxX = widenedUpperBound(maxX, highStep);
    if (mMinY > minY)
        mMinY = minY;
    if (maxY > mMaxY)
        mMaxY = maxY;
    setDefaultXYRange(mMinX, mMaxX, mMinY, mMaxY);
}

void CPlotView::getDefaultXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    minX = mMinX;
    maxX = mMaxX;
    minY = mMinY;
    maxY = mMaxY;
}

void CPlotView::getXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    minX = mCurrentMinX;
    maxX = mCurrentMaxX;
    minY = mCurrentMinY;
    maxY = mCurrentMaxY;
}

void CPlotView::getMaxXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    minX = mMaxMinX;
    maxX = mMaxMaxX;
    minY = mMaxMinY;
    maxY = mMaxMaxY;
}

// --- Ticks and labels

void CPlotView::setTicksNumber(int x, int y)
{
    mXTickCount = x;
    mYTickCount = y;
}

void CPlotView::setTicksDigits(int x, int y)
{
    mXTickDigits = x;
    mYTickDigits = y;
}

void CPlotView::setLabels(const QString& xLabel, const QString& yLabel)
{
    mXAxisLabel = AttributedText{xLabel, mLabelsAttributes};
    mYAxisLabel = AttributedText{yLabel, mLabelsAttributes};
}

// --- Content

void CPlotView::addGraphObject(const GraphObjectPtr& object)
{
    if (!object)
        return;
    mGraphObjects.push_back(object);
    object->setPlotView(this);
}

void CPlotView::removeGraphObject(CGraphObject* object)
{
    // Held until the object is off both lists, which may hold its last references.
    GraphObjectPtr keepAlive;
    using List = const std::vector<GraphObjectPtr>*;
    for (List list : std::initializer_list<List>{&mGraphObjects, &mLegendObject->mRefObjectList()})
        for (const GraphObjectPtr& listed : *list)
            if (listed.get() == object)
                keepAlive = listed;
    mLegendObject->removeReferenceObject(object);
    detach(object);
    std::erase_if(mGraphObjects, [object](const GraphObjectPtr& listed) { return listed.get() == object; });
    mSelectedObject = nullptr;
}

void CPlotView::purge()
{
    mSelectedObject = nullptr;
    for (const GraphObjectPtr& object : mGraphObjects)
        detach(object.get());
    mGraphObjects.clear();
    mLegendObject->purge();
}

template <class Predicate>
void CPlotView::purgeMatching(Predicate matches)
{
    std::vector<GraphObjectPtr> kept;
    for (const GraphObjectPtr& object : mGraphObjects) {
        if (!matches(*object)) {
            kept.push_back(object);
            continue;
        }
        // Purged objects leave the legend and the view too.
        mLegendObject->removeReferenceObject(object.get());
        detach(object.get());
        if (mSelectedObject == object.get())
            mSelectedObject = nullptr;
    }
    mGraphObjects = std::move(kept);
}

void CPlotView::purgeReferenceObjects()
{
    purgeMatching([](const CGraphObject& object) { return object.hasReferenceObject(); });
}

void CPlotView::purgeCurves()
{
    purgeMatching([](const CGraphObject& object) { return typeid(object) == typeid(CGraphCurve); });
}

void CPlotView::purgePointCurves()
{
    purgeMatching([](const CGraphObject& object) {
        return typeid(object) == typeid(CGraphPointCurve) && !object.hasReferenceObject();
    });
}

void CPlotView::includesIntoLegend(const GraphObjectPtr& object)
{
    mLegendObject->addReferenceObject(object);
}

void CPlotView::removeFromLegend(CGraphObject* object)
{
    mLegendObject->removeReferenceObject(object);
}

void CPlotView::setLegendPosition(float x, float y)
{
    mLegendObject->setHidden(false);
    mLegendObject->setPosition(x, y);
}

void CPlotView::setMLegend(const CGraphLegend& legend)
{
    mLegendObject->setPlotView(nullptr);
    mLegendObject = std::static_pointer_cast<CGraphLegend>(legend.copy());
    mLegendObject->setHidden(legend.isHidden());
    mLegendObject->setPlotView(this);
}

// --- Selection

void CPlotView::getSelectedPoint(float& x, float& y) const
{
    x = mSelectedPointX;
    y = mSelectedPointY;
}

void CPlotView::getSelection(float& x, float& y, CGraphObject*& object) const
{
    getSelectedPoint(x, y);
    object = mSelectedObject;
}

void CPlotView::showSelectionPoint(bool visible)
{
    mIsSelectingPointVisible = visible;
    update();
}

// --- Coordinates

QRectF CPlotView::getPlotRect() const
{
    const QRectF bounds = viewBounds();
    return QRectF(bounds.x() + mMarginLeft, bounds.y() + mMarginBottom, bounds.width() - (mMarginLeft + mMarginRight),
                  bounds.height() - (mMarginTop + mMarginBottom));
}

void CPlotView::calculateCoefficients()
{
    const QRectF plot = getPlotRect();
    const AxisCoefficients x = mShowLogX
        ? axisCoefficients(mLogXmin, mLogXmax, static_cast<float>(plot.x()), static_cast<float>(plot.width()))
        : axisCoefficients(mCurrentMinX, mCurrentMaxX, static_cast<float>(plot.x()), static_cast<float>(plot.width()));
    const AxisCoefficients y = mShowLogY
        ? axisCoefficients(mLogYmin, mLogYmax, static_cast<float>(plot.y()), static_cast<float>(plot.height()))
        : axisCoefficients(mCurrentMinY, mCurrentMaxY, static_cast<float>(plot.y()), static_cast<float>(plot.height()));
    mAx = x.a;
    mBx = x.b;
    mAy = y.a;
    mBy = y.b;
}

namespace {
float valueOfCoordinate(float u, bool logarithmic)
{
    return logarithmic ? static_cast<float>(std::pow(10.0, static_cast<double>(u))) : u;
}
} // namespace

float CPlotView::getXValue(float value) const
{
    return AxisTransform{mAx, mBx, mShowLogX, mLogXmin}.toView(value);
}

float CPlotView::getYValue(float value) const
{
    return AxisTransform{mAy, mBy, mShowLogY, mLogYmin}.toView(value);
}

PlotFrame CPlotView::plotFrame() const
{
    return PlotFrame{AxisTransform{mAx, mBx, mShowLogX, mLogXmin}, AxisTransform{mAy, mBy, mShowLogY, mLogYmin},
                     getPlotRect(), mLegendsAttributes};
}

float CPlotView::getXFromPixelValue(float pixel) const
{
    const float lo = mShowLogX ? mLogXmin : mCurrentMinX;
    return valueOfCoordinate(valueFromView(pixel, {mAx, mBx}, lo), mShowLogX);
}

float CPlotView::getYFromPixelValue(float pixel) const
{
    const float lo = mShowLogY ? mLogYmin : mCurrentMinY;
    return valueOfCoordinate(valueFromView(pixel, {mAy, mBy}, lo), mShowLogY);
}

PlotViewProvider* CPlotView::getDocument() const
{
    return PlotViewProvider::documentOfWindow(window());
}

void CPlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawView(painter);
}

void CPlotView::drawView(QPainter& painter)
{
    ViewCanvas canvas(painter, height());
    drawRect(canvas);
}

void CPlotView::drawForOutput(QPainter& painter)
{
    mIsPrinting = true;
    drawView(painter);
    mIsPrinting = false;
}

} // namespace quorvel
