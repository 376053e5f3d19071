// The week view on the headless twin: opening, listing, navigation, scrolling,
// clicks, printing and its commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/command_ids.h"
#include "res/week_resources.h"
#include "store/app_context.h"
#include "views/view_fixture.h"
#include "views/view_week.h"

namespace vesk::test {
namespace {

using Kind = CanvasOp::Kind;

// The default main font on the twin has 7 x 16 characters: the time column
// is 7 x 7 + 4 wide and a line 16 + 4 high; the printer's font is 7 x 13.
constexpr int kTimeWidth = 53;
constexpr int kLine = 20;
constexpr int kPrintLine = 17;

// The texts drawn, top to bottom, with their origins.
std::vector<std::string> Texts(const std::vector<CanvasOp>& ops) {
  std::vector<std::string> texts;
  for (const CanvasOp* op : OpsOfKind(ops, Kind::Text)) {
    texts.push_back(std::to_string(op->rect.left) + "," + std::to_string(op->rect.top) + " " +
                    op->text);
  }
  return texts;
}

bool Drawn(const std::vector<CanvasOp>& ops, std::string_view text) {
  return FindText(ops, text) != nullptr;
}

class WeekViewTest : public ViewTest {
 protected:
  void SetUp() override { StartView(); }

  ViewWeek& Open(int year, int month, int day) {
    OpenWeekWindow(app.ctx, 0, year, month, day);
    ui.Pump();
    ViewWeek* week = app.ctx.weekWindows[0];
    EXPECT_NE(week, nullptr);
    ui.Paint(*week);  // attaches the menu
    return *week;
  }
  std::vector<CanvasOp> PaintWeek() { return ui.Paint(*app.ctx.weekWindows[0]); }
  WindowRecord& Record(const Window& w) const { return *HeadlessUi::Record(w); }
};

TEST_F(WeekViewTest, OpensOnTheWeekOfTheDateAtTheScreensCorner) {
  ViewWeek& week = Open(2000, 3, 15);
  EXPECT_EQ(week.title(), "Appointments starting Sunday, March 12, 2000");
  const WindowRecord& r = Record(week);
  EXPECT_EQ(r.title, week.title());
  // 70 "h" + 4 + the time column + 19 wide, 22 lines + 48 high, 10 from the
  // right and 50 from the bottom of the 1024 x 768 screen.
  EXPECT_EQ(r.rect, Rect::FromSize(1024 - 566 - 10, 768 - 488 - 50, 566, 488));
  EXPECT_EQ(r.icon, res::kIconWeek);
  EXPECT_EQ(r.menu, &res::WeekMenu());
  EXPECT_EQ((std::vector<int>{r.scrollMin, r.scrollMax, r.scrollPage, r.scrollPos}),
            (std::vector<int>{1, 1008, 22, 1}));
  EXPECT_EQ(week.RuntimeClass(), "ViewWeek");
  EXPECT_EQ(ui.ActiveWindow(), &week);
  EXPECT_EQ(clicks(), 1);
  EXPECT_EQ(week.metrics(), (WeekMetrics{kTimeWidth, kLine, 494}));

  // A day that does not exist opens nothing.
  week.Destroy();
  OpenWeekWindow(app.ctx, 0, 2001, 2, 29);
  OpenWeekWindow(app.ctx, 0, 2000, 3, 32);
  EXPECT_EQ(app.ctx.weekWindows[0], nullptr);
}

TEST_F(WeekViewTest, EuropeStartsOnMondayAndTheTitleSaysSo) {
  app.ctx.options.europe = 1;
  ViewWeek& week = Open(2000, 3, 12);  // a Sunday
  EXPECT_EQ(week.start(), (CivilDate{2000, 3, 6}));
  EXPECT_EQ(week.title(), "Appointments starting Monday, March 6, 2000");
  EXPECT_EQ(TextAt(PaintWeek(), {5, 1})->text, "Monday, March 6");

  // A view opened with Sunday first moves straight to the Monday week asked for.
  week.Destroy();
  app.ctx.options.europe = 0;
  ViewWeek& sunday = Open(2000, 3, 15);
  app.ctx.options.europe = 1;
  OpenWeekWindow(app.ctx, 0, 2000, 4, 2);
  EXPECT_EQ(sunday.start(), (CivilDate{2000, 3, 27}));
}

TEST_F(WeekViewTest, ListsEveryEntryOfEveryDayShown) {
  app.AddEntry(2000, 2, 27, 5, 30, "Early on the first day");
  app.AddEntry(2000, 2, 28, 5, 30, "Early on the second day");
  app.AddEntry(2000, 2, 29, 12, 0, "Leap day lunch");
  app.AddEntry(2000, 2, 29, 9, 0, "Leap day breakfast");
  app.AddEntry(2000, 3, 5, 5, 30, "Early after the week");
  ViewWeek& week = Open(2000, 2, 29);
  EXPECT_EQ(week.start(), (CivilDate{2000, 2, 27}));
  const std::vector<std::string> texts = Texts(PaintWeek());
  // Each heading, then its entries in time order, a line apart.
  const std::vector<std::string> expected{
      "5,1 Sunday, February 27",
      "25,23 5:30am",
      "78,23 Early on the first day",
      "5,41 Monday, February 28",
      "25,63 5:30am",
      "78,63 Early on the second day",
      "5,81 Tuesday, February 29",
      "25,103 9:00am",
      "78,103 Leap day breakfast",
      "25,123 12:00pm",
      "78,123 Leap day lunch",
      "5,141 Wednesday, March 1",
      "5,161 Thursday, March 2",
      "5,181 Friday, March 3",
      "5,201 Saturday, March 4",
  };
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(week.dayBottoms()[0], 41);
  EXPECT_EQ(week.dayBottoms()[6], 221);
}

TEST_F(WeekViewTest, DaysAcrossTheClockChangesKeepTheirEntries) {
  ScopedTimeZone zone("America/New_York");
  app.AddEntry(2000, 4, 2, 3, 0, "After the spring change");
  app.AddEntry(2000, 4, 3, 0, 30, "Monday after midnight");
  app.AddEntry(2000, 10, 29, 23, 30, "Late on the autumn change");
  app.AddEntry(2000, 10, 30, 0, 0, "Midnight after it");
  Open(2000, 3, 30);
  ui.Command(*app.ctx.weekWindows[0], res::kIdFourWeeks);
  std::vector<std::string> texts = Texts(PaintWeek());
  auto after = [&](std::string_view heading) {
    for (std::size_t i = 0; i + 2 < texts.size(); ++i) {
      if (texts[i].ends_with(heading)) return texts[i + 2].substr(texts[i + 2].find(' ') + 1);
    }
    return std::string("<none>");
  };
  EXPECT_EQ(after("Sunday, April 2"), "After the spring change");
  EXPECT_EQ(after("Monday, April 3"), "Monday after midnight");
  OpenWeekWindow(app.ctx, 0, 2000, 10, 29);
  texts = Texts(PaintWeek());
  EXPECT_EQ(after("Sunday, October 29"), "Late on the autumn change");
  EXPECT_EQ(after("Monday, October 30"), "Midnight after it");
}

TEST_F(WeekViewTest, TimesFollowTheTwentyFourHourOptionAtPaintTime) {
  app.AddEntry(2000, 3, 13, 13, 5, "Afternoon");
  app.AddEntry(2000, 3, 14, 0, 30, "After midnight");
  Open(2000, 3, 15);
  std::vector<CanvasOp> ops = PaintWeek();
  EXPECT_TRUE(Drawn(ops, "1:05pm"));
  EXPECT_TRUE(Drawn(ops, "0:30am"));
  app.ctx.options.a24hour = 1;
  ops = PaintWeek();
  EXPECT_TRUE(Drawn(ops, "13:05"));
  EXPECT_TRUE(Drawn(ops, "0:30"));
}

TEST_F(WeekViewTest, WeeksShownAndNavigation) {
  ViewWeek& week = Open(2000, 3, 15);
  EXPECT_FALSE(ui.MenuState(week, res::kIdOneWeek).enabled);
  EXPECT_TRUE(ui.Command(week, res::kIdFourWeeks));
  EXPECT_EQ(week.daysShown(), 28);
  EXPECT_FALSE(ui.MenuState(week, res::kIdFourWeeks).enabled);
  EXPECT_TRUE(ui.MenuState(week, res::kIdOneWeek).enabled);
  EXPECT_TRUE(Drawn(PaintWeek(), "Saturday, April 8"));
  ui.VScroll(week, kSbLineDown, 0);
  ui.Command(week, res::kIdOneWeek);
  EXPECT_EQ(week.daysShown(), 7);
  EXPECT_EQ(week.firstLine(), 1);
  EXPECT_EQ(week.start(), (CivilDate{2000, 3, 12}));
  EXPECT_EQ(week.title(), "Appointments starting Sunday, March 12, 2000");
  EXPECT_FALSE(Drawn(PaintWeek(), "Sunday, March 19"));

  ui.VScroll(week, kSbLineDown, 0);
  ui.Command(week, res::kIdNext);
  EXPECT_EQ(week.start(), (CivilDate{2000, 3, 19}));
  EXPECT_EQ(week.firstLine(), 1);
  EXPECT_EQ(Record(week).title, "Appointments starting Sunday, March 19, 2000");
  ui.Command(week, res::kIdPrevious);
  ui.Command(week, res::kIdPrevious);
  EXPECT_EQ(week.start(), (CivilDate{2000, 3, 5}));

  // Another request moves the open view, keeping its days shown.
  ui.Command(week, res::kIdTwoWeeks);
  ui.Activate(frame);
  OpenWeekWindow(app.ctx, 1, 2000, 12, 25);
  EXPECT_EQ(app.ctx.weekWindows[0], &week);
  EXPECT_EQ(app.ctx.weekWindows[1], nullptr);
  EXPECT_EQ(week.start(), (CivilDate{2000, 12, 24}));
  EXPECT_EQ(week.daysShown(), 14);
  EXPECT_EQ(ui.ActiveWindow(), &week);

  // The calendar's years end the stepping.
  OpenWeekWindow(app.ctx, 0, 2036, 12, 30);
  ui.Command(week, res::kIdNext);
  EXPECT_EQ(week.start(), (CivilDate{2036, 12, 28}));
}

TEST_F(WeekViewTest, ScrollingStopsAtLine987AndMovesTheBlocks) {
  ViewWeek& week = Open(2000, 3, 15);
  ui.VScroll(week, kSbThumbPosition, 2000);
  EXPECT_EQ(week.firstLine(), 987);
  EXPECT_EQ(Record(week).scrollPos, 987);
  ui.VScroll(week, kSbLineDown, 0);
  EXPECT_EQ(week.firstLine(), 987);
  ui.Key(week, kVkPrior);
  EXPECT_EQ(week.firstLine(), 965);
  ui.VScroll(week, kSbThumbPosition, 2);
  EXPECT_EQ(TextAt(PaintWeek(), {5, -kLine})->text, "Sunday, March 12");
  ui.Wheel(week, -120);
  EXPECT_EQ(week.firstLine(), 5);
}

TEST_F(WeekViewTest, AClickOpensThePlannerOfItsBlockOnly) {
  app.AddEntry(2000, 3, 13, 9, 0, "Dentist");
  ViewWeek& week = Open(2000, 3, 15);
  PaintWeek();
  // Monday's block: heading and one entry, 21..61.
  ui.Click(week, {200, 50});
  ASSERT_EQ(windows.calls.size(), 1u);
  EXPECT_EQ(windows.calls[0], "planner 2000-3-13 after 2 clicks");
  ui.Click(week, {200, week.dayBottoms()[6]});
  EXPECT_EQ(windows.calls.size(), 1u) << "below the last block";
}

TEST_F(WeekViewTest, PrintsWithAndWithoutFastPrinting) {
  app.AddEntry(2000, 3, 14, 10, 0, "Board meeting");
  ViewWeek& week = Open(2000, 3, 15);
  const ColorSet& c = view->colors();
  ui.AnswerPrint(PrintAnswer{});
  ui.Command(week, res::kIdPrint);
  ASSERT_EQ(ui.printJobs().size(), 1u);
  const PrintedJob& fast = ui.printJobs()[0];
  EXPECT_EQ(fast.documentName, "Week View");
  EXPECT_EQ(fast.pageCount, 1);
  ASSERT_EQ(fast.pages.size(), 1u);
  const std::vector<CanvasOp>& plain = fast.pages[0];
  EXPECT_TRUE(OpsOfKind(plain, Kind::Fill).empty());
  EXPECT_EQ(TextAt(plain, {22, 2})->text, "Starting 3/12/2000     by Vesk Calendar");
  const int tuesday = 1 + 2 * kPrintLine + 2 * kPrintLine;
  const CanvasOp* entry = TextAt(plain, {kTimeWidth + 45, tuesday + kPrintLine + 2});
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text, "Board meeting");
  for (const CanvasOp* t : OpsOfKind(plain, Kind::Text)) {
    EXPECT_EQ(t->color, Rgb(0, 0, 0)) << t->text;
    EXPECT_EQ(t->color2, Rgb(255, 255, 255)) << t->text;
  }
  EXPECT_TRUE(Record(week).enabled) << "enabled again after the job";

