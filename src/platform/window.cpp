#include "platform/window.h"

#include <vector>

#include "platform/ui.h"

namespace vesk {

Window* WindowRef::get() const {
  return ui_ != nullptr && ui_->IsAlive(window_, serial_) ? window_ : nullptr;
}

Window::~Window() { TearDownSilently(); }

bool Window::Create(const WindowSpec& spec) {
  WindowSpec hidden = spec;
  hidden.visible = false;
  if (!CreateWith(spec.owner, spec.parent, [&] { return ui_.CreateNative(*this, hidden); })) {
    return false;
  }
  if (spec.visible) native_->Show(true);
  return true;
}

bool Window::CreateWith(Window* owner, Window* parent,
                        const std::function<std::unique_ptr<NativeWindow>()>& make) {
  if (native_ != nullptr || destroying_) return false;
  owner_ = owner;
  parent_ = parent;
  // Registered before the backend sees it, so that events the backend sends
  // during creation find a live window.
  serial_ = ui_.Register(*this);
  std::unique_ptr<NativeWindow> native = make();
  if (native == nullptr) {
    ui_.Unregister(*this);
    serial_ = 0;
    return false;
  }
  native_ = std::move(native);
  OnCreate();
  return IsCreated();
}

namespace {

// Windows related to `of` (children or owned windows) as weak handles, since
// destroying one may destroy others.
template <typename Related>
std::vector<WindowRef> RelatedWindows(const Ui& ui, Related related) {
  std::vector<WindowRef> found;
  for (Window* w : ui.Windows()) {
    if (related(*w)) found.push_back(w->Ref());
  }
  return found;
}

}  // namespace

void Window::Destroy() {
  if (destroying_) return;
  if (native_ == nullptr) {
    ui_.Released(*this);
    return;
  }
  destroying_ = true;
  if (native_->IsVisible()) native_->Show(false);
  for (const WindowRef& ref : RelatedWindows(ui_, [this](Window& w) { return w.owner_ == this; })) {
    if (Window* w = ref.get()) w->Destroy();
  }
  OnDestroy();
  for (const WindowRef& ref :
       RelatedWindows(ui_, [this](Window& w) { return w.parent_ == this; })) {
    if (Window* w = ref.get()) w->Destroy();
  }
  native_->Destroy();
  native_.reset();
  ui_.Unregister(*this);
  serial_ = 0;
  destroying_ = false;
  ui_.Released(*this);  // may delete this object once the current message is done
}

void Window::TearDownSilently() {
  if (serial_ == 0) return;
  for (const WindowRef& ref :
       RelatedWindows(ui_, [this](Window& w) { return w.owner_ == this || w.parent_ == this; })) {
    if (Window* w = ref.get()) {
      w->TearDownSilently();
      ui_.Released(*w);
    }
  }
  if (native_ != nullptr) {
    native_->Destroy();
    native_.reset();
  }
  ui_.Unregister(*this);
  serial_ = 0;
}

void Window::PostClose() {
  ui_.Post([ref = Ref()] {
    if (Window* w = ref.get()) w->OnClose();
  });
}

void Window::PostUserMessage(int message) {
  ui_.Post([ref = Ref(), message] {
    if (Window* w = ref.get()) w->OnUserMessage(message);
  });
}

void Window::SetTitle(std::string_view t) {
  if (native_ != nullptr) native_->SetTitle(t);
}

std::string Window::Title() const { return native_ != nullptr ? native_->Title() : std::string(); }

Rect Window::WindowRect() const { return native_ != nullptr ? native_->WindowRect() : Rect{}; }

Rect Window::ClientRect() const { return native_ != nullptr ? native_->ClientRect() : Rect{}; }

void Window::Invalidate(bool erase) {
  if (native_ != nullptr) native_->Invalidate(erase);
}

bool Window::IsVisible() const { return native_ != nullptr && native_->IsVisible(); }

}  // namespace vesk
