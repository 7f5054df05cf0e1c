#include "plot/PlotCommands.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CCurveSettingsWindow.h"
#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPlotView.h"
#include "plot/CPointSettingsWindow.h"
#include "plot/PlotChanges.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFiles.h"

#include "widgets/ColorPanel.h"
#include "widgets/FontPanel.h"

#include "platform/AlertService.h"

#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

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

// The ranges a zoom shows, kept within the maximum ranges. A rectangle without extent, or
// one wholly outside the maximum ranges, gives none.
std::optional<XYRange> zoomRange(AxisRange x, AxisRange y, const XYRange& limits)
{
    clampToMaximum(x, limits.minX, limits.maxX);
    clampToMaximum(y, limits.minY, limits.maxY);
    if (!isUsable(x) || !isUsable(y))
        return std::nullopt;
    return XYRange{x.min, x.max, y.min, y.max};
}

} // namespace

PlotCommands::PlotCommands(CPlotView& view, PlotState& state, const PlotDrawing& drawing, PlotChanges& changes)
    : mView(view)
    , mState(state)
    , mDrawing(drawing)
    , mChanges(changes)
{
}

// --- The command table

template <auto method>
void PlotCommands::run(PlotCommands& commands, QObject* sender)
{
    (commands.*method)(sender);
}

bool PlotCommands::hasZoomRectangle(PlotCommands& commands, QAction&)
{
    return commands.mState.hasTrackingRect();
}

bool PlotCommands::differsFromDefaults(PlotCommands& commands, QAction&)
{
    const PlotRanges& ranges = commands.mState.ranges();
    return !(ranges.current == ranges.defaults);
}

bool PlotCommands::titleShowsGrid(PlotCommands& commands, QAction& item)
{
    item.setText(commands.mState.axes().drawGrid ? CPlotView::tr("Hide Grid") : CPlotView::tr("Show Grid"));
    return true;
}

// Enabled unless the selected object already has that line thickness.
template <int factor>
bool PlotCommands::thicknessDiffers(PlotCommands& commands, QAction&)
{
    const CGraphObject* selected = commands.mState.selection().object;
    return !selected || selected->getToolSizeFactor() != static_cast<float>(factor);
}

// Always enabled; the item's check mark shows the flag.
template <bool AxisSettings::*flag>
bool PlotCommands::checkedByFlag(PlotCommands& commands, QAction& item)
{
    item.setCheckable(true);
    item.setChecked(commands.mState.axes().*flag);
    return true;
}

