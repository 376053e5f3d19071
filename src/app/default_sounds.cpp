#include "app/default_sounds.h"

#include <cmath>
#include <fstream>
#include <numbers>

namespace vesk {
namespace {

constexpr int kRate = 22050;

struct Tone {
  double hz;
  double seconds;
};

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// 16-bit mono PCM; each tone fades out so that notes do not click.
std::vector<std::uint8_t> Wave(std::initializer_list<Tone> tones) {
  std::vector<std::int16_t> samples;
  for (const Tone& t : tones) {
    int n = static_cast<int>(t.seconds * kRate);
    for (int i = 0; i < n; ++i) {
      double envelope = std::min(1.0, i / 200.0) * (1.0 - static_cast<double>(i) / n);
      double v = std::sin(2 * std::numbers::pi * t.hz * i / kRate) * envelope * 0.5;
      samples.push_back(static_cast<std::int16_t>(v * 32767));
    }
  }
  std::vector<std::uint8_t> out;
  auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 2, 4);
  PutLe(out, 2, 2);
  PutLe(out, 16, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, dataBytes, 4);
  for (std::int16_t s : samples) PutLe(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

}  // namespace

std::vector<std::uint8_t> DefaultSoundWave(std::string_view name) {
  if (name == kStartSoundName) return Wave({{523.25, 0.12}, {659.25, 0.12}, {783.99, 0.25}});
  if (name == kRingSoundName)
    return Wave({{880, 0.15}, {660, 0.15}, {880, 0.15}, {660, 0.15}, {880, 0.3}});
  if (name == kPickSoundName) return Wave({{1200, 0.04}});
  return {};
}

bool WriteDefaultSounds(const std::filesystem::path& dir) {
  bool ok = true;
  for (std::string_view name : {kStartSoundName, kRingSoundName, kPickSoundName}) {
    std::filesystem::path file = dir / name;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) continue;
    auto bytes = DefaultSoundWave(name);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ok = ok && static_cast<bool>(out.flush());
  }
  return ok;
}

}  // namespace vesk
