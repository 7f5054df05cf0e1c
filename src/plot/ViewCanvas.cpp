#include "plot/ViewCanvas.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QStringList>

#include <algorithm>

namespace quorvel {

TextAttributes TextAttributes::make(const QString& family, double size, bool bold, bool italic)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, qRound(size)));
    font.setBold(bold);
    font.setItalic(italic);
    return {font};
}

TextAttributes TextAttributes::systemFont()
{
    return make(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 13.0);
}

TextAttributes TextAttributes::labelFont()
{
    return make(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 10.0);
}

TextAttributes TextAttributes::defaultText()
{
    return make(QStringLiteral("Helvetica"), 12.0);
}

QSizeF textSize(const QString& text, const TextAttributes& attributes)
{
    if (text.isEmpty())
        return {0.0, 0.0};
    const QFontMetricsF metrics(attributes.font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    double width = 0.0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const double height = metrics.height() + (lines.size() - 1) * metrics.lineSpacing();
    return {width, height};
}

ViewCanvas::ViewCanvas(QPainter& painter, double viewHeight) : mPainter(painter)
{
    mPainter.save();
    mPainter.setWorldTransform(QTransform(1, 0, 0, -1, 0, viewHeight), /*combine=*/true);
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    mPainter.setRenderHint(QPainter::TextAntialiasing, true);
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(Qt::NoBrush);
}

ViewCanvas::~ViewCanvas()
{
    while (!mSavedColors.empty())
        restore();
    mPainter.restore();
}

void ViewCanvas::save()
{
    mPainter.save();
    mSavedColors.push_back(mColor);
}

void ViewCanvas::restore()
{
    if (mSavedColors.empty())
        return;
    mPainter.restore();
    mColor = mSavedColors.back();
    mSavedColors.pop_back();
}

void ViewCanvas::clipTo(const QRectF& rect)
{
    mPainter.setClipRect(rect, Qt::IntersectClip);
}

void ViewCanvas::setColor(const std::optional<Color>& color)
{
    if (color)
        mColor = *color;
}

void ViewCanvas::fill(const QPainterPath& path)
{
    mPainter.fillPath(path, mColor.toQColor());
}

void ViewCanvas::fill(const QRectF& rect)
{
    mPainter.fillRect(rect, mColor.toQColor());
}

void ViewCanvas::stroke(const QPainterPath& path, double width, const std::vector<double>& dashes, double dashPhase)
{
    QPen pen(mColor.toQColor(), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (!dashes.empty()) {
        // Qt measures dashes in line widths.
        const double unit = width > 0.0 ? width : 1.0;
        QList<qreal> pattern;
        for (const double d : dashes)
            pattern.append(d / unit);
        if (pattern.size() % 2)
            pattern.append(pattern.back());
        pen.setDashPattern(pattern);
        pen.setDashOffset(dashPhase / unit);
    }
    mPainter.strokePath(path, pen);
}

void ViewCanvas::strokeLine(QPointF from, QPointF to, double width)
{
    QPainterPath path(from);
    path.lineTo(to);
    stroke(path, width);
}

void ViewCanvas::frame(const QRectF& rect, double width)
{
    QPainterPath outer;
    outer.addRect(rect);
    QPainterPath inner;
    inner.addRect(rect.adjusted(width, width, -width, -width));
    fill(outer.subtracted(inner));
}

void ViewCanvas::drawText(const QString& text, const TextAttributes& attributes, QPointF lowerLeft)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(attributes.font);
    const double height = textSize(text, attributes).height();
    mPainter.save();
    // Back to y-down locally, with the origin at the top-left of the text's box.
    mPainter.translate(lowerLeft.x(), lowerLeft.y() + height);
    mPainter.scale(1.0, -1.0);
    mPainter.setFont(attributes.font);
    mPainter.setPen(Qt::black);
    double baseline = metrics.ascent();
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        mPainter.drawText(QPointF(0.0, baseline), line);
        baseline += metrics.lineSpacing();
    }
    mPainter.restore();
}

} // namespace quorvel
