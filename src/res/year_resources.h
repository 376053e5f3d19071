#pragma once
// The year view's resources: menu 131 and the quick hints dialog 149.
#include "platform/dialog.h"
#include "platform/menu.h"

namespace vesk::res {

// Commands (Print, Close), Previous, Next, Help (Quick Hints).
const Menu& YearMenu();
// "Quick hints on using the Year View": four hint lines, each after a
// bullet; centred on the screen.
const DialogTemplate& YearHintsDialogTemplate();

}  // namespace vesk::res
