// The main frame's commands: routing by runtime class, menu states, backup and
// restore, exit, minimise and close, the tray menu, help and the dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/app_fixture.h"
#include "res/app_dialogs.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using CommandsTest = AppTest;

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void MakeActive(FakeCalendarWindow& window) {
  WindowSpec spec;
  spec.title = std::string(window.RuntimeClass());
  spec.rect = {400, 300, 600, 500};
  spec.visible = true;
  ASSERT_TRUE(window.Create(spec));
}

TEST_F(CommandsTest, EditingCommandsGoToTheActiveWindowByItsRuntimeClass) {
  MarkNotFirstRun();
  Start();
  using namespace res;
  const std::vector<int> editing{kIdCut, kIdCopy, kIdPaste, kIdSelectAll, kIdUndo};
  const std::vector<int> all{kIdCut,      kIdCopy,    kIdPaste, kIdSelectAll, kIdUndo,
                             kIdReminder, kIdRepeats, kIdNext,  kIdPrevious};
  const std::map<std::string, std::vector<int>> received{
      {"AppointBook2", all},
      {"ToDo", editing},
      {"ViewWeek", {kIdNext, kIdPrevious}},
      {"ViewYear", {kIdNext, kIdPrevious}},
      {"ReminderWnd", {}},
  };
  for (const auto& [runtimeClass, expected] : received) {
    SCOPED_TRACE(runtimeClass);
    FakeCalendarWindow window(ui, runtimeClass);
    MakeActive(window);
    ASSERT_EQ(ui.ActiveWindow(), &window);
    for (int id : all) EXPECT_TRUE(ui.Command(frame(), id)) << id;
    EXPECT_EQ(window.commands, expected);
    window.Destroy();
  }
}

TEST_F(CommandsTest, NextAndPreviousStepTheMonthWhenNoCalendarWindowIsActive) {
  MarkNotFirstRun();
  Start();
  ui.Command(frame(), res::kIdNext);
  ui.Command(frame(), res::kIdNext);
  EXPECT_EQ(frame().view().displayedMonth(), 5);
  ui.Command(frame(), res::kIdPrevious);
  EXPECT_EQ(frame().view().displayedMonth(), 4);

  // A day planner takes them instead.
  FakeCalendarWindow planner(ui, "AppointBook2");
  MakeActive(planner);
  ui.Command(frame(), res::kIdNext);
  EXPECT_EQ(frame().view().displayedMonth(), 4);
  ui.Command(frame(), res::kIdThisMonth);
  EXPECT_EQ(frame().view().displayedMonth(), 3);
}

TEST_F(CommandsTest, CommandsAreEnabledAndTheCalendarWindowsOnlyWhereTheyCanOpen) {
  MarkNotFirstRun();
  Start();
  using namespace res;
  for (int id : {kIdThisMonth, kIdFont, kIdColor, kIdSound, kIdAdvanced, kIdPrintSetup, kIdTimer,
                 kIdBackupDialog, kIdBackup, kIdExit, kIdHelpTopics, kIdQuickHints, kIdAbout,
                 kIdHide, kIdShow, kIdCut, kIdReminder, kIdNext}) {
    EXPECT_TRUE(ui.MenuState(frame(), id).enabled) << id;
  }
  const std::vector<int> windowCommands{kIdYear, kIdWeek, kIdWeekSecond, kIdToday, kIdToDoList};
  for (int id : windowCommands) EXPECT_TRUE(ui.MenuState(frame(), id).enabled) << id;
  windows.available = false;
  for (int id : windowCommands) EXPECT_FALSE(ui.MenuState(frame(), id).enabled) << id;
  app.ctx.windows = nullptr;
  for (int id : windowCommands) EXPECT_FALSE(ui.MenuState(frame(), id).enabled) << id;
}

