// File, Setup, Color and Sound: live colour changes in every window, the
// schemes, OK and Cancel; the sounds dialog's chooser, picks, None, OK, Cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/app_fixture.h"
#include "app/sounds_dialog.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"
#include "store/app_context.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using SetupColorsTest = AppTest;
using SetupSoundsTest = AppTest;

constexpr int kTextButton = 4;
constexpr int kBackgroundButton = 2;
constexpr int kTextSwatch = 1079;
constexpr Color kWhite = Rgb(255, 255, 255);

// The colour the month view's background is filled with.
Color MonthBackground(AppUi& ui, CVeskCalView& view) {
  const std::vector<CanvasOp> ops = ui.Paint(view);
  const CanvasOp* fill = FillAt(ops, {1, 1});
  return fill != nullptr ? fill->color : 0;
}

TEST_F(SetupColorsTest, PicksAreLiveInEveryWindowAndTheChooserKeepsItsTable) {
  MarkNotFirstRun();
  Start();
  CVeskCalView& view = frame().view();
  const ColorSet atOpen = view.colors();
  FakeCalendarWindow planner(ui, "AppointBook2");
  WindowSpec spec;
  spec.visible = true;
  ASSERT_TRUE(planner.Create(spec));
  ui.Paint(planner);

  ui.AnswerColor(Rgb(1, 2, 3));
  ui.ScriptDialog(res::kDlgColors, [&](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().icon(), res::kIconApp);
    EXPECT_EQ(d.controls().Swatch(1081), atOpen.back);
    d.Click(kTextButton);
    EXPECT_EQ(view.colors().fore, Rgb(1, 2, 3));
    EXPECT_EQ(d.controls().Swatch(kTextSwatch), Rgb(1, 2, 3));
    EXPECT_TRUE(HeadlessUi::Record(planner)->needsPaint) << "every open window repaints";
    d.Click(kBackgroundButton);  // the chooser is cancelled: nothing changes
    EXPECT_EQ(view.colors().back, atOpen.back);
    d.Click(kTextButton);
    d.Click(res::kIdColorCancel);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdColor));

  // The table: the eight colours in use at opening, then white; after a pick
  // the button's slot holds its colour as it is now.
  ASSERT_EQ(ui.colorCalls().size(), 3u);
  const std::vector<Color> first = ui.colorCalls()[0];
  EXPECT_EQ(first, (std::vector<Color>{atOpen.fore, atOpen.back, atOpen.currentday,
                                       atOpen.hasappoint, atOpen.dayplan1, atOpen.dayplan2,
                                       atOpen.toplite, atOpen.botlite, kWhite, kWhite, kWhite,
                                       kWhite, kWhite, kWhite, kWhite, kWhite}));
  EXPECT_EQ(ui.colorCalls()[2][0], Rgb(1, 2, 3));
  EXPECT_EQ(ui.colorCalls()[2][1], atOpen.back);
}

