// The headless twin's desktop services: commands and menus, the mouse with
// capture, minimising, common dialogs, printing, the tray and posted messages.
#include "platform/headless/headless_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/log_window.h"

namespace vesk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HeadlessUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.Create(TopLevel("Frame", {100, 100, 300, 250}));
    log.clear();
  }
  HeadlessUi ui;
  Log log;
  LogWindow frame{ui, log, "frame"};
};

TEST_F(HeadlessUiTest, DisabledCommandsAreRefusedBeforeTheyReachTheWindow) {
  frame.disabledCommands = {32830};
  frame.checkedCommands = {32831};
  EXPECT_FALSE(ui.Command(frame, 32830));
  EXPECT_TRUE(ui.Command(frame, 32831));
  EXPECT_TRUE(ui.MenuState(frame, 32831).checked);
  EXPECT_FALSE(ui.MenuState(frame, 32830).enabled);
  EXPECT_THAT(log, ElementsAre("frame command 32831"));
}

TEST_F(HeadlessUiTest, AcceleratorsReachTheirTargetFromAnyKeyCase) {
  ui.SetAccelerators({{'D', 32816}, {'M', 32850}}, frame);
  frame.disabledCommands = {32850};
  EXPECT_TRUE(ui.Accelerator('d'));
  EXPECT_FALSE(ui.Accelerator('M'));
  EXPECT_FALSE(ui.Accelerator('Q'));
  EXPECT_THAT(log, ElementsAre("frame command 32816"));
}

TEST_F(HeadlessUiTest, APopUpMenuChoiceArrivesAfterTheMenuCloses) {
  const Menu menu = {MenuItem{"&Show", 32837, {}}, MenuItem::Separator(),
                     MenuItem{"More", 0, {MenuItem{"E&xit", 57665, {}}}}};
  ui.ChoosePopupCommand(57665);
  frame.onLButton = [&] {
    ui.TrackPopupMenu(menu, {5, 6}, frame);
    log.push_back("menu returned");
  };
  ui.Click(frame, {1, 1});
  EXPECT_THAT(log, ElementsAre("frame down 1,1", "menu returned", "frame command 57665"));
  ASSERT_EQ(ui.popups().size(), 1u);
  EXPECT_EQ(ui.popups()[0].at, (Point{5, 6}));
  EXPECT_EQ(ui.popups()[0].target, &frame);

  log.clear();
  frame.disabledCommands = {32837};
  ui.ChoosePopupCommand(32837);                                    // disabled
  ui.ChoosePopupCommand(12345);                                    // not in the menu
  for (int i = 0; i < 3; ++i) ui.TrackPopupMenu(menu, {}, frame);  // the third is dismissed
  ui.Pump();
  EXPECT_THAT(log, IsEmpty());
  EXPECT_THAT(ui.failures(), ElementsAre("pop-up menu choice 32837 is disabled",
                                         "pop-up menu choice 12345 is not in the menu"));
}

TEST_F(HeadlessUiTest, WhileAWindowHoldsTheCaptureTheMouseGoesToIt) {
  LogWindow other(ui, log, "other");
  other.Create(TopLevel("Other", {400, 100, 500, 200}));
  log.clear();
  frame.native()->SetCapture();
  // other's client origin is (401, 120), frame's (101, 120).
  ui.MouseMove(other, {10, 10});
  ui.MouseUp(other, {0, 0});
  frame.native()->ReleaseCapture();
  ui.MouseMove(other, {10, 10});
  EXPECT_THAT(log, ElementsAre("frame move 310,10", "frame up 300,0", "other move 10,10"));
}

TEST_F(HeadlessUiTest, MinimisingWhenTheWindowDoesNotHandleIt) {
  ui.Minimize(frame);
  EXPECT_TRUE(HeadlessUi::Record(frame)->minimized);
  EXPECT_EQ(ui.ActiveWindow(), nullptr);
  frame.native()->Restore();
  EXPECT_FALSE(frame.native()->IsMinimized());
  EXPECT_EQ(ui.ActiveWindow(), &frame);

  frame.handlesMinimize = true;
  ui.Minimize(frame);
  EXPECT_FALSE(HeadlessUi::Record(frame)->minimized);
  EXPECT_THAT(log, ElementsAre("frame minimize", "frame minimize"));
}

TEST_F(HeadlessUiTest, MovingAndScrollingReachTheHandlersAndTheRecord) {
  ui.MoveWindow(frame, {0, 0, 200, 150});
  EXPECT_EQ(frame.WindowRect(), (Rect{0, 0, 200, 150}));
  frame.native()->SetScrollRange(0, 23, 11, 30, true);
  EXPECT_EQ(HeadlessUi::Record(frame)->scrollPos, 13);  // the last full page
  frame.native()->SetScrollPos(-4, true);
  EXPECT_EQ(HeadlessUi::Record(frame)->scrollPos, 0);
  EXPECT_THAT(log, ElementsAre("frame move window"));
}

