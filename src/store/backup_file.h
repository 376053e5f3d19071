#pragma once
// The plain-text backup of the entry list and its merging restore. A file is a
// sequence of records, one per entry: "%04d|" with the line's length, then a
// line of thirteen "|"-separated fields ended by a line feed.
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

struct AppContext;

inline constexpr std::string_view kBackupFileName = "VeskAppoints.vsk";

// The backup file of that name in the data directory.
std::filesystem::path BackupPath(const AppContext& ctx, std::string_view name);
// Removes the temporary files of backups that a kill interrupted.
void RemoveUnfinishedBackups(const std::filesystem::path& dataDir);
// "backup." and the month's short name: the automatic backup of that month (1..12).
std::string AutoBackupName(int month);

struct BackupResult {
  bool ok = false;         // the file was written
  bool cancelled = false;  // the user kept the existing file
  int written = 0;         // records written
  int shortened = 0;       // records whose texts were cut to fit the line limit
  std::string error;       // why the file could not be written
};

// Writes every entry dated 1980..2035 in list order, replacing the file
// atomically; an entry whose slot is no real date and time (only a damaged
// store holds one) is left out. Interactive: asks before replacing an
// existing file and reports the outcome in a message box.
BackupResult BackupEntries(AppContext& ctx, const std::filesystem::path& file, bool interactive);

struct RestoreResult {
  bool opened = false;      // the file could be opened
  int restoredNew = 0;      // records that became new entries
  int merged = 0;           // records whose text was added to the entry at their slot
  int stoppedAtRecord = 0;  // 1-based record that ended the restore early; 0 when none did
  std::string error;        // the message: the file could not be read, or where and why it stopped
};

// Merges the file into the entry list and the store: a free slot gets a new
// entry, a taken one gets the record's text appended unless it holds it
// already. Records before a damaged one stay restored. Interactive: reports
// a missing file, a damaged record or success in a message box.
RestoreResult RestoreEntries(AppContext& ctx, const std::filesystem::path& file, bool interactive);

}  // namespace vesk
