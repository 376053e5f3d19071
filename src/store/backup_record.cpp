#include "store/backup_record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "calendar/calendar.h"
#include "store/planner_entry.h"
#include "store/text_encoding.h"

namespace vesk {
namespace {

constexpr std::size_t kPrefixSize = 5;  // "%04d|"
constexpr int kFieldCount = 13;
// The years whose local times fit the program's 32-bit seconds.
constexpr int kFirstYear = 1902;
constexpr int kLastYear = 2037;

void AppendInt(std::string& out, long long v) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, end);
}

// Keeps at most `room` bytes of the text, cut at a character boundary, and
// takes its length off the room left.
bool FitText(std::string& text, std::size_t& room) {
  const std::size_t keep = Utf8PrefixLength(text, room);
  const bool cut = keep < text.size();
  text.resize(keep);
  room -= keep;
  return cut;
}

// A "|" in the two short repeat texts would shift the fields after it; the
// weekday and ordinal they carry read the same with a space there.
std::string WithoutSeparators(std::string_view text) {
  std::string out(text);
  std::replace(out.begin(), out.end(), '|', ' ');
  return out;
}

std::expected<int, std::string> ParseInt(std::string_view field, int number) {
  int value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || ec != std::errc() || end != field.data() + field.size())
    return std::unexpected("field " + std::to_string(number) + " is not a number");
  return value;
}

}  // namespace

bool IsCalendarSlot(int year, int month, int day, int hour, int minute) {
  return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

bool AppendBackupRecord(std::string& out, const CPlannerEntry& e) {
  std::string line;
  const long long numbers[] = {e.year(), e.month(), e.day(), e.hour(), e.minute(),
                               e.nthday, e.repeats, e.timer, e.time(), e.reminder ? e.early : -1};
  for (long long n : numbers) {
    AppendInt(line, n);
    line += '|';
  }
  std::string nthweek = WithoutSeparators(e.nthweek);
  std::string sday = WithoutSeparators(e.sday);
  std::string notes = e.notes;
  // Two more separators and the line feed follow the numbers.
  std::size_t room = kMaxBackupLine - line.size() - 3;
  bool cut = FitText(nthweek, room);
  cut |= FitText(sday, room);
  cut |= FitText(notes, room);
  line.append(nthweek).append("|").append(sday).append("|").append(notes).append("\n");

  char prefix[kPrefixSize + 1];
  std::snprintf(prefix, sizeof prefix, "%04d|", static_cast<int>(line.size()));
  out.append(prefix, kPrefixSize).append(line);
  return cut;
}

std::expected<std::string_view, std::string> TakeBackupLine(std::string_view& rest) {
  if (rest.size() < kPrefixSize) return std::unexpected("the record is cut short");
  std::size_t n = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const char c = rest[i];
    if (c < '0' || c > '9') return std::unexpected("its length prefix is not a number");
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (rest[4] != '|') return std::unexpected("its length prefix is not a number");
  if (n == 0) return std::unexpected("its length prefix is zero");
  if (rest.size() - kPrefixSize < n) return std::unexpected("the record is cut short");
  const std::string_view line = rest.substr(kPrefixSize, n);
  if (line.back() != '\n')
    return std::unexpected("the record does not end where its length prefix says");
  rest.remove_prefix(kPrefixSize + n);
  return line.substr(0, n - 1);
}

std::expected<BackupRecord, std::string> ParseBackupLine(std::string_view line) {
  std::array<std::string_view, kFieldCount> f;
  std::size_t start = 0;
  for (int i = 0; i < kFieldCount - 1; ++i) {
    const std::size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) return std::unexpected("the line has fewer than 13 fields");
    f[i] = line.substr(start, bar - start);
    start = bar + 1;
  }
  f[kFieldCount - 1] = line.substr(start);

  // Fields 8 and 9 (timer and time) belong to the run that wrote the file.
  constexpr int kUsed[] = {0, 1, 2, 3, 4, 5, 6, 9};
  int v[kFieldCount] = {};
  for (int i : kUsed) {
    auto n = ParseInt(f[i], i + 1);
    if (!n) return std::unexpected(n.error());
    v[i] = *n;
  }
  BackupRecord r;
  r.year = v[0];
  r.month = v[1];
  r.day = v[2];
  r.hour = v[3];
  r.minute = v[4];
  r.nthday = v[5];
  r.repeats = v[6];
  r.early = v[9];
  if (!IsCalendarSlot(r.year, r.month, r.day, r.hour, r.minute))
    return std::unexpected("the date or time is not valid");
  r.nthweek = ToUtf8(f[10]);
  r.sday = ToUtf8(f[11]);
  r.notes = ToUtf8(f[12]);
  return r;
}

}  // namespace vesk
