#include "views/day_popup.h"

#include <algorithm>
#include <utility>

#include "calendar/calendar.h"
#include "platform/ui.h"
#include "store/app_context.h"
#include "store/entry_list.h"

namespace vesk {

namespace {

constexpr int kShortLifetimeMs = 7000;
constexpr int kLongLifetimeMs = 40000;
constexpr int kMsPerLine = 2000;
constexpr int kLinesForLongLifetime = 20;

}  // namespace

PopupPlacement PlaceDayPopup(const Rect& anchor, Size screen, int widestLine, int lineCount,
                             int lineHeight) {
  const int screenW = screen.cx;
  const int screenH = screen.cy;
  int x = anchor.left - widestLine - 3;
  if (x < 0 && anchor.right < screenW - screenW / 5) x = anchor.right;
  int y = anchor.top;
  const int popupH = lineCount * lineHeight;
  if (y + popupH > screenH) y = screenH - popupH - 5;
  const int anchorHeight = anchor.bottom - anchor.top;
  if (popupH < anchorHeight) y = anchorHeight / 2 - popupH / 2 + anchor.top;
  if (y < 0) y = 0;
  if (anchor.left > screenW + 1) {
    x = screenW - widestLine - 8;
    y = screenH - popupH - 5;
  }
  return {{x, y}, popupH <= screenH};
}

int DayPopupLifetimeMs(int lineCount) {
  if (lineCount <= 2) return kShortLifetimeMs;
  if (lineCount <= kLinesForLongLifetime) return kMsPerLine * lineCount;
  return kLongLifetimeMs;
}

FontRecord ShrinkPopupFont(const FontRecord& font) {
  FontRecord smaller = font;
  smaller.height = static_cast<std::int32_t>(font.height * 0.95);
  smaller.width = static_cast<std::int32_t>(font.width * 0.95);
  return smaller;
}

std::vector<std::string> DayPopupLines(const CEntryList& entries, const CPlannerEntry& first,
                                       int year, int month, int day, bool europe, bool a24hour) {
  std::vector<std::string> lines{DayHeading(year, month, day, europe)};
  for (const CPlannerEntry* e = &first; e != nullptr;) {
    lines.push_back(DayListLine(e->hour(), e->minute(), e->notes, a24hour));
    const CPlannerEntry* next = entries.FindAfter(e->time());
    const bool sameDate = next != nullptr && next->year() == e->year() &&
                          next->month() == e->month() && next->day() == e->day();
    e = sameDate ? next : nullptr;
  }
  return lines;
}

CDayPopupWnd::CDayPopupWnd(AppContext& ctx, const ColorSet& colors, bool tinted,
                           std::vector<std::string> lines)
    : Window(*ctx.ui), ctx_(ctx), colors_(colors), tinted_(tinted), lines_(std::move(lines)) {}

void CDayPopupWnd::Measure() {
  std::unique_ptr<Canvas> canvas = native()->ClientCanvas();
  canvas->SelectFont(font_.get());
  int textHeight = 0;
  widest_ = 0;
  for (const std::string& line : lines_) {
    const Size extent = canvas->TextExtent(line);
    widest_ = std::max(widest_, extent.cx);
    textHeight = std::max(textHeight, extent.cy);
  }
  lineHeight_ = textHeight + 2;
}

void CDayPopupWnd::Present(const FontRecord& mainFont, const Rect& anchor) {
  fontRecord_ = mainFont;
  font_ = ui().CreateFont(fontRecord_);
  Measure();
  const Size screen = ui().ScreenSize();
  PopupPlacement place = PlaceDayPopup(anchor, screen, widest_, lineCount(), lineHeight_);
  while (!place.fits && shrinkSteps_ < kMaxPopupShrinkSteps) {
    fontRecord_ = ShrinkPopupFont(fontRecord_);
    // A size the desktop cannot make keeps the font of the step before.
    if (std::unique_ptr<Font> smaller = ui().CreateFont(fontRecord_)) font_ = std::move(smaller);
    ++shrinkSteps_;
    Measure();
    place = PlaceDayPopup(anchor, screen, widest_, lineCount(), lineHeight_);
  }
  native()->SetWindowRect(
      Rect::FromSize(place.position.x, place.position.y, widest_ + 3, lineCount() * lineHeight_));
  native()->SetTopmost(true);
  native()->Show(true);
}

void CDayPopupWnd::OnPaint(Canvas& canvas) {
  const int width = widest_ + 3;
  const int height = lineCount() * lineHeight_;
  canvas.SelectFont(font_.get());
  canvas.SetBkMode(BkMode::Opaque);
  canvas.FillSolidRect({0, 0, width, height}, tinted_ ? colors_.dayplan1 : colors_.back);
  for (int i = 0; i < lineCount(); ++i) {
    canvas.SetTextColor(i == 0 ? colors_.hasappoint : colors_.fore);
    canvas.TextOut(2, i * lineHeight_, lines_[i]);
  }
  canvas.Draw3dRect(Rect::FromSize(0, 0, width, height), colors_.currentday, colors_.currentday);
  canvas.Draw3dRect(Rect::FromSize(1, 1, widest_ + 1, height - 2), colors_.currentday,
                    colors_.currentday);
}

void CDayPopupWnd::OnDestroy() {
  if (ctx_.dayPopup == this) ctx_.dayPopup = nullptr;
}

void ShowDayPopup(AppContext& ctx, const ColorSet& colors, const FontRecord& mainFont,
                  const CPlannerEntry& first, const DayPopupRequest& request) {
  CloseDayPopup(ctx);
  std::vector<std::string> lines =
      DayPopupLines(ctx.entries, first, request.year, request.month, request.day,
                    ctx.options.europe != 0, ctx.options.a24hour != 0);
  auto& popup = static_cast<CDayPopupWnd&>(
      ctx.ui->Adopt(std::make_unique<CDayPopupWnd>(ctx, colors, request.tinted, std::move(lines))));
  WindowSpec spec;
  spec.style = {
      .caption = false, .systemMenu = false, .popup = true, .disabled = true, .toolWindow = true};
  spec.rect = {1, 1, 1, 1};
  if (!popup.Create(spec)) {
    popup.Destroy();  // releases the object
    return;
  }
  ctx.dayPopup = &popup;
  popup.Present(mainFont, request.anchor);
}

void CloseDayPopup(AppContext& ctx) {
  if (ctx.dayPopup != nullptr) ctx.dayPopup->Destroy();
  ctx.dayPopup = nullptr;
}

int DayPopupLifetime(const AppContext& ctx) {
  return ctx.dayPopup != nullptr ? DayPopupLifetimeMs(ctx.dayPopup->lineCount()) : kShortLifetimeMs;
}

}  // namespace vesk
