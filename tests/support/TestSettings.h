#pragma once
// Settings the tests write (window frames of panels) go to Qt's test location, never to
// the user's. Set before anything reads the settings, which fixes their location.

#include <QStandardPaths>

namespace quorvel::test {

inline const bool kSettingsInTestLocation = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();

} // namespace quorvel::test
