#pragma once
// The application object: the start-up sequence of the program (after the
// single-instance test and the command line, which the executable handles),
// and its end.
#include <functional>
#include <memory>

#include "app/reminder_presenter.h"

namespace vesk {

struct AppContext;
class CMainFrame;

class CVeskCalApp {
 public:
  // ctx.ui must be set. onEnded runs once the main frame has been destroyed.
  CVeskCalApp(AppContext& ctx, std::function<void()> onEnded);
  ~CVeskCalApp();
  CVeskCalApp(const CVeskCalApp&) = delete;
  CVeskCalApp& operator=(const CVeskCalApp&) = delete;

  // The first-run set-up, the start sound, the main frame with its view, the
  // colour set and the dialog colours, then the reminders missed while the
  // program did not run. False when the main frame could not be created: the
  // program ends.
  bool InitInstance();
  // Ends the program as "E&xit" does (a signal, the session ending).
  void Exit();

  // Null before InitInstance and after a failed one.
  CMainFrame* mainFrame() const { return frame_.get(); }

 private:
  // On the first run (the "sounds" key is new): the welcome entry, the three
  // default sounds and their wave files.
  void FirstRunSetup();

  AppContext& ctx_;
  std::function<void()> onEnded_;
  AppReminderPresenter presenter_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vesk
