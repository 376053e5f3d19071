// File, Setup, Color and Sound: live colour changes, the schemes, OK and
// Cancel; the sounds dialog's chooser, picks, None, OK and Cancel.
#include <gtest/gtest.h>

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

Color MonthBackground(AppUi& ui, CVeskCalView& view) {
  const std::vector<CanvasOp> ops = ui.Paint(view);
  const CanvasOp* fill = FillAt(ops, {1, 1});
  return fill != nullptr ? fill->color : 0;
}

// Cancel and Esc put back what was in use, the month view included (button 2
// is "Background", not Cancel); OK and Enter store the colours.
TEST_F(SetupColorsTest, ChangesAreLiveOkStoresThemCancelPutsBackWhatWasInUse) {
  MarkNotFirstRun();
  Start();
  CVeskCalView& view = frame().view();
  ui.Paint(view);  // the first paint loads the colours, as on the screen at start
  FakeCalendarWindow planner(ui, "AppointBook2");
  ASSERT_TRUE(planner.Create(WindowSpec{}));
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
    ui.AnswerColor(Rgb(1, 2, 3));
    ui.ScriptDialog(res::kDlgColors, [&](HeadlessDialog& d) {
      d.Click(4);  // Text
      EXPECT_EQ(d.controls().Swatch(1079), Rgb(1, 2, 3));
      EXPECT_TRUE(HeadlessUi::Record(planner)->needsPaint) << "every window repaints";
      d.Click(2);  // Background: the chooser is cancelled
      d.Click(res::kIdBlues);
      EXPECT_EQ(view.colors().dayplan1, Rgb(0, 255, 0));
      EXPECT_EQ(MonthBackground(ui, view), BlueScheme().back);
      row.end(d);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdColor));
    const ColorSet expected = row.kept ? BlueScheme() : YellowScheme();
    EXPECT_EQ(view.colors(), expected);
    EXPECT_EQ(MonthBackground(ui, view), expected.back);
    EXPECT_EQ(LoadColors(app.ctx.store), expected);
    EXPECT_EQ(ui.dialogColors.size(), handedOver + (row.kept ? 1 : 0));
  }
  EXPECT_EQ(ui.dialogColors.back(), std::make_pair(BlueScheme().back, BlueScheme().fore));
  // The chooser's table: the colours at construction, then white; a button's
  // slot follows its colour after a pick.
  const std::vector<Color>& table = ui.colorCalls()[0];
  EXPECT_EQ(table.size(), 16u);
  EXPECT_EQ(table[1], YellowScheme().back);
  EXPECT_EQ(table[7], YellowScheme().botlite);
  EXPECT_EQ(table[8], Rgb(255, 255, 255));
  EXPECT_EQ(ui.colorCalls()[1][0], Rgb(1, 2, 3));
}

TEST_F(SetupSoundsTest, TheChooserStartsInTheFolderOfThePath) {
  std::ofstream(DataFile("Pick.wav")) << "RIFF";
  const std::pair<std::string, ChooserStart> rows[] = {
      {"/home/ann/sounds/ring.wav", {"/home/ann/sounds", "ring.wav"}},
      {"sounds/ring.wav", {"sounds", "ring.wav"}},
      {"/ring.wav", {"", "/ring.wav"}},  // no separator after the first character
      {"ring.wav", {"", "ring.wav"}},    // a bare name found nowhere
      {"Pick.wav", {dataDir.string(), "Pick.wav"}},
      {"", {"", ""}},
  };
  for (const auto& [path, start] : rows) EXPECT_EQ(ChooserStartFor(app.ctx, path), start) << path;
}

TEST_F(SetupSoundsTest, APickPlaysOnceCancelStoresNothingOkStoresAllThree) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kStartSound, "/snd/start.wav");
  WriteSound(app.ctx.store, kReminderSound, "/snd/ring.wav");
  Start();
  const std::size_t played = ui.sounds().size();
  ui.AnswerOpenFile("/other/new.wav");
  ui.ScriptDialog(res::kDlgSounds, [&](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Text(1081), "(no sound selected)");
    d.Click(1068);  // Start Sound
    EXPECT_EQ(d.controls().Text(1079), "/other/new.wav");
    EXPECT_EQ(ui.sounds().size(), played + 1);
    d.Click(1072);  // None for the reminders
    d.Click(kIdCancel);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdSound));
  const auto& call = ui.openFileCalls().at(0);
  EXPECT_EQ(call.title, "Sound to play at program start-up");
  EXPECT_EQ(call.filter, "Wave files (*.wav)|*.wav||");
  EXPECT_EQ((ChooserStart{call.folder, call.fileName}), (ChooserStart{"/snd", "start.wav"}));
  const std::string key(kSoundsKey);
  EXPECT_EQ(app.registry.QueryValue(key, "start"), RegValue::FromString("/snd/start.wav"));

  ui.ScriptDialog(res::kDlgSounds, [&](HeadlessDialog& d) {
    d.Click(1072);
    d.Click(kIdOk);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdSound));
  EXPECT_EQ(app.registry.QueryValue(key, "start"), RegValue::FromString("/snd/start.wav"));
  EXPECT_EQ(app.registry.QueryValue(key, "reminders"), RegValue::FromString(""));
  EXPECT_EQ(app.registry.QueryValue(key, "click"), RegValue::FromString(""));
  // No reminder sound: the default beep; no click sound: silent clicks.
  PlayReminderSound(app.ctx);
  PlayClickSound(app.ctx);
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(ui.sounds().size(), played + 1);
}

}  // namespace
}  // namespace vesk::test