std::span<const PlotCommandRow> PlotCommands::commandTable()
{
    using enum PlotCommand;
    using C = PlotCommands;
    constexpr const char* kRanges = QT_TRANSLATE_NOOP("CPlotView", "Changes Of Axis Ranges");
    constexpr const char* kThickness = QT_TRANSLATE_NOOP("CPlotView", "Change Of Line Thickness");
    // The font commands open the font panel: their undo name is that of the font it applies.
    static const PlotCommandRow rows[] = {
        {ZoomIn, QT_TRANSLATE_NOOP("CPlotView", "Zoom in"), "", run<&C::onZoomIn>, hasZoomRectangle, kRanges},
        {ZoomOut, QT_TRANSLATE_NOOP("CPlotView", "Zoom out"), "", run<&C::onZoomOut>, hasZoomRectangle, kRanges},
        {ShowAxisRangePanel, QT_TRANSLATE_NOOP("CPlotView", "Set Axis ranges..."), "", run<&C::onShowAxisRangePanel>,
         nullptr, nullptr},
        {AxisRangesByDefault, QT_TRANSLATE_NOOP("CPlotView", "Axis ranges by default..."), "",
         run<&C::onAxisRangesByDefault>, differsFromDefaults, kRanges},
        {MaximumAxisRanges, QT_TRANSLATE_NOOP("CPlotView", "Maximum"), "", run<&C::onMaximumAxisRanges>, nullptr,
         kRanges},
        {LabelFontSettings, QT_TRANSLATE_NOOP("CPlotView", "Axis label font..."), "",
         run<&C::onFontSettings<FontKind::Labels>>, nullptr, QT_TRANSLATE_NOOP("CPlotView", "Changes Of Labels Font")},
        {GraduationFontSettings, QT_TRANSLATE_NOOP("CPlotView", "Axis graduation font..."), "",
         run<&C::onFontSettings<FontKind::Ticks>>, nullptr, QT_TRANSLATE_NOOP("CPlotView", "Changes of Ticks Font")},
        {GraphObjectFont, QT_TRANSLATE_NOOP("CPlotView", "Font"), "", run<&C::onFontSettings<FontKind::Legends>>,
         nullptr, QT_TRANSLATE_NOOP("CPlotView", "Changes of Legends Font")},
        {ToggleShowLogX, QT_TRANSLATE_NOOP("CPlotView", "Logarithmic X axis"), "", run<&C::onToggleShowLogX>,
         checkedByFlag<&AxisSettings::showLogX>, nullptr},
        {ToggleShowLogY, QT_TRANSLATE_NOOP("CPlotView", "Logarithmic Y axis"), "", run<&C::onToggleShowLogY>,
         checkedByFlag<&AxisSettings::showLogY>, nullptr},
        {ShowGrid, QT_TRANSLATE_NOOP("CPlotView", "Show Grid"), "", run<&C::onShowGrid>, titleShowsGrid, nullptr},
        {PrintPlot, QT_TRANSLATE_NOOP("CPlotView", "Save as PDF..."), "", run<&C::onPrintPlot>, nullptr, nullptr},
        {OpenNewPlotWindow, QT_TRANSLATE_NOOP("CPlotView", "Open in a new window..."), "",
         run<&C::onOpenNewPlotWindow>, nullptr, nullptr},
        {NormalThickness, QT_TRANSLATE_NOOP("CPlotView", "Normal thickness"), "", run<&C::onThickness<1>>,
         thicknessDiffers<1>, kThickness},
        {DoubleThickness, QT_TRANSLATE_NOOP("CPlotView", "Double thickness"), "", run<&C::onThickness<2>>,
         thicknessDiffers<2>, kThickness},
        {TripleThickness, QT_TRANSLATE_NOOP("CPlotView", "Triple thickness"), "", run<&C::onThickness<3>>,
         thicknessDiffers<3>, kThickness},
        {GraphObjectColor, QT_TRANSLATE_NOOP("CPlotView", "Color..."), "", run<&C::onGraphObjectColor>, nullptr,
         nullptr},
        {CurvesSettingsPanel, QT_TRANSLATE_NOOP("CPlotView", "Settings panel..."), "",
         run<&C::onCurvesSettingsPanel>, nullptr, nullptr},
        {ExportCurveData, QT_TRANSLATE_NOOP("CPlotView", "Save to file..."), "", run<&C::onExportCurveData>, nullptr,
         nullptr},
        {IncreasePointSize, QT_TRANSLATE_NOOP("CPlotView", "Increase size"), "", run<&C::onIncreasePointSize>,
         nullptr, QT_TRANSLATE_NOOP("CPlotView", "Increase Of Marker Size")},
        {DecreasePointSize, QT_TRANSLATE_NOOP("CPlotView", "Decrease size"), "", run<&C::onDecreasePointSize>,
         nullptr, QT_TRANSLATE_NOOP("CPlotView", "Decrease Of Marker Size")},
        {PointsSettingsPanel, QT_TRANSLATE_NOOP("CPlotView", "Settings panel..."), "",
         run<&C::onPointsSettingsPanel>, nullptr, nullptr},
    };
    return rows;
}

const PlotCommandRow& PlotCommands::commandRow(PlotCommand command)
{
    const std::span<const PlotCommandRow> rows = commandTable();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [command](const PlotCommandRow& r) { return r.command == command; });
    Q_ASSERT(row != rows.end()); // every command has its row
    return *row;
}

QString PlotCommands::undoNameOf(PlotCommand command)
{
    const char* name = commandRow(command).undoName;
    return name ? CPlotView::tr(name) : QString();
}

void PlotCommands::perform(PlotCommand command, QObject* sender)
{
    commandRow(command).action(*this, sender);
}

bool PlotCommands::validate(QAction& item)
{
    const QVariant command = item.property(kCommandProperty);
    if (!command.isValid())
        return true; // an item of a subclass's own
    const PlotCommandRow& row = commandRow(static_cast<PlotCommand>(command.toInt()));
    return row.validate ? row.validate(*this, item) : true;
}

