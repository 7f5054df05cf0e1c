#pragma once

#include "platform/Color.h"

#include <QString>

#include <optional>

namespace quorvel {

// The user defaults the application reads (and never writes), through
// QSettings of the application's organisation and name.
class UserDefaults
{
public:
    static inline const QString debugModeKey = QStringLiteral("debugMode");
    static inline const QString backColorMarginAreaKey = QStringLiteral("backColorMarginArea");
    static inline const QString backColorPlotAreaKey = QStringLiteral("backColorPlotArea");

    // A boolean, a number or a text read as the platform reads booleans; false when absent.
    static bool boolForKey(const QString& key);
    // A colour stored as an archive (bytes of a keyed archive whose root is a
    // colour); nothing when absent or unreadable.
    static std::optional<Color> colorForKey(const QString& key);

    static bool debugMode() { return boolForKey(debugModeKey); }
    static std::optional<Color> backColorMarginArea() { return colorForKey(backColorMarginAreaKey); }
    static std::optional<Color> backColorPlotArea() { return colorForKey(backColorPlotAreaKey); }
};

}  // namespace quorvel
