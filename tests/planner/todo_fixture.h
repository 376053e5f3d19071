#pragma once
// The to-do window opened from a real main frame and month view on the
// headless twin. Today is Wednesday 15 March 2000, 8:00; the screen is the
// twin's 1024 x 768 and the main font the default "Comic Sans MS" -13, so a
// to-do line is 494 x 20 pixels.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/main_frame.h"
#include "planner/todo.h"
#include "platform/headless/headless_ui.h"
#include "support/test_app.h"

namespace vesk::test {

inline constexpr int kLineWidth = 494;   // 70 letters of 7 pixels, + 4
inline constexpr int kLineHeight = 20;   // a 16-pixel text line, + 4
inline constexpr int kFrameBorder = 45;  // the main frame's border height on the twin

class ToDoTest : public ::testing::Test {
 protected:
  ToDoTest();
  ~ToDoTest() override;

  // Creates the main frame with its month view, as the program's start does.
  void StartFrame();
  // Opens (or brings forward) the to-do window and paints it once, as the
  // desktop does after showing it.
  ToDo& Open();
  ToDo* todo() const { return app.ctx.todo; }
  CEntryEdit& editor() const;
  WindowRecord& record() const { return *HeadlessUi::Record(*todo()); }
  // The centre of line n in the window's client area.
  static Point LineCentre(int n) { return {kLineWidth / 2, n * kLineHeight + kLineHeight / 2}; }
  // Types into the line's editor.
  void Type(std::string_view text);
  // The stored "notes" of to-do line n; nothing when not stored.
  std::optional<std::string> Stored(int n) const;
  void Store(int n, std::string_view text);
  void TearDown() override;

  TestApp app;
  HeadlessUi ui{app.boxes};
  std::unique_ptr<CMainFrame> frame;
};

}  // namespace vesk::test