QAction* PlotCommands::addMenuItem(QMenu* menu, const QString& title, PlotCommand command)
{
    QAction* item = menu->addAction(title);
    item->setShortcut(QKeySequence(QString::fromLatin1(commandRow(command).shortcut)));
    item->setProperty(kCommandProperty, static_cast<int>(command));
    QObject::connect(item, &QAction::triggered, &mView, [this, item, command] { perform(command, item); });
    return item;
}

QMenu* PlotCommands::makeMenu(const QString& title, std::initializer_list<std::optional<PlotCommand>> items)
{
    auto* menu = new QMenu(title, &mView);
    QObject::connect(menu, &QMenu::aboutToShow, &mView, [this, menu] {
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                item->setEnabled(mView.validateMenuItem(item));
    });
    for (const std::optional<PlotCommand>& command : items) {
        if (command)
            addMenuItem(menu, CPlotView::tr(commandRow(*command).title), *command);
        else
            menu->addSeparator();
    }
    return menu;
}

// --- Ranges

void PlotCommands::onZoomIn(QObject*)
{
    if (!mState.hasTrackingRect())
        return;
    const QRectF r = mState.selection().trackingRect;
    const PlotDrawing& d = mDrawing;
    const AxisRange x{d.getXFromPixelValue(static_cast<float>(r.x())),
                      d.getXFromPixelValue(static_cast<float>(r.x() + r.width()))};
    const AxisRange y{d.getYFromPixelValue(static_cast<float>(r.y())),
                      d.getYFromPixelValue(static_cast<float>(r.y() + r.height()))};
    if (const std::optional<XYRange> range = zoomRange(x, y, mState.ranges().maximum))
        mChanges.doChangeAxisRanges(*range);
}

void PlotCommands::onZoomOut(QObject*)
{
    if (!mState.hasTrackingRect())
        return;
    const QRectF r = mState.selection().trackingRect;
    const QRectF p = mDrawing.getPlotRect();
    const float rx = static_cast<float>(r.x()), ry = static_cast<float>(r.y());
    const float rw = static_cast<float>(r.width()), rh = static_cast<float>(r.height());
    const float kx = (rx - static_cast<float>(p.x())) / rw;
    const float ky = (ry - static_cast<float>(p.y())) / rh;
    const XYRange& current = mState.ranges().current;
    const PlotGeometry& g = mDrawing.geometry();
    const AxisRange x = zoomedOut(current.minX, current.maxX, mState.axes().showLogX, g.logXmin, g.logXmax, kx,
                                  static_cast<float>(p.width()) / rw);
    const AxisRange y = zoomedOut(current.minY, current.maxY, mState.axes().showLogY, g.logYmin, g.logYmax, ky,
                                  static_cast<float>(p.height()) / rh);
    if (const std::optional<XYRange> range = zoomRange(x, y, mState.ranges().maximum))
        mChanges.doChangeAxisRanges(*range);
}

void PlotCommands::onAxisRangesByDefault(QObject*)
{
    mChanges.doChangeAxisRanges(mState.ranges().defaults);
}

void PlotCommands::onMaximumAxisRanges(QObject*)
{
    mChanges.doChangeAxisRanges(mState.ranges().maximum);
}

void PlotCommands::onShowAxisRangePanel(QObject* sender)
{
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    panel->showWindow(sender);
    panel->setCurrentPlotView(&mView);
}

void PlotCommands::onToggleShowLogX(QObject*)
{
    mState.axes().showLogX = !mState.axes().showLogX;
    mView.update();
}

void PlotCommands::onToggleShowLogY(QObject*)
{
    mState.axes().showLogY = !mState.axes().showLogY;
    mView.update();
}

void PlotCommands::onShowGrid(QObject*)
{
    bool& grid = mState.axes().drawGrid;
    grid = !grid;
    mView.update();
    if (CDrawPlotView* frame = mView.drawPlotView())
        frame->updateGridButton(grid);
}

// --- Fonts

