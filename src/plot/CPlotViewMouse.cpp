// Mouse interaction of a plot view: the hit test, selection and highlights, the status
// line, the legend drag and the zoom rectangle. A drag runs from the press to the
// release of the left button; the view keeps what the press started until then.
#include "plot/CPlotView.h"

#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPointCurve.h"

#include "widgets/ColorPanel.h"
#include "widgets/StringFormat.h"

#include "platform/NotificationCenter.h"

#include <QMouseEvent>

#include <cmath>

namespace quorvel {

namespace {

bool isZero(const QRectF& r)
{
    return r.x() == 0.0 && r.y() == 0.0 && r.width() == 0.0 && r.height() == 0.0;
}

// Redisplay of a rectangle in view coordinates, with a margin for its frame line.
QRect widgetArea(const QRectF& r, int viewHeight)
{
    return QRectF(r.x(), viewHeight - r.y() - r.height(), r.width(), r.height()).toAlignedRect().adjusted(-2, -2, 2, 2);
}

template <class T>
bool isA(const CGraphObject* object)
{
    return dynamic_cast<const T*>(object) != nullptr;
}

} // namespace

bool CPlotView::hasTrackingRect() const
{
    return !isZero(mTrackingRect);
}

QPointF CPlotView::viewPoint(QPointF widgetPosition) const
{
    return {widgetPosition.x(), height() - widgetPosition.y()};
}

bool CPlotView::testClickedGraphObject(QPointF p)
{
    const bool inPlotArea = mMarginLeft <= p.x() && p.x() <= width() - mMarginRight && mMarginBottom <= p.y()
                            && p.y() <= height() - mMarginTop;
    if (!inPlotArea) {
        mIsSelectingPointVisible = false;
        mSelectedObject = nullptr;
        return false;
    }
    mIsSelectingPointVisible = true;
    double x = (p.x() - mBx) / mAx;
    double y = (p.y() - mBy) / mAy;
    if (mShowLogX)
        x = std::pow(10.0, x);
    if (mShowLogY)
        y = std::pow(10.0, y);
    mSelectedPointX = static_cast<float>(x);
    mSelectedPointY = static_cast<float>(y);

    // The last object hit in drawing order wins; the former selection loses its highlight.
    CGraphObject* const old = mSelectedObject;
    const PlotFrame frame = plotFrame();
    bool hit = false;
    for (const GraphObjectPtr& object : mGraphObjects) {
        if (!object->isHit(p, frame))
            continue;
        if (old)
            old->setHilited(false);
        mSelectedObject = object.get();
        hit = true;
    }
    if (hit)
        return true;
    if (mLegendObject->isHit(p, frame)) {
        mIsSelectingPointVisible = false;
        mSelectedObject = mLegendObject.get();
        return true;
    }
    mSelectedObject = nullptr;
    return false;
}

void CPlotView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    mouseDown(viewPoint(event->position()), 1);
}

void CPlotView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    mouseDown(viewPoint(event->position()), 2);
}

void CPlotView::mouseMoveEvent(QMouseEvent* event)
{
    if (mDrag == Drag::None) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    dragTo(viewPoint(event->position()));
}

void CPlotView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || mDrag == Drag::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    mouseUp(viewPoint(event->position()));
}

void CPlotView::mouseDown(QPointF p, int clicks)
{
    // A drag whose release never came ends here, closing its undo group.
    if (mDrag == Drag::Legend)
        undoManager()->endUndoGrouping();
    mDrag = Drag::None;
    mPressSelectedPointX = mSelectedPointX;
    mPressSelectedPointY = mSelectedPointY;
    testClickedGraphObject(p);
    CGraphObject* const selected = mSelectedObject;
    const bool isLegend = selected && selected == mLegendObject.get();

    if (selected && clicks > 1) {
        if (isA<CGraphCurve>(selected)) {
            onCurvesSettingsPanel(nullptr);
            update();
            return;
        }
        if (isA<CGraphPoint>(selected) || isA<CGraphPointCurve>(selected) || isA<CGraphStringPointCurve>(selected)) {
            onPointsSettingsPanel(nullptr);
            update();
            return;
        }
    } else if (!selected) {
        hilite(nullptr);
    } else if (isA<CGraphCurve>(selected) || isA<CGraphPoint>(selected) || isA<CGraphPointCurve>(selected)) {
        selected->setHilited(true);
        writeStatus(selected->name(), 1);
        updateColorPanel();
        notifyObjectSelection();
        update();
        return;
    } else if (auto* labelled = dynamic_cast<CGraphStringPointCurve*>(selected)) {
        labelled->setHilited(true);
        writeStatus(labelled->getHitPointName(), 1);
        updateColorPanel();
        notifyObjectSelection();
        update();
        return;
    } else if (isLegend) {
        selected->setHilited(true);
        update();
    }

    // Drag stage: the legend where it was grabbed, otherwise a zoom rectangle.
    mPressPoint = p;
    mDragMoved = false;
    if (isLegend && mLegendObject->isHit(p, plotFrame()))
        beginLegendDrag(p);
    else
        beginZoomRectangle(p);
}

void CPlotView::beginLegendDrag(QPointF p)
{
    mLegendObject->setHilited(true);
    undoManager()->beginUndoGrouping();
    float lx = 0.0f;
    float ly = 0.0f;
    mLegendObject->getPosition(lx, ly);
    mGrabOffset = p - QPointF(getXValue(lx), getYValue(ly));
    mDrag = Drag::Legend;
}

