#pragma once
// The year view: the twelve months of one year as small calendars, dates
// with entries marked and today framed. At most one is open (ctx.yearWindow).
// A left click opens a date's planner, a right click its week, hovering a
// date with entries shows the day popup; it prints on one page.
#include <optional>
#include <string_view>

#include "platform/window.h"
#include "views/printable.h"
#include "views/year_layout.h"

namespace vesk {

struct AppContext;
struct ColorSet;

inline constexpr std::string_view kYearPositionSection = "yearposition";
inline constexpr std::string_view kYearFitMessage =
    "Select File - Setup and choose a smaller font (this will allow the Year view to fit on your "
    "screen).";

// The main frame's Year command without its click: the open year view
// activated and restored as it is, or a new one on the current year.
void OpenYearWindow(AppContext& ctx);

class ViewYear : public Window, public Printable {
 public:
  explicit ViewYear(AppContext& ctx);
  ~ViewYear() override;

  std::string_view RuntimeClass() const override { return "ViewYear"; }

  // Measures the cells in the main font, creates and places the window (a
  // warning first when it will not fit on the screen). False when the window
  // could not be made.
  bool CreateYear(int year);
  // One year forward (+1) or back (-1) within 1970..2036.
  void StepYear(int direction);

  // --- Drawing (year_drawing.cpp) ---
  void PrintPage(Canvas& printer, int page) override;

  // --- Handlers ---
  void OnPaint(Canvas& canvas) override;
  void OnLButtonDown(Point p) override;
  void OnRButtonDown(Point p) override;
  void OnMouseMove(Point p) override;
  bool OnKeyDown(int vk) override;
  void OnMove() override;
  void OnDestroy() override;
  bool OnCommand(int id) override;

  int displayedYear() const { return year_; }
  Size cell() const { return cell_; }
  // The dates' cells as the window shows them.
  YearLayout layout() const;
  const std::optional<YearDate>& hovered() const { return hovered_; }

 private:
  const ColorSet& Colors() const;
  bool IsActive() const;
  // Closes the day popup, forgets the hovered date (the month view's too)
  // and lets the mouse go.
  void EndHover();
  void DrawYear(Canvas& canvas);
  void DrawMonthBlock(Canvas& canvas, const YearLayout& layout, int month, bool paper, bool colors);

  AppContext& ctx_;
  int year_ = 0;
  Size cell_;  // measured in the main font at opening and at every paint
  std::optional<YearDate> hovered_;
  bool menuAttached_ = false;
  bool placing_ = false;  // creation and placement move the window
};

}  // namespace vesk
