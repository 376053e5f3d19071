#include "platform/headless/headless_notifier.h"

namespace vesk {

int HeadlessNotifier::Notify(const DesktopNotification& notification) {
  if (!available_) return 0;
  const int id = static_cast<int>(sent_.size()) + 1;
  sent_.push_back({id, notification});
  return id;
}

void HeadlessNotifier::Close(int id) {
  Sent* s = Find(id);
  if (s == nullptr || !s->open) return;
  s->open = false;
  s->withdrawn = true;
}

HeadlessNotifier::Sent* HeadlessNotifier::Find(int id) {
  if (id < 1 || id > static_cast<int>(sent_.size())) return nullptr;
  return &sent_[static_cast<std::size_t>(id - 1)];
}

void HeadlessNotifier::InvokeAction(int id, std::string_view key) {
  Sent* s = Find(id);
  if (s == nullptr || !s->open) return;
  s->open = false;
  if (handler_ != nullptr) handler_->OnNotificationAction(id, key);
}

void HeadlessNotifier::Dismiss(int id) {
  Sent* s = Find(id);
  if (s == nullptr || !s->open) return;
  s->open = false;
  if (handler_ != nullptr) handler_->OnNotificationDismissed(id);
}

std::vector<const HeadlessNotifier::Sent*> HeadlessNotifier::Open() const {
  std::vector<const Sent*> open;
  for (const Sent& s : sent_) {
    if (s.open) open.push_back(&s);
  }
  return open;
}

}  // namespace vesk
