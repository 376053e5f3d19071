#pragma once
// Where the program keeps its store, backups and sounds.
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

inline constexpr std::string_view kStoreFileName = "veskcal.db";

// $VESKCAL_HOME when set and non-empty, else $XDG_DATA_HOME/veskcal, else
// ~/.local/share/veskcal.
std::filesystem::path DataDirectory();

// The data directory, created with its parents when missing (the directory
// itself user-only, mode 0700). The error names the directory and the reason.
std::expected<std::filesystem::path, std::string> EnsureDataDirectory();

}  // namespace vesk
