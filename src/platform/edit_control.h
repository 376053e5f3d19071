#pragma once
// The standard one-line edit control: text with a character limit, selection,
// clipboard and undo. Keys and wheel reach OnKeyDown/OnMouseWheel before the
// control's own handling; edits and focus loss are sent to the parent as
// kEnChange / kEnKillFocus through OnControlNotify. As on the desktop, SetText
// raises kEnChange on a single-line control and not on a multi-line one; cut,
// paste, undo and typing raise it on both. Positions and the limit count
// characters (UTF-8 code points).
#include <string>

#include "platform/window.h"

namespace vesk {

struct EditOptions {
  bool multiline = false;    // wraps inside the control (day planner)
  bool autoHScroll = false;  // scrolls as the text grows (to-do list)
  int limit = 0;             // characters; 0 = the control's default
};

class NativeEdit : public NativeWindow {
 public:
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetLimit(int characters) = 0;
  virtual void GetSel(int& start, int& end) const = 0;
  // end -1 selects to the end of the text.
  virtual void SetSel(int start, int end) = 0;
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void Undo() = 0;
  virtual bool CanUndo() const = 0;
  virtual void ScrollCaret() = 0;
  virtual void SetFont(const Font* font) = 0;
};

class EditControl : public Window {
 public:
  using Window::Window;

  // Creates the control as a hidden child of parent with the given id.
  bool CreateEdit(Window& parent, int id, const Rect& rect, const EditOptions& options);

  void SetText(std::string_view text);
  std::string Text() const;
  void GetSel(int& start, int& end) const;
  void SetSel(int start, int end);
  void Cut();
  void Copy();
  void Paste();
  void Undo();
  bool CanUndo() const;
  void ScrollCaret();
  void SetFont(const Font* font);
  void SetFocus();
  void Place(const Rect& rect);
  void ShowOnTop();

  // Backends report an edit (kEnChange) or focus loss (kEnKillFocus) to the parent.
  void NotifyParent(int code);

 private:
  NativeEdit* edit() const;
};

}  // namespace vesk
