// Drawing of CBarPlotView: the geometry of one drawing, and its painting.

#include "plot/CBarPlotView.h"

#include "platform/Color.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace quorvel {

namespace {

constexpr float kAxisOffset = 35;    // from the left margin to the vertical axis
constexpr float kBarOffset = 40;     // from the left margin to the first slot
constexpr float kMaximumBarWidth = 50;
constexpr float kLabelSpacing = 25;  // least room between two category labels
constexpr float kLabelGap = 4;       // least blank between the texts of two category labels
constexpr float kMarkerSize = 10;

// Value-axis labels of the linear scale, by the first maximum they fit.
struct LinearLabels {
    float above;
    std::vector<const char*> labels;
};

const std::vector<const char*>& linearLabels(float maximum)
{
    static const std::vector<LinearLabels> table = {
        {80, {"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}},
        {60, {"0.0", "20.0", "40.0", "60.0", "80.0"}},
        {40, {"0.0", "15.0", "30.0", "45.0", "60.0"}},
        {20, {"0.0", "10.0", "20.0", "30.0", "40.0"}},
        {10, {"0.0", "4.0", "8.0", "12.0", "16.0", "20.0"}},
    };
    static const std::vector<const char*> upToTen = {"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"};
    for (const LinearLabels& row : table)
        if (maximum > row.above)
            return row.labels;
    return upToTen;
}

QString decadeLabel(int exponent)
{
    static const char* const fixed[] = {" 0.001", "  0.01", "   0.1", "     1",
                                        "    10", "   100", "  1000", "10 000"};
    if (exponent >= -3 && exponent <= 4)
        return QString::fromLatin1(fixed[exponent + 3]);
    return QStringLiteral("1e%1").arg(exponent);
}

// The value axis: maps a value to its height above the bottom of the plot area, or to
// nothing when the value cannot be shown.
class ValueScale {
public:
    static ValueScale linear(float maximum, float plotHeight)
    {
        ValueScale scale;
        scale.mLogarithmic = false;
        scale.mMaximum = maximum;
        scale.mHeight = plotHeight;
        scale.mDefined = maximum > 0 && std::isfinite(maximum);  // a positive top
        return scale;
    }

    static ValueScale logarithmic(double lo, double hi, float plotHeight)
    {
        ValueScale scale;
        scale.mLogarithmic = true;
        scale.mLo = lo;
        scale.mHi = hi;
        scale.mHeight = plotHeight;
        scale.mDefined = hi > lo;
        return scale;
    }

    bool defined() const { return mDefined; }

    // At least 1 point, so that every shown value shows a sliver.
    std::optional<float> height(float value) const
    {
        if (!mDefined || !std::isfinite(value))
            return std::nullopt;
        float h;
        if (mLogarithmic) {
            if (value <= 0)
                return std::nullopt;
            h = static_cast<float>(mHeight * (std::log10(double(value)) - mLo) / (mHi - mLo));
        } else {
            h = mHeight * value / mMaximum;
        }
        return std::max(h, 1.0f);
    }

private:
    bool mLogarithmic = false;
    bool mDefined = false;
    float mMaximum = 0;
    float mHeight = 0;
    double mLo = 0;
    double mHi = 0;
};

// The whole decades of a logarithmic axis: lo from the minimum or from the values,
// hi from the maximum, at least two decades apart when they meet.
std::pair<double, double> decadeBounds(float minimum, float maximum,
                                       const std::vector<double>& values)
{
    double lo;
    if (minimum > 0) {
        lo = std::floor(std::log10(double(minimum)));
    } else {
        lo = 1e9;
        for (const double number : values) {
            const float v = static_cast<float>(number);
            if (!std::isfinite(v))
                continue;
            if (v > 0)
                lo = std::min(lo, double(static_cast<float>(std::log10(double(v)))));
            else if (lo > -2)
                lo = -2;
        }
        lo = std::floor(lo);
    }
    const bool usableMaximum = maximum > 0 && std::isfinite(maximum);
    const double hi = usableMaximum ? std::ceil(std::log10(double(maximum))) : 2;
    if (lo == hi)
        lo = hi - 2;
    return {lo, hi};
}

} // namespace

BarPlotLayout CBarPlotView::chartLayout(QSizeF bounds) const
{
    BarPlotLayout out;
    const int n = static_cast<int>(mValues.size());
    if (n == 0)
        return out;
    out.empty = false;

    const float width = static_cast<float>(bounds.width());
    const float height = static_cast<float>(bounds.height());
    const float L = mMarginLeft, B = mMarginBottom, T = mMarginTop, R = mMarginRight;
    const float W = width - (L + R + kBarOffset);
    const float H = height - (T + B);
    const float w = std::min(W / (n + (n - 1) * mSepBarRatio), kMaximumBarWidth);
    const float p = (mSepBarRatio + 1) * w;
    out.barRegionWidth = W;
    out.plotHeight = H;
    out.barWidth = w;
    out.pitch = p;

    // Category labels, skipping some when the slots are too narrow for all of them: a label
    // is drawn once the slots have moved far enough from the last one drawn and its text
    // stays clear of that one's, so that long labels ("C11", "C18") never run together.
    const QFontMetricsF metrics(mTicksFont);
    float x = L + kBarOffset + 0.5f * p;
    float space = 31;  // more than kLabelSpacing: the first label is always drawn
    float lastRight = -std::numeric_limits<float>::infinity();
    for (int i = 0; i < mLabels.size(); ++i) {
        const float halfWidth = 0.5f * static_cast<float>(metrics.horizontalAdvance(mLabels[i]));
        if (space > kLabelSpacing && x - halfWidth >= lastRight + kLabelGap) {
            out.categoryLabels.push_back({i, x, B - 18});
            space = 0;
            lastRight = x + halfWidth;
        }
        x += p;
        space += p;
    }

    const float axisX = L + kAxisOffset;
    const float right = width - R + 5;
    out.axes.emplace_back(axisX, B, axisX, height - T + 10);
    out.axes.emplace_back(axisX, B, right, B);

    // Slot boundaries: a tick under each, and the vertical grid.
    const int boundaries = static_cast<int>(mLabels.size()) + 1;
    for (int i = 0; i < boundaries; ++i) {
        const float bx = L + kBarOffset + i * p;
        out.axes.emplace_back(bx, B, bx, B - 5);
        if (mShowGrid)
            out.verticalGrid.emplace_back(bx, B, bx, height - T);
    }

    auto addValueTick = [&](const QString& text, float y) {
        out.axes.emplace_back(L + 30, y, axisX, y);
        out.valueLabels.push_back({text, L, y});
        if (mShowGrid)
            out.horizontalGrid.emplace_back(L + kBarOffset, y, right, y);
    };

    ValueScale scale;
    if (mLogarithmic) {
        const auto [lo, hi] = decadeBounds(mMinimum, mMaximum, mValues);
        scale = ValueScale::logarithmic(lo, hi, H);
        if (scale.defined())
            for (int e = static_cast<int>(lo); e <= static_cast<int>(hi); ++e)
                addValueTick(decadeLabel(e), static_cast<float>(B + H * (e - lo) / (hi - lo)));
    } else {
        scale = ValueScale::linear(mMaximum, H);
        if (scale.defined())
            for (const char* text : linearLabels(mMaximum)) {
                const float v = QByteArray(text).toFloat();
                if (v > mMaximum)
                    break;
                addValueTick(QString::fromLatin1(text), B + H * v / mMaximum);
            }
    }

    // The series, and the reference dots over the bars whose labels they name.
    x = L + kBarOffset + 0.5f * mSepBarRatio * w;
    for (int i = 0; i < n; ++i, x += p) {
        BarPlotLayout::Item item;
        if (const auto h = scale.height(static_cast<float>(mValues[i]))) {
            item.drawn = true;
            item.bar = QRectF(x, B, w, *h);
            item.top = QPointF(x + 0.5f * w, B + *h);
        }
        const int match = i < mLabels.size() ? mReferenceLabels.indexOf(mLabels[i]) : -1;
        if (match >= 0 && match < static_cast<int>(mReferenceValues.size()))
            if (const auto h = scale.height(static_cast<float>(mReferenceValues[match]))) {
                item.hasReference = true;
                item.reference = QPointF(x + 0.5f * w, B + *h);
            }
        out.items.push_back(item);
    }
    return out;
}

void CBarPlotView::drawChart(QPainter& painter, QSizeF bounds) const
{
    const qreal height = bounds.height();
    // The layout's y grows upward from the bottom; the painter's grows downward.
    auto toPainter = [height](QPointF p) { return QPointF(p.x(), height - p.y()); };
    auto lineToPainter = [&](const QLineF& l) { return QLineF(toPainter(l.p1()), toPainter(l.p2())); };
    auto rectToPainter = [height](const QRectF& r) {
        return QRectF(r.x(), height - r.y() - r.height(), r.width(), r.height());
    };
    auto circleAround = [&](QPointF centre) {
        const QPointF c = toPainter(centre);
        return QRectF(c.x() - kMarkerSize / 2, c.y() - kMarkerSize / 2, kMarkerSize, kMarkerSize);
    };
    auto strokeLines = [&](const std::vector<QLineF>& lines, const Color& color) {
        painter.setPen(QPen(color.toQColor(), 1));
        for (const QLineF& line : lines)
            painter.drawLine(lineToPainter(line));
    };

    painter.fillRect(QRectF(QPointF(0, 0), bounds), Color::white().toQColor());
    const BarPlotLayout chart = chartLayout(bounds);
    if (chart.empty)
        return;

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(mTicksFont);
    const QFontMetricsF metrics(mTicksFont, painter.device());
    // A text placed by the bottom-left corner of its box.
    auto drawText = [&](const QString& text, float x, float y) {
        painter.drawText(QPointF(x, height - y - metrics.descent()), text);
    };

    painter.setPen(Color::black().toQColor());
    for (const auto& label : chart.categoryLabels) {
        const QString& text = mLabels[label.index];
        drawText(text, label.centreX - 0.5 * metrics.horizontalAdvance(text), label.y);
    }
    for (const auto& label : chart.valueLabels)
        drawText(label.text, label.x, label.y);

    strokeLines(chart.axes, Color::black());
    strokeLines(chart.horizontalGrid, Color::gray());
    strokeLines(chart.verticalGrid, Color::gray());

    QPainterPath polyline;
    for (const BarPlotLayout::Item& item : chart.items) {
        if (item.drawn) {
            if (mMode == Mode::Bars) {
                const QRectF bar = rectToPainter(item.bar);
                painter.fillRect(bar, Color::red().toQColor());
                painter.setPen(QPen(Color::black().toQColor(), 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(bar.adjusted(0.5, 0.5, -0.5, -0.5));  // a border inside
            } else {
                const QPointF top = toPainter(item.top);
                if (polyline.elementCount() == 0)
                    polyline.moveTo(top);
                else
                    polyline.lineTo(top);
            }
            if (mMode == Mode::LinesAndMarkers) {
                painter.setPen(QPen(Color::blue().toQColor(), 1));
                painter.setBrush(Color::white().toQColor());
                painter.drawEllipse(circleAround(item.top));
            }
        }
        if (item.hasReference) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Color::black().toQColor());
            painter.drawEllipse(circleAround(item.reference));
        }
    }
    if (mMode != Mode::Bars) {
        painter.setPen(QPen(Color::blue().toQColor(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(polyline);
    }
}

} // namespace quorvel
