// The reminder pop-up: its texts, size, place in the cascade, painting and end.
#include "reminders/reminder_wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_notifier.h"
#include "platform/headless/headless_ui.h"
#include "res/command_ids.h"
#include "store/registry_store.h"
#include "store/sounds.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr Color kEven = Rgb(255, 255, 0);
constexpr Color kOdd = Rgb(255, 255, 128);
constexpr Color kFore = Rgb(0, 0, 128);
// The main font in the twin: 7 pixels a character, 16-pixel lines.
constexpr int kCharWidth = 7;
constexpr int kLine = 16;

TEST(ReminderContentTest, CaptionsHeadersAndBackgrounds) {
  struct Row {
    ReminderNotice notice;
    const char* caption;
    const char* header;
  };
  const Row rows[] = {
      {{.hour = 9, .minute = 5}, "VeskCal - 9:05am", " Reminder:"},
      {{.hour = 13, .minute = 30}, "VeskCal - 1:30pm", " Reminder:"},
      {{.hour = 12, .minute = 0}, "VeskCal - 12:00pm", " Reminder:"},
      {{.hour = 0, .minute = 15}, "VeskCal - 0:15am", " Reminder:"},
      {{.hour = 10, .minute = 10}, "VeskCal - 10:10am", " Reminder:"},
      {{.hour = 23, .minute = 59}, "VeskCal - 11:59pm", " Reminder:"},
      {{.hour = 9, .minute = 5, .dayEarly = true}, "Tomorrow", " Reminder:"},
      {{.hour = 9, .minute = 5, .late = true}, "VeskCal - 9:05am", " Reminder (late):"},
      {{.hour = -1, .text = "Tea"}, "VeskCal", " Timer Expired:"},
  };
  for (const Row& row : rows) {
    const ReminderContent c = ContentOf(row.notice);
    EXPECT_EQ(c.caption, row.caption);
    EXPECT_EQ(c.header, row.header) << row.caption;
    EXPECT_EQ(c.hour, row.notice.hour);
    EXPECT_EQ(c.lines, std::vector<std::string>{row.notice.text});
  }
}

TEST(ReminderContentTest, MissedRemindersAreOneLineEach) {
  const std::vector<ReminderNotice> missed{{.hour = 21, .minute = 45, .text = "Call"},
                                           {.hour = 7, .minute = 5, .text = "Gym"}};
  const ReminderContent twelve = MissedContent(missed, false);
  EXPECT_EQ(twelve.caption, "Missed reminders");
  EXPECT_EQ(twelve.lines, (std::vector<std::string>{"9:45pm  Call", "7:05am  Gym"}));
  EXPECT_EQ(twelve.hour, -1);
  EXPECT_EQ(MissedContent(missed, true).lines,
            (std::vector<std::string>{"21:45  Call", "7:05  Gym"}));

  // Twenty fit; more end in a count of the rest.
  for (const std::size_t count : {std::size_t{20}, std::size_t{21}, std::size_t{45}}) {
    const std::vector<ReminderNotice> many(count, {.hour = 9, .text = "x"});
    const std::vector<std::string> lines = MissedContent(many, false).lines;
    ASSERT_EQ(lines.size(), 20u) << count;
    EXPECT_EQ(lines.back(),
              count == 20 ? "9:00am  x" : "and " + std::to_string(count - 19) + " more");
  }
}

class ReminderWndTest : public ::testing::Test {
 protected:
  ReminderWndTest() {
    app.ctx.ui = &ui;
    WindowSpec spec;
    spec.visible = true;
    owner.Create(spec);
  }
  void TearDown() override {
    ExpectScriptDone(app.boxes);
    for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
  }

  PopupLooks Looks() { return {&owner, mainFont.get(), &colors}; }
  ReminderWnd* Show(int hour, std::string text) {
    return ShowReminder(app.ctx, Looks(), ContentOf({.hour = hour, .text = std::move(text)}));
  }
  static Rect Outer(const Window& w) { return HeadlessUi::Record(w)->rect; }

  TestApp app;
  HeadlessUi ui{app.boxes};
  Window owner{ui};
  std::unique_ptr<Font> mainFont = ui.CreateFont(FontRecord::DefaultMain());
  ColorSet colors{.fore = kFore, .dayplan1 = kEven, .dayplan2 = kOdd};
};