// Cancel, Esc and the close box put back what was in use, the month view
// included; OK and Enter keep and store the colours and hand them to dialogs.
TEST_F(SetupColorsTest, CancelRestoresTheColoursInUseAndOkStoresThem) {
  MarkNotFirstRun();
  Start();
  CVeskCalView& view = frame().view();
  ui.Paint(view);  // the first paint has loaded the colours, as on the screen at start
  struct Row {
    const char* name;
    void (*end)(HeadlessDialog&);
    bool kept;
  };
  const Row rows[] = {
      {"Cancel", [](HeadlessDialog& d) { d.Click(res::kIdColorCancel); }, false},
      {"Esc", [](HeadlessDialog& d) { d.PressEscape(); }, false},
      {"OK", [](HeadlessDialog& d) { d.Click(res::kIdColorOk); }, true},
      {"Enter", [](HeadlessDialog& d) { d.PressEnter(); }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    view.colors() = YellowScheme();
    const std::size_t handedOver = ui.dialogColors.size();
    ui.ScriptDialog(res::kDlgColors, [&](HeadlessDialog& d) {
      EXPECT_EQ(LoadColors(app.ctx.store), YellowScheme()) << "stored on opening";
      d.Click(res::kIdGreens);
      EXPECT_EQ(MonthBackground(ui, view), GreenScheme().back);
      d.Click(res::kIdBlues);
      EXPECT_EQ(view.colors().dayplan1, Rgb(0, 255, 0));
      EXPECT_EQ(d.controls().Swatch(1082), Rgb(0, 255, 0));
      EXPECT_EQ(MonthBackground(ui, view), BlueScheme().back);
      row.end(d);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdColor));
    const ColorSet expected = row.kept ? BlueScheme() : YellowScheme();
    EXPECT_EQ(view.colors(), expected);
    EXPECT_EQ(MonthBackground(ui, view), expected.back);
    EXPECT_EQ(LoadColors(app.ctx.store), expected);
    ASSERT_EQ(ui.dialogColors.size(), handedOver + (row.kept ? 1 : 0));
    if (row.kept) {
      EXPECT_EQ(ui.dialogColors.back(), std::make_pair(expected.back, expected.fore));
    }
  }
  EXPECT_EQ(app.registry.QueryValue("SOFTWARE\\Tolvard\\VeskCal\\Colors", "dayplan1"),
            RegValue::FromDword(0x0000FF00));
}

TEST_F(SetupSoundsTest, TheChooserStartsInTheFolderOfThePath) {
  std::ofstream(DataFile("Pick.wav")) << "RIFF";
  struct Row {
    std::string path;
    ChooserStart start;
  };
  const Row rows[] = {
      {"/home/ann/sounds/ring.wav", {"/home/ann/sounds", "ring.wav"}},
      {"sounds/ring.wav", {"sounds", "ring.wav"}},
      {"/ring.wav", {"", "/ring.wav"}},  // no separator after the first character
      {"ring.wav", {"", "ring.wav"}},    // a bare name found nowhere
      {"Pick.wav", {dataDir.string(), "Pick.wav"}},
      {"", {"", ""}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChooserStartFor(app.ctx, row.path), row.start) << row.path;
  }
}

TEST_F(SetupSoundsTest, PicksPlayOnceNoneClearsOkStoresAllThree) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kStartSound, "/snd/start.wav");
  WriteSound(app.ctx.store, kClickSound, "/snd/pick.wav");
  Start();
  const std::size_t played = ui.sounds().size();
  ui.AnswerOpenFile("/other/ring.wav");
  ui.ScriptDialog(res::kDlgSounds, [&](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Text(1079), "/snd/start.wav");
    EXPECT_EQ(d.controls().Text(1080), "(no sound selected)");
    d.Click(1069);  // Reminder Sound
    EXPECT_EQ(d.controls().Text(1080), "/other/ring.wav");
    ASSERT_EQ(ui.sounds().size(), played + 1);
    EXPECT_EQ(ui.sounds().back(), "/other/ring.wav");
    d.Click(1068);  // Start Sound, chooser cancelled
    EXPECT_EQ(d.controls().Text(1079), "/snd/start.wav");
    d.Click(1071);  // None for the click
    EXPECT_EQ(d.controls().Text(1081), "(no sound selected)");
    d.Click(kIdOk);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdSound));
  ASSERT_EQ(ui.openFileCalls().size(), 2u);
  const auto& ring = ui.openFileCalls()[0];
  EXPECT_EQ(ring.title, "Sound to play with reminders");
  EXPECT_EQ(ring.filter, "Wave files (*.wav)|*.wav||");
  EXPECT_EQ(ui.openFileCalls()[1].title, "Sound to play at program start-up");
  EXPECT_EQ(ui.openFileCalls()[1].folder, "/snd");
  EXPECT_EQ(ui.openFileCalls()[1].fileName, "start.wav");
  EXPECT_EQ(ui.dialogRuns().back().title, "Modify VeskCal Sounds");

  const std::string key = std::string(kSoundsKey);
  EXPECT_EQ(app.registry.QueryValue(key, "start"), RegValue::FromString("/snd/start.wav"));
  EXPECT_EQ(app.registry.QueryValue(key, "reminders"), RegValue::FromString("/other/ring.wav"));
  EXPECT_EQ(app.registry.QueryValue(key, "click"), RegValue::FromString(""));
  // No click sound: clicks are silent.
  const std::size_t before = ui.sounds().size();
  PlayClickSound(app.ctx);
  EXPECT_EQ(ui.sounds().size(), before);
}

TEST_F(SetupSoundsTest, CancelStoresNothingAndNoReminderSoundBeeps) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kReminderSound, "/snd/ring.wav");
  Start();
  ui.ScriptDialog(res::kDlgSounds, [](HeadlessDialog& d) {
    d.Click(1072);  // None for the reminders
    d.Click(kIdCancel);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdSound));
  EXPECT_EQ(app.registry.QueryValue(std::string(kSoundsKey), "reminders"),
            RegValue::FromString("/snd/ring.wav"));

  ui.ScriptDialog(res::kDlgSounds, [](HeadlessDialog& d) {
    d.Click(1072);
    d.Click(kIdOk);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdSound));
  const int beeps = ui.beeps();
  PlayReminderSound(app.ctx);
  EXPECT_EQ(ui.beeps(), beeps + 1) << "the default beep";
}

}  // namespace
}  // namespace vesk::test
