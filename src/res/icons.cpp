#include "res/icons.h"

#include "res/command_ids.h"

namespace vesk::res {

UiResources ProgramUiResources() {
  return UiResources{
      .icons = {{kIconApp, "VC", 0x2f6fb0},
                {kIconToDo, "TD", 0x3f8f4f},
                {kIconYear, "Y", 0x8f5fa0},
                {kIconPlanner, "DP", 0xc07020},
                {kIconWeek, "W", 0x2f8f8f},
                {kIconReminder, "!", 0xc03030},
                {kIconCountdown, "T", 0xa08020}},
      .bulletBitmap = kBitmapBullet,
      .helpContents = kHelpContents,
  };
}

}  // namespace vesk::res
