#pragma once
// The window half of the headless twin. Windows are records (headless_window.h,
// which also fixes the frame around client areas), painting is recorded
// (recording_canvas.h), fonts have fixed metrics (headless_font.h), message
// boxes and modal dialogs are answered by the test's script, and the desktop's
// services are recorded. Tests drive windows with the calls below; each runs
// the posted messages (Pump) before it returns.
//
// Focus and activation follow the desktop: showing an enabled top-level window
// that is neither a pop-up nor disabled activates it; activation returns the
// focus to where it last was in that window; hiding the active window passes
// activation to its owner; when the focus leaves an edit control, its parent
// gets kEnKillFocus. While a window holds the capture, mouse input goes to it.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_dialog.h"
#include "platform/headless/headless_services.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/recording_canvas.h"
#include "platform/headless/scripted_message_boxes.h"
#include "platform/ui.h"

namespace vesk {

class HeadlessUi : public Ui {
 public:
  // With its own message box script, or sharing the fixture's.
  HeadlessUi();
  explicit HeadlessUi(ScriptedMessageBoxes& boxes);
  ~HeadlessUi() override;

  // --- Ui ---
  std::unique_ptr<NativeWindow> CreateNative(Window& window, const WindowSpec& spec) override;
  std::unique_ptr<NativeEdit> CreateNativeEdit(EditControl& edit, Window& parent, const Rect& rect,
                                               const EditOptions& options) override;
  void Post(std::function<void()> fn) override;
  int RunDialog(Dialog& dialog, Window* owner) override;
  std::unique_ptr<Font> CreateFont(const FontRecord& record) override;
  Window* ActiveWindow() const override { return active_.get(); }
  Size ScreenSize() const override { return screenSize_; }
  Point CursorPos() const override { return cursorPos_; }
  std::optional<Color> ChooseColor(std::vector<Color>& customColors) override;
  std::optional<FontRecord> ChooseFont(const FontRecord& initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view folder,
                                            std::string_view fileName) override;
  std::unique_ptr<PrintJob> BeginPrint(int pageCount, std::string_view documentName) override;
  bool PrinterSetup() override;
  PrinterSettings Printer() override { return printer_; }
  void SetPrinter(const PrinterSettings& settings) override { printer_ = settings; }
  void TrackPopupMenu(const Menu& menu, Point at, Window& target) override;
  void SetAccelerators(const std::vector<vesk::Accelerator>& table, Window& target) override;
  std::unique_ptr<TrayIcon> CreateTrayIcon(TrayHandler& handler, std::string_view tip) override;
  void ShowHelp(int topic) override { helpTopics_.push_back(topic); }
  void PlaySound(std::string_view path) override { sounds_.emplace_back(path); }
  void Beep() override { ++beeps_; }
  MbResult Show(std::string_view text, MbButtons buttons, std::string_view caption) override;
  void SetDialogColors(Color back, Color fore) override { dialogColors_ = {back, fore}; }

  // --- Posted messages ---
  // Runs posted functions, and those they post, until none is left.
  void Pump();
  std::size_t PendingPosts() const { return posted_.size(); }

  // --- Window records ---
  // The record of a created window (null when it has no native window).
  static WindowRecord* Record(const Window& window);
  static HeadlessEdit* EditOf(const EditControl& edit);
  Window* Focus() const { return focus_.get(); }
  Window* Capture() const { return capture_.get(); }
  // Screen position of the window's client origin.
  Point ClientOrigin(const Window& window) const;

