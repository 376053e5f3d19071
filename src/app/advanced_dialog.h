#pragma once
// "Advanced" (dialog 145): the options record. OK stores it (clamped) and
// hands the month view the options every window reads; the main frame does
// the rest (the reminder lead, the window's placement).
#include "platform/dialog.h"
#include "store/options.h"

namespace vesk {

struct AppContext;

class CAdvancedDlg : public Dialog {
 public:
  // Loads the options record (creating it with its defaults when missing).
  explicit CAdvancedDlg(AppContext& ctx);

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void DoDataExchange(DataExchange& dx) override;
  // Validates and closes when valid; either way stores the options, the
  // reminder lead and the age clamped to their ranges, and copies them into
  // the running options.
  void OnOK() override;
  // Stores nothing; a refused OK that stored already is undone.
  void OnCancel() override;

  const Options& options() const { return options_; }

 private:
  // The month view shows the other first weekday.
  void RepaintIfFirstWeekdayChanged();

  AppContext& ctx_;
  Options options_;
  int europeAtOpen_ = 0;
  // What Cancel puts back after a refused OK stored the fields.
  Options storedAtOpen_;
  Options runningAtOpen_;
  bool stored_ = false;
};

}  // namespace vesk
