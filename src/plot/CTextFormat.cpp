#include "plot/CTextFormat.h"

#include "plot/CPlotFormat.h"
#include "plot/FormatKeys.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <algorithm>

namespace quorvel {

namespace {
const QString kDefaultFontName = QStringLiteral("Arial");
}

CTextFormat::CTextFormat() : mFontName(kDefaultFontName)
{
    registerPlotFormatClasses();
}

void CTextFormat::setBold(bool bold)
{
    mStyle = bold ? (mStyle | 1) : (mStyle & ~1);
}

void CTextFormat::setItalic(bool italic)
{
    mStyle = italic ? (mStyle | 2) : (mStyle & ~2);
}

void CTextFormat::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeInt32(mSize, formatkey::size);
    coder.encodeObject(mFontName, formatkey::fontName);
    coder.encodeInt32(mStyle, formatkey::style);
}

void CTextFormat::initWithCoder(KeyedUnarchiver& coder)
{
    // A font of no size cannot be drawn: such a size is raised to the smallest one.
    mSize = std::max(coder.decodeInt32(formatkey::size), kMinimumSize);
    const Value name = coder.decodeObject(formatkey::fontName);
    if (!name.isNull() && !name.isString())
        coder.failWithError(QStringLiteral("The font name of a text format is not a text."));
    mFontName = name.isString() && !name.toString().isEmpty() ? name.toString() : kDefaultFontName;
    mStyle = coder.decodeInt32(formatkey::style);
}

} // namespace quorvel
