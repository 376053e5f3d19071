#include "app/main_frame.h"

#include <utility>

#include "calendar/local_time.h"
#include "reminders/reminder_scheduler.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "store/app_context.h"
#include "store/backup_file.h"
#include "store/hooks.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk {

namespace {

// Saved positions beyond this distance from the screen's right or bottom
// edge would leave too little of the window to grab.
constexpr int kScreenMargin = 50;
constexpr int kFallbackPosition = 10;
// The client area is this much wider and higher than the calendar.
constexpr int kClientSlack = 4;
// The first moves come from creation and placement, not from the user.
constexpr int kIgnoredMoves = 3;
constexpr int kMsPerMinute = 60000;

WindowStyle FrameStyle() {
  return {.caption = true, .systemMenu = true, .minimizeBox = true, .sizing = false};
}

}  // namespace

CMainFrame::CMainFrame(AppContext& ctx, std::function<void()> onEnded)
    : Window(*ctx.ui), ctx_(ctx), onEnded_(std::move(onEnded)), countdowns_(ctx) {
  ctx_.mainWindow = this;
}

CMainFrame::~CMainFrame() {
  KillFrameTimers();
  ctx_.clock.SetResumeHandler({});
  // The view is this window's child: it goes before the frame's own window.
  view_.reset();
  if (ctx_.mainWindow == this) ctx_.mainWindow = nullptr;
}

bool CMainFrame::CreateFrame() {
  tray_ = ui().CreateTrayIcon(*this, kInitialTip);
  // A hidden owner keeps the frame off the taskbar; without a tray the
  // taskbar is the way back to a minimised window, so the frame stands alone.
  Window* owner = nullptr;
  if (TrayAvailable()) {
    owner_ = std::make_unique<Window>(ui());
    WindowSpec ownerSpec;
    ownerSpec.title = kMainTitle;
    if (!owner_->Create(ownerSpec)) return false;
    owner_->native()->SetIcon(res::kIconApp);
    owner = owner_.get();
  }
  WindowSpec spec;
  spec.title = kMainTitle;
  spec.style = FrameStyle();
  spec.owner = owner;
  spec.visible = true;
  // A frame whose view failed is dropped by the caller without OnDestroy.
  if (!Create(spec) || !viewCreated_) return false;
  // "minatstart": minimised where it was left, not moved off the screen,
  // which a window manager may undo and some desktops do not allow.
  if (ctx_.options.minatstart != 0) native()->Minimize();
  return true;
}

void CMainFrame::OnCreate() {
  view_ = std::make_unique<CVeskCalView>(ctx_);
  view_->Initialize();
  WindowSpec viewSpec;
  viewSpec.style = {.caption = false, .systemMenu = false};
  viewSpec.parent = this;
  viewSpec.rect = ClientRect();
  viewSpec.visible = true;
  viewCreated_ = view_->Create(viewSpec);
  if (!viewCreated_) return;
  native()->SetMenu(&res::MainMenu());
  native()->SetIcon(res::kIconApp);
  ui().SetAccelerators(res::MainAccelerators(), *this);

  PlaceMainWindow();
  ctx_.entries.SortByTime();
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  view_->ShowDayPopupIfChanged(today.year, today.month, today.day, WindowRect(), false);
  ArmTimer(kPopupTimerId, static_cast<unsigned>(view_->DayPopupLifetime()));
  ArmSweep();
  ArmTipRefresh();
  ctx_.clock.SetResumeHandler([frame = Ref()] {
    if (Window* w = frame.get()) static_cast<CMainFrame*>(w)->OnResume();
  });
}

void CMainFrame::PlaceMainWindow() {
  if (!IsCreated() || view_ == nullptr) return;
  const Size calendar = view_->GetCalendarSize();
  const Size screen = ui().ScreenSize();
  const WindowPos saved = ctx_.store.LoadWindowPos(kPositionSection);
  int left = saved.left;
  int top = saved.top;
  if (left < 0 || left > screen.cx - kScreenMargin) left = kFallbackPosition;
  if (top < 0 || top > screen.cy - kScreenMargin) top = kFallbackPosition;

  // Placed once at the calendar's size to learn what the frame takes away.
  native()->SetWindowRect(Rect::FromSize(left, top, calendar.cx, calendar.cy));
  native()->SetTopmost(true);
  const Rect client = ClientRect();
  borderWidth_ = calendar.cx - client.Width() + kClientSlack;
  borderHeight_ = calendar.cy - client.Height() + kClientSlack;

  native()->SetWindowRect(
      Rect::FromSize(left, top, calendar.cx + borderWidth_, calendar.cy + borderHeight_));
  native()->SetTopmost(ctx_.options.ontop != 0);
  if (view_->IsCreated()) view_->native()->SetWindowRect(ClientRect());
}

