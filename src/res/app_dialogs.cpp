#include "res/app_dialogs.h"

#include <array>
#include <string>

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

namespace {

}  // namespace

const DialogTemplate& AboutDialogTemplate() {
  static const DialogTemplate about = [] {
    DialogTemplate t;
    t.id = kDlgAbout;
    t.caption = "Version & Contact Info";
    t.width = 214;
    t.height = 92;
    t.centered = true;
    t.controls = {
        Control(ControlKind::Bitmap, -1, std::to_string(kBitmapLogo), 10, 10, 32, 32),
        Label("Vesk Calendar", 52, 10, 150),
        Label(" Version 3.2", 52, 22, 150),
        Label("A month calendar and day planner that lives in the tray.", 52, 38, 150, 16),
        Label("Your entries stay on this computer; see Help for where.", 52, 56, 150, 16),
        Control(ControlKind::DefaultButton, kIdOk, "OK", 162, 74, 42, 13),
    };
    return t;
  }();
  return about;
}

const DialogTemplate& QuickHintsDialogTemplate() {
  static const DialogTemplate hints = [] {
    constexpr std::array<const char*, 4> kFirst{
        "left click on a date to access the Day Planner for that day",
        "or press Enter to open today's day planner",
        "left click on << and >> to scan by month (or use left/right arrow keys)",
        "right click on << and >> to scan by year (or use up/down arrow keys)",
    };
    constexpr std::array<const char*, 3> kShortcuts{
        "hold the mouse over \"VC\" in the icon tray to check the next appointment",
        "left click on any empty part of the Month View to access the To-Do List",
        "right click on a date to access the Week View for that week",
    };
    DialogTemplate t;
    t.id = kDlgMonthHints;
    t.caption = "Quick hints on using the Month View";
    t.width = 290;
    t.height = 140;
    t.centered = true;
    int y = AddHintLines(t, kFirst, 10, 10, 260, 13) + 3;
    t.controls.push_back(Label("additional shortcuts:", 10, y, 260));
    y = AddHintLines(t, kShortcuts, 10, y + 13, 260, 13);
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdOk, "OK", 124, y + 6, 42, 13));
    return t;
  }();
  return hints;
}

const DialogTemplate& BackupDialogTemplate() {
  static const DialogTemplate backup = [] {
    DialogTemplate t;
    t.id = kDlgBackup;
    t.caption = "Backup and Intelligent Restore";
    t.width = 210;
    t.height = 84;
    t.centered = true;
    t.controls = {
        Control(ControlKind::Button, kIdBackup, "Backup day planner entries to a text file.", 10,
                10, 190, 16),
        Control(ControlKind::Button, kIdRestore, "Restore day planner entries from a text file.",
                10, 32, 190, 16),
        Control(ControlKind::DefaultButton, kIdCancel, "Close", 80, 60, 50, 14),
    };
    return t;
  }();
  return backup;
}

}  // namespace vesk::res
