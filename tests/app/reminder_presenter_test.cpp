// The reminder announcement of the desktop program.
#include "app/reminder_presenter.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/sounds.h"

namespace vesk::test {
namespace {

TEST(ReminderCaptionTest, TwelveHourCaptions) {
  struct Row {
    int hour, minute;
    bool dayEarly;
    const char* caption;
  };
  for (const Row& row :
       {Row{9, 5, false, "VeskCal - 9:05am"}, Row{13, 30, false, "VeskCal - 1:30pm"},
        Row{12, 0, false, "VeskCal - 12:00pm"}, Row{0, 15, false, "VeskCal - 0:15am"},
        Row{10, 10, false, "VeskCal - 10:10am"}, Row{23, 59, false, "VeskCal - 11:59pm"},
        Row{9, 5, true, "Tomorrow"}, Row{-1, 0, false, "VeskCal"}}) {
    EXPECT_EQ(ReminderCaption(row.hour, row.minute, row.dayEarly), row.caption);
  }
}

using ReminderPresenterTest = AppTest;

TEST_F(ReminderPresenterTest, ADueReminderActivatesTheFrameAndShowsTheEntry) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kReminderSound, "Ring.wav");
  Start();
  app.AddEntry(2000, 3, 15, 13, 30, "Dentist");
  ui.Command(frame(), res::kIdHide);
  FakeCalendarWindow other(ui, "ToDo");
  WindowSpec spec;
  spec.visible = true;
  ASSERT_TRUE(other.Create(spec));

  app.boxes.Expect("Dentist");
  app.clock.Advance((5 * 60 + 28) * 60 * 1000);  // 13:28, two minutes early
  ASSERT_EQ(app.boxes.shown().size(), 1u);
  EXPECT_EQ(app.boxes.shown()[0].caption, "VeskCal - 1:30pm");
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{"Ring.wav"});
  EXPECT_EQ(ui.ActiveWindow(), &frame());
}

TEST_F(ReminderPresenterTest, TheAppLeavesNoPresenterBehind) {
  MarkNotFirstRun();
  Start();
  EXPECT_NE(app.ctx.presenter, &app.presenter);
  application.reset();
  EXPECT_EQ(app.ctx.presenter, nullptr);
}

}  // namespace
}  // namespace vesk::test
