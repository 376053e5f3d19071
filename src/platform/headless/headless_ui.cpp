#include "platform/headless/headless_ui.h"

#include <algorithm>
#include <cctype>

#include "platform/headless/headless_font.h"
#include "platform/utf8.h"

namespace vesk {
namespace {

// A posted function that keeps posting itself would hang the test; a pump
// stops after this many and reports it.
constexpr int kRunawayPosts = 100000;

bool MenuHas(const Menu& menu, int id) {
  return std::any_of(menu.begin(), menu.end(), [&](const MenuItem& item) {
    return (!item.IsPopup() && item.id == id) || MenuHas(item.children, id);
  });
}

// Drops posted functions without running them; their destruction may post more.
void DropAll(std::deque<std::function<void()>>& posted) {
  while (!posted.empty()) {
    std::deque<std::function<void()>> dropped;
    dropped.swap(posted);
  }
}

}  // namespace

HeadlessUi::HeadlessUi()
    : ownBoxes_(std::make_unique<ScriptedMessageBoxes>()), boxes_(*ownBoxes_) {}

HeadlessUi::HeadlessUi(ScriptedMessageBoxes& boxes) : boxes_(boxes) {}

HeadlessUi::~HeadlessUi() {
  ReleaseAdopted();
  DropAll(posted_);
}

std::unique_ptr<NativeWindow> HeadlessUi::CreateNative(Window& window, const WindowSpec& spec) {
  // spec.visible is Window::Create's business: it shows the window after OnCreate.
  auto native = std::make_unique<HeadlessWindow>(*this, window);
  WindowRecord& r = native->record;
  r.title = spec.title;
  r.style = spec.style;
  r.child = spec.parent != nullptr;
  r.rect = spec.rect;
  r.enabled = !spec.style.disabled;
  r.zOrder = NextZ();
  return native;
}

std::unique_ptr<NativeEdit> HeadlessUi::CreateNativeEdit(EditControl& edit, Window& /*parent*/,
                                                         const Rect& rect,
                                                         const EditOptions& options) {
  auto native = std::make_unique<HeadlessEdit>(*this, edit, options);
  native->record.child = true;
  native->record.rect = rect;
  native->record.zOrder = NextZ();
  return native;
}

void HeadlessUi::Post(std::function<void()> fn) { posted_.push_back(std::move(fn)); }

void HeadlessUi::Pump() {
  for (int ran = 0; !posted_.empty(); ++ran) {
    if (ran == kRunawayPosts) {
      Fail("posted messages kept coming: " + std::to_string(kRunawayPosts) + " in one pump");
      DropAll(posted_);
      return;
    }
    std::function<void()> fn = std::move(posted_.front());
    posted_.pop_front();
    fn();
  }
}

std::unique_ptr<Font> HeadlessUi::CreateFont(const FontRecord& record) {
  return std::make_unique<HeadlessFont>(record);
}

MbResult HeadlessUi::Show(std::string_view text, MbButtons buttons, std::string_view caption) {
  return boxes_.Show(text, buttons, caption);
}

// --- Window records and the focus ---

WindowRecord* HeadlessUi::Record(const Window& window) {
  auto* native = dynamic_cast<HeadlessNative*>(window.native());
  return native != nullptr ? &native->record : nullptr;
}

HeadlessEdit* HeadlessUi::EditOf(const EditControl& edit) {
  return dynamic_cast<HeadlessEdit*>(edit.native());
}

Point HeadlessUi::ClientOrigin(const Window& window) const {
  const WindowRecord* r = Record(window);
  if (r == nullptr) return {};
  const Point base =
      r->child && window.parent() != nullptr ? ClientOrigin(*window.parent()) : Point{};
  const Point offset = ClientOffsetOf(*r);
  return {base.x + r->rect.left + offset.x, base.y + r->rect.top + offset.y};
}

Window& HeadlessUi::Root(Window& window) {
  Window* w = &window;
  while (w->parent() != nullptr) w = w->parent();
  return *w;
}

bool HeadlessUi::IsInside(const Window& window, const Window& ancestor) {
  for (const Window* w = &window; w != nullptr; w = w->parent()) {
    if (w == &ancestor) return true;
  }
  return false;
}

bool HeadlessUi::TakesInput(const Window& window) {
  for (const Window* w = &window; w != nullptr; w = w->parent()) {
    const WindowRecord* r = Record(*w);
    if (r == nullptr || !r->visible || !r->enabled) return false;
  }
  return true;
}

void HeadlessUi::Shown(Window& window, bool visible) {
  const WindowRecord* r = Record(window);
  if (visible) {
    if (window.parent() == nullptr && r != nullptr && !r->style.popup && r->enabled) {
      ActivateTop(window);
    }
    return;
  }
  Window* focus = focus_.get();
  const bool hadFocus = focus != nullptr && IsInside(*focus, window);
  if (window.parent() != nullptr) {
    if (hadFocus) SetFocusTo(window.parent());
    return;
  }
  DeactivateFrom(window);
}

void HeadlessUi::DeactivateFrom(Window& top) {
  Window* focus = focus_.get();
  const bool hadFocus = focus != nullptr && IsInside(*focus, top);
  if (active_.get() == &top) {
    active_ = {};
    if (top.owner() != nullptr) {
      Window& owner = Root(*top.owner());
      if (TakesInput(owner)) {
        ActivateTop(owner);
        return;
      }
    }
  }
  if (hadFocus) SetFocusTo(nullptr);
}

void HeadlessUi::ActivateTop(Window& top) {
  if (active_.get() == &top) return;
  active_ = top.Ref();
  const WindowRecord* r = Record(top);
  Window* target = r != nullptr ? r->lastFocus.get() : nullptr;
  if (target == nullptr || !IsInside(*target, top) || !TakesInput(*target)) target = &top;
  SetFocusTo(target);
}

void HeadlessUi::SetFocusTo(Window* window) {
  Window* old = focus_.get();
  if (old == window) return;
  focus_ = window != nullptr ? window->Ref() : WindowRef();
  if (window != nullptr) {
    Window& top = Root(*window);
    if (WindowRecord* r = Record(top)) r->lastFocus = window->Ref();
    if (active_.get() != &top) active_ = top.Ref();
  }
  if (auto* edit = dynamic_cast<EditControl*>(old)) edit->NotifyParent(kEnKillFocus);
}

Window& HeadlessUi::KeyTarget(Window& window) const {
  Window* focus = focus_.get();
  return focus != nullptr && IsInside(*focus, window) ? *focus : window;
}

Window& HeadlessUi::MouseTarget(Window& window, Point& p) const {
  Window* capture = capture_.get();
  if (capture == nullptr || capture == &window) return window;
  const Point from = ClientOrigin(window);
  const Point to = ClientOrigin(*capture);
  p = {p.x + from.x - to.x, p.y + from.y - to.y};
  return *capture;
}

// --- Driving windows ---

bool HeadlessUi::Click(Window& window, Point p) {
  Window& target = MouseTarget(window, p);
  if (&target == &window && !TakesInput(window)) return false;
  ActivateTop(Root(target));
  if (auto* edit = dynamic_cast<EditControl*>(&target)) {
    SetFocusTo(edit);
    EditOf(*edit)->PressAt(p);
  }
  target.OnLButtonDown(p);
  Pump();
  return true;
}

bool HeadlessUi::RightClick(Window& window, Point p) {
  Window& target = MouseTarget(window, p);
  if (&target == &window && !TakesInput(window)) return false;
  ActivateTop(Root(target));
  target.OnRButtonDown(p);
  Pump();
  return true;
}

void HeadlessUi::MouseMove(Window& window, Point p) {
  Window& target = MouseTarget(window, p);
  if (&target == &window && !TakesInput(window)) return;
  target.OnMouseMove(p);
  Pump();
}

void HeadlessUi::MouseUp(Window& window, Point p) {
  Window& target = MouseTarget(window, p);
  if (&target == &window && !TakesInput(window)) return;
  target.OnLButtonUp(p);
  Pump();
}

void HeadlessUi::Key(Window& window, int vk) {
  if (!TakesInput(window)) return;
  Window& target = KeyTarget(window);
  const WindowRef ref = target.Ref();
  // The handler may destroy the control (navigation keys replace it), so it
  // is looked at again only through the handle.
  const bool consumed = target.OnKeyDown(vk);
  if (!consumed && ref.get() != nullptr) {
    if (auto* edit = dynamic_cast<EditControl*>(&target)) EditOf(*edit)->DefaultKey(vk);
  }
  Pump();
}

void HeadlessUi::Type(EditControl& edit, std::string_view text) {
  if (!TakesInput(edit) || focus_.get() != &edit) {
    Fail("typed \"" + std::string(text) + "\" into an edit control without the focus");
    return;
  }
  const WindowRef ref = edit.Ref();
  while (!text.empty() && ref.get() != nullptr) {
    const std::size_t bytes = Utf8Offset(text, 1);
    EditOf(edit)->TypeCharacter(text.substr(0, bytes));
    text.remove_prefix(bytes);
  }
  Pump();
}

void HeadlessUi::Wheel(Window& window, int delta) {
  if (!TakesInput(window)) return;
  Window* target = &KeyTarget(window);
  while (target != nullptr) {
    const WindowRef ref = target->Ref();
    if (target->OnMouseWheel(delta) || ref.get() == nullptr) break;
    target = target->parent();
  }
  Pump();
}

CommandState HeadlessUi::MenuState(Window& window, int id) {
  CommandState state;
  window.OnUpdateCommand(id, state);
  return state;
}

bool HeadlessUi::Command(Window& window, int id) {
  if (!MenuState(window, id).enabled) return false;
  const bool handled = window.OnCommand(id);
  Pump();
  return handled;
}

std::vector<CanvasOp> HeadlessUi::Paint(Window& window) {
  if (Record(window) == nullptr) return {};
  RecordingCanvas canvas(false, screenColors_);
  const WindowRef ref = window.Ref();
  window.OnPaint(canvas);
  if (ref.get() != nullptr) {
    WindowRecord* r = Record(window);
    r->needsPaint = false;
    r->erase = false;
  }
  Pump();
  return canvas.ops();
}

void HeadlessUi::Activate(Window& window) {
  ActivateTop(Root(window));
  Pump();
}

void HeadlessUi::MoveWindow(Window& window, const Rect& outer) {
  if (WindowRecord* r = Record(window)) {
    r->rect = outer;
    window.OnMove();
  }
  Pump();
}

void HeadlessUi::Close(Window& window) {
  window.OnClose();
  Pump();
}

void HeadlessUi::Minimize(Window& window) {
  const WindowRef ref = window.Ref();
  if (!window.OnMinimize() && ref.get() != nullptr) window.native()->Minimize();
  Pump();
}

void HeadlessUi::VScroll(Window& window, int code, int pos) {
  window.OnVScroll(code, pos);
  Pump();
}

bool HeadlessUi::Accelerator(char key) {
  Window* target = accelTarget_.get();
  if (target == nullptr) return false;
  const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
  auto it = std::find_if(accelerators_.begin(), accelerators_.end(),
                         [&](const vesk::Accelerator& a) { return upper(a.key) == upper(key); });
  return it != accelerators_.end() && Command(*target, it->command);
}

// --- Dialogs ---

void HeadlessUi::ScriptDialog(int templateId, std::function<void(HeadlessDialog&)> script) {
  dialogScripts_[templateId].push_back(std::move(script));
}

std::vector<int> HeadlessUi::PendingDialogScripts() const {
  std::vector<int> ids;
  for (const auto& [id, scripts] : dialogScripts_) ids.insert(ids.end(), scripts.size(), id);
  return ids;
}

int HeadlessUi::RunDialog(Dialog& dialog, Window* owner) {
  const int id = dialog.dialogTemplate().id;
  std::function<void(HeadlessDialog&)> script;
  if (auto it = dialogScripts_.find(id); it != dialogScripts_.end()) {
    script = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty()) dialogScripts_.erase(it);
  }
  HeadlessDialog run(*this, dialog);
  AttachControls(dialog, run.controls());
  dialog.OnInitDialog();
  if (dialog.IsRunning()) {
    if (script) {
      script(run);
    } else {
      Fail("dialog " + std::to_string(id) + " ran without a script");
    }
  }
  if (dialog.IsRunning()) {
    if (script) Fail("dialog " + std::to_string(id) + " was left running by its script");
    dialog.EndDialog(kIdCancel);
  }
  DetachControls(dialog);
  dialogRuns_.push_back({id, dialog.result(), run.controls().title(), owner});
  return dialog.result();
}

