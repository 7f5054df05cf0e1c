// Commands of a plot view: its four context menus and their validation, zooms, default
// and maximum ranges, logarithmic axes, grid, fonts, line thickness, marker size,
// colours, the settings panels, curve and PDF export and a copy in a new window, with
// the undoable primitives they use.
#include "plot/CPlotView.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CCurveSettingsWindow.h"
#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPointSettingsWindow.h"
#include "widgets/ColorPanel.h"
#include "widgets/FontPanel.h"
#include "plot/PlotFiles.h"

#include "platform/AlertService.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>
#include <typeinfo>

namespace quorvel {

namespace {

const char* const kCommandProperty = "plotCommand";

// The new range of one axis when the whole axis is squeezed into the part from `k`
// (the rectangle's start, in rectangle widths from the plot's start) over `ratio`
// (plot width over rectangle width). A logarithmic axis is squeezed in decades.
struct AxisRange {
    float min;
    float max;
};

AxisRange zoomedOut(float currentMin, float currentMax, bool logarithmic, float logMin, float logMax, float k,
                    float ratio)
{
    if (!logarithmic) {
        const float min = currentMin - (currentMax - currentMin) * k;
        return {min, ratio * (currentMax - currentMin) + min};
    }
    const float min = logMin - (logMax - logMin) * k;
    const float max = ratio * (logMax - logMin) + min;
    return {static_cast<float>(std::pow(10.0, min)), static_cast<float>(std::pow(10.0, max))};
}

void clampToMaximum(AxisRange& range, float maxMin, float maxMax)
{
    if (maxMin > range.min)
        range.min = maxMin;
    if (range.max > maxMax)
        range.max = maxMax;
}

bool isUsable(const AxisRange& range)
{
    return std::isfinite(range.min) && std::isfinite(range.max) && range.min < range.max;
}

} // namespace

// --- Undo

UndoManager* CPlotView::undoManager()
{
    if (mUndoManager)
        return mUndoManager;
    if (!mOwnUndoManager)
        mOwnUndoManager = new UndoManager(this);
    return mOwnUndoManager;
}

void CPlotView::setUndoManager(UndoManager* manager)
{
    if (mUndoManager && mUndoManager != manager)
        mUndoManager->removeAllActions(this);
    mUndoManager = manager;
}

std::weak_ptr<CGraphObject> CPlotView::handleOf(const CGraphObject* object) const
{
    if (object == mLegendObject.get())
        return mLegendObject;
    for (const GraphObjectPtr& listed : mGraphObjects)
        if (listed.get() == object)
            return listed;
    return {};
}

// --- Menus

void CPlotView::buildMenus()
{
    auto makeMenu = [this](const QString& title) {
        auto* menu = new QMenu(title, this);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* item : menu->actions())
                if (!item->isSeparator())
                    item->setEnabled(validateMenuItem(item));
        });
        return menu;
    };

    mPlotMenu = makeMenu(tr("Plot"));
    addMenuItem(mPlotMenu, tr("Zoom in"), PlotCommand::ZoomIn);
    addMenuItem(mPlotMenu, tr("Zoom out"), PlotCommand::ZoomOut);
    addMenuItem(mPlotMenu, tr("Set Axis ranges..."), PlotCommand::ShowAxisRangePanel);
    addMenuItem(mPlotMenu, tr("Axis ranges by default..."), PlotCommand::AxisRangesByDefault);
    addMenuItem(mPlotMenu, tr("Axis label font..."), PlotCommand::LabelFontSettings);
    addMenuItem(mPlotMenu, tr("Axis graduation font..."), PlotCommand::GraduationFontSettings);
    addMenuItem(mPlotMenu, tr("Logarithmic X axis"), PlotCommand::ToggleShowLogX);
    addMenuItem(mPlotMenu, tr("Logarithmic Y axis"), PlotCommand::ToggleShowLogY);
    mPlotMenu->addSeparator();
    addMenuItem(mPlotMenu, tr("Save as PDF..."), PlotCommand::PrintPlot);
    mPlotMenu->addSeparator();
    addMenuItem(mPlotMenu, tr("Open in a new window..."), PlotCommand::OpenNewPlotWindow);

    mCurvesMenu = makeMenu(tr("Curves"));
    addMenuItem(mCurvesMenu, tr("Normal thickness"), PlotCommand::NormalThickness);
    addMenuItem(mCurvesMenu, tr("Double thickness"), PlotCommand::DoubleThickness);
    addMenuItem(mCurvesMenu, tr("Triple thickness"), PlotCommand::TripleThickness);
    mCurvesMenu->addSeparator();
    addMenuItem(mCurvesMenu, tr("Color..."), PlotCommand::GraphObjectColor);
    mCurvesMenu->addSeparator();
    addMenuItem(mCurvesMenu, tr("Settings panel..."), PlotCommand::CurvesSettingsPanel);
    mCurvesMenu->addSeparator();
    addMenuItem(mCurvesMenu, tr("Save to file..."), PlotCommand::ExportCurveData);

    mPointsMenu = makeMenu(tr("Points"));
    addMenuItem(mPointsMenu, tr("Increase size"), PlotCommand::IncreasePointSize);
    addMenuItem(mPointsMenu, tr("Decrease size"), PlotCommand::DecreasePointSize);
    mPointsMenu->addSeparator();
    addMenuItem(mPointsMenu, tr("Color..."), PlotCommand::GraphObjectColor);
    mPointsMenu->addSeparator();
    addMenuItem(mPointsMenu, tr("Settings panel..."), PlotCommand::PointsSettingsPanel);

    mFontsMenu = makeMenu(tr("Texts"));
    addMenuItem(mFontsMenu, tr("Font"), PlotCommand::GraphObjectFont);
}

