#pragma once
// What the calendar windows ask of the program's main window. The application
// implements it; the windows below it reach the frame only through this.

namespace vesk {

class Window;

class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // The frame as a window: owner, enabling, activation.
  virtual Window& FrameWindow() = 0;
  // Hides the frame to the tray (minimises it where there is no tray).
  virtual void Hide() = 0;
  // Makes the frame the active window (before a reminder pops up).
  virtual void ActivateFrame() = 0;
  // Rebuilds the tray tooltip after entries changed.
  virtual void RefreshTrayTip() = 0;
  // The frame's outer height minus its client height; 0 before it is known.
  virtual int borderHeight() const = 0;
};

}  // namespace vesk
