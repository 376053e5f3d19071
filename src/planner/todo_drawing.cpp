// The to-do window's painting and its printout.
#include "planner/todo.h"
#include "platform/ui.h"
#include "res/todo_resources.h"
#include "store/app_context.h"
#include "views/color_set.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr std::string_view kPrintHeading = "Things to do...";
constexpr Point kPrintHeadingAt{22, 2};
// Line texts start this far right of and below their line's corner.
constexpr int kTextLeft = 5;
constexpr int kTextTop = 2;
// Colour bands run on to the right edge of any window or page.
constexpr int kBandRight = 9999;

}  // namespace

ToDoGeometry ToDo::LayoutToDo(Canvas& canvas) const {
  const bool printer = canvas.IsPrinter();
  if (font_ != nullptr && !printer) canvas.SelectFont(font_);
  const Size extent = canvas.TextExtent(kToDoMeasureText);
  ToDoGeometry geometry = LayoutToDoLines(extent, 0);
  // A printout leaves room for its heading above the list.
  if (printer) geometry = LayoutToDoLines(extent, 2 * geometry.lineHeight);
  return geometry;
}

void ToDo::DrawToDo(Canvas& canvas, const Font* font) {
  const bool printer = canvas.IsPrinter();
  const ToDoGeometry geometry = LayoutToDo(canvas);
  // Clicks and the editor keep using the screen's lines after a printout.
  if (!printer) geometry_ = geometry;
  if (font != nullptr && !printer) canvas.SelectFont(font);

  const bool colored = !printer || ctx_.options.fastprinting == 0;
  const ColorSet colors = ctx_.view != nullptr ? ctx_.view->colors() : YellowScheme();
  if (colored) {
    canvas.SetTextColor(colors.fore);
    canvas.SetBkMode(BkMode::Opaque);
  }
  int shift = 0;
  if (printer) {
    canvas.TextOut(kPrintHeadingAt.x, kPrintHeadingAt.y, kPrintHeading);
    shift = geometry.lineHeight;
  }
  for (int n = 0; n < kToDoLineCount; ++n) {
    const Rect& line = geometry.lines[n];
    if (colored) {
      canvas.FillSolidRect({line.left, line.top + shift, kBandRight, line.bottom + shift},
                           n % 2 == 0 ? colors.dayplan1 : colors.dayplan2);
    }
    canvas.TextOut(kTextLeft, line.top + kTextTop + shift, LineText(n));
  }
}

void ToDo::OnPaint(Canvas& canvas) {
  if (!menuAttached_) {
    native()->SetMenu(&res::ToDoMenu());
    menuAttached_ = true;
  }
  DrawToDo(canvas, font_);
}

void ToDo::PrintPage(Canvas& printer, int /*page*/) { DrawToDo(printer, nullptr); }

}  // namespace vesk
