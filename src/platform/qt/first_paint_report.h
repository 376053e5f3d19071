#pragma once
// A start-up probe for measuring: when the environment variable
// VESKCAL_REPORT_FIRST_PAINT is set, the program writes one line to stderr
// once the first child of the window titled windowTitle has been painted
// (the month view in the main frame), so that a benchmark can time start-up
// from outside the process.
#include <string_view>

namespace vesk {

void ReportFirstPaintWhenAsked(std::string_view windowTitle);

}  // namespace vesk
