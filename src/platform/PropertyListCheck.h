#pragma once

#include <QByteArray>
#include <QString>

namespace quorvel {

// Structural checks made on untrusted property-list bytes before they are
// handed to libplist, whose parser recurses without bound and builds a shared
// object of a binary list again at each reference (so a small file could
// exhaust the stack or the memory).
namespace PropertyListCheck {

inline constexpr int maxDepth = 256;
inline constexpr qsizetype maxSize = 256 * 1024 * 1024;

// What reading the list may cost: each node libplist builds is reckoned at
// nodeBytes plus what reading holds of its text or data, a shared object once
// per reference. Text is held as libplist's UTF-8 and again as the UTF-16 of
// the string read from it, data by libplist and again as the bytes read. The
// cap leaves room for documents of a few million values; below it, sharing
// may multiply what the list holds (each object and reference once) by
// maxSharing, beyond a first allowance.
//
// Numbers must be read as they were written: an integer beyond the 64-bit
// signed range, or an XML real beyond the range of a double, is refused.
inline constexpr quint64 nodeBytes = 96;
inline constexpr quint64 asciiTextBytesPerUnit = 1 + 2;
inline constexpr quint64 utf16TextBytesPerUnit = 3 + 2;  // a unit takes up to 3 bytes of UTF-8
inline constexpr quint64 dataBytesPerByte = 2;
// An XML text's bytes as read: a string's held as UTF-8 and UTF-16, base64 data
// decoded twice to three quarters of its length.
inline constexpr quint64 xmlBytesPerByte = 3;
inline constexpr quint64 maxParsedBytes = 384 * 1024 * 1024;
inline constexpr quint64 maxSharing = 64;
inline constexpr quint64 sharingAllowance = 8 * 1024 * 1024;

// An empty string when the bytes may be parsed, else the reason not to.
QString check(const QByteArray& bytes);

}  // namespace PropertyListCheck

}  // namespace quorvel
