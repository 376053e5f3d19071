#pragma once
// Desktop notifications: a message in the desktop's notification centre, with
// buttons (actions) that report back to the program.
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

struct NotificationAction {
  std::string key;    // reported back when chosen
  std::string label;  // what the button says
};

// The click on the notification itself reports this key.
inline constexpr std::string_view kDefaultNotificationAction = "default";

struct DesktopNotification {
  std::string summary;
  std::string body;  // plain text
  std::vector<NotificationAction> actions;
};

class NotificationHandler {
 public:
  virtual ~NotificationHandler() = default;
  virtual void OnNotificationAction(int id, std::string_view key) = 0;
  // The user closed the notification (not the program, and not its expiry).
  virtual void OnNotificationDismissed(int id) = 0;
};

class Notifier {
 public:
  virtual ~Notifier() = default;
  // Sends a notification that stays until it is closed. Returns the id the
  // program knows it by (positive), or 0 when the desktop offers no
  // notifications; never blocks, and a desktop that turns out to have no
  // notification server drops it silently.
  virtual int Notify(const DesktopNotification& notification) = 0;
  // Withdraws a notification; nothing when it is gone already.
  virtual void Close(int id) = 0;
  // Where actions and dismissals are reported; null stops the reports.
  virtual void SetHandler(NotificationHandler* handler) = 0;
};

}  // namespace vesk
