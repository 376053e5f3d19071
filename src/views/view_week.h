#pragma once
// The week view: one, two or four weeks of entries, day by day, a heading
// line per day and a line per entry. At most one is open (ctx.weekWindows);
// a left click on a day's block opens that day's planner, and it prints
// through the month view's print job.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"
#include "platform/window.h"
#include "views/printable.h"
#include "views/week_layout.h"

namespace vesk {

struct AppContext;
struct ColorSet;
class CPlannerEntry;

inline constexpr std::string_view kWeekPositionSection = "weekposition";
inline constexpr std::string_view kWeekFontName = "font2";
inline constexpr std::string_view kUnderConstructionMessage =
    "Please note that this feature is still under construction.";

// The main frame's OpenWeekWindow for either slot: nothing for a day above 31;
// otherwise the click sound, then the open week view moved to the date,
// activated and restored, or a new one opened on it.
void OpenWeekWindow(AppContext& ctx, int slot, int year, int month, int day);

class ViewWeek : public Window, public Printable {
 public:
  explicit ViewWeek(AppContext& ctx);
  ~ViewWeek() override;

  std::string_view RuntimeClass() const override { return "ViewWeek"; }

  // Opens the week holding the date: loads the week font ("font2", else a
  // copy of the main font), measures, creates, places and shows the window.
  // False for an impossible date or when the window could not be made.
  bool CreateWeek(int year, int month, int day);
  // Shows the week holding the date, keeping the days shown; impossible dates
  // are ignored.
  void MoveToDate(int year, int month, int day);
  // Seven days back (-1) or forward (+1), within the years the calendar holds.
  void StepWeek(int direction);
  // 7, 14 or 28 days from the same start.
  void SetDaysShown(int days);
  // The scroll bar's codes and the page keys.
  void ScrollLines(int code, int pos = 0);

  // --- Commands (week_commands.cpp) ---
  void SelectFontCommand();
  void PrintCommand();

  // --- Drawing (week_drawing.cpp) ---
  int PrintPageCount() override;
  void PrintPage(Canvas& printer, int page) override;

  // --- Handlers ---
  void OnPaint(Canvas& canvas) override;
  void OnLButtonDown(Point p) override;
  void OnVScroll(int code, int pos) override;
  bool OnMouseWheel(int delta) override;
  bool OnKeyDown(int vk) override;
  void OnMove() override;
  void OnDestroy() override;
  bool OnCommand(int id) override;
  void OnUpdateCommand(int id, CommandState& state) override;

  CivilDate start() const { return start_; }
  int daysShown() const { return daysShown_; }
  int firstLine() const { return firstLine_; }
  int lineCount() const { return lineCount_; }
  const std::string& title() const { return title_; }
  const WeekMetrics& metrics() const { return metrics_; }
  // Below each day's block at the last screen drawing.
  const std::array<int, kMaxDaysShown>& dayBottoms() const { return dayBottoms_; }
  const Font* font() const { return font_.get(); }

 private:
  const ColorSet& Colors() const;
  // The week font, or the main font while there is none.
  const Font* DrawingFont() const;
  void Measure();
  void ApplyOuterSize(Point at);
  void SetStart(CivilDate start);
  void ResetScroll();
  // Entries shown per day, in the order of the days.
  std::array<int, kMaxDaysShown> DayEntryCounts() const;
  // Draws one day's heading and its entries from first on; returns the y below.
  int DrawDayBlock(Canvas& canvas, CivilDate date, int first, int count, bool continued, int y,
                   const WeekMetrics& m, bool colors);

  AppContext& ctx_;
  CivilDate start_;
  int daysShown_ = 7;
  int firstLine_ = 1;
  int lineCount_ = kWeekLineCount;
  std::array<int, kMaxDaysShown> dayBottoms_{};
  std::unique_ptr<Font> font_;
  WeekMetrics metrics_;
  std::string title_;
  bool menuAttached_ = false;
  bool placing_ = false;  // creation and placement move the window
};

}  // namespace vesk