TEST_F(HeadlessUiTest, CommonDialogsAnswerFromTheirQueuesAndAreRecorded) {
  std::vector<Color> custom(16, Rgb(255, 255, 255));
  ui.AnswerColor(Rgb(1, 2, 3));
  EXPECT_EQ(ui.ChooseColor(custom), Rgb(1, 2, 3));
  EXPECT_EQ(ui.ChooseColor(custom), std::nullopt);  // nothing queued: cancelled
  EXPECT_EQ(ui.colorCalls().size(), 2u);

  ui.AnswerFont(std::nullopt);
  EXPECT_EQ(ui.ChooseFont(FontRecord::DefaultMain()), std::nullopt);
  EXPECT_EQ(ui.fontCalls().at(0).faceName, "Comic Sans MS");

  ui.AnswerOpenFile("/tmp/Ring.wav");
  EXPECT_EQ(ui.ChooseOpenFile("Sound", "*.wav", "/tmp", "Start.wav"), "/tmp/Ring.wav");
  EXPECT_EQ(ui.openFileCalls().at(0).folder, "/tmp");
  EXPECT_EQ(ui.openFileCalls().at(0).fileName, "Start.wav");
}

TEST_F(HeadlessUiTest, APrintJobRecordsEachPageOnAPrinterCanvas) {
  EXPECT_EQ(ui.BeginPrint(3, "Year"), nullptr);  // cancelled
  ui.AnswerPrint(PrintAnswer{.firstPage = 2, .lastPage = 0, .failEnd = false});
  ui.SetPrinterColors(2);
  std::unique_ptr<PrintJob> job = ui.BeginPrint(3, "Month");
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->FirstPage(), 2);
  EXPECT_EQ(job->LastPage(), 3);
  for (int page = job->FirstPage(); page <= job->LastPage(); ++page) {
    Canvas& c = job->BeginPage();
    EXPECT_TRUE(c.IsPrinter());
    EXPECT_EQ(c.ColorCount(), 2);
    c.TextOut(0, 0, "page " + std::to_string(page));
    job->EndPage();
  }
  EXPECT_TRUE(job->End());
  ASSERT_EQ(ui.printJobs().size(), 2u);
  EXPECT_FALSE(ui.printJobs()[0].started);
  const PrintedJob& printed = ui.printJobs()[1];
  EXPECT_TRUE(printed.ended);
  ASSERT_EQ(printed.pages.size(), 2u);
  EXPECT_EQ(printed.pages[1][0].ToString(), "text 0,0 \"page 3\" fg=#000000 bg=#ffffff opaque");
  EXPECT_EQ(printed.pages[1][0].rect.Width(), 6 * 7);  // the printer's default font

  ui.AnswerPrint(PrintAnswer{.firstPage = 1, .lastPage = 1, .failEnd = true});
  EXPECT_FALSE(ui.BeginPrint(1, "Day")->End());
}

class CountingTray : public TrayHandler {
 public:
  void OnTrayMouseMove() override { ++moves; }
  void OnTrayLeftDown() override { ++lefts; }
  void OnTrayRightDown() override { ++rights; }
  int moves = 0, lefts = 0, rights = 0;
};

TEST_F(HeadlessUiTest, TheTrayIconIsRecordedUntilItIsRemoved) {
  CountingTray handler;
  {
    std::unique_ptr<TrayIcon> icon = ui.CreateTrayIcon(handler, "VeskCal");
    ASSERT_EQ(ui.tray(), icon.get());
    icon->SetTip("Next: 9:00am");
    EXPECT_EQ(ui.tray()->Tip(), "Next: 9:00am");
    EXPECT_EQ(ui.tray()->tipChanges(), 1);
    ui.SetTrayAvailable(false);
    EXPECT_FALSE(icon->IsAvailable());
    ui.TrayMouseMove();
    ui.TrayLeftDown();
    ui.TrayRightDown();
  }
  EXPECT_EQ(ui.tray(), nullptr);
  ui.TrayLeftDown();  // no icon: nothing
  EXPECT_EQ(handler.moves + handler.lefts + handler.rights, 3);
}

TEST_F(HeadlessUiTest, HelpSoundsAndBeepsAreRecorded) {
  ui.ShowHelp(108);
  ui.PlaySound("Ring.wav");
  ui.Beep();
  EXPECT_THAT(ui.helpTopics(), ElementsAre(108));
  EXPECT_THAT(ui.sounds(), ElementsAre("Ring.wav"));
  EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(HeadlessUiTest, MessageBoxesGoToTheSharedScript) {
  ScriptedMessageBoxes boxes;
  HeadlessUi shared(boxes);
  boxes.Expect("Delete?", MbResult::No);
  EXPECT_EQ(shared.Show("Delete?", MbButtons::YesNo, kAppCaption), MbResult::No);
  EXPECT_EQ(&shared.boxes(), &boxes);
  EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(HeadlessUiTest, APumpStopsAMessageThatKeepsPostingItself) {
  std::function<void()> again = [&] { ui.Post(again); };
  ui.Post(again);
  ui.Pump();
  EXPECT_EQ(ui.PendingPosts(), 0u);
  EXPECT_EQ(ui.failures().size(), 1u);
}

}  // namespace
}  // namespace vesk::test
