#include "res/main_menu.h"

#include "res/command_ids.h"

namespace vesk::res {

const Menu& MainMenu() {
  static const Menu menu{
      {"&File",
       0,
       {
           {"&Setup",
            0,
            {
                {"&Color", kIdColor, {}},
                {"&Font", kIdFont, {}},
                {"&Sound", kIdSound, {}},
                {"&Advanced", kIdAdvanced, {}},
                {"&Printer", kIdPrintSetup, {}},
            }},
           {"&Timer", kIdTimer, {}},
           {"&Backup", kIdBackupDialog, {}},
           MenuItem::Separator(),
           {"E&xit", kIdExit, {}},
       }},
      {"&Edit",
       0,
       {
           {"&Undo\tCtrl+Z", kIdUndo, {}},
           MenuItem::Separator(),
           {"Cu&t\tCtrl+X", kIdCut, {}},
           {"&Copy\tCtrl+C", kIdCopy, {}},
           {"&Paste\tCtrl+V", kIdPaste, {}},
           {"Select &All\tCtrl+A", kIdSelectAll, {}},
           MenuItem::Separator(),
           {"Re&minder\tCtrl+M", kIdReminder, {}},
           {"&Repeats\tCtrl+R", kIdRepeats, {}},
       }},
      {"&View",
       0,
       {
           {"This &Month", kIdThisMonth, {}},
           {"&Today\tCtrl+T", kIdToday, {}},
           {"&Week\tCtrl+W", kIdWeek, {}},
           {"&Year\tCtrl+Y", kIdYear, {}},
           {"To &Do List\tCtrl+D", kIdToDoList, {}},
           MenuItem::Separator(),
           {"&Previous\tCtrl+P", kIdPrevious, {}},
           {"&Next\tCtrl+N", kIdNext, {}},
       }},
      {"&Help",
       0,
       {
           {"&Help Topics", kIdHelpTopics, {}},
           {"&Quick Hints", kIdQuickHints, {}},
           MenuItem::Separator(),
           {"&About", kIdAbout, {}},
       }},
  };
  return menu;
}

const std::vector<Accelerator>& MainAccelerators() {
  static const std::vector<Accelerator> table{
      {'A', kIdSelectAll}, {'C', kIdCopy},     {'D', kIdToDoList}, {'M', kIdReminder},
      {'N', kIdNext},      {'P', kIdPrevious}, {'R', kIdRepeats},  {'T', kIdToday},
      {'V', kIdPaste},     {'W', kIdWeek},     {'X', kIdCut},      {'Y', kIdYear},
      {'Z', kIdUndo},
  };
  return table;
}

}  // namespace vesk::res
