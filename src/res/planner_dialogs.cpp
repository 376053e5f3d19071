#include "res/planner_dialogs.h"

#include <string>
#include <utility>

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

namespace {

// The rule buttons carry no text in the template: the dialog writes the
// texts for the entry's date when it opens.
ControlTemplate RuleButton(int id, int y, bool groupStart = false) {
  ControlTemplate c = Control(ControlKind::RadioButton, id, "", 15, y, 125, 11);
  c.groupStart = groupStart;
  return c;
}

}  // namespace

const DialogTemplate& RepeatDialogTemplate() {
  static const DialogTemplate repeat = [] {
    DialogTemplate t;
    t.id = kDlgRepeat;
    t.width = 212;
    t.height = 170;
    t.centered = true;
    t.controls = {
        Control(ControlKind::DefaultButton, kIdOk, "OK", 165, 5, 39, 13),
        Control(ControlKind::Button, kIdCancel, "Cancel", 165, 25, 39, 13),
        Control(ControlKind::Button, kIdRepeatHelp, "HELP!", 165, 110, 39, 20),
        Control(ControlKind::GroupBox, kIdRepeatGroup, "This event should repeat:", 6, 5, 149,
                125),
        RuleButton(kIdRepeatNone, 20, true),
        RuleButton(kIdRepeatDaily, 35),
        RuleButton(kIdRepeatWeekly, 50),
        RuleButton(kIdRepeatSecondWeek, 65),
        RuleButton(kIdRepeatMonthDay, 80),
        RuleButton(kIdRepeatMonthWeekday, 95),
        RuleButton(kIdRepeatYearly, 110),
        Control(ControlKind::Static, -1, "Repeat until:", 10, 135, 120, 12),
        Control(ControlKind::DateTimePicker, kIdRepeatUntil, "", 5, 150, 134, 15),
    };
    return t;
  }();
  return repeat;
}

const DialogTemplate& ReminderDialogTemplate() {
  static const DialogTemplate reminder = [] {
    DialogTemplate t;
    t.id = kDlgReminder;
    t.caption = "Configure Reminder";
    // Wide enough for the extra-reminder box (10 + 218) and the buttons (190 + 39).
    t.width = 236;
    t.height = 76;
    t.controls = {
        Control(ControlKind::DefaultButton, kIdOk, "OK", 190, 10, 39, 13),
        Control(ControlKind::Button, kIdCancel, "Cancel", 190, 28, 39, 13),
        Control(ControlKind::CheckBox, kIdReminderEnabled,
                "Enable reminder for the selected entry.", 10, 10, 160, 10),
        Control(ControlKind::GroupBox, -1, "How many minutes early to pop-up the reminder:", 10,
                25, 170, 29),
        Control(ControlKind::Edit, kIdReminderMinutes, "", 16, 38, 19, 12),
        Control(ControlKind::Slider, kIdReminderSlider, "", 38, 38, 128, 12),
        Control(ControlKind::CheckBox, kIdReminderExtra,
                "Add an extra reminder: remind me one day early.", 10, 60, 218, 10),
    };
    return t;
  }();
  return reminder;
}

}  // namespace vesk::res
