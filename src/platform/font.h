#pragma once
// Fonts described by the 60-byte record kept in the store ("font", "font2").
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vesk {

struct FontRecord {
  std::int32_t height = 0;  // negative: character height in pixels
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;  // 400 normal, 700 bold
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;  // at most 31 bytes are kept

  static constexpr std::size_t kBytes = 60;
  std::array<std::uint8_t, kBytes> ToBytes() const;
  static FontRecord FromBytes(const std::array<std::uint8_t, kBytes>& bytes);
  bool operator==(const FontRecord&) const = default;

  // "Comic Sans MS", height -13, weight 400, proof quality, variable pitch, Swiss family.
  static FontRecord DefaultMain();
};

// A font made by the Ui from a record; the record it was made from travels along.
class Font {
 public:
  virtual ~Font() = default;
  virtual const FontRecord& record() const = 0;
};

}  // namespace vesk
