// Start-up of the program on the headless twin: first run, the frame that
// results, and the colours handed to the dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_fixture.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "store/app_context.h"
#include "store/registry_store.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using StartupTest = AppTest;

std::string StoredSound(AppContext& ctx, std::string_view name) {
  std::string path = "unset";
  ReadSound(ctx.store, name, path);
  return path;
}

TEST_F(StartupTest, FirstStartOnAnEmptyStore) {
  Start();
  const AppContext& ctx = app.ctx;

  ASSERT_EQ(ctx.entries.size(), 1u);
  const CPlannerEntry& welcome = *ctx.entries.Entries().front();
  EXPECT_EQ(welcome.notes, "Welcome to Vesk Calendar!");
  EXPECT_EQ(
      std::tuple(welcome.year(), welcome.month(), welcome.day(), welcome.hour(), welcome.minute()),
      std::tuple(2000, 3, 15, 9, 0));

  EXPECT_EQ(StoredSound(app.ctx, kStartSound), "Start.wav");
  EXPECT_EQ(StoredSound(app.ctx, kReminderSound), "Ring.wav");
  EXPECT_EQ(StoredSound(app.ctx, kClickSound), "Pick.wav");
  for (const char* file : {"Start.wav", "Ring.wav", "Pick.wav"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(DataFile(file))) << file;
  }
  // The start sound is the first sound of the run, found in the data directory.
  ASSERT_FALSE(ui.sounds().empty());
  EXPECT_EQ(ui.sounds().front(), DataFile("Start.wav").string());

  const Options& o = ctx.options;
  EXPECT_EQ(std::tuple(o.age, o.early, o.reminders, o.splash, o.minatstart, o.fastprinting,
                       o.statusbar, o.a24hour, o.europe, o.ontop),
            std::tuple(60, 2, 0, 1, 0, 1, 1, 0, 0, 0));
}

TEST_F(StartupTest, ALaterStartAddsNoWelcomeAndPlaysNoUnsetSound) {
  MarkNotFirstRun();
  Start();
  EXPECT_EQ(app.ctx.entries.size(), 0u);
  EXPECT_EQ(StoredSound(app.ctx, kStartSound), "unset");
  EXPECT_TRUE(ui.sounds().empty());
  EXPECT_FALSE(std::filesystem::exists(DataFile("Start.wav")));
}

TEST_F(StartupTest, AMonthKeyWrittenAnotherWayIsReadAtStartUp) {
  MarkNotFirstRun();
  const std::string odd = std::string(kAppointmentsKey) + "\\2000_03\\20_12_0";
  ASSERT_NE(app.registry.CreateKey(odd), OpenResult::Failed);
  for (const auto& [name, value] :
       {std::pair("year", 2000), {"month", 3}, {"day", 20}, {"hour", 12}})
    app.registry.SetValue(odd, name, RegValue::FromDword(value));
  app.registry.SetValue(odd, "notes", RegValue::FromString("Lunch"));
  Start();
  const CPlannerEntry* lunch = app.ctx.entries.FindAt(2000, 3, 20, 12, 0);
  ASSERT_NE(lunch, nullptr);
  EXPECT_EQ(lunch->notes, "Lunch");
  EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::EntryPath(2000, 3, 20, 12, 0)));
}

TEST_F(StartupTest, DeletingTheSoundsKeyRunsTheFirstRunAgain) {
  Start();
  application.reset();
  app.registry.DeleteTree(kSoundsKey);
  app.SetLocalNow(2000, 3, 16, 8, 0);
  Start();
  EXPECT_EQ(StoredSound(app.ctx, kClickSound), "Pick.wav");
  ASSERT_EQ(app.ctx.entries.size(), 2u);
  EXPECT_EQ(app.ctx.entries.Entries().back()->day(), 16);
}

