#pragma once
// "Countdown Timer" (dialog 151): minutes and an optional text for a single timer.
#include "platform/dialog.h"

namespace vesk::res {

const DialogTemplate& CountdownDialogTemplate();

}  // namespace vesk::res
