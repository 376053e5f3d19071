#pragma once
// The layout of everything persisted under the application key, and the
// operations that read and write it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace vesk {

class Clock;
class MessageBoxes;
class CPlannerEntry;
class CEntryList;

inline constexpr std::string_view kAppKey = "SOFTWARE\\Tolvard\\VeskCal";
inline constexpr std::string_view kAppointmentsKey = "SOFTWARE\\Tolvard\\VeskCal\\Appointments";

// The 60-byte font record (LOGFONT layout, little-endian).
using FontBytes = std::array<std::uint8_t, 60>;

struct YearMonth {
  int year = 0;
  int month = 0;
  bool operator==(const YearMonth&) const = default;
};

struct WindowPos {
  int left = 0;
  int top = 0;
  bool topRead = false;  // "top" was present
};

class CRegistryStore {
 public:
  CRegistryStore(Registry& registry, MessageBoxes& messages, Clock& clock);

  Registry& registry() const { return reg_; }

  // Creates or opens "<app key>\<name>"; the result tells created or opened.
  OpenResult OpenSection(std::string_view name);
  // Opens an existing "<app key>\<name>" without creating it.
  bool OpenSectionForReading(std::string_view name);
  OpenResult OpenEntryKey(int year, int month, int day, int hour, int minute);
  bool OpenEntryKeyForReading(int year, int month, std::string_view subKey);
  OpenResult OpenToDoKey(int n);
  // The path of the key opened last.
  const std::string& currentPath() const { return path_; }

  // Value calls on the key opened last.
  bool SetInt(std::string_view name, std::int32_t value);
  bool SetString(std::string_view name, std::string_view text);
  bool SetBinary(std::string_view name, const FontBytes& bytes);
  // Fails (result 0) unless the value is a 4-byte integer.
  bool GetInt(std::string_view name, std::int32_t& out);
  // Fails and leaves out unchanged unless the value is a string. Texts of any
  // length read back whole.
  bool GetString(std::string_view name, std::string& out);
  // Fails unless binary and at most 60 bytes; a shorter value fills its own bytes.
  bool GetBinary(std::string_view name, FontBytes& out);

  void SaveEntry(const CPlannerEntry& entry);
  // Reads the open entry key; valid when year and month are non-zero and no
  // other entry holds the slot. Missing values and values of another type take
  // their defaults; a key that failed to open reads as all defaults (invalid).
  bool LoadEntry(CPlannerEntry& entry);
  // The same from the values of an entry key read beforehand.
  bool LoadEntry(CPlannerEntry& entry, Registry::PackedValues values);
  // Writes "notes" only when the entry's key already existed; returns whether it did.
  bool WriteNotesOnly(const CPlannerEntry& entry);
  void RemoveEntryKey(int year, int month, int day, int hour, int minute);
  bool DeleteMonth(int year, int month);

  // Whether the store has a key for the month.
  bool MonthExists(int year, int month);
  // Bit d set for each day d (1..31) that has an entry key in the month, from
  // the keys' names alone.
  std::uint32_t StoredDayMarks(int year, int month);
  // The months the store has keys for, in time order.
  std::vector<YearMonth> StoredMonths();
  // Reads every month, after TidyMonthKeys.
  void ReadAllEntries(CEntryList& list);
  // Moves the entries of month keys named another way ("2000_03") to their own
  // keys, where they are read like any other (one whose slot is taken, or
  // without a date, stays). Keys that name no month are left alone and named
  // in one message. Start-up runs it before it reads a month.
  void TidyMonthKeys();
  // Number of sub-keys processed, or -1 when the month key could not be opened.
  int ReadMonth(CEntryList& list, int year, int month);
  void WriteWelcomeEntry(int year, int month, int day);

  void SaveWindowPos(std::string_view section, int left, int top);
  WindowPos LoadWindowPos(std::string_view section);
  void SaveFont(std::string_view which, const FontBytes& record);
  std::optional<FontBytes> LoadFont(std::string_view which);

  std::string LoadToDoLine(int n);
  void SaveToDoLine(int n, std::string_view text);

  static std::string EntryPath(int year, int month, int day, int hour, int minute);
  static std::string MonthPath(int year, int month);
  // The month a month key name stands for, or none when the name is not one
  // this store writes ("2000_3", "2000_12").
  static std::optional<YearMonth> ParseMonthKey(std::string_view name);

 private:
  void MoveOddMonth(const std::string& name);

  Registry& reg_;
  MessageBoxes& messages_;
  Clock& clock_;
  std::string path_;
  bool open_ = false;  // the last open succeeded
};

}  // namespace vesk
