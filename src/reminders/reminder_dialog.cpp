#include "reminders/reminder_dialog.h"

#include "platform/window.h"
#include "res/command_ids.h"
#include "res/planner_dialogs.h"

namespace vesk {

CReminderDlg::CReminderDlg(Ui& ui) : Dialog(ui, res::ReminderDialogTemplate()) {}

bool CReminderDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetRange(res::kIdReminderSlider, kMinSlider, kMaxMinutes);
  controls().SetPos(res::kIdReminderSlider, minutes);
  controls().SetIcon(res::kIconPlanner);
  EnableLead();
  return true;
}

void CReminderDlg::DoDataExchange(DataExchange& dx) {
  // The check boxes come first: they always hold valid values, so a bad
  // minutes text cannot leave them behind.
  int on = enabled ? 1 : 0;
  int early = extra ? 1 : 0;
  dx.Check(res::kIdReminderEnabled, on);
  dx.Check(res::kIdReminderExtra, early);
  enabled = on != 0;
  extra = early != 0;
  dx.IntRange(res::kIdReminderMinutes, minutes, kMinMinutes, kMaxMinutes);
}

bool CReminderDlg::ReadFields() {
  const int lastValid = minutes;
  if (UpdateData(true)) return true;
  // The slider still goes to the nearest end of what was typed; the field
  // keeps a value the caller can store.
  controls().SetPos(res::kIdReminderSlider, minutes);
  minutes = lastValid;
  return false;
}

void CReminderDlg::EnableLead() {
  controls().Enable(res::kIdReminderMinutes, enabled);
  controls().Enable(res::kIdReminderSlider, enabled);
  controls().Enable(res::kIdReminderExtra, enabled);
}

void CReminderDlg::OnCommand(int id, int code) {
  switch (id) {
    case res::kIdReminderEnabled:
      ReadFields();
      EnableLead();
      return;
    case res::kIdReminderExtra:
      // Only this box changed; the minutes text was judged when it was typed.
      extra = controls().IsChecked(res::kIdReminderExtra);
      return;
    case res::kIdReminderMinutes:
      if (code == kEnChange && ReadFields()) controls().SetPos(res::kIdReminderSlider, minutes);
      return;
    default:
      Dialog::OnCommand(id, code);
  }
}

void CReminderDlg::OnHScroll(int sliderId, int pos) {
  if (sliderId != res::kIdReminderSlider) return;
  minutes = pos;
  UpdateData(false);
}

}  // namespace vesk
