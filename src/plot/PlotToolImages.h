#pragma once
// The images of the plot frame view's tool buttons, drawn by the program: "biggerUp"
// (zoom in), "smallerUp" (zoom out), "grid", "resetOff" (default ranges) and "axis"
// (axis-range panel).

#include <QIcon>
#include <QString>

namespace quorvel {

// The image of that name; a null icon for a name it does not know.
QIcon plotToolImage(const QString& name);

} // namespace quorvel
