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
#include "plot/PlotFiles.h"

#include "widgets/ColorPanel.h"
#include "widgets/FontPanel.h"

#include "platform/AlertService.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <QKeySequence>

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <utility>

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

// --- Commands and menus

namespace {
// A command's action: the view's action method, whatever it answers.
template <auto method>
void runAction(CPlotView& view, QObject* sender)
{
    (view.*method)(sender);
}

// Validations shared by rows.
bool hasZoomRectangle(CPlotView& view, QAction&)
{
    return view.hasTrackingRect();
}

// Enabled unless the selected object already has that line thickness.
template <int factor>
bool thicknessDiffers(CPlotView& view, QAction&)
{
    const CGraphObject* selected = view.selectedObject();
    return !selected || selected->getToolSizeFactor() != static_cast<float>(factor);
}

// Always enabled; the item's check mark shows the view's flag.
template <bool CPlotView::*flag>
bool checkedByFlag(CPlotView& view, QAction& item)
{
    item.setCheckable(true);
    item.setChecked(view.*flag);
    return true;
}
} // namespace

std::span<const PlotCommandRow> CPlotView::commandTable()
{
    using enum PlotCommand;
    constexpr const char* kRanges = QT_TRANSLATE_NOOP("CPlotView", "Changes Of Axis Ranges");
    constexpr const char* kThickness = QT_TRANSLATE_NOOP("CPlotView", "Change Of Line Thickness");
    // The font commands open the font panel: their undo name is that of the font it applies.
    static const PlotCommandRow rows[] = {
        {ZoomIn, QT_TRANSLATE_NOOP("CPlotView", "Zoom in"), "", runAction<&CPlotView::onZoomIn>,
         hasZoomRectangle, kRanges},
        {ZoomOut, QT_TRANSLATE_NOOP("CPlotView", "Zoom out"), "", runAction<&CPlotView::onZoomOut>,
         hasZoomRectangle, kRanges},
        {ShowAxisRangePanel, QT_TRANSLATE_NOOP("CPlotView", "Set Axis ranges..."), "",
         runAction<&CPlotView::onShowAxisRangePanel>, nullptr, nullptr},
        {AxisRangesByDefault, QT_TRANSLATE_NOOP("CPlotView", "Axis ranges by default..."), "",
         runAction<&CPlotView::onAxisRangesByDefault>,
         [](CPlotView& v, QAction&) {
             // Compared as floats: a NaN counts as different.
             return !(v.mCurrentMinX == v.mMinX) || !(v.mCurrentMaxX == v.mMaxX) || !(v.mCurrentMinY == v.mMinY)
                    || !(v.mCurrentMaxY == v.mMaxY);
         },
         kRanges},
        {MaximumAxisRanges, QT_TRANSLATE_NOOP("CPlotView", "Maximum"), "",
         runAction<&CPlotView::onMaximumAxisRanges>, nullptr, kRanges},
        {LabelFontSettings, QT_TRANSLATE_NOOP("CPlotView", "Axis label font..."), "",
         runAction<&CPlotView::onLabelFontSettings>, nullptr,
         QT_TRANSLATE_NOOP("CPlotView", "Changes Of Labels Font")},
        {GraduationFontSettings, QT_TRANSLATE_NOOP("CPlotView", "Axis graduation font..."), "",
         runAction<&CPlotView::onGraduationFontSettings>, nullptr,
         QT_TRANSLATE_NOOP("CPlotView", "Changes of Ticks Font")},
        {GraphObjectFont, QT_TRANSLATE_NOOP("CPlotView", "Font"), "", runAction<&CPlotView::onGraphObjectFont>, nullptr,
         QT_TRANSLATE_NOOP("CPlotView", "Changes of Legends Font")},
        {ToggleShowLogX, QT_TRANSLATE_NOOP("CPlotView", "Logarithmic X axis"), "",
         runAction<&CPlotView::onToggleShowLogX>, checkedByFlag<&CPlotView::mShowLogX>, nullptr},
        {ToggleShowLogY, QT_TRANSLATE_NOOP("CPlotView", "Logarithmic Y axis"), "",
         runAction<&CPlotView::onToggleShowLogY>, checkedByFlag<&CPlotView::mShowLogY>, nullptr},
        {ShowGrid, QT_TRANSLATE_NOOP("CPlotView", "Show Grid"), "", runAction<&CPlotView::onShowGrid>,
         [](CPlotView& v, QAction& item) {
             item.setText(v.mDrawGrid ? tr("Hide Grid") : tr("Show Grid"));
             return true;
         },
         nullptr},
        {PrintPlot, QT_TRANSLATE_NOOP("CPlotView", "Save as PDF..."), "",
         runAction<&CPlotView::onPrintPlot>, nullptr, nullptr},
        {OpenNewPlotWindow, QT_TRANSLATE_NOOP("CPlotView", "Open in a new window..."), "",
         runAction<&CPlotView::onOpenNewPlotWindow>, nullptr, nullptr},
        {NormalThickness, QT_TRANSLATE_NOOP("CPlotView", "Normal thickness"), "",
         runAction<&CPlotView::onNormalThickness>,
         thicknessDiffers<1>, kThickness},
        {DoubleThickness, QT_TRANSLATE_NOOP("CPlotView", "Double thickness"), "",
         runAction<&CPlotView::onDoubleThickness>,
         thicknessDiffers<2>, kThickness},
        {TripleThickness, QT_TRANSLATE_NOOP("CPlotView", "Triple thickness"), "",
         runAction<&CPlotView::onTripleThickness>,
         thicknessDiffers<3>, kThickness},
        {GraphObjectColor, QT_TRANSLATE_NOOP("CPlotView", "Color..."), "",
         runAction<&CPlotView::onGraphObjectColor>, nullptr, nullptr},
        {CurvesSettingsPanel, QT_TRANSLATE_NOOP("CPlotView", "Settings panel..."), "",
         runAction<&CPlotView::onCurvesSettingsPanel>, nullptr, nullptr},
        {ExportCurveData, QT_TRANSLATE_NOOP("CPlotView", "Save to file..."), "",
         runAction<&CPlotView::onExportCurveData>, nullptr, nullptr},
        {IncreasePointSize, QT_TRANSLATE_NOOP("CPlotView", "Increase size"), "",
         runAction<&CPlotView::onIncreasePointSize>, nullptr,
         QT_TRANSLATE_NOOP("CPlotView", "Increase Of Marker Size")},
        {DecreasePointSize, QT_TRANSLATE_NOOP("CPlotView", "Decrease size"), "",
         runAction<&CPlotView::onDecreasePointSize>, nullptr,
         QT_TRANSLATE_NOOP("CPlotView", "Decrease Of Marker Size")},
        {PointsSettingsPanel, QT_TRANSLATE_NOOP("CPlotView", "Settings panel..."), "",
         runAction<&CPlotView::onPointsSettingsPanel>, nullptr, nullptr},
    };
    return rows;
}

