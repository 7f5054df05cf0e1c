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

#include "plot/CGraphLegend.h"
#include "plot/CGraphObject.h"
#include "plot/ViewCanvas.h"

#include <QRectF>
#include <QWidget>

#include <memory>
#include <vector>

namespace quorvel {

class CDrawPlotView;

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

    // --- Drawing.
    // Draws the whole view into a painter whose device shows the view's bounds.
    void drawView(QPainter& painter);
    virtual void drawRect(ViewCanvas& canvas);
    virtual void drawYLabel(ViewCanvas& canvas, float x, float y);

    CDrawPlotView* drawPlotView() const { return mDrawPlotView; }
    void setDrawPlotView(CDrawPlotView* frameView) { mDrawPlotView = frameView; }
    virtual void setModified() { }

protected:
    void paintEvent(QPaintEvent* event) override;

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
};

} // namespace quorvel
