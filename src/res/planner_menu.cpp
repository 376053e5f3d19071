#include "res/planner_menu.h"

#include <array>
#include <string>

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

const Menu& DayPlannerMenu() {
  static const Menu menu{
      {"&Commands",
       0,
       {
           {"Re&minder\tCtrl+M", kIdReminder, {}},
           {"&Repeats\tCtrl+R", kIdRepeats, {}},
           MenuItem::Separator(),
           {"Clear &Day", kIdClearDay, {}},
           MenuItem::Separator(),
           {"Select &Font", kIdSelectFont, {}},
           MenuItem::Separator(),
           {"&Print", kIdPrint, {}},
           MenuItem::Separator(),
           {"&Close\tEsc", kIdClose, {}},
       }},
      LineEditingMenu(),
      {"&Previous", kIdPrevious, {}},
      {"&Next", kIdNext, {}},
      {"&Help",
       0,
       {
           {"&Help Topics", kIdPlannerHelp, {}},
           MenuItem::Separator(),
           {"&Quick Hints", kIdPlannerHints, {}},
       }},
  };
  return menu;
}

const DialogTemplate& PlannerHintsDialogTemplate() {
  static const DialogTemplate hints = [] {
    constexpr std::array<const char*, 6> kHints{
        "left click to select an entry to edit",
        "press Esc to close the day planner",
        "all information entered is automatically saved",
        "use a single quote to continue the previous entry",
        "use \"Repeat\" to automatically re-schedule enties",
        "use \"Reminder\" to set the reminder for an entry to pop-up early",
    };
    DialogTemplate t;
    t.id = kDlgPlannerHints;
    t.caption = "Quick hints on using the Day Planner";
    t.width = 234;
    t.height = 95;
    const int y = AddHintLines(t, kHints, 10, 8, 204, 11);
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdOk, "OK", 96, y + 4, 42, 13));
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
