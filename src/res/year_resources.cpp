#include "res/year_resources.h"

#include <array>

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

const Menu& YearMenu() {
  static const Menu menu{
      {"&Commands",
       0,
       {
           {"&Print", kIdPrint, {}},
           MenuItem::Separator(),
           {"&Close\tEsc", kIdClose, {}},
       }},
      {"&Previous", kIdPrevious, {}},
      {"&Next", kIdNext, {}},
      {"&Help",
       0,
       {
           {"&Quick Hints", kIdYearHints, {}},
       }},
  };
  return menu;
}

const DialogTemplate& YearHintsDialogTemplate() {
  static const DialogTemplate hints = [] {
    constexpr std::array<const char*, 4> kLines{
        "left click on a date to access the Day Planner for that day",
        "right click on a date to access the Week View for that week",
        "left arrow or click \"Previous\" to jump to the previous year",
        "right arrow or click \"Next\" to jump to the next year",
    };
    DialogTemplate t;
    t.id = kDlgYearHints;
    t.caption = "Quick hints on using the Year View";
    t.width = 234;
    t.height = 78;
    t.centered = true;
    const int y = AddHintLines(t, kLines, 10, 8, 204, 12);
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdOk, "OK", 96, y + 4, 42, 13));
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
