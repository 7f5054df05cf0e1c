#include "widgets/NumberFields.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace quorvel {

namespace {

// Plain notation from 10^kLowestPlainExponent up to, not including, 10^kPlainExponentLimit.
constexpr int kLowestPlainExponent = -4;
constexpr int kPlainExponentLimit = 6;

QString charsOf(double value, std::chars_format format, int precision)
{
    std::array<char, 400> buffer{};  // "%.4f" of the largest double needs 315 characters
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

// The decimal exponent of the value once rounded to `digits` significant digits.
int roundedExponent(double value, int digits)
{
    const QString scientific = charsOf(value, std::chars_format::scientific, digits - 1);
    return scientific.mid(scientific.indexOf(QLatin1Char('e')) + 1).toInt();
}

QString withoutTrailingZeros(QString text)
{
    if (!text.contains(QLatin1Char('.')))
        return text;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

QString formatNumber(double value, NumberFormat format)
{
    // std::to_chars formats as printf does in the "C" locale, so a field never shows a
    // decimal comma even when the application runs under such a locale.
    if (format == NumberFormat::TwoSignificant)
        return charsOf(value, std::chars_format::general, 2);
    return charsOf(value, std::chars_format::fixed, static_cast<int>(format));
}

QString readableNumber(double value, int significantDigits)
{
    if (!std::isfinite(value))
        return kNoNumberText;
    const int digits = std::max(1, significantDigits);
    if (value == 0.0)
        return QStringLiteral("0");
    const int exponent = roundedExponent(value, digits);
    if (exponent < kLowestPlainExponent || exponent >= kPlainExponentLimit)
        return charsOf(value, std::chars_format::general, digits);
    const QString plain =
        withoutTrailingZeros(charsOf(value, std::chars_format::fixed, std::max(0, digits - 1 - exponent)));
    return plain == QLatin1String("-0") ? QStringLiteral("0") : plain;
}

QString exactNumber(double value)
{
    if (!std::isfinite(value))
        return kNoNumberText;
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace quorvel
