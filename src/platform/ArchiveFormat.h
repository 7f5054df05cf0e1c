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
inline constexpr int calibratedRGBSpace = 1;
inline constexpr int deviceRGBSpace = 2;
inline constexpr int calibratedWhiteSpace = 3;
inline constexpr int deviceWhiteSpace = 4;
QByteArray colorComponents(const Color& color);
std::optional<Color> colorFromComponents(int space, const QByteArray& text);

}  // namespace quorvel::ArchiveFormat
