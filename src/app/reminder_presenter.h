#pragma once
// How the desktop program announces reminders: a pop-up owned by the month
// view and, unless the "notifications" option is 0, a desktop notification
// beside it. The notification's "Snooze 5 minutes" brings the entry's reminder
// back five minutes later, a click on it opens the entry's day planner, and
// closing either the pop-up or the notification closes the other.
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/notifier.h"
#include "platform/window.h"
#include "reminders/reminder_scheduler.h"
#include "reminders/reminder_wnd.h"

namespace vesk {

struct AppContext;

inline constexpr int kSnoozeMinutes = 5;
inline constexpr std::string_view kSnoozeAction = "snooze";
inline constexpr std::string_view kSnoozeLabel = "Snooze 5 minutes";
inline constexpr std::string_view kOpenLabel = "Open the day planner";

class AppReminderPresenter : public ReminderPresenter, public NotificationHandler {
 public:
  explicit AppReminderPresenter(AppContext& ctx) : ctx_(ctx) {}
  // Leaves the context and the notifier without it.
  ~AppReminderPresenter() override;
  AppReminderPresenter(const AppReminderPresenter&) = delete;
  AppReminderPresenter& operator=(const AppReminderPresenter&) = delete;

  // Becomes the context's presenter and hears the notifier's reports.
  void Attach();

  void ActivateMainFrame() override;
  void ShowReminder(const ReminderNotice& notice) override;
  void ShowMissed(const std::vector<ReminderNotice>& missed) override;

  void OnNotificationAction(int id, std::string_view key) override;
  void OnNotificationDismissed(int id) override;

 private:
  // A pop-up and the notification that goes with it (entry 0: no actions).
  struct Link {
    WindowRef popup;
    std::uint64_t entry = 0;
  };
  PopupLooks Looks() const;
  void Open(ReminderContent content, std::string body, std::uint64_t entry);
  // Forgets the notification and closes its pop-up; returns its entry serial.
  std::uint64_t Unlink(int id);

  AppContext& ctx_;
  std::map<int, Link> links_;
};

}  // namespace vesk
