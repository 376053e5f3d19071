// The year view on the headless twin: opening and placement, drawing on the
// screen and on paper, the year limits, hovering and clicks.
#include <gtest/gtest.h>

#include "res/command_ids.h"
#include "res/year_resources.h"
#include "store/app_context.h"
#include "views/day_popup.h"
#include "views/view_fixture.h"
#include "views/view_year.h"

namespace vesk::test {
namespace {

using Kind = CanvasOp::Kind;

// "We" in the twin's main font is 14 x 16: cells of 19 x 20, months of 133 x 160.
constexpr Size kCell{19, 20};
// The window's own frame (no main frame here): a caption and a border, + 4.
constexpr Size kWindow{4 * 133 + 11, 3 * 160 + 25};

int Count(const std::vector<CanvasOp>& ops, Kind kind, Color color) {
  int n = 0;
  for (const CanvasOp* op : OpsOfKind(ops, kind)) n += op->color == color;
  return n;
}

class YearViewTest : public ViewTest {
 protected:
  void SetUp() override { StartView(); }

  ViewYear& Open() {
    OpenYearWindow(app.ctx);
    ui.Pump();
    ViewYear* year = app.ctx.yearWindow;
    EXPECT_NE(year, nullptr);
    ui.Paint(*year);  // attaches the menu
    return *year;
  }
  ViewYear& year() const { return *app.ctx.yearWindow; }
  Point Centre(int month, int day) const {
    const Rect r = year().layout().days[month][day];
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  WindowRecord& Record(const Window& w) const { return *HeadlessUi::Record(w); }
};

TEST_F(YearViewTest, OpensCentredOnTheCurrentYear) {
  ViewYear& y = Open();
  const WindowRecord& r = Record(y);
  EXPECT_EQ(r.title, "2000");
  EXPECT_EQ(y.cell(), kCell);
  EXPECT_EQ(r.rect, Rect::FromSize((1024 - kWindow.cx) / 2, (768 - kWindow.cy) / 2, kWindow.cx,
                                   kWindow.cy));
  EXPECT_EQ(r.icon, res::kIconYear);
  EXPECT_EQ(r.menu, &res::YearMenu());
  EXPECT_EQ(y.RuntimeClass(), "ViewYear");

  // The Year command again activates it as it is.
  ui.Command(y, res::kIdNext);
  ui.Activate(frame);
  OpenYearWindow(app.ctx);
  EXPECT_EQ(app.ctx.yearWindow, &y);
  EXPECT_EQ(y.displayedYear(), 2001);
  EXPECT_EQ(ui.ActiveWindow(), &y);
}

TEST_F(YearViewTest, StoredPositionAndTheFitWarning) {
  app.ctx.store.SaveWindowPos(kYearPositionSection, 1600, 40);
  EXPECT_EQ(Record(Open()).rect.left, 0);
  EXPECT_EQ(Record(year()).rect.top, 40);
  ui.MoveWindow(year(), Rect::FromSize(30, 60, kWindow.cx, kWindow.cy));
  EXPECT_EQ(app.ctx.store.LoadWindowPos(kYearPositionSection).left, 30);
  ui.Key(year(), kVkEscape);
  EXPECT_EQ(app.ctx.yearWindow, nullptr);

  // Too narrow a screen, then too short a one: each warns, and the window opens anyway.
  for (Size screen : {Size{500, 768}, Size{1024, kWindow.cy - 1}}) {
    ui.SetScreenSize(screen);
    app.boxes.Expect(std::string(kYearFitMessage));
    Open();
    ASSERT_NE(app.ctx.yearWindow, nullptr);
    ui.Close(year());
  }
  ui.SetScreenSize({1024, 768});
  Open();  // fits: no message
}

TEST_F(YearViewTest, DrawsTheMonthsWithEntriesAndToday) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  ViewYear& y = Open();
  const ColorSet& c = view->colors();
  std::vector<CanvasOp> ops = ui.Paint(y);
  EXPECT_EQ(OpsOfKind(ops, Kind::Fill).at(0)->color, c.back);
  const Rect march20 = y.layout().days[3][20];
  const CanvasOp* marked = TextAt(ops, {march20.left + 2, march20.top + 2});
  ASSERT_NE(marked, nullptr);
  EXPECT_EQ(marked->text, "20");
  EXPECT_EQ(marked->color, c.hasappoint);
  EXPECT_EQ(Count(ops, Kind::Text, c.hasappoint), 1);
  EXPECT_EQ(Count(ops, Kind::Frame3d, c.currentday), 2);
  const Rect march15 = y.layout().days[3][15];
  EXPECT_EQ(OpsOfKind(ops, Kind::Frame3d).size(), 12u + 366u + 2u);
  const Rect today = Rect::FromSize(march15.left + 1, march15.top + 2, 16, 16);
  bool framed = false;
  for (const CanvasOp* f : OpsOfKind(ops, Kind::Frame3d)) framed |= f->rect == today;
  EXPECT_TRUE(framed);
  EXPECT_NE(FindText(ops, "March"), nullptr);