TEST_F(StartupTest, TheFrameIsTheVisibleMainWindowWithMenuAndAccelerators) {
  MarkNotFirstRun();
  Start();
  const WindowRecord& r = frameRecord();
  EXPECT_EQ(r.title, "VeskCal");
  EXPECT_TRUE(r.visible);
  EXPECT_TRUE(r.style.minimizeBox);
  EXPECT_FALSE(r.style.sizing);
  EXPECT_EQ(r.menu, &res::MainMenu());
  EXPECT_EQ(r.icon, res::kIconApp);
  EXPECT_EQ(ui.accelerators().size(), 13u);
  EXPECT_EQ(ui.acceleratorTarget(), &frame());
  EXPECT_EQ(ui.ActiveWindow(), &frame());
  EXPECT_EQ(app.ctx.mainWindow, &frame());
  EXPECT_EQ(app.ctx.view, &frame().view());
  EXPECT_EQ(frame().view().parent(), &frame());

  // The hidden owner keeps the frame off the taskbar and carries the icon.
  Window* owner = frame().owner();
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner->Title(), "VeskCal");
  EXPECT_FALSE(owner->IsVisible());
  EXPECT_EQ(HeadlessUi::Record(*owner)->icon, res::kIconApp);

  ASSERT_NE(ui.tray(), nullptr);
  EXPECT_EQ(ui.tray()->Tip(), "Vesk Calendar");
}

TEST_F(StartupTest, WithoutATrayTheFrameHasNoOwner) {
  ui.SetTrayAvailable(false);
  MarkNotFirstRun();
  Start();
  EXPECT_EQ(frame().owner(), nullptr);
}

TEST_F(StartupTest, DialogsGetTheBackAndForeColours) {
  MarkNotFirstRun();
  Start();
  const ColorSet& colors = frame().view().colors();
  EXPECT_EQ(colors.back, Rgb(255, 255, 0));
  ASSERT_EQ(ui.dialogColors.size(), 1u);
  EXPECT_EQ(ui.dialogColors.front(), std::pair(Rgb(255, 255, 0), Rgb(0, 0, 128)));
}

TEST_F(StartupTest, TheMenuHoldsEveryCommandOfTheFrameOnce) {
  std::vector<int> ids;
  const auto collect = [&](const auto& self, const Menu& menu) -> void {
    for (const MenuItem& item : menu) {
      if (item.IsPopup()) {
        self(self, item.children);
      } else if (!item.IsSeparator()) {
        ids.push_back(item.id);
      }
    }
  };
  collect(collect, res::MainMenu());
  std::sort(ids.begin(), ids.end());
  std::vector<int> expected{
      res::kIdThisMonth, res::kIdYear,       res::kIdWeek,       res::kIdToday,
      res::kIdToDoList,  res::kIdColor,      res::kIdFont,       res::kIdSound,
      res::kIdAdvanced,  res::kIdPrintSetup, res::kIdTimer,      res::kIdBackupDialog,
      res::kIdExit,      res::kIdHelpTopics, res::kIdQuickHints, res::kIdAbout,
      res::kIdCut,       res::kIdCopy,       res::kIdPaste,      res::kIdSelectAll,
      res::kIdUndo,      res::kIdReminder,   res::kIdRepeats,    res::kIdNext,
      res::kIdPrevious,
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ids, expected);
}

TEST_F(StartupTest, SetupHoldsTheColourFontSoundAdvancedAndPrinterCommands) {
  const MenuItem& file = res::MainMenu().front();
  ASSERT_EQ(file.text, "&File");
  const MenuItem& setup = file.children.front();
  ASSERT_EQ(setup.text, "&Setup");
  std::vector<std::pair<std::string, int>> items;
  for (const MenuItem& item : setup.children) items.emplace_back(item.text, item.id);
  const std::vector<std::pair<std::string, int>> expected{
      {"&Color", res::kIdColor},       {"&Font", res::kIdFont},          {"&Sound", res::kIdSound},
      {"&Advanced", res::kIdAdvanced}, {"&Printer", res::kIdPrintSetup},
  };
  EXPECT_EQ(items, expected);
}

}  // namespace
}  // namespace vesk::test
