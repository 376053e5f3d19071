// Drawing the day planner on the screen and on paper.
#include <string>

#include "calendar/calendar.h"
#include "planner/day_planner.h"
#include "planner/entry_edit.h"
#include "platform/ui.h"
#include "store/app_context.h"
#include "store/planner_entry.h"
#include "views/color_set.h"

namespace vesk {

namespace {

constexpr Color kRepeatMark = Rgb(255, 0, 0);
// The separators are drawn with the context's default pen.
constexpr Color kSeparator = Rgb(0, 0, 0);
constexpr int kLabelLeft = 5;
constexpr int kTextInset = 2;      // texts sit this far below a line's top
constexpr int kEntryIndent = 7;    // entry texts start this far into the text column
constexpr int kMarkOffset = 9;     // the repeat mark "+" stands this far left of the column
constexpr int kHalfMarkRaise = 3;  // the half-past line's mark sits a little higher
constexpr int kHalfLabelGap = 16;  // the half-past label ends this far left of the column
constexpr Point kHeaderAt{22, 2};

// Both labels of an hour. The 24-hour table has none before 5:00; those rows
// show their hours in the same style so that every row names its own hour.
SlotLabels RowLabels(int hour, bool use24Hour) {
  SlotLabels labels = SlotLabel(hour, use24Hour);
  if (use24Hour && labels.onHour.empty()) {
    labels = {FormatTime(hour, 0, true), FormatTime(hour, 30, true)};
  }
  return labels;
}

}  // namespace

void AppointBook2::LayoutLines(Canvas& canvas, const Font* font) {
  if (font != nullptr) canvas.SelectFont(font);
  metrics_ = MeasurePlanner(canvas);
  rowsTop_ = FirstRowTop(metrics_, canvas.IsPrinter());
}

void AppointBook2::PrintPage(Canvas& printer, int /*page*/) { DrawPlanner(printer, nullptr); }

void AppointBook2::DrawPlanner(Canvas& canvas, const Font* font) {
  const bool printing = canvas.IsPrinter();
  const bool colors = !printing || ctx_.options.fastprinting == 0;
  // Clicks and the editor keep using the screen's lines after a printout.
  const PlannerMetrics screenMetrics = metrics_;
  const int screenRowsTop = rowsTop_;
  // A printout uses the printer's own font.
  const Font* previous = canvas.SelectFont(printing ? nullptr : font);
  LayoutLines(canvas, printing ? nullptr : font);
  if (colors) canvas.SetTextColor(Colors().fore);
  int first = firstHour_;
  if (printing) {
    canvas.TextOut(kHeaderAt.x, kHeaderAt.y, title_ + std::string(kPrintedByline));
    first = kPrintFirstHour;
  }
  for (int hour = first; hour < kPlannerRows; ++hour) DrawRow(canvas, hour - first, hour, colors);
  canvas.SelectFont(previous);
  if (printing) {
    metrics_ = screenMetrics;
    rowsTop_ = screenRowsTop;
  }
  // After every repaint some line of the window is selected; the editor is
  // made once the paint is over, since a paint handler makes no windows.
  if (!printing && editor_ == nullptr && !editorPending_) {
    editorPending_ = true;
    ui().Post([ref = Ref()] {
      auto* planner = static_cast<AppointBook2*>(ref.get());
      if (planner == nullptr) return;
      planner->editorPending_ = false;
      if (planner->editor_ == nullptr) planner->OpenLineEditor(0, true);
    });
  }
}

void AppointBook2::DrawRow(Canvas& canvas, int row, int hour, bool colors) {
  const Rect h = HourLine(metrics_, row, rowsTop_);
  const Rect l = HalfLine(metrics_, row, rowsTop_);
  const ColorSet& set = Colors();
  const SlotLabels labels = RowLabels(hour, ctx_.options.a24hour != 0);
  if (colors) {
    canvas.FillSolidRect({0, h.top, kPlannerBandWidth, l.bottom},
                         hour % 2 == 0 ? set.dayplan1 : set.dayplan2);
  }
  canvas.TextOut(kLabelLeft, h.top + kTextInset, labels.onHour);
  if (const CPlannerEntry* e = ctx_.entries.FindAt(year, month, day, hour, 0)) {
    DrawEntry(canvas, *e, {h.left - kMarkOffset, h.top},
              {h.left + kEntryIndent, h.top + kTextInset}, colors);
  }
  canvas.Line(h.left, h.bottom, kPlannerBandWidth, h.bottom, kSeparator);
  const int halfWidth = canvas.TextExtent(labels.halfPast).cx;
  canvas.TextOut(l.left - halfWidth - kHalfLabelGap, l.top + kTextInset, labels.halfPast);
  if (const CPlannerEntry* e = ctx_.entries.FindAt(year, month, day, hour, 30)) {
    DrawEntry(canvas, *e, {l.left - kMarkOffset, l.top - kHalfMarkRaise},
              {l.left + kEntryIndent, l.top + kTextInset}, colors);
  }
  if (row != 0) canvas.Line(0, h.top, kPlannerBandWidth, h.top, kSeparator);
}

void AppointBook2::DrawEntry(Canvas& canvas, const CPlannerEntry& e, Point plus, Point text,
                             bool colors) {
  const Color previous = canvas.TextColor();
  if (e.repeats != 0) {
    if (colors) canvas.SetTextColor(kRepeatMark);
    canvas.TextOut(plus.x, plus.y, "+");
    canvas.SetTextColor(previous);
  }
  if (e.highlight != 0 && colors) canvas.SetTextColor(Colors().hasappoint);
  canvas.TextOut(text.x, text.y, e.notes);
  canvas.SetTextColor(previous);
}

}  // namespace vesk
