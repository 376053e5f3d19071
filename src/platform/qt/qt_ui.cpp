#include "platform/qt/qt_ui.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPrinter>
#include <QScreen>

#include "platform/qt/installed_data.h"
#include "platform/qt/qt_edit.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/qt_menus.h"
#include "platform/qt/qt_sound.h"
#include "platform/qt/qt_window.h"

namespace vesk {

QtUi::QtUi(UiResources resources)
    : icons_(std::move(resources)),
      postContext_(std::make_unique<QObject>()),
      sound_(std::make_unique<QtSound>()),
      accelerators_(std::make_unique<QtAccelerators>(*this)) {
  InstallFontSubstitutions();
  // The program decides when it ends (its windows hide to the tray).
  QApplication::setQuitOnLastWindowClosed(false);
  // Menus take the focus for a moment only; leaving the program leaves the
  // window it had.
  QObject::connect(qApp, &QApplication::focusChanged, postContext_.get(),
                   [this](QWidget* /*old*/, QWidget* now) {
                     if (now != nullptr && now->window()->windowType() != Qt::Popup) {
                       lastActive_ = now->window();
                     }
                   });
}

QtUi::~QtUi() {
  postContext_.reset();
  ReleaseWindows();
  help_.reset();
}

void QtUi::ReleaseWindows() {
  ReleaseAdopted();
  // Waiting work may hold released windows: they go now, while the Ui exists.
  posted_.clear();
  // Widgets of destroyed windows wait for deletion on the event queue.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<NativeWindow> QtUi::CreateNative(Window& window, const WindowSpec& spec) {
  return std::make_unique<QtNativeWindow>(*this, window, spec);
}

std::unique_ptr<NativeEdit> QtUi::CreateNativeEdit(EditControl& edit, Window& parent,
                                                   const Rect& rect, const EditOptions& options) {
  QtNativeWindow* host = NativeOf(&parent);
  if (host == nullptr || host->clientWidget() == nullptr) return nullptr;
  return std::make_unique<QtEdit>(edit, *host->clientWidget(), rect, options,
                                  [owner = parent.Ref()] {
                                    if (Window* w = owner.get()) w->Invalidate(false);
                                  });
}

void QtUi::Post(std::function<void()> fn) {
  posted_.push_back(std::move(fn));
  QMetaObject::invokeMethod(
      postContext_.get(), [this] { RunPosted(); }, Qt::QueuedConnection);
}

void QtUi::RunPosted() {
  if (posted_.empty()) return;
  const std::function<void()> fn = std::move(posted_.front());
  posted_.pop_front();
  fn();
}

std::unique_ptr<Font> QtUi::CreateFont(const FontRecord& record) {
  return std::make_unique<QtFont>(record);
}

QtNativeWindow* QtUi::NativeOf(const Window* window) const {
  return window != nullptr ? dynamic_cast<QtNativeWindow*>(window->native()) : nullptr;
}

Window* QtUi::ActiveWindow() const {
  const QWidget* active = QApplication::activeWindow();
  if (active == nullptr) return nullptr;
  for (Window* window : Windows()) {
    const QtNativeWindow* native = NativeOf(window);
    if (native != nullptr && native->frameWidget() == active) return window;
  }
  return nullptr;
}

bool QtUi::IsProgramWindow(const QWidget* widget) const {
  const QWidget* top = widget != nullptr ? widget->window() : nullptr;
  if (top == nullptr) return false;
  for (Window* window : Windows()) {
    const QtNativeWindow* native = NativeOf(window);
    if (native != nullptr && native->frameWidget() == top) return true;
  }
  return false;
}

QWidget* QtUi::DialogParent(const Window* owner) const {
  if (const QtNativeWindow* native = NativeOf(owner); native != nullptr && native->frameWidget()) {
    return native->frameWidget()->window();
  }
  return QApplication::activeWindow();
}

Size QtUi::ScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize size = screen->availableGeometry().size();
  return {size.width(), size.height()};
}

Point QtUi::CursorPos() const {
  const QPoint pos = QCursor::pos();
  return {pos.x(), pos.y()};
}

void QtUi::TrackPopupMenu(const Menu& menu, Point at, Window& target) {
  QMenu popup;
  // The chosen command arrives after the menu call returns, as a posted
  // command does on the original desktop.
  const MenuRouting direct = MenuRoutingFor(target.Ref());
  MenuRouting posted{
      [this, command = direct.command](int id) { Post([command, id] { command(id); }); },
      direct.update};
  FillMenu(popup, menu, posted);
  popup.exec(QPoint(at.x, at.y));
}

void QtUi::SetAccelerators(const std::vector<Accelerator>& table, Window& target) {
  accelerators_->Set(table, target.Ref());
}

void QtUi::ShowHelp(int topic) {
  if (!help_) help_ = std::make_unique<QtHelpWindow>(InstalledDataDirectory() / "help", icons_);
  help_->ShowTopic(topic);
}

void QtUi::BringLastActiveToTop() {
  // A modal dialog comes first: the windows behind it take no input.
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = lastActive_;
  // A hidden window (the frame in the tray) is not shown by this.
  if (window == nullptr || !window->isVisible()) return;
  if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
}

void QtUi::PlaySound(std::string_view path) { sound_->Play(path); }

void QtUi::Beep() { sound_->Beep(); }

}  // namespace vesk