void CPlotView::beginZoomRectangle(QPointF p)
{
    mPreviousDragPoint = p;
    if (hasTrackingRect()) {
        const QRectF old = mTrackingRect;
        mTrackingRect = QRectF();
        update(widgetArea(old, height()));
        if (mDrawPlotView)
            mDrawPlotView->setEnabledZoomingControls(false);
    }
    mDrag = Drag::Zoom;
}

void CPlotView::dragTo(QPointF p)
{
    if (mDrag == Drag::Legend) {
        // An event at the press point itself leaves the legend where it is.
        if (p != mPressPoint) {
            const float x = getXFromPixelValue(static_cast<float>(p.x() - mGrabOffset.x()));
            const float y = getYFromPixelValue(static_cast<float>(p.y() - mGrabOffset.y()));
            doChangeLegendPosition(x, y, 0.0f, 0.0f);
        }
        return;
    }
    if (mDrag != Drag::Zoom || p == mPreviousDragPoint)
        return;
    const QPointF p0 = mPressPoint;
    const QRectF r(std::min(p0.x(), p.x()), std::min(p0.y(), p.y()), std::fabs(p.x() - p0.x()),
                   std::fabs(p.y() - p0.y()));
    if (r != mTrackingRect) {
        mIsSelectingPointVisible = false;
        const QRectF old = mTrackingRect;
        mTrackingRect = r;
        update(widgetArea(old.united(r), height()));
    }
    mPreviousDragPoint = p;
    mDragMoved = true;
}

void CPlotView::mouseUp(QPointF p)
{
    dragTo(p);
    const Drag drag = mDrag;
    mDrag = Drag::None;
    if (drag == Drag::Legend) {
        mLegendObject->setHilited(false);
        undoManager()->endUndoGrouping();
        update();
        return;
    }
    // A rectangle without width or height can zoom nowhere: it is dropped.
    if (mTrackingRect.width() <= 0.0 || mTrackingRect.height() <= 0.0)
        mTrackingRect = QRectF();
    if (hasTrackingRect() && mDrawPlotView)
        mDrawPlotView->setEnabledZoomingControls(true);
    if (mDragMoved) {
        mSelectedPointX = mPressSelectedPointX;
        mSelectedPointY = mPressSelectedPointY;
        mIsSelectingPointVisible = true;
        update();
        return;
    }
    if (mIsSelectingPointVisible) {
        writeStatus(std::nullopt, 1);
    } else {
        mSelectedPointX = 0.0f;
        mSelectedPointY = 0.0f;
        if (mDrawPlotView)
            mDrawPlotView->setStatusMessage(QString());
    }
    notifyObjectSelection();
    update();
}

void CPlotView::doChangeLegendPosition(float x, float y, float dx, float dy)
{
    float ox = 0.0f;
    float oy = 0.0f;
    mLegendObject->getPosition(ox, oy);
    undoManager()->registerInverse(
        this, tr("Move Of Legend"),
        [this, dx, dy](QPointF previous) {
            doChangeLegendPosition(static_cast<float>(previous.x()), static_cast<float>(previous.y()), dx, dy);
        },
        QPointF(ox, oy));
    mLegendObject->setPosition(x - dx, y - dy);
    update();
}

void CPlotView::writeStatus(const std::optional<QString>& name, int extraDigits)
{
    if (!mDrawPlotView)
        return;
    const double x = mSelectedPointX;
    const double y = mSelectedPointY;
    const int xDigits = mXTickDigits + extraDigits;
    const int yDigits = mYTickDigits + extraDigits;
    const QString& xLabel = mXAxisLabel.string;
    const QString& yLabel = mYAxisLabel.string;
    const QString text = name ? formatString("%@ : %@ = %.*f, %@ = %.*f", *name, xLabel, xDigits, x, yLabel, yDigits, y)
                              : formatString("%@ = %.*f, %@ = %.*f", xLabel, xDigits, x, yLabel, yDigits, y);
    mDrawPlotView->setStatusMessage(text);
}

void CPlotView::updateStatusMessage()
{
    writeStatus(std::nullopt, 0);
}

void CPlotView::notifyObjectSelection()
{
    NotificationCenter::defaultCenter().postNotification(QStringLiteral("PlotSelection"), this);
}

void CPlotView::hilite(CGraphObject* object)
{
    for (const GraphObjectPtr& listed : mGraphObjects)
        listed->setHilited(listed.get() == object);
    update();
}

void CPlotView::hilite1(CGraphObject* object)
{
    if (object)
        object->setHilited(true);
}

void CPlotView::setSelectedPoint(float x, float y)
{
    mSelectedPointX = x;
    mSelectedPointY = y;
    update();
}

void CPlotView::adjustSelectionPoint(const CGraphPoint& point)
{
    setSelectedPoint(point.getX(), point.getY());
}

void CPlotView::updateColorPanel()
{
    ColorPanel& panel = ColorPanel::shared();
    if (!mSelectedObject || !panel.isVisible())
        return;
    if (const std::optional<Color>& color = mSelectedObject->color())
        panel.setColor(*color);
    // The panel's changes now go to the object selected here.
    panel.setTarget(this, [this](const Color& color) { changeColor(color); });
}

void CPlotView::changeColor(const Color& color)
{
    if (!mSelectedObject)
        return;
    mSelectedObject->setColor(color);
    update();
}

} // namespace quorvel
