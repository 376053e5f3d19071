// The week view window: opening, placement, navigation and its own messages.
#include "views/view_week.h"

#include <algorithm>

#include "calendar/calendar.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/week_resources.h"
#include "store/app_context.h"
#include "store/sounds.h"
#include "views/color_set.h"
#include "views/month_layout.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr int kWheelNotch = 120;
constexpr int kLinesPerNotch = 3;

bool IsDate(int year, int month, int day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

}  // namespace

void OpenWeekWindow(AppContext& ctx, int /*slot*/, int year, int month, int day) {
  if (day > 31 || ctx.ui == nullptr) return;
  PlayClickSound(ctx);
  // At most one week view, kept in the first slot: a request through either
  // slot reaches it, so no second view ever replaces the first one's slot.
  if (ViewWeek* open = ctx.weekWindows[0]; open != nullptr && open->IsCreated()) {
    open->MoveToDate(year, month, day);
    open->native()->Activate();
    open->native()->Restore();
    return;
  }
  auto& week = static_cast<ViewWeek&>(ctx.ui->Adopt(std::make_unique<ViewWeek>(ctx)));
  ctx.weekWindows[0] = &week;
  if (!week.CreateWeek(year, month, day)) {
    if (ctx.weekWindows[0] == &week) ctx.weekWindows[0] = nullptr;
    week.Destroy();  // releases the object
  }
}

ViewWeek::ViewWeek(AppContext& ctx) : Window(*ctx.ui), ctx_(ctx) {}

ViewWeek::~ViewWeek() {
  for (ViewWeek*& slot : ctx_.weekWindows) {
    if (slot == this) slot = nullptr;
  }
}

const ColorSet& ViewWeek::Colors() const {
  static const ColorSet fallback = YellowScheme();
  return ctx_.view != nullptr ? ctx_.view->colors() : fallback;
}

const Font* ViewWeek::DrawingFont() const {
  if (font_ != nullptr) return font_.get();
  return ctx_.view != nullptr ? ctx_.view->mainFont() : nullptr;
}

void ViewWeek::Measure() {
  // Measured on the month view's context when there is one, as the planner is.
  std::unique_ptr<Canvas> canvas = ctx_.view != nullptr && ctx_.view->IsCreated()
                                       ? ctx_.view->native()->ClientCanvas()
                                       : native()->ClientCanvas();
  const Font* old = canvas->SelectFont(DrawingFont());
  metrics_ = MeasureWeek(*canvas);
  canvas->SelectFont(old);
}

void ViewWeek::ApplyOuterSize(Point at) {
  const Size size = WeekOuterSize(metrics_);
  placing_ = true;
  native()->SetWindowRect(Rect::FromSize(at.x, at.y, size.cx, size.cy));
  native()->BringToTop();
  native()->Show(true);
  placing_ = false;
}

void ViewWeek::SetStart(CivilDate start) {
  start_ = start;
  title_ = WeekTitle(start_);
  SetTitle(title_);
}

void ViewWeek::ResetScroll() {
  firstLine_ = 1;
  if (IsCreated()) native()->SetScrollRange(1, lineCount_, kWeekVisibleLines, firstLine_, true);
}

bool ViewWeek::CreateWeek(int year, int month, int day) {
  if (!IsDate(year, month, day)) return false;
  start_ = WeekStartFor({year, month, day}, ctx_.options.europe != 0);
  title_ = WeekTitle(start_);
  if (std::optional<FontBytes> stored = ctx_.store.LoadFont(kWeekFontName)) {
    font_ = ui().CreateFont(FontRecord::FromBytes(*stored));
  }
  WindowSpec spec;
  spec.title = title_;
  spec.style = {.caption = true, .systemMenu = true, .vscroll = true};
  spec.owner = ctx_.view;
  placing_ = true;
  const bool created = Create(spec);
  placing_ = false;
  if (!created) return false;
  Measure();
  native()->SetScrollRange(1, lineCount_, kWeekVisibleLines, firstLine_, false);
  const WindowPos stored = ctx_.store.LoadWindowPos(kWeekPositionSection);
  ApplyOuterSize(
      WeekPosition({stored.left, stored.top}, ui().ScreenSize(), WeekOuterSize(metrics_)));
  if (!IsCreated()) return false;
  native()->SetIcon(res::kIconWeek);
  return true;
}

void ViewWeek::MoveToDate(int year, int month, int day) {
  if (!IsDate(year, month, day)) return;
  // Straight to the target: stepping week by week would never arrive once
  // the week's first day changed with "europe".
  const CivilDate target = WeekStartFor({year, month, day}, ctx_.options.europe != 0);
  if (target == start_) return;
  SetStart(target);
  ResetScroll();
  Invalidate(true);
}

void ViewWeek::StepWeek(int direction) {
  const CivilDate next = AddDays(start_, direction < 0 ? -7 : 7);
  // The calendar holds 1970..2036: a period wholly outside is not shown.
  if (next > CivilDate{kLastYear, 12, 31} || AddDays(next, 6) < CivilDate{kFirstYear, 1, 1}) {
    return;
  }
  SetStart(next);
  ResetScroll();
  Invalidate(true);
}

void ViewWeek::SetDaysShown(int days) {
  if (days == daysShown_) return;
  daysShown_ = days;
  ResetScroll();
  Invalidate(true);
}

void ViewWeek::ScrollLines(int code, int pos) {
  const int first = ScrollWeekLines(firstLine_, code, pos, lineCount_);
  if (first == firstLine_ || !IsCreated()) return;
  firstLine_ = first;
  native()->SetScrollPos(firstLine_, true);
  Invalidate(false);
}

void ViewWeek::OnLButtonDown(Point p) {
  const int i = WeekDayAt(std::span(dayBottoms_).first(daysShown_), p.y);
  if (i < 0 || ctx_.view == nullptr) return;
  const CivilDate date = AddDays(start_, i);
  if (date.year < kFirstYear || date.year > kLastYear) return;
  ctx_.view->OpenDayPlanner(date.year, date.month, date.day);
}

void ViewWeek::OnVScroll(int code, int pos) { ScrollLines(code, pos); }

bool ViewWeek::OnMouseWheel(int delta) {
  const int lines = -delta * kLinesPerNotch / kWheelNotch;
  if (lines == 0) return true;
  ScrollLines(kSbThumbPosition, firstLine_ + lines);
  return true;
}

bool ViewWeek::OnKeyDown(int vk) {
  switch (vk) {
    case kVkEscape:
      PostClose();
      break;
    case kVkPrior:
      ScrollLines(kSbPageUp);
      break;
    case kVkNext:
      ScrollLines(kSbPageDown);
      break;
    default:
      break;
  }
  return false;
}

void ViewWeek::OnMove() {
  if (placing_ || !IsCreated()) return;
  const Rect r = WindowRect();
  ctx_.store.SaveWindowPos(kWeekPositionSection, r.left, r.top);
}

void ViewWeek::OnDestroy() {
  for (ViewWeek*& slot : ctx_.weekWindows) {
    if (slot == this) slot = nullptr;
  }
  if (ctx_.view != nullptr) ctx_.view->Invalidate(false);
  font_.reset();
}

}  // namespace vesk
