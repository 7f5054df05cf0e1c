#include "plot/CTextFormat.h"

#include "plot/CPlotFormat.h"

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
    coder.encodeInt32(mSize, QStringLiteral("size"));
    coder.encodeObject(mFontName, QStringLiteral("fontName"));
    coder.encodeInt32(mStyle, QStringLiteral("style"));
}

void CTextFormat::initWithCoder(KeyedUnarchiver& coder)
{
    // A font of no size cannot be drawn: such a size is raised to the smallest one.
    mSize = std::max(coder.decodeInt32(QStringLiteral("size")), kMinimumSize);
    const Value name = coder.decodeObject(QStringLiteral("fontName"));
    if (!name.isNull() && !name.isString())
        coder.failWithError(QStringLiteral("The font name of a text format is not a text."));
    mFontName = name.isString() && !name.toString().isEmpty() ? name.toString() : kDefaultFontName;
    mStyle = coder.decodeInt32(QStringLiteral("style"));
}

} // namespace quorvel
