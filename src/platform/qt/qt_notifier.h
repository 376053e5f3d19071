#pragma once
// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications) on the session bus. Calls are asynchronous,
// so a slow or missing server never holds up the program; without a session
// bus nothing is sent, and errors from the bus are dropped without a word.
#include <QObject>
#include <map>
#include <string>

#include "platform/notifier.h"

namespace vesk {

class QtNotifier : public QObject, public Notifier {
  Q_OBJECT

 public:
  // appName and icon as the server shows them; icon is a theme icon name or
  // the path of an image file.
  QtNotifier(std::string appName, std::string icon);
  ~QtNotifier() override;

  int Notify(const DesktopNotification& notification) override;
  void Close(int id) override;
  void SetHandler(NotificationHandler* handler) override { handler_ = handler; }

 private slots:
  void OnActionInvoked(uint serverId, const QString& key);
  void OnNotificationClosed(uint serverId, uint reason);

 private:
  struct Sent {
    uint serverId = 0;     // 0 until the server has answered
    bool closing = false;  // withdrawn before the server answered
    bool acted = false;    // an action was chosen: its closing is no dismissal
  };
  bool Connect();
  void Answered(int id, uint serverId);
  void CloseOnServer(uint serverId);
  // Our id of a notification the server knows, or 0.
  int IdOf(uint serverId) const;

  std::string appName_;
  std::string icon_;
  NotificationHandler* handler_ = nullptr;
  std::map<int, Sent> sent_;
  int nextId_ = 1;
  bool connected_ = false;
};

}  // namespace vesk
