#include "platform/font.h"

#include <algorithm>
#include <cstring>

namespace vesk {
namespace {

// The record is the 32-bit desktop's LOGFONTA: five little-endian 32-bit
// integers, eight bytes, then the face name in 32 bytes, zero-terminated.
constexpr std::size_t kFaceOffset = 28;
constexpr std::size_t kFaceBytes = 32;

void PutInt(std::array<std::uint8_t, FontRecord::kBytes>& bytes, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t GetInt(const std::array<std::uint8_t, FontRecord::kBytes>& bytes, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

// At most 31 bytes of the name, cut at a character boundary.
std::size_t KeptFaceBytes(const std::string& face) {
  std::size_t n = std::min(face.size(), kFaceBytes - 1);
  if (n < face.size()) {
    while (n > 0 && (static_cast<unsigned char>(face[n]) & 0xc0) == 0x80) --n;
  }
  return n;
}

}  // namespace

std::array<std::uint8_t, FontRecord::kBytes> FontRecord::ToBytes() const {
  std::array<std::uint8_t, kBytes> bytes{};
  PutInt(bytes, 0, height);
  PutInt(bytes, 4, width);
  PutInt(bytes, 8, escapement);
  PutInt(bytes, 12, orientation);
  PutInt(bytes, 16, weight);
  bytes[20] = italic;
  bytes[21] = underline;
  bytes[22] = strikeOut;
  bytes[23] = charSet;
  bytes[24] = outPrecision;
  bytes[25] = clipPrecision;
  bytes[26] = quality;
  bytes[27] = pitchAndFamily;
  std::memcpy(bytes.data() + kFaceOffset, faceName.data(), KeptFaceBytes(faceName));
  return bytes;
}

FontRecord FontRecord::FromBytes(const std::array<std::uint8_t, kBytes>& bytes) {
  FontRecord r;
  r.height = GetInt(bytes, 0);
  r.width = GetInt(bytes, 4);
  r.escapement = GetInt(bytes, 8);
  r.orientation = GetInt(bytes, 12);
  r.weight = GetInt(bytes, 16);
  r.italic = bytes[20];
  r.underline = bytes[21];
  r.strikeOut = bytes[22];
  r.charSet = bytes[23];
  r.outPrecision = bytes[24];
  r.clipPrecision = bytes[25];
  r.quality = bytes[26];
  r.pitchAndFamily = bytes[27];
  // Up to the terminating zero; a name filling all 32 bytes keeps 31 of them.
  std::size_t n = 0;
  while (n < kFaceBytes - 1 && bytes[kFaceOffset + n] != 0) ++n;
  r.faceName.assign(reinterpret_cast<const char*>(bytes.data() + kFaceOffset), n);
  return r;
}

FontRecord FontRecord::DefaultMain() {
  FontRecord r;
  r.height = -13;
  r.weight = 400;
  r.quality = 2;                   // PROOF_QUALITY
  r.pitchAndFamily = 0x02 | 0x20;  // VARIABLE_PITCH | FF_SWISS
  r.faceName = "Comic Sans MS";
  return r;
}

}  // namespace vesk
