#pragma once
// The x-y plot view of every diagram. The view is the widget; what it shows, how it
// draws, how it answers the mouse and what its commands do are parts it owns:
// - PlotState: ranges, axis settings, fonts, plot objects, legend and selection;
// - PlotDrawing: the painting and the data-to-view mapping of the last draw;
// - PlotMouse: hit test, selection, legend drag and zoom rectangle;
// - PlotCommands: the command table behind the menus and buttons;
// - PlotChanges: the undoable changes and the undo manager they go to.
//
// Ranges are always given x minimum, x maximum, y minimum, y maximum, data units, in
// single precision. The operations below are those the rest of the system uses; finer
// work goes through the parts.

#include "plot/PlotChanges.h"
#include "plot/PlotCommands.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotMouse.h"
#include "plot/PlotState.h"

#include <QPointF>
#include <QWidget>

#include <memory>

class QAction;
class QContextMenuEvent;
class QMenu;
class QMouseEvent;

namespace quorvel {

class CDrawPlotView;
class CPlotFormat;
class PlotViewProvider;

class CPlotView : public QWidget {
    Q_OBJECT
public:
    // A view of the given frame (initWithFrame), with the initial state of a new view.
    explicit CPlotView(const QRect& frame = QRect(0, 0, 400, 300), QWidget* parent = nullptr);
    ~CPlotView() override;

    // A new view of the same bounds holding copies of the objects (and a legend listing
    // those copies), with the tick settings, labels, log flags, the current ranges as
    // default and current ranges, and the maximum ranges.
    std::unique_ptr<CPlotView> copy() const;

    PlotState& state() { return mState; }
    const PlotState& state() const { return mState; }
    PlotDrawing& drawing() { return mDrawing; }
    const PlotDrawing& drawing() const { return mDrawing; }
    PlotMouse& mouse() { return mMouse; }
    PlotChanges& changes() { return mChanges; }
    PlotCommands& commands() { return mCommands; }

    // --- Ranges; none of these redraws.
    void setDefaultXYRange(float minX, float maxX, float minY, float maxY);
    void setMaxXYRange(float minX, float maxX, float minY, float maxY);
    // Also refreshes the axis-range panel when it is shown.
    void setXYRange(float minX, float maxX, float minY, float maxY);
    // Widens the default ranges to include the bounds (x bounds rounded out to the steps)
    // and makes them current.
    void adjustXYRange(float minX, float maxX, float minY, float maxY, float lowStep, float highStep);
    void getDefaultXYRange(float& minX, float& maxX, float& minY, float& maxY) const;
    void getXYRange(float& minX, float& maxX, float& minY, float& maxY) const;
    void getMaxXYRange(float& minX, float& maxX, float& minY, float& maxY) const;

    // --- Ticks and labels.
    void setTicksNumber(int x, int y);
    void setTicksDigits(int x, int y);
    int mNbXTicks() const { return mState.axes().xTickCount; }
    int mNbYTicks() const { return mState.axes().yTickCount; }
    int mXTicksDigits() const { return mState.axes().xTickDigits; }
    void setMXTicksDigits(int n) { mState.axes().xTickDigits = n; }
    int mYTicksDigits() const { return mState.axes().yTickDigits; }
    void setMYTicksDigits(int n) { mState.axes().yTickDigits = n; }
    void setDrawGrid(bool on) { mState.axes().drawGrid = on; }
    const AttributedText& mXLabel() const { return mState.axes().xLabel; }
    const AttributedText& mYLabel() const { return mState.axes().yLabel; }
    // Both axis labels, made with the axis-label font.
    void setLabels(const QString& xLabel, const QString& yLabel) { mState.setLabels(xLabel, yLabel); }

    // --- Content. The view keeps the objects added to it.
    void addGraphObject(const GraphObjectPtr& object) { mState.add(object); }
    void removeGraphObject(CGraphObject* object) { mState.remove(object); }
    void purge() { mState.purge(); }
    void purgeReferenceObjects() { mState.purgeReferenceObjects(); }
    void purgeCurves() { mState.purgeCurves(); }
    void purgePointCurves() { mState.purgePointCurves(); }
    const std::vector<GraphObjectPtr>& graphObjects() const { return mState.objects(); }
    void includesIntoLegend(const GraphObjectPtr& object) { mState.includeInLegend(object); }
    void removeFromLegend(CGraphObject* object) { mState.removeFromLegend(object); }
    // Shows the legend and moves it to (x, y), data units.
    void setLegendPosition(float x, float y) { mState.setLegendPosition(x, y); }
    CGraphLegend* mLegend() const { return &mState.legend(); }

