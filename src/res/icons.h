#pragma once
// The program's icons as the desktop backend draws them, with the other ids it
// must know.
#include "platform/ui_resources.h"

namespace vesk::res {

UiResources ProgramUiResources();

}  // namespace vesk::res
