#include "platform/headless/virtual_clock.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

struct Fired {
  int id;
  std::int64_t atMs;
  bool operator==(const Fired&) const = default;
};

class VirtualClockTest : public testing::Test {
 protected:
  static constexpr std::int64_t kStart = 1000000;  // seconds

  // A callback that records when it ran and, for one-shot use, kills itself.
  Timers::Callback Record(bool oneShot = true) {
    return [this, oneShot](int id) {
      fired.push_back({id, clock.NowMs() - kStart * 1000});
      if (oneShot) clock.KillTimer(id);
    };
  }

  VirtualClock clock{kStart};
  std::vector<Fired> fired;
};

TEST_F(VirtualClockTest, FiresDueTimersInTimeOrderEachAtItsOwnTime) {
  EXPECT_EQ(clock.SetTimer(3, 500, Record()), 3);
  EXPECT_EQ(clock.SetTimer(1, 100, Record()), 1);
  EXPECT_EQ(clock.SetTimer(2, 300, Record()), 2);
  EXPECT_EQ(clock.SetTimer(4, 2000, Record()), 4);
  clock.Advance(1000);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 100}, {2, 300}, {3, 500}}));
  EXPECT_EQ(clock.NowMs(), kStart * 1000 + 1000);
  EXPECT_EQ(clock.Now(), kStart + 1);
  EXPECT_EQ(clock.ArmedIds(), (std::vector<int>{4}));
  EXPECT_EQ(clock.RemainingMs(4), 1000);
}

TEST_F(VirtualClockTest, EqualDueTimesFireInArmingOrder) {
  clock.SetTimer(9, 100, Record());
  clock.SetTimer(5, 100, Record());
  clock.SetTimer(7, 100, Record());
  clock.Advance(100);
  EXPECT_EQ(fired, (std::vector<Fired>{{9, 100}, {5, 100}, {7, 100}}));
}

TEST_F(VirtualClockTest, ATimerRepeatsWithItsPeriodUntilKilled) {
  clock.SetTimer(7, 250, Record(false));
  clock.Advance(1000);
  EXPECT_EQ(fired, (std::vector<Fired>{{7, 250}, {7, 500}, {7, 750}, {7, 1000}}));
  EXPECT_TRUE(clock.IsArmed(7));
  EXPECT_EQ(clock.RemainingMs(7), 250);
  EXPECT_EQ(clock.PeriodMs(7), 250u);
  clock.KillTimer(7);
  clock.Advance(1000);
  EXPECT_EQ(fired.size(), 4u);
  EXPECT_EQ(clock.RemainingMs(7), -1);
}

TEST_F(VirtualClockTest, ACallbackMaySetAndKillTimersIncludingItself) {
  // Timer 1 replaces itself with a slower period and arms timer 2, due at the
  // same time as timer 3, which was armed earlier and so goes first.
  clock.SetTimer(1, 100, [this](int id) {
    fired.push_back({id, clock.NowMs() - kStart * 1000});
    if (fired.size() == 1) {
      clock.SetTimer(1, 400, Record(false));
      clock.SetTimer(2, 50, Record());
    }
  });
  clock.SetTimer(3, 150, Record());
  clock.Advance(1000);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 100}, {3, 150}, {2, 150}, {1, 500}, {1, 900}}));

  // A callback kills another timer due at the same moment: it does not fire.
  fired.clear();
  clock.SetTimer(4, 100, [this](int) { clock.KillTimer(5); });
  clock.SetTimer(5, 100, Record());
  clock.KillTimer(1);
  clock.Advance(100);
  EXPECT_TRUE(fired.empty());
  EXPECT_FALSE(clock.IsArmed(5));
}

TEST_F(VirtualClockTest, SettingAnArmedIdReplacesIt) {
  clock.SetTimer(1, 100, Record());
  clock.Advance(50);
  clock.SetTimer(1, 100, Record());
  clock.Advance(99);
  EXPECT_TRUE(fired.empty());
  clock.Advance(1);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 150}}));
}

TEST_F(VirtualClockTest, PauseMovesTheClockWithoutFiringAndIsRecorded) {
  clock.SetTimer(1, 100, Record());
  clock.Pause(1000);
  clock.Pause(1500);
  EXPECT_EQ(clock.pauses(), (std::vector<int>{1000, 1500}));
  EXPECT_TRUE(fired.empty());
  EXPECT_EQ(clock.NowMs(), kStart * 1000 + 2500);
  EXPECT_EQ(clock.RemainingMs(1), 0);
  // The overdue timer fires at the next advance, without time going back.
  clock.Advance(0);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 2500}}));
}

TEST_F(VirtualClockTest, PeriodZeroFiresAtTheNextAdvance) {
  clock.SetTimer(1, 0, Record(false));
  EXPECT_EQ(clock.RemainingMs(1), 0);
  clock.Advance(0);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 0}}));
  // Left armed, it repeats but never without time passing.
  clock.Advance(25);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 0}, {1, 10}, {1, 20}}));
}

TEST_F(VirtualClockTest, FailNextSetTimerReturnsZeroAndArmsNothing) {
  clock.FailNextSetTimer(2);
  EXPECT_EQ(clock.SetTimer(3, 100, Record()), 0);
  EXPECT_EQ(clock.SetTimer(4, 100, Record()), 0);
  EXPECT_EQ(clock.SetTimer(5, 100, Record()), 5);
  EXPECT_EQ(clock.ArmedIds(), (std::vector<int>{5}));
}

TEST_F(VirtualClockTest, SetNowMovesTheClockWithoutFiring) {
  clock.SetTimer(1, 100, Record());
  clock.SetNow(kStart + 3600);
  EXPECT_EQ(clock.Now(), kStart + 3600);
  EXPECT_TRUE(fired.empty());
  clock.KillTimer(42);  // not armed: nothing happens
  EXPECT_EQ(clock.ArmedIds(), (std::vector<int>{1}));
}

TEST_F(VirtualClockTest, TimersRunOnTheMonotonicClockThroughSleepAndClockChanges) {
  clock.SetTimer(1, 60000, Record());
  int resumed = 0;
  clock.SetResumeHandler([&] {
    ++resumed;
    EXPECT_EQ(clock.Now(), kStart + 3600);  // awake, the wall clock already moved on
  });
  clock.Suspend(3600 * 1000);
  EXPECT_EQ(resumed, 1);
  EXPECT_EQ(clock.MonotonicMs(), 0);
  EXPECT_EQ(clock.RemainingMs(1), 60000);
  EXPECT_TRUE(fired.empty());

  clock.SetNow(kStart);  // the clock set back: the timer keeps its time
  clock.Suspend(1000, false);
  EXPECT_EQ(resumed, 1);
  EXPECT_EQ(clock.RemainingMs(1), 60000);
  clock.Advance(60000);
  EXPECT_EQ(fired, (std::vector<Fired>{{1, 61000}}));
  EXPECT_EQ(clock.MonotonicMs(), 60000);
}

}  // namespace
}  // namespace vesk
