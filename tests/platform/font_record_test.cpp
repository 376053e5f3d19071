// The 60-byte font record kept in the store.
#include <gtest/gtest.h>

#include "platform/font.h"

namespace vesk {
namespace {

TEST(FontRecordTest, DefaultMainFontHasTheDesktopLayout) {
  const auto bytes = FontRecord::DefaultMain().ToBytes();
  const std::array<std::uint8_t, 28> head = {
      0xf3, 0xff, 0xff, 0xff, 0, 0, 0, 0,   0, 0, 0, 0, 0, 0, 0, 0,  // height -13
      0x90, 0x01, 0,    0,                                           // weight 400
      0,    0,    0,    0,    0, 0, 2, 0x22};  // proof quality; variable pitch, Swiss
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  const std::string face(reinterpret_cast<const char*>(bytes.data() + 28), 32);
  EXPECT_EQ(face, std::string("Comic Sans MS") + std::string(19, '\0'));
}

TEST(FontRecordTest, EveryFieldSurvivesTheBytes) {
  FontRecord r;
  r.height = 24;
  r.width = -7;
  r.escapement = 900;
  r.orientation = 1800;
  r.weight = 700;
  r.italic = 1;
  r.underline = 1;
  r.strikeOut = 1;
  r.charSet = 238;
  r.outPrecision = 3;
  r.clipPrecision = 2;
  r.quality = 5;
  r.pitchAndFamily = 0x31;
  r.faceName = "Times New Roman";
  EXPECT_EQ(FontRecord::FromBytes(r.ToBytes()), r);
  EXPECT_EQ(FontRecord::FromBytes(FontRecord().ToBytes()), FontRecord());
}

TEST(FontRecordTest, AFaceNameKeepsAtMost31BytesWithoutSplittingACharacter) {
  FontRecord r;
  r.faceName = std::string(40, 'x');
  EXPECT_EQ(r.ToBytes()[28 + 31], 0);
  EXPECT_EQ(FontRecord::FromBytes(r.ToBytes()).faceName, std::string(31, 'x'));

  r.faceName = std::string(30, 'x') + "\xc3\xa9";  // the 31st byte starts a character
  EXPECT_EQ(FontRecord::FromBytes(r.ToBytes()).faceName, std::string(30, 'x'));

  std::array<std::uint8_t, FontRecord::kBytes> unterminated{};
  std::fill(unterminated.begin() + 28, unterminated.end(), 'y');
  EXPECT_EQ(FontRecord::FromBytes(unterminated).faceName, std::string(31, 'y'));
}

}  // namespace
}  // namespace vesk
