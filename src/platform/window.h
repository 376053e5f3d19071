#pragma once
// A window of the system. The backend creates a native window for it and
// turns every native event into a call of one of the handlers below (one
// dispatch point); the system's classes override the handlers they need.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/menu.h"
#include "platform/types.h"

namespace vesk {

class Ui;
class Window;

struct WindowStyle {
  bool caption = true;     // title bar
  bool systemMenu = true;  // close box
  bool minimizeBox = false;
  bool sizing = false;
  bool vscroll = false;     // a vertical scroll bar beside the client area
  bool popup = false;       // borderless (day popup)
  bool disabled = false;    // never takes input or focus
  bool toolWindow = false;  // no taskbar button
  // An owned window that a modal dialog of its owner does not hold back: it
  // takes input while the dialog runs (a reminder pop-up).
  bool independent = false;
};

// Scroll bar request codes, as the handlers receive them.
enum ScrollCode : int {
  kSbLineUp = 0,
  kSbLineDown = 1,
  kSbPageUp = 2,
  kSbPageDown = 3,
  kSbThumbPosition = 4,  // the thumb was released at pos
  kSbThumbTrack = 5,     // the thumb is being dragged
  kSbEndScroll = 8,
};

// Edit control notifications sent to the owner.
inline constexpr int kEnChange = 768;
inline constexpr int kEnKillFocus = 512;

// What the backend provides for one window; the system never sees it.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual void SetTitle(std::string_view title) = 0;
  virtual std::string Title() const = 0;
  // Outer rectangle in screen coordinates.
  virtual void SetWindowRect(const Rect& outer) = 0;
  virtual Rect WindowRect() const = 0;
  virtual Rect ClientRect() const = 0;  // origin 0,0
  virtual void Show(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  virtual bool IsMinimized() const = 0;
  // Minimises a top-level window as its minimise box would (without asking
  // OnMinimize); a backend without minimised windows leaves it as it is.
  virtual void Minimize() {}
  virtual void Restore() = 0;
  virtual void BringToTop() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void Enable(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Activate() = 0;
  virtual void Invalidate(bool erase) = 0;
  virtual void SetMenu(const Menu* menu) = 0;
  virtual void SetIcon(int iconId) = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual void SetScrollRange(int min, int max, int page, int pos, bool redraw) = 0;
  virtual void SetScrollPos(int pos, bool redraw) = 0;
  virtual void ScrollClient(int dy) = 0;
  virtual void SetFocus() = 0;
  // Draws outside the paint handler, at once (hover frames).
  virtual std::unique_ptr<Canvas> ClientCanvas() = 0;
  // Tears the native window down; the layer calls it once and then deletes the
  // object. From then on the native window reports nothing to its Window.
  virtual void Destroy() = 0;
};

struct WindowSpec {
  std::string title;
  WindowStyle style;
  Window* owner = nullptr;   // stays above its owner; no taskbar button
  Window* parent = nullptr;  // a child inside the parent's client area
  Rect rect;                 // outer rectangle (screen) or child rectangle (parent client)
  bool visible = false;      // shown once OnCreate has run (the backend creates it hidden)
};

// A weak handle on a window: get() gives the window while it is alive (created
// and not yet destroyed), else null. Posted callbacks hold one instead of a pointer.
class WindowRef {
 public:
  WindowRef() = default;
  Window* get() const;

 private:
  friend class Window;
  WindowRef(Ui* ui, Window* window, std::uint64_t serial)
      : ui_(ui), window_(window), serial_(serial) {}
  Ui* ui_ = nullptr;
  Window* window_ = nullptr;
  std::uint64_t serial_ = 0;
};

class Window {
 public:
  explicit Window(Ui& ui) : ui_(ui) {}
  // A native window still alive is torn down without running handlers; a
  // window object must not outlive its Ui.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The class name by which the main frame routes commands ("AppointBook2", ...).
  virtual std::string_view RuntimeClass() const { return {}; }

  // Handlers; the defaults do nothing (OnClose destroys the window).
  virtual void OnCreate() {}
  virtual void OnPaint(Canvas&) {}
  virtual void OnLButtonDown(Point) {}
  virtual void OnLButtonUp(Point) {}
  virtual void OnRButtonDown(Point) {}
  virtual void OnMouseMove(Point) {}
  // True when handled; the default passes the wheel on.
  virtual bool OnMouseWheel(int /*delta*/) { return false; }
  // True when consumed, so the default key handling does not run.
  virtual bool OnKeyDown(int /*vk*/) { return false; }
  virtual void OnTimer(int /*id*/) {}
  // True when the command was handled.
  virtual bool OnCommand(int /*id*/) { return false; }
  virtual void OnUpdateCommand(int /*id*/, CommandState&) {}
  virtual void OnVScroll(int /*code*/, int /*pos*/) {}
  virtual void OnMove() {}
  // A notification from a child control (edit change, focus lost).
  virtual void OnControlNotify(int /*controlId*/, int /*code*/) {}
  // The minimise box or the close box; true when handled (the default closes).
  virtual bool OnMinimize() { return false; }
  virtual void OnClose() { Destroy(); }
  virtual void OnDestroy() {}
  // A message posted with PostUserMessage arrives here.
  virtual void OnUserMessage(int /*message*/) {}

  // Creates the native window; false when the backend could not.
  bool Create(const WindowSpec& spec);
  // Destroys the window as the desktop does: it is hidden first (so the focus
  // leaves it and a focused edit control reports kEnKillFocus), its owned
  // windows are destroyed, OnDestroy runs, its child windows are destroyed
  // (their OnDestroy after the parent's), then the native window goes and an
  // adopted object is released once the current message is handled. Calls made
  // while it runs do nothing. On an adopted object whose Create failed it only
  // releases the object.
  void Destroy();
  bool IsCreated() const { return native_ != nullptr; }
  WindowRef Ref() { return WindowRef(&ui_, this, serial_); }
  NativeWindow* native() const { return native_.get(); }
  Ui& ui() const { return ui_; }
  Window* owner() const { return owner_; }
  Window* parent() const { return parent_; }
  int controlId() const { return controlId_; }
  void SetControlId(int id) { controlId_ = id; }

  // Asks for OnClose once the current message is handled.
  void PostClose();
  void PostUserMessage(int message);

  // Conveniences over the native window.
  void SetTitle(std::string_view t);
  std::string Title() const;
  Rect WindowRect() const;
  Rect ClientRect() const;
  void Invalidate(bool erase = true);
  bool IsVisible() const;

 protected:
  // Registers the window, makes its native window with make() and runs OnCreate.
  bool CreateWith(Window* owner, Window* parent,
                  const std::function<std::unique_ptr<NativeWindow>()>& make);

 private:
  friend class Ui;
  // Destroys the native windows of this window, its children and owned
  // windows without running any handler (the destructor's path).
  void TearDownSilently();
  Ui& ui_;
  std::unique_ptr<NativeWindow> native_;
  Window* owner_ = nullptr;
  Window* parent_ = nullptr;
  int controlId_ = 0;
  std::uint64_t serial_ = 0;  // set while registered with the Ui
  bool destroying_ = false;
};

}  // namespace vesk
