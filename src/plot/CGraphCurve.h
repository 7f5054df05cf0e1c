#pragma once
// A polyline through data points, broken into runs by flagged points, with an optional
// label centred on an anchor. It answers clicks near its points and segments and writes
// its points to a text file.

#include "plot/CGraphObject.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quorvel {

struct PlotPoint {
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const PlotPoint&) const = default;
};

// A point of a curve; a flagged point is a gap marker that is neither drawn nor exported.
struct CurvePoint {
    PlotPoint point;
    bool breakFlag = false;
    bool operator==(const CurvePoint&) const = default;
};

// A curve's dash code; every code draws a solid line.
enum class LineDash : qint32 { Solid = 0 };

class CGraphCurve : public CGraphObject {
public:
    CGraphCurve();

    void addPoint(float x, float y, bool breakFlag);
    void setLabel(const QString& label, float x, float y);
    void setMLabel(const std::optional<QString>& label) { mCurveLabel = label; }
    const std::optional<QString>& mLabel() const { return mCurveLabel; }
    void setMLabelAnchor(PlotPoint anchor) { mAnchor = anchor; }
    PlotPoint mLabelAnchor() const { return mAnchor; }
    void setMPointsList(const std::vector<CurvePoint>& points) { mPoints = points; }
    const std::vector<CurvePoint>& mPointsList() const { return mPoints; }
    void setLineDash(LineDash dash) { mDash = dash; }

    // The point of the last pair; false (outputs untouched) for a curve without points.
    bool getLastPointCoord(float& x, float& y) const;
    // The point of pair i; none outside the list.
    std::optional<PlotPoint> getPointAtIndex(int index) const;
    // Linear interpolation between the unflagged points; 0 when x is not covered.
    float getYFromX(float x) const;

    void render(ViewCanvas& canvas, const PlotFrame& frame) override;
    bool isHit(QPointF point, const PlotFrame& frame) const override;
    std::shared_ptr<CGraphObject> copy() const override;

    // Asks for a file through the platform's chooser over `parent` (proposed name
    // "data.txt") and writes the points; returns whether a file was written.
    bool exportCurveData(QWidget* parent = nullptr);
    // The text of the export: "%18e\t%18e\r\n" per point, "\r\n" per flagged point.
    QByteArray exportText() const;
    // Writes the export to `path`; on failure reports it and leaves no partial file.
    bool writeCurveData(const QString& path) const;

    static constexpr float kHitTolerance = 5.0f;

private:
    std::vector<CurvePoint> mPoints;
    std::optional<QString> mCurveLabel;
    PlotPoint mAnchor;
    LineDash mDash = LineDash::Solid;
};

} // namespace quorvel
