#pragma once
// Whole-file writes that either replace the file completely or leave the old
// one untouched, and whole-file reads.
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

// Writes `bytes` to a temporary file in the target's directory, flushes it to
// disk and renames it over `file`. On failure the temporary file is removed,
// `file` is as it was, and the error names the reason.
std::expected<void, std::string> WriteFileAtomically(const std::filesystem::path& file,
                                                     std::string_view bytes);

struct ReadFailure {
  bool notFound = false;  // the file could not be opened at all
  std::string reason;
};

// The whole content of the file.
std::expected<std::string, ReadFailure> ReadWholeFile(const std::filesystem::path& file);

}  // namespace vesk
