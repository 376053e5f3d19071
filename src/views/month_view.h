#pragma once
// The month calendar: the main frame's only client, a child window filling its
// client area. It also owns what every calendar window shares: the colour set,
// the main font and its derived fonts, the day popup and the print job.
#include <array>
#include <memory>
#include <optional>

#include "platform/window.h"
#include "store/hooks.h"
#include "views/color_set.h"
#include "views/month_layout.h"
#include "views/printable.h"

namespace vesk {

struct AppContext;
class Font;

class CVeskCalView : public Window, public ViewNotifier {
 public:
  // Registers itself as ctx.view and ctx.views; ctx.ui must be set.
  explicit CVeskCalView(AppContext& ctx);
  ~CVeskCalView() override;

  // Loads the main font, the options and every stored entry, shows today's
  // month and continues its repeating series.
  void Initialize();

  // 7 x cell width by 8 x cell height in the main font; zero before the
  // view's window exists.
  Size GetCalendarSize();
  Size GetCalendarSize(Canvas& canvas);
  void RepaintIfShowing(int year, int month) override;
  // The Home key and the main frame's This Month command.
  void ShowCurrentMonth();
  // One month back (-1) or forward (+1); the year stays in 1970..2036.
  void StepMonth(int delta);
  // One year back or forward, unless that leaves 1970..2036.
  void StepYear(int delta);
  // The click sound, then the day planner of the date (also for the week and
  // year views, which open day planners through the month view).
  void OpenDayPlanner(int year, int month, int day);
  // The Today command and the Enter key.
  void OpenTodayPlanner();
  // The To Do List command and a click on an empty part of the view.
  void OpenToDoList();

  // The day popup of a date, unless it already shows that day and month.
  void ShowDayPopupIfChanged(int year, int month, int day, const Rect& anchor, bool tinted);
  void ForgetPopupDate();
  void CloseDayPopup();
  // Lifetime in ms of the day popup opened at start-up.
  int DayPopupLifetime() const;

  ColorSet& colors() { return colors_; }
  void LoadColors();
  void SaveColors();
  // Returns the device's colour count when it needs no palette; otherwise
  // keeps the eight-colour palette and returns its size.
  int RealizeViewPalette(Canvas& canvas);

  const Font* mainFont() const { return mainFont_.get(); }
  // The derived fonts, or the main font when one could not be made.
  const Font* headingFont() const;
  const Font* titleFont() const;
  // The Setup, Font command; true when a new main font was chosen and stored,
  // so the main frame re-places itself.
  bool ChooseMainFont();

  // Prints the source window's pages through the one print job (a new request
  // simply replaces any earlier source).
  void BeginPrintFrom(Window& source, Printable& pages, PrintKind kind);

  // Program end: closes the day planners and purges old stored months.
  void Shutdown();

  int displayedYear() const { return year_; }
  int displayedMonth() const { return month_; }
  // The hit-test state of the month on display.
  MonthLayout layout() const;
  // The cell that wears a hover or press frame, if any.
  const std::optional<Rect>& highlight() const { return highlight_; }
  int hoveredDay() const { return hoveredDay_; }

  void OnPaint(Canvas& canvas) override;
  void OnMouseMove(Point p) override;
  void OnLButtonDown(Point p) override;
  void OnLButtonUp(Point p) override;
  void OnRButtonDown(Point p) override;
  bool OnKeyDown(int vk) override;
  bool OnCommand(int id) override;
  void OnUpdateCommand(int id, CommandState& state) override;

 private:
  FontRecord MainFontRecord() const;
  void RebuildDerivedFonts();
  bool InClient(Point p) const;
  void DrawHighlight(bool sunken);
  void PlayClick();
  void HideMainFrame();

  AppContext& ctx_;
  ColorSet colors_;
  bool colorsLoaded_ = false;  // the first paint loads the colour set
  std::unique_ptr<Font> mainFont_;
  std::unique_ptr<Font> headingFont_;
  std::unique_ptr<Font> titleFont_;
  std::optional<std::array<Color, 8>> palette_;
  int year_ = kFirstYear;
  int month_ = 1;
  Size cell_;  // measured at the last drawing
  std::optional<Rect> highlight_;
  int hoveredDay_ = -1;
  // The date the day popup was last asked for (day -1 when none).
  int popupMonth_ = -1, popupDay_ = -1;
};

}  // namespace vesk
