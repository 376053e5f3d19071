// Opening day planners: the table of three, placement and the cascade, the
// font, the window's shape, and what closing leaves behind.
#include <string>

#include "planner/day_planner_table.h"
#include "planner/planner_fixture.h"
#include "res/command_ids.h"
#include "res/planner_menu.h"
#include "store/app_context.h"
#include "store/registry_store.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

class OpenPlannerTest : public PlannerTest {
 protected:
  void SetUp() override { Start(); }
  std::string Dates() const {
    std::string out;
    for (const AppointBook2* p : app.ctx.planners) {
      out += p == nullptr ? "-" : std::to_string(p->month) + "/" + std::to_string(p->day);
      out += " ";
    }
    return out;
  }
};

TEST_F(OpenPlannerTest, TheWindowShowsTheDateWithItsOwnFrame) {
  AppointBook2& p = Open(2000, 3, 15);
  const WindowRecord& r = Record(p);
  EXPECT_EQ(r.title, "Wednesday, March 15, 2000");
  EXPECT_EQ(p.title(), "Wednesday, March 15, 2000");
  EXPECT_TRUE(r.style.vscroll);
  EXPECT_FALSE(r.style.minimizeBox);
  EXPECT_FALSE(r.style.sizing);
  EXPECT_EQ(r.icon, res::kIconPlanner);
  EXPECT_EQ(r.menu, &res::DayPlannerMenu()) << "attached at the first paint";
  EXPECT_TRUE(p.menuAttached());
  EXPECT_EQ(p.owner(), &frame().view());
  EXPECT_EQ(ui.ActiveWindow(), &p);
  // "Comic Sans MS" -13 on the twin: 7 pixels a character, 16 a line.
  EXPECT_EQ(p.metrics(), (PlannerMetrics{10 * 7 + 4, 16 + 4, 70 * 7 + 4}));
  EXPECT_EQ(r.rect.Width(), 494 + 74 + 19);
  EXPECT_EQ(r.rect.Height(), frame().borderHeight() + 22 * 20);
}

TEST_F(OpenPlannerTest, TheStoredPlannerFontWinsOverTheMainFont) {
  FontRecord small = FontRecord::DefaultMain();
  small.faceName = "Planner";
  small.height = -9;
  app.ctx.store.SaveFont("font2", small.ToBytes());
  AppointBook2& p = Open(2000, 3, 15);
  ASSERT_NE(p.font(), nullptr);
  EXPECT_EQ(p.font()->record().faceName, "Planner");
  EXPECT_NE(p.font(), frame().view().mainFont()) << "the planner owns its font";
  EXPECT_EQ(HeadlessUi::EditOf(Editor(p))->font(), p.font());
  EXPECT_EQ(p.metrics().lineHeight, 9 + 3 + 4);
}

TEST_F(OpenPlannerTest, WithoutAStoredFontTheMainFontIsCopied) {
  AppointBook2& p = Open(2000, 3, 15);
  ASSERT_NE(p.font(), nullptr);
  EXPECT_EQ(p.font()->record(), frame().view().mainFont()->record());
  EXPECT_NE(p.font(), frame().view().mainFont());
}

TEST_F(OpenPlannerTest, AnOpenDateIsActivatedNotOpenedTwice) {
  AppointBook2& first = Open(2000, 3, 15);
  Open(2000, 3, 16);
  ASSERT_NE(ui.ActiveWindow(), &first);
  windows.OpenDayPlanner(2000, 3, 15);
  EXPECT_EQ(ui.ActiveWindow(), &first);
  EXPECT_EQ(CountAlive("AppointBook2"), 2);
}

TEST_F(OpenPlannerTest, AFourthDateClosesTheFirstOpened) {
  AppointBook2& first = Open(2000, 3, 1);
  Type(first, "Typed in the first");
  Open(2000, 3, 2);
  Open(2000, 3, 3);
  EXPECT_EQ(Dates(), "3/1 3/2 3/3 ");
  Open(2000, 3, 4);
  EXPECT_EQ(Dates(), "3/2 3/3 3/4 ");
  EXPECT_EQ(CountAlive("AppointBook2"), 3);
  EXPECT_EQ(StoredNotes(2000, 3, 1, 8, 0), "Typed in the first") << "closed with its line stored";
}

TEST_F(OpenPlannerTest, AWindowClosedByTheUserLeavesItsSlotToTheNextOne) {
  Open(2000, 3, 1);
  AppointBook2& second = Open(2000, 3, 2);
  Open(2000, 3, 3);
  ui.Close(second);
  EXPECT_EQ(Dates(), "3/1 - 3/3 ");
  Open(2000, 3, 4);
  EXPECT_EQ(Dates(), "3/1 3/4 3/3 ");
  Open(2000, 3, 5);  // all taken: the first slot's window goes
  EXPECT_EQ(Dates(), "3/4 3/3 3/5 ");
}