void CMainFrame::ShowMainWindow() {
  if (!IsCreated()) return;
  PlayClickSound(ctx_);
  view_->ShowCurrentMonth();
  native()->Restore();
  native()->BringToTop();
  native()->Activate();
  PlaceMainWindow();
}

void CMainFrame::ActivateFrame() {
  if (IsCreated()) native()->Activate();
}

void CMainFrame::ComeForward() {
  if (!IsCreated()) return;
  if (IsVisible()) {
    if (native()->IsMinimized()) native()->Restore();
    native()->BringToTop();
    native()->Activate();
  } else if (!TrayAvailable()) {
    ShowMainWindow();
  }
  // The window the user worked in last (a dialog, a day planner) comes to
  // the top as well.
  ui().BringLastActiveToTop();
}

void CMainFrame::RefreshTrayTip() {
  if (tray_ != nullptr) tray_->SetTip(NextAppointmentText(ctx_, ctx_.clock.Now()));
}

void CMainFrame::Exit() {
  if (IsCreated()) Destroy();
}

void CMainFrame::OnResume() {
  if (ctx_.armer != nullptr) ctx_.armer->CatchUpAfterSleep();
  // The minute timer stood still during the sleep: back onto the minute.
  RefreshTrayTip();
  ArmTipRefresh();
}

bool CMainFrame::TrayAvailable() const { return tray_ != nullptr && tray_->IsAvailable(); }

void CMainFrame::Hide() {
  if (!IsCreated()) return;
  if (TrayAvailable()) {
    native()->Show(false);
  } else {
    native()->Minimize();
  }
}

int CMainFrame::ArmTimer(int id, unsigned ms) {
  return ctx_.timers.SetTimer(id, ms, [frame = Ref()](int firedId) {
    if (Window* w = frame.get()) w->OnTimer(firedId);
  });
}

void CMainFrame::ArmSweep() {
  for (int id = kSweepTimerId; id <= kLastSweepRetryId; ++id) {
    if (ArmTimer(id, kSweepPeriodMs) != 0) return;
  }
}

void CMainFrame::ArmTipRefresh() {
  const auto intoMinute = static_cast<int>(ctx_.clock.NowMs() % kMsPerMinute);
  ArmTimer(kTrayTipTimerId, static_cast<unsigned>(kMsPerMinute - intoMinute));
}

void CMainFrame::KillFrameTimers() {
  for (int id = kSweepTimerId; id <= kLastSweepRetryId; ++id) ctx_.timers.KillTimer(id);
  ctx_.timers.KillTimer(kPopupTimerId);
  ctx_.timers.KillTimer(kTrayTipTimerId);
}

void CMainFrame::OnTimer(int id) {
  // Every frame timer is one-shot; a retry id of the sweep ends here.
  ctx_.timers.KillTimer(id);
  switch (id) {
    case kPopupTimerId:
      view_->CloseDayPopup();
      break;
    case kSweepTimerId:
      ArmSweep();
      ctx_.entries.RearmTimers(false);
      break;
    case kTrayTipTimerId:
      // The one periodic wake-up also looks for a jump of the wall clock.
      if (ctx_.armer != nullptr) ctx_.armer->CheckClock();
      // Between events no window holds an entry of a month nothing asked about.
      ctx_.entries.Trim();
      RefreshTrayTip();
      ArmTipRefresh();
      break;
    default:
      break;
  }
}

void CMainFrame::OnMove() {
  if (++moveCount_ <= kIgnoredMoves) return;
  const Rect r = WindowRect();
  const Size screen = ui().ScreenSize();
  const int top = r.top > screen.cy || r.top < 0 ? 0 : r.top;
  const int left = r.left > screen.cx || r.left < 0 ? 0 : r.left;
  ctx_.store.SaveWindowPos(kPositionSection, left, top);
}

bool CMainFrame::OnMinimize() {
  // Without a tray the window minimises as usual, so it is never stranded.
  if (!TrayAvailable()) return false;
  PlayClickSound(ctx_);
  native()->Show(false);
  return true;
}

void CMainFrame::OnClose() {
  // Closing keeps the program running: "E&xit" ends it.
  Hide();
}

void CMainFrame::OnDestroy() {
  KillFrameTimers();
  ctx_.clock.SetResumeHandler({});
  // The view's end closes the day planners first, so that the lines they
  // store are in the backup; its purge of old months changes only the store,
  // while the backup is written from the entries in memory.
  if (view_ != nullptr) view_->Shutdown();
  const DateTime now = BreakLocalTime(ctx_.clock.Now());
  // A damaged store would give a backup with holes in place of a sound one.
  if (!ctx_.storeDamaged) BackupEntries(ctx_, BackupPath(ctx_, AutoBackupName(now.month)), false);
  tray_.reset();
  if (owner_ != nullptr) owner_->Destroy();
  if (onEnded_) onEnded_();
}

void CMainFrame::OnPaint(Canvas&) { SetTitle(kMainTitle); }

}  // namespace vesk
