#include "views/color_set.h"

#include <gtest/gtest.h>

#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk {
namespace {

constexpr std::string_view kColorsPath = "SOFTWARE\\Tolvard\\VeskCal\\Colors";

std::int32_t Stored(test::TestApp& app, std::string_view name) {
  auto value = app.registry.QueryValue(kColorsPath, name);
  return value && value->AsDword() ? *value->AsDword() : -1;
}

void Store(test::TestApp& app, std::string_view name, RegValue value) {
  app.registry.CreateKey(kColorsPath);
  app.registry.SetValue(kColorsPath, name, value);
}

TEST(ColorSet, SchemesHoldTheTableValues) {
  const ColorSet yellow = YellowScheme();
  EXPECT_EQ(yellow.fore, Rgb(0, 0, 128));
  EXPECT_EQ(yellow.back, Rgb(255, 255, 0));
  EXPECT_EQ(yellow.dayplan2, Rgb(166, 202, 240));
  EXPECT_EQ(yellow.toplite, Rgb(0, 0, 0));
  EXPECT_EQ(yellow.botlite, Rgb(255, 255, 255));
  const ColorSet blue = BlueScheme();
  EXPECT_EQ(blue.back, Rgb(166, 202, 240));
  EXPECT_EQ(blue.dayplan1, Rgb(0, 255, 0)) << "pure green";
  EXPECT_EQ(blue.toplite, Rgb(0, 0, 128));
  const ColorSet green = GreenScheme();
  EXPECT_EQ(green.fore, Rgb(0, 0, 255));
  EXPECT_EQ(green.back, Rgb(192, 220, 192));
  EXPECT_EQ(green.dayplan1, Rgb(166, 202, 240));
  EXPECT_EQ(green.toplite, Rgb(0, 128, 0));
  EXPECT_EQ(green.botlite, Rgb(255, 251, 240));
  for (const ColorSet& s : {yellow, blue, green}) {
    EXPECT_EQ(s.currentday, Rgb(255, 0, 0));
    EXPECT_EQ(s.hasappoint, Rgb(255, 0, 255));
  }
}

TEST(ColorSet, NewKeyGetsTheYellowSchemeStored) {
  test::TestApp app;
  EXPECT_EQ(LoadColors(app.ctx.store), YellowScheme());
  EXPECT_EQ(Stored(app, "back"), 0x00FFFF);
  EXPECT_EQ(Stored(app, "fore"), 0x800000) << "red in the lowest byte";
  EXPECT_EQ(Stored(app, "botlite"), 0xFFFFFF);
}

TEST(ColorSet, SaveThenLoadRoundTrips) {
  test::TestApp app;
  ColorSet colors = GreenScheme();
  colors.hasappoint = Rgb(1, 2, 3);
  SaveColors(app.ctx.store, colors);
  EXPECT_EQ(LoadColors(app.ctx.store), colors);
}

TEST(ColorSet, CollisionTurnsTextBlackOnYellow) {
  struct Row {
    const char* why;
    Color back, fore, dayplan1, dayplan2;
    bool collides;
  } rows[] = {
      {"back equals fore", Rgb(9, 9, 9), Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(2, 2, 2), true},
      {"fore equals dayplan1", Rgb(3, 3, 3), Rgb(9, 9, 9), Rgb(9, 9, 9), Rgb(2, 2, 2), true},
      {"fore equals dayplan2", Rgb(3, 3, 3), Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(9, 9, 9), true},
      {"all different", Rgb(3, 3, 3), Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(2, 2, 2), false},
  };
  for (const Row& r : rows) {
    ColorSet c = YellowScheme();
    c.back = r.back;
    c.fore = r.fore;
    c.dayplan1 = r.dayplan1;
    c.dayplan2 = r.dayplan2;
    ColorSet expected = c;
    if (r.collides) {
      expected.fore = Rgb(0, 0, 0);
      expected.back = expected.dayplan1 = expected.dayplan2 = Rgb(255, 255, 0);
    }
    ApplyCollisionRule(c);
    EXPECT_EQ(c, expected) << r.why;
  }
}

TEST(ColorSet, UnreadableValuesReadAsBlackAndTriggerTheRule) {
  test::TestApp app;
  Store(app, "fore", RegValue::FromString("navy"));  // not a 32-bit integer
  Store(app, "back", RegValue::FromDword(0x00C0DCC0));
  Store(app, "currentday", RegValue::FromDword(0x0000FF));
  // dayplan1 and dayplan2 are missing: 0, as fore is, so the rule applies.
  const ColorSet loaded = LoadColors(app.ctx.store);
  EXPECT_EQ(loaded.fore, Rgb(0, 0, 0));
  EXPECT_EQ(loaded.back, Rgb(255, 255, 0));
  EXPECT_EQ(loaded.dayplan1, Rgb(255, 255, 0));
  EXPECT_EQ(loaded.dayplan2, Rgb(255, 255, 0));
  EXPECT_EQ(loaded.currentday, Rgb(255, 0, 0));
  EXPECT_EQ(loaded.toplite, 0u);
  EXPECT_EQ(Stored(app, "back"), 0x00C0DCC0) << "loading does not write back";
}

TEST(ColorSet, AStoredHighByteIsNoPartOfTheColour) {
  test::TestApp app;
  // A palette-relative yellow is the same colour as the plain yellow text:
  // read as two different values, the text would vanish on its background.
  Store(app, "back", RegValue::FromDword(0x0200FFFF));
  Store(app, "fore", RegValue::FromDword(0x0000FFFF));
  Store(app, "dayplan1", RegValue::FromDword(0x00F0CAA6));
  Store(app, "dayplan2", RegValue::FromDword(0x00C0DCC0));
  Store(app, "toplite", RegValue::FromDword(static_cast<std::int32_t>(0xFF000080)));
  const ColorSet loaded = LoadColors(app.ctx.store);
  EXPECT_EQ(loaded.fore, Rgb(0, 0, 0));
  EXPECT_EQ(loaded.back, Rgb(255, 255, 0));
  EXPECT_EQ(loaded.toplite, Rgb(128, 0, 0));
}

TEST(ColorSet, PaletteOrder) {
  const ColorSet c = BlueScheme();
  const std::array<Color, 8> expected = {c.back,    c.fore,    c.dayplan1,   c.dayplan2,
                                         c.toplite, c.botlite, c.currentday, c.hasappoint};
  EXPECT_EQ(PaletteEntries(c), expected);
}

}  // namespace
}  // namespace vesk
