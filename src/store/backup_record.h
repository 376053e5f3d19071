#pragma once
// One record of the backup file: writing it from an entry, cutting it out of
// the file, and reading its fields.
#include <cstddef>
#include <expected>
#include <string>
#include <string_view>

namespace vesk {

class CPlannerEntry;

// The four-digit length prefix bounds a line (line feed included).
inline constexpr std::size_t kMaxBackupLine = 9999;

// The fields a restore uses; early is -1 when the reminder was off.
struct BackupRecord {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  int nthday = 0;
  int repeats = 0;
  int early = 0;
  std::string nthweek;
  std::string sday;
  std::string notes;
};

// A slot that names a real date and time whose local time the program can
// count. The writer leaves out entries outside it, the reader refuses them.
bool IsCalendarSlot(int year, int month, int day, int hour, int minute);

// Appends the entry's record (prefix and line) to out. Texts that would make
// the line longer than the prefix can describe are cut at a character
// boundary, the notes first; returns whether anything was cut.
bool AppendBackupRecord(std::string& out, const CPlannerEntry& entry);

// Takes the next record off the front of `rest` and returns its line without
// the line feed; on a damaged record returns why and leaves `rest` alone.
std::expected<std::string_view, std::string> TakeBackupLine(std::string_view& rest);

// Reads the fields of a line. The notes are everything after the twelfth "|",
// so a text containing "|" comes back whole. Texts that are not valid UTF-8
// are read as Windows-1252.
std::expected<BackupRecord, std::string> ParseBackupLine(std::string_view line);

}  // namespace vesk
