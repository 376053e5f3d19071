// File, Setup, Advanced and Printer: the options dialog's validation, what OK
// and Cancel store, and how the options reach the running windows; the
// printer kept beside the options across a restart.
#include <gtest/gtest.h>

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

constexpr std::string_view kOptionsKey = "SOFTWARE\\Tolvard\\VeskCal\\reminders";

int StoredOption(TestApp& app, std::string_view name) {
  const std::optional<RegValue> value = app.registry.QueryValue(kOptionsKey, name);
  return value ? value->AsDword().value_or(-1) : -1;
}

// A refused OK still stores the fields, the out-of-range one at its nearest
// safe value; Cancel afterwards puts back the record and the running options.
TEST_F(SetupOptionsTest, ARefusedOkStoresClampedValuesUntilCancelPutsThemBack) {
  MarkNotFirstRun();
  Options stored;
  stored.age = 24;
  stored.early = 5;
  SaveOptions(app.ctx.store, stored);
  Start();
  struct Row {
    const char* age;
    const char* early;
    const char* message;
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
    SCOPED_TRACE(row.age + std::string(" ") + row.early);
    app.boxes.Expect(row.message);
    ui.ScriptDialog(res::kDlgAdvanced, [&](HeadlessDialog& d) {
      EXPECT_EQ(d.controls().Text(res::kIdAge), "24");
      EXPECT_FALSE(d.controls().IsShown(res::kIdStatusBar));
      d.SetText(res::kIdAge, row.age);
      d.SetText(res::kIdEarly, row.early);
      d.Click(kIdOk);
      ASSERT_TRUE(d.dialog().IsRunning());
      EXPECT_EQ(StoredOption(app, "age"), row.storedAge);
      EXPECT_EQ(StoredOption(app, "early"), row.storedEarly);
      EXPECT_EQ(app.ctx.options.early, row.storedEarly);
      d.Click(kIdCancel);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
    EXPECT_EQ(StoredOption(app, "age"), 24);
    EXPECT_EQ(StoredOption(app, "early"), 5);
    EXPECT_EQ(app.ctx.options.early, 5);
  }
}

TEST_F(SetupOptionsTest, AEuropeOnlyChangeRepaintsTheMonthWithMondayFirst) {
  MarkNotFirstRun();
  Start();
  CVeskCalView& view = frame().view();
  ui.Paint(view);
  ui.ScriptDialog(res::kDlgAdvanced, [&](HeadlessDialog& d) {
    d.Click(res::kIdEurope);
    d.Click(kIdOk);
    EXPECT_TRUE(HeadlessUi::Record(view)->needsPaint);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
  EXPECT_EQ(app.ctx.options.europe, 1);
  EXPECT_EQ(StoredOption(app, "europe"), 1);
  const std::vector<CanvasOp> ops = ui.Paint(view);
  ASSERT_NE(FindText(ops, "Mo"), nullptr);
  ASSERT_NE(FindText(ops, "Su"), nullptr);
  EXPECT_LT(FindText(ops, "Mo")->rect.left, FindText(ops, "Su")->rect.left);
}

// Entries keep their own lead, so the re-armed reminder falls when it did.
TEST_F(SetupOptionsTest, ALeadChangeReArmsTheArmedReminders) {
  MarkNotFirstRun();
  Start();
  CPlannerEntry& lunch = app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  const int armed = lunch.timer;
  ASSERT_NE(armed, 0);
  const auto runAdvanced = [&](const char* early) {
    ui.ScriptDialog(res::kDlgAdvanced, [early](HeadlessDialog& d) {
      d.SetText(res::kIdEarly, early);
      d.Click(kIdOk);
    });
    EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
  };
  runAdvanced("2");  // unchanged: nothing is re-armed
  EXPECT_EQ(lunch.timer, armed);
  runAdvanced("30");
  EXPECT_EQ(app.ctx.options.early, 30);
  EXPECT_NE(lunch.timer, armed);
  EXPECT_FALSE(app.clock.IsArmed(armed));
  EXPECT_EQ(app.clock.RemainingMs(lunch.timer), (4 * 60 - 2) * 60 * 1000);
  // A new appointment starts with the new lead.
  EXPECT_EQ(app.AddEntry(2000, 3, 15, 16, 0, "Tea").early, 30);
}

TEST_F(SetupOptionsTest, OkHandsEveryOptionToTheRunningProgram) {
  MarkNotFirstRun();
  Start();
  ui.ScriptDialog(res::kDlgAdvanced, [](HeadlessDialog& d) {
    d.Click(res::kIdAdvancedHelp);
    d.SetText(res::kIdAge, "36");
    d.Click(res::kIdNoReminders);
    for (int id : {res::kIdMinAtStart, res::kIdFastPrinting, res::kIdA24Hour, res::kIdOnTop}) {
      d.Click(id);
    }
    d.Click(kIdOk);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdAdvanced));
  EXPECT_EQ(ui.helpTopics(), std::vector<int>{res::kHelpAdvanced});
  const Options& o = app.ctx.options;
  EXPECT_EQ(o.age, 36);
  EXPECT_EQ(o.reminders, 1);
  EXPECT_EQ(o.minatstart, 1);
  EXPECT_EQ(o.fastprinting, 0);
  EXPECT_EQ(o.a24hour, 1);
  EXPECT_TRUE(frameRecord().topmost) << "placed again, always on top";
  Options stored;
  LoadOptions(app.ctx.store, stored);
  EXPECT_EQ(stored.age, 36);
  EXPECT_EQ(stored.reminders, 1);
  EXPECT_EQ(stored.a24hour, 1);
  EXPECT_EQ(stored.splash, 1);
}

// A window printed through the month view.
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
  EXPECT_EQ(ui.printerSetups(), 2);
  EXPECT_EQ(LoadPrinter(app.ctx.store), office);

  // The next run starts from it, and its print dialog may choose another.
  TestApp next(app.registry);
  AppUi nextUi{next.boxes};
  next.ctx.ui = &nextUi;
  next.ctx.dataDir = dataDir;
  CVeskCalApp restarted(next.ctx, [] {});
  ASSERT_TRUE(restarted.InitInstance());
  EXPECT_EQ(nextUi.Printer(), office);
  PrintedNote note(nextUi);
  WindowSpec spec;
  ASSERT_TRUE(note.Create(spec));
  const PrinterSettings letter{.name = "Home", .paperWidth = 2159, .paperHeight = 2794,
                               .landscape = true};
  nextUi.AnswerPrint(PrintAnswer{}, letter);
  restarted.mainFrame()->view().BeginPrintFrom(note, note, PrintKind::ToDoList);
  ASSERT_EQ(nextUi.printJobs().size(), 1u);
  EXPECT_EQ(nextUi.printJobs()[0].printer, letter);
  EXPECT_EQ(LoadPrinter(next.ctx.store), letter);
  note.Destroy();
  restarted.Exit();
  nextUi.Pump();
}

}  // namespace
}  // namespace vesk::test
