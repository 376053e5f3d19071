#pragma once
// The file-system side of opening the store, before SQLite reads a byte of it:
// create a missing file for this user only, and refuse, without touching it, a
// file that is not an SQLite database of ours.
#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>

namespace vesk {

struct StoreFileState {
  bool empty = false;    // holds no data yet: the schema must be written
  bool created = false;  // this call made the file
};

// The reason text (without the file name) when the file cannot be used.
std::expected<StoreFileState, std::string> PrepareStoreFile(const std::filesystem::path& file,
                                                            std::int32_t applicationId);

}  // namespace vesk
