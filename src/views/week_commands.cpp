// The week view's menu commands and their item states.
#include <memory>

#include "platform/ui.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "views/month_view.h"
#include "views/view_fonts.h"
#include "views/view_week.h"
#include "views/week_hints_dialog.h"

namespace vesk {

namespace {

constexpr Point kFontChangePosition{10, 10};

int DaysOfCommand(int id) {
  switch (id) {
    case res::kIdOneWeek:
      return 7;
    case res::kIdTwoWeeks:
      return 14;
    case res::kIdFourWeeks:
      return 28;
    default:
      return 0;
  }
}

}  // namespace

void ViewWeek::SelectFontCommand() {
  native()->Enable(false);
  std::unique_ptr<Font> chosen = ChooseFontFrom(ui(), DrawingFont());
  if (!IsCreated()) return;
  native()->Enable(true);
  if (chosen == nullptr) return;
  font_ = std::move(chosen);
  ctx_.store.SaveFont(kWeekFontName, font_->record().ToBytes());
  Measure();
  ApplyOuterSize(kFontChangePosition);
  Invalidate(true);
}

void ViewWeek::PrintCommand() {
  if (ctx_.view != nullptr) ctx_.view->BeginPrintFrom(*this, *this, PrintKind::WeekView);
}

bool ViewWeek::OnCommand(int id) {
  if (const int days = DaysOfCommand(id); days != 0) {
    SetDaysShown(days);
    return true;
  }
  switch (id) {
    case res::kIdPrint:
      PrintCommand();
      return true;
    case res::kIdClose:
      PostClose();
      return true;
    case res::kIdPrevious:
    case res::kIdNext:
      StepWeek(id == res::kIdNext ? 1 : -1);
      return true;
    case res::kIdWeekHints:
      CWeekHintsDlg(ui()).DoModal(this);
      return true;
    case res::kIdRepeats:
      ctx_.messages.Show(kUnderConstructionMessage, MbButtons::Ok);
      return true;
    case res::kIdSelectFont:
      SelectFontCommand();
      return true;
    default:
      return false;
  }
}

void ViewWeek::OnUpdateCommand(int id, CommandState& state) {
  if (const int days = DaysOfCommand(id); days != 0) state.enabled = days != daysShown_;
}

}  // namespace vesk
