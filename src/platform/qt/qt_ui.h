#pragma once
// The desktop Ui on Qt 6 Widgets. Needs a QApplication for its whole life.
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "platform/qt/qt_icons.h"
#include "platform/ui.h"

class QPrinter;
class QWidget;

namespace vesk {

class QtAccelerators;
class QtHelpWindow;
class QtNativeWindow;
class QtSound;

class QtUi : public Ui {
 public:
  explicit QtUi(UiResources resources = {});
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  MbResult Show(std::string_view text, MbButtons buttons,
                std::string_view caption = kAppCaption) override;

  std::unique_ptr<NativeWindow> CreateNative(Window& window, const WindowSpec& spec) override;
  std::unique_ptr<NativeEdit> CreateNativeEdit(EditControl& edit, Window& parent, const Rect& rect,
                                               const EditOptions& options) override;
  void Post(std::function<void()> fn) override;
  int RunDialog(Dialog& dialog, Window* owner) override;

  std::unique_ptr<Font> CreateFont(const FontRecord& record) override;
  Window* ActiveWindow() const override;
  Size ScreenSize() const override;
  Point CursorPos() const override;

  std::optional<Color> ChooseColor(std::vector<Color>& customColors) override;
  std::optional<FontRecord> ChooseFont(const FontRecord& initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view folder,
                                            std::string_view fileName) override;
  std::unique_ptr<PrintJob> BeginPrint(int pageCount, std::string_view documentName) override;
  bool PrinterSetup() override;
  PrinterSettings Printer() override;
  void SetPrinter(const PrinterSettings& settings) override;

  void TrackPopupMenu(const Menu& menu, Point at, Window& target) override;
  void SetAccelerators(const std::vector<Accelerator>& table, Window& target) override;

  std::unique_ptr<TrayIcon> CreateTrayIcon(TrayHandler& handler, std::string_view tip) override;
  void ShowHelp(int topic) override;
  void PlaySound(std::string_view path) override;
  void Beep() override;
  void SetDialogColors(Color back, Color fore) override;
  void BringLastActiveToTop() override;

  // Deletes the window objects still held (adopted windows, and released ones
  // waiting in posted work, which is dropped) without running handlers. The
  // program calls it once it has ended, before the objects those windows use go.
  void ReleaseWindows();

  // The native window of a live window of ours (not an edit control).
  QtNativeWindow* NativeOf(const Window* window) const;
  // Whether the widget belongs to one of the program's windows.
  bool IsProgramWindow(const QWidget* widget) const;
  // The window a dialog or message box opened now belongs to.
  QWidget* DialogParent(const Window* owner) const;
  // The window manager's frame around a window with a title bar, as last seen
  // (none before the first such window showed).
  const QMargins& frameMargins() const { return frameMargins_; }
  void SetFrameMargins(const QMargins& margins) { frameMargins_ = margins; }
  // Gives a dialog or message box the program's dialog colours, if any were set.
  void ApplyDialogColors(QWidget& dialog) const;
  const QtIcons& icons() const { return icons_; }
  // The printer kept for the run, with the settings handed over before it was made.
  QPrinter& KeptPrinter();

 private:
  void RunPosted();

  QtIcons icons_;
  // Posted work waits here, so what is still waiting when the Ui goes is
  // dropped while the Ui exists; the queued calls that run it target
  // postContext_ and die with it.
  std::deque<std::function<void()>> posted_;
  std::unique_ptr<QObject> postContext_;
  QMargins frameMargins_;
  std::optional<std::pair<Color, Color>> dialogColors_;  // back, fore
  std::unique_ptr<QtSound> sound_;
  std::unique_ptr<QtAccelerators> accelerators_;
  std::unique_ptr<QtHelpWindow> help_;
  std::unique_ptr<QPrinter> printer_;
  std::optional<PrinterSettings> restoredPrinter_;
  QPointer<QWidget> lastActive_;  // the top-level window that had the focus last
};

}  // namespace vesk
