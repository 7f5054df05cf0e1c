#pragma once
// What a plot view shows: the default, current and maximum ranges, the axis settings, the
// three fonts, the ordered list of plot objects, the legend and the selection. Nothing
// here draws or redraws; the view that owns the state does.
//
// Objects added to the state are attached to the view that owns it, and detached again
// when they leave it or when the state goes away.

#include "plot/CGraphLegend.h"
#include "plot/CGraphObject.h"
#include "plot/ViewCanvas.h"

#include <QRectF>

#include <memory>
#include <vector>

namespace quorvel {

class CPlotView;

// The extent of a plot along both axes, data units.
struct XYRange {
    float minX = 0.0f;
    float maxX = 1.0f;
    float minY = 0.0f;
    float maxY = 1.0f;

    // Compared as floats: a NaN bound makes two ranges differ.
    bool operator==(const XYRange&) const = default;
};

struct PlotRanges {
    XYRange defaults;
    XYRange current; // what is shown
    XYRange maximum; // the limits of zooming
};

struct AxisSettings {
    int xTickCount = 2; // wished number of ticks
    int yTickCount = 2;
    int xTickDigits = 3; // decimals of a linear axis's tick labels
    int yTickDigits = 3;
    AttributedText xLabel;
    AttributedText yLabel;
    bool showLogX = false;
    bool showLogY = false;
    bool drawGrid = false;
};

// The texts of a plot that have a font of their own.
enum class FontKind { Labels = 1, Ticks = 2, Legends = 3 };

struct PlotFonts {
    TextAttributes labels;  // axis labels
    TextAttributes ticks;   // tick labels
    TextAttributes legends; // legend rows and the labels that plot objects draw

    TextAttributes& of(FontKind kind);
    const TextAttributes& of(FontKind kind) const;
};

struct PlotSelection {
    CGraphObject* object = nullptr; // not owned
    float pointX = 0.0f;            // data units
    float pointY = 0.0f;
    bool pointVisible = false;
    QRectF trackingRect; // the zoom rectangle, view units; the zero rectangle when none
};

class PlotState {
public:
    explicit PlotState(CPlotView* owner);
    ~PlotState();
    PlotState(const PlotState&) = delete;
    PlotState& operator=(const PlotState&) = delete;

    // Takes the source's axis settings, copies of its objects and of its legend (listing
    // those copies), its current ranges as default and current ranges, and its maximum ranges.
    void copyContentOf(const PlotState& source);

    PlotRanges& ranges() { return mRanges; }
    const PlotRanges& ranges() const { return mRanges; }
    // Sets the default ranges and makes them current.
    void setDefaultRange(const XYRange& range);
    // Widens the default ranges to include the bounds (x bounds rounded out to the steps)
    // and makes them current.
    void adjustDefaultRange(const XYRange& bounds, float lowStep, float highStep);

    AxisSettings& axes() { return mAxes; }
    const AxisSettings& axes() const { return mAxes; }
    // Both axis labels, made with the axis-label font.
    void setLabels(const QString& xLabel, const QString& yLabel);

    PlotFonts& fonts() { return mFonts; }
    const PlotFonts& fonts() const { return mFonts; }

    PlotSelection& selection() { return mSelection; }
    const PlotSelection& selection() const { return mSelection; }
    bool hasTrackingRect() const;

    // --- Objects, in drawing order.
    const std::vector<GraphObjectPtr>& objects() const { return mObjects; }
    void add(const GraphObjectPtr& object);
    // Takes the object off the legend and the list; the selection is cleared.
    void remove(CGraphObject* object);
    void purge();
    void purgeReferenceObjects(); // objects that stand for a record
    void purgeCurves();           // objects of class CGraphCurve exactly
    void purgePointCurves();      // CGraphPointCurve exactly, without a record
    // The shared handle of an object of the plot (plot object or legend); none otherwise.
    std::weak_ptr<CGraphObject> handleOf(const CGraphObject* object) const;

    // --- Legend.
    CGraphLegend& legend() const { return *mLegend; }
    void includeInLegend(const GraphObjectPtr& object);
    void removeFromLegend(CGraphObject* object);
    // Shows the legend and moves it to (x, y), data units.
    void setLegendPosition(float x, float y);

private:
    // Removes the objects for which `matches` answers true, from the list and from the
    // legend, and detaches them.
    template <class Predicate>
    void purgeMatching(Predicate matches);
    void detach(CGraphObject* object);

    CPlotView* mOwner; // the view objects are attached to
    PlotRanges mRanges;
    AxisSettings mAxes;
    PlotFonts mFonts;
    PlotSelection mSelection;
    std::vector<GraphObjectPtr> mObjects;
    std::shared_ptr<CGraphLegend> mLegend;
};

} // namespace quorvel
