#include "app/advanced_dialog.h"

#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"
#include "store/app_context.h"
#include "store/options_store.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr int kMinAge = 3;
constexpr int kMaxAge = 60;
constexpr int kMinEarly = 0;
constexpr int kMaxEarly = 180;

}  // namespace

CAdvancedDlg::CAdvancedDlg(AppContext& ctx)
    : Dialog(*ctx.ui, res::AdvancedDialogTemplate()),
      ctx_(ctx),
      options_{.age = 12,
               .early = 0,
               .reminders = -1,
               .splash = 0,
               .minatstart = 0,
               .fastprinting = 0,
               .statusbar = 0,
               .a24hour = 0,
               .europe = 0,
               .ontop = 0} {
  LoadOptions(ctx_.store, options_);
  europeAtOpen_ = options_.europe;
  storedAtOpen_ = options_;
  runningAtOpen_ = ctx_.options;
}

bool CAdvancedDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconApp);
  return true;
}

void CAdvancedDlg::DoDataExchange(DataExchange& dx) {
  dx.IntRange(res::kIdAge, options_.age, kMinAge, kMaxAge);
  dx.IntRange(res::kIdEarly, options_.early, kMinEarly, kMaxEarly);
  dx.Radio(res::kIdAutomatic, options_.reminders);
  dx.Check(res::kIdMinAtStart, options_.minatstart);
  dx.Check(res::kIdFastPrinting, options_.fastprinting);
  dx.Check(res::kIdStatusBar, options_.statusbar);
  dx.Check(res::kIdA24Hour, options_.a24hour);
  dx.Check(res::kIdEurope, options_.europe);
  dx.Check(res::kIdOnTop, options_.ontop);
}

void CAdvancedDlg::OnCommand(int id, int code) {
  if (id == res::kIdAdvancedHelp) {
    ui().ShowHelp(res::kHelpAdvanced);
    return;
  }
  // The hidden status bar box does nothing.
  if (id == res::kIdStatusBar) return;
  Dialog::OnCommand(id, code);
}

void CAdvancedDlg::OnOK() {
  Dialog::OnOK();
  // Stored also when refused, so the fields hold at least their nearest
  // valid values.
  if (options_.early > kMaxEarly || options_.early < kMinEarly) options_.early = 0;
  if (options_.age > kMaxAge) options_.age = kMaxAge;
  // A shorter age would purge more at the next end of the program than the
  // user ever accepted, so a too small one keeps the age stored before.
  if (options_.age < kMinAge) options_.age = storedAtOpen_.age;
  options_.splash = 1;
  SaveOptions(ctx_.store, options_);
  stored_ = true;
  // What the windows read at once; the main frame takes the rest after OK.
  ctx_.options.early = options_.early;
  ctx_.options.fastprinting = options_.fastprinting;
  ctx_.options.a24hour = options_.a24hour;
  ctx_.options.europe = options_.europe;
  ctx_.options.ontop = options_.ontop;
  RepaintIfFirstWeekdayChanged();
}

void CAdvancedDlg::OnCancel() {
  if (stored_) {
    SaveOptions(ctx_.store, storedAtOpen_);
    ctx_.options = runningAtOpen_;
    RepaintIfFirstWeekdayChanged();
  }
  Dialog::OnCancel();
}

void CAdvancedDlg::RepaintIfFirstWeekdayChanged() {
  if (options_.europe != europeAtOpen_ && ctx_.view != nullptr) ctx_.view->Invalidate();
}

}  // namespace vesk
