#include "plot/CCurveFormat.h"

#include "plot/CPlotFormat.h"
#include "plot/FormatKeys.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <algorithm>

namespace quorvel {

CCurveFormat::CCurveFormat()
{
    registerPlotFormatClasses();
}

std::shared_ptr<CCurveFormat> CCurveFormat::copy() const
{
    auto format = std::make_shared<CCurveFormat>();
    format->setSize(mSize);
    format->setColor(mColor);
    return format;
}

void CCurveFormat::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeInt32(mSize, formatkey::size);
    coder.encodeObject(mColor, formatkey::color);
}

void CCurveFormat::initWithCoder(KeyedUnarchiver& coder)
{
    mSize = std::max(coder.decodeInt32(formatkey::size), 1);
    decodeFormatColor(coder, mColor);
}

void decodeFormatColor(KeyedUnarchiver& coder, Color& color)
{
    const Value value = coder.decodeObject(formatkey::color);
    if (value.isColor())
        color = value.toColor();
    else if (!value.isNull())
        coder.failWithError(QStringLiteral("The colour of a plot format is not a colour."));
}

} // namespace quorvel
