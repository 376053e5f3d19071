#include "views/month_view.h"

#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "store/app_context.h"
#include "views/day_popup.h"
#include "views/view_fixture.h"

namespace vesk::test {
namespace {

// The default main font on the twin: 7-pixel characters in 16-pixel lines,
// so a cell is 14 + 5 by 16 + 4.
constexpr Size kCell{19, 20};

using Kind = CanvasOp::Kind;

std::string TextShownAt(const std::vector<CanvasOp>& ops, Point origin) {
  const CanvasOp* op = TextAt(ops, origin);
  return op != nullptr ? op->text : "<nothing>";
}

std::vector<const CanvasOp*> FramesAt(const std::vector<CanvasOp>& ops, const Rect& r) {
  std::vector<const CanvasOp*> found;
  for (const CanvasOp& op : ops) {
    if (op.kind == Kind::Frame3d && op.rect == r) found.push_back(&op);
  }
  return found;
}

class MonthViewTest : public ViewTest {
 protected:
  void SetUp() override { StartView(); }
};

TEST_F(MonthViewTest, StartsOnTodaysMonthAndMeasuresTheGrid) {
  EXPECT_EQ(view->displayedYear(), 2000);
  EXPECT_EQ(view->displayedMonth(), 3);
  EXPECT_EQ(view->GetCalendarSize(), (Size{7 * 19, 8 * 20}));
  const MonthLayout shown = view->layout();
  EXPECT_EQ(shown.cell, kCell);
  EXPECT_EQ(shown.days[1], (Rect{57, 40, 76, 60}));
}

TEST_F(MonthViewTest, ColumnsFollowTheWeekStart) {
  // June 2003 begins on a Sunday.
  for (int i = 0; i < 39; ++i) view->StepMonth(1);
  ASSERT_EQ(view->displayedYear(), 2003);
  ASSERT_EQ(view->displayedMonth(), 6);
  auto ops = Paint();
  // "1" is 7 wide and 16 high, centred in its 19 x 20 cell.
  EXPECT_EQ(TextShownAt(ops, {6, 42}), "1");
  EXPECT_EQ(TextShownAt(ops, {2, 22}), "Su");

  app.ctx.options.europe = 1;
  ops = Paint();
  EXPECT_EQ(TextShownAt(ops, {6 * 19 + 6, 42}), "1") << "the last column";
  EXPECT_EQ(TextShownAt(ops, {6, 62}), "2") << "the 2nd starts the next row";
  EXPECT_EQ(TextShownAt(ops, {6 * 19 + 2, 22}), "Su");
}

TEST_F(MonthViewTest, TodayWearsTheDoubleFrameOnlyInItsMonth) {
  auto ops = Paint();
  const ColorSet& c = view->colors();
  // The 15th: column 3, third week row.
  const auto outer = FramesAt(ops, {58, 81, 74, 98});
  const auto inner = FramesAt(ops, {59, 82, 73, 97});
  ASSERT_EQ(outer.size(), 1u);
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(outer[0]->color, c.currentday);
  EXPECT_EQ(outer[0]->color2, c.currentday);
  EXPECT_EQ(FramesAt(ops, {57, 80, 75, 99}).size(), 1u) << "and its raised frame";
  int currentDayFrames = 0;
  for (const CanvasOp* f : OpsOfKind(ops, Kind::Frame3d))
    currentDayFrames += f->color == c.currentday;
  EXPECT_EQ(currentDayFrames, 2);

  view->StepMonth(1);
  ops = Paint();
  for (const CanvasOp* f : OpsOfKind(ops, Kind::Frame3d)) EXPECT_NE(f->color, c.currentday);
}

TEST_F(MonthViewTest, DaysWithEntriesAreDrawnInHasAppoint) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  const auto ops = Paint();
  EXPECT_EQ(FindText(ops, "20")->color, Rgb(255, 0, 255));
  EXPECT_EQ(FindText(ops, "21")->color, Rgb(0, 0, 128));
  EXPECT_EQ(FindText(ops, "21")->color2, Rgb(255, 255, 0)) << "opaque on back";
}

TEST_F(MonthViewTest, ClickingADayOpensItsPlannerAfterTheClick) {
  EXPECT_TRUE(ui.Click(*view, DayCentre(20)));
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"planner 2000-3-20 after 1 clicks"}));
  // The press frame is drawn raised at once; the release sinks it.
  const Rect frame20{19, 100, 37, 119};
  EXPECT_EQ(FramesAt(viewRecord().immediate, frame20).size(), 1u);
  ui.MouseUp(*view, DayCentre(20));
  const auto frames = FramesAt(viewRecord().immediate, frame20);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1]->color, view->colors().botlite) << "sunken";
  EXPECT_FALSE(view->highlight());
}

