#include "res/week_resources.h"

#include <array>

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

const Menu& WeekMenu() {
  static const Menu menu{
      {"&Commands",
       0,
       {
           {"&Repeats", kIdRepeats, {}},
           {"Select &Font", kIdSelectFont, {}},
           MenuItem::Separator(),
           {"&Print", kIdPrint, {}},
           MenuItem::Separator(),
           {"&Close\tEsc", kIdClose, {}},
       }},
      {"&View",
       0,
       {
           {"&1 Week", kIdOneWeek, {}},
           {"&2 Weeks", kIdTwoWeeks, {}},
           {"&4 Weeks", kIdFourWeeks, {}},
       }},
      {"&Previous", kIdPrevious, {}},
      {"&Next", kIdNext, {}},
      {"&Help",
       0,
       {
           {"&Quick Hints", kIdWeekHints, {}},
       }},
  };
  return menu;
}

const DialogTemplate& WeekHintsDialogTemplate() {
  static const DialogTemplate hints = [] {
    constexpr std::array<const char*, 3> kLines{
        "left click on a date to access the Day Planner for that day",
        "click \"Previous\" to scan backward 7 days",
        "click \"Next\" to scan forward 7 days",
    };
    DialogTemplate t;
    t.id = kDlgWeekHints;
    t.caption = "Quick hints on using the Week View";
    t.width = 234;
    t.height = 66;
    const int y = AddHintLines(t, kLines, 10, 8, 204, 12);
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdOk, "OK", 96, y + 4, 42, 13));
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
