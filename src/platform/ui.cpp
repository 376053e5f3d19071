#include "platform/ui.h"

#include <algorithm>

namespace vesk {

Window& Ui::Adopt(std::unique_ptr<Window> window) {
  adopted_.push_back(std::move(window));
  return *adopted_.back();
}

void Ui::Released(Window& window) {
  auto it = std::find_if(adopted_.begin(), adopted_.end(),
                         [&](const std::unique_ptr<Window>& w) { return w.get() == &window; });
  if (it == adopted_.end()) return;
  // The handler that destroyed the window may still be running on its object,
  // so the object goes once the current message has been handled.
  std::shared_ptr<Window> holder(std::move(*it));
  adopted_.erase(it);
  Post([holder]() mutable { holder.reset(); });
}

std::vector<Window*> Ui::Windows() const {
  std::vector<Window*> windows;
  windows.reserve(live_.size());
  for (const Live& l : live_) windows.push_back(l.window);
  return windows;
}

void Ui::ReleaseAdopted() {
  while (!adopted_.empty()) {
    std::unique_ptr<Window> window = std::move(adopted_.back());
    adopted_.pop_back();
    window.reset();
  }
}

void Ui::AttachControls(Dialog& dialog, DialogControls& controls) {
  dialog.controls_ = &controls;
  dialog.ended_ = false;
  dialog.result_ = kIdCancel;
}

void Ui::DetachControls(Dialog& dialog) { dialog.controls_ = nullptr; }

std::uint64_t Ui::Register(Window& window) {
  live_.push_back({&window, nextSerial_});
  return nextSerial_++;
}

void Ui::Unregister(const Window& window) {
  std::erase_if(live_, [&](const Live& l) { return l.window == &window; });
}

bool Ui::IsAlive(const Window* window, std::uint64_t serial) const {
  return serial != 0 && std::any_of(live_.begin(), live_.end(), [&](const Live& l) {
           return l.window == window && l.serial == serial;
         });
}

}  // namespace vesk
