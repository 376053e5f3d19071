// What the day planner draws on the screen and on paper.
#include <algorithm>
#include <string>
#include <vector>

#include "planner/planner_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "views/color_set.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

class PlannerDrawingTest : public PlannerTest {
 protected:
  void SetUp() override { Start(); }
  const ColorSet& colors() const { return frame().view().colors(); }
  // Prints the planner through its Print command; the page's operations.
  std::vector<CanvasOp> Print(AppointBook2& p) {
    ui.AnswerPrint(PrintAnswer{});
    ui.Command(p, res::kIdPrint);
    if (ui.printJobs().empty() || ui.printJobs().back().pages.size() != 1) {
      ADD_FAILURE() << "no page printed";
      return {};
    }
    return ui.printJobs().back().pages[0];
  }
  static std::vector<std::string> Texts(const std::vector<CanvasOp>& ops) {
    std::vector<std::string> out;
    for (const CanvasOp& op : ops)
      if (op.kind == CanvasOp::Kind::Text) out.push_back(op.text);
    return out;
  }
};

TEST_F(PlannerDrawingTest, RowsAlternateTheirColoursAndCarryTheirLabels) {
  AppointBook2& p = Open(2000, 3, 15);
  const std::vector<CanvasOp> ops = Paint(p);
  const PlannerMetrics& m = p.metrics();
  const int lh = m.lineHeight;
  const CanvasOp* eight = FillAt(ops, {3000, 1});
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(eight->rect, (Rect{0, 0, 3200, 2 * lh}));
  EXPECT_EQ(eight->color, colors().dayplan1);
  EXPECT_EQ(FillAt(ops, {10, 2 * lh + 1})->color, colors().dayplan2) << "9:00 is odd";
  const CanvasOp* label = TextAt(ops, {5, 2});
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text, "8:00am");
  EXPECT_EQ(label->color, colors().fore);
  EXPECT_EQ(label->color2, colors().dayplan1) << "texts stand on the row's colour";
  // The half-past label ends 16 pixels left of the text column.
  const CanvasOp* half = FindText(ops, "8:30");
  ASSERT_NE(half, nullptr);
  EXPECT_EQ(half->rect.left, m.timeWidth - 4 * 7 - 16);
  EXPECT_EQ(half->rect.top, lh + 2);
  const CanvasOp* noon = TextAt(ops, {5, 2 * lh * 4 + 2});
  ASSERT_NE(noon, nullptr);
  EXPECT_EQ(noon->text, "12:00pm");
  EXPECT_NE(FindText(ops, "12:30"), nullptr);
  EXPECT_EQ(FindText(ops, "7:00am"), nullptr) << "hours above the first are not drawn";
}

TEST_F(PlannerDrawingTest, SeparatorsSplitRowsAndTheirTwoLines) {
  AppointBook2& p = Open(2000, 3, 15);
  const std::vector<CanvasOp> ops = Paint(p);
  const PlannerMetrics& m = p.metrics();
  std::vector<Rect> lines;
  for (const CanvasOp* op : OpsOfKind(ops, CanvasOp::Kind::Line)) lines.push_back(op->rect);
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), Rect{m.timeWidth, m.lineHeight, 3200, m.lineHeight}),
      lines.end())
      << "between a row's lines, across the text column only";
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), Rect{0, 2 * m.lineHeight, 3200, 2 * m.lineHeight}),
      lines.end())
      << "above the second row, full width";
  EXPECT_EQ(std::find(lines.begin(), lines.end(), Rect{0, 0, 3200, 0}), lines.end())
      << "nothing above the first row";
}

TEST_F(PlannerDrawingTest, EntriesShowWithTheirRepeatMarkAndHighlight) {
  CPlannerEntry& weekly = app.AddEntry(2000, 3, 15, 9, 30, "Weekly");
  weekly.repeats = 2;
  CPlannerEntry& marked = app.AddEntry(2000, 3, 15, 10, 0, "Marked");
  marked.highlight = 1;
  app.AddEntry(2000, 3, 16, 10, 0, "Other date");
  AppointBook2& p = Open(2000, 3, 15);
  const std::vector<CanvasOp> ops = Paint(p);
  const PlannerMetrics& m = p.metrics();
  const int lh = m.lineHeight;
  const CanvasOp* text = TextAt(ops, {m.timeWidth + 7, 3 * lh + 2});
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, "Weekly");
  EXPECT_EQ(text->color, colors().fore);
  const CanvasOp* plus = TextAt(ops, {m.timeWidth - 9, 3 * lh - 3});
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->text, "+");
  EXPECT_EQ(plus->color, Rgb(255, 0, 0));
  const CanvasOp* hi = TextAt(ops, {m.timeWidth + 7, 4 * lh + 2});
  ASSERT_NE(hi, nullptr);
  EXPECT_EQ(hi->text, "Marked");
  EXPECT_EQ(hi->color, colors().hasappoint);
  EXPECT_EQ(FindText(ops, "Other date"), nullptr);
}

