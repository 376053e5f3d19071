#pragma once
// Small value types shared by the layer and the system's code. Coordinates are
// device units of the context they belong to (pixels on the screen).
#include <cstdint>

namespace vesk {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  // Edges included on all four sides.
  bool ContainsInclusive(Point p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
  // Edges excluded on all four sides.
  bool ContainsStrict(Point p) const {
    return p.x > left && p.x < right && p.y > top && p.y < bottom;
  }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  static Rect FromSize(int x, int y, int cx, int cy) { return {x, y, x + cx, y + cy}; }
  bool operator==(const Rect&) const = default;
};

// 0x00BBGGRR: red in the lowest byte, as stored in the "Colors" key.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}
constexpr int RedOf(Color c) { return c & 0xff; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xff; }
constexpr int BlueOf(Color c) { return (c >> 16) & 0xff; }

// Virtual key codes as the system's handlers see them.
enum VirtualKey : int {
  kVkBack = 8,
  kVkTab = 9,
  kVkReturn = 13,
  kVkEscape = 27,
  kVkPrior = 33,  // Page Up
  kVkNext = 34,   // Page Down
  kVkEnd = 35,
  kVkHome = 36,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkDelete = 46,
};

// Standard dialog and message box results and button ids.
enum DialogResult : int { kIdOk = 1, kIdCancel = 2 };

// A broken-down local date and time, as the date pickers and the calendar hold it.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int weekday = 1;  // 1..7, Sunday = 1
  bool operator==(const DateTime&) const = default;
};

}  // namespace vesk
