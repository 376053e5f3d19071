#pragma once
// The dialogs of the application shell: About (100), the month view's quick
// hints (146) and "Backup and Intelligent Restore" (153).
#include "platform/dialog.h"

namespace vesk::res {

const DialogTemplate& AboutDialogTemplate();
const DialogTemplate& QuickHintsDialogTemplate();
const DialogTemplate& BackupDialogTemplate();

}  // namespace vesk::res