TEST_F(MonthViewTest, HitEdgesAreInclusive) {
  const Rect first = view->layout().days[1];
  ui.Click(*view, {first.left, first.top});
  ui.Click(*view, {first.left + 1, first.bottom});
  ui.RightClick(*view, {first.left, first.top});
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"planner 2000-3-1 after 1 clicks",
                                                     "planner 2000-3-1 after 2 clicks",
                                                     "week 0 2000-3-1 after 2 clicks"}));
}

TEST_F(MonthViewTest, FebruaryLeavesNoDaysPastItsEnd) {
  const Point where30 = DayCentre(30);  // March 2000
  ui.Key(*view, kVkLeft);
  ASSERT_EQ(view->displayedMonth(), 2);
  Paint();
  EXPECT_EQ(view->layout().daysInMonth, 29);
  view->StepYear(1);  // February 2001, 28 days
  Paint();
  ui.Click(*view, where30);
  ui.Click(*view, DayCentre(28));
  EXPECT_EQ(windows.calls,
            (std::vector<std::string>{"todo after 1 clicks", "planner 2001-2-28 after 2 clicks"}));
}

TEST_F(MonthViewTest, EmptyPartsOpenTheToDoList) {
  ui.Click(*view, {10, 45});  // before the 1st
  ui.Click(*view, {10, 25});  // the "Su" heading
  ui.Click(*view, {30, 10});  // the title row between "<<" and the title region
  EXPECT_EQ(windows.calls.size(), 3u);
  EXPECT_EQ(windows.calls[0], "todo after 1 clicks");
}

TEST_F(MonthViewTest, TitleRegionSpansTuesdayToFriday) {
  // Sunday first: 2w..5w.
  ui.Click(*view, {2 * 19, 10});
  ui.Click(*view, {5 * 19, 10});
  ui.Click(*view, {2 * 19 - 1, 10});
  app.ctx.options.europe = 1;
  Paint();
  ui.Click(*view, {20, 10});  // x 19 is still the "<<" cell's right edge
  ui.Click(*view, {4 * 19 + 1, 10});
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"year after 1 clicks", "year after 2 clicks",
                                                     "todo after 3 clicks", "year after 4 clicks",
                                                     "todo after 5 clicks"}));
}

TEST_F(MonthViewTest, RightClickOnTheTitleShowsThisMonth) {
  view->StepMonth(-1);
  view->StepYear(-3);
  ui.RightClick(*view, {3 * 19, 5});
  EXPECT_EQ(view->displayedYear(), 2000);
  EXPECT_EQ(view->displayedMonth(), 3);
  EXPECT_EQ(clicks(), 1);
  EXPECT_TRUE(windows.calls.empty());
}

TEST_F(MonthViewTest, LeftClicksOnTheArrowsStepMonths) {
  ui.Click(*view, {5, 5});
  EXPECT_EQ(view->displayedMonth(), 2);
  ui.MouseUp(*view, {5, 5});
  ui.Click(*view, {6 * 19 + 5, 5});
  ui.Click(*view, {6 * 19 + 5, 5});
  EXPECT_EQ(view->displayedMonth(), 4);
  EXPECT_EQ(clicks(), 3);
  EXPECT_TRUE(windows.calls.empty());
}

TEST_F(MonthViewTest, YearLimits) {
  for (int i = 0; i < 40; ++i) ui.Key(*view, kVkDown);
  EXPECT_EQ(view->displayedYear(), 1970);
  EXPECT_EQ(clicks(), 0) << "keys are silent";
  // Right click on "<<" in 1970: nothing changes, but the click is heard.
  ui.RightClick(*view, {5, 5});
  EXPECT_EQ(view->displayedYear(), 1970);
  EXPECT_EQ(view->displayedMonth(), 3);
  EXPECT_EQ(clicks(), 1);

  view->StepMonth(-2);
  ASSERT_EQ(view->displayedMonth(), 1);
  ui.Click(*view, {5, 5});
  EXPECT_EQ(view->displayedYear(), 1970) << "previous from January 1970";
  EXPECT_EQ(view->displayedMonth(), 12);

  for (int i = 0; i < 70; ++i) ui.Key(*view, kVkUp);
  EXPECT_EQ(view->displayedYear(), 2036);
  ui.RightClick(*view, {6 * 19 + 1, 1});
  EXPECT_EQ(view->displayedYear(), 2036);
  EXPECT_EQ(clicks(), 3);
  ui.Key(*view, kVkPrior);  // next month from December 2036
  EXPECT_EQ(view->displayedYear(), 2036);
  EXPECT_EQ(view->displayedMonth(), 1);
  EXPECT_TRUE(windows.calls.empty());
}

