#include "widgets/NumberFields.h"

#include <array>
#include <charconv>

namespace quorvel {

QString formatNumber(double value, NumberFormat format)
{
    // std::to_chars formats as printf does in the "C" locale, so a field never shows a
    // decimal comma even when the application runs under such a locale.
    std::array<char, 400> buffer{};  // "%.4f" of the largest double needs 315 characters
    std::to_chars_result result{};
    if (format == NumberFormat::TwoSignificant)
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, 2);
    else
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::fixed, static_cast<int>(format));
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace quorvel
