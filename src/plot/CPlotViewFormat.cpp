// Moving the settings of a plot view to and from a plot format.
#include "plot/CPlotFormat.h"
#include "plot/CPlotView.h"

#include <QFontDatabase>

namespace quorvel {

namespace {

void writeFont(const TextAttributes& attributes, CTextFormat& format)
{
    const QFont& font = attributes.font;
    format.setFontName(font.family());
    format.setSize(font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF()));
    format.setBold(font.bold());
    format.setItalic(font.italic());
}

TextAttributes readFont(const CTextFormat& format)
{
    return CPlotView::setTextAttributes(format.fontName(), format.size(), format.isBold(), format.isItalic());
}

} // namespace

void CPlotView::updatePlotFormat(CPlotFormat& format) const
{
    const PlotRanges& ranges = mState.ranges();
    format.setMinX(ranges.defaults.minX);
    format.setMaxX(ranges.defaults.maxX);
    format.setMinY(ranges.defaults.minY);
    format.setMaxY(ranges.defaults.maxY);
    format.setCurrentMinX(ranges.current.minX);
    format.setCurrentMaxX(ranges.current.maxX);
    format.setCurrentMinY(ranges.current.minY);
    format.setCurrentMaxY(ranges.current.maxY);
    float legendX = 0.0f;
    float legendY = 0.0f;
    mState.legend().getPosition(legendX, legendY);
    format.setLegendX(legendX);
    format.setLegendY(legendY);
    // The fonts chosen in the view are saved with the document too.
    const PlotFonts& fonts = mState.fonts();
    writeFont(fonts.legends, *format.legendFormat());
    writeFont(fonts.labels, *format.labelsFormat());
    writeFont(fonts.ticks, *format.ticksFormat());
}

void CPlotView::setFromPlotFormat(const CPlotFormat& format)
{
    PlotRanges& ranges = mState.ranges();
    ranges.defaults = {format.minX(), format.maxX(), format.minY(), format.maxY()};
    ranges.current = {format.currentMinX(), format.currentMaxX(), format.currentMinY(), format.currentMaxY()};
    mState.setLegendPosition(format.legendX(), format.legendY());
    PlotFonts& fonts = mState.fonts();
    fonts.legends = readFont(*format.legendFormat());
    fonts.labels = readFont(*format.labelsFormat());
    fonts.ticks = readFont(*format.ticksFormat());
}

TextAttributes CPlotView::setTextAttributes(const QString& fontName, int size, bool bold, bool italic)
{
    // The family asked for stays first, so that it is saved again as it was given; where
    // the system lacks it, the default text family draws.
    const QString fallback = TextAttributes::labelFont().font.family();
    const QString family = fontName.trimmed().isEmpty() ? fallback : fontName;
    TextAttributes attributes = TextAttributes::make(family, size, bold, italic);
    if (!QFontDatabase::hasFamily(family))
        attributes.font.setFamilies({family, fallback});
    return attributes;
}

} // namespace quorvel
