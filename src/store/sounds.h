#pragma once
// The sound store: three wave file paths under the "sounds" key ("start",
// "reminders", "click"), and the three event sounds played from them.
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

struct AppContext;
class CRegistryStore;

inline constexpr std::string_view kSoundsSection = "sounds";
inline constexpr std::string_view kStartSound = "start";
inline constexpr std::string_view kReminderSound = "reminders";
inline constexpr std::string_view kClickSound = "click";

// Opens or creates "sounds" and reads the value into path. Only a string
// replaces path; a path of any length reads back whole.
void ReadSound(CRegistryStore& store, std::string_view name, std::string& path);
// Opens or creates "sounds" and writes the path as a string.
void WriteSound(CRegistryStore& store, std::string_view name, std::string_view path);

// The file a stored path stands for: a bare file name is looked up in the data
// directory, then in the installed sounds; other paths are taken as they are.
std::filesystem::path SoundFile(const AppContext& ctx, std::string_view path);

// Play the stored sound asynchronously; nothing when the path is shorter
// than two characters.
void PlayStartSound(AppContext& ctx);
void PlayClickSound(AppContext& ctx);
// The default beep when the path is shorter than two characters.
void PlayReminderSound(AppContext& ctx);

}  // namespace vesk
