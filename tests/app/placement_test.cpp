// Where and how large the main window is placed, and how its position is saved.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/options_store.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using PlacementTest = AppTest;

void SetOptions(AppContext& ctx, int minatstart, int ontop) {
  Options o;
  o.minatstart = minatstart;
  o.ontop = ontop;
  SaveOptions(ctx.store, o);
}

WindowPos SavedPosition(AppContext& ctx) { return ctx.store.LoadWindowPos(kPositionSection); }

TEST_F(PlacementTest, TheClientAreaIsTheCalendarPlusFourAndTheViewFillsIt) {
  MarkNotFirstRun();
  Start();
  const Size calendar = CalendarSize();
  ASSERT_GT(calendar.cx, 0);
  const Rect client = frame().ClientRect();
  EXPECT_EQ(client.Width(), calendar.cx + 4);
  EXPECT_EQ(client.Height(), calendar.cy + 4);
  EXPECT_EQ(frame().view().ClientRect(), client);
  // The frame around the client: borders, caption and menu bar.
  EXPECT_EQ(frame().borderWidth(), 2 * kHeadlessBorder + 4);
  EXPECT_EQ(frame().borderHeight(), kHeadlessCaption + kHeadlessMenuBar + kHeadlessBorder + 4);
  EXPECT_EQ(frameRecord().rect.Width(), calendar.cx + frame().borderWidth());
}

struct SavedPlace {
  int left, top;
  Point placed;
};

class SavedPlaceTest : public AppTest, public ::testing::WithParamInterface<SavedPlace> {};

TEST_P(SavedPlaceTest, ASavedPositionTooNearTheFarEdgesOrNegativeLoadsAsTen) {
  MarkNotFirstRun();
  app.ctx.store.SaveWindowPos(kPositionSection, GetParam().left, GetParam().top);
  Start();  // the screen is 1024 x 768
  const Rect r = frameRecord().rect;
  EXPECT_EQ((Point{r.left, r.top}), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SavedPlaceTest,
    ::testing::Values(SavedPlace{5000, 100, {10, 100}}, SavedPlace{200, 5000, {200, 10}},
                      SavedPlace{-1, -20, {10, 10}}, SavedPlace{974, 718, {974, 718}},
                      SavedPlace{975, 719, {10, 10}}, SavedPlace{0, 0, {0, 0}}));

TEST_F(PlacementTest, MinAtStartStartsMinimisedAtTheSavedPositionWithOrWithoutATray) {
  for (bool tray : {true, false}) {
    SCOPED_TRACE(tray);
    ui.SetTrayAvailable(tray);
    MarkNotFirstRun();
    SetOptions(app.ctx, 1, 0);
    app.ctx.store.SaveWindowPos(kPositionSection, 200, 150);
    Start();
    EXPECT_EQ(frameRecord().rect.left, 200);
    EXPECT_EQ(frameRecord().rect.top, 150);
    EXPECT_TRUE(frameRecord().minimized);

    // The tray's click, or another start of the program, brings it back there.
    if (tray) {
      ui.TrayLeftDown();
    } else {
      frame().ComeForward();
    }
    EXPECT_FALSE(frameRecord().minimized);
    EXPECT_EQ(frameRecord().rect.left, 200);
    EXPECT_EQ(frameRecord().rect.top, 150);
    application.reset();
  }
}

TEST_F(PlacementTest, OnTopDecidesWhetherTheFrameStaysTopmost) {
  for (int ontop : {0, 1}) {
    SCOPED_TRACE(ontop);
    MarkNotFirstRun();
    SetOptions(app.ctx, 0, ontop);
    Start();
    EXPECT_EQ(frameRecord().topmost, ontop == 1);
    application.reset();
  }
}

TEST_F(PlacementTest, TheFirstThreeMovesAreNotSaved) {
  MarkNotFirstRun();
  Start();
  const Size size{frameRecord().rect.Width(), frameRecord().rect.Height()};
  const auto moveTo = [&](int left, int top) {
    ui.MoveWindow(frame(), Rect::FromSize(left, top, size.cx, size.cy));
  };
  for (int i = 1; i <= 3; ++i) moveTo(100 * i, 50 * i);
  EXPECT_FALSE(SavedPosition(app.ctx).topRead);

  moveTo(300, 200);
  EXPECT_EQ(std::pair(SavedPosition(app.ctx).left, SavedPosition(app.ctx).top),
            std::pair(300, 200));
}

TEST_F(PlacementTest, MovesOffTheScreenSaveZero) {
  MarkNotFirstRun();
  Start();
  const auto moveTo = [&](int left, int top) {
    ui.MoveWindow(frame(), Rect::FromSize(left, top, 100, 100));
    const WindowPos saved = SavedPosition(app.ctx);
    return std::pair(saved.left, saved.top);
  };
  for (int i = 0; i < 3; ++i) moveTo(1, 1);
  EXPECT_EQ(moveTo(1025, 769), std::pair(0, 0));
  EXPECT_EQ(moveTo(-3, -4), std::pair(0, 0));
  EXPECT_EQ(moveTo(1024, 768), std::pair(1024, 768));
}

TEST_F(PlacementTest, ShowMainWindowBringsBackTheCurrentMonth) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kClickSound, "Pick.wav");
  Start();
  ui.Command(frame(), res::kIdHide);
  EXPECT_FALSE(frameRecord().visible);
  frame().view().StepMonth(5);

  ui.TrayLeftDown();
  EXPECT_TRUE(frameRecord().visible);
  EXPECT_EQ(ui.ActiveWindow(), &frame());
  EXPECT_EQ(frame().view().displayedMonth(), 3);
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{"Pick.wav"});
}

}  // namespace
}  // namespace vesk::test
