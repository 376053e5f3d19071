#pragma once
// The day planner: one date's appointments, eleven hours at a time as
// twenty-two half-hour lines. One line carries the entry edit control; a line
// is stored when it is left (a click elsewhere, a movement key, the wheel,
// scrolling, another date or font, Clear Day, closing).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "planner/day_planner_layout.h"
#include "platform/font.h"
#include "platform/window.h"
#include "store/entry_list.h"
#include "views/printable.h"

namespace vesk {

struct AppContext;
struct ColorSet;
class CEntryEdit;
class CPlannerEntry;
class CRepeatDlg;

inline constexpr std::string_view kDayPositionSection = "dayposition";
inline constexpr std::string_view kPlannerFontName = "font2";
inline constexpr std::string_view kSelectEntryMessage =
    "Please first select a non-empty day planner entry.";
inline constexpr std::string_view kSmallerFontMessage =
    "Please select a smaller font - this will allow the day planner to fit on your screen.";
inline constexpr std::string_view kPrintedByline = "                     by Vesk Calendar";

class AppointBook2 : public Window, public Printable {
 public:
  // The window is not created yet; OpenDayPlanner creates it.
  explicit AppointBook2(AppContext& ctx);
  ~AppointBook2() override;

  std::string_view RuntimeClass() const override { return "AppointBook2"; }

  // Builds the font (the stored planner font, else a copy of the fallback),
  // measures, creates, places and shows the window. False when the window
  // could not be made.
  bool CreatePlanner(int year, int month, int day, const Font* fallbackFont);

  // --- Lines (day_planner_lines.cpp) ---
  // Moves the edit control to a line, committing the line it leaves.
  void OpenLineEditor(int row, bool onHour);
  // Stores the selected line's text: a new entry, a changed text, or a
  // deletion when the text was cleared.
  void CommitLine();
  void NextLine();
  void PreviousLine();
  // The scroll bar's codes (kSbLineUp ...) and the page keys.
  void ScrollHours(int code, int pos = 0);

  // --- Commands (day_planner_commands.cpp) ---
  // The date one day back or forward, or the planner already open on it.
  void StepDay(bool forward);
  void RepeatsCommand();
  void ReminderCommand();
  void ClearDayCommand();
  void SelectFontCommand();
  void PrintCommand();

  // --- Drawing (day_planner_drawing.cpp) ---
  // Measures the lines in the font (none: the canvas's own font).
  void LayoutLines(Canvas& canvas, const Font* font);
  void DrawPlanner(Canvas& canvas, const Font* font);
  void PrintPage(Canvas& printer, int page) override;

  // --- Handlers ---
  void OnPaint(Canvas& canvas) override;
  void OnLButtonDown(Point p) override;
  void OnVScroll(int code, int pos) override;
  bool OnKeyDown(int vk) override;
  void OnMove() override;
  void OnDestroy() override;
  void OnControlNotify(int controlId, int code) override;
  bool OnCommand(int id) override;
  void OnUpdateCommand(int id, CommandState& state) override;

  // The date shown.
  int year = 0, month = 0, day = 0;

  int selRow() const { return selRow_; }
  bool selOnHour() const { return selOnHour_; }
  int firstHour() const { return firstHour_; }
  const std::string& editText() const { return editText_; }
  CEntryEdit* editor() const { return editor_.get(); }
  // The entry linked to the editor, or none; an entry removed meanwhile (by
  // another window's deletion of a series) reads as none.
  CPlannerEntry* EditorEntry() const;
  const Font* font() const { return font_.get(); }
  const PlannerMetrics& metrics() const { return metrics_; }
  const std::string& title() const { return title_; }
  bool menuAttached() const { return menuAttached_; }

 private:
  // A text of spaces only counts as empty.
  static bool IsBlank(std::string_view text);
  // day_planner.cpp
  void SetDate(int y, int m, int d);
  int BorderHeight() const;
  Size OuterSize() const;
  void ApplyOuterSize(Point at);
  const ColorSet& Colors() const;
  // day_planner_lines.cpp
  void LinkEntry(CPlannerEntry* entry);
  void DestroyEditor();
  void FocusEditor();
  // The ditto rule for a new entry typed as a lone quote character.
  void ContinuePrevious(CPlannerEntry& entry);
  void EntriesChanged();
  // day_planner_drawing.cpp
  void DrawRow(Canvas& canvas, int row, int hour, bool colors);
  void DrawEntry(Canvas& canvas, const CPlannerEntry& e, Point plus, Point text, bool colors);
  // day_planner_commands.cpp
  bool StartEntryCommand();
  void AfterModal();

  AppContext& ctx_;
  int selRow_ = -1;
  bool selOnHour_ = true;
  std::unique_ptr<CRepeatDlg> repeatDlg_;
  std::string editText_;
  std::unique_ptr<Font> font_;
  PlannerMetrics metrics_;
  std::unique_ptr<CEntryEdit> editor_;
  std::uint64_t linkedSerial_ = 0;
  std::optional<CEntryList::MonthHold> monthHold_;
  int moveSkip_ = 2;
  std::string title_;
  bool menuAttached_ = false;
  int firstHour_ = kDefaultFirstHour;
  int rowsTop_ = 0;  // top of row 0 in the drawing under way
  bool destroyingEditor_ = false;
  bool editorPending_ = false;  // a repaint asked for the top line's editor
};

}  // namespace vesk
