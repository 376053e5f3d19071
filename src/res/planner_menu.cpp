#include "res/planner_menu.h"

#include <array>
#include <string>

#include "res/command_ids.h"

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
      {"&Edit",
       0,
       {
           {"&Undo\tCtrl+Z", kIdUndo, {}},
           MenuItem::Separator(),
           {"Cu&t\tCtrl+X", kIdCut, {}},
           {"&Copy\tCtrl+C", kIdCopy, {}},
           {"&Paste\tCtrl+V", kIdPaste, {}},
           {"&Delete\tDel", kIdDelete, {}},
           {"Select &All\tCtrl+A", kIdSelectAll, {}},
       }},
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
    int y = 8;
    for (const char* line : kHints) {
      ControlTemplate bullet;
      bullet.kind = ControlKind::Bitmap;
      bullet.text = std::to_string(kBitmapBullet);
      bullet.dlu = Rect::FromSize(10, y + 1, 6, 6);
      t.controls.push_back(bullet);
      ControlTemplate label;
      label.kind = ControlKind::Static;
      label.text = line;
      label.dlu = Rect::FromSize(22, y, 204, 8);
      t.controls.push_back(label);
      y += 11;
    }
    ControlTemplate ok;
    ok.kind = ControlKind::DefaultButton;
    ok.id = kIdOk;
    ok.text = "OK";
    ok.dlu = Rect::FromSize(96, y + 4, 42, 13);
    t.controls.push_back(ok);
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
