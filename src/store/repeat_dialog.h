#pragma once
// The repeat dialog (102): the user picks one of the seven repeat rules for an
// entry and the date the series runs until. The day planner owns one for its
// whole life and prepares it again before every run.
#include <string>

#include "calendar/local_time.h"
#include "platform/dialog.h"
#include "store/repeat_rules.h"

namespace vesk {

struct AppContext;

class CRepeatDlg : public Dialog {
 public:
  // ctx.ui must be set: the dialog runs on it.
  explicit CRepeatDlg(AppContext& ctx);

  // The day planner's date, the entry's hour and minute, its until time (0
  // when none was chosen) and its text.
  void Prepare(int year, int month, int day, int hour, int minute, LocalTime until,
               std::string text);
  // The entry's repeat code; a code outside 0..6 checks no button.
  void SetRule(int repeats);

  // The choice made with OK; valid after DoModal returned kIdOk.
  RepeatChoice Result() const { return result_; }

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;
  void OnDateTimeChange(int id) override;

  // The title for a date and text: "Wed, March 15: Dentist".
  static std::string Title(int year, int month, int day, std::string_view text);

 private:
  // The entry's own date and time, moved by a rule's usual length.
  DateTime SuggestedUntil(int ruleId) const;
  void ShowUntil(const DateTime& value);

  AppContext& ctx_;
  int year_ = 2000, month_ = 1, day_ = 1, hour_ = 0, minute_ = 0;
  LocalTime until_ = 0;
  std::string text_;
  int rule_ = 0;           // index of the checked button; -1 for none
  DateTime untilShown_{};  // the date picker's value
  bool untilChosen_ = false;
  RepeatChoice result_;
};

}  // namespace vesk
