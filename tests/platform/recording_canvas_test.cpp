// The recording canvas and the headless font metrics that make layouts predictable.
#include "platform/headless/recording_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "platform/log_window.h"

namespace vesk::test {
namespace {

using ::testing::ElementsAre;

TEST(RecordingCanvasTest, DumpsOneLinePerOperation) {
  RecordingCanvas canvas;
  HeadlessFont font([] {
    FontRecord r = FontRecord::DefaultMain();
    r.italic = 1;
    return r;
  }());
  canvas.SelectFont(&font);
  canvas.FillSolidRect({0, 0, 3200, 40}, Rgb(255, 255, 0));
  canvas.SetTextColor(Rgb(0, 0, 0x80));
  canvas.TextOut(5, 2, "12:00am");
  canvas.SetBkMode(BkMode::Transparent);
  canvas.TextOut(5, 20, "say \"hi\"\n");
  canvas.Line(0, 20, 3200, 20, Rgb(0, 0, 0));
  canvas.Draw3dRect({0, 0, 31, 19}, Rgb(0, 0, 0), Rgb(255, 255, 255));
  canvas.Rectangle({0, 0, 50, 27}, Rgb(255, 0, 255));
  canvas.SelectFont(nullptr);
  EXPECT_EQ(Dump(canvas.ops()),
            "font \"Comic Sans MS\" -13 400 italic\n"
            "fill 0,0-3200,40 #ffff00\n"
            "text 5,2 \"12:00am\" fg=#000080 bg=#ffff00 opaque\n"
            "text 5,20 \"say \\\"hi\\\"\\n\" fg=#000080 transparent\n"
            "line 0,20-3200,20 #000000\n"
            "frame3d 0,0-31,19 #000000 #ffffff\n"
            "rect 0,0-50,27 #ff00ff\n"
            "font default\n");
}

TEST(RecordingCanvasTest, ColoursAreWrittenRedGreenBlueFromTheStoredOrder) {
  EXPECT_EQ(ColorText(0x00563412), "#123456");  // 0x00BBGGRR
  EXPECT_EQ(ColorText(Rgb(0xc0, 0xc0, 0xc0)), "#c0c0c0");
}

TEST(RecordingCanvasTest, FontMetricsFollowTheDocumentedRule) {
  struct Row {
    int height, weight;
    FontMetrics metrics;
  };
  const Row rows[] = {
      {-13, 400, {7, 16}}, {-13, 700, {8, 16}}, {0, 400, {7, 16}},
      {20, 400, {10, 23}}, {-8, 400, {4, 11}},
  };
  for (const Row& row : rows) {
    FontRecord r;
    r.height = row.height;
    r.weight = row.weight;
    EXPECT_EQ(MetricsOf(r), row.metrics) << row.height << " " << row.weight;
  }
  RecordingCanvas screen, printer(true);
  EXPECT_EQ(screen.TextExtent("abc"), (Size{24, 16}));
  EXPECT_EQ(printer.TextExtent("abc"), (Size{21, 13}));
  HeadlessFont font(FontRecord::DefaultMain());
  screen.SelectFont(&font);
  EXPECT_EQ(screen.TextExtent("\xc3\xa9t\xc3\xa9"), (Size{21, 16}));  // three characters
  EXPECT_EQ(screen.SelectFont(nullptr), &font);
}

TEST(RecordingCanvasTest, QueriesFindWhatShowsAtAPoint) {
  RecordingCanvas canvas;
  canvas.FillSolidRect({0, 0, 100, 100}, Rgb(1, 1, 1));
  canvas.FillSolidRect({10, 10, 20, 20}, Rgb(2, 2, 2));
  canvas.TextOut(10, 10, "first");  // on the last fill's colour
  canvas.TextOut(10, 10, "second");
  EXPECT_EQ(FillAt(canvas.ops(), {15, 15})->color, Rgb(2, 2, 2));
  EXPECT_EQ(FillAt(canvas.ops(), {20, 15})->color, Rgb(1, 1, 1));  // right edge excluded
  EXPECT_EQ(FillAt(canvas.ops(), {100, 0}), nullptr);
  EXPECT_EQ(TextAt(canvas.ops(), {10, 10})->text, "second");
  EXPECT_EQ(FindText(canvas.ops(), "first")->color2, Rgb(2, 2, 2));
  EXPECT_EQ(FindText(canvas.ops(), "first")->rect, (Rect{10, 10, 50, 26}));
  EXPECT_EQ(OpsOfKind(canvas.ops(), CanvasOp::Kind::Text).size(), 2u);
}

TEST(RecordingCanvasTest, WindowsPaintOnAFreshCanvasAndDrawAtOnceIntoTheirRecord) {
  HeadlessUi ui;
  ui.SetScreenColors(16);
  Log log;
  LogWindow w(ui, log, "w");
  w.Create(TopLevel("W"));
  w.onPaint = [](Canvas& c) {
    EXPECT_FALSE(c.IsPrinter());
    EXPECT_EQ(c.ColorCount(), 16);
    c.TextOut(1, 2, "painted");
  };
  w.Invalidate(false);
  w.Invalidate(true);
  const WindowRecord& record = *HeadlessUi::Record(w);
  EXPECT_EQ(record.invalidations, 2);
  EXPECT_TRUE(record.needsPaint);
  EXPECT_TRUE(record.erase);
  EXPECT_THAT(DumpLines(ui.Paint(w)),
              ElementsAre("text 1,2 \"painted\" fg=#000000 bg=#ffffff opaque"));
  EXPECT_FALSE(record.needsPaint);
  EXPECT_FALSE(record.erase);

  w.native()->ClientCanvas()->Draw3dRect({0, 0, 5, 5}, Rgb(255, 0, 0), Rgb(0, 255, 0));
  w.native()->ClientCanvas()->FillSolidRect({0, 0, 1, 1}, Rgb(0, 0, 255));
  EXPECT_THAT(DumpLines(record.immediate),
              ElementsAre("frame3d 0,0-5,5 #ff0000 #00ff00", "fill 0,0-1,1 #0000ff"));
}

}  // namespace
}  // namespace vesk::test
