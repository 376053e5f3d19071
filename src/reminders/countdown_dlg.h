#pragma once
// "Countdown Timer" (dialog 151): the minutes until the timer expires (1 to
// 300, typed or on the slider, which follow each other) and an optional text.
// OK starts the countdown, once both fields are valid.
#include <string>

#include "platform/dialog.h"

namespace vesk {

class Countdowns;

inline constexpr const char* kCountdownNotStarted = "The timer could not be started.";

class CCountdownDlg : public Dialog {
 public:
  static constexpr int kMinMinutes = 1;
  static constexpr int kMaxMinutes = 300;
  static constexpr int kMaxText = 60;

  CCountdownDlg(Ui& ui, Countdowns& countdowns);

  std::string text;
  int minutes = 1;

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnHScroll(int sliderId, int pos) override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  Countdowns& countdowns_;
};

}  // namespace vesk
