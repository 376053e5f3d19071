#include "views/month_drawing.h"

#include <string>

#include "calendar/calendar.h"
#include "store/entry_list.h"

namespace vesk {

namespace {

// The square the background fill covers, larger than any month.
constexpr Rect kBackground{0, 0, 1600, 1600};

std::string TitleText(int year, int month) {
  return std::string(MonthShortName(month).value_or("")) + " " + std::to_string(year);
}

}  // namespace

void DrawCell(Canvas& canvas, const ColorSet& colors, std::string_view text, const Rect& cell,
              CellFlags flags) {
  const Size extent = canvas.TextExtent(text);
  const Color oldText = canvas.TextColor();
  const Color oldBack = canvas.BkColor();
  if (flags.hasEntries) canvas.SetTextColor(colors.hasappoint);
  canvas.TextOut(cell.left + (cell.Width() - extent.cx) / 2,
                 cell.top + (cell.Height() - extent.cy) / 2, text);
  canvas.SetTextColor(oldText);
  if (flags.today) {
    canvas.Draw3dRect(
        Rect::FromSize(cell.left + 1, cell.top + 1, cell.Width() - 3, cell.Height() - 3),
        colors.currentday, colors.currentday);
    canvas.Draw3dRect(
        Rect::FromSize(cell.left + 2, cell.top + 2, cell.Width() - 5, cell.Height() - 5),
        colors.currentday, colors.currentday);
  }
  if (flags.raised) DrawCellFrame(canvas, colors, cell, false);
  canvas.SetBkColor(oldBack);
}

void DrawCellFrame(Canvas& canvas, const ColorSet& colors, const Rect& cell, bool sunken) {
  const Rect frame = Rect::FromSize(cell.left, cell.top, cell.Width() - 1, cell.Height() - 1);
  if (sunken) {
    canvas.Draw3dRect(frame, colors.botlite, colors.toplite);
  } else {
    canvas.Draw3dRect(frame, colors.toplite, colors.botlite);
  }
}

Size MeasureCell(Canvas& canvas, const Font* mainFont) {
  canvas.SelectFont(mainFont);
  return CellFromText(canvas.TextExtent("Wd"));
}

MonthLayout DrawMonth(Canvas& canvas, const ColorSet& colors, const MonthFonts& fonts,
                      const MonthPicture& picture, const CEntryList& entries) {
  const Font* oldFont = canvas.SelectFont(fonts.main);
  const Size cell = CellFromText(canvas.TextExtent("Wd"));
  const MonthLayout layout = LayoutMonth(picture.year, picture.month, picture.europe, cell);
  const int w = cell.cx;
  const int h = cell.cy;

  canvas.SetTextColor(colors.fore);
  canvas.SetBkMode(BkMode::Opaque);
  canvas.FillSolidRect(kBackground, colors.back);

  DrawCell(canvas, colors, "<<", layout.previous, {.raised = true});
  DrawCell(canvas, colors, ">>", layout.next, {.raised = true});

  canvas.SelectFont(fonts.title);
  DrawCell(canvas, colors, TitleText(picture.year, picture.month), Rect::FromSize(w, 0, 5 * w, h),
           {});

  canvas.SelectFont(fonts.heading);
  const auto headings = WeekdayHeadings(picture.europe);
  for (int column = 0; column < 7; ++column) {
    DrawCell(canvas, colors, headings[column], Rect::FromSize(column * w, h, w, h), {});
  }

  canvas.SelectFont(fonts.main);
  for (int d = 1; d <= layout.daysInMonth; ++d) {
    const bool today = picture.year == picture.todayYear && picture.month == picture.todayMonth &&
                       d == picture.todayDay;
    DrawCell(canvas, colors, std::to_string(d), layout.days[d],
             {.raised = true,
              .today = today,
              .hasEntries = entries.HasEntryOn(picture.year, picture.month, d)});
  }
  canvas.SelectFont(oldFont);
  return layout;
}

}  // namespace vesk
