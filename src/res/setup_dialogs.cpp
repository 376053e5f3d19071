#include "res/setup_dialogs.h"

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

namespace {

constexpr std::array<int, 8> kColorRowTops{20, 40, 60, 80, 100, 120, 139, 158};
constexpr std::array<int, 3> kSoundRowTops{25, 65, 105};

ControlTemplate Hidden(ControlTemplate c) {
  c.hidden = true;
  c.disabled = true;
  return c;
}

}  // namespace

const DialogTemplate& ColorSetupDialogTemplate() {
  static const DialogTemplate colors = [] {
    DialogTemplate t;
    t.id = kDlgColors;
    t.width = 200;
    t.height = 186;
    t.controls.push_back(Control(ControlKind::GroupBox, -1, "Select a feature:", 4, 6, 136, 172));
    for (std::size_t i = 0; i < kColorButtons.size(); ++i) {
      const ColorButton& b = kColorButtons[i];
      t.controls.push_back(
          Control(ControlKind::Button, b.button, b.text, 9, kColorRowTops[i], 88, 14));
      t.controls.push_back(
          Control(ControlKind::Static, b.swatch, "", 102, kColorRowTops[i], 28, 14));
    }
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdColorOk, "OK", 148, 6, 44, 12));
    t.controls.push_back(Control(ControlKind::Button, kIdColorCancel, "Cancel", 148, 22, 44, 12));
    t.controls.push_back(Control(ControlKind::Button, kIdYellows, "Yellows", 148, 126, 44, 12));
    t.controls.push_back(Control(ControlKind::Button, kIdBlues, "Blues", 148, 146, 44, 12));
    t.controls.push_back(Control(ControlKind::Button, kIdGreens, "Greens", 148, 166, 44, 12));
    return t;
  }();
  return colors;
}

const DialogTemplate& SoundsDialogTemplate() {
  static const DialogTemplate sounds = [] {
    DialogTemplate t;
    t.id = kDlgSounds;
    t.caption = "Modify VeskCal Sounds";
    t.width = 200;
    t.height = 140;
    t.centered = true;
    t.controls.push_back(Label("Associate sound with event:", 10, 5, 130));
    for (std::size_t i = 0; i < kSoundRows.size(); ++i) {
      const SoundRow& row = kSoundRows[i];
      const int y = kSoundRowTops[i];
      t.controls.push_back(Control(ControlKind::Button, row.button, row.text, 10, y, 65, 14));
      t.controls.push_back(Control(ControlKind::Button, row.none, "None", 80, y, 31, 14));
      t.controls.push_back(Control(ControlKind::Static, row.label, "", 10, y + 15, 180, 13));
    }
    t.controls.push_back(Control(ControlKind::DefaultButton, kIdOk, "OK", 150, 5, 40, 14));
    t.controls.push_back(Control(ControlKind::Button, kIdCancel, "Cancel", 150, 22, 40, 14));
    return t;
  }();
  return sounds;
}

const DialogTemplate& AdvancedDialogTemplate() {
  static const DialogTemplate advanced = [] {
    DialogTemplate t;
    t.id = kDlgAdvanced;
    t.caption = "Advanced";
    t.width = 270;
    t.height = 166;
    t.centered = true;
    ControlTemplate automatic =
        Control(ControlKind::RadioButton, kIdAutomatic, "Automatic", 15, 16, 70, 10);
    automatic.groupStart = true;
    t.controls = {
        Control(ControlKind::GroupBox, -1, "Reminders", 7, 4, 200, 28),
        automatic,
        Control(ControlKind::RadioButton, kIdNoReminders, "No Reminders", 100, 16, 80, 10),
        Control(ControlKind::GroupBox, -1, "Miscellaneous Configurables", 7, 38, 200, 122),
        Label("Delete day planner entries after", 15, 52, 105),
        Control(ControlKind::Edit, kIdAge, "", 122, 50, 22, 12),
        Label("months", 148, 52, 56),
        Label("Raise reminders", 15, 68, 105),
        Control(ControlKind::Edit, kIdEarly, "", 122, 66, 22, 12),
        Label("minutes early", 148, 68, 56),
        Control(ControlKind::CheckBox, kIdMinAtStart, "Minimize main window at startup", 15, 86,
                185, 10),
        Control(ControlKind::CheckBox, kIdFastPrinting, "Fast printing (black text)", 15, 100, 185,
                10),
        Control(ControlKind::CheckBox, kIdA24Hour, "24 hour clock (military style)", 15, 114, 185,
                10),
        Control(ControlKind::CheckBox, kIdEurope, "European style calendar", 15, 128, 185, 10),
        Control(ControlKind::CheckBox, kIdOnTop, "Main window always on top", 15, 142, 185, 10),
        // The main frame has no status bar: the box is carried, never shown.
        Hidden(Control(ControlKind::CheckBox, kIdStatusBar, "Show status bar on main window", 15,
                       142, 185, 10)),
        Control(ControlKind::DefaultButton, kIdOk, "OK", 213, 8, 50, 14),
        Control(ControlKind::Button, kIdCancel, "Cancel", 213, 26, 50, 14),
        Control(ControlKind::Button, kIdAdvancedHelp, "Help", 213, 44, 50, 14),
    };
    return t;
  }();
  return advanced;
}

}  // namespace vesk::res