QAction* CPlotView::addMenuItem(QMenu* menu, const QString& title, PlotCommand command)
{
    QAction* item = menu->addAction(title);
    item->setProperty(kCommandProperty, static_cast<int>(command));
    connect(item, &QAction::triggered, this, [this, item, command] { perform(command, item); });
    return item;
}

void CPlotView::perform(PlotCommand command, QObject* sender)
{
    switch (command) {
    case PlotCommand::ZoomIn: onZoomIn(sender); break;
    case PlotCommand::ZoomOut: onZoomOut(sender); break;
    case PlotCommand::ShowAxisRangePanel: onShowAxisRangePanel(sender); break;
    case PlotCommand::AxisRangesByDefault: onAxisRangesByDefault(sender); break;
    case PlotCommand::MaximumAxisRanges: onMaximumAxisRanges(sender); break;
    case PlotCommand::LabelFontSettings: onLabelFontSettings(sender); break;
    case PlotCommand::GraduationFontSettings: onGraduationFontSettings(sender); break;
    case PlotCommand::GraphObjectFont: onGraphObjectFont(sender); break;
    case PlotCommand::ToggleShowLogX: onToggleShowLogX(sender); break;
    case PlotCommand::ToggleShowLogY: onToggleShowLogY(sender); break;
    case PlotCommand::ShowGrid: onShowGrid(sender); break;
    case PlotCommand::PrintPlot: onPrintPlot(sender); break;
    case PlotCommand::OpenNewPlotWindow: onOpenNewPlotWindow(sender); break;
    case PlotCommand::NormalThickness: onNormalThickness(sender); break;
    case PlotCommand::DoubleThickness: onDoubleThickness(sender); break;
    case PlotCommand::TripleThickness: onTripleThickness(sender); break;
    case PlotCommand::GraphObjectColor: onGraphObjectColor(sender); break;
    case PlotCommand::CurvesSettingsPanel: onCurvesSettingsPanel(sender); break;
    case PlotCommand::ExportCurveData: onExportCurveData(sender); break;
    case PlotCommand::IncreasePointSize: onIncreasePointSize(sender); break;
    case PlotCommand::DecreasePointSize: onDecreasePointSize(sender); break;
    case PlotCommand::PointsSettingsPanel: onPointsSettingsPanel(sender); break;
    }
}

