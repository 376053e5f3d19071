#pragma once
// The three default sounds, synthesised by the program itself as small PCM
// wave files: a rising chime at start, a ring for reminders, a short pick for clicks.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace vesk {

inline constexpr std::string_view kStartSoundName = "Start.wav";
inline constexpr std::string_view kRingSoundName = "Ring.wav";
inline constexpr std::string_view kPickSoundName = "Pick.wav";

// The bytes of the default sound of that file name; empty for another name.
std::vector<std::uint8_t> DefaultSoundWave(std::string_view name);

// Writes the default sounds that are missing from dir; false if one could not be written.
bool WriteDefaultSounds(const std::filesystem::path& dir);

}  // namespace vesk
