#include "reminders/countdown_dlg.h"

#include "platform/ui.h"
#include "reminders/countdowns.h"
#include "res/command_ids.h"
#include "res/countdown_dialog.h"

namespace vesk {

CCountdownDlg::CCountdownDlg(Ui& ui, Countdowns& countdowns)
    : Dialog(ui, res::CountdownDialogTemplate()), countdowns_(countdowns) {}

bool CCountdownDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconCountdown);
  controls().SetRange(res::kIdCountdownSlider, kMinMinutes, kMaxMinutes);
  controls().SetPos(res::kIdCountdownSlider, minutes);
  return true;
}

void CCountdownDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(res::kIdCountdownText, text, kMaxText);
  dx.IntRange(res::kIdCountdownMinutes, minutes, kMinMinutes, kMaxMinutes);
}

void CCountdownDlg::OnCommand(int id, int code) {
  switch (id) {
    case res::kIdCountdownMinutes:
      if (code != kEnChange) return;
      // A number out of range is taken before it is reported, so the slider
      // goes to its nearest end.
      UpdateData(true);
      controls().SetPos(res::kIdCountdownSlider, minutes);
      return;
    case res::kIdCountdownText:
      if (code == kEnChange) UpdateData(true);
      return;
    default:
      Dialog::OnCommand(id, code);
  }
}

void CCountdownDlg::OnHScroll(int sliderId, int pos) {
  if (sliderId != res::kIdCountdownSlider) return;
  minutes = pos;
  UpdateData(false);
}

void CCountdownDlg::OnOK() {
  // Only valid fields start a countdown: OK on a bad value keeps the dialog
  // open with nothing running.
  if (!UpdateData(true)) return;
  if (!countdowns_.Start(minutes, text)) {
    ui().Show(kCountdownNotStarted, MbButtons::Ok);
    return;
  }
  EndDialog(kIdOk);
}

}  // namespace vesk