  // With Monday first, October 2000 (a Sunday 1st) has its 1st in the last column.
  app.ctx.options.europe = 1;
  ops = ui.Paint(y);
  const Point october = y.layout().MonthOrigin(10);
  EXPECT_EQ(TextAt(ops, {october.x + 6 * 19 + 6, october.y + 42})->text, "1");
}

TEST_F(YearViewTest, PrintsWithoutMarkingOrTodayFrames) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  ViewYear& y = Open();
  const ColorSet& c = view->colors();
  ui.AnswerPrint(PrintAnswer{});
  ui.Command(y, res::kIdPrint);
  ASSERT_EQ(ui.printJobs().size(), 1u);
  EXPECT_EQ(ui.printJobs()[0].pageCount, 1);
  const std::vector<CanvasOp> fast = ui.printJobs()[0].pages.at(0);
  // The printer's 7 x 13 font: cells of 21 x 18; the year above the months.
  EXPECT_EQ(TextAt(fast, {13 * 21 + 10, 0})->text, "2000");
  EXPECT_TRUE(OpsOfKind(fast, Kind::Fill).empty());
  ASSERT_EQ(OpsOfKind(fast, Kind::Fit).size(), 1u);
  EXPECT_EQ(OpsOfKind(fast, Kind::Fit)[0]->rect, (Rect{0, 0, 28 * 21, 25 * 18}));
  EXPECT_EQ(Count(fast, Kind::Frame3d, c.currentday), 0);
  for (const CanvasOp* t : OpsOfKind(fast, Kind::Text)) EXPECT_EQ(t->color, Rgb(0, 0, 0));

