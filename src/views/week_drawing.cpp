// Drawing the week view on the screen and on paper.
#include <algorithm>
#include <limits>
#include <vector>

#include "platform/ui.h"
#include "res/week_resources.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "views/color_set.h"
#include "views/view_week.h"

namespace vesk {

namespace {

// The background, wider and taller than any week.
constexpr Rect kBackground{0, 0, 3200, 6400};
constexpr Color kSeparator = Rgb(0, 0, 0);
constexpr int kHeadingLeft = 5;
constexpr int kTimeLeft = 25;
constexpr int kTextInset = 2;  // entry texts sit this far below their line's top
constexpr int kRuleAbove = 2;  // the rule runs this far above a heading
constexpr Point kHeaderAt{22, 2};
constexpr std::string_view kContinued = " (continued)";
constexpr int kAllEntries = std::numeric_limits<int>::max();

}  // namespace

std::array<int, kMaxDaysShown> ViewWeek::DayEntryCounts() const {
  std::array<int, kMaxDaysShown> counts{};
  for (int i = 0; i < daysShown_; ++i) {
    const CivilDate date = AddDays(start_, i);
    counts[i] = static_cast<int>(ctx_.entries.EntriesOn(date.year, date.month, date.day).size());
  }
  return counts;
}

int ViewWeek::DrawDayBlock(Canvas& canvas, CivilDate date, int first, int count, bool continued,
                           int y, const WeekMetrics& m, bool colors) {
  const ColorSet& set = Colors();
  if (colors) canvas.SetTextColor(set.hasappoint);
  std::string heading = WeekDayHeading(date);
  if (continued) heading += kContinued;
  canvas.TextOut(kHeadingLeft, y, heading);
  if (colors) canvas.SetTextColor(set.fore);
  canvas.Line(0, y - kRuleAbove, kBackground.right, y - kRuleAbove, kSeparator);
  y += m.lineHeight;
  const std::vector<CPlannerEntry*> entries =
      ctx_.entries.EntriesOn(date.year, date.month, date.day);
  const int notesLeft = WeekNotesLeft(m, canvas.IsPrinter());
  const bool a24hour = ctx_.options.a24hour != 0;
  const int size = static_cast<int>(entries.size());
  const int last = count >= size - first ? size : first + count;
  for (int n = first; n < last; ++n) {
    const CPlannerEntry& e = *entries[n];
    canvas.TextOut(kTimeLeft, y + kTextInset, WeekEntryTime(e.hour(), e.minute(), a24hour));
    canvas.TextOut(notesLeft, y + kTextInset, e.notes);
    y += m.lineHeight;
  }
  return y;
}

void ViewWeek::OnPaint(Canvas& canvas) {
  if (!menuAttached_) {
    menuAttached_ = true;
    // The menu bar changes the client area, so it comes once the paint is over.
    ui().Post([ref = Ref()] {
      if (Window* w = ref.get()) w->native()->SetMenu(&res::WeekMenu());
    });
  }
  ctx_.entries.SortByTime();
  const ColorSet& set = Colors();
  canvas.SetBkMode(BkMode::Opaque);
  canvas.FillSolidRect(kBackground, set.back);
  canvas.SetTextColor(set.fore);
  canvas.SetBkColor(set.back);
  const Font* old = canvas.SelectFont(DrawingFont());
  metrics_ = MeasureWeek(canvas);
  int y = WeekTopY(firstLine_, metrics_.lineHeight);
  int lines = 0;
  for (int i = 0; i < daysShown_; ++i) {
    const int top = y;
    y = DrawDayBlock(canvas, AddDays(start_, i), 0, kAllEntries, false, y, metrics_, true);
    dayBottoms_[i] = y;
    lines += (y - top) / std::max(1, metrics_.lineHeight);
  }
  canvas.SelectFont(old);
  // A period with more lines than the usual scroll range can still be
  // scrolled to its last line.
  const int wanted = std::max(kWeekLineCount, lines);
  if (wanted != lineCount_) {
    lineCount_ = wanted;
    ui().Post([ref = Ref()] {
      auto* week = static_cast<ViewWeek*>(ref.get());
      if (week == nullptr) return;
      week->firstLine_ = std::min(week->firstLine_, week->lineCount_ - (kWeekVisibleLines - 1));
      week->native()->SetScrollRange(1, week->lineCount_, kWeekVisibleLines, week->firstLine_,
                                     true);
    });
  }
}

int ViewWeek::PrintPageCount() {
  const std::array<int, kMaxDaysShown> counts = DayEntryCounts();
  return static_cast<int>(PaginateWeek(std::span(counts).first(daysShown_)).size());
}

void ViewWeek::PrintPage(Canvas& printer, int page) {
  ctx_.entries.SortByTime();
  const std::array<int, kMaxDaysShown> counts = DayEntryCounts();
  const std::vector<WeekPrintPage> pages = PaginateWeek(std::span(counts).first(daysShown_));
  if (page < 1 || page > static_cast<int>(pages.size())) return;
  const bool colors = ctx_.options.fastprinting == 0;
  if (colors) {
    const ColorSet& set = Colors();
    printer.SetBkMode(BkMode::Opaque);
    printer.FillSolidRect(kBackground, set.back);
    printer.SetTextColor(set.fore);
    printer.SetBkColor(set.back);
  }
  // Paper takes the printer's own font.
  const Font* old = printer.SelectFont(nullptr);
  const WeekMetrics m = MeasureWeek(printer);
  // A page of 58 rows, whatever the paper: the page count was promised first.
  printer.FitOnPage({WeekNotesLeft(m, true) + m.textWidth, kWeekRowsPerPage * m.lineHeight});
  printer.TextOut(kHeaderAt.x, kHeaderAt.y, WeekPrintHeader(start_));
  int y = 1 + 2 * m.lineHeight;
  for (const WeekPrintBlock& block : pages[page - 1]) {
    y = DrawDayBlock(printer, AddDays(start_, block.day), block.firstEntry, block.entryCount,
                     block.continued, y, m, colors);
  }
  printer.SelectFont(old);
}

}  // namespace vesk
