// Moving the selection: keys and wheel in the editor, the scroll bar, page
// keys, clicks, and the edges of the day.
#include <string>
#include <vector>

#include "planner/planner_fixture.h"
#include "store/app_context.h"

namespace vesk::test {
namespace {

class NavigationTest : public PlannerTest {
 protected:
  void SetUp() override {
    Start();
    planner = &Open(2000, 3, 15);
  }
  // Shows first hour `first` with the editor on the line of an hour.
  void Show(int first, int hour, bool onHour) {
    ui.VScroll(*planner, kSbThumbPosition, first + 1);
    Paint(*planner);
    ASSERT_EQ(planner->firstHour(), first);
    ClickLine(*planner, hour - first, onHour);
  }
  int ScrollPos() const { return Record(*planner).scrollPos; }
  AppointBook2* planner = nullptr;
};

TEST_F(NavigationTest, OpensAtEightWithTheTopLineSelected) {
  EXPECT_EQ(planner->firstHour(), 8);
  EXPECT_EQ(Selected(*planner), "8:00");
  EXPECT_EQ(ScrollPos(), 9);
  EXPECT_EQ(Record(*planner).scrollMin, 1);
  EXPECT_EQ(Record(*planner).scrollMax, 24);
  EXPECT_EQ(Record(*planner).scrollPage, 11);
  EXPECT_EQ(ui.Focus(), planner->editor()) << "the editor has the focus once painted";
}

TEST_F(NavigationTest, MovementKeysWalkTheLines) {
  struct Step {
    int key;
    const char* selected;
  };
  const std::vector<Step> steps{
      {kVkTab, "8:30"}, {kVkReturn, "9:00"}, {kVkDown, "9:30"},
      {kVkUp, "9:00"},  {kVkUp, "8:30"},     {kVkUp, "8:00"},
  };
  for (const Step& s : steps) {
    Key(*planner, s.key);
    EXPECT_EQ(Selected(*planner), s.selected) << "key " << s.key;
  }
  EXPECT_EQ(Editor(*planner).Text(), "") << "Tab and Enter insert nothing";
}

TEST_F(NavigationTest, DownAtTheBottomScrollsOneHour) {
  Show(8, 18, false);  // 6:30pm on the bottom row
  Key(*planner, kVkDown);
  EXPECT_EQ(planner->firstHour(), 9);
  EXPECT_EQ(Selected(*planner), "19:00");
  EXPECT_EQ(ScrollPos(), 10);
  EXPECT_EQ(Record(*planner).scrolls.back(), -2 * planner->metrics().lineHeight);
}

TEST_F(NavigationTest, DownOnTheLastLineOfTheDayDoesNothing) {
  Show(13, 23, false);
  Type(*planner, "Late");
  Key(*planner, kVkDown);
  Key(*planner, kVkTab);
  Key(*planner, kVkReturn);
  EXPECT_EQ(planner->firstHour(), 13);
  EXPECT_EQ(Selected(*planner), "23:30");
  EXPECT_EQ(Editor(*planner).Text(), "Late") << "nothing inserted";
  EXPECT_EQ(StoredNotes(2000, 3, 15, 23, 30), std::nullopt) << "the line was not left";
}

TEST_F(NavigationTest, UpAtTheTopScrollsOneHourUntilMidnight) {
  Key(*planner, kVkUp);  // 8:00am at the top
  EXPECT_EQ(planner->firstHour(), 7);
  EXPECT_EQ(Selected(*planner), "7:30");
  EXPECT_EQ(Record(*planner).scrolls.back(), 2 * planner->metrics().lineHeight);
  Show(0, 0, true);
  Key(*planner, kVkUp);
  EXPECT_EQ(planner->firstHour(), 0);
  EXPECT_EQ(Selected(*planner), "0:00");
}

TEST_F(NavigationTest, EachWheelMessageMovesOneLine) {
  for (int i = 0; i < 3; ++i) ui.Wheel(*planner, -120);
  EXPECT_EQ(Selected(*planner), "9:30");
  ui.Wheel(*planner, 360);  // one message, however large
  EXPECT_EQ(Selected(*planner), "9:00");
}

TEST_F(NavigationTest, PageKeysStopAtZeroEightAndThirteen) {
  Show(0, 0, true);
  std::vector<int> firsts;
  for (int i = 0; i < 3; ++i) {
    Key(*planner, kVkNext);
    firsts.push_back(planner->firstHour());
  }
  for (int i = 0; i < 2; ++i) {
    Key(*planner, kVkPrior);
    firsts.push_back(planner->firstHour());
  }
  EXPECT_EQ(firsts, (std::vector<int>{8, 13, 13, 8, 0}));
}

TEST_F(NavigationTest, PageKeysReachingTheWindowItselfScrollToo) {
  ui.VScroll(*planner, kSbThumbTrack, 4);  // leaves the window without an editor
  ASSERT_EQ(planner->editor(), nullptr);
  ASSERT_EQ(ui.Focus(), planner);
  Key(*planner, kVkNext);
  EXPECT_EQ(planner->firstHour(), 13);
  Paint(*planner);
  EXPECT_EQ(Selected(*planner), "13:00") << "the repaint selects the top line";
}

TEST_F(NavigationTest, ScrollBarLinesStopAtTheEnds) {
  Show(0, 3, true);
  ui.VScroll(*planner, kSbLineUp, 0);
  EXPECT_EQ(planner->firstHour(), 0);
  EXPECT_TRUE(Record(*planner).scrolls.empty()) << "nothing to scroll above midnight";
  Show(13, 13, true);
  ui.VScroll(*planner, kSbLineDown, 0);
  EXPECT_EQ(planner->firstHour(), 13);
  EXPECT_EQ(ScrollPos(), 14);
}

TEST_F(NavigationTest, TheThumbMovesTheRowsOnlyWhenReleased) {
  ui.VScroll(*planner, kSbThumbTrack, 3);
  ui.VScroll(*planner, kSbThumbTrack, 5);
  EXPECT_EQ(planner->firstHour(), 8);
  EXPECT_EQ(ScrollPos(), 9);
  ui.VScroll(*planner, kSbThumbPosition, 5);
  EXPECT_EQ(planner->firstHour(), 4);
  EXPECT_EQ(ScrollPos(), 5);
  ui.VScroll(*planner, kSbEndScroll, 0);
  EXPECT_EQ(planner->firstHour(), 4);
}

TEST_F(NavigationTest, AScrollThatMovesNothingStillLeavesALineSelectedAfterTheRepaint) {
  ClickLine(*planner, 5, false);
  Type(*planner, "Call");
  ui.VScroll(*planner, kSbThumbTrack, 3);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 13, 30), "Call");
  EXPECT_TRUE(Record(*planner).needsPaint);
  Paint(*planner);
  EXPECT_EQ(Selected(*planner), "8:00");
}

