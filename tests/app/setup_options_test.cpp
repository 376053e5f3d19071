// File, Setup, Advanced and Printer: validation, what OK and Cancel store, how
// the options reach the running program, and the printer across a restart.
#include <gtest/gtest.h>

#include <tuple>

#include "app/app_fixture.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"
#include "store/app_context.h"
#include "store/options_store.h"
#include "store/planner_entry.h"
#include "store/printer_store.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using SetupOptionsTest = AppTest;

Options Stored(TestApp& app) {
  Options stored;
  LoadOptions(app.ctx.store, stored);
  return stored;
}

// A refused OK stores the fields at once, an out-of-range value at its nearest
// safe one, while the dialog stays open; Cancel then puts everything back.
TEST_F(SetupOptionsTest, ARefusedOkStoresClampedValuesUntilCancelPutsThemBack) {
  MarkNotFirstRun();
  SaveOptions(app.ctx.store, Options{.age = 24, .early = 5});
  Start();
  struct Row {
    const char *age, *early, *message;
    int storedAge, storedEarly;
  };
  const Row rows[] = {
      {"61", "30", "Please enter an integer between 3 and 60.", 60, 5},
      {"24", "200", "Please enter an integer between 0 and 180.", 24, 0},
      {"2", "30", "Please enter an integer between 3 and 60.", 24, 5},  // never purge more
      {"12", "-1", "Please enter an integer between 0 and 180.", 12, 0},
      {"six", "30", "Please enter an integer.", 24, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.age) + " " + row.early);
    app.boxes.Expect(row.message);
    ui.ScriptDialog(res::kDlgAdvanced, [&](HeadlessDialog& d) {
      EXPECT_FALSE(d.controls().IsShown(res::kIdStatusBar));
      d.SetText(res::kIdAge, row.age);
      d.SetText(res::kIdEarly, row.early);
      d.Click(kIdOk);
      ASSERT_TRUE(d.dialog().IsRunning());
      EXPECT_EQ(Stored(app).age, row.storedAge);
      EXPECT_EQ(Stored(app).early, row.storedEarly);
      EXPECT_EQ(app.ctx.options.early, row.storedEarly);
      d.Click(kIdCancel);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
    EXPECT_EQ(Stored(app).age, 24);
    EXPECT_EQ(Stored(app).early, 5);
    EXPECT_EQ(app.ctx.options.early, 5);
  }
}

TEST_F(SetupOptionsTest, OkHandsEveryOptionToTheRunningProgramAtOnce) {
  MarkNotFirstRun();
  Start();
  CVeskCalView& view = frame().view();
  ui.Paint(view);
  ui.ScriptDialog(res::kDlgAdvanced, [&](HeadlessDialog& d) {
    d.Click(res::kIdAdvancedHelp);
    d.SetText(res::kIdAge, "36");
    d.Click(res::kIdNoReminders);
    for (int id : {res::kIdFastPrinting, res::kIdA24Hour, res::kIdOnTop}) d.Click(id);
    d.Click(res::kIdEurope);
    d.Click(kIdOk);
    EXPECT_TRUE(HeadlessUi::Record(view)->needsPaint) << "the first weekday changed";
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
  EXPECT_EQ(ui.helpTopics(), std::vector<int>{res::kHelpAdvanced});
  const auto shown = [](const Options& o) {
    return std::tuple(o.age, o.reminders, o.fastprinting, o.a24hour, o.europe, o.ontop);
  };
  EXPECT_EQ(shown(Stored(app)), std::tuple(36, 1, 0, 1, 1, 1));
  EXPECT_EQ(shown(app.ctx.options), std::tuple(36, 1, 0, 1, 1, 1));
  EXPECT_TRUE(frameRecord().topmost) << "placed again, always on top";
  const std::vector<CanvasOp> ops = ui.Paint(view);
  ASSERT_NE(FindText(ops, "Su"), nullptr);
  EXPECT_LT(FindText(ops, "Mo")->rect.left, FindText(ops, "Su")->rect.left);
}

// Entries keep their own lead, so a re-armed reminder falls when it did.
TEST_F(SetupOptionsTest, ALeadChangeReArmsTheArmedReminders) {
  MarkNotFirstRun();
  Start();
  CPlannerEntry& lunch = app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  const int armed = lunch.timer;
  ASSERT_NE(armed, 0);
  for (const char* early : {"2", "30"}) {
    ui.ScriptDialog(res::kDlgAdvanced, [early](HeadlessDialog& d) {
      d.SetText(res::kIdEarly, early);
      d.Click(kIdOk);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
    EXPECT_EQ(lunch.timer == armed, early == std::string("2")) << early;
  }
  EXPECT_FALSE(app.clock.IsArmed(armed));
  EXPECT_EQ(app.clock.RemainingMs(lunch.timer), (4 * 60 - 2) * 60 * 1000);
  EXPECT_EQ(app.AddEntry(2000, 3, 15, 16, 0, "Tea").early, 30);
}

class PrintedNote : public Window, public Printable {
 public:
  using Window::Window;
  void PrintPage(Canvas& printer, int) override { printer.TextOut(0, 0, "note"); }
};

TEST_F(SetupOptionsTest, ThePrinterAndPaperChosenOnceHoldAfterARestart) {
  MarkNotFirstRun();
  Start();
  const PrinterSettings office{.name = "Office", .paperWidth = 2100, .paperHeight = 2970};
  EXPECT_TRUE(ui.Command(frame(), res::kIdPrintSetup));  // cancelled: nothing stored
  EXPECT_EQ(LoadPrinter(app.ctx.store), std::nullopt);
  ui.AnswerPrinterSetup(office);
  EXPECT_TRUE(ui.Command(frame(), res::kIdPrintSetup));
  EXPECT_EQ(LoadPrinter(app.ctx.store), office);

  // The next run starts from it; its print dialog may choose another.
  TestApp next(app.registry);
  AppUi nextUi{next.boxes};
  next.ctx.ui = &nextUi;
  next.ctx.dataDir = dataDir;
  CVeskCalApp restarted(next.ctx, [] {});
  ASSERT_TRUE(restarted.InitInstance());
  EXPECT_EQ(nextUi.Printer(), office);
  PrintedNote note(nextUi);
  ASSERT_TRUE(note.Create(WindowSpec{}));
  const PrinterSettings home{.name = "Home", .paperWidth = 2159, .paperHeight = 2794};
  nextUi.AnswerPrint(PrintAnswer{}, home);
  restarted.mainFrame()->view().BeginPrintFrom(note, note, PrintKind::ToDoList);
  EXPECT_EQ(nextUi.printJobs().at(0).printer, home);
  EXPECT_EQ(LoadPrinter(next.ctx.store), home);
  note.Destroy();
  restarted.Exit();
  nextUi.Pump();
}

}  // namespace
}  // namespace vesk::test