TEST_F(CommandsTest, CalendarWindowCommandsOpenTodaysWindows) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kClickSound, "Pick.wav");
  Start();
  for (int id : {res::kIdYear, res::kIdWeek, res::kIdWeekSecond, res::kIdToday, res::kIdToDoList}) {
    EXPECT_TRUE(ui.Command(frame(), id)) << id;
  }
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"year", "week 0 2000-3-15", "week 1 2000-3-15",
                                                     "planner 2000-3-15", "todo"}));
  // The frame's Year, the day planner's opening and the view's To Do List play
  // the click; the week window plays its own.
  EXPECT_EQ(ui.sounds().size(), 3u);
}

TEST_F(CommandsTest, RestoreIsAvailableOnlyWhileTheBackupFileExists) {
  MarkNotFirstRun();
  Start();
  EXPECT_FALSE(ui.MenuState(frame(), res::kIdRestore).enabled);
  std::ofstream(DataFile("VeskAppoints.vsk")).put('\n');
  EXPECT_TRUE(ui.MenuState(frame(), res::kIdRestore).enabled);
  std::filesystem::remove(DataFile("VeskAppoints.vsk"));
  EXPECT_FALSE(ui.MenuState(frame(), res::kIdRestore).enabled);
}

TEST_F(CommandsTest, BackupThenRestoreBringsADeletedEntryBack) {
  MarkNotFirstRun();
  Start();
  CPlannerEntry& lunch = app.AddEntry(2000, 3, 20, 12, 0, "Lunch");
  app.boxes.Expect("Wrote 1 entries to the backup file \"VeskAppoints.vsk\"");
  ui.Command(frame(), res::kIdBackup);
  EXPECT_TRUE(std::filesystem::exists(DataFile("VeskAppoints.vsk")));

  app.ctx.entries.DeleteEntry(lunch, false);
  ASSERT_EQ(app.ctx.entries.size(), 0u);
  ui.Paint(frame().view());
  app.boxes.Expect("Restore successful.");
  ui.Command(frame(), res::kIdRestore);
  ASSERT_EQ(app.ctx.entries.size(), 1u);
  EXPECT_EQ(app.ctx.entries.Entries().front()->notes, "Lunch");
  const WindowRecord& view = *HeadlessUi::Record(frame().view());
  EXPECT_TRUE(view.needsPaint);
  EXPECT_FALSE(view.erase);
  // The tooltip follows the restored entries at once.
  EXPECT_NE(ui.tray()->Tip().find("Lunch"), std::string::npos);
}

TEST_F(CommandsTest, TheBackupDialogsButtonsRunTheCommandsAndItStaysOpen) {
  MarkNotFirstRun();
  Start();
  app.AddEntry(2000, 3, 20, 12, 0, "Lunch");
  app.boxes.Expect("Wrote 1 entries to the backup file \"VeskAppoints.vsk\"");
  app.boxes.Expect("Restore successful.");
  ui.ScriptDialog(res::kDlgBackup, [](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Find(res::kIdBackup)->text,
              "Backup day planner entries to a text file.");
    EXPECT_EQ(d.controls().Find(res::kIdRestore)->text,
              "Restore day planner entries from a text file.");
    EXPECT_EQ(d.controls().Find(kIdCancel)->text, "Close");
    d.Click(res::kIdBackup);
    d.Click(res::kIdRestore);
    d.Click(kIdCancel);
  });
  ui.Command(frame(), res::kIdBackupDialog);
  ASSERT_EQ(ui.dialogRuns().size(), 1u);
  EXPECT_EQ(ui.dialogRuns().front().owner, &frame());
  EXPECT_EQ(res::BackupDialogTemplate().caption, "Backup and Intelligent Restore");
}

