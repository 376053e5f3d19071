// Drawing the year view on the screen and on paper.
#include <string>

#include "calendar/calendar.h"
#include "calendar/local_time.h"
#include "platform/ui.h"
#include "res/year_resources.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "views/color_set.h"
#include "views/month_drawing.h"
#include "views/month_layout.h"
#include "views/month_view.h"
#include "views/view_year.h"

namespace vesk {

namespace {

// The background, larger than any year.
constexpr Rect kBackground{0, 0, 9999, 9999};
constexpr int kColumns = 7;
constexpr int kBlockRows = 8;

}  // namespace

void ViewYear::DrawMonthBlock(Canvas& canvas, const YearLayout& layout, int month, bool paper,
                              bool colors) {
  const ColorSet& set = Colors();
  const int w = layout.cell.cx;
  const int h = layout.cell.cy;
  const Point o = layout.MonthOrigin(month);
  // A frame's fill leaves its colour as the text background; paper without
  // colours keeps the printer's own background behind the numbers.
  auto frame = [&canvas](const Rect& r, Color topLeft, Color bottomRight) {
    const Color back = canvas.BkColor();
    canvas.Draw3dRect(r, topLeft, bottomRight);
    canvas.SetBkColor(back);
  };
  frame(Rect::FromSize(o.x, o.y, kColumns * w - 1, kBlockRows * h - 1), set.toplite, set.botlite);
  if (colors) {
    canvas.SetTextColor(set.fore);
    canvas.SetBkColor(set.back);
  }
  DrawCell(canvas, set, MonthName(month).value_or(""), Rect::FromSize(o.x, o.y, kColumns * w, h),
           {});
  const auto headings = WeekdayHeadings(ctx_.options.europe != 0);
  for (int column = 0; column < kColumns; ++column) {
    DrawCell(canvas, set, headings[column], Rect::FromSize(o.x + column * w, o.y + h, w, h), {});
  }
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  for (int d = 1; d <= layout.daysInMonth[month]; ++d) {
    const Rect& r = layout.days[month][d];
    frame(Rect::FromSize(r.left + 1, r.top + 1, w - 2, h - 2), set.toplite, set.botlite);
    if (colors) canvas.SetBkColor(set.back);
    // Paper shows no entry marking and no today frames.
    const bool marked = !paper && ctx_.entries.HasEntryOn(year_, month, d);
    DrawCell(canvas, set, std::to_string(d), r, {.hasEntries = marked});
    if (!paper && year_ == today.year && month == today.month && d == today.day) {
      frame(Rect::FromSize(r.left + 1, r.top + 2, w - 3, h - 4), set.currentday, set.currentday);
      frame(Rect::FromSize(r.left + 2, r.top + 3, w - 5, h - 6), set.currentday, set.currentday);
      canvas.SetBkColor(set.back);
    }
  }
}

void ViewYear::DrawYear(Canvas& canvas) {
  const bool paper = canvas.IsPrinter();
  const bool colors = !paper || ctx_.options.fastprinting == 0;
  // Paper takes the printer's own font.
  const Font* old =
      canvas.SelectFont(paper || ctx_.view == nullptr ? nullptr : ctx_.view->mainFont());
  const Size cell = YearCellFromText(canvas.TextExtent("We"), paper);
  if (colors) {
    canvas.SetBkMode(BkMode::Opaque);
    canvas.FillSolidRect(kBackground, Colors().back);
    canvas.SetTextColor(Colors().fore);
  }
  int top = 0;
  if (paper) {
    // The twelve months under the year, on one page whatever the paper.
    canvas.FitOnPage({kYearColumns * kColumns * cell.cx, (1 + kYearRows * kBlockRows) * cell.cy});
    canvas.TextOut(13 * cell.cx + cell.cx / 2, 0, std::to_string(year_));
    top = cell.cy;
  }
  const YearLayout layout = LayoutYear(year_, ctx_.options.europe != 0, cell, top);
  for (int m = 1; m <= 12; ++m) DrawMonthBlock(canvas, layout, m, paper, colors);
  if (!paper) cell_ = cell;
  canvas.SelectFont(old);
}

void ViewYear::OnPaint(Canvas& canvas) {
  if (!menuAttached_) {
    menuAttached_ = true;
    // The menu bar changes the client area, so it comes once the paint is over.
    ui().Post([ref = Ref()] {
      if (Window* w = ref.get()) w->native()->SetMenu(&res::YearMenu());
    });
  }
  DrawYear(canvas);
}

void ViewYear::PrintPage(Canvas& printer, int /*page*/) { DrawYear(printer); }

}  // namespace vesk
