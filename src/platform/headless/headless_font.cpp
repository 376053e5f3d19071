#include "platform/headless/headless_font.h"

#include <cstdlib>

#include "platform/utf8.h"

namespace vesk {

FontMetrics MetricsOf(const FontRecord& record) {
  const int h = record.height == 0 ? 13 : std::abs(record.height);
  return {(h + 1) / 2 + (record.weight >= 700 ? 1 : 0), h + 3};
}

Size TextExtentOf(const FontMetrics& metrics, std::string_view text) {
  return {metrics.charWidth * static_cast<int>(Utf8Length(text)), metrics.lineHeight};
}

}  // namespace vesk