// --- Common dialogs, menus, tray ---

std::optional<Color> HeadlessUi::ChooseColor(std::vector<Color>& customColors) {
  colorCalls_.push_back(customColors);
  if (colorAnswers_.empty()) return std::nullopt;
  const std::optional<Color> answer = colorAnswers_.front();
  colorAnswers_.pop_front();
  return answer;
}

std::optional<FontRecord> HeadlessUi::ChooseFont(const FontRecord& initial) {
  fontCalls_.push_back(initial);
  if (fontAnswers_.empty()) return std::nullopt;
  std::optional<FontRecord> answer = std::move(fontAnswers_.front());
  fontAnswers_.pop_front();
  return answer;
}

std::optional<std::string> HeadlessUi::ChooseOpenFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view folder,
                                                      std::string_view fileName) {
  openFileCalls_.push_back(
      {std::string(title), std::string(filter), std::string(folder), std::string(fileName)});
  if (fileAnswers_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

std::unique_ptr<PrintJob> HeadlessUi::BeginPrint(int pageCount, std::string_view documentName) {
  PrintedJob job;
  job.documentName = documentName;
  job.pageCount = pageCount;
  std::optional<PrintAnswer> answer;
  if (!printAnswers_.empty()) {
    answer = printAnswers_.front().first;
    if (answer && printAnswers_.front().second) printer_ = *printAnswers_.front().second;
    printAnswers_.pop_front();
  }
  if (answer) {
    job.started = true;
    job.firstPage = answer->firstPage;
    job.lastPage = answer->lastPage == 0 ? pageCount : answer->lastPage;
  }
  job.printer = printer_;
  printJobs_.push_back(std::move(job));
  if (!answer) return nullptr;
  return std::make_unique<HeadlessPrintJob>(*this, printJobs_.size() - 1, answer->failEnd);
}

bool HeadlessUi::PrinterSetup() {
  ++printerSetups_;
  if (setupAnswers_.empty()) return false;
  const std::optional<PrinterSettings> answer = std::move(setupAnswers_.front());
  setupAnswers_.pop_front();
  if (!answer) return false;
  printer_ = *answer;
  return true;
}

void HeadlessUi::TrackPopupMenu(const Menu& menu, Point at, Window& target) {
  popups_.push_back({menu, at, &target});
  int id = 0;
  if (!popupChoices_.empty()) {
    id = popupChoices_.front();
    popupChoices_.pop_front();
  }
  if (id == 0) return;
  if (!MenuHas(menu, id)) {
    Fail("pop-up menu choice " + std::to_string(id) + " is not in the menu");
    return;
  }
  if (!MenuState(target, id).enabled) {
    Fail("pop-up menu choice " + std::to_string(id) + " is disabled");
    return;
  }
  // The desktop sends the chosen command once the menu has closed.
  Post([ref = target.Ref(), id] {
    if (Window* w = ref.get()) w->OnCommand(id);
  });
}

void HeadlessUi::SetAccelerators(const std::vector<vesk::Accelerator>& table, Window& target) {
  accelerators_ = table;
  accelTarget_ = target.Ref();
}

std::unique_ptr<TrayIcon> HeadlessUi::CreateTrayIcon(TrayHandler& handler, std::string_view tip) {
  return std::make_unique<HeadlessTrayIcon>(*this, handler, std::string(tip));
}

void HeadlessUi::TrayMouseMove() {
  if (tray_ == nullptr) return;
  tray_->handler().OnTrayMouseMove();
  Pump();
}

void HeadlessUi::TrayLeftDown() {
  if (tray_ == nullptr) return;
  tray_->handler().OnTrayLeftDown();
  Pump();
}

void HeadlessUi::TrayRightDown() {
  if (tray_ == nullptr) return;
  tray_->handler().OnTrayRightDown();
  Pump();
}

}  // namespace vesk
