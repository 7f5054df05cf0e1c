#pragma once
// A paint device that records what a view draws instead of drawing it: every text with
// the box its layout takes, and every stroked or filled shape with its pen. Rectangles
// are in view coordinates (y growing upward), as the plot code computes them, so a test
// can compare what was drawn with where it should be, independently of the raster.

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTextItem>
#include <QTransform>

#include <vector>

namespace quorvel::test {

struct RecordedText {
    QString text;
    QRectF box; // view coordinates
};

struct RecordedShape {
    QRectF bounds; // view coordinates, without the pen's width
    QPen pen;
    bool stroked;
};

class PaintRecorder : public QPaintDevice {
public:
    PaintRecorder(int width, int height) : mEngine(*this), mWidth(width), mHeight(height) { }

    std::vector<RecordedText> texts;
    std::vector<RecordedShape> shapes;

    QPaintEngine* paintEngine() const override { return &mEngine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return mWidth;
        case PdmHeight: return mHeight;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        // Fonts measure as on an image.
        case PdmDpiX: return kReference.logicalDpiX();
        case PdmDpiY: return kReference.logicalDpiY();
        case PdmPhysicalDpiX: return kReference.physicalDpiX();
        case PdmPhysicalDpiY: return kReference.physicalDpiY();
        case PdmWidthMM: return mWidth * 254 / (10 * kReference.logicalDpiX());
        case PdmHeightMM: return mHeight * 254 / (10 * kReference.logicalDpiY());
        default: return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(PaintRecorder& device) : QPaintEngine(QPaintEngine::AllFeatures), mDevice(device) { }
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState& state) override
        {
            if (state.state() & DirtyTransform)
                mTransform = state.transform();
            if (state.state() & DirtyPen)
                mPen = state.pen();
            if (state.state() & DirtyBrush)
                mBrush = state.brush();
        }
        void drawTextItem(const QPointF& baseline, const QTextItem& item) override
        {
            const QRectF box(baseline.x(), baseline.y() - item.ascent(), item.width(), item.ascent() + item.descent());
            mDevice.texts.push_back({item.text(), toView(mTransform.mapRect(box))});
        }
        void drawPath(const QPainterPath& path) override { record(mTransform.map(path).boundingRect()); }
        void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
        {
            QPolygonF polygon;
            for (int i = 0; i < count; ++i)
                polygon << points[i];
            record(mTransform.map(polygon).boundingRect());
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }

    private:
        QRectF toView(const QRectF& device) const
        {
            return QRectF(device.x(), mDevice.mHeight - device.bottom(), device.width(), device.height());
        }
        void record(const QRectF& device)
        {
            const bool stroked = mPen.style() != Qt::NoPen && mBrush.style() == Qt::NoBrush;
            mDevice.shapes.push_back({toView(device), mPen, stroked});
        }

        PaintRecorder& mDevice;
        QTransform mTransform;
        QPen mPen;
        QBrush mBrush;
    };

    inline static const QImage kReference{1, 1, QImage::Format_ARGB32};
    mutable Engine mEngine;
    int mWidth;
    int mHeight;
};

// Whether two boxes share more than an edge.
inline bool overlap(const QRectF& a, const QRectF& b)
{
    return a.intersected(b).width() > 0.01 && a.intersected(b).height() > 0.01;
}

} // namespace quorvel::test
