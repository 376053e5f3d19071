#pragma once
// The native window of a Window: a frame widget (a top-level window, or a child
// inside the parent's client area) holding an optional menu bar, the client
// widget and an optional vertical scroll bar. Every event of these widgets
// goes through Dispatch, which calls the Window's handlers.
//
// Painting: each window keeps a backing image of its client area. OnPaint
// draws into it when the window was invalidated (or resized); exposures only
// copy the image to the screen. ClientCanvas draws into the same image and
// shows the result at once, so hover frames drawn outside OnPaint stay until
// the next invalidation, as on the original desktop.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/window.h"

class QMenuBar;
class QPixmap;
class QScrollBar;

namespace vesk {

class QtNativeWindow;
class QtUi;

// The frame and client widgets; events go to the native window while it lives.
class QtWindowWidget : public QWidget {
 public:
  QtWindowWidget(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}
  void Attach(QtNativeWindow* native) { native_ = native; }
  QtNativeWindow* native() const { return native_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QtNativeWindow* native_ = nullptr;
};

class QtNativeWindow : public NativeWindow {
 public:
  QtNativeWindow(QtUi& ui, Window& window, const WindowSpec& spec);
  ~QtNativeWindow() override;

  void SetTitle(std::string_view title) override;
  std::string Title() const override;
  void SetWindowRect(const Rect& outer) override;
  Rect WindowRect() const override;
  Rect ClientRect() const override;
  void Show(bool visible) override;
  bool IsVisible() const override;
  bool IsMinimized() const override;
  void Minimize() override;
  void Restore() override;
  void BringToTop() override;
  void SetTopmost(bool topmost) override;
  void Enable(bool enabled) override;
  bool IsEnabled() const override;
  void Activate() override;
  void Invalidate(bool erase) override;
  void SetMenu(const Menu* menu) override;
  void SetIcon(int iconId) override;
  void SetCapture() override { captured_ = true; }
  void ReleaseCapture() override { captured_ = false; }
  void SetScrollRange(int min, int max, int page, int pos, bool redraw) override;
  void SetScrollPos(int pos, bool redraw) override;
  void ScrollClient(int dy) override;
  void SetFocus() override;
  std::unique_ptr<Canvas> ClientCanvas() override;
  void Destroy() override;

  // The one dispatch point: true when the event was handled here.
  bool Dispatch(QWidget& source, QEvent& event);

  QWidget* frameWidget() const { return frame_; }
  QWidget* clientWidget() const { return client_; }
  Window& window() const { return window_; }

 private:
  Qt::WindowFlags FlagsFor() const;
  void LinkOwner();
  // Sets the outer rectangle (screen, or the parent's client area for a child).
  void Place(const Rect& outer);
  void LayoutChildren();
  QMargins FrameMargins() const;
  // Tells the Ui the frame the window manager gave this window.
  void LearnFrameMargins();
  void ApplyFixedSize();
  bool DispatchClient(QEvent& event);
  bool DispatchFrame(QEvent& event);
  bool DispatchWheel(QWheelEvent& event);
  void DispatchScrollAction(int action);
  void DispatchThumb(int code, int pos);
  void PaintClient();
  void EnsureBacking();
  void ConnectScrollBar();
  void ReportMove();
  // The client that gets the keys when no widget of this window has the focus:
  // a child window's (as a frame passes the focus to its view), else ours.
  QtNativeWindow& KeyTarget();

  QtUi& ui_;
  Window& window_;
  WindowStyle style_;
  Window* ownerWindow_;
  bool child_;
  bool topmost_ = false;
  bool shown_ = false;
  bool captured_ = false;
  bool dirty_ = true;
  bool erase_ = true;
  bool placing_ = false;
  bool minimizing_ = false;
  int wheelRemainder_ = 0;
  QPoint lastReportedPos_;
  QPointer<QtWindowWidget> frame_;
  QtWindowWidget* client_ = nullptr;  // a child of frame_
  QScrollBar* vscroll_ = nullptr;     // a child of frame_
  QMenuBar* menuBar_ = nullptr;       // a child of frame_
  std::shared_ptr<QPixmap> backing_;
};

}  // namespace vesk
