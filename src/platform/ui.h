#pragma once
// The window half of the platform layer: makes native windows, fonts and
// dialogs, and offers the desktop's services. One Ui per program; the Qt
// backend and the headless twin implement it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"
#include "platform/edit_control.h"
#include "platform/font.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace vesk {

// The notification-area icon. Mouse reports arrive at the handler.
class TrayHandler {
 public:
  virtual ~TrayHandler() = default;
  virtual void OnTrayMouseMove() = 0;
  virtual void OnTrayLeftDown() = 0;
  virtual void OnTrayRightDown() = 0;
};

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void SetTip(std::string_view tip) = 0;
  virtual std::string Tip() const = 0;
  // Whether the desktop has a notification area to show the icon in.
  virtual bool IsAvailable() const = 0;
};

// One print job: a page at a time on a printer canvas.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  virtual int FirstPage() const = 0;
  virtual int LastPage() const = 0;
  virtual Canvas& BeginPage() = 0;
  virtual void EndPage() = 0;
  // False when the output could not be written.
  virtual bool End() = 0;
};

// The printer every print job starts from, as it is kept between runs.
struct PrinterSettings {
  std::string name;    // empty: the desktop's default printer
  int paperWidth = 0;  // tenths of a millimetre, upright; 0: the printer's own paper
  int paperHeight = 0;
  bool landscape = false;
  bool operator==(const PrinterSettings&) const = default;
};

class Ui : public MessageBoxes {
 public:
  ~Ui() override = default;

  // Window machinery, used by Window and EditControl.
  virtual std::unique_ptr<NativeWindow> CreateNative(Window& window, const WindowSpec& spec) = 0;
  virtual std::unique_ptr<NativeEdit> CreateNativeEdit(EditControl& edit, Window& parent,
                                                       const Rect& rect,
                                                       const EditOptions& options) = 0;
  // Runs fn once the current message has been handled.
  virtual void Post(std::function<void()> fn) = 0;
  // Runs a dialog modally: OnInitDialog, then events until EndDialog (the run
  // ends when IsRunning() turns false after a handler returns).
  virtual int RunDialog(Dialog& dialog, Window* owner) = 0;

  // Keeps a window object alive until its window is destroyed, then releases it.
  Window& Adopt(std::unique_ptr<Window> window);
  // Called by Window::Destroy: releases an adopted object once the current message is handled.
  void Released(Window& window);
  // Windows created and not yet destroyed, in the order they were created
  // (tests and the routing use it).
  std::vector<Window*> Windows() const;

  virtual std::unique_ptr<Font> CreateFont(const FontRecord& record) = 0;
  virtual Window* ActiveWindow() const = 0;
  virtual Size ScreenSize() const = 0;
  virtual Point CursorPos() const = 0;

  // Common dialogs; nothing when cancelled.
  virtual std::optional<Color> ChooseColor(std::vector<Color>& customColors) = 0;
  virtual std::optional<FontRecord> ChooseFont(const FontRecord& initial) = 0;
  // An existing file, the chooser starting in folder (empty: the desktop's
  // choice) with fileName filled in.
  virtual std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                                    std::string_view folder,
                                                    std::string_view fileName) = 0;
  // The print dialog with pages 1..pageCount on the printer kept for the run,
  // which keeps what the user chose there; nothing when cancelled.
  virtual std::unique_ptr<PrintJob> BeginPrint(int pageCount, std::string_view documentName) = 0;
  // The printer set-up dialog on the kept printer; false when cancelled.
  virtual bool PrinterSetup() = 0;
  virtual PrinterSettings Printer() = 0;
  // Makes the kept printer the given one (settings of an earlier run); a
  // printer that is no longer installed gives way to the default one.
  virtual void SetPrinter(const PrinterSettings& settings) = 0;

  // Shows a menu at a screen point; the chosen command goes to target.OnCommand.
  virtual void TrackPopupMenu(const Menu& menu, Point at, Window& target) = 0;
  // Ctrl+key accelerators that reach target.OnCommand from any window of the program.
  virtual void SetAccelerators(const std::vector<Accelerator>& table, Window& target) = 0;

  virtual std::unique_ptr<TrayIcon> CreateTrayIcon(TrayHandler& handler, std::string_view tip) = 0;
  // The help window at the contents page (topic 0) or a numeric topic.
  virtual void ShowHelp(int topic) = 0;
  // Plays a wave file asynchronously; the default beep when path is empty.
  virtual void PlaySound(std::string_view path) = 0;
  virtual void Beep() = 0;
  // The background and text colours of the dialogs shown from now on; a
  // backend that keeps the desktop's dialog colours ignores it.
  virtual void SetDialogColors(Color /*back*/, Color /*fore*/) {}
  // Brings the window the user worked in last (an open dialog, a day planner)
  // to the top and activates it, if it is still shown; a backend without
  // other programs' windows has nothing to bring.
  virtual void BringLastActiveToTop() {}

 protected:
  // Backends call it first in their destructor, while native windows can still
  // be torn down: deletes every adopted window object without running handlers.
  void ReleaseAdopted();
  // RunDialog hands the dialog its live controls for the run, and takes them back.
  static void AttachControls(Dialog& dialog, DialogControls& controls);
  static void DetachControls(Dialog& dialog);

 private:
  friend class Window;
  friend class WindowRef;
  struct Live {
    Window* window;
    std::uint64_t serial;
  };
  std::uint64_t Register(Window& window);
  void Unregister(const Window& window);
  bool IsAlive(const Window* window, std::uint64_t serial) const;

  std::vector<Live> live_;
  std::uint64_t nextSerial_ = 1;
  std::vector<std::unique_ptr<Window>> adopted_;
};

}  // namespace vesk