TEST_F(ReminderWndTest, AShortTextGetsTheNarrowestWindowWithTheTextCentred) {
  ReminderWnd* popup = Show(9, "Dentist");
  ASSERT_NE(popup, nullptr);
  const WindowRecord& r = *HeadlessUi::Record(*popup);
  EXPECT_EQ(r.title, "VeskCal - 9:00am");
  EXPECT_EQ(r.rect, Rect::FromSize(50, 70, 260, 2 * kLine + 77));
  EXPECT_TRUE(r.visible);
  EXPECT_TRUE(r.topmost);
  EXPECT_EQ(r.icon, res::kIconReminder);
  EXPECT_TRUE(r.style.caption && r.style.systemMenu && r.style.independent);
  EXPECT_FALSE(r.style.minimizeBox || r.style.sizing);
  EXPECT_EQ(popup->owner(), &owner);
  EXPECT_EQ(popup->RuntimeClass(), "ReminderWnd");
  EXPECT_EQ(popup->textWidth(), 7 * kCharWidth);
  EXPECT_EQ(popup->windowWidth(), 250);

  const std::vector<CanvasOp> ops = ui.Paint(*popup);
  EXPECT_NE(TextAt(ops, {1, 10}), nullptr);
  EXPECT_EQ(TextAt(ops, {1, 10})->text, " Reminder:");
  ASSERT_NE(TextAt(ops, {(250 - 7 * kCharWidth) / 2, kLine + 14}), nullptr);
  EXPECT_EQ(TextAt(ops, {(250 - 7 * kCharWidth) / 2, kLine + 14})->text, "Dentist");
}

TEST_F(ReminderWndTest, AnOverWideTextGetsItsWidthAndStartsTheCascadeAtTheLeft) {
  ASSERT_NE(Show(9, "first"), nullptr);  // the cascade moves to 75, 95
  ReminderWnd* wide = Show(9, std::string(200, 'w'));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->windowWidth(), 200 * kCharWidth + 20);
  EXPECT_EQ(Outer(*wide), Rect::FromSize(50, 95, 200 * kCharWidth + 30, 2 * kLine + 77));
  EXPECT_EQ(app.ctx.reminderCascade, (Point{75, 120}));
}

TEST_F(ReminderWndTest, ElevenPopUpsCascadeAndTheTopStartsAgain) {
  std::vector<Point> corners;
  for (int i = 0; i < 11; ++i) {
    const Rect r = Outer(*Show(9, "x"));
    corners.push_back({r.left, r.top});
  }
  for (int i = 0; i < 10; ++i) EXPECT_EQ(corners[i], (Point{50 + 25 * i, 70 + 25 * i})) << i;
  EXPECT_EQ(corners[10], (Point{300, 70}));
  EXPECT_EQ(ui.Windows().size(), 12u);  // the owner and eleven pop-ups, none modal
}

TEST_F(ReminderWndTest, TheLeftStartsAgainOnlyWhenTheNextWindowWouldLeaveTheScreen) {
  struct Row {
    int screenWidth;
    std::vector<int> lefts;
  };
  // 260-pixel windows: the left returns to 50 once left + 260 passes the width.
  const Row rows[] = {{1024, {50, 75, 100, 125, 150, 175}},
                      {410, {50, 75, 100, 125, 150, 50}},
                      {400, {50, 75, 100, 125, 50, 75}}};
  for (const Row& row : rows) {
    app.ctx.reminderCascade = {50, 70};
    ui.SetScreenSize({row.screenWidth, 768});
    std::vector<int> lefts;
    for (std::size_t i = 0; i < row.lefts.size(); ++i) lefts.push_back(Outer(*Show(9, "x")).left);
    EXPECT_EQ(lefts, row.lefts) << row.screenWidth;
  }
}