bool CPlotView::validateMenuItem(QAction* item)
{
    const QVariant command = item->property(kCommandProperty);
    if (!command.isValid())
        return true; // an item of a subclass's own
    const int code = command.toInt();
    auto thicknessIsNot = [this](float factor) {
        return !mSelectedObject || mSelectedObject->getToolSizeFactor() != factor;
    };
    switch (static_cast<PlotCommand>(code)) {
    case PlotCommand::ZoomIn:
    case PlotCommand::ZoomOut:
        return hasTrackingRect();
    case PlotCommand::ToggleShowLogX:
        item->setCheckable(true);
        item->setChecked(mShowLogX);
        return true;
    case PlotCommand::ToggleShowLogY:
        item->setCheckable(true);
        item->setChecked(mShowLogY);
        return true;
    case PlotCommand::ShowGrid:
        item->setText(mDrawGrid ? tr("Hide Grid") : tr("Show Grid"));
        return true;
    case PlotCommand::AxisRangesByDefault:
        // Compared as floats: a NaN counts as different.
        return !(mCurrentMinX == mMinX) || !(mCurrentMaxX == mMaxX) || !(mCurrentMinY == mMinY)
               || !(mCurrentMaxY == mMaxY);
    case PlotCommand::NormalThickness:
        return thicknessIsNot(1.0f);
    case PlotCommand::DoubleThickness:
        return thicknessIsNot(2.0f);
    case PlotCommand::TripleThickness:
        return thicknessIsNot(3.0f);
    default:
        return true;
    }
}

