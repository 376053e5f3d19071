#include "platform/qt/qt_sleep_watcher.h"

#include <QDBusConnection>
#include <utility>

namespace vesk {
namespace {

constexpr const char* kLogindService = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
constexpr const char* kPrepareForSleep = "PrepareForSleep";

}  // namespace

QtSleepWatcher::QtSleepWatcher(std::function<void()> onResume) : onResume_(std::move(onResume)) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;
  listening_ = bus.connect(kLogindService, kLogindPath, kLogindManager, kPrepareForSleep, this,
                           SLOT(OnPrepareForSleep(bool)));
}

QtSleepWatcher::~QtSleepWatcher() {
  if (!listening_) return;
  QDBusConnection::systemBus().disconnect(kLogindService, kLogindPath, kLogindManager,
                                          kPrepareForSleep, this, SLOT(OnPrepareForSleep(bool)));
}

void QtSleepWatcher::OnPrepareForSleep(bool sleeping) {
  // The signal comes twice: true before the sleep, false after the wake-up.
  if (!sleeping && onResume_) onResume_();
}

}  // namespace vesk
