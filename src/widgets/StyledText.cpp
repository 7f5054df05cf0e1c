#include "widgets/StyledText.h"

#include <QFont>
#include <QTextCharFormat>

namespace quorvel {

namespace {
const QString kBoldSuffixes[] = {QStringLiteral("-Bold"), QStringLiteral("-BoldOblique"),
                                 QStringLiteral("-BoldItalic")};
const QString kItalicSuffixes[] = {QStringLiteral("-Oblique"), QStringLiteral("-Italic"),
                                   QStringLiteral("-BoldOblique"), QStringLiteral("-BoldItalic")};

bool endsWithAny(const QString& name, const auto& suffixes)
{
    for (const QString& suffix : suffixes)
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    return false;
}
} // namespace

bool TextStyle::isBoldFace() const
{
    return bold || endsWithAny(fontName, kBoldSuffixes);
}

bool TextStyle::isItalicFace() const
{
    return italic || endsWithAny(fontName, kItalicSuffixes);
}

QString TextStyle::familyName() const
{
    const qsizetype dash = fontName.indexOf(QLatin1Char('-'));
    return dash > 0 ? fontName.left(dash) : fontName;
}

QTextCharFormat TextStyle::toCharFormat() const
{
    QTextCharFormat format;
    QFont font(familyName());
    if (familyName().startsWith(QStringLiteral("Courier"), Qt::CaseInsensitive))
        font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize > 0 ? pointSize : 12.0);
    font.setBold(isBoldFace());
    font.setItalic(isItalicFace());
    font.setUnderline(underline);
    format.setFont(font);
    if (color)
        format.setForeground(color->toQColor());
    return format;
}

void StyledText::append(const QString& text, const TextStyle& style)
{
    if (text.isEmpty())
        return;
    if (!mRuns.empty() && mRuns.back().style == style)
        mRuns.back().text += text;
    else
        mRuns.push_back({text, style});
}

void StyledText::append(const StyledText& other)
{
    for (const StyledRun& run : other.mRuns)
        append(run.text, run.style);
}

qsizetype StyledText::length() const
{
    qsizetype n = 0;
    for (const StyledRun& run : mRuns)
        n += run.text.size();
    return n;
}

QString StyledText::plainText() const
{
    QString text;
    for (const StyledRun& run : mRuns)
        text += run.text;
    return text;
}

std::optional<TextStyle> StyledText::styleAt(qsizetype position) const
{
    if (mRuns.empty() || position < 0)
        return std::nullopt;
    for (const StyledRun& run : mRuns) {
        if (position < run.text.size())
            return run.style;
        position -= run.text.size();
    }
    return mRuns.back().style;
}

} // namespace quorvel
