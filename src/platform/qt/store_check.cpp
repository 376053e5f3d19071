#include "platform/qt/store_check.h"

#include <QMetaObject>
#include <QTimer>

#include "platform/sqlite/sqlite_registry.h"

namespace vesk {

StoreCheck::StoreCheck(std::filesystem::path file,
                       std::function<void(const std::string&)> onFailure)
    : file_(std::move(file)),
      onFailure_(std::move(onFailure)),
      receiver_(std::make_unique<QObject>()) {}

StoreCheck::~StoreCheck() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
  // A report still waiting in the queue goes with its receiver.
  receiver_.reset();
}

void StoreCheck::StartAfter(int delayMs) {
  QTimer::singleShot(delayMs, receiver_.get(), [this] {
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  });
}

void StoreCheck::Run() {
  const std::string reason = SqliteRegistry::Verify(file_, &cancel_);
  if (reason.empty() || cancel_) return;
  QMetaObject::invokeMethod(
      receiver_.get(), [this, reason] { onFailure_(reason); }, Qt::QueuedConnection);
}

}  // namespace vesk
