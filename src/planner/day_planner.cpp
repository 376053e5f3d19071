// The day planner window: creation, placement and the window's own messages.
#include "planner/day_planner.h"

#include <algorithm>

#include "calendar/calendar.h"
#include "planner/entry_edit.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/planner_menu.h"
#include "store/app_context.h"
#include "store/main_window.h"
#include "store/repeat_dialog.h"
#include "views/color_set.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr int kScrollMin = 1;
constexpr int kScrollMax = kPlannerRows;
// The frame around the client area that a border height adds up to.
constexpr int kBorderSlack = 4;

WindowStyle PlannerStyle() {
  return {
      .caption = true, .systemMenu = true, .minimizeBox = false, .sizing = false, .vscroll = true};
}

}  // namespace

AppointBook2::AppointBook2(AppContext& ctx)
    : Window(*ctx.ui), ctx_(ctx), repeatDlg_(std::make_unique<CRepeatDlg>(ctx)) {}

AppointBook2::~AppointBook2() {
  // A window torn down without OnDestroy (the Ui going away) leaves no stale slot.
  for (AppointBook2*& slot : ctx_.planners) {
    if (slot == this) slot = nullptr;
  }
}

void AppointBook2::SetDate(int y, int m, int d) {
  year = y;
  month = m;
  day = d;
  // The line being edited refers to an entry of this month between events.
  monthHold_.reset();
  monthHold_.emplace(ctx_.entries, y, m);
  title_ = LongDateTitle(y, m, d);
}

const ColorSet& AppointBook2::Colors() const {
  static const ColorSet fallback = YellowScheme();
  return ctx_.view != nullptr ? ctx_.view->colors() : fallback;
}

int AppointBook2::BorderHeight() const {
  if (ctx_.mainWindow != nullptr && ctx_.mainWindow->borderHeight() > 0) {
    return ctx_.mainWindow->borderHeight();
  }
  // Without a main frame, this window's own frame stands in for it.
  return WindowRect().Height() - ClientRect().Height() + kBorderSlack;
}

Size AppointBook2::OuterSize() const { return PlannerOuterSize(metrics_, BorderHeight()); }

void AppointBook2::ApplyOuterSize(Point at) {
  const Size size = OuterSize();
  native()->SetWindowRect(Rect::FromSize(at.x, at.y, size.cx, size.cy));
  native()->BringToTop();
  native()->Show(true);
}

bool AppointBook2::CreatePlanner(int y, int m, int d, const Font* fallbackFont) {
  firstHour_ = kDefaultFirstHour;
  SetDate(y, m, d);
  if (std::optional<FontBytes> stored = ctx_.store.LoadFont(kPlannerFontName)) {
    font_ = ui().CreateFont(FontRecord::FromBytes(*stored));
  }
  if (font_ == nullptr && fallbackFont != nullptr) font_ = ui().CreateFont(fallbackFont->record());

  WindowSpec spec;
  spec.title = title_;
  spec.style = PlannerStyle();
  spec.owner = ctx_.view;
  if (!Create(spec)) return false;

  // Measured on the month view's context, as the calling view draws in the same screen.
  std::unique_ptr<Canvas> measuring = ctx_.view != nullptr && ctx_.view->IsCreated()
                                          ? ctx_.view->native()->ClientCanvas()
                                          : native()->ClientCanvas();
  LayoutLines(*measuring, font_.get());

  native()->SetScrollRange(kScrollMin, kScrollMax, kPlannerVisibleRows, firstHour_ + 1, false);

  const WindowPos stored = ctx_.store.LoadWindowPos(kDayPositionSection);
  const Point at =
      PlannerPosition(ctx_.plannerCascade, {stored.left, stored.top}, ui().ScreenSize());
  ctx_.plannerCascade = at;
  ApplyOuterSize(at);
  if (!IsCreated()) return false;
  native()->SetIcon(res::kIconPlanner);

  if (ui().ScreenSize().cy < OuterSize().cy) {
    ctx_.messages.Show(kSmallerFontMessage, MbButtons::Ok);
    if (IsCreated()) SelectFontCommand();
  }
  return IsCreated();
}

void AppointBook2::OnPaint(Canvas& canvas) {
  if (!menuAttached_) {
    menuAttached_ = true;
    // The menu bar changes the client area, so it comes once the paint is over.
    ui().Post([ref = Ref()] {
      if (Window* w = ref.get()) w->native()->SetMenu(&res::DayPlannerMenu());
    });
  }
  DrawPlanner(canvas, font_.get());
}

void AppointBook2::OnLButtonDown(Point p) {
  if (const std::optional<LineHit> hit = HitLine(metrics_, p)) {
    OpenLineEditor(hit->row, hit->onHour);
  }
}

void AppointBook2::OnVScroll(int code, int pos) { ScrollHours(code, pos); }

bool AppointBook2::OnKeyDown(int vk) {
  switch (vk) {
    case kVkEscape:
      PostClose();
      break;
    case kVkPrior:
      ScrollHours(kSbPageUp);
      break;
    case kVkNext:
      ScrollHours(kSbPageDown);
      break;
    default:
      break;
  }
  return false;  // every key gets the default handling too
}

void AppointBook2::OnMove() {
  // The first two moves come from creating and placing the window.
  if (moveSkip_ > 0) {
    --moveSkip_;
    return;
  }
  const Rect r = WindowRect();
  ctx_.store.SaveWindowPos(kDayPositionSection, r.left, r.top);
  ctx_.plannerCascade = {r.left, r.top};
}

void AppointBook2::OnControlNotify(int controlId, int code) {
  if (controlId == res::kIdEntryEdit && code == kEnChange && editor_ != nullptr) {
    editText_ = editor_->Text();
  }
}

void AppointBook2::OnDestroy() {
  DestroyEditor();
  for (AppointBook2*& slot : ctx_.planners) {
    if (slot == this) slot = nullptr;
  }
  // The month view's marks of days with entries may have changed.
  if (ctx_.view != nullptr) ctx_.view->Invalidate(false);
  font_.reset();
  for (Window* w : ui().Windows()) {
    if (w->RuntimeClass() == "ViewWeek") w->Invalidate(true);
  }
  ctx_.plannerCascade = {0, 0};
}

}  // namespace vesk
