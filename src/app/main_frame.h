#pragma once
// The program's main window: a fixed-size frame around the month view. It
// owns the tray icon, the frame timers and the application commands, and
// passes editing commands on to the active calendar window.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "platform/ui.h"
#include "platform/window.h"
#include "reminders/countdowns.h"
#include "reminders/next_appointment.h"
#include "store/main_window.h"

namespace vesk {

struct AppContext;
class CVeskCalView;

inline constexpr std::string_view kMainTitle = "VeskCal";
inline constexpr std::string_view kPositionSection = "position";

// The frame timers. Reminder ids (counted up from 3) skip all of them.
inline constexpr int kPopupTimerId = 3488;
inline constexpr int kSweepTimerId = 3000;
inline constexpr int kLastSweepRetryId = 3009;
inline constexpr unsigned kSweepPeriodMs = 82800000;  // 23 hours

class CMainFrame : public Window, public TrayHandler, public MainWindow {
 public:
  // onEnded runs once the frame's window has been destroyed: the program ends.
  CMainFrame(AppContext& ctx, std::function<void()> onEnded);
  ~CMainFrame() override;

  // Adds the tray icon, creates the frame with its view, menu and
  // accelerators, places it, sorts the entries, shows today's day popup, arms
  // the timers and shows the frame. False when the frame or its view could
  // not be created.
  bool CreateFrame();

  Window& FrameWindow() override { return *this; }

  void PlaceMainWindow();
  // The click sound, the current month, the window restored, on top and active, placed again.
  void ShowMainWindow();
  // Makes the frame the active window (before a reminder pops up).
  void ActivateFrame() override;
  // Another start of the program asked for the window: a visible frame comes
  // forward (restored when minimised); a hidden one stays in the tray, and
  // without a tray it is shown, since nothing else could bring it back. The
  // window the user worked in last comes to the top as well.
  void ComeForward();
  // Hides the frame to the tray; without a tray it minimises instead, so the
  // window stays within reach.
  void Hide() override;
  // Rebuilds the tray tooltip from the next appointment; windows that change
  // entries call it, since the desktop cannot report the mouse over the icon.
  void RefreshTrayTip() override;
  // Ends the program as "E&xit" does: the frame is destroyed, which writes
  // the automatic backup, removes the tray icon and purges old months.
  void Exit();
  // The options or the colours changed: every open window repaints with them.
  void RepaintAllWindows();
  // The machine woke from sleep: the reminders catch up with the wall clock.
  void OnResume();

  CVeskCalView& view() const { return *view_; }
  Countdowns& countdowns() { return countdowns_; }
  TrayIcon* tray() const { return tray_.get(); }
  int borderWidth() const { return borderWidth_; }
  int borderHeight() const override { return borderHeight_; }

  void OnCreate() override;
  bool OnCommand(int id) override;
  void OnUpdateCommand(int id, CommandState& state) override;
  void OnTimer(int id) override;
  void OnMove() override;
  bool OnMinimize() override;
  void OnClose() override;
  void OnDestroy() override;
  void OnPaint(Canvas&) override;

  void OnTrayMouseMove() override;
  void OnTrayLeftDown() override;
  void OnTrayRightDown() override;

 private:
  // Arms a one-shot frame timer whose expiry reaches OnTimer; the id, or 0.
  int ArmTimer(int id, unsigned ms);
  // Timer 3000, or the first of the retry ids 3001..3009 that can be set.
  void ArmSweep();
  // The tooltip refresh at the next minute boundary.
  void ArmTipRefresh();
  void KillFrameTimers();
  bool TrayAvailable() const;
  // Passes the command to the active window when its runtime class is one of
  // classes; false when none matched.
  bool PassToActive(int id, std::initializer_list<std::string_view> classes);
  bool CalendarWindowAvailable(int command) const;
  void Restore();
  // File, Setup: the colour, sound and advanced dialogs and the printer.
  void SetUpColors();
  void SetUpSounds();
  void SetUpAdvanced();
  void SetUpPrinter();

  AppContext& ctx_;
  std::function<void()> onEnded_;
  std::unique_ptr<Window> owner_;
  std::unique_ptr<CVeskCalView> view_;
  std::unique_ptr<TrayIcon> tray_;
  TooltipText tooltip_;
  Countdowns countdowns_;
  int borderWidth_ = 0;
  int borderHeight_ = 0;
  int moveCount_ = 0;
  bool viewCreated_ = false;
};

}  // namespace vesk
