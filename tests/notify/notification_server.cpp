#include "notify/notification_server.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace vesk::test {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr uint kDismissed = 2;

}  // namespace

NotificationServer::NotificationServer(const QString& address)
    : connection_(QDBusConnection::connectToBus(address, "notification-server")) {
  registered_ = connection_.isConnected() && connection_.registerService(kService) &&
                connection_.registerVirtualObject(kPath, this);
}

NotificationServer::~NotificationServer() {
  connection_.unregisterObject(kPath);
  connection_.unregisterService(kService);
  QDBusConnection::disconnectFromBus("notification-server");
}

bool NotificationServer::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
  if (message.interface() != kInterface) return false;
  const QList<QVariant> args = message.arguments();
  if (message.member() == "Notify" && args.size() == 8) {
    ReceivedNotification n;
    n.id = nextId_++;
    n.appName = args[0].toString();
    n.replacesId = args[1].toUInt();
    n.icon = args[2].toString();
    n.summary = args[3].toString();
    n.body = args[4].toString();
    n.actions = args[5].toStringList();
    n.hints = qdbus_cast<QVariantMap>(args[6]);
    n.expireTimeout = args[7].toInt();
    notified_.push_back(n);
    connection.send(message.createReply(QVariant::fromValue(n.id)));
    return true;
  }
  if (message.member() == "CloseNotification" && args.size() == 1) {
    const uint id = args[0].toUInt();
    closed_.push_back(id);
    connection.send(message.createReply());
    SendClosed(id, 3);
    return true;
  }
  return false;
}

QString NotificationServer::introspect(const QString&) const { return {}; }

void NotificationServer::SendClosed(uint id, uint reason) {
  QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, "NotificationClosed");
  signal << id << reason;
  connection_.send(signal);
}

void NotificationServer::InvokeAction(uint id, const QString& key) {
  QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, "ActionInvoked");
  signal << id << key;
  connection_.send(signal);
  SendClosed(id, kDismissed);
}

void NotificationServer::Dismiss(uint id) { SendClosed(id, kDismissed); }

FakeLogind::FakeLogind(const QString& address)
    : connection_(QDBusConnection::connectToBus(address, "fake-logind")) {
  registered_ = connection_.isConnected() && connection_.registerService("org.freedesktop.login1");
}

FakeLogind::~FakeLogind() {
  connection_.unregisterService("org.freedesktop.login1");
  QDBusConnection::disconnectFromBus("fake-logind");
}

void FakeLogind::PrepareForSleep(bool sleeping) {
  QDBusMessage signal = QDBusMessage::createSignal(
      "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
  signal << sleeping;
  connection_.send(signal);
}

}  // namespace vesk::test
