#pragma once

#include "platform/Color.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Names and small encodings shared by the keyed archiver and unarchiver.
namespace quorvel::ArchiveFormat {

inline constexpr const char* archiverName = "NSKeyedArchiver";
inline constexpr quint64 version = 100000;
inline constexpr const char* rootKey = "root";
inline constexpr int maxDepth = 200;  // nesting of containers and objects

// Keys starting with "$" are the archive's own; a record key starting with "$"
// is written with one more "$" in front.
QString escapedKey(const QString& key);
QString unescapedKey(const QString& key);

// Colours: NSColorSpace 1 (calibrated RGB, "NSRGB") or 3 (calibrated white,
// "NSWhite"); 2 and 4 are the device spaces, read alike. The components are
// ASCII numbers separated by spaces, alpha last and left out when 1, ending
// with a NUL byte.
enum class ColorSpace : int { calibratedRGB = 1, deviceRGB = 2, calibratedWhite = 3, deviceWhite = 4 };

[[nodiscard]] constexpr int code_number(ColorSpace space) { return static_cast<int>(space); }
// A stored number of no space keeps its value and equals no named space.
[[nodiscard]] constexpr ColorSpace colorSpaceFromNumber(int number) { return static_cast<ColorSpace>(number); }
[[nodiscard]] constexpr bool isRGBSpace(ColorSpace space)
{
    return space == ColorSpace::calibratedRGB || space == ColorSpace::deviceRGB;
}
[[nodiscard]] constexpr bool isWhiteSpace(ColorSpace space)
{
    return space == ColorSpace::calibratedWhite || space == ColorSpace::deviceWhite;
}

QByteArray colorComponents(const Color& color);
std::optional<Color> colorFromComponents(ColorSpace space, const QByteArray& text);

}  // namespace quorvel::ArchiveFormat
