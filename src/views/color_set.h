#pragma once
// The eight colours every calendar window draws with, kept under "Colors".
#include <array>

#include "platform/types.h"

namespace vesk {

class CRegistryStore;

struct ColorSet {
  Color fore = 0, back = 0, currentday = 0, hasappoint = 0;
  Color dayplan1 = 0, dayplan2 = 0, toplite = 0, botlite = 0;
  bool operator==(const ColorSet&) const = default;
};

// The three preset schemes; the yellow one is also the first-run default.
ColorSet YellowScheme();
ColorSet BlueScheme();
ColorSet GreenScheme();

// Keeps text readable: when fore equals back, dayplan1 or dayplan2, text
// becomes black and the three backgrounds yellow.
void ApplyCollisionRule(ColorSet& colors);

// Reads "Colors" (creating it with the yellow scheme when new); a value that is
// missing or not a 32-bit integer reads as 0. Then applies the collision rule.
ColorSet LoadColors(CRegistryStore& store);
// Writes all eight values in one commit.
void SaveColors(CRegistryStore& store, const ColorSet& colors);

// The palette entries for palette displays, in the order back, fore,
// dayplan1, dayplan2, toplite, botlite, currentday, hasappoint.
std::array<Color, 8> PaletteEntries(const ColorSet& colors);

}  // namespace vesk
