#pragma once
// The x-y plot view of every diagram: an ordered list of plot objects, default, current
// and maximum axis ranges, axis labels, tick settings, optional base-10 logarithmic
// axes, a legend, a selection point and object, and the coefficients that map data
// values to view coordinates (y growing upward, origin at the lower left).
//
// Ranges are always given x minimum, x maximum, y minimum, y maximum. Plot geometry is
// single precision. The margins, decade exponents and coefficients describe the last
// draw: a change of ranges, labels or size takes effect on them at the next draw.
//
// Accessors carry the names the rest of the system uses (graphObjects, mNbXTicks,
// showLogX, selectedObject, ...); the fields behind them are named after what they hold.
//
// Interaction (CPlotViewMouse.cpp): a left press picks an object, moves the selection
// point, opens a settings panel on a double click, drags the legend or drags out a zoom
// rectangle. Commands (CPlotViewMenus.cpp): four context menus, zooms, ranges, log axes,
// grid, fonts, thickness, marker size, colours, exports and a copy in a new window.
// Range, font, thickness and marker-size changes are undoable on the view's undo manager.

#include "plot/CGraphLegend.h"
#include "plot/CGraphObject.h"
#include "plot/PlotFrame.h"
#include "plot/ViewCanvas.h"

#include "platform/UndoManager.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <QPointer>

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QContextMenuEvent;
class QMenu;
class QMouseEvent;

namespace quorvel {

class CDrawPlotView;
class CGraphPoint;
class CPlotFormat;
class PlotViewProvider;


// The commands of the plot views' menus and buttons; a menu item made by
// CPlotView::addMenuItem carries its command, which validateMenuItem reads. Each has one
// row in CPlotView::commandTable().
enum class PlotCommand {
    ZoomIn,
    ZoomOut,
    ShowAxisRangePanel,
    AxisRangesByDefault,
    MaximumAxisRanges,
    LabelFontSettings,
    GraduationFontSettings,
    GraphObjectFont,
    ToggleShowLogX,
    ToggleShowLogY,
    ShowGrid,
    PrintPlot,
    OpenNewPlotWindow,
    NormalThickness,
    DoubleThickness,
    TripleThickness,
    GraphObjectColor,
    CurvesSettingsPanel,
    ExportCurveData,
    IncreasePointSize,
    DecreasePointSize,
    PointsSettingsPanel,
};

class CPlotView;

// One command: what its menu item shows, how it is enabled, what it runs and the name of
// the undo it registers. The menus, their validation and the dispatch are built from it.
struct PlotCommandRow {
    PlotCommand command;
    const char* title;    // menu title, translated in the CPlotView context
    const char* shortcut; // key equivalent; "" for none
    void (*action)(CPlotView& view, QObject* sender);
    // Whether the item is enabled (it may also set the item's state or title); none:
    // always enabled.
    bool (*validate)(CPlotView& view, QAction& item);
    const char* undoName; // action name of the undo it registers; none when not undoable
};

class CPlotView : public QWidget {
    Q_OBJECT
public:
    // Which text the font panel edits (mEditedFont); any other value means the axis labels.
    enum FontKind { LabelsFont = 1, TicksFont = 2, LegendsFont = 3 };

    // A view of the given frame (initWithFrame), with the initial state of a new view.
    explicit CPlotView(const QRect& frame = QRect(0, 0, 400, 300), QWidget* parent = nullptr);
    ~CPlotView() override;

    // A new view of the same bounds holding copies of the objects (and a legend listing
    // those copies), with the tick settings, labels, log flags, the current ranges as
    // default and current ranges, and the maximum ranges.
    std::unique_ptr<CPlotView> copy() const;

    // --- Ranges (x min, x max, y min, y max, data units); none of these redraws.
    void setDefaultXYRange(float minX, float maxX, float minY, float maxY);
    void setMaxXYRange(float minX, float maxX, float minY, float maxY);
    void setXYRange(float minX, float maxX, float minY, float maxY);
    // Widens the default ranges to include the bounds (x bounds rounded out to the steps)
    // and makes them current.
    void adjustXYRange(float minX, float maxX, float minY, float maxY, float lowStep, float highStep);
    void getDefaultXYRange(float& minX, float& maxX, float& minY, float& maxY) const;
    void getXYRange(float& minX, float& maxX, float& minY, float& maxY) const;
    void getMaxXYRange(float& minX, float& maxX, float& minY, float& maxY) const;

