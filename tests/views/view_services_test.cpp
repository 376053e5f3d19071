// What the month view keeps for every calendar window: start-up state, the
// colour set, the main font, the palette, the print job and the purge at exit.
#include <gtest/gtest.h>

#include "store/app_context.h"
#include "store/registry_store.h"
#include "views/month_view.h"
#include "views/print_job.h"
#include "views/view_fixture.h"
#include "views/view_fonts.h"

namespace vesk::test {
namespace {

constexpr std::string_view kColorsPath = "SOFTWARE\\Tolvard\\VeskCal\\Colors";

// A calendar window that prints `pages` pages and notes whether it was
// disabled while each page printed.
class PrintableWindow : public Window, public Printable {
 public:
  PrintableWindow(Ui& ui, int pages) : Window(ui), pages_(pages) {}
  int PrintPageCount() override { return pages_; }
  void PrintPage(Canvas& printer, int page) override {
    printer.TextOut(0, 0, "page " + std::to_string(page));
    printedWhileEnabled.push_back(native()->IsEnabled());
  }
  std::vector<bool> printedWhileEnabled;

 private:
  int pages_;
};

class ViewServicesTest : public ViewTest {
 protected:
  std::unique_ptr<PrintableWindow> MakePrintable(int pages) {
    auto w = std::make_unique<PrintableWindow>(ui, pages);
    WindowSpec spec;
    spec.rect = {10, 10, 200, 200};
    spec.visible = true;
    EXPECT_TRUE(w->Create(spec));
    return w;
  }
};

TEST_F(ViewServicesTest, InitializeLoadsFontOptionsAndStoredEntries) {
  // A previous run stored an entry, a font and "europe".
  {
    TestApp before(app.memory);
    before.AddEntry(2000, 3, 20, 9, 0, "Dentist");
    FontRecord big = FontRecord::DefaultMain();
    big.height = -20;
    before.ctx.store.SaveFont("font", big.ToBytes());
  }
  app.registry.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\reminders");
  app.registry.SetValue("SOFTWARE\\Tolvard\\VeskCal\\reminders", "europe", RegValue::FromDword(1));
  StartView();
  EXPECT_EQ(app.ctx.options.europe, 1);
  EXPECT_EQ(app.ctx.options.age, 60);
  EXPECT_TRUE(app.ctx.entries.HasEntryOn(2000, 3, 20));
  ASSERT_NE(view->mainFont(), nullptr);
  EXPECT_EQ(view->mainFont()->record().height, -20);
  EXPECT_TRUE(view->headingFont()->record().italic);
  EXPECT_EQ(view->titleFont()->record().weight, 680);
  EXPECT_EQ(app.ctx.view, view.get());
}

TEST_F(ViewServicesTest, DefaultFontWhenNoneIsStored) {
  StartView();
  EXPECT_EQ(view->mainFont()->record(), FontRecord::DefaultMain());
  EXPECT_FALSE(view->mainFont()->record().italic);
}

TEST_F(ViewServicesTest, FirstPaintLoadsTheStoredColours) {
  app.registry.CreateKey(kColorsPath);
  const ColorSet blues = BlueScheme();
  SaveColors(app.ctx.store, blues);
  StartView();
  EXPECT_EQ(view->colors(), blues);
  const auto ops = Paint();
  EXPECT_EQ(FillAt(ops, {1, 1})->color, blues.back);
  EXPECT_EQ(FindText(ops, "9")->color, blues.fore);
}

TEST_F(ViewServicesTest, FirstPaintAppliesTheCollisionRule) {
  ColorSet clash = GreenScheme();
  clash.fore = clash.back;
  SaveColors(app.ctx.store, clash);
  StartView();
  const auto ops = Paint();
  EXPECT_EQ(FillAt(ops, {1, 1})->color, Rgb(255, 255, 0));
  EXPECT_EQ(FindText(ops, "9")->color, Rgb(0, 0, 0));
  EXPECT_EQ(view->colors().dayplan2, Rgb(255, 255, 0));
}

TEST_F(ViewServicesTest, ChooseMainFontStoresItAndRebuildsTheDerivedFonts) {
  StartView();
  FontRecord chosen = FontRecord::DefaultMain();
  chosen.faceName = "Comic Neue";
  chosen.height = -17;
  chosen.weight = 700;
  ui.AnswerFont(chosen);
  EXPECT_TRUE(view->ChooseMainFont());
  ASSERT_EQ(ui.fontCalls().size(), 1u);
  EXPECT_EQ(ui.fontCalls()[0], FontRecord::DefaultMain()) << "starts from the current font";
  EXPECT_EQ(view->mainFont()->record(), chosen);
  EXPECT_EQ(view->titleFont()->record().weight, 1190);
  EXPECT_EQ(view->headingFont()->record().faceName, "Comic Neue");
  EXPECT_EQ(FontRecord::FromBytes(*app.ctx.store.LoadFont("font")), chosen);
  // 17-pixel bold characters are 10 wide in a 20-pixel line: "Wd" 20 + 5 by 20 + 4.
  EXPECT_EQ(view->GetCalendarSize(), (Size{7 * 25, 8 * 24}));
  EXPECT_TRUE(view->IsCreated() && viewRecord().enabled);

  ui.AnswerFont(std::nullopt);
  EXPECT_FALSE(view->ChooseMainFont());
  EXPECT_EQ(view->mainFont()->record(), chosen);
}

TEST_F(ViewServicesTest, ChooseFontFromNothingStartsAllZero) {
  ui.AnswerFont(std::nullopt);
  EXPECT_EQ(ChooseFontFrom(ui, nullptr), nullptr);
  ASSERT_EQ(ui.fontCalls().size(), 1u);
  FontRecord zero;
  zero.weight = 0;
  EXPECT_EQ(ui.fontCalls()[0], zero);
}

TEST_F(ViewServicesTest, PaletteOnlyOnFewColourDisplays) {
  StartView();
  RecordingCanvas trueColor;
  EXPECT_EQ(view->RealizeViewPalette(trueColor), RecordingCanvas::kTrueColor);
  RecordingCanvas twentyColors(false, 20);
  EXPECT_EQ(view->RealizeViewPalette(twentyColors), 8);
  RecordingCanvas sixteenColors(false, 16);
  EXPECT_EQ(view->RealizeViewPalette(sixteenColors), 8);
}

TEST_F(ViewServicesTest, PrintsEveryChosenPageWithTheSourceDisabled) {
  StartView();
  auto week = MakePrintable(3);
  ui.AnswerPrint(PrintAnswer{.firstPage = 2, .lastPage = 3});
  view->BeginPrintFrom(*week, *week, PrintKind::WeekView);
  ASSERT_EQ(ui.printJobs().size(), 1u);
  const PrintedJob& job = ui.printJobs()[0];
  EXPECT_EQ(job.documentName, "Week View");
  EXPECT_EQ(job.pageCount, 3);
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(job.pages[0][0].text, "page 2");
  EXPECT_EQ(job.pages[1][0].text, "page 3");
  EXPECT_TRUE(job.ended);
  EXPECT_EQ(week->printedWhileEnabled, (std::vector<bool>{false, false}));
  EXPECT_TRUE(HeadlessUi::Record(*week)->enabled) << "enabled again at the end";
}

TEST_F(ViewServicesTest, CancelledWeekThenToDoPrintsTheToDoList) {
  StartView();
  auto week = MakePrintable(2);
  auto todo = MakePrintable(1);
  view->BeginPrintFrom(*week, *week, PrintKind::WeekView);  // no answer: cancelled
  ui.AnswerPrint(PrintAnswer{});
  view->BeginPrintFrom(*todo, *todo, PrintKind::ToDoList);
  ASSERT_EQ(ui.printJobs().size(), 2u);
  EXPECT_FALSE(ui.printJobs()[0].started);
  EXPECT_TRUE(ui.printJobs()[0].pages.empty());
  EXPECT_EQ(ui.printJobs()[1].documentName, "To Do List");
  EXPECT_EQ(ui.printJobs()[1].pageCount, 1);
  EXPECT_EQ(ui.printJobs()[1].pages.size(), 1u);
  EXPECT_TRUE(week->printedWhileEnabled.empty());
  EXPECT_EQ(todo->printedWhileEnabled.size(), 1u);
}

TEST_F(ViewServicesTest, AFailedPrintoutIsReported) {
  StartView();
  auto planner = MakePrintable(1);
  ui.AnswerPrint(PrintAnswer{.failEnd = true});
  app.boxes.Expect("The Day Planner could not be printed: the printer did not accept the pages.");
  view->BeginPrintFrom(*planner, *planner, PrintKind::DayPlanner);
  EXPECT_TRUE(HeadlessUi::Record(*planner)->enabled);
}

TEST_F(ViewServicesTest, ShutdownClosesPlannersThenPurgesOldMonths) {
  app.AddEntry(1995, 3, 12, 9, 0, "old");
  app.AddEntry(1995, 4, 12, 9, 0, "younger");
  StartView();
  view->Shutdown();
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"close planners after 0 clicks"}));
  EXPECT_FALSE(app.registry.OpenKey(CRegistryStore::MonthPath(1995, 3)));
  EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::MonthPath(1995, 4)));
}

TEST_F(ViewServicesTest, ShutdownHonoursTheAgeOption) {
  app.AddEntry(1999, 8, 12, 9, 0, "seven months old");
  StartView();
  app.ctx.options.age = 6;  // 7 x 30 days before 15 March 2000 is 18 August 1999
  view->Shutdown();
  EXPECT_FALSE(app.registry.OpenKey(CRegistryStore::MonthPath(1999, 8)));
}

}  // namespace
}  // namespace vesk::test
