// The year view window: opening, placement, navigation, the mouse and keys.
#include "views/view_year.h"

#include <memory>
#include <string>

#include "calendar/local_time.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/main_window.h"
#include "views/calendar_windows.h"
#include "views/color_set.h"
#include "views/day_popup.h"
#include "views/month_layout.h"
#include "views/month_view.h"
#include "views/year_hints_dialog.h"

namespace vesk {

namespace {

// The frame around the client area that a border height adds up to.
constexpr int kBorderSlack = 4;

}  // namespace

void OpenYearWindow(AppContext& ctx) {
  if (ctx.ui == nullptr || ctx.view == nullptr) return;
  if (ViewYear* open = ctx.yearWindow; open != nullptr && open->IsCreated()) {
    open->native()->Activate();
    open->native()->Restore();
    return;
  }
  auto& year = static_cast<ViewYear&>(ctx.ui->Adopt(std::make_unique<ViewYear>(ctx)));
  ctx.yearWindow = &year;
  if (!year.CreateYear(BreakLocalTime(ctx.clock.Now()).year)) {
    if (ctx.yearWindow == &year) ctx.yearWindow = nullptr;
    year.Destroy();  // releases the object
  }
}

ViewYear::ViewYear(AppContext& ctx) : Window(*ctx.ui), ctx_(ctx) {}

ViewYear::~ViewYear() {
  if (ctx_.yearWindow == this) ctx_.yearWindow = nullptr;
}

const ColorSet& ViewYear::Colors() const {
  static const ColorSet fallback = YellowScheme();
  return ctx_.view != nullptr ? ctx_.view->colors() : fallback;
}

bool ViewYear::IsActive() const { return ui().ActiveWindow() == this; }

YearLayout ViewYear::layout() const { return LayoutYear(year_, ctx_.options.europe != 0, cell_); }

bool ViewYear::CreateYear(int year) {
  year_ = year;
  {
    std::unique_ptr<Canvas> measuring = ctx_.view->native()->ClientCanvas();
    const Font* old = measuring->SelectFont(ctx_.view->mainFont());
    cell_ = YearCellFromText(measuring->TextExtent("We"), false);
    measuring->SelectFont(old);
  }
  WindowSpec spec;
  spec.title = std::to_string(year_);
  spec.style = {.caption = true, .systemMenu = true};
  spec.owner = ctx_.view;
  // A size to begin with, so that the frame around the client area can be measured.
  spec.rect = Rect::FromSize(0, 0, YearOuterSize(cell_, 0).cx, YearOuterSize(cell_, 0).cy);
  placing_ = true;
  const bool created = Create(spec);
  placing_ = false;
  if (!created) return false;

  int border = ctx_.mainWindow != nullptr ? ctx_.mainWindow->borderHeight() : 0;
  // Without a placed main frame, this window's own frame stands in for it.
  if (border <= 0) border = WindowRect().Height() - ClientRect().Height() + kBorderSlack;
  const Size size = YearOuterSize(cell_, border);
  const Size screen = ui().ScreenSize();
  const WindowPos stored = ctx_.store.LoadWindowPos(kYearPositionSection);
  const Point at = YearPosition({stored.left, stored.top}, screen, size);
  if (!YearFitsScreen(size, screen)) {
    ctx_.messages.Show(kYearFitMessage, MbButtons::Ok);
    if (!IsCreated()) return false;
  }
  placing_ = true;
  native()->SetWindowRect(Rect::FromSize(at.x, at.y, size.cx, size.cy));
  native()->BringToTop();
  native()->Show(true);
  placing_ = false;
  if (!IsCreated()) return false;
  native()->SetIcon(res::kIconYear);
  return true;
}

void ViewYear::StepYear(int direction) {
  const int year = year_ + (direction < 0 ? -1 : 1);
  if (year < kFirstYear || year > kLastYear) return;
  // The popup and the hovered date belong to the year that goes.
  EndHover();
  year_ = year;
  SetTitle(std::to_string(year_));
  Invalidate(true);
}

void ViewYear::EndHover() {
  CloseDayPopup(ctx_);
  hovered_.reset();
  if (ctx_.view != nullptr) ctx_.view->ForgetPopupDate();
  if (IsCreated()) native()->ReleaseCapture();
}

void ViewYear::OnLButtonDown(Point p) {
  const std::optional<YearDate> hit = layout().HitTest(p);
  if (!hit) return;
  EndHover();
  if (ctx_.view != nullptr) ctx_.view->OpenDayPlanner(year_, hit->month, hit->day);
}

void ViewYear::OnRButtonDown(Point p) {
  const std::optional<YearDate> hit = layout().HitTest(p);
  if (!hit) return;
  EndHover();
  if (ctx_.windows != nullptr && ctx_.windows->Available(CalendarWindow::WeekView)) {
    ctx_.windows->OpenWeekWindow(0, year_, hit->month, hit->day);
  }
}

void ViewYear::OnMouseMove(Point p) {
  if (!IsActive()) {
    EndHover();
    return;
  }
  native()->SetCapture();
  const YearLayout cells = layout();
  if (const std::optional<YearDate> hit = cells.HitTest(p)) {
    if (hovered_ == hit) return;
    hovered_ = hit;
    // The popup stands next to a single point: the window's corner plus the cell's.
    const Rect outer = WindowRect();
    const Rect& r = cells.days[hit->month][hit->day];
    const Rect anchor{outer.left + r.left, outer.top + r.top, outer.left + r.left,
                      outer.top + r.top};
    if (ctx_.view != nullptr) {
      ctx_.view->ShowDayPopupIfChanged(year_, hit->month, hit->day, anchor, true);
    }
    return;
  }
  hovered_.reset();
  if (ctx_.view != nullptr) ctx_.view->ForgetPopupDate();
  const Rect client = ClientRect();
  if (p.x < client.left || p.x >= client.right || p.y < client.top || p.y >= client.bottom) {
    native()->ReleaseCapture();
  }
  CloseDayPopup(ctx_);
}

bool ViewYear::OnKeyDown(int vk) {
  switch (vk) {
    case kVkEscape:
      EndHover();
      PostClose();
      break;
    case kVkPrior:
    case kVkRight:
      StepYear(1);
      break;
    case kVkNext:
    case kVkLeft:
      StepYear(-1);
      break;
    default:
      break;
  }
  return false;
}

void ViewYear::OnMove() {
  if (placing_ || !IsCreated()) return;
  const Rect r = WindowRect();
  ctx_.store.SaveWindowPos(kYearPositionSection, r.left, r.top);
}

void ViewYear::OnDestroy() {
  EndHover();
  if (ctx_.yearWindow == this) ctx_.yearWindow = nullptr;
  if (ctx_.view != nullptr) ctx_.view->Invalidate(false);
}

bool ViewYear::OnCommand(int id) {
  switch (id) {
    case res::kIdNext:
    case res::kIdPrevious:
      StepYear(id == res::kIdNext ? 1 : -1);
      return true;
    case res::kIdPrint:
      EndHover();
      if (ctx_.view != nullptr) ctx_.view->BeginPrintFrom(*this, *this, PrintKind::YearView);
      return true;
    case res::kIdClose:
      PostClose();
      return true;
    case res::kIdYearHints:
      EndHover();
      CYearHintsDlg(ui()).DoModal(this);
      return true;
    default:
      return false;
  }
}

}  // namespace vesk
