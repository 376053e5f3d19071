// The day planner's menu commands and their item states.
#include <memory>
#include <string>

#include "calendar/calendar.h"
#include "calendar/local_time.h"
#include "planner/day_planner.h"
#include "planner/day_planner_table.h"
#include "planner/entry_edit.h"
#include "planner/planner_hints_dialog.h"
#include "platform/ui.h"
#include "reminders/reminder_dialog.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/main_window.h"
#include "store/repeat_dialog.h"
#include "store/repeat_rules.h"
#include "views/month_view.h"
#include "views/view_fonts.h"

namespace vesk {

namespace {

constexpr LocalTime kSecondsPerDay = 86400;
// The calendar arithmetic holds for these years only.
constexpr int kFirstStepYear = 1970;
constexpr int kLastStepYear = 2036;
constexpr Point kFontChangePosition{10, 10};

std::string ClearDayQuestion(int year, int month, int day) {
  return "Are you sure you wish to delete all day planner entries for " +
         std::string(MonthName(month).value_or("")) + " " + std::to_string(day) + ", " +
         std::to_string(year) + "?";
}

void EnableWindow(Window* window, bool enabled) {
  if (window != nullptr && window->native() != nullptr) window->native()->Enable(enabled);
}

void EnableFrame(AppContext& ctx, bool enabled) {
  if (ctx.mainWindow != nullptr) EnableWindow(&ctx.mainWindow->FrameWindow(), enabled);
}

}  // namespace

bool AppointBook2::StartEntryCommand() {
  // A text of spaces stores nothing, so it selects no entry either.
  if (editor_ == nullptr || IsBlank(editor_->Text())) {
    ctx_.messages.Show(kSelectEntryMessage, MbButtons::Ok);
    FocusEditor();
    return false;
  }
  return true;
}

void AppointBook2::AfterModal() {
  if (!IsCreated()) return;
  native()->Activate();
  FocusEditor();
}

void AppointBook2::StepDay(bool forward) {
  const LocalTime t =
      MakeLocalTime(year, month, day, 1, 1, 1) + (forward ? kSecondsPerDay : -kSecondsPerDay);
  const DateTime next = BreakLocalTime(t);
  if (next.year < kFirstStepYear || next.year > kLastStepYear) return;
  if (AppointBook2* open = FindDayPlanner(ctx_, next.year, next.month, next.day)) {
    if (NativeWindow* native = open->native()) {
      native->Activate();
      native->Restore();
    }
    return;
  }
  DestroyEditor();
  SetDate(next.year, next.month, next.day);
  SetTitle(title_);
  if (IsCreated()) Invalidate(false);
}

void AppointBook2::RepeatsCommand() {
  if (ctx_.repeatBusy || !StartEntryCommand()) return;
  CPlannerEntry* entry = EditorEntry();
  if (entry == nullptr) {
    CommitLine();
    entry = EditorEntry();
  } else if (entry->notes != editText_ && !IsBlank(editText_)) {
    // The series is made from the entry's text: the text on the line goes first.
    entry->UpdateNotes(editText_);
    EntriesChanged();
  }
  if (entry == nullptr) return;
  repeatDlg_->Prepare(year, month, day, entry->hour(), entry->minute(), entry->until,
                      editor_ != nullptr ? editor_->Text() : editText_);
  repeatDlg_->SetRule(entry->repeats);
  const std::uint64_t serial = entry->serial();

  AppContext& ctx = ctx_;
  const WindowRef self = Ref();
  ctx.repeatBusy = true;
  EnableFrame(ctx, false);
  EnableWindow(this, false);
  const int result = repeatDlg_->DoModal(this);
  EnableFrame(ctx, true);
  if (self.get() == nullptr) {  // closed while the dialog ran
    ctx.repeatBusy = false;
    return;
  }
  EnableWindow(this, true);
  // The entry may have gone meanwhile (a restore, another window's deletion).
  if (CPlannerEntry* still = ctx.entries.FindBySerial(serial);
      result == kIdOk && still != nullptr) {
    ApplyRepeatChoice(*still, repeatDlg_->Result());
    Invalidate(false);
    EntriesChanged();
  }
  AfterModal();
  ctx.repeatBusy = false;
}

void AppointBook2::ReminderCommand() {
  if (ctx_.repeatBusy || !StartEntryCommand()) return;
  CReminderDlg dialog(ui());
  CPlannerEntry* entry = EditorEntry();
  struct Settings {
    int early = 0, reminder = 0, xreminder = 0;
  } before;
  if (entry != nullptr) {
    before = {entry->early, entry->reminder, entry->xreminder};
    dialog.minutes = entry->early;
    dialog.enabled = entry->reminder != 0;
    dialog.extra = entry->xreminder != 0;
  } else {
    dialog.minutes = ctx_.options.early;
    dialog.enabled = ctx_.options.reminders == 0;
    dialog.extra = false;
  }
  if (dialog.minutes == -1) {
    dialog.minutes = 0;
    dialog.enabled = false;
  }
  const int minutes = dialog.minutes;
  const bool enabled = dialog.enabled;
  const bool extra = dialog.extra;
  const WindowRef self = Ref();
  // The fields follow the controls while the user works; Cancel takes back
  // whatever was changed, so only OK changes the reminder.
  if (dialog.DoModal(this) != kIdOk) {
    dialog.minutes = minutes;
    dialog.enabled = enabled;
    dialog.extra = extra;
  }
  if (self.get() == nullptr) return;

  entry = EditorEntry();
  bool created = false;
  if (entry == nullptr) {
    CommitLine();
    entry = EditorEntry();
    created = entry != nullptr;
  }
  const int early = dialog.enabled ? dialog.minutes : -1;
  const int reminder = dialog.enabled ? 1 : 0;
  const int xreminder = dialog.extra ? 1 : 0;
  if (entry != nullptr && (created || early != before.early || reminder != before.reminder ||
                           xreminder != before.xreminder)) {
    entry->early = early;
    entry->xreminder = xreminder;
    entry->reminder = reminder;
    entry->Schedule(true);  // stores it and arms the reminder again
    EntriesChanged();
  }
  AfterModal();
}

void AppointBook2::ClearDayCommand() {
  if (ctx_.messages.Show(ClearDayQuestion(year, month, day), MbButtons::YesNo) != MbResult::Yes) {
    return;
  }
  DestroyEditor();
  ctx_.entries.DeleteDay(year, month, day);
  if (IsCreated()) Invalidate(true);
  EntriesChanged();
}

void AppointBook2::SelectFontCommand() {
  EnableWindow(this, false);
  std::unique_ptr<Font> chosen = ChooseFontFrom(ui(), font_.get());
  EnableWindow(this, true);
  if (chosen == nullptr) {
    FocusEditor();
    return;
  }
  DestroyEditor();
  font_ = std::move(chosen);
  ctx_.store.SaveFont(kPlannerFontName, font_->record().ToBytes());
  if (!IsCreated()) return;
  std::unique_ptr<Canvas> canvas = native()->ClientCanvas();
  LayoutLines(*canvas, font_.get());
  ApplyOuterSize(kFontChangePosition);
  // The lines moved: the repaint draws them anew and selects the top line.
  Invalidate(true);
}

void AppointBook2::PrintCommand() {
  if (ctx_.view == nullptr) return;
  // The printout shows the line being typed: it is stored first, as leaving
  // it would (a cleared line is left for leaving to delete).
  if (!IsBlank(editText_)) CommitLine();
  const WindowRef self = Ref();
  ctx_.view->BeginPrintFrom(*this, *this, PrintKind::DayPlanner);
  if (self.get() != nullptr) AfterModal();
}

bool AppointBook2::OnCommand(int id) {
  switch (id) {
    case res::kIdReminder:
      ReminderCommand();
      return true;
    case res::kIdRepeats:
      RepeatsCommand();
      return true;
    case res::kIdClearDay:
      ClearDayCommand();
      return true;
    case res::kIdSelectFont:
      SelectFontCommand();
      return true;
    case res::kIdPrint:
      PrintCommand();
      return true;
    case res::kIdClose:
      PostClose();
      return true;
    case res::kIdPrevious:
    case res::kIdNext:
      StepDay(id == res::kIdNext);
      return true;
    case res::kIdPlannerHelp:
      ui().ShowHelp(res::kHelpDayPlanner);
      return true;
    case res::kIdPlannerHints: {
      const WindowRef self = Ref();
      CPlannerHintsDlg(ui()).DoModal(this);
      if (self.get() != nullptr) AfterModal();
      return true;
    }
    default:
      break;
  }
  // The editing commands act on the selected line's control.
  if (editor_ == nullptr) return false;
  switch (id) {
    case res::kIdUndo:
      editor_->Undo();
      return true;
    case res::kIdCut:
    case res::kIdStandardCut:
    case res::kIdDelete:  // Delete cuts: the selection goes to the clipboard
      editor_->Cut();
      return true;
    case res::kIdCopy:
      editor_->Copy();
      return true;
    case res::kIdPaste:
      editor_->Paste();
      return true;
    case res::kIdSelectAll:
      editor_->SetSel(0, -1);
      editor_->ScrollCaret();
      return true;
    default:
      return false;
  }
}

void AppointBook2::OnUpdateCommand(int id, CommandState& state) {
  int start = 0, end = 0;
  if (editor_ != nullptr) editor_->GetSel(start, end);
  switch (id) {
    case res::kIdCopy:
    case res::kIdCut:
    case res::kIdStandardCut:
    case res::kIdDelete:
      state.enabled = editor_ != nullptr && start < end;
      break;
    case res::kIdPaste:
      state.enabled = editor_ != nullptr;
      break;
    case res::kIdUndo:
      state.enabled = editor_ != nullptr && editor_->CanUndo();
      break;
    case res::kIdSelectAll:
      state.enabled = editor_ != nullptr && !editor_->Text().empty();
      break;
    default:
      break;  // Reminder, Repeats and the rest are always available
  }
}

}  // namespace vesk
