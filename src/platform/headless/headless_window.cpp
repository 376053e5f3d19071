#include "platform/headless/headless_window.h"

#include <algorithm>

#include "platform/headless/headless_ui.h"
#include "platform/utf8.h"

namespace vesk {

Point ClientOffsetOf(const WindowRecord& record) {
  if (record.child || record.style.popup) return {0, 0};
  const int top = record.style.caption ? kHeadlessCaption : kHeadlessBorder;
  return {kHeadlessBorder, top + (record.menu != nullptr ? kHeadlessMenuBar : 0)};
}

Rect ClientRectOf(const WindowRecord& record) {
  const Point offset = ClientOffsetOf(record);
  const bool framed = !record.child && !record.style.popup;
  int width = record.rect.Width() - offset.x - (framed ? kHeadlessBorder : 0);
  int height = record.rect.Height() - offset.y - (framed ? kHeadlessBorder : 0);
  if (record.style.vscroll) width -= kHeadlessScrollBar;
  return {0, 0, std::max(width, 0), std::max(height, 0)};
}

template <typename Base>
Rect HeadlessWindowOf<Base>::WindowRect() const {
  if (!record.child || window_.parent() == nullptr) return record.rect;
  // A child's rectangle is kept in its parent's client coordinates; asked for, it is on the screen.
  const Point origin = ui_.ClientOrigin(*window_.parent());
  return {record.rect.left + origin.x, record.rect.top + origin.y, record.rect.right + origin.x,
          record.rect.bottom + origin.y};
}

template <typename Base>
void HeadlessWindowOf<Base>::Show(bool visible) {
  record.visible = visible;
  ui_.Shown(window_, visible);
}

template <typename Base>
void HeadlessWindowOf<Base>::Minimize() {
  if (record.child) return;
  record.minimized = true;
  ui_.DeactivateFrom(window_);
}

template <typename Base>
void HeadlessWindowOf<Base>::Restore() {
  record.minimized = false;
  record.visible = true;
  ui_.Shown(window_, true);
}

template <typename Base>
void HeadlessWindowOf<Base>::BringToTop() {
  record.zOrder = ui_.NextZ();
}

template <typename Base>
void HeadlessWindowOf<Base>::Activate() {
  ui_.ActivateTop(HeadlessUi::Root(window_));
}

template <typename Base>
void HeadlessWindowOf<Base>::Invalidate(bool erase) {
  ++record.invalidations;
  record.needsPaint = true;
  record.erase = record.erase || erase;
}

template <typename Base>
void HeadlessWindowOf<Base>::SetCapture() {
  ui_.SetCaptureTo(&window_);
}

template <typename Base>
void HeadlessWindowOf<Base>::ReleaseCapture() {
  if (ui_.Capture() == &window_) ui_.SetCaptureTo(nullptr);
}

// The position stays where the thumb can be: min .. max - (page - 1).
template <typename Base>
void HeadlessWindowOf<Base>::SetScrollRange(int min, int max, int page, int pos, bool /*redraw*/) {
  record.scrollMin = min;
  record.scrollMax = max;
  record.scrollPage = std::max(page, 0);
  SetScrollPos(pos, false);
}

template <typename Base>
void HeadlessWindowOf<Base>::SetScrollPos(int pos, bool /*redraw*/) {
  const int top = std::max(record.scrollMin, record.scrollMax - std::max(record.scrollPage - 1, 0));
  record.scrollPos = std::clamp(pos, record.scrollMin, top);
}

template <typename Base>
void HeadlessWindowOf<Base>::ScrollClient(int dy) {
  record.scrolls.push_back(dy);
  ++record.invalidations;
  record.needsPaint = true;
}

template <typename Base>
void HeadlessWindowOf<Base>::SetFocus() {
  ui_.SetFocusTo(&window_);
}

template <typename Base>
std::unique_ptr<Canvas> HeadlessWindowOf<Base>::ClientCanvas() {
  return std::make_unique<RecordingCanvas>(false, ui_.screenColors(), &record.immediate);
}

template class HeadlessWindowOf<NativeWindow>;
template class HeadlessWindowOf<NativeEdit>;

HeadlessEdit::HeadlessEdit(HeadlessUi& ui, EditControl& edit, const EditOptions& options)
    : HeadlessWindowOf<NativeEdit>(ui, edit),
      edit_(edit),
      options_(options),
      model_(options.multiline) {
  model_.SetLimit(options.limit);
}

void HeadlessEdit::Changed(bool changed) {
  if (changed) edit_.NotifyParent(kEnChange);
}

void HeadlessEdit::SetText(std::string_view text) {
  model_.SetText(text);
  // The desktop's single-line control reports a text set by the program; the
  // multi-line one does not.
  Changed(!model_.multiline());
}

void HeadlessEdit::Cut() { Changed(model_.Cut(ui_.clipboard_)); }

void HeadlessEdit::Copy() { model_.Copy(ui_.clipboard_); }

void HeadlessEdit::Paste() { Changed(model_.Paste(ui_.clipboard_)); }

void HeadlessEdit::Undo() { Changed(model_.Undo()); }

void HeadlessEdit::DefaultKey(int vk) { Changed(model_.Key(vk)); }

bool HeadlessEdit::TypeCharacter(std::string_view character) {
  const bool accepted = model_.TypeText(character);
  Changed(accepted);
  return accepted;
}

void HeadlessEdit::PressAt(Point p) {
  const FontMetrics metrics = font_ != nullptr ? MetricsOf(font_->record()) : kScreenDefaultFont;
  const std::string_view text = model_.text();
  const int chars = static_cast<int>(Utf8Length(text.substr(0, text.find_first_of("\r\n"))));
  const int at = std::clamp((p.x + metrics.charWidth / 2) / metrics.charWidth, 0, chars);
  model_.SetSel(at, at);
}

}  // namespace vesk