template <FontKind kind>
void PlotCommands::onFontSettings(QObject*)
{
    mEditedFont = kind;
    // The view's fonts are sized in view units, which the panel shows as points.
    QFont shown = mState.fonts().of(kind).font;
    shown.setPointSizeF(shown.pixelSize() > 0 ? shown.pixelSize() : shown.pointSizeF());
    FontPanel::shared().orderFront(&mView, shown, [this](const QFont& chosen) { changeFont(chosen); });
}

void PlotCommands::changeFont(const QFont& chosen)
{
    const double size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize();
    mChanges.doChangeFont(TextAttributes::make(chosen.family(), size, chosen.bold(), chosen.italic()),
                 mEditedFont.value_or(FontKind::Labels));
}

// --- Line thickness and marker size

template <int factor>
void PlotCommands::onThickness(QObject*)
{
    mChanges.doChangeToolSizeFactor(static_cast<float>(factor), mState.selection().object);
}

void PlotCommands::onIncreasePointSize(QObject*)
{
    mChanges.doIncreasePointSizeOf(mState.selection().object);
}

void PlotCommands::onDecreasePointSize(QObject*)
{
    mChanges.doDecreasePointSizeOf(mState.selection().object);
}

// --- Colours and settings panels

void PlotCommands::onGraphObjectColor(QObject*)
{
    ColorPanel& panel = ColorPanel::shared();
    const CGraphObject* selected = mState.selection().object;
    if (selected && selected->color())
        panel.setColor(*selected->color());
    panel.orderFront(&mView, [this](const Color& color) { changeColor(color); });
}

void PlotCommands::updateColorPanel()
{
    ColorPanel& panel = ColorPanel::shared();
    const CGraphObject* selected = mState.selection().object;
    if (!selected || !panel.isVisible())
        return;
    if (const std::optional<Color>& color = selected->color())
        panel.setColor(*color);
    // The panel's changes now go to the object selected here.
    panel.setTarget(&mView, [this](const Color& color) { changeColor(color); });
}

void PlotCommands::changeColor(const Color& color)
{
    CGraphObject* selected = mState.selection().object;
    if (!selected)
        return;
    selected->setColor(color);
    mView.update();
}

void PlotCommands::onCurvesSettingsPanel(QObject* sender)
{
    auto* curve = dynamic_cast<CGraphCurve*>(mState.selection().object);
    if (!curve)
        return;
    CCurveSettingsWindow* panel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    panel->showWindow(sender);
    panel->setPlotView(&mView);
    panel->setGraphCurve(curve);
    panel->startModalSession();
}

void PlotCommands::onPointsSettingsPanel(QObject* sender)
{
    CGraphObject* object = mState.selection().object;
    const bool isMarker = dynamic_cast<CGraphPoint*>(object) || dynamic_cast<CGraphPointCurve*>(object)
                          || dynamic_cast<CGraphStringPointCurve*>(object);
    if (!isMarker)
        return;
    CPointSettingsWindow* panel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    panel->showWindow(sender);
    panel->setPlotView(&mView);
    panel->setGraphObject(object);
    panel->startModalSession();
}

// --- Exports and copies

void PlotCommands::onExportCurveData(QObject*)
{
    if (auto* curve = dynamic_cast<CGraphCurve*>(mState.selection().object))
        curve->exportCurveData(&mView);
}

QByteArray PlotCommands::pdfData()
{
    const auto draw = [this](QPainter& painter) { mView.drawForOutput(painter); };
    return pdfOfSize(QSizeF(mView.width(), mView.height()), draw);
}

bool PlotCommands::onPrintPlot(QObject*)
{
    const std::optional<QString> path = chooseExportFile(QStringLiteral("plot.pdf"), QStringLiteral("pdf"), &mView);
    if (!path)
        return false;
    const QByteArray pdf = pdfData();
    if (pdf.isEmpty()) {
        showAlert(CPlotView::tr("The plot could not be made into a PDF document."));
        return false;
    }
    return writeExportFile(*path, pdf);
}

QWidget* PlotCommands::onOpenNewPlotWindow(QObject*)
{
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(CPlotView::tr("Plot"));
    window->resize(400, 300);
    auto* frame = new CDrawPlotView(QRect(0, 0, 400, 300), window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    frame->installPlotView(mView.copy());
    frame->installButtons();
    window->show();
    window->raise();
    return window;
}

} // namespace quorvel
