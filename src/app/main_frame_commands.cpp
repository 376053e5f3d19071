// The main frame's commands, their menu states and the tray icon's callbacks.
#include <filesystem>
#include <system_error>

#include "app/about_dialog.h"
#include "app/backup_dialog.h"
#include "app/main_frame.h"
#include "calendar/local_time.h"
#include "reminders/countdown_dlg.h"
#include "res/app_dialogs.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/backup_file.h"
#include "store/sounds.h"
#include "views/calendar_windows.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr std::string_view kPlannerClass = "AppointBook2";
constexpr std::string_view kToDoClass = "ToDo";
constexpr std::string_view kWeekClass = "ViewWeek";
constexpr std::string_view kYearClass = "ViewYear";

}  // namespace

bool CMainFrame::PassToActive(int id, std::initializer_list<std::string_view> classes) {
  Window* active = ui().ActiveWindow();
  if (active == nullptr) return false;
  for (std::string_view name : classes) {
    if (active->RuntimeClass() == name) {
      active->OnCommand(id);
      return true;
    }
  }
  return false;
}

bool CMainFrame::CalendarWindowAvailable(int command) const {
  CalendarWindow kind = CalendarWindow::WeekView;
  if (command == res::kIdYear) kind = CalendarWindow::YearView;
  return ctx_.windows != nullptr && ctx_.windows->Available(kind);
}

void CMainFrame::Restore() {
  RestoreEntries(ctx_, BackupPath(ctx_, kBackupFileName), true);
  // The message boxes of the restore let other commands run, Exit among them.
  if (!IsCreated()) return;
  view_->Invalidate(false);
  RefreshTrayTip();
}

bool CMainFrame::OnCommand(int id) {
  switch (id) {
    case res::kIdThisMonth:
      view_->ShowCurrentMonth();
      return true;
    case res::kIdYear:
      if (!CalendarWindowAvailable(id)) return false;
      PlayClickSound(ctx_);
      ctx_.windows->OpenYearWindow();
      return true;
    case res::kIdWeek:
    case res::kIdWeekSecond: {
      if (!CalendarWindowAvailable(id)) return false;
      const DateTime today = BreakLocalTime(ctx_.clock.Now());
      ctx_.windows->OpenWeekWindow(id == res::kIdWeek ? 0 : 1, today.year, today.month, today.day);
      return true;
    }
    case res::kIdToday:
    case res::kIdToDoList:
      return view_->OnCommand(id);
    case res::kIdFont:
      if (view_->ChooseMainFont()) PlaceMainWindow();
      return true;
    case res::kIdColor:
      SetUpColors();
      return true;
    case res::kIdSound:
      SetUpSounds();
      return true;
    case res::kIdAdvanced:
      SetUpAdvanced();
      return true;
    case res::kIdPrintSetup:
      SetUpPrinter();
      return true;
    case res::kIdBackupDialog:
      CBackupDlg(ui(), *this).DoModal(this);
      return true;
    case res::kIdBackup:
      BackupEntries(ctx_, BackupPath(ctx_, kBackupFileName), true);
      return true;
    case res::kIdRestore:
      Restore();
      return true;
    case res::kIdExit:
      // Destroyed once the menu's message is handled, as the desktop closes a window.
      ui().Post([frame = Ref()] {
        if (Window* w = frame.get()) static_cast<CMainFrame*>(w)->Exit();
      });
      return true;
    case res::kIdHelpTopics:
      ui().ShowHelp(res::kHelpContents);
      return true;
    case res::kIdQuickHints:
      Dialog(ui(), res::QuickHintsDialogTemplate()).DoModal(this);
      return true;
    case res::kIdAbout:
      CAboutDlg(ui()).DoModal(this);
      return true;
    case res::kIdTimer:
      CCountdownDlg(ui(), countdowns_).DoModal(this);
      return true;
    case res::kIdHide:
      Hide();
      return true;
    case res::kIdShow:
      ShowMainWindow();
      return true;
    case res::kIdCut:
    case res::kIdCopy:
    case res::kIdPaste:
    case res::kIdSelectAll:
    case res::kIdUndo:
      PassToActive(id, {kPlannerClass, kToDoClass});
      return true;
    case res::kIdReminder:
    case res::kIdRepeats:
      PassToActive(id, {kPlannerClass});
      return true;
    case res::kIdNext:
    case res::kIdPrevious:
      if (!PassToActive(id, {kPlannerClass, kWeekClass, kYearClass})) {
        view_->StepMonth(id == res::kIdNext ? 1 : -1);
      }
      return true;
    case res::kIdNoAction:
      return true;
    default:
      return false;
  }
}

void CMainFrame::OnUpdateCommand(int id, CommandState& state) {
  switch (id) {
    case res::kIdYear:
    case res::kIdWeek:
    case res::kIdWeekSecond:
      state.enabled = CalendarWindowAvailable(id);
      break;
    case res::kIdToday:
    case res::kIdToDoList:
      view_->OnUpdateCommand(id, state);
      break;
    case res::kIdRestore: {
      std::error_code ec;
      state.enabled = std::filesystem::exists(BackupPath(ctx_, kBackupFileName), ec);
      break;
    }
    default:
      break;
  }
}

void CMainFrame::OnTrayMouseMove() {
  if (tray_ == nullptr) return;
  if (std::optional<std::string> tip = tooltip_.Update(ctx_, ctx_.clock.Now())) {
    tray_->SetTip(*tip);
  }
}

void CMainFrame::OnTrayLeftDown() { ShowMainWindow(); }

void CMainFrame::OnTrayRightDown() {
  const bool visible = IsVisible();
  const Menu menu{
      visible ? MenuItem{"&Hide", res::kIdHide, {}} : MenuItem{"&Show", res::kIdShow, {}},
      MenuItem::Separator(),
      {"&Year", res::kIdYear, {}},
      {"&Week", res::kIdWeek, {}},
      {"To &Do List", res::kIdToDoList, {}},
      MenuItem::Separator(),
      {"&Today", res::kIdToday, {}},
  };
  const Point at = ui().CursorPos();
  if (visible) view_->Invalidate(false);
  ui().TrackPopupMenu(menu, at, *this);
}

}  // namespace vesk
