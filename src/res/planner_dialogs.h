#pragma once
// The dialogs a day planner runs for its selected entry: the repeat dialog
// (102) and "Configure Reminder" (147).
#include "platform/dialog.h"

namespace vesk::res {

const DialogTemplate& RepeatDialogTemplate();
const DialogTemplate& ReminderDialogTemplate();

}  // namespace vesk::res