TEST_F(ReminderWndTest, TheBackgroundFollowsTheHoursParityAndTheCountdownIsOdd) {
  struct Row {
    int hour;
    Color fill;
    const char* header;
  };
  for (const Row& row :
       {Row{0, kEven, " Reminder:"}, Row{9, kOdd, " Reminder:"}, Row{22, kEven, " Reminder:"},
        Row{23, kOdd, " Reminder:"}, Row{-1, kOdd, " Timer Expired:"}}) {
    ReminderWnd* popup = Show(row.hour, "Tea");
    const std::vector<CanvasOp> ops = ui.Paint(*popup);
    const CanvasOp* fill = FillAt(ops, {1599, 1599});
    ASSERT_NE(fill, nullptr) << row.hour;
    EXPECT_EQ(fill->color, row.fill) << row.hour;
    EXPECT_EQ(FindText(ops, row.header)->color, kFore) << row.hour;
    EXPECT_EQ(FindText(ops, "Tea")->color, kFore) << row.hour;
  }
}

TEST_F(ReminderWndTest, EveryPaintPlaysTheReminderSound) {
  ReminderWnd* popup = Show(9, "Dentist");
  ui.Paint(*popup);
  ui.Paint(*popup);
  EXPECT_EQ(ui.beeps(), 2);  // no sound chosen: the default beep
  WriteSound(app.ctx.store, kReminderSound, "Ring.wav");
  ui.Paint(*popup);
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{"Ring.wav"});
}

TEST_F(ReminderWndTest, TheFontIsFont2ElseACopyOfTheMainFontElseTheDefault) {
  const ReminderWnd* plain = Show(9, "abc");
  ASSERT_NE(plain->font(), nullptr);
  EXPECT_NE(plain->font(), mainFont.get());
  EXPECT_EQ(plain->font()->record(), FontRecord::DefaultMain());

  mainFont.reset();
  const ReminderWnd* bare = Show(9, "abc");
  EXPECT_EQ(bare->font(), nullptr);
  EXPECT_EQ(bare->textWidth(), 3 * 8);  // the screen's default font

  FontRecord second = FontRecord::DefaultMain();
  second.faceName = "DejaVu Sans";
  second.height = -20;
  app.ctx.store.SaveFont("font2", second.ToBytes());
  ReminderWnd* own = Show(9, "abc");
  ASSERT_NE(own->font(), nullptr);
  EXPECT_EQ(own->font()->record(), second);
  EXPECT_EQ(own->textWidth(), 3 * 10);
  EXPECT_EQ(Outer(*own).Height(), 2 * 23 + 77);
}

TEST_F(ReminderWndTest, AListOfLinesIsOneBlockUnderTheHeader) {
  ReminderWnd* popup = ShowReminder(
      app.ctx, Looks(),
      MissedContent({{.hour = 9, .minute = 5, .text = "Dentist"}, {.hour = 21, .text = "Call"}},
                    false));
  EXPECT_EQ(HeadlessUi::Record(*popup)->title, "Missed reminders");
  const int width = 15 * kCharWidth;  // "9:05am  Dentist"
  EXPECT_EQ(popup->textWidth(), width);
  EXPECT_EQ(Outer(*popup).Height(), 3 * kLine + 77);
  const std::vector<CanvasOp> ops = ui.Paint(*popup);
  const int x = (250 - width) / 2;
  EXPECT_EQ(TextAt(ops, {x, kLine + 14})->text, "9:05am  Dentist");
  EXPECT_EQ(TextAt(ops, {x, 2 * kLine + 14})->text, "9:00pm  Call");
  EXPECT_EQ(FillAt(ops, {5, 5})->color, kOdd);
}

TEST_F(ReminderWndTest, EscOrTheCloseBoxEndsThePopUpAndItsNotification) {
  HeadlessNotifier notifier;
  ReminderWnd* first = Show(9, "one");
  first->SetNotification(&notifier, notifier.Notify({"one", "", {}}));
  ReminderWnd* second = Show(9, "two");
  ui.Key(*second, 'A');
  EXPECT_EQ(ui.Windows().size(), 3u);
  ui.Key(*second, kVkEscape);
  ui.Close(*first);
  EXPECT_EQ(ui.Windows(), std::vector<Window*>{&owner});
  EXPECT_TRUE(notifier.sent()[0].withdrawn);
}

TEST_F(ReminderWndTest, PopUpsGoWithTheirOwner) {
  Show(9, "one");
  Show(10, "two");
  owner.Destroy();
  EXPECT_TRUE(ui.Windows().empty());
}

}  // namespace
}  // namespace vesk::test
