#pragma once

#include <QString>

namespace quorvel {

// The version the application shows and its reports name.
inline const QString ApplicationVersion = QStringLiteral("2.0");

}  // namespace quorvel