const PlotCommandRow& CPlotView::commandRow(PlotCommand command)
{
    const std::span<const PlotCommandRow> rows = commandTable();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [command](const PlotCommandRow& r) { return r.command == command; });
    Q_ASSERT(row != rows.end()); // every command has its row
    return *row;
}

QString CPlotView::undoNameOf(PlotCommand command)
{
    const char* name = commandRow(command).undoName;
    return name ? tr(name) : QString();
}

QMenu* CPlotView::makeMenu(const QString& title, std::initializer_list<std::optional<PlotCommand>> items)
{
    auto* menu = new QMenu(title, this);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                item->setEnabled(validateMenuItem(item));
    });
    for (const std::optional<PlotCommand>& command : items) {
        if (command)
            addMenuItem(menu, tr(commandRow(*command).title), *command);
        else
            menu->addSeparator();
    }
    return menu;
}

void CPlotView::buildMenus()
{
    using enum PlotCommand;
    constexpr std::optional<PlotCommand> separator;
    mPlotMenu = makeMenu(tr("Plot"), {ZoomIn, ZoomOut, ShowAxisRangePanel, AxisRangesByDefault, LabelFontSettings,
                                      GraduationFontSettings, ToggleShowLogX, ToggleShowLogY, separator, PrintPlot,
                                      separator, OpenNewPlotWindow});
    mCurvesMenu = makeMenu(tr("Curves"), {NormalThickness, DoubleThickness, TripleThickness, separator,
                                          GraphObjectColor, separator, CurvesSettingsPanel, separator, ExportCurveData});
    mPointsMenu = makeMenu(tr("Points"), {IncreasePointSize, DecreasePointSize, separator, GraphObjectColor, separator,
                                          PointsSettingsPanel});
    mFontsMenu = makeMenu(tr("Texts"), {GraphObjectFont});
}