TEST_F(PlannerDrawingTest, TwentyFourHourLabelsNameEveryRowsHour) {
  app.ctx.options.a24hour = 1;
  AppointBook2& p = Open(2000, 3, 15);
  std::vector<CanvasOp> ops = Paint(p);
  EXPECT_NE(FindText(ops, "13:00"), nullptr);
  EXPECT_NE(FindText(ops, "13:30"), nullptr);
  EXPECT_EQ(FindText(ops, "1:00pm"), nullptr);
  ui.VScroll(p, kSbPageUp, 0);
  ops = Paint(p);
  const CanvasOp* midnight = TextAt(ops, {5, 2});
  ASSERT_NE(midnight, nullptr);
  EXPECT_EQ(midnight->text, "0:00");
  EXPECT_NE(FindText(ops, "4:30"), nullptr);
  EXPECT_NE(FindText(ops, "5:00"), nullptr);
}

TEST_F(PlannerDrawingTest, APrintoutStartsAtSixWithTheTitle) {
  app.AddEntry(2000, 3, 15, 22, 30, "Late call").repeats = 2;
  AppointBook2& p = Open(2000, 3, 15);
  ASSERT_EQ(app.ctx.options.fastprinting, 1);
  const std::vector<CanvasOp> ops = Print(p);
  const CanvasOp* title = TextAt(ops, {22, 2});
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text, "Wednesday, March 15, 2000                     by Vesk Calendar");
  // The printer's own font: 7 x 13, so lines of 17.
  const CanvasOp* six = TextAt(ops, {5, 2 * 17 + 2});
  ASSERT_NE(six, nullptr);
  EXPECT_EQ(six->text, "6:00am");
  EXPECT_NE(FindText(ops, "11:00pm"), nullptr);
  EXPECT_NE(FindText(ops, "Late call"), nullptr);
  EXPECT_EQ(FindText(ops, "5:00am"), nullptr);
  EXPECT_TRUE(OpsOfKind(ops, CanvasOp::Kind::Fill).empty()) << "fast printing: no bands";
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Text) {
      EXPECT_EQ(op.color, Rgb(0, 0, 0)) << op.text;
    }
    if (op.kind == CanvasOp::Kind::Font) {
      EXPECT_FALSE(op.font.has_value()) << "no font selected";
    }
  }
  EXPECT_EQ(p.firstHour(), 8) << "the window keeps its hours";
  EXPECT_EQ(ui.printJobs().back().documentName, "Day Planner");
  EXPECT_TRUE(Record(p).enabled);
  EXPECT_EQ(ui.ActiveWindow(), &p);
  EXPECT_EQ(ui.Focus(), p.editor());
}

TEST_F(PlannerDrawingTest, ASlowPrintoutHasTheColours) {
  app.ctx.options.fastprinting = 0;
  app.AddEntry(2000, 3, 15, 22, 30, "Late call").repeats = 2;
  AppointBook2& p = Open(2000, 3, 15);
  const std::vector<CanvasOp> ops = Print(p);
  const CanvasOp* band = FillAt(ops, {100, 2 * 17 + 1});
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->color, colors().dayplan1);
  const CanvasOp* plus = FindText(ops, "+");
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->color, Rgb(255, 0, 0));
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "+"), 1);
}

TEST_F(PlannerDrawingTest, ClicksStillHitTheScreenLinesAfterAPrintout) {
  AppointBook2& p = Open(2000, 3, 15);
  const PlannerMetrics screen = p.metrics();
  const Point tenThirty = LinePoint(p, 2, false);
  Print(p);
  EXPECT_EQ(p.metrics(), screen);
  ui.Click(p, tenThirty);
  EXPECT_EQ(Selected(p), "10:30");
  const Rect line = HalfLine(screen, 2, 0);
  EXPECT_EQ(Record(Editor(p)).rect,
            Rect::FromSize(line.left, line.top + 2, screen.textWidth - 12, screen.lineHeight - 2))
      << "the editor sits over the screen line";
}

TEST_F(PlannerDrawingTest, TheLineBeingTypedIsStoredAndPrinted) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Call the bank");
  const std::vector<CanvasOp> ops = Print(p);
  EXPECT_NE(FindText(ops, "Call the bank"), nullptr);
  const CPlannerEntry* e = app.ctx.entries.FindAt(2000, 3, 15, 8, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->notes, "Call the bank");
  EXPECT_EQ(Editor(p).Text(), "Call the bank") << "the line stays selected";
}

TEST_F(PlannerDrawingTest, ACancelledPrintDialogPrintsNothing) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Unchanged");
  ui.Command(p, res::kIdPrint);
  ASSERT_EQ(ui.printJobs().size(), 1u);
  EXPECT_FALSE(ui.printJobs()[0].started);
  EXPECT_EQ(Editor(p).Text(), "Unchanged");
}

}  // namespace
}  // namespace vesk::test