TEST_F(CommandsTest, ExitWritesTheMonthsBackupWithoutAskingAndEndsTheProgram) {
  Start();  // first run: the welcome entry
  std::ofstream(DataFile("backup.March")) << "last year's";
  ASSERT_TRUE(ui.Command(frame(), res::kIdExit));
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(frame().IsCreated());
  EXPECT_EQ(ui.tray(), nullptr);
  EXPECT_EQ(windows.calls, std::vector<std::string>{"close planners"});
  const std::string backup = ReadFile(DataFile("backup.March"));
  EXPECT_NE(backup.find("|Welcome to Vesk Calendar!\n"), std::string::npos) << backup;
  EXPECT_EQ(backup.find("last year's"), std::string::npos);
}

class SeptemberTest : public AppTest {
 protected:
  SeptemberTest() : AppTest(2001, 9, 3, 8, 0) {}
};

TEST_F(SeptemberTest, TheAutomaticBackupIsNamedAfterTheMonthsShortName) {
  MarkNotFirstRun();
  Start();
  application->Exit();
  EXPECT_TRUE(std::filesystem::exists(DataFile("backup.Sept")));
  EXPECT_EQ(ended, 1);
}

TEST_F(CommandsTest, MinimisingHidesTheWindowWithTheClickSound) {
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kClickSound, "Pick.wav");
  Start();
  ui.Minimize(frame());
  EXPECT_FALSE(frameRecord().visible);
  EXPECT_FALSE(frameRecord().minimized);
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{"Pick.wav"});

  ui.TrayLeftDown();
  EXPECT_TRUE(frameRecord().visible);
  ui.Close(frame());
  EXPECT_TRUE(frame().IsCreated());
  EXPECT_FALSE(frameRecord().visible);
}

TEST_F(CommandsTest, WithoutATrayMinimiseAndCloseMinimiseTheWindow) {
  ui.SetTrayAvailable(false);
  MarkNotFirstRun();
  WriteSound(app.ctx.store, kClickSound, "Pick.wav");
  Start();
  ui.Minimize(frame());
  EXPECT_TRUE(frameRecord().visible);
  EXPECT_TRUE(frameRecord().minimized);
  EXPECT_TRUE(ui.sounds().empty());

  frame().ComeForward();
  EXPECT_FALSE(frameRecord().minimized);
  ui.Close(frame());
  EXPECT_TRUE(frame().IsCreated());
  EXPECT_TRUE(frameRecord().visible);
  EXPECT_TRUE(frameRecord().minimized);

  // Hidden anyway (the month view's Esc): another start brings it back.
  frame().native()->Show(false);
  frame().ComeForward();
  EXPECT_TRUE(frameRecord().visible);
  EXPECT_FALSE(frameRecord().minimized);
  frame().Hide();
  EXPECT_TRUE(frameRecord().visible);
  EXPECT_TRUE(frameRecord().minimized);
}

TEST_F(CommandsTest, AnotherStartBringsOnlyAVisibleWindowForward) {
  MarkNotFirstRun();
  Start();
  FakeCalendarWindow other(ui, "ToDo");
  MakeActive(other);
  frame().ComeForward();
  EXPECT_EQ(ui.ActiveWindow(), &frame());

  ui.Command(frame(), res::kIdHide);
  frame().ComeForward();
  EXPECT_FALSE(frameRecord().visible);
}

std::vector<std::pair<std::string, int>> Items(const Menu& menu) {
  std::vector<std::pair<std::string, int>> items;
  for (const MenuItem& item : menu) items.emplace_back(item.text, item.id);
  return items;
}

