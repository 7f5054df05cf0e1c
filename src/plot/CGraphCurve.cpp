#include "plot/CGraphCurve.h"

#include "plot/PlotFrame.h"
#include "plot/PlotFiles.h"
#include "plot/ViewCanvas.h"


#include <cmath>
#include <cstdio>

namespace quorvel {

CGraphCurve::CGraphCurve()
{
    mSelectable = true;
    mSize = 1.0f;
}

void CGraphCurve::addPoint(float x, float y, bool breakFlag)
{
    mPoints.push_back({{x, y}, breakFlag});
}

void CGraphCurve::setLabel(const QString& label, float x, float y)
{
    mCurveLabel = label;
    mAnchor = {x, y};
}

bool CGraphCurve::getLastPointCoord(float& x, float& y) const
{
    if (mPoints.empty())
        return false;
    x = mPoints.back().point.x;
    y = mPoints.back().point.y;
    return true;
}

std::optional<PlotPoint> CGraphCurve::getPointAtIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(mPoints.size()))
        return std::nullopt;
    return mPoints[static_cast<std::size_t>(index)].point;
}

float CGraphCurve::getYFromX(float x) const
{
    std::optional<PlotPoint> previous;
    for (const CurvePoint& p : mPoints) {
        if (previous && !p.breakFlag) {
            const float x0 = previous->x, y0 = previous->y;
            const float x1 = p.point.x, y1 = p.point.y;
            if ((x >= x0 && x < x1) || (x > x1 && x <= x0))
                return y1 + (x - x1) * (y0 - y1) / (x0 - x1);
        }
        previous = p.point;
    }
    return 0.0f;
}

void CGraphCurve::render(ViewCanvas& canvas, const PlotFrame& frame)
{
    if (mHidden)
        return;
    canvas.save();
    canvas.clipTo(frame.plotRect);
    canvas.setColor(mColor);

    mPath = QPainterPath();
    mHasDrawn = true;
    bool first = true;
    bool gap = false;
    for (const CurvePoint& p : mPoints) {
        if (p.breakFlag) {
            gap = true;
            continue;
        }
        const QPointF v = frame.toView(p.point.x, p.point.y);
        if (first) {
            mPath.moveTo(v);
            first = false;
        } else if (gap) {
            mPath.moveTo(v);
            gap = false;
        } else {
            mPath.lineTo(v);
        }
    }
    // The drawn width follows the size; a factor set alone lasts until this draw.
    mToolSizeFactor = mSize;
    canvas.stroke(mPath, mToolSizeFactor + (mHilited ? 1.0f : 0.0f));

    if (mCurveLabel) {
        const TextAttributes& attributes = frame.legendsAttributes;
        const QSizeF size = textSize(*mCurveLabel, attributes);
        const QPointF anchor = frame.toView(mAnchor.x, mAnchor.y);
        canvas.drawText(*mCurveLabel, attributes,
                        {anchor.x() - 0.5 * size.width(), anchor.y() - 0.5 * size.height()});
    }
    canvas.restore();
}

namespace {

bool inBox(QPointF click, QPointF centre, double tolerance)
{
    return std::fabs(click.x() - centre.x()) <= tolerance && std::fabs(click.y() - centre.y()) <= tolerance;
}

// Whether a click lies within `tolerance` of the segment p0-p1, measured along the
// segment's minor axis.
bool onSegment(QPointF click, QPointF p0, QPointF p1, double tolerance)
{
    const double cx = click.x(), cy = click.y();
    const double x0 = p0.x(), y0 = p0.y(), x1 = p1.x(), y1 = p1.y();
    if (x0 == x1 && y0 == y1)
        return false;
    if (std::fabs(x1 - x0) >= std::fabs(y1 - y0)) {
        if (cx < std::min(x0, x1) || cx > std::max(x0, x1))
            return false;
        if (cy < std::min(y0, y1) - tolerance || cy > std::max(y0, y1) + tolerance)
            return false;
        const double yl = y0 + (cx - x0) * (y1 - y0) / (x1 - x0);
        return cy >= yl - tolerance && cy <= yl + tolerance;
    }
    if (cy < std::min(y0, y1) || cy > std::max(y0, y1))
        return false;
    if (cx < std::min(x0, x1) - tolerance || cx > std::max(x0, x1) + tolerance)
        return false;
    const double xl = x0 + (cy - y0) * (x1 - x0) / (y1 - y0);
    return cx >= xl - tolerance && cx <= xl + tolerance;
}

} // namespace

bool CGraphCurve::isHit(QPointF point, const PlotFrame& frame) const
{
    if (mHidden || !mSelectable || mPoints.empty())
        return false;
    // Each run starts with the box of its first point; then every drawn segment counts
    // with the box of its start. Segments next to a break point are not drawn and not hit.
    std::optional<QPointF> p0;
    for (const CurvePoint& p : mPoints) {
        if (p.breakFlag) {
            p0.reset();
            continue;
        }
        const QPointF p1 = frame.toView(p.point.x, p.point.y);
        if (!p0) {
            if (inBox(point, p1, kHitTolerance))
                return true;
        } else if (inBox(point, *p0, kHitTolerance) || onSegment(point, *p0, p1, kHitTolerance)) {
            return true;
        }
        p0 = p1;
    }
    return false;
}

std::shared_ptr<CGraphObject> CGraphCurve::copy() const
{
    auto curve = std::make_shared<CGraphCurve>();
    copyBaseInto(*curve);
    curve->mPoints = mPoints;
    curve->mCurveLabel = mCurveLabel;
    curve->mAnchor = mAnchor;
    return curve;
}

QByteArray CGraphCurve::exportText() const
{
    QByteArray text;
    char line[64];
    for (const CurvePoint& p : mPoints) {
        if (p.breakFlag) {
            text += "\r\n";
            continue;
        }
        const int n = std::snprintf(line, sizeof line, "%18e\t%18e\r\n", static_cast<double>(p.point.x),
                                    static_cast<double>(p.point.y));
        text.append(line, n);
    }
    return text;
}

bool CGraphCurve::writeCurveData(const QString& path) const
{
    return writeExportFile(path, exportText());
}

bool CGraphCurve::exportCurveData(QWidget* parent)
{
    const std::optional<QString> path = chooseExportFile(QStringLiteral("data.txt"), QStringLiteral("txt"), parent);
    if (!path)
        return false;
    return writeCurveData(*path);
}

} // namespace quorvel