    // --- Ticks, labels and axes.
    void setTicksNumber(int x, int y);
    void setTicksDigits(int x, int y);
    int mNbXTicks() const { return mXTickCount; }
    void setMNbXTicks(int n) { mXTickCount = n; }
    int mNbYTicks() const { return mYTickCount; }
    void setMNbYTicks(int n) { mYTickCount = n; }
    int mXTicksDigits() const { return mXTickDigits; }
    void setMXTicksDigits(int n) { mXTickDigits = n; }
    int mYTicksDigits() const { return mYTickDigits; }
    void setMYTicksDigits(int n) { mYTickDigits = n; }
    bool showLogX() const { return mShowLogX; }
    void setShowLogX(bool on) { mShowLogX = on; }
    bool showLogY() const { return mShowLogY; }
    void setShowLogY(bool on) { mShowLogY = on; }
    bool drawGrid() const { return mDrawGrid; }
    void setDrawGrid(bool on) { mDrawGrid = on; }
    // Both axis labels, made with the axis-label attributes.
    void setLabels(const QString& xLabel, const QString& yLabel);
    const AttributedText& mXLabel() const { return mXAxisLabel; }
    void setMXLabel(const AttributedText& label) { mXAxisLabel = label; }
    const AttributedText& mYLabel() const { return mYAxisLabel; }
    void setMYLabel(const AttributedText& label) { mYAxisLabel = label; }

    // --- Content. The view keeps the objects added to it.
    void addGraphObject(const GraphObjectPtr& object);
    void removeGraphObject(CGraphObject* object);
    void purge();
    void purgeReferenceObjects(); // objects that stand for a record
    void purgeCurves();           // objects of class CGraphCurve exactly
    void purgePointCurves();      // CGraphPointCurve exactly, without a record
    const std::vector<GraphObjectPtr>& graphObjects() const { return mGraphObjects; }
    void setGraphObjects(const std::vector<GraphObjectPtr>& objects) { mGraphObjects = objects; }

    void includesIntoLegend(const GraphObjectPtr& object);
    void removeFromLegend(CGraphObject* object);
    // Shows the legend and moves it to (x, y), data units.
    void setLegendPosition(float x, float y);
    CGraphLegend* mLegend() const { return mLegendObject.get(); }
    void setMLegend(const CGraphLegend& legend); // keeps a copy, attached to this view
    const TextAttributes& getLegendsAttributes() const { return mLegendsAttributes; }

    // --- Selection (no redraw, except showSelectionPoint).
    CGraphObject* selectedObject() const { return mSelectedObject; }
    void setSelectedObject(CGraphObject* object) { mSelectedObject = object; }
    float selectedPointX() const { return mSelectedPointX; }
    void setSelectedPointX(float x) { mSelectedPointX = x; }
    float selectedPointY() const { return mSelectedPointY; }
    void setSelectedPointY(float y) { mSelectedPointY = y; }
    void getSelectedPoint(float& x, float& y) const;
    void getSelection(float& x, float& y, CGraphObject*& object) const;
    void showSelectionPoint(bool visible);

    // --- Coordinates. Conversions use the coefficients of the last draw.
    QRectF getPlotRect() const;
    virtual void calculateCoefficients();
    virtual float getXValue(float value) const;
    virtual float getYValue(float value) const;
    float getXFromPixelValue(float pixel) const;
    float getYFromPixelValue(float pixel) const;
    // What the plot objects draw and are hit in: the transforms of the last draw, the
    // plot rectangle and the legend font.
    PlotFrame plotFrame() const;

    // --- Drawing.
    // Draws the whole view into a painter whose device shows the view's bounds.
    void drawView(QPainter& painter);
    // The same for a printout or an export: without the selection cross.
    void drawForOutput(QPainter& painter);
    virtual void drawRect(ViewCanvas& canvas);
    virtual void drawYLabel(ViewCanvas& canvas, float x, float y);

    // The plot document that the view's window shows; none for a view without one.
    PlotViewProvider* getDocument() const;

    CDrawPlotView* drawPlotView() const { return mDrawPlotView; }
    void setDrawPlotView(CDrawPlotView* frameView) { mDrawPlotView = frameView; }
    virtual void setModified() { }

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
    UndoManager* undoManager();
    void setUndoManager(UndoManager* manager);

    // --- Mouse interaction and selection (CPlotViewMouse.cpp). Points are view
    // coordinates (y growing upward).
    // The hit test of a press: moves the selection point into the plot area, selects the
    // object (or the legend) hit, and answers whether one was.
    bool testClickedGraphObject(QPointF point);
    // Moves the legend to (x - dx, y - dy), data units; undoable ("Move Of Legend").
    void doChangeLegendPosition(float x, float y, float dx, float dy);
    // Announces the selection ("PlotSelection"); document views announce their own.
    virtual void notifyObjectSelection();
    // Highlights that object alone among the plot objects (none: no highlight); redraws.
    void hilite(CGraphObject* object);
    void hilite1(CGraphObject* object);
    void setSelectedPoint(float x, float y);
    void adjustSelectionPoint(const CGraphPoint& point);
    void updateStatusMessage();
    void updateColorPanel();
    // The shared colour panel's action: the selected object takes the colour (no undo).
    void changeColor(const Color& color);
    bool isSelectingPointVisible() const { return mIsSelectingPointVisible; }
    QRectF trackingRect() const { return mTrackingRect; }
    // Whether a zoom rectangle is present (not the zero rectangle).
    bool hasTrackingRect() const;

