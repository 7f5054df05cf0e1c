#include "plot/PlotToolImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace quorvel {

namespace {

// Every image is drawn in an 18 x 18 box, y growing downward.
constexpr double kBox = 18.0;
const QColor kInk(55, 55, 60);
const QColor kAccent(30, 100, 200);

using Drawing = std::function<void(QPainter&)>;

QPen inkPen(double width, const QColor& color = kInk)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawMagnifier(QPainter& p, bool plus)
{
    p.setBrush(QColor(220, 235, 250));
    p.setPen(inkPen(1.6));
    p.drawEllipse(QPointF(7.5, 7.5), 5.5, 5.5);
    p.setPen(inkPen(2.6));
    p.drawLine(QPointF(11.6, 11.6), QPointF(16.2, 16.2));
    p.setPen(inkPen(1.6, kAccent));
    p.drawLine(QPointF(4.9, 7.5), QPointF(10.1, 7.5));
    if (plus)
        p.drawLine(QPointF(7.5, 4.9), QPointF(7.5, 10.1));
}

void drawGrid(QPainter& p)
{
    QPen dashed = inkPen(1.0, QColor(120, 120, 130));
    dashed.setDashPattern({2.0, 1.5});
    p.setPen(dashed);
    for (double v : {6.5, 11.5}) {
        p.drawLine(QPointF(v, 2.5), QPointF(v, 15.5));
        p.drawLine(QPointF(2.5, v), QPointF(15.5, v));
    }
    p.setPen(inkPen(1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.0, 2.0, 14.0, 14.0));
}

void arrowHead(QPainter& p, QPointF tip, QPointF back, double half)
{
    const QPointF d = tip - back;
    const QPointF n(-d.y(), d.x());
    const double length = std::hypot(d.x(), d.y());
    const QPointF side = n / length * half;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void drawReset(QPainter& p)
{
    // A small plot frame with an arrow turning back to its start.
    p.setPen(inkPen(1.2, QColor(120, 120, 130)));
    p.drawRect(QRectF(1.5, 1.5, 15.0, 15.0));
    p.setPen(inkPen(1.8, kAccent));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(4.5, 4.5, 9.0, 9.0);
    p.drawArc(circle, 90 * 16, 270 * 16);
    arrowHead(p, QPointF(9.0, 4.5), QPointF(12.2, 4.5), 2.6);
}

void drawAxis(QPainter& p)
{
    p.setPen(inkPen(1.6));
    p.drawLine(QPointF(4.0, 15.0), QPointF(4.0, 3.5));
    p.drawLine(QPointF(4.0, 15.0), QPointF(15.0, 15.0));
    arrowHead(p, QPointF(4.0, 1.0), QPointF(4.0, 4.5), 2.4);
    arrowHead(p, QPointF(17.5, 15.0), QPointF(14.0, 15.0), 2.4);
    p.setPen(inkPen(1.2));
    for (double v : {7.5, 11.0}) {
        p.drawLine(QPointF(v, 15.0), QPointF(v, 13.0));
        p.drawLine(QPointF(4.0, 15.0 - (v - 4.0)), QPointF(6.0, 15.0 - (v - 4.0)));
    }
    p.setPen(inkPen(1.4, kAccent));
    p.drawLine(QPointF(8.0, 11.5), QPointF(14.5, 5.0));
}

QPixmap render(const Drawing& drawing, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / kBox, side / kBox);
    drawing(painter);
    return pixmap;
}

} // namespace

QIcon plotToolImage(const QString& name)
{
    Drawing drawing;
    if (name == QLatin1String("biggerUp"))
        drawing = [](QPainter& p) { drawMagnifier(p, true); };
    else if (name == QLatin1String("smallerUp"))
        drawing = [](QPainter& p) { drawMagnifier(p, false); };
    else if (name == QLatin1String("grid"))
        drawing = drawGrid;
    else if (name == QLatin1String("resetOff"))
        drawing = drawReset;
    else if (name == QLatin1String("axis"))
        drawing = drawAxis;
    else
        return {};
    QIcon icon;
    for (int side : {16, 18, 32, 36})
        icon.addPixmap(render(drawing, side));
    return icon;
}

} // namespace quorvel
