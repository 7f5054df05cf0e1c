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
    format.setMinX(mMinX);
    format.setMaxX(mMaxX);
    format.setMinY(mMinY);
    format.setMaxY(mMaxY);
    format.setCurrentMinX(mCurrentMinX);
    format.setCurrentMaxX(mCurrentMaxX);
    format.setCurrentMinY(mCurrentMinY);
    format.setCurrentMaxY(mCurrentMaxY);
    float legendX = 0.0f;
    float legendY = 0.0f;
    mLegendObject->getPosition(legendX, legendY);
    format.setLegendX(legendX);
    format.setLegendY(legendY);
    // The fonts chosen in the view are saved with the document too.
    writeFont(mLegendsAttributes, *format.legendFormat());
    writeFont(mLabelsAttributes, *format.labelsFormat());
    writeFont(mTicksAttributes, *format.ticksFormat());
}

void CPlotView::setFromPlotFormat(const CPlotFormat& format)
{
    mMinX = format.minX();
    mMaxX = format.maxX();
    mMinY = format.minY();
    mMaxY = format.maxY();
    mCurrentMinX = format.currentMinX();
    mCurrentMaxX = format.currentMaxX();
    mCurrentMinY = format.currentMinY();
    mCurrentMaxY = format.currentMaxY();
    setLegendPosition(format.legendX(), format.legendY());
    mLegendsAttributes = readFont(*format.legendFormat());
    mLabelsAttributes = readFont(*format.labelsFormat());
    mTicksAttributes = readFont(*format.ticksFormat());
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
