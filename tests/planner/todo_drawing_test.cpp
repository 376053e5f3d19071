// What the to-do window paints and prints.
#include <gtest/gtest.h>

#include "planner/entry_edit.h"
#include "planner/todo_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

// On the twin's printer (7 x 13 default font) a line is 17 pixels high; the
// list starts three line heights down, below the heading.
constexpr int kPrintLine = 17;
constexpr int kPrintTop = 3 * kPrintLine;

class ToDoDrawingTest : public ToDoTest {
 protected:
  void SetUp() override {
    Store(0, "zero");
    Store(1, "one");
    StartFrame();
    Open();
  }
  ToDo& list() { return *todo(); }
  const ColorSet& colors() { return frame->view().colors(); }
  // Prints through the Print command; the pages of the job.
  const std::vector<CanvasOp>& Print() {
    ui.AnswerPrint(PrintAnswer{1, 1});
    EXPECT_TRUE(ui.Command(list(), res::kIdPrint));
    EXPECT_FALSE(ui.printJobs().empty());
    EXPECT_EQ(ui.printJobs().back().pages.size(), 1u);
    return ui.printJobs().back().pages.at(0);
  }
};

TEST_F(ToDoDrawingTest, ScreenShowsTwentyBandsInTheDayPlannerColours) {
  const std::vector<CanvasOp> ops = ui.Paint(list());
  for (int n = 0; n < 20; ++n) {
    SCOPED_TRACE(n);
    const CanvasOp* band = FillAt(ops, {kLineWidth + 100, n * kLineHeight + 1});
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->rect, (Rect{0, n * kLineHeight, 9999, (n + 1) * kLineHeight}));
    EXPECT_EQ(band->color, n % 2 == 0 ? colors().dayplan1 : colors().dayplan2);
    const CanvasOp* text = TextAt(ops, {5, n * kLineHeight + 2});
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->color, colors().fore);
    EXPECT_EQ(text->color2, band->color);
    EXPECT_TRUE(text->opaque);
  }
  EXPECT_EQ(TextAt(ops, {5, 2})->text, "zero");
  EXPECT_EQ(TextAt(ops, {5, kLineHeight + 2})->text, "one");
  EXPECT_EQ(FindText(ops, "Things to do..."), nullptr);
  const std::vector<const CanvasOp*> fonts = OpsOfKind(ops, CanvasOp::Kind::Font);
  ASSERT_FALSE(fonts.empty());
  EXPECT_EQ(fonts.back()->font, frame->view().mainFont()->record());
}

TEST_F(ToDoDrawingTest, PrintoutInColourWhenFastPrintingIsOff) {
  app.ctx.options.fastprinting = 0;
  const std::vector<CanvasOp>& page = Print();
  EXPECT_EQ(ui.printJobs().back().documentName, "To Do List");
  const CanvasOp* heading = TextAt(page, {22, 2});
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->text, "Things to do...");
  const CanvasOp* first = TextAt(page, {5, kPrintTop + 2});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->text, "zero");
  EXPECT_EQ(first->color, colors().fore);
  EXPECT_EQ(TextAt(page, {5, kPrintTop + kPrintLine + 2})->text, "one");
  EXPECT_NE(TextAt(page, {5, kPrintTop + 19 * kPrintLine + 2}), nullptr);
  const CanvasOp* band = FillAt(page, {3000, kPrintTop + kPrintLine});
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->rect, (Rect{0, kPrintTop + kPrintLine, 9999, kPrintTop + 2 * kPrintLine}));
  EXPECT_EQ(band->color, colors().dayplan2);
  // The printer's own font: no font is selected on paper.
  for (const CanvasOp* font : OpsOfKind(page, CanvasOp::Kind::Font)) EXPECT_FALSE(font->font);
}

TEST_F(ToDoDrawingTest, FastPrintoutHasNoBandsAndNoColours) {
  app.ctx.options.fastprinting = 1;
  const std::vector<CanvasOp>& page = Print();
  EXPECT_NE(TextAt(page, {22, 2}), nullptr);
  EXPECT_TRUE(OpsOfKind(page, CanvasOp::Kind::Fill).empty());
  const CanvasOp* first = TextAt(page, {5, kPrintTop + 2});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->color, Rgb(0, 0, 0));
  EXPECT_EQ(first->color2, Rgb(255, 255, 255));
}

TEST_F(ToDoDrawingTest, PrintoutShowsTheLineBeingTyped) {
  ui.Click(list(), LineCentre(1));
  ui.Key(list(), kVkEnd);
  ui.Type(editor(), " more");
  const std::vector<CanvasOp>& page = Print();
  EXPECT_EQ(TextAt(page, {5, kPrintTop + kPrintLine + 2})->text, "one more");
  EXPECT_EQ(Stored(1), "one more");
}

TEST_F(ToDoDrawingTest, ClicksStillHitTheScreenLinesAfterAPrintout) {
  Print();
  EXPECT_TRUE(record().enabled);
  EXPECT_EQ(list().geometry().lines[0].top, 0);
  ui.Click(list(), LineCentre(1));
  EXPECT_EQ(list().current(), 1);
  EXPECT_EQ(editor().Text(), "one");
}

TEST_F(ToDoDrawingTest, CancelledPrintDialogPrintsNothing) {
  ui.AnswerPrint(std::nullopt);
  ASSERT_TRUE(ui.Command(list(), res::kIdPrint));
  ASSERT_EQ(ui.printJobs().size(), 1u);
  EXPECT_FALSE(ui.printJobs()[0].started);
  EXPECT_TRUE(record().enabled);
}

}  // namespace
}  // namespace vesk::test
