// A lone quote character typed on a new line continues the entry before it.
#include <string>

#include "calendar/local_time.h"
#include "planner/planner_fixture.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/repeat_rules.h"

namespace vesk::test {
namespace {

class ContinuationTest : public PlannerTest {
 protected:
  void SetUp() override {
    Start();
    app.ctx.options.early = 10;
    planner = &Open(2000, 3, 15);
    ui.VScroll(*planner, kSbThumbPosition, 11);  // first hour 10: noon is row 2
    Paint(*planner);
  }
  // Types on the line of an hour of the day and leaves it with Enter.
  void TypeAt(int hour, int minute, std::string_view text) {
    ClickLine(*planner, hour - planner->firstHour(), minute == 0);
    Type(*planner, text);
    Key(*planner, kVkReturn);
  }
  AppointBook2* planner = nullptr;
};

TEST_F(ContinuationTest, LunchContinuesOverTheFollowingLines) {
  ClickLine(*planner, 2, true);
  Type(*planner, "Lunch");
  ClickLine(*planner, 4, true);  // 2:00pm
  const CPlannerEntry* lunch = At(2000, 3, 15, 12, 0);
  ASSERT_NE(lunch, nullptr);
  EXPECT_EQ(lunch->notes, "Lunch");
  EXPECT_EQ(lunch->reminder, 1);
  EXPECT_EQ(lunch->early, 10);

  TypeAt(12, 30, "'");
  const CPlannerEntry* half = At(2000, 3, 15, 12, 30);
  ASSERT_NE(half, nullptr);
  EXPECT_EQ(half->notes, "Lunch (continued)");
  EXPECT_EQ(half->reminder, 0);
  EXPECT_EQ(half->early, -1);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 12, 30), "Lunch (continued)");
  EXPECT_EQ(StoredInt(2000, 3, 15, 12, 30, "reminder"), 0);
  EXPECT_EQ(StoredInt(2000, 3, 15, 12, 30, "early"), -1);
  EXPECT_EQ(half->until, lunch->until + 1800);

  TypeAt(13, 0, "\"");
  const CPlannerEntry* one = At(2000, 3, 15, 13, 0);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->notes, "Lunch (continued)") << "no second \" (continued)\"";
  EXPECT_EQ(one->until, half->until + 1800);
  EXPECT_EQ(StoredInt(2000, 3, 15, 13, 0, "until"), half->until + 1800);
}

TEST_F(ContinuationTest, AQuoteWithNothingToContinueStaysAQuoteWithoutAReminder) {
  app.AddEntry(2000, 3, 15, 13, 0, "Meeting");
  TypeAt(15, 0, "'");  // the latest earlier entry is at 1:00pm, not 2 or 3
  const CPlannerEntry* e = At(2000, 3, 15, 15, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->notes, "'");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 15, 0), "'");
  // What the entry holds is what is stored: a continuation line raises no
  // reminder, neither now nor after the next start.
  EXPECT_EQ(e->reminder, 0);
  EXPECT_EQ(e->early, -1);
  EXPECT_EQ(StoredInt(2000, 3, 15, 15, 0, "reminder"), 0);
  EXPECT_EQ(StoredInt(2000, 3, 15, 15, 0, "early"), -1);
  EXPECT_EQ(e->timer, 0);
}

TEST_F(ContinuationTest, TheFirstEntryOfTheListHasNothingBeforeIt) {
  TypeAt(10, 0, "\"");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 10, 0), "\"");
  EXPECT_EQ(StoredInt(2000, 3, 15, 10, 0, "reminder"), 0);
}

TEST_F(ContinuationTest, AnEntryOfTheDayBeforeIsNotContinued) {
  app.AddEntry(2000, 3, 14, 12, 0, "Yesterday's lunch");
  TypeAt(12, 30, "'");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 12, 30), "'");
}

TEST_F(ContinuationTest, OnlyALoneQuoteIsADittoMark) {
  app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  TypeAt(12, 30, "''");
  TypeAt(13, 0, "' ");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 12, 30), "''");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 13, 0), "' ");
  EXPECT_EQ(StoredInt(2000, 3, 15, 13, 0, "reminder"), 1);
}

TEST_F(ContinuationTest, ARepeatingEntryIsContinuedOnEveryOccurrence) {
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  gym.SetRepeat(kEveryWeek, "3rd", "every Wednesday", 15);
  gym.until = MakeLocalTime(2000, 4, 5, 18, 0);
  gym.Schedule(true);
  StartRepeat(gym);
  ASSERT_NE(At(2000, 4, 5, 18, 0), nullptr);
  ui.VScroll(*planner, kSbThumbPosition, 14);
  Paint(*planner);
  const int before = Record(*planner).invalidations;
  TypeAt(18, 30, "'");
  for (int d : {15, 22, 29}) {
    const CPlannerEntry* e = At(2000, 3, d, 18, 30);
    ASSERT_NE(e, nullptr) << "March " << d;
    EXPECT_EQ(e->notes, "Gym (continued)");
    EXPECT_EQ(e->repeats, kEveryWeek);
    EXPECT_EQ(e->early, -1) << "no occurrence of a continued line reminds";
  }
  ASSERT_NE(At(2000, 4, 5, 18, 30), nullptr);
  EXPECT_EQ(StoredNotes(2000, 4, 5, 18, 30), "Gym (continued)");
  EXPECT_GT(Record(*planner).invalidations, before);
  const std::vector<CanvasOp> ops = Paint(*planner);
  EXPECT_GE(
      std::count_if(ops.begin(), ops.end(), [](const CanvasOp& op) { return op.text == "+"; }), 2)
      << "both lines carry the repeat mark";
}

}  // namespace
}  // namespace vesk::test
