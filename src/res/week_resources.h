#pragma once
// The week view's resources: menu 67 and the quick hints dialog 148.
#include "platform/dialog.h"
#include "platform/menu.h"

namespace vesk::res {

// Commands (Repeats, Select Font, Print, Close), View (1, 2 or 4 weeks),
// Previous, Next, Help (Quick Hints).
const Menu& WeekMenu();
// "Quick hints on using the Week View": three hint lines, each after a bullet.
const DialogTemplate& WeekHintsDialogTemplate();

}  // namespace vesk::res
