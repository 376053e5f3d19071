#pragma once
// Drawing the month calendar and its cells. The same helpers draw the hover
// frames at once and the whole month in the paint handler.
#include <string_view>

#include "platform/canvas.h"
#include "views/color_set.h"
#include "views/month_layout.h"

namespace vesk {

class CEntryList;
class Font;

struct CellFlags {
  bool raised = false;
  bool today = false;
  bool hasEntries = false;
};

// Text centred in the cell (x, y, w, h) on the current background; hasappoint
// text when the date has entries, today's double frame and the raised frame as asked.
void DrawCell(Canvas& canvas, const ColorSet& colors, std::string_view text, const Rect& cell,
              CellFlags flags);

// The one-pixel frame that marks a cell: origin at its top-left, size w - 1 by
// h - 1; raised is toplite top-left and botlite bottom-right, sunken the reverse.
void DrawCellFrame(Canvas& canvas, const ColorSet& colors, const Rect& cell, bool sunken);

struct MonthFonts {
  const Font* main = nullptr;
  const Font* heading = nullptr;
  const Font* title = nullptr;
};

struct MonthPicture {
  int year = 0;
  int month = 0;
  bool europe = false;
  int todayYear = 0, todayMonth = 0, todayDay = 0;
};

// Selects the main font and measures the cell from "Wd".
Size MeasureCell(Canvas& canvas, const Font* mainFont);

// Draws the whole month and returns the layout it drew.
MonthLayout DrawMonth(Canvas& canvas, const ColorSet& colors, const MonthFonts& fonts,
                      const MonthPicture& picture, const CEntryList& entries);

}  // namespace vesk
