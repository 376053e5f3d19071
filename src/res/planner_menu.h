#pragma once
// The day planner's resources: menu 66, the prompts of its Previous and Next
// commands, and the quick hints dialog 133.
#include <string_view>

#include "platform/dialog.h"
#include "platform/menu.h"

namespace vesk::res {

inline constexpr std::string_view kPreviousDayPrompt = "Click to view the Previous day";
inline constexpr std::string_view kNextDayPrompt = "Click to view the Next day";

// Commands, Edit, Previous, Next, Help.
const Menu& DayPlannerMenu();
// "Quick hints on using the Day Planner": six hint lines, each after a bullet.
const DialogTemplate& PlannerHintsDialogTemplate();

}  // namespace vesk::res
