#include "planner/todo_layout.h"

namespace vesk {

namespace {

// Room around the measured text inside a line.
constexpr int kLinePadding = 4;

}  // namespace

ToDoGeometry LayoutToDoLines(Size extent, int top) {
  ToDoGeometry g;
  g.textWidth = extent.cx + kLinePadding;
  g.lineHeight = extent.cy + kLinePadding;
  int y = top;
  for (Rect& line : g.lines) {
    line = {0, y, g.textWidth, y + g.lineHeight};
    y = line.bottom;
  }
  return g;
}

int HitToDoLine(const ToDoGeometry& geometry, Point p) {
  for (int n = 0; n < kToDoLineCount; ++n) {
    if (geometry.lines[n].ContainsInclusive(p)) return n;
  }
  return -1;
}

Point ToDoPosition(const WindowPos& stored, int screenHeight, int lineHeight, int borderHeight) {
  Point at{stored.left, stored.top};
  if (at.x == 0 && at.y == 0) {
    at.y = screenHeight - (kToDoLineCount * lineHeight + borderHeight) - kToDoBottomGap;
  }
  // Only the top is kept on the screen: the caption must stay within reach.
  if (at.y < 0) at.y = 0;
  return at;
}

Size ToDoWindowSize(int textWidth, int lineHeight, int borderHeight) {
  return {textWidth + kToDoWidthSlack, borderHeight + kToDoLineCount * lineHeight};
}

}  // namespace vesk