TEST_F(MonthViewTest, RightClickOnADayOpensItsWeekButNotBetweenDates) {
  ui.RightClick(*view, DayCentre(9));
  ui.RightClick(*view, {10, 45});  // before the 1st
  ui.RightClick(*view, {10, 25});  // a heading
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"week 0 2000-3-9 after 0 clicks"}));
}

TEST_F(MonthViewTest, KeysStepAndOpen) {
  struct Row {
    int vk;
    int year, month;
  } rows[] = {
      {kVkRight, 2000, 4}, {kVkPrior, 2000, 5}, {kVkLeft, 2000, 4}, {kVkNext, 2000, 3},
      {kVkNext, 2000, 2},  {kVkUp, 2001, 2},    {kVkDown, 2000, 2}, {kVkHome, 2000, 3},
  };
  for (const Row& r : rows) {
    ui.Key(*view, r.vk);
    EXPECT_EQ(view->displayedYear(), r.year) << "key " << r.vk;
    EXPECT_EQ(view->displayedMonth(), r.month) << "key " << r.vk;
  }
  view->StepMonth(5);
  ui.Key(*view, kVkReturn);
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"planner 2000-3-15 after 1 clicks"}))
      << "Enter opens today's planner whatever month is shown, with the click sound";
}

TEST_F(MonthViewTest, CommandsTodayAndToDo) {
  EXPECT_TRUE(ui.Command(*view, 32833));
  EXPECT_TRUE(ui.Command(*view, 32816));
  EXPECT_EQ(windows.calls,
            (std::vector<std::string>{"planner 2000-3-15 after 1 clicks", "todo after 2 clicks"}));
  windows.available = false;
  EXPECT_FALSE(ui.MenuState(*view, 32833).enabled);
  EXPECT_FALSE(ui.Command(*view, 32816));
  ui.Click(*view, DayCentre(3));
  EXPECT_EQ(windows.calls.size(), 2u) << "nothing opens when the windows are not there";
}

TEST_F(MonthViewTest, RepaintOnlyWhenShowingThatMonth) {
  const int before = viewRecord().invalidations;
  view->RepaintIfShowing(2000, 4);
  EXPECT_EQ(viewRecord().invalidations, before);
  view->RepaintIfShowing(2000, 3);
  EXPECT_EQ(viewRecord().invalidations, before + 1);
}

TEST_F(MonthViewTest, HoverSinksTheCellAtOnceWithoutAPopupOnAnEmptyDate) {
  viewRecord().immediate.clear();
  ui.MouseMove(*view, DayCentre(3));
  const Rect cell3 = view->layout().days[3];
  ASSERT_EQ(view->highlight(), cell3);
  const auto& drawn = viewRecord().immediate;
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].ToString(), "frame3d 95,40-113,59 #ffffff #000000") << "sunken";
  EXPECT_EQ(app.ctx.dayPopup, nullptr);

  // On the shared edge of the 3rd and 4th no day is hovered: the frame rises.
  ui.MouseMove(*view, {cell3.right, cell3.top + 5});
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].ToString(), "frame3d 95,40-113,59 #000000 #ffffff");
  EXPECT_FALSE(view->highlight());
}

TEST_F(MonthViewTest, HoverShowsThePopupOnceForADateWithEntries) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  ui.MouseMove(*view, DayCentre(20));
  CDayPopupWnd* popup = app.ctx.dayPopup;
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->lines(),
            (std::vector<std::string>{" Monday, March 20, 2000  ", " 9:00am  Dentist  "}));
  ui.MouseMove(*view, {DayCentre(20).x + 1, DayCentre(20).y});
  EXPECT_EQ(app.ctx.dayPopup, popup) << "the same date does not reopen";
  EXPECT_EQ(view->DayPopupLifetime(), 7000);

  ui.MouseMove(*view, DayCentre(21));
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  ui.MouseMove(*view, DayCentre(20));
  EXPECT_NE(app.ctx.dayPopup, nullptr);
  ui.MouseMove(*view, {-5, 50});  // outside the client area
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(ui.Capture(), nullptr);
}

// Regression: entries made since the last paint leave the list out of time
// order; the popup must still list the whole date from its earliest entry.
TEST_F(MonthViewTest, PopupListsTheWholeDateEvenBeforeARepaint) {
  app.AddEntry(2000, 5, 20, 9, 0, "Dentist");
  app.AddEntry(2000, 5, 20, 10, 0, "Coffee");
  app.AddEntry(2000, 5, 20, 8, 0, "Run");
  view->ShowDayPopupIfChanged(2000, 5, 20, frame.WindowRect(), false);
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(app.ctx.dayPopup->lines(),
            (std::vector<std::string>{" Saturday, May 20, 2000  ", " 8:00am  Run  ",
                                      " 9:00am  Dentist  ", " 10:00am  Coffee  "}));
}

