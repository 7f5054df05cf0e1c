#pragma once
// The application's shared menus, built into the menu bar of every window it shows.

class QMainWindow;

namespace quorvel {

void installApplicationMenus(QMainWindow* window);

}  // namespace quorvel
