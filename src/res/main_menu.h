#pragma once
// Menu 128 of the main frame and its accelerator table 128.
#include <vector>

#include "platform/menu.h"

namespace vesk::res {

// The menu bar: File (with the Setup submenu), Edit, View, Help.
const Menu& MainMenu();
// Ctrl+A, C, D, M, N, P, R, T, V, W, X, Y, Z.
const std::vector<Accelerator>& MainAccelerators();

}  // namespace vesk::res
