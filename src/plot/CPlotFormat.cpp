#include "plot/CPlotFormat.h"

#include "plot/CCurveFormat.h"
#include "plot/CPointFormat.h"
#include "plot/FormatKeys.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <cmath>

namespace quorvel {

void registerPlotFormatClasses()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerArchivableClass<CPlotFormat>(QStringLiteral("CPlotFormat"));
    registerArchivableClass<CTextFormat>(QStringLiteral("CTextFormat"));
    registerArchivableClass<CCurveFormat>(QStringLiteral("CCurveFormat"));
    registerArchivableClass<CPointFormat>(QStringLiteral("CPointFormat"));
}

namespace {
std::shared_ptr<CTextFormat> orDefault(std::shared_ptr<CTextFormat> format)
{
    return format ? std::move(format) : std::make_shared<CTextFormat>();
}
} // namespace

CPlotFormat::CPlotFormat()
    : mLegendFormat(std::make_shared<CTextFormat>())
    , mLabelsFormat(std::make_shared<CTextFormat>())
    , mTicksFormat(std::make_shared<CTextFormat>())
{
    registerPlotFormatClasses();
}

void CPlotFormat::setLegendFormat(std::shared_ptr<CTextFormat> format)
{
    mLegendFormat = orDefault(std::move(format));
}

void CPlotFormat::setLabelsFormat(std::shared_ptr<CTextFormat> format)
{
    mLabelsFormat = orDefault(std::move(format));
}

void CPlotFormat::setTicksFormat(std::shared_ptr<CTextFormat> format)
{
    mTicksFormat = orDefault(std::move(format));
}

void CPlotFormat::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeFloat(mMinX, formatkey::minX);
    coder.encodeFloat(mMaxX, formatkey::maxX);
    coder.encodeFloat(mMinY, formatkey::minY);
    coder.encodeFloat(mMaxY, formatkey::maxY);
    coder.encodeFloat(mCurrentMinX, formatkey::currentMinX);
    coder.encodeFloat(mCurrentMaxX, formatkey::currentMaxX);
    coder.encodeFloat(mCurrentMinY, formatkey::currentMinY);
    coder.encodeFloat(mCurrentMaxY, formatkey::currentMaxY);
    coder.encodeFloat(mLegendX, formatkey::legendX);
    coder.encodeFloat(mLegendY, formatkey::legendY);
    coder.encodeObject(mLegendFormat, formatkey::legend);
    coder.encodeObject(mLabelsFormat, formatkey::labels);
    coder.encodeObject(mTicksFormat, formatkey::ticks);
}

void CPlotFormat::initWithCoder(KeyedUnarchiver& coder)
{
    // A range or position that is not a finite number would leave the plot unusable.
    auto decode = [&coder](const QString& key, float& field) {
        const float value = coder.decodeFloat(key);
        if (!std::isfinite(value))
            coder.failWithError(QStringLiteral("The plot format value \"%1\" is not a finite number.").arg(key));
        else
            field = value;
    };
    decode(formatkey::minX, mMinX);
    decode(formatkey::maxX, mMaxX);
    decode(formatkey::minY, mMinY);
    decode(formatkey::maxY, mMaxY);
    decode(formatkey::currentMinX, mCurrentMinX);
    decode(formatkey::currentMaxX, mCurrentMaxX);
    decode(formatkey::currentMinY, mCurrentMinY);
    decode(formatkey::currentMaxY, mCurrentMaxY);
    decode(formatkey::legendX, mLegendX);
    decode(formatkey::legendY, mLegendY);
    setLegendFormat(coder.decodeObjectOfClass<CTextFormat>(formatkey::legend));
    setLabelsFormat(coder.decodeObjectOfClass<CTextFormat>(formatkey::labels));
    setTicksFormat(coder.decodeObjectOfClass<CTextFormat>(formatkey::ticks));
}

} // namespace quorvel