TEST_F(MonthViewTest, PopupIsAnchoredToTheFrame) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  app.AddEntry(2000, 3, 20, 10, 0, "Coffee");
  ui.MouseMove(*view, DayCentre(20));
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  CDayPopupWnd& popup = *app.ctx.dayPopup;
  // The heading's 25 characters of 7 pixels; lines 16 + 2 high.
  EXPECT_EQ(popup.widestLine(), 25 * 7);
  EXPECT_EQ(popup.lineHeight(), 18);
  const WindowRecord& r = *HeadlessUi::Record(popup);
  // Left of the frame {200, 150, 500, 450}, centred on its height.
  EXPECT_EQ(r.rect, Rect::FromSize(200 - 178, 150 + 150 - 27, 178, 54));
  EXPECT_TRUE(r.visible);
  EXPECT_TRUE(r.topmost);
  EXPECT_FALSE(r.enabled);
  EXPECT_EQ(view->DayPopupLifetime(), 6000);
}

TEST_F(MonthViewTest, PopupPaintsItsLines) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  view->ShowDayPopupIfChanged(2000, 3, 20, frame.WindowRect(), false);
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(DumpLines(ui.Paint(*app.ctx.dayPopup)),
            (std::vector<std::string>{
                "font \"Comic Sans MS\" -13 400",
                "fill 0,0-178,36 #ffff00",
                "text 2,0 \" Monday, March 20, 2000  \" fg=#ff00ff bg=#ffff00 opaque",
                "text 2,18 \" 9:00am  Dentist  \" fg=#000080 bg=#ffff00 opaque",
                "frame3d 0,0-178,36 #ff0000 #ff0000",
                "frame3d 1,1-177,35 #ff0000 #ff0000",
            }));

  // Tinted (the year view's popup): on dayplan1.
  view->colors().dayplan1 = Rgb(1, 2, 3);
  view->ForgetPopupDate();
  view->ShowDayPopupIfChanged(2000, 3, 20, frame.WindowRect(), true);
  const auto ops = ui.Paint(*app.ctx.dayPopup);
  EXPECT_EQ(FillAt(ops, {5, 5})->color, Rgb(1, 2, 3));
  EXPECT_EQ(FindText(ops, " 9:00am  Dentist  ")->color2, Rgb(1, 2, 3));
}

TEST_F(MonthViewTest, TallPopupShrinksItsFont) {
  for (int h = 8; h < 13; ++h) app.AddEntry(2000, 3, 20, h, 0, "x");
  ui.SetScreenSize({1024, 100});
  // 6 lines of 18 = 108 > 100; a 12-pixel font gives 6 x 17 = 102, 11 gives 96.
  view->ShowDayPopupIfChanged(2000, 3, 20, frame.WindowRect(), false);
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(app.ctx.dayPopup->shrinkSteps(), 2);
  EXPECT_EQ(app.ctx.dayPopup->font()->record().height, -11);

  ui.SetScreenSize({1024, 10});
  view->ForgetPopupDate();
  view->ShowDayPopupIfChanged(2000, 3, 20, frame.WindowRect(), false);
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(app.ctx.dayPopup->shrinkSteps(), 20) << "shown anyway after 20 steps";
  EXPECT_TRUE(app.ctx.dayPopup->IsVisible());
}

TEST_F(MonthViewTest, PopupLifetimes) {
  for (int i = 0; i < 24; ++i) app.AddEntry(2000, 3, 20, i, 30, "e");
  view->ShowDayPopupIfChanged(2000, 3, 20, frame.WindowRect(), false);
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(app.ctx.dayPopup->lineCount(), 25);
  EXPECT_EQ(view->DayPopupLifetime(), 40000);
  view->CloseDayPopup();
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(view->DayPopupLifetime(), 7000);
}

// Esc inside the program's own main frame: the frame goes to the tray.
TEST(MonthViewInFrame, EscapeHidesTheFrameAndKeepsTheMonth) {
  TestApp app;
  HeadlessUi ui(app.boxes);
  app.ctx.ui = &ui;
  app.registry.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\sounds");
  app.registry.SetValue("SOFTWARE\\Tolvard\\VeskCal\\sounds", "click",
                        RegValue::FromString("Pick.wav"));
  {
    CMainFrame frame(app.ctx, {});
    ASSERT_TRUE(frame.CreateFrame());
    CVeskCalView& view = frame.view();
    view.StepMonth(1);
    ASSERT_TRUE(frame.IsVisible());
    const std::size_t soundsBefore = ui.sounds().size();
    ui.Key(view, kVkEscape);
    EXPECT_FALSE(frame.IsVisible());
    EXPECT_EQ(ui.sounds().size(), soundsBefore + 1);
    EXPECT_EQ(view.displayedMonth(), 4);
  }
  ui.Pump();
  ExpectScriptDone(app.boxes);
}

}  // namespace
}  // namespace vesk::test
