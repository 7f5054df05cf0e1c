#include "plot/CPointFormat.h"

#include "plot/CCurveFormat.h"
#include "plot/CPlotFormat.h"
#include "plot/FormatKeys.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <algorithm>

namespace quorvel {

CPointFormat::CPointFormat()
{
    registerPlotFormatClasses();
}

std::shared_ptr<CPointFormat> CPointFormat::copy() const
{
    auto format = std::make_shared<CPointFormat>();
    format->setSize(mSize);
    format->setColor(mColor);
    format->setSelector(mSelector);
    return format;
}

void CPointFormat::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeInt32(mSize, formatkey::size);
    coder.encodeObject(mColor, formatkey::color);
    coder.encodeInt32(code_number(mSelector), formatkey::selector);
}

void CPointFormat::initWithCoder(KeyedUnarchiver& coder)
{
    mSize = std::max(coder.decodeInt32(formatkey::size), 1);
    decodeFormatColor(coder, mColor);
    mSelector = markerCodeFromNumber(coder.decodeInt32(formatkey::selector));
}

} // namespace quorvel
