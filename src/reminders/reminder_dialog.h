#pragma once
// "Configure Reminder" (dialog 147): whether the selected day planner entry
// has a reminder, how many minutes early it pops up, and whether an extra one
// comes a day early. The caller fills the fields before DoModal and reads them
// afterwards whatever the result: they follow the controls while the user
// works, holding the last valid values.
#include "platform/dialog.h"

namespace vesk {

class CReminderDlg : public Dialog {
 public:
  static constexpr int kMinMinutes = 0;
  static constexpr int kMaxMinutes = 180;
  // The slider cannot show a lead of 0; only the edit can set it.
  static constexpr int kMinSlider = 1;

  explicit CReminderDlg(Ui& ui);

  int minutes = 1;
  bool enabled = true;
  bool extra = false;

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnHScroll(int sliderId, int pos) override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  // Reads every field from the controls, with validation; a minutes text that
  // fails keeps the last valid minutes. False when a message was shown.
  bool ReadFields();
  void EnableLead();
};

}  // namespace vesk
