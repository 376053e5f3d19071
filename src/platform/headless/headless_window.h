#pragma once
// The native windows of the headless twin: plain records that tests read
// through HeadlessUi::Record.
#include <string>
#include <vector>

#include "platform/edit_control.h"
#include "platform/headless/edit_model.h"
#include "platform/headless/recording_canvas.h"
#include "platform/window.h"

namespace vesk {

class HeadlessUi;

// The frame around a top-level window's client area, fixed so that client
// rectangles are predictable: a border on the left, right and bottom, a
// caption on top (a one-pixel border when there is no caption), a menu bar
// below the caption when a menu is set, a scroll bar on the right when the
// style asks for one. Pop-up windows have no frame; child windows have only
// their scroll bar.
inline constexpr int kHeadlessBorder = 1;
inline constexpr int kHeadlessCaption = 20;
inline constexpr int kHeadlessMenuBar = 20;
inline constexpr int kHeadlessScrollBar = 16;

struct WindowRecord {
  std::string title;
  WindowStyle style;
  bool child = false;  // placed in its parent's client area
  Rect rect;           // outer rectangle (screen), or the child's rectangle in the parent
  bool visible = false;
  bool minimized = false;
  bool enabled = true;
  bool topmost = false;
  const Menu* menu = nullptr;
  int icon = 0;
  int scrollMin = 0, scrollMax = 0, scrollPage = 0, scrollPos = 0;
  int invalidations = 0;            // every Invalidate and ScrollClient
  bool needsPaint = false;          // invalidated since the last paint
  bool erase = false;               // a pending invalidation asked to erase the background
  std::vector<int> scrolls;         // ScrollClient amounts, in order
  std::vector<CanvasOp> immediate;  // drawing done through ClientCanvas
  int zOrder = 0;                   // higher is nearer the top
  WindowRef lastFocus;              // top-level: where the focus returns on activation
};

// Left and top of the client area within the outer rectangle.
Point ClientOffsetOf(const WindowRecord& record);
// The client rectangle, origin 0,0.
Rect ClientRectOf(const WindowRecord& record);

class HeadlessNative {
 public:
  HeadlessNative(HeadlessUi& ui, Window& window) : ui_(ui), window_(window) {}
  virtual ~HeadlessNative() = default;
  Window& window() const { return window_; }

  WindowRecord record;

 protected:
  HeadlessUi& ui_;
  Window& window_;
};

// The NativeWindow behaviour shared by plain windows and edit controls.
template <typename Base>
class HeadlessWindowOf : public Base, public HeadlessNative {
 public:
  using HeadlessNative::HeadlessNative;

  void SetTitle(std::string_view title) override { record.title = title; }
  std::string Title() const override { return record.title; }
  void SetWindowRect(const Rect& outer) override { record.rect = outer; }
  Rect WindowRect() const override;
  Rect ClientRect() const override { return ClientRectOf(record); }
  void Show(bool visible) override;
  bool IsVisible() const override { return record.visible; }
  bool IsMinimized() const override { return record.minimized; }
  void Minimize() override;
  void Restore() override;
  void BringToTop() override;
  void SetTopmost(bool topmost) override { record.topmost = topmost; }
  void Enable(bool enabled) override { record.enabled = enabled; }
  bool IsEnabled() const override { return record.enabled; }
  void Activate() override;
  void Invalidate(bool erase) override;
  void SetMenu(const Menu* menu) override { record.menu = menu; }
  void SetIcon(int iconId) override { record.icon = iconId; }
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetScrollRange(int min, int max, int page, int pos, bool redraw) override;
  void SetScrollPos(int pos, bool redraw) override;
  void ScrollClient(int dy) override;
  void SetFocus() override;
  std::unique_ptr<Canvas> ClientCanvas() override;
  // Nothing to tear down: the record goes with the object, and the Ui's
  // handles on the window (focus, capture, activation) die when it unregisters.
  void Destroy() override {}
};

using HeadlessWindow = HeadlessWindowOf<NativeWindow>;
extern template class HeadlessWindowOf<NativeWindow>;
extern template class HeadlessWindowOf<NativeEdit>;

class HeadlessEdit : public HeadlessWindowOf<NativeEdit> {
 public:
  HeadlessEdit(HeadlessUi& ui, EditControl& edit, const EditOptions& options);

  EditModel& model() { return model_; }
  const EditModel& model() const { return model_; }
  const EditOptions& options() const { return options_; }
  const Font* font() const { return font_; }
  int scrollCaretCount() const { return scrollCarets_; }

  void SetText(std::string_view text) override;
  std::string Text() const override { return model_.text(); }
  void SetLimit(int characters) override { model_.SetLimit(characters); }
  void GetSel(int& start, int& end) const override { model_.GetSel(start, end); }
  void SetSel(int start, int end) override { model_.SetSel(start, end); }
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Undo() override;
  bool CanUndo() const override { return model_.CanUndo(); }
  void ScrollCaret() override { ++scrollCarets_; }
  void SetFont(const Font* font) override { font_ = font; }

  // The user's input that reached the control's own handling.
  void DefaultKey(int vk);
  // One character typed; false when the limit refused it.
  bool TypeCharacter(std::string_view character);
  // A press at p puts the caret before the nearest character of the first line.
  void PressAt(Point p);

 private:
  void Changed(bool changed);

  EditControl& edit_;
  EditOptions options_;
  EditModel model_;
  const Font* font_ = nullptr;
  int scrollCarets_ = 0;
};

}  // namespace vesk
