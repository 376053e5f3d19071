#pragma once
// The application's key tree as a registry editor text file ("REGEDIT4"), for
// moving a calendar between machines or keeping a full copy of it.
#include <expected>
#include <filesystem>
#include <string>

namespace vesk {

class Registry;

struct ExportCounts {
  int keys = 0;
  int values = 0;
};

// Writes every key under the application key, parents before children, as a
// REGEDIT4 file in UTF-8, replacing the file atomically. Strings holding
// control characters or bytes that are not UTF-8 are written as hex(1) with a
// terminating zero byte, so every value reads back exactly.
std::expected<ExportCounts, std::string> ExportRegistry(Registry& registry,
                                                        const std::filesystem::path& file);

struct ImportCounts {
  int keys = 0;           // key sections taken
  int values = 0;         // values written
  int deletedKeys = 0;    // [-KEY] sections applied
  int skippedKeys = 0;    // sections outside the application key, with their deletions
  int skippedValues = 0;  // default values, other types, value deletions, values of skipped keys
};

struct ImportError {
  int line = 0;  // 1-based line of the fault; 0 when the file itself could not be read
  std::string message;
};

// Reads a REGEDIT4 or "Windows Registry Editor Version 5.00" file (UTF-8 with
// or without byte-order mark, Windows-1252 when not UTF-8, or UTF-16LE with
// byte-order mark) and applies it in one transaction. Only keys under the
// application key are taken. The whole file is checked first: on an error
// nothing is changed.
std::expected<ImportCounts, ImportError> ImportRegistry(Registry& registry,
                                                        const std::filesystem::path& file);

}  // namespace vesk