    // --- Selection (no redraw, except showSelectionPoint, setSelectedPoint and hilite).
    CGraphObject* selectedObject() const { return mState.selection().object; }
    void setSelectedObject(CGraphObject* object) { mState.selection().object = object; }
    float selectedPointX() const { return mState.selection().pointX; }
    void setSelectedPointX(float x) { mState.selection().pointX = x; }
    float selectedPointY() const { return mState.selection().pointY; }
    void setSelectedPointY(float y) { mState.selection().pointY = y; }
    void getSelectedPoint(float& x, float& y) const;
    void showSelectionPoint(bool visible);
    void setSelectedPoint(float x, float y) { mMouse.setSelectedPoint(x, y); }
    // Highlights that object alone among the plot objects (none: no highlight).
    void hilite(CGraphObject* object) { mMouse.hilite(object); }
    // The hit test of a press at a view point (y growing upward): selects the object (or
    // the legend) hit and answers whether one was.
    bool testClickedGraphObject(QPointF point) { return mMouse.testClickedGraphObject(point); }
    // Announces the selection ("PlotSelection"); document views announce their own.
    virtual void notifyObjectSelection();
    void updateColorPanel() { mCommands.updateColorPanel(); }

    // --- Coordinates, with the coefficients of the last draw.
    float getXValue(float value) const { return mDrawing.getXValue(value); }
    float getYValue(float value) const { return mDrawing.getYValue(value); }
    PlotFrame plotFrame() const { return mDrawing.plotFrame(); }

    // --- Drawing.
    // Draws the whole view into a painter whose device shows the view's bounds.
    void drawView(QPainter& painter);
    // The same for a printout or an export: without the selection cross.
    void drawForOutput(QPainter& painter);
    // The PDF of the whole view, one page of the view's size in points; empty on failure.
    QByteArray pdfData() { return mCommands.pdfData(); }

    // The plot document that the view's window shows; none for a view without one.
    PlotViewProvider* getDocument() const;
    CDrawPlotView* drawPlotView() const { return mDrawPlotView; }
    void setDrawPlotView(CDrawPlotView* frameView) { mDrawPlotView = frameView; }

    // --- Plot formats (CPlotViewFormat.cpp).
    // Writes the default and current ranges, the legend position and the fonts of the
    // legend, axis labels and tick labels into the format.
    void updatePlotFormat(CPlotFormat& format) const;
    // Takes the default and current ranges, the legend position (showing the legend) and
    // the three fonts from the format; the maximum ranges stay. No redraw.
    void setFromPlotFormat(const CPlotFormat& format);
    // The attributes of one font; a family the system does not have falls back to the
    // default text family, and a size below 1 becomes 1.
    static TextAttributes setTextAttributes(const QString& fontName, int size, bool bold, bool italic);

    // --- Undo. The undo manager of the document that shows the view, or the view's own.
    UndoManager* undoManager() { return mChanges.undoManager(); }
    void setUndoManager(UndoManager* manager) { mChanges.setUndoManager(manager); }

    // --- Menus and commands.
    // The context menu for a press at `point`: the plot menu on empty plot area, the curve
    // menu on a curve, the point menu on a point or marker list, none otherwise.
    virtual QMenu* menuForEvent(QPointF point);
    // Enables an item (and sets its state or title) by its command.
    virtual bool validateMenuItem(QAction* item);
    QMenu* plotMenu() const { return mPlotMenu; }
    QMenu* curvesMenu() const { return mCurvesMenu; }
    QMenu* pointsMenu() const { return mPointsMenu; }
    QMenu* fontsMenu() const { return mFontsMenu; }
    static const PlotCommandRow& commandRow(PlotCommand command) { return PlotCommands::commandRow(command); }
    // A menu item that runs `command` on this view and is validated with the menu.
    QAction* addMenuItem(QMenu* menu, const QString& title, PlotCommand command);
    void perform(PlotCommand command, QObject* sender = nullptr) { mCommands.perform(command, sender); }
    void onAxisRangesByDefault(QObject* sender = nullptr) { perform(PlotCommand::AxisRangesByDefault, sender); }
    void onMaximumAxisRanges(QObject* sender = nullptr) { perform(PlotCommand::MaximumAxisRanges, sender); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // Context menus, owned by the view (as children); subclasses may replace them.
    QMenu* mPlotMenu = nullptr;
    QMenu* mCurvesMenu = nullptr;
    QMenu* mPointsMenu = nullptr;
    QMenu* mFontsMenu = nullptr;

private:
    // A widget position as a view point (y growing upward).
    QPointF viewPoint(QPointF widgetPosition) const;
    void buildMenus();

    CDrawPlotView* mDrawPlotView = nullptr; // frame view, not owned
    PlotState mState;
    PlotDrawing mDrawing;
    PlotChanges mChanges;
    PlotCommands mCommands;
    PlotMouse mMouse; // after the changes: a drag cut short by the view's end closes its undo group
};

} // namespace quorvel