    // --- Menus and commands (CPlotViewMenus.cpp).
    // The context menu for a press at `point`: the plot menu on empty plot area, the curve
    // menu on a curve, the point menu on a point or marker list, none otherwise.
    virtual QMenu* menuForEvent(QPointF point);
    // Enables an item (and sets its state or title) by its command.
    virtual bool validateMenuItem(QAction* item);
    QMenu* plotMenu() const { return mPlotMenu; }
    QMenu* curvesMenu() const { return mCurvesMenu; }
    QMenu* pointsMenu() const { return mPointsMenu; }
    QMenu* fontsMenu() const { return mFontsMenu; }
    // A menu item that runs `command` on this view and is validated with the menu.
    QAction* addMenuItem(QMenu* menu, const QString& title, PlotCommand command);
    void perform(PlotCommand command, QObject* sender = nullptr);
    // Every command, one row each, in the order of PlotCommand.
    static std::span<const PlotCommandRow> commandTable();
    static const PlotCommandRow& commandRow(PlotCommand command);
    // The translated undo name of a command's row (empty for a command without undo).
    static QString undoNameOf(PlotCommand command);

    void onZoomIn(QObject* sender = nullptr);
    void onZoomOut(QObject* sender = nullptr);
    void onAxisRangesByDefault(QObject* sender = nullptr);
    void onMaximumAxisRanges(QObject* sender = nullptr);
    void onShowAxisRangePanel(QObject* sender = nullptr);
    void onToggleShowLogX(QObject* sender = nullptr);
    void onToggleShowLogY(QObject* sender = nullptr);
    void onShowGrid(QObject* sender = nullptr);
    void onLabelFontSettings(QObject* sender = nullptr);
    void onGraduationFontSettings(QObject* sender = nullptr);
    void onGraphObjectFont(QObject* sender = nullptr);
    void onNormalThickness(QObject* sender = nullptr);
    void onDoubleThickness(QObject* sender = nullptr);
    void onTripleThickness(QObject* sender = nullptr);
    void onIncreasePointSize(QObject* sender = nullptr);
    void onDecreasePointSize(QObject* sender = nullptr);
    void onGraphObjectColor(QObject* sender = nullptr);
    void onCurvesSettingsPanel(QObject* sender = nullptr);
    void onPointsSettingsPanel(QObject* sender = nullptr);
    void onExportCurveData(QObject* sender = nullptr);
    // Saves the view as PDF in a chosen file; answers whether a file was written.
    bool onPrintPlot(QObject* sender = nullptr);
    // A copy of the plot in a window of its own (deleted when closed); answers the window.
    QWidget* onOpenNewPlotWindow(QObject* sender = nullptr);

    // Undoable primitives.
    void doChangeAxisRanges(float minX, float maxX, float minY, float maxY);
    void doChangeFont(const TextAttributes& font, int kind);
    // The line thickness: size factor and size together (a curve draws with its size).
    void doChangeToolSizeFactor(float factor, CGraphObject* object);
    void doIncreasePointSizeOf(CGraphObject* object);
    // A marker's size factor stays at least 1: a decrease below it is ignored.
    void doDecreasePointSizeOf(CGraphObject* object);

    // The font panel for the text kind mEditedFont, and its answer.
    void openFontPanel(QObject* sender = nullptr);
    void changeFont(const QFont& chosen);
    const TextAttributes& textAttributesOfKind(int kind) const;
    int editedFont() const { return mEditedFont; }

    // The PDF of the whole view, one page of the view's size in points; empty on failure.
    QByteArray pdfData();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // A widget position as a view point (y growing upward).
    QPointF viewPoint(QPointF widgetPosition) const;
    // The left-button press; clicks > 1 is a double click.
    void mouseDown(QPointF point, int clicks);
    void dragTo(QPointF point);
    void mouseUp(QPointF point);
    void beginLegendDrag(QPointF point);
    void beginZoomRectangle(QPointF point);
    void writeStatus(const std::optional<QString>& name, int extraDigits);
    void buildMenus();
    // A context menu of the rows of `items`, in order; none stands for a separator.
    QMenu* makeMenu(const QString& title, std::initializer_list<std::optional<PlotCommand>> items);
    // The shared handle of an object of this view (plot object or legend), for undo.
    std::weak_ptr<CGraphObject> handleOf(const CGraphObject* object) const;
    void setToolSize(const std::weak_ptr<CGraphObject>& object, float factor, float size);
    void setMarkerSizeFactor(const std::weak_ptr<CGraphObject>& object, float factor, const QString& actionName);

