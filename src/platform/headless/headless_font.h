#pragma once
// Fonts of the headless twin with fixed metrics, so that every layout the
// system computes from text extents is predictable in tests:
//   character height h = |record.height|, or 13 when the height is 0;
//   every character (UTF-8 code point) is (h + 1) / 2 wide, one more when the
//   weight is 700 or above;
//   a text extent is h + 3 high, the height of a typical desktop font's line
//   (13-pixel characters sit in a 16-pixel line).
// A canvas with no font selected uses its default font: 8 x 16 on the screen
// (the system font), 7 x 13 on a printer.
#include <string_view>

#include "platform/font.h"
#include "platform/types.h"

namespace vesk {

struct FontMetrics {
  int charWidth = 0;
  int lineHeight = 0;  // the height of a text extent
  bool operator==(const FontMetrics&) const = default;
};

inline constexpr FontMetrics kScreenDefaultFont{8, 16};
inline constexpr FontMetrics kPrinterDefaultFont{7, 13};

FontMetrics MetricsOf(const FontRecord& record);
Size TextExtentOf(const FontMetrics& metrics, std::string_view text);

class HeadlessFont : public Font {
 public:
  explicit HeadlessFont(FontRecord record) : record_(std::move(record)) {}
  const FontRecord& record() const override { return record_; }
  FontMetrics metrics() const { return MetricsOf(record_); }

 private:
  FontRecord record_;
};

}  // namespace vesk