TEST_F(OpenPlannerTest, FindLooksOnlyAtOpenWindows) {
  AppointBook2& p = Open(2000, 3, 15);
  EXPECT_EQ(FindDayPlanner(app.ctx, 2000, 3, 15), &p);
  EXPECT_EQ(FindDayPlanner(app.ctx, 2001, 3, 15), nullptr);
  ui.Close(p);
  EXPECT_EQ(FindDayPlanner(app.ctx, 2000, 3, 15), nullptr);
}

TEST_F(OpenPlannerTest, TheFirstPlannerOpensAtTheStoredPositionAndTheNextCascade) {
  app.ctx.store.SaveWindowPos("dayposition", 200, 100);
  AppointBook2& a = Open(2000, 3, 1);
  EXPECT_EQ(Record(a).rect.left, 200);
  EXPECT_EQ(Record(a).rect.top, 100);
  AppointBook2& b = Open(2000, 3, 2);
  EXPECT_EQ(Record(b).rect.left, 205);
  EXPECT_EQ(Record(b).rect.top, 105);
}

TEST_F(OpenPlannerTest, MovesAfterTheFirstTwoAreStoredAndLeadTheCascade) {
  AppointBook2& a = Open(2000, 3, 1);
  const Size size{Record(a).rect.Width(), Record(a).rect.Height()};
  ui.MoveWindow(a, Rect::FromSize(10, 10, size.cx, size.cy));
  ui.MoveWindow(a, Rect::FromSize(20, 20, size.cx, size.cy));
  EXPECT_EQ(app.ctx.store.LoadWindowPos("dayposition").left, 0) << "creation's moves";
  ui.MoveWindow(a, Rect::FromSize(300, 150, size.cx, size.cy));
  const WindowPos stored = app.ctx.store.LoadWindowPos("dayposition");
  EXPECT_EQ(stored.left, 300);
  EXPECT_EQ(stored.top, 150);
  AppointBook2& b = Open(2000, 3, 2);
  EXPECT_EQ(Record(b).rect.left, 305);
  EXPECT_EQ(Record(b).rect.top, 155);
  ui.Close(a);
  EXPECT_EQ(app.ctx.plannerCascade, (Point{0, 0})) << "reset by every close";
  AppointBook2& c = Open(2000, 3, 3);
  EXPECT_EQ(Record(c).rect.left, 300) << "back at the stored position";
}

TEST_F(OpenPlannerTest, PositionsOffTheScreenBecomeFive) {
  ui.SetScreenSize({1024, 768});
  struct Row {
    int left, top, wantLeft, wantTop;
  };
  for (const Row& r : {Row{-3, 100, 5, 100}, Row{925, 100, 5, 100}, Row{924, 668, 924, 668},
                       Row{100, 669, 100, 5}, Row{100, -1, 100, 5}}) {
    app.ctx.store.SaveWindowPos("dayposition", r.left, r.top);
    AppointBook2& p = Open(2000, 3, 1);
    EXPECT_EQ(Record(p).rect.left, r.wantLeft) << r.left << "," << r.top;
    EXPECT_EQ(Record(p).rect.top, r.wantTop) << r.left << "," << r.top;
    ui.Close(p);
  }
}

TEST_F(OpenPlannerTest, ClosingRepaintsTheMonthViewAndEmptiesTheSlot) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Lunch");
  ui.Paint(frame().view());
  ASSERT_FALSE(Record(frame().view()).needsPaint);
  Key(p, kVkEscape);
  EXPECT_TRUE(Record(frame().view()).needsPaint) << "its marks of days with entries change";
  EXPECT_EQ(app.ctx.planners[0], nullptr);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), "Lunch");
  EXPECT_EQ(CountAlive("AppointBook2"), 0);
}

TEST_F(OpenPlannerTest, ProgramEndClosesEveryPlannerWithItsLine) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Before exit");
  Open(2000, 3, 16);
  application->Exit();
  ui.Pump();
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), "Before exit");
  EXPECT_EQ(CountAlive("AppointBook2"), 0);
}

TEST_F(OpenPlannerTest, ATooTallPlannerAsksForASmallerFont) {
  ui.SetScreenSize({1024, 300});
  app.boxes.Expect(
      "Please select a smaller font - this will allow the day planner to fit on your screen.");
  FontRecord small = FontRecord::DefaultMain();
  small.height = -6;
  ui.AnswerFont(small);
  AppointBook2& p = Open(2000, 3, 15);
  EXPECT_EQ(p.font()->record().height, -6);
  EXPECT_EQ(Record(p).rect.left, 10);
  EXPECT_EQ(Record(p).rect.top, 10);
  EXPECT_EQ(Record(p).rect.Height(), frame().borderHeight() + 22 * (6 + 3 + 4));
}

TEST_F(OpenPlannerTest, ATooTallPlannerKeepsItsFontWhenTheChoiceIsCancelled) {
  ui.SetScreenSize({1024, 300});
  app.boxes.Expect(
      "Please select a smaller font - this will allow the day planner to fit on your screen.");
  AppointBook2& p = Open(2000, 3, 15);
  EXPECT_EQ(p.font()->record().height, -13);
  EXPECT_EQ(Record(p).rect.Height(), frame().borderHeight() + 22 * 20);
}

}  // namespace
}  // namespace vesk::test
