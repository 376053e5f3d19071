// The one dispatch point of a native window: Qt events of its widgets become
// calls of the Window's handlers. A handler may destroy the window (and this
// native window); after each call the code checks the window's handle before
// it touches anything of its own again.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"

namespace vesk {
namespace {

constexpr int kWheelNotch = 120;

Point ToPoint(const QPointF& p) { return {p.toPoint().x(), p.toPoint().y()}; }

}  // namespace

bool QtWindowWidget::event(QEvent* event) {
  if (native_ != nullptr && native_->Dispatch(*this, *event)) return true;
  return QWidget::event(event);
}

bool QtWindowWidget::eventFilter(QObject* watched, QEvent* event) {
  if (native_ != nullptr && watched->isWidgetType() &&
      native_->Dispatch(*static_cast<QWidget*>(watched), *event)) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void QtNativeWindow::ConnectScrollBar() {
  // The program moves the thumb itself; the bar only reports what the user did.
  vscroll_->setTracking(false);
  vscroll_->setContextMenuPolicy(Qt::NoContextMenu);
  vscroll_->installEventFilter(frame_);
  QtWindowWidget* frame = frame_;
  QObject::connect(vscroll_, &QAbstractSlider::actionTriggered, vscroll_, [frame](int action) {
    if (QtNativeWindow* native = frame->native()) native->DispatchScrollAction(action);
  });
  QObject::connect(vscroll_, &QAbstractSlider::sliderMoved, vscroll_, [frame](int pos) {
    if (QtNativeWindow* native = frame->native()) native->DispatchThumb(kSbThumbTrack, pos);
  });
  QObject::connect(vscroll_, &QAbstractSlider::sliderReleased, vscroll_, [frame] {
    if (QtNativeWindow* native = frame->native()) {
      native->DispatchThumb(kSbThumbPosition, native->vscroll_->sliderPosition());
    }
  });
}

void QtNativeWindow::DispatchScrollAction(int action) {
  int code = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = kSbLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = kSbLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = kSbPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = kSbPageDown;
      break;
    default:
      return;  // thumb moves arrive through sliderMoved and sliderReleased
  }
  // Undo the bar's own step: only the handler's SetScrollPos moves the thumb.
  vscroll_->setSliderPosition(vscroll_->value());
  if (window_.native() == this) window_.OnVScroll(code, vscroll_->value());
}

void QtNativeWindow::DispatchThumb(int code, int pos) {
  if (window_.native() != this) return;
  WindowRef ref = window_.Ref();
  window_.OnVScroll(code, pos);
  if (ref.get() == nullptr || code != kSbThumbPosition) return;
  // A thumb the handler did not place goes back where it was.
  if (vscroll_->sliderPosition() != vscroll_->value())
    vscroll_->setSliderPosition(vscroll_->value());
}

void QtNativeWindow::ReportMove() {
  lastReportedPos_ = frame_->pos();
  if (window_.native() == this) window_.OnMove();
}

QtNativeWindow& QtNativeWindow::KeyTarget() {
  for (Window* w : ui_.Windows()) {
    if (w->parent() != &window_) continue;
    if (QtNativeWindow* child = ui_.NativeOf(w); child != nullptr && child->frameWidget()) {
      return *child;
    }
  }
  return *this;
}

void QtNativeWindow::EnsureBacking() {
  const qreal ratio = client_->devicePixelRatioF();
  const QSize size = QSize(std::max(1, client_->width()), std::max(1, client_->height())) * ratio;
  if (backing_ && backing_->size() == size) return;
  backing_ = std::make_shared<QPixmap>(size);
  backing_->setDevicePixelRatio(ratio);
  backing_->fill(client_->palette().color(QPalette::Base));
  dirty_ = true;
  erase_ = false;
}

void QtNativeWindow::PaintClient() {
  EnsureBacking();
  if (dirty_) {
    dirty_ = false;
    if (erase_) backing_->fill(client_->palette().color(QPalette::Base));
    erase_ = false;
    std::shared_ptr<QPixmap> image = backing_;
    QWidget* client = client_;
    WindowRef ref = window_.Ref();
    {
      QPainter painter(image.get());
      QtCanvas canvas(painter, false, client->font());
      window_.OnPaint(canvas);
    }
    if (ref.get() == nullptr) return;
  }
  QPainter painter(client_);
  painter.drawPixmap(0, 0, *backing_);
}

bool QtNativeWindow::Dispatch(QWidget& source, QEvent& event) {
  // Events before the Window holds this native window (during creation) or
  // after it let go of it go to Qt alone.
  if (window_.native() != this || !frame_) return false;
  if (&source == client_) return DispatchClient(event);
  if (&source == frame_) return DispatchFrame(event);
  if (&source == vscroll_ && event.type() == QEvent::Wheel) {
    DispatchWheel(static_cast<QWheelEvent&>(event));
    event.accept();
    return true;
  }
  return false;
}

bool QtNativeWindow::DispatchClient(QEvent& event) {
  switch (event.type()) {
    case QEvent::Paint:
      PaintClient();
      return true;
    case QEvent::Resize:
      dirty_ = true;
      return false;
    case QEvent::MouseButtonDblClick:
      // Qt sends it in place of a double click's second press: a double
      // click does what its first click did, once.
      return true;
    case QEvent::MouseButtonPress: {
      const auto& mouse = static_cast<QMouseEvent&>(event);
      if (mouse.button() == Qt::LeftButton) window_.OnLButtonDown(ToPoint(mouse.position()));
      if (mouse.button() == Qt::RightButton) window_.OnRButtonDown(ToPoint(mouse.position()));
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto& mouse = static_cast<QMouseEvent&>(event);
      if (mouse.button() == Qt::LeftButton) window_.OnLButtonUp(ToPoint(mouse.position()));
      return true;
    }
    case QEvent::MouseMove:
      window_.OnMouseMove(ToPoint(static_cast<QMouseEvent&>(event).position()));
      return true;
    case QEvent::Leave:
      // A captured mouse keeps reporting: the handler learns that it left.
      if (captured_) window_.OnMouseMove(ToPoint(client_->mapFromGlobal(QCursor::pos())));
      return false;
    case QEvent::Wheel:
      return DispatchWheel(static_cast<QWheelEvent&>(event));
    case QEvent::KeyPress:
      if (const int vk = VirtualKeyOf(static_cast<QKeyEvent&>(event)); vk != 0) {
        window_.OnKeyDown(vk);
      }
      return true;
    default:
      return false;
  }
}

bool QtNativeWindow::DispatchFrame(QEvent& event) {
  switch (event.type()) {
    case QEvent::Resize:
      LayoutChildren();
      LearnFrameMargins();
      return false;
    case QEvent::Move:
      LearnFrameMargins();
      // Placing reports its move itself; this is the user's or the window manager's.
      if (!child_ && !placing_ && frame_->pos() != lastReportedPos_) ReportMove();
      return false;
    case QEvent::Close:
      // The handler decides; the default one destroys the window.
      event.ignore();
      window_.OnClose();
      return true;
    case QEvent::WindowStateChange: {
      const auto& change = static_cast<QWindowStateChangeEvent&>(event);
      // Only the user's minimise asks the handler; Minimize() does not.
      if (minimizing_ || !frame_->isMinimized() || (change.oldState() & Qt::WindowMinimized)) {
        return false;
      }
      WindowRef ref = window_.Ref();
      const bool handled = window_.OnMinimize();
      if (ref.get() != nullptr && handled && frame_) {
        frame_->setWindowState(frame_->windowState() & ~Qt::WindowMinimized);
      }
      return true;
    }
    case QEvent::WindowActivate: {
      // Qt gives the focus back to the widget that had it; a window without
      // one gives it to its client, as a frame gives it to its view.
      const QWidget* last = frame_->focusWidget();
      if (last == nullptr || !last->isVisible()) {
        KeyTarget().clientWidget()->setFocus(Qt::ActiveWindowFocusReason);
      }
      return false;
    }
    case QEvent::KeyPress:
      // No widget of ours has the focus: the keys go where the focus would be.
      if (const int vk = VirtualKeyOf(static_cast<QKeyEvent&>(event)); vk != 0) {
        KeyTarget().window().OnKeyDown(vk);
      }
      return true;
    default:
      return false;
  }
}

bool QtNativeWindow::DispatchWheel(QWheelEvent& event) {
  // The desktop sends the wheel to the focus window: a focused edit control
  // of this window sees it first and leaves it here when it declines (an
  // event sent on does not travel back up by itself).
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && focus != client_ && client_->isAncestorOf(focus)) {
    WindowRef ref = window_.Ref();
    QApplication::sendEvent(focus, &event);
    if (ref.get() == nullptr || event.isAccepted()) {
      event.accept();
      return true;
    }
  }
  wheelRemainder_ += event.angleDelta().y();
  const int notches = wheelRemainder_ / kWheelNotch;
  if (notches == 0) {
    event.accept();
    return true;
  }
  wheelRemainder_ -= notches * kWheelNotch;
  // Unhandled, the wheel goes on to the parent window.
  event.setAccepted(window_.OnMouseWheel(notches * kWheelNotch));
  return true;
}

}  // namespace vesk
