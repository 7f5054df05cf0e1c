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

// What the parsed list may cost: each node libplist builds is reckoned at
// nodeBytes plus its text or data, a shared object once per reference. The
// cap leaves room for documents of a few million values; below it, sharing
// may multiply what the list holds (each object and reference once) by
// maxSharing, beyond a first allowance.
inline constexpr quint64 nodeBytes = 96;
inline constexpr quint64 maxParsedBytes = 384 * 1024 * 1024;
inline constexpr quint64 maxSharing = 64;
inline constexpr quint64 sharingAllowance = 8 * 1024 * 1024;

// An empty string when the bytes may be parsed, else the reason not to.
QString check(const QByteArray& bytes);

}  // namespace PropertyListCheck

}  // namespace quorvel
