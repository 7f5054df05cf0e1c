#include "plot/PlotMouse.h"

#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPlotView.h"
#include "plot/PlotChanges.h"
#include "plot/PlotCommands.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotState.h"

#include "widgets/StringFormat.h"

#include <cmath>

namespace quorvel {

namespace {

template <class T>
bool isA(const CGraphObject* object)
{
    return dynamic_cast<const T*>(object) != nullptr;
}

} // namespace

PlotMouse::PlotMouse(CPlotView& view, PlotState& state, const PlotDrawing& drawing, PlotCommands& commands,
                     PlotChanges& changes)
    : mView(view)
    , mState(state)
    , mDrawing(drawing)
    , mCommands(commands)
    , mChanges(changes)
{
}

PlotMouse::~PlotMouse()
{
    // A legend drag cut short leaves no group open on the document's undo manager.
    if (UndoManager* undo = mChanges.documentUndoManager(); mDrag == Drag::Legend && undo)
        undo->endUndoGrouping();
}

bool PlotMouse::testClickedGraphObject(QPointF p)
{
    const PlotGeometry& g = mDrawing.geometry();
    PlotSelection& selection = mState.selection();
    const bool inPlotArea = g.marginLeft <= p.x() && p.x() <= mView.width() - g.marginRight
                            && g.marginBottom <= p.y() && p.y() <= mView.height() - g.marginTop;
    if (!inPlotArea) {
        selection.pointVisible = false;
        selection.object = nullptr;
        return false;
    }
    selection.pointVisible = true;
    double x = (p.x() - g.bx) / g.ax;
    double y = (p.y() - g.by) / g.ay;
    if (mState.axes().showLogX)
        x = std::pow(10.0, x);
    if (mState.axes().showLogY)
        y = std::pow(10.0, y);
    selection.pointX = static_cast<float>(x);
    selection.pointY = static_cast<float>(y);

    // The last object hit in drawing order wins; the former selection loses its highlight.
    CGraphObject* const old = selection.object;
    const PlotFrame frame = mDrawing.plotFrame();
    bool hit = false;
    for (const GraphObjectPtr& object : mState.objects()) {
        if (!object->isHit(p, frame))
            continue;
        if (old)
            old->setHilited(false);
        selection.object = object.get();
        hit = true;
    }
    if (hit)
        return true;
    if (mState.legend().isHit(p, frame)) {
        selection.pointVisible = false;
        selection.object = &mState.legend();
        return true;
    }
    selection.object = nullptr;
    return false;
}

void PlotMouse::mouseDown(QPointF p, int clicks)
{
    // A drag whose release never came ends here, closing its undo group.
    if (mDrag == Drag::Legend)
        mChanges.undoManager()->endUndoGrouping();
    mDrag = Drag::None;
    mPressSelectedPointX = mState.selection().pointX;
    mPressSelectedPointY = mState.selection().pointY;
    testClickedGraphObject(p);
    CGraphObject* const selected = mState.selection().object;
    if (answerSelection(selected, clicks))
        return;

    // Drag stage: the legend where it was grabbed, otherwise a zoom rectangle.
    mPressPoint = p;
    mDragMoved = false;
    if (selected == &mState.legend() && mState.legend().isHit(p, mDrawing.plotFrame()))
        beginLegendDrag(p);
    else
        beginZoomRectangle(p);
}

bool PlotMouse::answerSelection(CGraphObject* selected, int clicks)
{
    if (selected && clicks > 1) {
        if (isA<CGraphCurve>(selected)) {
            mCommands.perform(PlotCommand::CurvesSettingsPanel);
            mView.update();
            return true;
        }
        if (isA<CGraphPoint>(selected) || isA<CGraphPointCurve>(selected) || isA<CGraphStringPointCurve>(selected)) {
            mCommands.perform(PlotCommand::PointsSettingsPanel);
            mView.update();
            return true;
        }
        return false;
    }
    if (!selected) {
        hilite(nullptr);
        return false;
    }
    std::optional<QString> name;
    if (isA<CGraphCurve>(selected) || isA<CGraphPoint>(selected) || isA<CGraphPointCurve>(selected))
        name = selected->name();
    else if (auto* labelled = dynamic_cast<CGraphStringPointCurve*>(selected))
        name = labelled->getHitPointName();
    if (name) {
        selected->setHilited(true);
        writeStatus(name, 1);
        mCommands.updateColorPanel();
        mView.notifyObjectSelection();
        mView.update();
        return true;
    }
    if (selected == &mState.legend()) {
        selected->setHilited(true);
        mView.update();
    }
    return false;
}

void PlotMouse::beginLegendDrag(QPointF p)
{
    CGraphLegend& legend = mState.legend();
    legend.setHilited(true);
    mChanges.undoManager()->beginUndoGrouping();
    float lx = 0.0f;
    float ly = 0.0f;
    legend.getPosition(lx, ly);
    mGrabOffset = p - QPointF(mDrawing.getXValue(lx), mDrawing.getYValue(ly));
    mDrag = Drag::Legend;
}

void PlotMouse::redrawViewArea(const QRectF& r)
{
    // In widget coordinates, with a margin for the rectangle's frame line.
    const QRectF area(r.x(), mView.height() - r.y() - r.height(), r.width(), r.height());
    mView.update(area.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void PlotMouse::beginZoomRectangle(QPointF p)
{
    mPreviousDragPoint = p;
    if (mState.hasTrackingRect()) {
        const QRectF old = mState.selection().trackingRect;
        mState.selection().trackingRect = QRectF();
        redrawViewArea(old);
        if (CDrawPlotView* frame = mView.drawPlotView())
            frame->setEnabledZoomingControls(false);
    }
    mDrag = Drag::Zoom;
}

void PlotMouse::dragTo(QPointF p)
{
    if (mDrag == Drag::Legend) {
        // An event at the press point itself leaves the legend where it is.
        if (p != mPressPoint) {
            const float x = mDrawing.getXFromPixelValue(static_cast<float>(p.x() - mGrabOffset.x()));
            const float y = mDrawing.getYFromPixelValue(static_cast<float>(p.y() - mGrabOffset.y()));
            mChanges.doChangeLegendPosition(x, y, 0.0f, 0.0f);
        }
        return;
    }
    if (mDrag != Drag::Zoom || p == mPreviousDragPoint)
        return;
    const QPointF p0 = mPressPoint;
    const QRectF r(std::min(p0.x(), p.x()), std::min(p0.y(), p.y()), std::fabs(p.x() - p0.x()),
                   std::fabs(p.y() - p0.y()));
    PlotSelection& selection = mState.selection();
    if (r != selection.trackingRect) {
        selection.pointVisible = false;
        const QRectF old = selection.trackingRect;
        selection.trackingRect = r;
        redrawViewArea(old.united(r));
    }
    mPreviousDragPoint = p;
    mDragMoved = true;
}

void PlotMouse::mouseUp(QPointF p)
{
    dragTo(p);
    const Drag drag = mDrag;
    mDrag = Drag::None;
    if (drag == Drag::Legend) {
        mState.legend().setHilited(false);
        mChanges.undoManager()->endUndoGrouping();
        mView.update();
        return;
    }
    PlotSelection& selection = mState.selection();
    // A rectangle without width or height can zoom nowhere: it is dropped.
    if (selection.trackingRect.width() <= 0.0 || selection.trackingRect.height() <= 0.0)
        selection.trackingRect = QRectF();
    CDrawPlotView* frame = mView.drawPlotView();
    if (mState.hasTrackingRect() && frame)
        frame->setEnabledZoomingControls(true);
    if (mDragMoved) {
        selection.pointX = mPressSelectedPointX;
        selection.pointY = mPressSelectedPointY;
        selection.pointVisible = true;
        mView.update();
        return;
    }
    if (selection.pointVisible) {
        writeStatus(std::nullopt, 1);
    } else {
        selection.pointX = 0.0f;
        selection.pointY = 0.0f;
        if (frame)
            frame->setStatusMessage(QString());
    }
    mView.notifyObjectSelection();
    mView.update();
}

void PlotMouse::writeStatus(const std::optional<QString>& name, int extraDigits)
{
    CDrawPlotView* frame = mView.drawPlotView();
    if (!frame)
        return;
    const double x = mState.selection().pointX;
    const double y = mState.selection().pointY;
    const AxisSettings& axes = mState.axes();
    const int xDigits = axes.xTickDigits + extraDigits;
    const int yDigits = axes.yTickDigits + extraDigits;
    const QString& xLabel = axes.xLabel.string;
    const QString& yLabel = axes.yLabel.string;
    const QString text = name ? formatString("%@ : %@ = %.*f, %@ = %.*f", *name, xLabel, xDigits, x, yLabel, yDigits, y)
                              : formatString("%@ = %.*f, %@ = %.*f", xLabel, xDigits, x, yLabel, yDigits, y);
    frame->setStatusMessage(text);
}

void PlotMouse::updateStatusMessage()
{
    writeStatus(std::nullopt, 0);
}

void PlotMouse::hilite(CGraphObject* object)
{
    for (const GraphObjectPtr& listed : mState.objects())
        listed->setHilited(listed.get() == object);
    mView.update();
}

void PlotMouse::hilite1(CGraphObject* object)
{
    if (object)
        object->setHilited(true);
}

void PlotMouse::setSelectedPoint(float x, float y)
{
    mState.selection().pointX = x;
    mState.selection().pointY = y;
    mView.update();
}

void PlotMouse::adjustSelectionPoint(const CGraphPoint& point)
{
    setSelectedPoint(point.getX(), point.getY());
}

} // namespace quorvel
