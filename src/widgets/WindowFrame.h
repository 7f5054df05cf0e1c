#pragma once
// Window frames remembered across runs under a fixed autosave name (the user's
// settings key "WindowFrames/<name>").

#include <QString>

class QWidget;

namespace quorvel {

// Puts the window where it was when last hidden under that name, and from now on
// stores its frame each time it is hidden.
void setFrameAutosaveName(QWidget* window, const QString& name);

// Makes the window at least wide enough for a title bar to show its whole title beside
// the usual buttons.
void fitWidthToTitle(QWidget* window);

} // namespace quorvel
