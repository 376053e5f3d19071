#include "app/veskcal_app.h"

#include <utility>

#include "app/default_sounds.h"
#include "app/main_frame.h"
#include "calendar/local_time.h"
#include "platform/ui.h"
#include "store/app_context.h"
#include "store/hooks.h"
#include "store/printer_store.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk {

CVeskCalApp::CVeskCalApp(AppContext& ctx, std::function<void()> onEnded)
    : ctx_(ctx), onEnded_(std::move(onEnded)), presenter_(ctx) {}

CVeskCalApp::~CVeskCalApp() { frame_.reset(); }

void CVeskCalApp::FirstRunSetup() {
  if (ctx_.store.OpenSection(kSoundsSection) != OpenResult::Created) return;
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  ctx_.store.WriteWelcomeEntry(today.year, today.month, today.day);
  WriteSound(ctx_.store, kStartSound, kStartSoundName);
  WriteSound(ctx_.store, kReminderSound, kRingSoundName);
  WriteSound(ctx_.store, kClickSound, kPickSoundName);
  // Missing wave files only mean silence, so a failed write is not reported.
  if (!ctx_.dataDir.empty()) WriteDefaultSounds(ctx_.dataDir);
}

bool CVeskCalApp::InitInstance() {
  presenter_.Attach();
  FirstRunSetup();
  PlayStartSound(ctx_);
  if (std::optional<PrinterSettings> printer = LoadPrinter(ctx_.store)) {
    ctx_.ui->SetPrinter(*printer);
  }

  frame_ = std::make_unique<CMainFrame>(ctx_, onEnded_);
  if (!frame_->CreateFrame()) {
    frame_.reset();
    return false;
  }

  CVeskCalView& view = frame_->view();
  view.LoadColors();
  ctx_.ui->SetDialogColors(view.colors().back, view.colors().fore);
  // Last, so that the pop-up of what was missed has the colours.
  if (ctx_.armer != nullptr) ctx_.armer->CatchUpAtStart();
  return true;
}

void CVeskCalApp::Exit() {
  if (frame_ != nullptr) frame_->Exit();
}

}  // namespace vesk
