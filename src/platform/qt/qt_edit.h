#pragma once
// The edit control over a Qt widget: a single-line control is a QLineEdit,
// which scrolls sideways as the text grows; a multi-line one is a
// QPlainTextEdit that wraps the text inside the control and never scrolls,
// so a control one line high shows the text's first line. Keys and the wheel
// reach the EditControl's handlers before the widget sees them; changes and
// focus loss go to the parent window as kEnChange and kEnKillFocus.
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWheelEvent>
#include <functional>

#include "platform/edit_control.h"
#include "platform/qt/qt_keys.h"

namespace vesk {

class QtEdit;

// The widget calls back into its QtEdit while that lives; a handler may
// destroy the edit control (and so the QtEdit) while one of its events runs,
// so the widget is deleted later by Qt.
template <class Widget>
class QtEditWidget : public Widget {
 public:
  explicit QtEditWidget(QWidget* parent) : Widget(parent) {}
  void Attach(QtEdit* edit) { edit_ = edit; }
  QtEdit* edit() const { return edit_; }

 protected:
  bool event(QEvent* event) override;
  // The wheel turned by whole notches goes to the control; true when handled here.
  bool WheelEvent(QWheelEvent& wheel);

 private:
  QtEdit* edit_ = nullptr;
  int wheelRemainder_ = 0;
};

using QtLineEdit = QtEditWidget<QLineEdit>;

class QtWrapEdit : public QtEditWidget<QPlainTextEdit> {
 public:
  explicit QtWrapEdit(QWidget* parent);

 protected:
  // The wheel over the text arrives at the viewport, not at the widget.
  bool viewportEvent(QEvent* event) override;
};

class QtEdit : public NativeEdit {
 public:
  // uncovered runs when the visible control hides or goes, so that the parent
  // redraws the area it covered (the parent paints from a retained image).
  QtEdit(EditControl& control, QWidget& parentClient, const Rect& rect, const EditOptions& options,
         std::function<void()> uncovered);
  ~QtEdit() override;

  // NativeWindow: a child control in its parent's client area.
  void SetTitle(std::string_view title) override { SetText(title); }
  std::string Title() const override { return Text(); }
  void SetWindowRect(const Rect& rect) override;
  Rect WindowRect() const override;
  Rect ClientRect() const override;
  void Show(bool visible) override;
  bool IsVisible() const override;
  bool IsMinimized() const override { return false; }
  void Restore() override { Show(true); }
  void BringToTop() override;
  void SetTopmost(bool /*topmost*/) override {}
  void Enable(bool enabled) override;
  bool IsEnabled() const override;
  void Activate() override { SetFocus(); }
  void Invalidate(bool erase) override;
  void SetMenu(const Menu* /*menu*/) override {}
  void SetIcon(int /*iconId*/) override {}
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void SetScrollRange(int, int, int, int, bool) override {}
  void SetScrollPos(int, bool) override {}
  void ScrollClient(int /*dy*/) override {}
  void SetFocus() override;
  std::unique_ptr<Canvas> ClientCanvas() override;
  void Destroy() override;

  // NativeEdit.
  void SetText(std::string_view text) override;
  std::string Text() const override;
  void SetLimit(int characters) override;
  void GetSel(int& start, int& end) const override;
  void SetSel(int start, int end) override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Undo() override;
  bool CanUndo() const override;
  void ScrollCaret() override;
  void SetFont(const Font* font) override;

  // From the widget; each returns at once when a handler destroyed the control.
  bool KeyDown(int vk);
  bool Wheel(int delta);
  void FocusLost();
  void TextChanged();

  // The Qt widget: a QLineEdit, or a QPlainTextEdit for a multi-line control.
  QWidget* widget() const;

 private:
  bool Attached() const { return control_.native() == this; }
  // A multi-line control's edit went past the limit: the characters over it
  // are taken back off the end of what was inserted.
  void EnforceLimit();

  std::function<void()> uncovered_;
  EditControl& control_;
  EditOptions options_;
  QPointer<QtLineEdit> line_;  // single-line
  QPointer<QtWrapEdit> wrap_;  // multi-line
  int limit_ = 0;
  int insertedEnd_ = 0;    // where the multi-line control's last insertion ends (UTF-16)
  int inserted_ = 0;       // its length
  bool trimming_ = false;  // the limit is taking characters back
  QString lastText_;       // the multi-line text as last reported
};

template <class Widget>
bool QtEditWidget<Widget>::event(QEvent* event) {
  if (edit_ == nullptr) return Widget::event(event);
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int vk = VirtualKeyOf(static_cast<QKeyEvent&>(*event));
      if (vk != 0 && edit_->KeyDown(vk)) return true;
      // Tab moves nothing and inserts nothing in the control.
      if (edit_ == nullptr || vk == kVkTab) return true;
      break;
    }
    case QEvent::Wheel:
      return WheelEvent(static_cast<QWheelEvent&>(*event));
    case QEvent::FocusOut: {
      const bool result = Widget::event(event);
      // A menu opening takes the focus for a moment only.
      if (edit_ != nullptr && static_cast<QFocusEvent&>(*event).reason() != Qt::PopupFocusReason) {
        edit_->FocusLost();
      }
      return result;
    }
    default:
      break;
  }
  return Widget::event(event);
}

template <class Widget>
bool QtEditWidget<Widget>::WheelEvent(QWheelEvent& wheel) {
  constexpr int kWheelNotch = 120;
  wheelRemainder_ += wheel.angleDelta().y();
  const int notches = wheelRemainder_ / kWheelNotch;
  if (notches == 0) return true;
  wheelRemainder_ -= notches * kWheelNotch;
  // Declined, it goes on to the parent window.
  wheel.setAccepted(edit_->Wheel(notches * kWheelNotch));
  return true;
}

}  // namespace vesk
