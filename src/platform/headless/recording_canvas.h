#pragma once
// The headless twin's device context: it records every drawing operation and
// prints them as text lines, one per operation:
//   text 5,2 "12:00am" fg=#000080 bg=#ffff00 opaque
//   text 5,2 "12:00am" fg=#000080 transparent
//   fill 0,0-3200,40 #ffff00
//   line 0,20-3200,20 #000000
//   frame3d 0,0-31,19 #000000 #ffffff
//   rect 0,0-50,27 #ff00ff
//   font "Comic Sans MS" -13 400 italic        (or: font default)
//   fit 0,0-600,986                            (a printer asked to fit content)
// Rectangles read left,top-right,bottom; colours #rrggbb.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/headless/headless_font.h"

namespace vesk {

struct CanvasOp {
  enum class Kind { Text, Fill, Line, Frame3d, Rectangle, Font, Fit };
  Kind kind = Kind::Text;
  // Text: origin and extent; line: from (left, top) to (right, bottom).
  Rect rect;
  std::string text;
  // Text: foreground; fill, line, rectangle: the colour; frame: top and left.
  Color color = 0;
  // Text: background; frame: bottom and right.
  Color color2 = 0;
  bool opaque = false;             // text in opaque mode
  std::optional<FontRecord> font;  // font: the record selected, nothing for the default

  std::string ToString() const;
};

std::string ColorText(Color c);  // "#rrggbb"
std::vector<std::string> DumpLines(const std::vector<CanvasOp>& ops);
// The lines joined, each ended by a newline.
std::string Dump(const std::vector<CanvasOp>& ops);

// The last text drawn with its top-left at origin (the one that shows), or null.
const CanvasOp* TextAt(const std::vector<CanvasOp>& ops, Point origin);
// The first text op with exactly this text, or null.
const CanvasOp* FindText(const std::vector<CanvasOp>& ops, std::string_view text);
// The last fill or filled rectangle that covers p (right and bottom edges
// excluded), or null.
const CanvasOp* FillAt(const std::vector<CanvasOp>& ops, Point p);
std::vector<const CanvasOp*> OpsOfKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind);

class RecordingCanvas : public Canvas {
 public:
  static constexpr int kTrueColor = 1 << 24;

  // With a sink, the operations are appended there (a window's immediate
  // drawing) instead of to the canvas's own list; the sink must outlive it.
  explicit RecordingCanvas(bool printer = false, int colorCount = kTrueColor,
                           std::vector<CanvasOp>* sink = nullptr);

  void SetPrinter(bool printer) { printer_ = printer; }
  void SetColorCount(int count) { colorCount_ = count; }
  const std::vector<CanvasOp>& ops() const { return *ops_; }
  // The metrics of the selected font, or of the context's default font.
  FontMetrics Metrics() const;

  bool IsPrinter() const override { return printer_; }
  int ColorCount() const override { return colorCount_; }
  const Font* SelectFont(const Font* font) override;
  Size TextExtent(std::string_view text) override;
  Color SetTextColor(Color c) override;
  Color SetBkColor(Color c) override;
  Color TextColor() const override { return textColor_; }
  Color BkColor() const override { return bkColor_; }
  void SetBkMode(BkMode mode) override { bkMode_ = mode; }
  void TextOut(int x, int y, std::string_view text) override;
  void FillSolidRect(const Rect& r, Color c) override;
  void Line(int x1, int y1, int x2, int y2, Color c) override;
  void Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) override;
  void Rectangle(const Rect& r, Color fill) override;
  // Recorded on a printer only; coordinates stay as they were drawn.
  void FitOnPage(Size content) override;

 private:
  CanvasOp& Add(CanvasOp::Kind kind, const Rect& rect, Color color);

  bool printer_;
  int colorCount_;
  std::vector<CanvasOp> own_;
  std::vector<CanvasOp>* ops_;
  const Font* font_ = nullptr;
  Color textColor_ = Rgb(0, 0, 0);
  Color bkColor_ = Rgb(255, 255, 255);
  BkMode bkMode_ = BkMode::Opaque;
};

}  // namespace vesk
