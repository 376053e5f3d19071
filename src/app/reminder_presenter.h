#pragma once
// How the desktop program announces a due reminder. Until the reminder pop-up
// window exists, the announcement is a message box with the pop-up's caption
// and the entry's text, after the reminder sound.
#include <string>
#include <string_view>

#include "reminders/reminder_scheduler.h"

namespace vesk {

struct AppContext;

// "Tomorrow" for the day-early reminder; "VeskCal" for hour -1 (an expired
// countdown); otherwise "VeskCal - 9:05am" on the 12-hour clock (hour 0 stays 0).
std::string ReminderCaption(int hour, int minute, bool dayEarly);

class AppReminderPresenter : public ReminderPresenter {
 public:
  explicit AppReminderPresenter(AppContext& ctx) : ctx_(ctx) {}
  void ActivateMainFrame() override;
  void ShowReminder(int month, int day, int hour, int minute, std::string_view text,
                    bool dayEarly) override;

 private:
  AppContext& ctx_;
};

}  // namespace vesk