  // --- Driving windows; points are client coordinates of the window ---
  // A left press; false when the window takes no input (disabled, hidden).
  bool Click(Window& window, Point p);
  bool RightClick(Window& window, Point p);
  void MouseMove(Window& window, Point p);
  void MouseUp(Window& window, Point p);
  // A key pressed in the window: the focused control inside it sees it first
  // (OnKeyDown, then the edit control's own handling when not consumed).
  // Keys, wheel and typing reach nothing in a hidden or disabled window.
  void Key(Window& window, int vk);
  // Types text into the control one character at a time, as the keyboard
  // would (no OnKeyDown): each accepted character raises kEnChange. Typing
  // reaches only the focused control: otherwise it is recorded as a failure.
  void Type(EditControl& edit, std::string_view text);
  // The wheel: the focused control inside the window first, then its parents.
  void Wheel(Window& window, int delta);
  // A menu command: refused (false) when OnUpdateCommand disables it;
  // otherwise OnCommand's answer.
  bool Command(Window& window, int id);
  CommandState MenuState(Window& window, int id);
  // Paints the window on a fresh screen canvas and returns what was drawn.
  std::vector<CanvasOp> Paint(Window& window);
  void Activate(Window& window);
  void MoveWindow(Window& window, const Rect& outer);
  void Close(Window& window);
  // The minimise box: OnMinimize, and the window minimises when not handled.
  void Minimize(Window& window);
  void VScroll(Window& window, int code, int pos);
  // Ctrl+key through the accelerator table; false when nothing handled it.
  bool Accelerator(char key);

  // --- Settings ---
  void SetScreenSize(Size size) { screenSize_ = size; }
  void SetCursorPos(Point p) { cursorPos_ = p; }
  void SetScreenColors(int count) { screenColors_ = count; }
  void SetPrinterColors(int count) { printerColors_ = count; }
  int screenColors() const { return screenColors_; }
  int printerColors() const { return printerColors_; }
  const std::string& clipboard() const { return clipboard_; }
  void SetClipboard(std::string text) { clipboard_ = std::move(text); }

  // --- Message boxes ---
  ScriptedMessageBoxes& boxes() { return boxes_; }

  // --- Modal dialogs ---
  struct DialogRun {
    int templateId;
    int result;
    std::string title;  // the caption when the dialog ended
    Window* owner;
  };
  // The next run of that dialog calls script after OnInitDialog; the script
  // must end the dialog (Click(kIdOk) ...).
  void ScriptDialog(int templateId, std::function<void(HeadlessDialog&)> script);
  const std::vector<DialogRun>& dialogRuns() const { return dialogRuns_; }
  // The colours last handed over for dialogs (back, fore), if any.
  const std::optional<std::pair<Color, Color>>& dialogColors() const { return dialogColors_; }
  // Template ids of scripts that no dialog used.
  std::vector<int> PendingDialogScripts() const;

