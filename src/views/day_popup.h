#pragma once
// The day popup: a small borderless window that lists one date's entries next
// to the window the pointer is in. At most one exists; ctx.dayPopup observes
// it and the Ui owns it until it is destroyed.
#include <memory>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/window.h"
#include "views/color_set.h"

namespace vesk {

struct AppContext;
class CEntryList;
class CPlannerEntry;

inline constexpr int kMaxPopupShrinkSteps = 20;

struct PopupPlacement {
  Point position;
  bool fits = false;  // the popup is no taller than the screen
};

// Left of the anchor, else right of it when the anchor's right edge is not in
// the screen's rightmost fifth; kept on the screen vertically and centred on
// the anchor's height when shorter; an anchor beyond the screen's right edge
// puts the popup in the bottom-right corner.
PopupPlacement PlaceDayPopup(const Rect& anchor, Size screen, int widestLine, int lineCount,
                             int lineHeight);

// How long the start-up popup of lineCount lines stays, in ms.
int DayPopupLifetimeMs(int lineCount);

// The font one shrink step smaller: height and width times 0.95, truncated.
FontRecord ShrinkPopupFont(const FontRecord& font);

// The date heading, then one line per entry from `first` on, following the
// time order until an entry of another date.
std::vector<std::string> DayPopupLines(const CEntryList& entries, const CPlannerEntry& first,
                                       int year, int month, int day, bool europe, bool a24hour);

class CDayPopupWnd : public Window {
 public:
  // colors is the shared colour set, read at every paint.
  CDayPopupWnd(AppContext& ctx, const ColorSet& colors, bool tinted,
               std::vector<std::string> lines);

  // Copies the font, measures, places (shrinking the font while the popup does
  // not fit, at most 20 times) and shows the created window topmost.
  void Present(const FontRecord& mainFont, const Rect& anchor);

  void OnPaint(Canvas& canvas) override;
  void OnDestroy() override;

  const std::vector<std::string>& lines() const { return lines_; }
  int lineCount() const { return static_cast<int>(lines_.size()); }
  int widestLine() const { return widest_; }
  int lineHeight() const { return lineHeight_; }
  int shrinkSteps() const { return shrinkSteps_; }
  const Font* font() const { return font_.get(); }

 private:
  void Measure();

  AppContext& ctx_;
  const ColorSet& colors_;
  bool tinted_;
  std::vector<std::string> lines_;
  std::unique_ptr<Font> font_;
  FontRecord fontRecord_;
  int widest_ = 0;
  int lineHeight_ = 0;
  int shrinkSteps_ = 0;
};

// Builds and shows the popup of a date whose first entry the caller found,
// closing any popup open before.
struct DayPopupRequest {
  int year = 0, month = 0, day = 0;
  Rect anchor;  // screen coordinates
  bool tinted = false;
};
void ShowDayPopup(AppContext& ctx, const ColorSet& colors, const FontRecord& mainFont,
                  const CPlannerEntry& first, const DayPopupRequest& request);

// Destroys the popup, if any.
void CloseDayPopup(AppContext& ctx);

// 7000 ms when no popup is open, else the lifetime of its line count.
int DayPopupLifetime(const AppContext& ctx);

}  // namespace vesk
