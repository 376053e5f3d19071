#include "res/todo_resources.h"

#include <array>
#include <string>

#include "res/command_ids.h"
#include "res/template_parts.h"

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
      LineEditingMenu(),
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
    AddHintLines(t, kLines, 8, 8, 210, 13);
    return t;
  }();
  return hints;
}

}  // namespace vesk::res