  app.ctx.options.fastprinting = 0;
  ui.AnswerPrint(PrintAnswer{});
  ui.Command(y, res::kIdPrint);
  const std::vector<CanvasOp> colored = ui.printJobs()[1].pages.at(0);
  EXPECT_EQ(OpsOfKind(colored, Kind::Fill).at(0)->color, c.back);
  EXPECT_EQ(Count(colored, Kind::Text, c.hasappoint), 0);
  EXPECT_EQ(Count(colored, Kind::Frame3d, c.currentday), 0);
  EXPECT_NE(FindText(colored, "January"), nullptr);
  // The months start one cell (18) below the year; the name is centred in its row.
  EXPECT_EQ(FindText(colored, "January")->rect.top, 18 + 2);
}

TEST_F(YearViewTest, YearsStopAt1970And2036) {
  ViewYear& y = Open();
  for (int i = 0; i < 40; ++i) ui.Key(y, kVkRight);
  EXPECT_EQ(y.displayedYear(), 2036);
  ui.Command(y, res::kIdNext);
  EXPECT_EQ(Record(y).title, "2036");
  for (int i = 0; i < 70; ++i) ui.Command(y, res::kIdPrevious);
  EXPECT_EQ(y.displayedYear(), 1970);
  ui.Key(y, kVkNext);
  EXPECT_EQ(Record(y).title, "1970");
  ui.Key(y, kVkPrior);
  EXPECT_EQ(Record(y).title, "1971");
}

TEST_F(YearViewTest, HoverShowsTheTintedPopupOnceAndEmptyCellsCloseIt) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  ViewYear& y = Open();
  ui.MouseMove(y, Centre(3, 20));
  CDayPopupWnd* popup = app.ctx.dayPopup;
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->lines().at(1), " 9:00am  Dentist  ");
  EXPECT_EQ(OpsOfKind(ui.Paint(*popup), Kind::Fill).at(0)->color, view->colors().dayplan1);
  EXPECT_EQ(ui.Capture(), &y);
  const WindowRef first = popup->Ref();
  ui.MouseMove(y, {Centre(3, 20).x + 1, Centre(3, 20).y});
  EXPECT_EQ(app.ctx.dayPopup, first.get()) << "the same date keeps its popup";

  ui.MouseMove(y, Centre(3, 21));  // no entries
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  ui.MouseMove(y, Centre(3, 20));
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  ui.MouseMove(y, {3, 3});  // January's name
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  EXPECT_FALSE(y.hovered().has_value());

  ui.MouseMove(y, Centre(3, 20));
  ui.Activate(frame);
  ui.MouseMove(y, Centre(3, 20));
  EXPECT_EQ(app.ctx.dayPopup, nullptr) << "an inactive year view shows no popup";
  EXPECT_EQ(ui.Capture(), nullptr);

  // Another year under the same cell shows that year's date.
  ui.Activate(y);
  app.AddEntry(2001, 3, 20, 10, 0, "Next year's");
  ui.MouseMove(y, Centre(3, 20));
  ui.Key(y, kVkRight);
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  ui.MouseMove(y, Centre(3, 20));
  ASSERT_NE(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(app.ctx.dayPopup->lines().at(1), " 10:00am  Next year's  ");
}

TEST_F(YearViewTest, ClicksOpenThePlannerOrTheWeek) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  ViewYear& y = Open();
  ui.MouseMove(y, Centre(3, 20));
  ui.Click(y, Centre(3, 20));
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  EXPECT_EQ(ui.Capture(), nullptr);
  ui.RightClick(y, Centre(12, 31));
  ui.Click(y, {3, 3});
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"planner 2000-3-20 after 1 clicks",
                                                     "week 0 2000-12-31 after 1 clicks"}));

  // After a leap year, no February 29 is left to click: in 1999 its place
  // would hold a 30th.
  const Point feb29 = Centre(2, 29);
  ui.Key(y, kVkLeft);
  ui.Paint(y);
  ui.Click(y, feb29);
  ui.RightClick(y, feb29);
  EXPECT_EQ(windows.calls.size(), 2u);
}

TEST_F(YearViewTest, QuickHintsAndClosing) {
  ViewYear& y = Open();
  int icon = 0;
  ui.ScriptDialog(res::kDlgYearHints, [&](HeadlessDialog& d) {
    icon = d.controls().icon();
    d.Click(kIdOk);
  });
  ui.Command(y, res::kIdYearHints);
  EXPECT_EQ(icon, res::kIconYear);
  EXPECT_TRUE(res::YearHintsDialogTemplate().centered);
  EXPECT_EQ(res::YearHintsDialogTemplate().caption, "Quick hints on using the Year View");

  const int repaints = viewRecord().invalidations;
  ui.Command(y, res::kIdClose);
  EXPECT_EQ(app.ctx.yearWindow, nullptr);
  EXPECT_GT(viewRecord().invalidations, repaints);
}

}  // namespace
}  // namespace vesk::test
