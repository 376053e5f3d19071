#pragma once
// The program's installed read-only data (help pages, default sounds).
#include <filesystem>

namespace vesk {

// The first of: ../share/veskcal and ../data next to the executable, then the
// source tree's data folder (running from a build tree). Empty when none exists.
std::filesystem::path InstalledDataDirectory();

}  // namespace vesk
