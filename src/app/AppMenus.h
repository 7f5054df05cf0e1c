#pragma once
// The application's shared menus, built into the menu bar of every window it shows; a
// document window adds the menus of its own document between Edit and Window.

#include "platform/Responder.h"

class QMainWindow;

namespace quorvel {

void installApplicationMenus(QMainWindow* window, const QList<MenuDefinition>& documentMenus = {});

// The menus of the alpha-beta plot and phase-diagram windows: the pages of their panels
// (ticked while the panel shows that page), the fluid-properties panel and the model grids.
QList<MenuDefinition> alphaBetaPlotMenus();
QList<MenuDefinition> phaseDiagramMenus();

}  // namespace quorvel