QMenu* CPlotView::menuForEvent(QPointF point)
{
    testClickedGraphObject(point);
    if (!mSelectedObject)
        return mPlotMenu;
    const std::type_info& type = typeid(*mSelectedObject);
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

// --- Ranges

void CPlotView::doChangeAxisRanges(float minX, float maxX, float minY, float maxY)
{
    const float oldMinX = mCurrentMinX, oldMaxX = mCurrentMaxX, oldMinY = mCurrentMinY, oldMaxY = mCurrentMaxY;
    UndoManager* undo = undoManager();
    undo->registerUndo(this, [this, oldMinX, oldMaxX, oldMinY, oldMaxY] {
        doChangeAxisRanges(oldMinX, oldMaxX, oldMinY, oldMaxY);
    });
    undo->setActionName(tr("Changes Of Axis Ranges"));
    mCurrentMinX = minX;
    mCurrentMaxX = maxX;
    mCurrentMinY = minY;
    mCurrentMaxY = maxY;
    mTrackingRect = QRectF();
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    if (panel->isWindowVisible())
        panel->updatePanel();
    if (mDrawPlotView)
        mDrawPlotView->setEnabledZoomingControls(false);
    update();
}

void CPlotView::onZoomIn(QObject*)
{
    if (!hasTrackingRect())
        return;
    const QRectF r = mTrackingRect;
    AxisRange x{getXFromPixelValue(static_cast<float>(r.x())), getXFromPixelValue(static_cast<float>(r.x() + r.width()))};
    AxisRange y{getYFromPixelValue(static_cast<float>(r.y())), getYFromPixelValue(static_cast<float>(r.y() + r.height()))};
    clampToMaximum(x, mMaxMinX, mMaxMaxX);
    clampToMaximum(y, mMaxMinY, mMaxMaxY);
    // A rectangle without extent, or one wholly outside the maximum ranges, gives no range.
    if (!isUsable(x) || !isUsable(y))
        return;
    doChangeAxisRanges(x.min, x.max, y.min, y.max);
}

void CPlotView::onZoomOut(QObject*)
{
    if (!hasTrackingRect())
        return;
    const QRectF r = mTrackingRect;
    mPlotRect = getPlotRect();
    const QRectF& p = mPlotRect;
    const float rx = static_cast<float>(r.x()), ry = static_cast<float>(r.y());
    const float rw = static_cast<float>(r.width()), rh = static_cast<float>(r.height());
    const float kx = (rx - static_cast<float>(p.x())) / rw;
    const float ky = (ry - static_cast<float>(p.y())) / rh;
    AxisRange x = zoomedOut(mCurrentMinX, mCurrentMaxX, mShowLogX, mLogXmin, mLogXmax, kx,
                            static_cast<float>(p.width()) / rw);
    AxisRange y = zoomedOut(mCurrentMinY, mCurrentMaxY, mShowLogY, mLogYmin, mLogYmax, ky,
                            static_cast<float>(p.height()) / rh);
    clampToMaximum(x, mMaxMinX, mMaxMaxX);
    clampToMaximum(y, mMaxMinY, mMaxMaxY);
    if (!isUsable(x) || !isUsable(y))
        return;
    doChangeAxisRanges(x.min, x.max, y.min, y.max);
}

void CPlotView::onAxisRangesByDefault(QObject*)
{
    doChangeAxisRanges(mMinX, mMaxX, mMinY, mMaxY);
}

void CPlotView::onMaximumAxisRanges(QObject*)
{
    doChangeAxisRanges(mMaxMinX, mMaxMaxX, mMaxMinY, mMaxMaxY);
}

void CPlotView::onShowAxisRangePanel(QObject* sender)
{
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    panel->showWindow(sender);
    panel->setCurrentPlotView(this);
}

void CPlotView::onToggleShowLogX(QObject*)
{
    mShowLogX = !mShowLogX;
    update();
}

void CPlotView::onToggleShowLogY(QObject*)
{
    mShowLogY = !mShowLogY;
    update();
}

void CPlotView::onShowGrid(QObject*)
{
    mDrawGrid = !mDrawGrid;
    update();
    if (mDrawPlotView)
        mDrawPlotView->updateGridButton(mDrawGrid);
}

// --- Fonts

const TextAttributes& CPlotView::textAttributesOfKind(int kind) const
{
    switch (kind) {
    case TicksFont: return mTicksAttributes;
    case LegendsFont: return mLegendsAttributes;
    default: return mLabelsAttributes;
    }
}

void CPlotView::onLabelFontSettings(QObject* sender)
{
    mEditedFont = LabelsFont;
    openFontPanel(sender);
}

void CPlotView::onGraduationFontSettings(QObject* sender)
{
    mEditedFont = TicksFont;
    openFontPanel(sender);
}

void CPlotView::onGraphObjectFont(QObject* sender)
{
    mEditedFont = LegendsFont;
    openFontPanel(sender);
}

void CPlotView::openFontPanel(QObject*)
{
    // The view's fonts are sized in view units, which the panel shows as points.
    QFont shown = textAttributesOfKind(mEditedFont).font;
    shown.setPointSizeF(shown.pixelSize() > 0 ? shown.pixelSize() : shown.pointSizeF());
    FontPanel::shared().orderFront(this, shown, [this](const QFont& chosen) { changeFont(chosen); });
}

void CPlotView::changeFont(const QFont& chosen)
{
    const double size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize();
    doChangeFont(TextAttributes::make(chosen.family(), size, chosen.bold(), chosen.italic()), mEditedFont);
}

void CPlotView::doChangeFont(const TextAttributes& font, int kind)
{
    TextAttributes& attributes = kind == TicksFont ? mTicksAttributes
                                 : kind == LegendsFont ? mLegendsAttributes
                                                       : mLabelsAttributes;
    const TextAttributes previous = attributes;
    UndoManager* undo = undoManager();
    undo->registerUndo(this, [this, previous, kind] { doChangeFont(previous, kind); });
    attributes = font;
    undo->setActionName(kind == TicksFont     ? tr("Changes of Ticks Font")
                        : kind == LegendsFont ? tr("Changes of Legends Font")
                                              : tr("Changes Of Labels Font"));
    if (kind == LabelsFont) {
        mXAxisLabel.attributes = font;
        mYAxisLabel.attributes = font;
    }
    update();
}

// --- Line thickness and marker size

void CPlotView::onNormalThickness(QObject*)
{
    doChangeToolSizeFactor(1.0f, mSelectedObject);
}

void CPlotView::onDoubleThickness(QObject*)
{
    doChangeToolSizeFactor(2.0f, mSelectedObject);
}

void CPlotView::onTripleThickness(QObject*)
{
    doChangeToolSizeFactor(3.0f, mSelectedObject);
}

void CPlotView::doChangeToolSizeFactor(float factor, CGraphObject* object)
{
    if (!object)
        return;
    const std::weak_ptr<CGraphObject> handle = handleOf(object);
    if (handle.expired()) {
        // Not an object of this view: changed, but nothing the undo could come back to.
        object->setToolSizeFactor(factor);
        object->setSize(factor);
        update();
        return;
    }
    setToolSize(handle, factor, factor);
}

void CPlotView::setToolSize(const std::weak_ptr<CGraphObject>& handle, float factor, float size)
{
    const GraphObjectPtr object = handle.lock();
    if (!object)
        return;
    const float oldFactor = object->getToolSizeFactor();
    const float oldSize = object->size();
    UndoManager* undo = undoManager();
    undo->registerUndo(this, [this, handle, oldFactor, oldSize] { setToolSize(handle, oldFactor, oldSize); });
    undo->setActionName(tr("Change Of Line Thickness"));
    object->setToolSizeFactor(factor);
    object->setSize(size);
    update();
}

void CPlotView::onIncreasePointSize(QObject*)
{
    doIncreasePointSizeOf(mSelectedObject);
}

void CPlotView::onDecreasePointSize(QObject*)
{
    doDecreasePointSizeOf(mSelectedObject);
}

void CPlotView::doIncreasePointSizeOf(CGraphObject* object)
{
    if (object)
        setMarkerSizeFactor(handleOf(object), object->getToolSizeFactor() + 1.0f, tr("Increase Of Marker Size"));
}

void CPlotView::doDecreasePointSizeOf(CGraphObject* object)
{
    if (!object || object->getToolSizeFactor() - 1.0f < 1.0f)
        return;
    setMarkerSizeFactor(handleOf(object), object->getToolSizeFactor() - 1.0f, tr("Decrease Of Marker Size"));
}

void CPlotView::setMarkerSizeFactor(const std::weak_ptr<CGraphObject>& handle, float factor, const QString& actionName)
{
    const GraphObjectPtr object = handle.lock();
    if (!object)
        return;
    // Undo and redo come back to the exact factor, whatever it was.
    const float previous = object->getToolSizeFactor();
    UndoManager* undo = undoManager();
    undo->registerUndo(this, [this, handle, previous, actionName] { setMarkerSizeFactor(handle, previous, actionName); });
    undo->setActionName(actionName);
    object->setToolSizeFactor(factor);
    update();
}

// --- Colours and settings panels

void CPlotView::onGraphObjectColor(QObject*)
{
    ColorPanel& panel = ColorPanel::shared();
    if (mSelectedObject && mSelectedObject->color())
        panel.setColor(*mSelectedObject->color());
    panel.orderFront(this, [this](const Color& color) { changeColor(color); });
}

void CPlotView::onCurvesSettingsPanel(QObject* sender)
{
    auto* curve = dynamic_cast<CGraphCurve*>(mSelectedObject);
    if (!curve)
        return;
    CCurveSettingsWindow* panel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    panel->showWindow(sender);
    panel->setPlotView(this);
    panel->setGraphCurve(curve);
    panel->startModalSession();
}

void CPlotView::onPointsSettingsPanel(QObject* sender)
{
    CGraphObject* object = mSelectedObject;
    const bool isMarker = dynamic_cast<CGraphPoint*>(object) || dynamic_cast<CGraphPointCurve*>(object)
                          || dynamic_cast<CGraphStringPointCurve*>(object);
    if (!isMarker)
        return;
    CPointSettingsWindow* panel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    panel->showWindow(sender);
    panel->setPlotView(this);
    panel->setGraphObject(object);
    panel->startModalSession();
}

// --- Exports and copies

void CPlotView::onExportCurveData(QObject*)
{
    if (auto* curve = dynamic_cast<CGraphCurve*>(mSelectedObject))
        curve->exportCurveData(this);
}

QByteArray CPlotView::pdfData()
{
    return pdfOfSize(QSizeF(width(), height()), [this](QPainter& painter) {
        mIsPrinting = true; // no selection cross in the export
        drawView(painter);
        mIsPrinting = false;
    });
}

bool CPlotView::onPrintPlot(QObject*)
{
    const std::optional<QString> path = chooseExportFile(QStringLiteral("plot.pdf"), QStringLiteral("pdf"), this);
    if (!path)
        return false;
    const QByteArray pdf = pdfData();
    if (pdf.isEmpty()) {
        showAlert(tr("The plot could not be made into a PDF document."));
        return false;
    }
    return writeExportFile(*path, pdf);
}

QWidget* CPlotView::onOpenNewPlotWindow(QObject*)
{
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(tr("Plot"));
    window->resize(400, 300);
    auto* frame = new CDrawPlotView(QRect(0, 0, 400, 300), window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    frame->installPlotView(copy());
    frame->installButtons();
    window->show();
    window->raise();
    return window;
}

} // namespace quorvel
