#include "res/todo_resources.h"

#include <array>
#include <string>

#include "res/command_ids.h"

namespace vesk::res {

const Menu& ToDoMenu() {
  static const Menu menu{
      {"&Commands",
       0,
       {
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
      {"&Help",
       0,
       {
           {"&Quick Hints", kIdPlannerHints, {}},
       }},
  };
  return menu;
}

const DialogTemplate& ToDoHintsDialogTemplate() {
  static const DialogTemplate hints = [] {
    constexpr std::array<const char*, 4> kLines{
        "left click to select an entry to edit",
        "right click to activate a pop-up menu for Cut and Paste commands",
        "all information entered is automatically saved",
        "use the tab, enter and arrow keys to move to the next entry",
    };
    DialogTemplate t;
    t.id = kDlgToDoHints;
    t.caption = "Quick hints on using the To-Do List";
    t.width = 236;
    t.height = 66;
    int y = 8;
    for (const char* line : kLines) {
      ControlTemplate bullet;
      bullet.kind = ControlKind::Bitmap;
      bullet.text = std::to_string(kBitmapBullet);
      bullet.dlu = Rect::FromSize(8, y + 1, 6, 6);
      t.controls.push_back(bullet);
      ControlTemplate label;
      label.kind = ControlKind::Static;
      label.text = line;
      label.dlu = Rect::FromSize(20, y, 210, 8);
      t.controls.push_back(label);
      y += 13;
    }
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
