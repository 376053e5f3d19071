#include "platform/qt/qt_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QStringList>
#include <QVariantMap>
#include <utility>

#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
// The reason NotificationClosed gives when the user closed the notification.
constexpr uint kDismissedByUser = 2;
constexpr uchar kUrgencyNormal = 1;
constexpr int kNeverExpires = 0;

}  // namespace

QtNotifier::QtNotifier(std::string appName, std::string icon)
    : appName_(std::move(appName)), icon_(std::move(icon)) {}

QtNotifier::~QtNotifier() {
  if (!connected_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.disconnect(kService, kPath, kInterface, "ActionInvoked", this,
                 SLOT(OnActionInvoked(uint, QString)));
  bus.disconnect(kService, kPath, kInterface, "NotificationClosed", this,
                 SLOT(OnNotificationClosed(uint, uint)));
}

bool QtNotifier::Connect() {
  if (connected_) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  bus.connect(kService, kPath, kInterface, "ActionInvoked", this,
              SLOT(OnActionInvoked(uint, QString)));
  bus.connect(kService, kPath, kInterface, "NotificationClosed", this,
              SLOT(OnNotificationClosed(uint, uint)));
  connected_ = true;
  return true;
}

int QtNotifier::Notify(const DesktopNotification& notification) {
  if (!Connect()) return 0;
  QStringList actions;
  for (const NotificationAction& action : notification.actions) {
    actions << ToQString(action.key) << ToQString(action.label);
  }
  QVariantMap hints;
  hints.insert("urgency", QVariant::fromValue(kUrgencyNormal));
  // Lets the notification centre group them under the program's desktop file.
  const QString desktopFile = QGuiApplication::desktopFileName();
  if (!desktopFile.isEmpty()) hints.insert("desktop-entry", desktopFile);

  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
  call << ToQString(appName_) << uint{0} << ToQString(icon_) << ToQString(notification.summary)
       << ToQString(notification.body) << actions << hints << kNeverExpires;

  const int id = nextId_++;
  sent_.emplace(id, Sent{});
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, id](QDBusPendingCallWatcher* w) {
            const QDBusPendingReply<uint> reply = *w;
            w->deleteLater();
            if (reply.isError()) {
              // No server on this bus: the reminder still has its pop-up.
              sent_.erase(id);
              return;
            }
            Answered(id, reply.value());
          });
  return id;
}

void QtNotifier::Answered(int id, uint serverId) {
  auto it = sent_.find(id);
  if (it == sent_.end()) return;
  if (it->second.closing) {
    sent_.erase(it);
    CloseOnServer(serverId);
    return;
  }
  it->second.serverId = serverId;
}

void QtNotifier::Close(int id) {
  auto it = sent_.find(id);
  if (it == sent_.end()) return;
  if (it->second.serverId == 0) {
    it->second.closing = true;
    return;
  }
  const uint serverId = it->second.serverId;
  sent_.erase(it);
  CloseOnServer(serverId);
}

void QtNotifier::CloseOnServer(uint serverId) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
  call << serverId;
  // The answer is not needed; one that was closed meanwhile answers with an error.
  QDBusConnection::sessionBus().asyncCall(call);
}

int QtNotifier::IdOf(uint serverId) const {
  if (serverId == 0) return 0;
  for (const auto& [id, sent] : sent_) {
    if (sent.serverId == serverId) return id;
  }
  return 0;
}

void QtNotifier::OnActionInvoked(uint serverId, const QString& key) {
  const int id = IdOf(serverId);
  if (id == 0) return;
  sent_[id].acted = true;
  if (handler_ != nullptr) handler_->OnNotificationAction(id, ToStdString(key));
}

void QtNotifier::OnNotificationClosed(uint serverId, uint reason) {
  const int id = IdOf(serverId);
  if (id == 0) return;
  const bool dismissed = reason == kDismissedByUser && !sent_[id].acted;
  sent_.erase(id);
  if (dismissed && handler_ != nullptr) handler_->OnNotificationDismissed(id);
}

}  // namespace vesk
