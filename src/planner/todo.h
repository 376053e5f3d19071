#pragma once
// The to-do list window: twenty one-line notes, each stored as soon as the
// user leaves it. One line at a time carries the shared entry edit control.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "planner/todo_layout.h"
#include "platform/window.h"
#include "views/printable.h"

namespace vesk {

struct AppContext;
class CEntryEdit;
class Font;

class ToDo : public Window, public Printable {
 public:
  // Registers itself as ctx.todo and reads the twenty stored lines.
  explicit ToDo(AppContext& ctx);
  ~ToDo() override;

  std::string_view RuntimeClass() const override { return "ToDo"; }

  // Creates, places and shows the window with the editor on line 0; false when
  // the window could not be created (the month view must exist).
  bool CreateToDo();

  // Called by the edit control: Tab, Enter and Down; Up.
  void NextLine();
  void PreviousLine();

  // Stores the text being edited under the line it was opened on.
  void SaveCurrentItem();

  // The line's text as last stored or left.
  const std::string& LineText(int n) const { return lines_.at(n); }
  int current() const { return current_; }
  CEntryEdit* editor() const { return editor_; }
  const std::string& editText() const { return editText_; }
  // The screen geometry of the last layout.
  const ToDoGeometry& geometry() const { return geometry_; }
  const Font* font() const { return font_; }

  // Draws the list on the screen (with font) or on a printer page (font none).
  void DrawToDo(Canvas& canvas, const Font* font);

  void PrintPage(Canvas& printer, int page) override;

  void OnPaint(Canvas& canvas) override;
  void OnLButtonDown(Point p) override;
  bool OnKeyDown(int vk) override;
  void OnMove() override;
  void OnControlNotify(int controlId, int code) override;
  bool OnCommand(int id) override;
  void OnUpdateCommand(int id, CommandState& state) override;
  void OnDestroy() override;

 private:
  // Measures the lines in font (the printer's default font on a printer).
  ToDoGeometry LayoutToDo(Canvas& canvas) const;
  void OpenItemEditor(int n);
  void DestroyEditor();
  // Leaves the current line for line n: stores it, then opens n.
  void MoveTo(int n);
  int BorderHeight() const;
  void ShowQuickHints();

  AppContext& ctx_;
  std::array<std::string, kToDoLineCount> lines_;
  std::string editText_;
  const Font* font_ = nullptr;
  std::unique_ptr<Font> ownFont_;  // the day planner font, else a copy of the main font
  ToDoGeometry geometry_;
  CEntryEdit* editor_ = nullptr;   // adopted by the Ui; released once destroyed
  int editorLine_ = -1;            // the line whose text the editor holds
  bool editorSaved_ = false;       // editorLine_ was stored since the editor opened
  bool menuAttached_ = false;
  int current_ = -1;
  bool placing_ = false;  // moves during creation and placement are not the user's
};

}  // namespace vesk