  // --- Common dialogs: answers queued; none left means cancelled ---
  void AnswerColor(std::optional<Color> color) { colorAnswers_.push_back(color); }
  void AnswerFont(std::optional<FontRecord> font) { fontAnswers_.push_back(std::move(font)); }
  void AnswerOpenFile(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
  // A confirmed print dialog may also choose another printer or paper.
  void AnswerPrint(std::optional<PrintAnswer> answer,
                   std::optional<PrinterSettings> printer = std::nullopt) {
    printAnswers_.push_back({answer, std::move(printer)});
  }
  // The printer set-up dialog's choice; none queued means cancelled.
  void AnswerPrinterSetup(std::optional<PrinterSettings> p) {
    setupAnswers_.push_back(std::move(p));
  }
  int printerSetups() const { return printerSetups_; }
  struct OpenFileCall {
    std::string title, filter, folder, fileName;
  };
  const std::vector<std::vector<Color>>& colorCalls() const { return colorCalls_; }
  const std::vector<FontRecord>& fontCalls() const { return fontCalls_; }
  const std::vector<OpenFileCall>& openFileCalls() const { return openFileCalls_; }
  // Every print dialog shown, with what the job printed.
  const std::vector<PrintedJob>& printJobs() const { return printJobs_; }

  // --- Menus ---
  struct PopupShown {
    Menu menu;
    Point at;
    Window* target;
  };
  // The choice for the next pop-up menu; 0 dismisses it (as does none queued).
  void ChoosePopupCommand(int id) { popupChoices_.push_back(id); }
  const std::vector<PopupShown>& popups() const { return popups_; }
  const std::vector<vesk::Accelerator>& accelerators() const { return accelerators_; }
  Window* acceleratorTarget() const { return accelTarget_.get(); }

  // --- Tray, help, sound ---
  HeadlessTrayIcon* tray() const { return tray_; }
  void SetTrayAvailable(bool available) { trayAvailable_ = available; }
  bool trayAvailable() const { return trayAvailable_; }
  void TrayMouseMove();
  void TrayLeftDown();
  void TrayRightDown();
  const std::vector<int>& helpTopics() const { return helpTopics_; }
  const std::vector<std::string>& sounds() const { return sounds_; }
  int beeps() const { return beeps_; }

  // --- What went wrong in the twin's scripts: a dialog without a script or
  // left running, a script using a missing or disabled control, a pop-up
  // choice that is not in the menu or is disabled. Tests expect it empty. ---
  const std::vector<std::string>& failures() const { return failures_; }
  void Fail(std::string what) { failures_.push_back(std::move(what)); }

 private:
  template <typename>
  friend class HeadlessWindowOf;
  friend class HeadlessEdit;
  friend class HeadlessTrayIcon;
  friend class HeadlessPrintJob;

  static Window& Root(Window& window);
  static bool IsInside(const Window& window, const Window& ancestor);
  // Whether the window and its ancestors are created, visible and enabled.
  static bool TakesInput(const Window& window);
  void Shown(Window& window, bool visible);
  void ActivateTop(Window& top);
  void SetFocusTo(Window* window);
  void SetCaptureTo(Window* window) { capture_ = window != nullptr ? window->Ref() : WindowRef(); }
  int NextZ() { return ++zCounter_; }
  // The focused window when it is the window or inside it, else the window.
  Window& KeyTarget(Window& window) const;
  // Where mouse input for window goes, with p converted to its client coordinates.
  Window& MouseTarget(Window& window, Point& p) const;
  void DeactivateFrom(Window& top);

  std::unique_ptr<ScriptedMessageBoxes> ownBoxes_;
  ScriptedMessageBoxes& boxes_;
  std::deque<std::function<void()>> posted_;

  WindowRef active_, focus_, capture_;
  int zCounter_ = 0;
  Size screenSize_{1024, 768};
  Point cursorPos_;
  int screenColors_ = RecordingCanvas::kTrueColor;
  int printerColors_ = RecordingCanvas::kTrueColor;
  std::string clipboard_;

  std::map<int, std::deque<std::function<void(HeadlessDialog&)>>> dialogScripts_;
  std::vector<DialogRun> dialogRuns_;
  std::optional<std::pair<Color, Color>> dialogColors_;

  std::deque<std::optional<Color>> colorAnswers_;
  std::deque<std::optional<FontRecord>> fontAnswers_;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::deque<std::pair<std::optional<PrintAnswer>, std::optional<PrinterSettings>>> printAnswers_;
  std::deque<std::optional<PrinterSettings>> setupAnswers_;
  PrinterSettings printer_;
  int printerSetups_ = 0;
  std::vector<std::vector<Color>> colorCalls_;
  std::vector<FontRecord> fontCalls_;
  std::vector<OpenFileCall> openFileCalls_;
  std::vector<PrintedJob> printJobs_;

  std::deque<int> popupChoices_;
  std::vector<PopupShown> popups_;
  std::vector<vesk::Accelerator> accelerators_;
  WindowRef accelTarget_;

  HeadlessTrayIcon* tray_ = nullptr;
  bool trayAvailable_ = true;
  std::vector<int> helpTopics_;
  std::vector<std::string> sounds_;
  int beeps_ = 0;
  std::vector<std::string> failures_;
};

}  // namespace vesk