    // Removes the objects for which `matches` answers true, from the list and from the
    // legend, and detaches them from the view.
    template <class Predicate>
    void purgeMatching(Predicate matches);
    void detach(CGraphObject* object);

    // One axis as a draw sees it: bounds for the ticks, tick step and first tick, and
    // the size of its widest tick label.
    struct AxisTicks {
        bool logarithmic = false;
        float lo = 0.0f;
        float hi = 0.0f;
        int digits = 0;
        std::optional<float> step;
        float first = 0.0f;
        QSizeF labelSize;
    };
    AxisTicks axisTicks(bool logarithmic, float currentMin, float currentMax, float logMin, float logMax,
                        int tickCount, int digits) const;
    static QString tickLabel(const AxisTicks& axis, float value);
    // The width of the widest tick label the axis draws (at least that of labelSize).
    double widestTickLabelWidth(const AxisTicks& axis) const;
    void updateDecades();
    void drawAxisLabels(ViewCanvas& canvas, const QRectF& plotRect);
    void drawFrameAndTicks(ViewCanvas& canvas, const QRectF& plotRect, const AxisTicks& x, const AxisTicks& y);
    void drawTickLabels(ViewCanvas& canvas, const QRectF& plotRect, const AxisTicks& x, const AxisTicks& y);
    void drawSelectionCross(ViewCanvas& canvas);
    QRectF viewBounds() const { return QRectF(0.0, 0.0, width(), height()); }

    CDrawPlotView* mDrawPlotView = nullptr; // frame view, not owned
    std::vector<GraphObjectPtr> mGraphObjects;

    float mMinX = 0.0f, mMinY = 0.0f, mMaxX = 1.0f, mMaxY = 1.0f;                             // default
    float mCurrentMinX = 0.0f, mCurrentMaxX = 1.0f, mCurrentMinY = 0.0f, mCurrentMaxY = 1.0f; // shown
    float mMaxMinX = 0.0f, mMaxMaxX = 1.0f, mMaxMinY = 0.0f, mMaxMaxY = 1.0f;                 // zoom limits

    int mXTickCount = 2;
    int mYTickCount = 2;
    AttributedText mXAxisLabel;
    AttributedText mYAxisLabel;
    int mXTickDigits = 3;
    int mYTickDigits = 3;

    QRectF mPlotRect; // kept by the zoom-out command
    float mMarginLeft = 80.0f, mMarginTop = 15.0f, mMarginRight = 30.0f, mMarginBottom = 60.0f;
    bool mDrawGrid = false;
    bool mShowLogX = false;
    bool mShowLogY = false;
    float mLogXmin = 0.0f, mLogXmax = 0.0f, mLogYmin = 0.0f, mLogYmax = 0.0f;
    float mAx = 0.0f, mBx = 0.0f, mAy = 0.0f, mBy = 0.0f;

    bool mIsSelectingPointVisible = false;
    float mSelectedPointX = 0.0f;
    float mSelectedPointY = 0.0f;
    CGraphObject* mSelectedObject = nullptr; // not owned

    std::shared_ptr<CGraphLegend> mLegendObject;
    TextAttributes mLabelsAttributes;
    TextAttributes mTicksAttributes;
    TextAttributes mLegendsAttributes;
    int mEditedFont = 0;

    QRectF mTrackingRect; // zoom rectangle, view units; empty when none
    Color backColor;      // margin area
    Color foreColor;      // plot area
    bool mIsPrinting = false;

    // Context menus, owned by the view (as children); subclasses may replace them.
    QMenu* mPlotMenu = nullptr;
    QMenu* mCurvesMenu = nullptr;
    QMenu* mPointsMenu = nullptr;
    QMenu* mFontsMenu = nullptr;

    UndoManager* mOwnUndoManager = nullptr; // a child of the view, made on first use
    QPointer<UndoManager> mUndoManager;     // a document's, when given

    // The drag a press started, until its release.
    enum class Drag { None, Legend, Zoom };
    Drag mDrag = Drag::None;
    QPointF mPressPoint;
    QPointF mPreviousDragPoint;
    QPointF mGrabOffset;          // legend drag: press point minus the legend's anchor
    bool mDragMoved = false;
    float mPressSelectedPointX = 0.0f; // the selection point before the press
    float mPressSelectedPointY = 0.0f;
};

} // namespace quorvel
