#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWindow>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_menus.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace vesk {
namespace {

Rect ToRect(const QRect& r) { return Rect::FromSize(r.x(), r.y(), r.width(), r.height()); }

// The window manager's frame around a top-level widget, as far as Qt knows it.
QMargins KnownFrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect geometry = window.geometry();
  return {geometry.left() - frame.left(), geometry.top() - frame.top(),
          frame.right() - geometry.right(), frame.bottom() - geometry.bottom()};
}

// Draws into a window's backing image outside OnPaint and shows the result
// when the drawing is done.
struct BackingPainter {
  explicit BackingPainter(std::shared_ptr<QPixmap> target)
      : image(std::move(target)), painter(image.get()) {}
  std::shared_ptr<QPixmap> image;
  QPainter painter;
};

class ImmediateCanvas : private BackingPainter, public QtCanvas {
 public:
  ImmediateCanvas(std::shared_ptr<QPixmap> image, QWidget* client)
      : BackingPainter(std::move(image)),
        QtCanvas(painter, false, client->font()),
        client_(client) {}
  ~ImmediateCanvas() override {
    painter.end();
    if (client_) client_->update();
  }

 private:
  QPointer<QWidget> client_;
};

}  // namespace

QtNativeWindow::QtNativeWindow(QtUi& ui, Window& window, const WindowSpec& spec)
    : ui_(ui), window_(window), style_(spec.style), ownerWindow_(spec.owner) {
  QtNativeWindow* parent = spec.parent != nullptr ? ui.NativeOf(spec.parent) : nullptr;
  child_ = parent != nullptr;
  frame_ = new QtWindowWidget(child_ ? parent->clientWidget() : nullptr, FlagsFor());
  frame_->setWindowTitle(ToQString(spec.title));
  if (style_.popup && style_.disabled) {
    frame_->setAttribute(Qt::WA_ShowWithoutActivating);
    frame_->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  if (style_.disabled) frame_->setEnabled(false);

  client_ = new QtWindowWidget(frame_, Qt::Widget);
  client_->setMouseTracking(true);
  // Clicks leave the focus where it is (on an edit control, say); the client
  // takes it when the window is activated or asks for it.
  client_->setFocusPolicy(Qt::NoFocus);
  client_->setAttribute(Qt::WA_OpaquePaintEvent);
  if (style_.vscroll) {
    vscroll_ = new QScrollBar(Qt::Vertical, frame_);
    ConnectScrollBar();
  }
  Place(spec.rect);
  lastReportedPos_ = frame_->pos();
  LinkOwner();
  frame_->Attach(this);
  client_->Attach(this);
}

QtNativeWindow::~QtNativeWindow() { Destroy(); }

Qt::WindowFlags QtNativeWindow::FlagsFor() const {
  if (child_) return Qt::Widget;
  Qt::WindowFlags flags;
  if (style_.popup && style_.disabled) {
    // A label-like window that never takes the focus or the mouse: the
    // pointer goes through it to the window below.
    flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
            Qt::WindowDoesNotAcceptFocus;
  } else {
    // An owned window keeps above its owner and out of the taskbar as a tool
    // window; one with a minimise box stays a normal window, since window
    // managers give tool windows no minimise button.
    const bool tool = style_.toolWindow || (ownerWindow_ != nullptr && !style_.minimizeBox);
    flags = tool ? Qt::Tool : Qt::Window;
    if (style_.popup || !style_.caption) {
      flags |= Qt::FramelessWindowHint;
    } else {
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
      if (style_.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (style_.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    }
  }
  if (topmost_) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

void QtNativeWindow::LinkOwner() {
  // Qt blocks every window of the owner's family while a dialog of the owner
  // runs, so an independent window has no transient parent.
  if (child_ || ownerWindow_ == nullptr || style_.independent) return;
  QtNativeWindow* owner = ui_.NativeOf(ownerWindow_);
  if (owner == nullptr || owner->frameWidget() == nullptr) return;
  // An owner inside another window (the month view in the main frame) lends
  // its top-level window; asking a child for a native handle would make it native.
  QWidget* ownerTop = owner->frameWidget()->window();
  frame_->winId();
  ownerTop->winId();
  if (frame_->windowHandle() != nullptr) {
    frame_->windowHandle()->setTransientParent(ownerTop->windowHandle());
  }
}

void QtNativeWindow::LayoutChildren() {
  if (!frame_) return;
  const int width = frame_->width();
  const int height = frame_->height();
  int top = 0;
  if (menuBar_ != nullptr) {
    int menuHeight = menuBar_->heightForWidth(width);
    if (menuHeight <= 0) menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width, menuHeight);
    top = menuHeight;
  }
  int barWidth = 0;
  if (vscroll_ != nullptr) {
    barWidth = vscroll_->sizeHint().width();
    vscroll_->setGeometry(width - barWidth, top, barWidth, std::max(0, height - top));
  }
  client_->setGeometry(0, top, std::max(0, width - barWidth), std::max(0, height - top));
}

void QtNativeWindow::SetTitle(std::string_view title) {
  if (frame_) frame_->setWindowTitle(ToQString(title));
}

std::string QtNativeWindow::Title() const {
  return frame_ ? ToStdString(frame_->windowTitle()) : std::string();
}

void QtNativeWindow::SetWindowRect(const Rect& outer) {
  if (!frame_) return;
  Place(outer);
  // Placing a window reports a move, as the desktop's window manager does.
  ReportMove();
}

void QtNativeWindow::Place(const Rect& outer) {
  const QMargins margins = FrameMargins();
  // The outer rectangle includes the window manager's frame; the frame's
  // top-left corner goes to the outer rectangle's.
  const QSize inner(std::max(1, outer.Width() - margins.left() - margins.right()),
                    std::max(1, outer.Height() - margins.top() - margins.bottom()));
  placing_ = true;
  if (!child_ && !style_.sizing) frame_->setFixedSize(inner);
  if (child_) {
    frame_->setGeometry(QRect(QPoint(outer.left, outer.top), inner));
  } else {
    frame_->resize(inner);
    frame_->move(outer.left, outer.top);
  }
  placing_ = false;
  LayoutChildren();
}

QMargins QtNativeWindow::FrameMargins() const {
  if (child_) return {};
  const QMargins known = KnownFrameMargins(*frame_);
  // A window that has not been on the screen yet has no known frame: one
  // with a title bar likely gets the frame the others got.
  if (known.isNull() && !FlagsFor().testFlag(Qt::FramelessWindowHint)) return ui_.frameMargins();
  return known;
}

void QtNativeWindow::LearnFrameMargins() {
  if (child_ || !frame_->isVisible() || FlagsFor().testFlag(Qt::FramelessWindowHint)) return;
  const QMargins known = KnownFrameMargins(*frame_);
  if (!known.isNull()) ui_.SetFrameMargins(known);
}

Rect QtNativeWindow::WindowRect() const {
  if (!frame_) return {};
  if (!child_) return ToRect(frame_->frameGeometry());
  const QRect geometry = frame_->geometry();
  const QPoint origin = frame_->parentWidget()->mapToGlobal(geometry.topLeft());
  return Rect::FromSize(origin.x(), origin.y(), geometry.width(), geometry.height());
}

Rect QtNativeWindow::ClientRect() const {
  return frame_ ? Rect{0, 0, client_->width(), client_->height()} : Rect{};
}

void QtNativeWindow::Show(bool visible) {
  if (!frame_) return;
  if (visible) {
    if (frame_->isHidden() && frame_->windowFlags() != FlagsFor()) {
      frame_->setWindowFlags(FlagsFor());
      LinkOwner();
    }
    frame_->show();
    // Showing a top-level window activates it, unless it never takes input.
    if (!child_ && !frame_->testAttribute(Qt::WA_ShowWithoutActivating)) frame_->activateWindow();
    LearnFrameMargins();
    if (!shown_ && !child_) {
      // The desktop reports a new window's position once it exists; we do it
      // when the window first appears, before any move of the user's.
      shown_ = true;
      ReportMove();
    }
    return;
  }
  // The focus leaves a window as it hides, so a focused edit control reports
  // the loss while its window still exists.
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && (focus == frame_ || frame_->isAncestorOf(focus))) {
    WindowRef ref = window_.Ref();
    focus->clearFocus();
    if (ref.get() == nullptr || !frame_) return;
  }
  frame_->hide();
}

bool QtNativeWindow::IsVisible() const { return frame_ && frame_->isVisible(); }

bool QtNativeWindow::IsMinimized() const { return frame_ && !child_ && frame_->isMinimized(); }

void QtNativeWindow::Minimize() {
  if (!frame_ || child_) return;
  minimizing_ = true;
  frame_->setWindowState(frame_->windowState() | Qt::WindowMinimized);
  minimizing_ = false;
}

void QtNativeWindow::Restore() {
  if (!frame_) return;
  if (!child_) frame_->setWindowState(frame_->windowState() & ~Qt::WindowMinimized);
  Show(true);
  if (!child_) Activate();
}

void QtNativeWindow::BringToTop() {
  if (!frame_) return;
  frame_->raise();
  if (!child_ && frame_->isVisible()) frame_->activateWindow();
}

void QtNativeWindow::SetTopmost(bool topmost) {
  if (!frame_ || child_ || topmost_ == topmost) return;
  topmost_ = topmost;
  if (frame_->isVisible() && frame_->windowHandle() != nullptr) {
    // Changing the widget's flags would hide and recreate a shown window.
    frame_->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topmost);
  } else {
    frame_->setWindowFlags(FlagsFor());
    LinkOwner();
  }
}

void QtNativeWindow::Enable(bool enabled) {
  if (frame_) frame_->setEnabled(enabled);
}

bool QtNativeWindow::IsEnabled() const { return frame_ && frame_->isEnabled(); }

void QtNativeWindow::Activate() {
  if (!frame_) return;
  if (child_) {
    client_->setFocus(Qt::OtherFocusReason);
    return;
  }
  frame_->raise();
  frame_->activateWindow();
}

void QtNativeWindow::Invalidate(bool erase) {
  if (!frame_) return;
  dirty_ = true;
  erase_ = erase_ || erase;
  client_->update();
}

void QtNativeWindow::SetMenu(const Menu* menu) {
  if (!frame_) return;
  if (menuBar_ != nullptr) {
    // The old bar may be the one whose command is running.
    menuBar_->hide();
    menuBar_->deleteLater();
    menuBar_ = nullptr;
  }
  if (menu != nullptr) {
    menuBar_ = BuildMenuBar(frame_, *menu, MenuRoutingFor(window_.Ref()));
    menuBar_->show();
  }
  LayoutChildren();
}

void QtNativeWindow::SetIcon(int iconId) {
  if (frame_) frame_->setWindowIcon(ui_.icons().Icon(iconId));
}

void QtNativeWindow::SetScrollRange(int min, int max, int page, int pos, bool /*redraw*/) {
  if (vscroll_ == nullptr) return;
  const QSignalBlocker blocker(vscroll_);
  page = std::max(page, 1);
  // With a page, the thumb's last position is max - page + 1.
  vscroll_->setRange(min, std::max(min, max - page + 1));
  vscroll_->setPageStep(page);
  vscroll_->setSingleStep(1);
  vscroll_->setValue(pos);
}

void QtNativeWindow::SetScrollPos(int pos, bool /*redraw*/) {
  if (vscroll_ == nullptr) return;
  const QSignalBlocker blocker(vscroll_);
  vscroll_->setValue(pos);
}

void QtNativeWindow::ScrollClient(int dy) {
  if (!frame_) return;
  // Child windows move with the content; the handler repaints all of it.
  for (QObject* child : client_->children()) {
    if (child->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(child);
      widget->move(widget->pos() + QPoint(0, dy));
    }
  }
  Invalidate(false);
}

void QtNativeWindow::SetFocus() {
  if (frame_) client_->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<Canvas> QtNativeWindow::ClientCanvas() {
  EnsureBacking();
  return std::make_unique<ImmediateCanvas>(backing_, client_);
}

void QtNativeWindow::Destroy() {
  if (!frame_) return;
  frame_->Attach(nullptr);
  client_->Attach(nullptr);
  frame_->hide();
  // An event of these widgets may be on the stack: Qt deletes them later.
  frame_->deleteLater();
  frame_ = nullptr;
}

}  // namespace vesk
