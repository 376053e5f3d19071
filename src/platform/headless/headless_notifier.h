#pragma once
// The desktop notifications of the headless twin: every notification sent is
// recorded, and tests act for the user in the notification centre (an action
// button, the close box) or take the server away.
#include <string>
#include <string_view>
#include <vector>

#include "platform/notifier.h"

namespace vesk {

class HeadlessNotifier : public Notifier {
 public:
  struct Sent {
    int id = 0;
    DesktopNotification notification;
    bool open = true;        // shown in the notification centre
    bool withdrawn = false;  // closed by the program
  };

  int Notify(const DesktopNotification& notification) override;
  void Close(int id) override;
  void SetHandler(NotificationHandler* handler) override { handler_ = handler; }

  // Without a notification server nothing is sent.
  void SetAvailable(bool available) { available_ = available; }
  // The user chooses an action of an open notification; the server closes it.
  void InvokeAction(int id, std::string_view key);
  // The user closes an open notification.
  void Dismiss(int id);

  const std::vector<Sent>& sent() const { return sent_; }
  // The notifications still open, oldest first.
  std::vector<const Sent*> Open() const;
  NotificationHandler* handler() const { return handler_; }

 private:
  Sent* Find(int id);

  std::vector<Sent> sent_;
  NotificationHandler* handler_ = nullptr;
  bool available_ = true;
};

}  // namespace vesk
