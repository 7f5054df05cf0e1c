#include "plot/CPlotFormat.h"

#include "plot/CCurveFormat.h"
#include "plot/CPointFormat.h"

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
    coder.encodeFloat(mMinX, QStringLiteral("minX"));
    coder.encodeFloat(mMaxX, QStringLiteral("maxX"));
    coder.encodeFloat(mMinY, QStringLiteral("minY"));
    coder.encodeFloat(mMaxY, QStringLiteral("maxY"));
    coder.encodeFloat(mCurrentMinX, QStringLiteral("currentMinX"));
    coder.encodeFloat(mCurrentMaxX, QStringLiteral("currentMaxX"));
    coder.encodeFloat(mCurrentMinY, QStringLiteral("currentMinY"));
    coder.encodeFloat(mCurrentMaxY, QStringLiteral("currentMaxY"));
    coder.encodeFloat(mLegendX, QStringLiteral("legendX"));
    coder.encodeFloat(mLegendY, QStringLiteral("legendY"));
    coder.encodeObject(mLegendFormat, QStringLiteral("legend"));
    coder.encodeObject(mLabelsFormat, QStringLiteral("labels"));
    coder.encodeObject(mTicksFormat, QStringLiteral("ticks"));
}

void CPlotFormat::initWithCoder(KeyedUnarchiver& coder)
{
    // A range or position that is not a finite number would leave the plot unusable.
    auto decode = [&coder](const char* key, float& field) {
        const float value = coder.decodeFloat(QLatin1String(key));
        if (!std::isfinite(value))
            coder.failWithError(QStringLiteral("The plot format value \"%1\" is not a finite number.")
                                    .arg(QLatin1String(key)));
        else
            field = value;
    };
    decode("minX", mMinX);
    decode("maxX", mMaxX);
    decode("minY", mMinY);
    decode("maxY", mMaxY);
    decode("currentMinX", mCurrentMinX);
    decode("currentMaxX", mCurrentMaxX);
    decode("currentMinY", mCurrentMinY);
    decode("currentMaxY", mCurrentMaxY);
    decode("legendX", mLegendX);
    decode("legendY", mLegendY);
    setLegendFormat(coder.decodeObjectOfClass<CTextFormat>(QStringLiteral("legend")));
    setLabelsFormat(coder.decodeObjectOfClass<CTextFormat>(QStringLiteral("labels")));
    setTicksFormat(coder.decodeObjectOfClass<CTextFormat>(QStringLiteral("ticks")));
}

} // namespace quorvel