QAction* CPlotView::addMenuItem(QMenu* menu, const QString& title, PlotCommand command)
{
    QAction* item = menu->addAction(title);
    item->setShortcut(QKeySequence(QString::fromLatin1(commandRow(command).shortcut)));
    item->setProperty(kCommandProperty, static_cast<int>(command));
    connect(item, &QAction::triggered, this, [this, item, command] { perform(command, item); });
    return item;
}

void CPlotView::perform(PlotCommand command, QObject* sender)
{
    commandRow(command).action(*this, sender);
}

bool CPlotView::validateMenuItem(QAction* item)
{
    const QVariant command = item->property(kCommandProperty);
    if (!command.isValid())
        return true; // an item of a subclass's own
    const PlotCommandRow& row = commandRow(static_cast<PlotCommand>(command.toInt()));
    return row.validate ? row.validate(*this, *item) : true;
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
    struct Ranges {
        float minX, maxX, minY, maxY;
    };
    undoManager()->registerInverse(
        this, undoNameOf(PlotCommand::ZoomIn),
        [this](const Ranges& r) { doChangeAxisRanges(r.minX, r.maxX, r.minY, r.maxY); },
        Ranges{mCurrentMinX, mCurrentMaxX, mCurrentMinY, mCurrentMaxY});
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
    const PlotCommand command = kind == TicksFont     ? PlotCommand::GraduationFontSettings
                                : kind == LegendsFont ? PlotCommand::GraphObjectFont
                                                      : PlotCommand::LabelFontSettings;
    undoManager()->registerInverse(
        this, undoNameOf(command), [this, kind](const TextAttributes& previous) { doChangeFont(previous, kind); },
        attributes);
    attributes = font;
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
    undoManager()->registerInverse(
        this, undoNameOf(PlotCommand::NormalThickness),
        [this, handle](std::pair<float, float> previous) { setToolSize(handle, previous.first, previous.second); },
        std::pair{object->getToolSizeFactor(), object->size()});
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
        setMarkerSizeFactor(handleOf(object), object->getToolSizeFactor() + 1.0f,
                            undoNameOf(PlotCommand::IncreasePointSize));
}

void CPlotView::doDecreasePointSizeOf(CGraphObject* object)
{
    if (!object || object->getToolSizeFactor() - 1.0f < 1.0f)
        return;
    setMarkerSizeFactor(handleOf(object), object->getToolSizeFactor() - 1.0f,
                        undoNameOf(PlotCommand::DecreasePointSize));
}

void CPlotView::setMarkerSizeFactor(const std::weak_ptr<CGraphObject>& handle, float factor, const QString& actionName)
{
    const GraphObjectPtr object = handle.lock();
    if (!object)
        return;
    // Undo and redo come back to the exact factor, whatever it was.
    undoManager()->registerInverse(
        this, actionName,
        [this, handle, actionName](float previous) { setMarkerSizeFactor(handle, previous, actionName); },
        object->getToolSizeFactor());
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
    return pdfOfSize(QSizeF(width(), height()), [this](QPainter& painter) { drawForOutput(painter); });
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
