#include "platform/edit_control.h"

#include "platform/ui.h"

namespace vesk {

bool EditControl::CreateEdit(Window& parent, int id, const Rect& rect, const EditOptions& options) {
  SetControlId(id);
  return CreateWith(nullptr, &parent, [&]() -> std::unique_ptr<NativeWindow> {
    return ui().CreateNativeEdit(*this, parent, rect, options);
  });
}

NativeEdit* EditControl::edit() const { return static_cast<NativeEdit*>(native()); }

void EditControl::SetText(std::string_view text) {
  if (NativeEdit* e = edit()) e->SetText(text);
}

std::string EditControl::Text() const {
  const NativeEdit* e = edit();
  return e != nullptr ? e->Text() : std::string();
}

void EditControl::GetSel(int& start, int& end) const {
  start = end = 0;
  if (const NativeEdit* e = edit()) e->GetSel(start, end);
}

void EditControl::SetSel(int start, int end) {
  if (NativeEdit* e = edit()) e->SetSel(start, end);
}

void EditControl::Cut() {
  if (NativeEdit* e = edit()) e->Cut();
}

void EditControl::Copy() {
  if (NativeEdit* e = edit()) e->Copy();
}

void EditControl::Paste() {
  if (NativeEdit* e = edit()) e->Paste();
}

void EditControl::Undo() {
  if (NativeEdit* e = edit()) e->Undo();
}

bool EditControl::CanUndo() const {
  const NativeEdit* e = edit();
  return e != nullptr && e->CanUndo();
}

void EditControl::ScrollCaret() {
  if (NativeEdit* e = edit()) e->ScrollCaret();
}

void EditControl::SetFont(const Font* font) {
  if (NativeEdit* e = edit()) e->SetFont(font);
}

void EditControl::SetFocus() {
  if (NativeEdit* e = edit()) e->SetFocus();
}

void EditControl::Place(const Rect& rect) {
  if (NativeEdit* e = edit()) e->SetWindowRect(rect);
}

void EditControl::ShowOnTop() {
  if (NativeEdit* e = edit()) {
    e->BringToTop();
    e->Show(true);
  }
}

void EditControl::NotifyParent(int code) {
  if (parent() != nullptr) parent()->OnControlNotify(controlId(), code);
}

}  // namespace vesk
