#pragma once
// The to-do list's geometry as small pure functions of the font metrics.
#include <array>
#include <string_view>

#include "platform/types.h"
#include "store/registry_store.h"

namespace vesk {

inline constexpr int kToDoLineCount = 20;
// A line is measured on a run of this many letters h.
inline constexpr std::string_view kToDoMeasureText =
    "hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh";
// The window's bottom stands this far above the screen's bottom on first opening.
inline constexpr int kToDoBottomGap = 50;
// The outer width exceeds a line by this much.
inline constexpr int kToDoWidthSlack = 11;

struct ToDoGeometry {
  int textWidth = 0;
  int lineHeight = 0;
  std::array<Rect, kToDoLineCount> lines{};
};

// Lines of extent.cx + 4 by extent.cy + 4 (extent: the measured run of
// letters), stacked from top downwards.
ToDoGeometry LayoutToDoLines(Size extent, int top);

// The first line containing p (edges included), or -1.
int HitToDoLine(const ToDoGeometry& geometry, Point p);

// Where the window goes: the stored position, or on first opening the left
// edge with the bottom kToDoBottomGap above the screen's bottom; never above
// the screen's top.
Point ToDoPosition(const WindowPos& stored, int screenHeight, int lineHeight, int borderHeight);

// The outer size for lines of that width and height under a frame of borderHeight.
Size ToDoWindowSize(int textWidth, int lineHeight, int borderHeight);

}  // namespace vesk
