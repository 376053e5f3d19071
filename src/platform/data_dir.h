#pragma once
// Where the program keeps its store, backups and sounds.
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

inline constexpr std::string_view kStoreFileName = "veskcal.db";

// $VESKCAL_HOME when set and non-empty, else $XDG_DATA_HOME/veskcal, else
// ~/.local/share/veskcal, with the home from $HOME or the user database.
// Empty when no home directory can be found.
std::filesystem::path DataDirectory();

// The data directory, created with its parents when missing (the directory
// itself user-only, mode 0700). An existing one must be this user's (a
// symbolic link is followed): if it or the store's files are open to others
// they are made 0700 and 0600, and each change is added to notices. The
// error names the directory and the reason.
std::expected<std::filesystem::path, std::string> EnsureDataDirectory(
    std::vector<std::string>* notices = nullptr);

}  // namespace vesk