TEST_F(CommandsTest, TheTrayMenuOffersHideOrShowAndTheCalendarWindows) {
  MarkNotFirstRun();
  Start();
  ui.SetCursorPos({900, 700});
  ui.ChoosePopupCommand(res::kIdHide);
  ui.TrayRightDown();
  ASSERT_EQ(ui.popups().size(), 1u);
  const std::vector<std::pair<std::string, int>> rest{
      {"", 0},
      {"&Year", res::kIdYear},
      {"&Week", res::kIdWeek},
      {"To &Do List", res::kIdToDoList},
      {"", 0},
      {"&Today", res::kIdToday},
  };
  auto expected = rest;
  expected.insert(expected.begin(), {"&Hide", res::kIdHide});
  EXPECT_EQ(Items(ui.popups()[0].menu), expected);
  EXPECT_EQ(ui.popups()[0].at, (Point{900, 700}));
  EXPECT_EQ(ui.popups()[0].target, &frame());
  EXPECT_FALSE(frameRecord().visible);

  ui.ChoosePopupCommand(res::kIdShow);
  ui.TrayRightDown();
  expected.front() = {"&Show", res::kIdShow};
  EXPECT_EQ(Items(ui.popups()[1].menu), expected);
  EXPECT_TRUE(frameRecord().visible);
}

TEST_F(CommandsTest, HelpTopicsOpensTheContents) {
  MarkNotFirstRun();
  Start();
  ui.Command(frame(), res::kIdHelpTopics);
  EXPECT_EQ(ui.helpTopics(), std::vector<int>{0});
}

TEST_F(CommandsTest, AboutShowsTheVersionWithTheProgramsIcon) {
  MarkNotFirstRun();
  Start();
  ui.ScriptDialog(res::kDlgAbout, [](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().icon(), res::kIconApp);
    d.Click(kIdOk);
  });
  ui.Command(frame(), res::kIdAbout);
  ASSERT_EQ(ui.dialogRuns().size(), 1u);
  EXPECT_EQ(ui.dialogRuns()[0].result, kIdOk);
  const DialogTemplate& about = res::AboutDialogTemplate();
  EXPECT_EQ(about.caption, "Version & Contact Info");
  EXPECT_TRUE(std::any_of(about.controls.begin(), about.controls.end(),
                          [](const ControlTemplate& c) { return c.text == " Version 3.2"; }));
}

TEST_F(CommandsTest, QuickHintsListsTheSevenHintsBehindBullets) {
  MarkNotFirstRun();
  Start();
  ui.ScriptDialog(res::kDlgMonthHints, [](HeadlessDialog& d) { d.Click(kIdOk); });
  ui.Command(frame(), res::kIdQuickHints);
  ASSERT_EQ(ui.dialogRuns().size(), 1u);

  const DialogTemplate& hints = res::QuickHintsDialogTemplate();
  EXPECT_EQ(hints.caption, "Quick hints on using the Month View");
  std::vector<std::string> lines;
  bool bulleted = false;
  for (const ControlTemplate& c : hints.controls) {
    if (c.kind == ControlKind::Bitmap) {
      EXPECT_EQ(c.text, "148");
      bulleted = true;
    } else if (c.kind == ControlKind::Static) {
      lines.push_back((bulleted ? "* " : "") + c.text);
      bulleted = false;
    }
  }
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "* left click on a date to access the Day Planner for that day",
                "* or press Enter to open today's day planner",
                "* left click on << and >> to scan by month (or use left/right arrow keys)",
                "* right click on << and >> to scan by year (or use up/down arrow keys)",
                "additional shortcuts:",
                "* hold the mouse over \"VC\" in the icon tray to check the next appointment",
                "* left click on any empty part of the Month View to access the To-Do List",
                "* right click on a date to access the Week View for that week",
            }));
}

TEST_F(CommandsTest, ANewMainFontPlacesTheWindowAgain) {
  MarkNotFirstRun();
  Start();
  FontRecord larger = FontRecord::DefaultMain();
  larger.height = -20;
  ui.AnswerFont(larger);
  ui.Command(frame(), res::kIdFont);
  const Size calendar = CalendarSize();
  EXPECT_EQ(frame().ClientRect().Width(), calendar.cx + 4);
  EXPECT_EQ(frame().ClientRect().Height(), calendar.cy + 4);
  EXPECT_EQ(frame().view().mainFont()->record().height, -20);
}

}  // namespace
}  // namespace vesk::test
