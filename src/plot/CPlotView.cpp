// The plot view as a widget: its parts, the ranges and settings the rest of the system
// sets, its events and its context menus.
#include "plot/CPlotView.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/PlotViewProvider.h"

#include "platform/NotificationCenter.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <typeinfo>

namespace quorvel {

CPlotView::CPlotView(const QRect& frame, QWidget* parent)
    : QWidget(parent)
    , mState(this)
    , mDrawing(*this, mState)
    , mChanges(*this, mState)
    , mCommands(*this, mState, mDrawing, mChanges)
    , mMouse(*this, mState, mDrawing, mCommands, mChanges)
{
    setGeometry(frame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    buildMenus();
}

CPlotView::~CPlotView() = default;

std::unique_ptr<CPlotView> CPlotView::copy() const
{
    auto view = std::make_unique<CPlotView>(QRect(QPoint(0, 0), size()));
    view->mState.copyContentOf(mState);
    return view;
}

// --- Ranges, ticks and selection

void CPlotView::setDefaultXYRange(float minX, float maxX, float minY, float maxY)
{
    mState.setDefaultRange({minX, maxX, minY, maxY});
}

void CPlotView::setMaxXYRange(float minX, float maxX, float minY, float maxY)
{
    mState.ranges().maximum = {minX, maxX, minY, maxY};
}

void CPlotView::setXYRange(float minX, float maxX, float minY, float maxY)
{
    mState.ranges().current = {minX, maxX, minY, maxY};
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    if (panel->isWindowVisible())
        panel->updatePanel();
}

void CPlotView::adjustXYRange(float minX, float maxX, float minY, float maxY, float lowStep, float highStep)
{
    mState.adjustDefaultRange({minX, maxX, minY, maxY}, lowStep, highStep);
}

namespace {
void getRange(const XYRange& range, float& minX, float& maxX, float& minY, float& maxY)
{
    minX = range.minX;
    maxX = range.maxX;
    minY = range.minY;
    maxY = range.maxY;
}
} // namespace

void CPlotView::getDefaultXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    getRange(mState.ranges().defaults, minX, maxX, minY, maxY);
}

void CPlotView::getXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    getRange(mState.ranges().current, minX, maxX, minY, maxY);
}

void CPlotView::getMaxXYRange(float& minX, float& maxX, float& minY, float& maxY) const
{
    getRange(mState.ranges().maximum, minX, maxX, minY, maxY);
}

void CPlotView::setTicksNumber(int x, int y)
{
    mState.axes().xTickCount = x;
    mState.axes().yTickCount = y;
}

void CPlotView::setTicksDigits(int x, int y)
{
    mState.axes().xTickDigits = x;
    mState.axes().yTickDigits = y;
}

void CPlotView::getSelectedPoint(float& x, float& y) const
{
    x = mState.selection().pointX;
    y = mState.selection().pointY;
}

void CPlotView::showSelectionPoint(bool visible)
{
    mState.selection().pointVisible = visible;
    update();
}

void CPlotView::notifyObjectSelection()
{
    NotificationCenter::defaultCenter().postNotification(QStringLiteral("PlotSelection"), this);
}

PlotViewProvider* CPlotView::getDocument() const
{
    return PlotViewProvider::documentOfWindow(window());
}

// --- Drawing

void CPlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawView(painter);
}

void CPlotView::drawView(QPainter& painter)
{
    ViewCanvas canvas(painter, height());
    mDrawing.draw(canvas);
}

void CPlotView::drawForOutput(QPainter& painter)
{
    mDrawing.setPrinting(true);
    drawView(painter);
    mDrawing.setPrinting(false);
}

// --- Mouse

QPointF CPlotView::viewPoint(QPointF widgetPosition) const
{
    return {widgetPosition.x(), height() - widgetPosition.y()};
}

void CPlotView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    mMouse.mouseDown(viewPoint(event->position()), 1);
}

void CPlotView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    mMouse.mouseDown(viewPoint(event->position()), 2);
}

void CPlotView::mouseMoveEvent(QMouseEvent* event)
{
    if (!mMouse.isDragging()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    mMouse.dragTo(viewPoint(event->position()));
}

void CPlotView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !mMouse.isDragging()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    mMouse.mouseUp(viewPoint(event->position()));
}

// --- Menus

void CPlotView::buildMenus()
{
    using enum PlotCommand;
    constexpr std::optional<PlotCommand> separator;
    mPlotMenu = mCommands.makeMenu(tr("Plot"), {ZoomIn, ZoomOut, ShowAxisRangePanel, AxisRangesByDefault,
                                                LabelFontSettings, GraduationFontSettings, ToggleShowLogX,
                                                ToggleShowLogY, separator, PrintPlot, separator, OpenNewPlotWindow});
    mCurvesMenu = mCommands.makeMenu(tr("Curves"), {NormalThickness, DoubleThickness, TripleThickness, separator,
                                                    GraphObjectColor, separator, CurvesSettingsPanel, separator,
                                                    ExportCurveData});
    mPointsMenu = mCommands.makeMenu(tr("Points"), {IncreasePointSize, DecreasePointSize, separator, GraphObjectColor,
                                                    separator, PointsSettingsPanel});
    mFontsMenu = mCommands.makeMenu(tr("Texts"), {GraphObjectFont});
}

QAction* CPlotView::addMenuItem(QMenu* menu, const QString& title, PlotCommand command)
{
    return mCommands.addMenuItem(menu, title, command);
}

bool CPlotView::validateMenuItem(QAction* item)
{
    return mCommands.validate(*item);
}

QMenu* CPlotView::menuForEvent(QPointF point)
{
    testClickedGraphObject(point);
    const CGraphObject* selected = mState.selection().object;
    if (!selected)
        return mPlotMenu;
    const std::type_info& type = typeid(*selected);
    if (type == typeid(CGraphCurve))
        return mCurvesMenu;
    if (type == typeid(CGraphPoint) || type == typeid(CGraphPointCurve))
        return mPointsMenu;
    return nullptr;
}

void CPlotView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = menuForEvent(viewPoint(event->pos()));
    update();
    if (menu)
        menu->exec(event->globalPos());
}

} // namespace quorvel