TEST_F(NavigationTest, ClicksSelectLinesAndTimeLabels) {
  const PlannerMetrics& m = planner->metrics();
  ui.Click(*planner, {3, 2 * m.lineHeight * 4 + 5});  // the label of row 4
  EXPECT_EQ(Selected(*planner), "12:00");
  ui.Click(*planner, {m.timeWidth + 30, 2 * m.lineHeight * 2 + m.lineHeight + 3});
  EXPECT_EQ(Selected(*planner), "10:30");
  ui.Click(*planner, {1, 5});  // left of every line
  EXPECT_EQ(Selected(*planner), "10:30") << "a miss changes nothing";
}

TEST_F(NavigationTest, APressBelowTheLastRowSelectsNoHiddenLine) {
  Show(13, 13, true);
  const PlannerMetrics& m = planner->metrics();
  const int below = 22 * m.lineHeight + 1;
  ASSERT_LT(below, planner->ClientRect().bottom);
  ui.Click(*planner, {m.timeWidth + 30, below});
  EXPECT_EQ(Selected(*planner), "13:00");
  EXPECT_EQ(planner->selRow(), 0);
}

TEST_F(NavigationTest, TheEditorSitsOverItsLine) {
  ClickLine(*planner, 2, false);
  const PlannerMetrics& m = planner->metrics();
  const Rect line = HalfLine(m, 2, 0);
  const WindowRecord& edit = Record(Editor(*planner));
  EXPECT_EQ(edit.rect, Rect::FromSize(line.left, line.top + 2, m.textWidth - 12, m.lineHeight - 2));
  EXPECT_TRUE(edit.visible);
  EXPECT_EQ(Editor(*planner).controlId(), 16150);
}

}  // namespace
}  // namespace vesk::test
