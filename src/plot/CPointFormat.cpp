#include "plot/CPointFormat.h"

#include "plot/CCurveFormat.h"
#include "plot/CPlotFormat.h"

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
    coder.encodeInt32(mSize, QStringLiteral("size"));
    coder.encodeObject(mColor, QStringLiteral("color"));
    coder.encodeInt32(mSelector, QStringLiteral("selector"));
}

void CPointFormat::initWithCoder(KeyedUnarchiver& coder)
{
    mSize = std::max(coder.decodeInt32(QStringLiteral("size")), 1);
    decodeFormatColor(coder, mColor);
    mSelector = coder.decodeInt32(QStringLiteral("selector"));
}

} // namespace quorvel
