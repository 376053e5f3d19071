#include "views/color_set.h"

#include <cstdint>
#include <string_view>

#include "store/registry_store.h"

namespace vesk {

namespace {

constexpr std::string_view kColorsSection = "Colors";
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kYellow = Rgb(255, 255, 0);
constexpr Color kRgbMask = 0x00FFFFFF;

struct ColorField {
  std::string_view name;
  Color ColorSet::*field;
};

// In the order the values are written.
constexpr ColorField kColorFields[] = {
    {"fore", &ColorSet::fore},
    {"back", &ColorSet::back},
    {"currentday", &ColorSet::currentday},
    {"hasappoint", &ColorSet::hasappoint},
    {"dayplan1", &ColorSet::dayplan1},
    {"dayplan2", &ColorSet::dayplan2},
    {"toplite", &ColorSet::toplite},
    {"botlite", &ColorSet::botlite},
};

}  // namespace

ColorSet YellowScheme() {
  return {.fore = Rgb(0, 0, 128),
          .back = Rgb(255, 255, 0),
          .currentday = Rgb(255, 0, 0),
          .hasappoint = Rgb(255, 0, 255),
          .dayplan1 = Rgb(255, 255, 0),
          .dayplan2 = Rgb(166, 202, 240),
          .toplite = Rgb(0, 0, 0),
          .botlite = Rgb(255, 255, 255)};
}

ColorSet BlueScheme() {
  return {.fore = Rgb(0, 0, 128),
          .back = Rgb(166, 202, 240),
          .currentday = Rgb(255, 0, 0),
          .hasappoint = Rgb(255, 0, 255),
          .dayplan1 = Rgb(0, 255, 0),
          .dayplan2 = Rgb(166, 202, 240),
          .toplite = Rgb(0, 0, 128),
          .botlite = Rgb(255, 255, 255)};
}

ColorSet GreenScheme() {
  return {.fore = Rgb(0, 0, 255),
          .back = Rgb(192, 220, 192),
          .currentday = Rgb(255, 0, 0),
          .hasappoint = Rgb(255, 0, 255),
          .dayplan1 = Rgb(166, 202, 240),
          .dayplan2 = Rgb(192, 220, 192),
          .toplite = Rgb(0, 128, 0),
          .botlite = Rgb(255, 251, 240)};
}

void ApplyCollisionRule(ColorSet& colors) {
  if (colors.back == colors.fore || colors.fore == colors.dayplan1 ||
      colors.fore == colors.dayplan2) {
    colors.fore = kBlack;
    colors.back = kYellow;
    colors.dayplan1 = kYellow;
    colors.dayplan2 = kYellow;
  }
}

ColorSet LoadColors(CRegistryStore& store) {
  if (store.OpenSection(kColorsSection) == OpenResult::Created) {
    const ColorSet defaults = YellowScheme();
    SaveColors(store, defaults);
    return defaults;
  }
  // Every display this program runs on shows all 24-bit colours, so the
  // nearest colour the screen can show is the stored red, green and blue;
  // a high byte (a palette flag, or garbage) is no part of the colour.
  ColorSet colors;
  for (const ColorField& f : kColorFields) {
    std::int32_t value = 0;
    store.GetInt(f.name, value);
    colors.*f.field = static_cast<Color>(value) & kRgbMask;
  }
  ApplyCollisionRule(colors);
  return colors;
}

void SaveColors(CRegistryStore& store, const ColorSet& colors) {
  Registry::Transaction tx(store.registry());
  store.OpenSection(kColorsSection);
  for (const ColorField& f : kColorFields) {
    store.SetInt(f.name, static_cast<std::int32_t>(colors.*f.field));
  }
}

std::array<Color, 8> PaletteEntries(const ColorSet& colors) {
  return {colors.back,    colors.fore,    colors.dayplan1,   colors.dayplan2,
          colors.toplite, colors.botlite, colors.currentday, colors.hasappoint};
}

}  // namespace vesk
