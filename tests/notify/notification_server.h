#pragma once
// A small notification server of our own (org.freedesktop.Notifications) on
// its own connection to the bus: it records the calls it gets and sends the
// signals a real server sends when the user acts.
#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace vesk::test {

struct ReceivedNotification {
  uint id = 0;
  QString appName;
  uint replacesId = 0;
  QString icon;
  QString summary;
  QString body;
  QStringList actions;
  QVariantMap hints;
  int expireTimeout = -1;
};

class NotificationServer : public QDBusVirtualObject {
 public:
  // Connects to the bus at address and takes the service name.
  explicit NotificationServer(const QString& address);
  ~NotificationServer() override;

  bool IsRegistered() const { return registered_; }
  // The user chose an action: ActionInvoked, then the notification closes.
  void InvokeAction(uint id, const QString& key);
  // The user closed the notification.
  void Dismiss(uint id);

  const std::vector<ReceivedNotification>& notified() const { return notified_; }
  const std::vector<uint>& closed() const { return closed_; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString& path) const override;

 private:
  void SendClosed(uint id, uint reason);

  QDBusConnection connection_;
  bool registered_ = false;
  uint nextId_ = 1;
  std::vector<ReceivedNotification> notified_;
  std::vector<uint> closed_;  // CloseNotification calls
};

// Emits logind's PrepareForSleep on the bus, owning org.freedesktop.login1.
class FakeLogind {
 public:
  explicit FakeLogind(const QString& address);
  ~FakeLogind();
  bool IsRegistered() const { return registered_; }
  void PrepareForSleep(bool sleeping);

 private:
  QDBusConnection connection_;
  bool registered_ = false;
};

}  // namespace vesk::test
