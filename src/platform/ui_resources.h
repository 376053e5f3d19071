#pragma once
// The program's icons are drawn, not loaded: each resource id names a
// coloured square with a short label. The program hands its table, and the
// few other ids the desktop backend must know, to its Ui.
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

struct IconLook {
  int id = 0;
  std::string label;
  std::uint32_t rgb = 0;  // 0xRRGGBB
};

struct UiResources {
  std::vector<IconLook> icons;  // the first is the program's own icon
  int bulletBitmap = -1;        // drawn as a round bullet; other bitmaps as the program's icon
  int helpContents = 0;         // the help topic that means the contents page
};

}  // namespace vesk
