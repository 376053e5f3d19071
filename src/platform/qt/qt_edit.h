#pragma once
// The one-line edit control over a QLineEdit. Keys and the wheel reach the
// EditControl's handlers before the line edit sees them; changes and focus
// loss go to the parent window as kEnChange and kEnKillFocus.
#include <QLineEdit>
#include <QPointer>
#include <functional>

#include "platform/edit_control.h"

namespace vesk {

class QtEdit;

// The line edit calls back into its QtEdit while that lives; a handler may
// destroy the edit control (and so the QtEdit) while one of its events runs,
// so the widget is deleted later by Qt.
class QtLineEdit : public QLineEdit {
 public:
  explicit QtLineEdit(QWidget* parent) : QLineEdit(parent) {}
  void Attach(QtEdit* edit) { edit_ = edit; }
  QtEdit* edit() const { return edit_; }

 protected:
  bool event(QEvent* event) override;

 private:
  QtEdit* edit_ = nullptr;
  int wheelRemainder_ = 0;
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

  // From the line edit; each returns at once when a handler destroyed the control.
  bool KeyDown(int vk);
  bool Wheel(int delta);
  void FocusLost();
  void TextChanged();

  QLineEdit* lineEdit() const { return line_; }

 private:
  std::function<void()> uncovered_;
  bool Attached() const { return control_.native() == this; }

  EditControl& control_;
  EditOptions options_;
  QPointer<QtLineEdit> line_;
};

}  // namespace vesk