  app.ctx.options.fastprinting = 0;
  ui.AnswerPrint(PrintAnswer{});
  ui.Command(week, res::kIdPrint);
  const std::vector<CanvasOp>& colored = ui.printJobs()[1].pages[0];
  ASSERT_FALSE(OpsOfKind(colored, Kind::Fill).empty());
  EXPECT_EQ(OpsOfKind(colored, Kind::Fill)[0]->color, c.back);
  EXPECT_EQ(FindText(colored, "Tuesday, March 14")->color, c.hasappoint);
  EXPECT_EQ(FindText(colored, "Board meeting")->color, c.fore);
}

TEST_F(WeekViewTest, PageCountMatchesThePagesOfACrowdedWeek) {
  // Sixty entries on Tuesday (every minute of 10 o'clock, as a restored
  // backup may hold them), a few on the other days.
  for (int minute = 0; minute < 60; ++minute) {
    app.AddEntry(2000, 3, 14, 10, minute, "Slot " + std::to_string(minute));
  }
  for (int day = 12; day <= 18; ++day)
    app.AddEntry(2000, 3, day, 8, 0, "Daily " + std::to_string(day));
  ViewWeek& week = Open(2000, 3, 15);
  ui.AnswerPrint(PrintAnswer{});
  ui.Command(week, res::kIdPrint);
  const PrintedJob job = ui.printJobs().at(0);  // a copy: the next job moves the list
  ASSERT_EQ(job.pageCount, 3);
  ASSERT_EQ(job.pages.size(), 3u);
  int slots = 0;
  int dailies = 0;
  for (const std::vector<CanvasOp>& page : job.pages) {
    EXPECT_NE(TextAt(page, {22, 2}), nullptr) << "the header on every page";
    // Whatever the paper, its 58 rows are asked to fit on it.
    ASSERT_EQ(OpsOfKind(page, Kind::Fit).size(), 1u);
    EXPECT_EQ(OpsOfKind(page, Kind::Fit)[0]->rect.bottom, 58 * kPrintLine);
    for (const CanvasOp* t : OpsOfKind(page, Kind::Text)) {
      slots += t->text.starts_with("Slot ");
      dailies += t->text.starts_with("Daily ");
      EXPECT_LT(t->rect.top, 58 * kPrintLine) << t->text;
    }
  }
  EXPECT_EQ(slots, 60);
  EXPECT_EQ(dailies, 7);
  EXPECT_TRUE(Drawn(job.pages[2], "Tuesday, March 14 (continued)"));

  // Page 2 alone prints the same page 2.
  ui.AnswerPrint(PrintAnswer{.firstPage = 2, .lastPage = 2});
  ui.Command(week, res::kIdPrint);
  EXPECT_EQ(DumpLines(ui.printJobs().at(1).pages.at(0)), DumpLines(job.pages[1]));
}

TEST_F(WeekViewTest, CommandsOfTheMenu) {
  ViewWeek& week = Open(2000, 3, 15);
  app.boxes.Expect(std::string(kUnderConstructionMessage));
  EXPECT_TRUE(ui.Command(week, res::kIdRepeats));

  int icon = 0;
  std::string caption;
  ui.ScriptDialog(res::kDlgWeekHints, [&](HeadlessDialog& d) {
    icon = d.controls().icon();
    caption = d.dialog().dialogTemplate().caption;
    d.Click(kIdOk);
  });
  ui.Command(week, res::kIdWeekHints);
  EXPECT_EQ(icon, res::kIconWeek);
  EXPECT_EQ(caption, "Quick hints on using the Week View");

  FontRecord bigger = FontRecord::DefaultMain();
  bigger.height = -21;  // 11 x 24 characters
  ui.AnswerFont(bigger);
  ui.Command(week, res::kIdSelectFont);
  EXPECT_EQ(app.ctx.store.LoadFont("font2"), bigger.ToBytes());
  EXPECT_EQ(week.metrics(), (WeekMetrics{11 * 7 + 4, 28, 70 * 11 + 4}));
  EXPECT_EQ(Record(week).rect, Rect::FromSize(10, 10, 774 + 81 + 19, 22 * 28 + 48));
  EXPECT_EQ(FindText(PaintWeek(), "Sunday, March 12")->rect.Height(), 24);

  ui.Command(week, res::kIdClose);
  EXPECT_EQ(app.ctx.weekWindows[0], nullptr);
}

TEST_F(WeekViewTest, RemembersItsPlaceAndCleansUpWhenClosed) {
  ViewWeek& week = Open(2000, 3, 15);
  const WindowPos untouched = app.ctx.store.LoadWindowPos(kWeekPositionSection);
  EXPECT_EQ(untouched.left, 0) << "placing the window stores nothing";
  ui.MoveWindow(week, Rect::FromSize(120, 90, 566, 488));
  const int repaintsBefore = viewRecord().invalidations;
  ui.Key(week, kVkEscape);
  EXPECT_EQ(app.ctx.weekWindows[0], nullptr);
  EXPECT_GT(viewRecord().invalidations, repaintsBefore) << "the month view repaints";

  ViewWeek& again = Open(2000, 3, 15);
  EXPECT_EQ(Record(again).rect.left, 120);
  EXPECT_EQ(Record(again).rect.top, 90);
}

}  // namespace
}  // namespace vesk::test
