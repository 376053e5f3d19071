// The main frame's File, Setup commands: colours, sounds, the advanced
// options and the printer. What they change shows in every window at once.
#include "app/advanced_dialog.h"
#include "app/color_setup_dialog.h"
#include "app/main_frame.h"
#include "app/sounds_dialog.h"
#include "store/app_context.h"
#include "store/printer_store.h"
#include "views/month_view.h"

namespace vesk {

void CMainFrame::RepaintAllWindows() {
  // Every window paints from the colour set and the options, so a repaint is
  // all it takes; the tray tip shows its time on the clock now asked for.
  for (Window* window : ui().Windows()) window->Invalidate();
  RefreshTrayTip();
}

void CMainFrame::SetUpColors() {
  CColorSetupDlg dialog(ui(), *view_, [this] { RepaintAllWindows(); });
  if (dialog.DoModal(this) == kIdOk) {
    ui().SetDialogColors(view_->colors().back, view_->colors().fore);
  }
  RepaintAllWindows();
}

void CMainFrame::SetUpSounds() { CSoundsDlg(ctx_).DoModal(this); }

void CMainFrame::SetUpAdvanced() {
  CAdvancedDlg dialog(ctx_);
  const Options before = ctx_.options;
  if (dialog.DoModal(this) == kIdOk) {
    ctx_.options.early = dialog.options().early;
    ctx_.options.age = dialog.options().age;
    ctx_.options.reminders = dialog.options().reminders;
    ctx_.options.minatstart = dialog.options().minatstart;
    // Entries keep their own lead; re-arming them lets the armed reminders
    // follow the options as they are now.
    if (ctx_.options.early != before.early) ctx_.entries.RearmTimers(true);
    if (ctx_.options.ontop != before.ontop || ctx_.options.minatstart != before.minatstart) {
      PlaceMainWindow();
    }
  }
  RepaintAllWindows();
}

void CMainFrame::SetUpPrinter() {
  if (ui().PrinterSetup()) SavePrinter(ctx_.store, ui().Printer());
}

}  // namespace vesk
