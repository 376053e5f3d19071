#include "store/registry_store.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/value_list.h"
#include "store/entry_list.h"
#include "store/planner_entry.h"

namespace vesk {

namespace {

constexpr std::string_view kWelcomeText = "Welcome to Vesk Calendar!";
constexpr std::string_view kMsgOpenFailed = "failed to open next registry item";
constexpr std::string_view kMsgOpenFailedAgain = "failed to open next registry item again";
constexpr std::string_view kMsgGivingUp = "ReadMonth giving up";
constexpr std::string_view kMsgEnumFailed = "failed to read next registry item";
constexpr std::string_view kMsgEntryFailed = "failed to read day planner entry";
constexpr std::string_view kMsgUnreadableMonths =
    "Some months of appointments could not be read and were left in the store as they are: ";
constexpr std::size_t kNamesShown = 10;
constexpr int kFirstRetryPauseMs = 1000;
constexpr int kSecondRetryPauseMs = 1500;

// The sixteen values of an entry key, holding the defaults a missing value reads as.
struct StoredEntry {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t early = 0;
  std::int32_t reminder = 1;
  std::int32_t xreminder = 0;
  std::string notes;
  std::int32_t started = 0;
  std::int32_t highlight = 0;
  std::int32_t repeats = 0;
  std::string sday;
  std::string nthweek;
  std::int32_t nthday = 0;
  std::int32_t until = 0;
  std::string uid;
};

// One value of an entry key: exactly one of the two members is set.
struct EntryField {
  std::string_view name;
  std::int32_t StoredEntry::*number;
  std::string StoredEntry::*text;
};

// In the order the values are written.
constexpr EntryField kEntryFields[] = {
    {"year", &StoredEntry::year, nullptr},
    {"month", &StoredEntry::month, nullptr},
    {"day", &StoredEntry::day, nullptr},
    {"hour", &StoredEntry::hour, nullptr},
    {"minute", &StoredEntry::minute, nullptr},
    {"early", &StoredEntry::early, nullptr},
    {"reminder", &StoredEntry::reminder, nullptr},
    {"xreminder", &StoredEntry::xreminder, nullptr},
    {"notes", nullptr, &StoredEntry::notes},
    {"started", &StoredEntry::started, nullptr},
    {"highlight", &StoredEntry::highlight, nullptr},
    {"repeats", &StoredEntry::repeats, nullptr},
    {"sday", nullptr, &StoredEntry::sday},
    {"nthweek", nullptr, &StoredEntry::nthweek},
    {"nthday", &StoredEntry::nthday, nullptr},
    {"until", &StoredEntry::until, nullptr},
    // Written only when set: entries made here keep the sixteen values.
    {"uid", nullptr, &StoredEntry::uid},
};
constexpr std::size_t kEntryFieldCount = std::size(kEntryFields);

// The field a value name belongs to; values usually come back in the order
// they were written, so the field at the value's own position is tried first.
const EntryField* FindField(std::string_view name, std::size_t position) {
  if (position < kEntryFieldCount && NamesEqual(name, kEntryFields[position].name))
    return &kEntryFields[position];
  for (const EntryField& f : kEntryFields)
    if (NamesEqual(name, f.name)) return &f;
  return nullptr;
}

void ApplyValue(StoredEntry& entry, const EntryField& field, const PackedValue& value) {
  if (field.number) {
    if (value.type != ValueType::Dword) return;
    if (auto v = DwordFromBytes(value.data)) entry.*field.number = *v;
  } else if (value.type == ValueType::String) {
    (entry.*field.text).assign(value.data.begin(), value.data.end());
  }
}

// The sixteen values as an entry key holds them, defaults for what is missing.
StoredEntry ReadStoredEntry(Registry::PackedValues values) {
  StoredEntry s;
  std::size_t position = 0;
  ValueListReader reader(values);
  for (PackedValue value; reader.Next(value); ++position) {
    if (const EntryField* field = FindField(value.name, position)) ApplyValue(s, *field, value);
  }
  return s;
}

StoredEntry FromEntry(const CPlannerEntry& e) {
  StoredEntry s;
  s.year = e.year();
  s.month = e.month();
  s.day = e.day();
  s.hour = e.hour();
  s.minute = e.minute();
  s.early = e.early;
  s.reminder = e.reminder;
  s.xreminder = e.xreminder;
  s.notes = e.notes;
  s.started = e.started;
  s.highlight = e.highlight;
  s.repeats = e.repeats;
  s.sday = e.sday;
  s.nthweek = e.nthweek;
  s.nthday = e.nthday;
  s.until = e.until;
  s.uid = e.uid;
  return s;
}

void ToEntry(StoredEntry&& s, CPlannerEntry& e) {
  e.MoveToSlot(s.year, s.month, s.day, s.hour, s.minute);
  e.early = s.early;
  e.reminder = s.reminder;
  e.xreminder = s.xreminder;
  e.notes = std::move(s.notes);
  e.started = s.started;
  e.highlight = s.highlight;
  e.repeats = s.repeats;
  e.sday = std::move(s.sday);
  e.nthweek = std::move(s.nthweek);
  e.nthday = s.nthday;
  e.until = s.until;
  e.uid = std::move(s.uid);
}

// Writes the sixteen values into the store's open key, in their order.
void WriteValues(CRegistryStore& store, const StoredEntry& s) {
  for (const EntryField& f : kEntryFields) {
    if (f.number)
      store.SetInt(f.name, s.*f.number);
    else if (f.text != &StoredEntry::uid || !s.uid.empty())
      store.SetString(f.name, s.*f.text);
  }
}

std::string JoinNumbers(int a, int b) { return std::to_string(a) + '_' + std::to_string(b); }

std::string EntryKeyName(int day, int hour, int minute) {
  return JoinNumbers(day, hour) + '_' + std::to_string(minute);
}

// The decimal number at the start of text (an optional minus sign, then
// digits), 0 when there is none.
int LeadingNumber(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string SectionPath(std::string_view name) { return JoinKey(kAppKey, name); }

// A month key written another way ("2000_03"): digits, "_", digits naming a
// month. Its entries' own values say where they belong.
bool IsOddMonthKey(std::string_view name) {
  const std::size_t bar = name.find('_');
  if (bar == 0 || bar == std::string_view::npos || bar + 1 == name.size()) return false;
  const auto digits = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const std::string_view month = name.substr(bar + 1);
  return digits(name.substr(0, bar)) && digits(month) && month.size() <= 2 &&
         LeadingNumber(month) >= 1 && LeadingNumber(month) <= 12;
}

// "a, b and 3 more" for a message.
std::string NameList(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
    out += (i ? ", " : "") + names[i];
  if (names.size() > kNamesShown)
    out += " and " + std::to_string(names.size() - kNamesShown) + " more";
  return out;
}

}  // namespace

CRegistryStore::CRegistryStore(Registry& registry, MessageBoxes& messages, Clock& clock)
    : reg_(registry), messages_(messages), clock_(clock) {}

std::string CRegistryStore::MonthPath(int year, int month) {
  return JoinKey(kAppointmentsKey, JoinNumbers(year, month));
}

std::string CRegistryStore::EntryPath(int year, int month, int day, int hour, int minute) {
  return JoinKey(MonthPath(year, month), EntryKeyName(day, hour, minute));
}

std::optional<YearMonth> CRegistryStore::ParseMonthKey(std::string_view name) {
  if (name.size() < 3) return std::nullopt;
  // The year is the number in the first four characters; the month is the
  // last two characters, or only the last when the first of them is "_".
  const int year = LeadingNumber(name.substr(0, 4));
  std::string_view tail = name.substr(name.size() - 2);
  if (tail.front() == '_') tail.remove_prefix(1);
  const int month = LeadingNumber(tail);
  // Only names this store writes are taken: any other name would send the
  // reader to a month key that does not exist (three failure boxes at every
  // start) or read one month twice.
  if (JoinNumbers(year, month) != name) return std::nullopt;
  return YearMonth{year, month};
}

OpenResult CRegistryStore::OpenSection(std::string_view name) {
  path_ = SectionPath(name);
  OpenResult r = reg_.CreateKey(path_);
  open_ = r != OpenResult::Failed;
  return r;
}

bool CRegistryStore::OpenSectionForReading(std::string_view name) {
  path_ = SectionPath(name);
  open_ = reg_.OpenKey(path_);
  return open_;
}

OpenResult CRegistryStore::OpenEntryKey(int year, int month, int day, int hour, int minute) {
  path_ = EntryPath(year, month, day, hour, minute);
  OpenResult r = reg_.CreateKey(path_);
  open_ = r != OpenResult::Failed;
  return r;
}

bool CRegistryStore::OpenEntryKeyForReading(int year, int month, std::string_view subKey) {
  path_ = JoinKey(MonthPath(year, month), subKey);
  open_ = reg_.OpenKey(path_);
  return open_;
}

OpenResult CRegistryStore::OpenToDoKey(int n) {
  path_ = JoinKey(SectionPath("ToDo"), std::to_string(n));
  OpenResult r = reg_.CreateKey(path_);
  open_ = r != OpenResult::Failed;
  return r;
}

bool CRegistryStore::SetInt(std::string_view name, std::int32_t value) {
  return open_ && reg_.SetValue(path_, name, RegValue::FromDword(value));
}

bool CRegistryStore::SetString(std::string_view name, std::string_view text) {
  return open_ && reg_.SetValue(path_, name, RegValue::FromString(text));
}

bool CRegistryStore::SetBinary(std::string_view name, const FontBytes& bytes) {
  return open_ && reg_.SetValue(path_, name, RegValue::FromBinary(bytes.data(), bytes.size()));
}

bool CRegistryStore::GetInt(std::string_view name, std::int32_t& out) {
  out = 0;
  if (!open_) return false;
  auto value = reg_.QueryValue(path_, name);
  if (!value) return false;
  auto number = value->AsDword();
  if (!number) return false;
  out = *number;
  return true;
}

bool CRegistryStore::GetString(std::string_view name, std::string& out) {
  if (!open_) return false;
  auto value = reg_.QueryValue(path_, name);
  if (!value) return false;
  auto text = value->AsString();
  if (!text) return false;
  out = std::move(*text);
  return true;
}

bool CRegistryStore::GetBinary(std::string_view name, FontBytes& out) {
  if (!open_) return false;
  auto value = reg_.QueryValue(path_, name);
  if (!value || value->type != ValueType::Binary || value->data.size() > out.size()) return false;
  std::memcpy(out.data(), value->data.data(), value->data.size());
  return true;
}

void CRegistryStore::SaveEntry(const CPlannerEntry& entry) {
  // One commit for the whole entry; write failures are ignored.
  Registry::Transaction tx(reg_);
  OpenEntryKey(entry.year(), entry.month(), entry.day(), entry.hour(), entry.minute());
  WriteValues(*this, FromEntry(entry));
}

bool CRegistryStore::LoadEntry(CPlannerEntry& entry) {
  ValueList packed = EmptyValueList();
  if (open_) {
    for (const auto& [name, value] : reg_.Values(path_)) SetPackedValue(packed, name, value);
  }
  return LoadEntry(entry, packed);
}

bool CRegistryStore::LoadEntry(CPlannerEntry& entry, Registry::PackedValues values) {
  const CEntryList::StoreReading reading(entry.list());
  StoredEntry s = ReadStoredEntry(values);
  if (s.early == -1) s.reminder = 0;
  const bool dated = s.year != 0 && s.month != 0;
  ToEntry(std::move(s), entry);
  return dated && entry.list().FindAt(entry.year(), entry.month(), entry.day(), entry.hour(),
                                      entry.minute(), &entry) == nullptr;
}

bool CRegistryStore::WriteNotesOnly(const CPlannerEntry& entry) {
  if (OpenEntryKey(entry.year(), entry.month(), entry.day(), entry.hour(), entry.minute()) !=
      OpenResult::Opened)
    return false;
  SetString("notes", entry.notes);
  return true;
}

void CRegistryStore::RemoveEntryKey(int year, int month, int day, int hour, int minute) {
  Registry::Transaction tx(reg_);
  path_ = MonthPath(year, month);
  open_ = reg_.CreateKey(path_) != OpenResult::Failed;
  if (open_) reg_.DeleteTree(JoinKey(path_, EntryKeyName(day, hour, minute)));
}

bool CRegistryStore::DeleteMonth(int year, int month) {
  const std::string monthPath = MonthPath(year, month);
  if (!reg_.OpenKey(monthPath)) return false;
  path_ = std::string(kAppointmentsKey);
  open_ = reg_.OpenKey(path_);
  if (open_) reg_.DeleteTree(monthPath);
  return true;
}

bool CRegistryStore::MonthExists(int year, int month) {
  return reg_.OpenKey(MonthPath(year, month));
}

std::uint32_t CRegistryStore::StoredDayMarks(int year, int month) {
  std::uint32_t marks = 0;
  const std::string monthPath = MonthPath(year, month);
  std::string name;
  for (std::size_t i = 0; reg_.EnumSubKey(monthPath, i, name) == EnumResult::Ok; ++i) {
    const int day = LeadingNumber(name);
    if (day >= 1 && day <= 31) marks |= 1u << day;
  }
  return marks;
}

std::vector<YearMonth> CRegistryStore::StoredMonths() {
  std::vector<YearMonth> months;
  const std::string appointments(kAppointmentsKey);
  std::string name;
  for (std::size_t i = 0; reg_.EnumSubKey(appointments, i, name) == EnumResult::Ok; ++i) {
    if (auto ym = ParseMonthKey(name)) months.push_back(*ym);
  }
  std::sort(months.begin(), months.end(), [](const YearMonth& a, const YearMonth& b) {
    return std::pair(a.year, a.month) < std::pair(b.year, b.month);
  });
  return months;
}

void CRegistryStore::ReadAllEntries(CEntryList& list) {
  const std::string appointments(kAppointmentsKey);
  if (reg_.CreateKey(appointments) == OpenResult::Failed) return;
  TidyMonthKeys();
  std::string name;
  for (std::size_t i = 0; reg_.EnumSubKey(appointments, i, name) == EnumResult::Ok; ++i) {
    if (auto ym = ParseMonthKey(name)) ReadMonth(list, ym->year, ym->month);
  }
}

void CRegistryStore::TidyMonthKeys() {
  std::vector<std::string> odd;
  std::vector<std::string> unreadable;
  std::string name;
  for (std::size_t i = 0;
       reg_.EnumSubKey(std::string(kAppointmentsKey), i, name) == EnumResult::Ok; ++i) {
    if (!ParseMonthKey(name)) (IsOddMonthKey(name) ? odd : unreadable).push_back(name);
  }
  for (const std::string& month : odd) MoveOddMonth(month);
  // A key of another name is left alone, with whatever it holds.
  if (!unreadable.empty())
    messages_.Show(std::string(kMsgUnreadableMonths) + NameList(unreadable) + ".", MbButtons::Ok);
}

void CRegistryStore::MoveOddMonth(const std::string& name) {
  const std::string monthPath = JoinKey(kAppointmentsKey, name);
  std::vector<std::string> keys;
  std::string key;
  for (std::size_t i = 0; reg_.EnumSubKey(monthPath, i, key) == EnumResult::Ok; ++i)
    keys.push_back(key);
  Registry::Transaction tx(reg_);
  bool kept = false;
  for (const std::string& entryKey : keys) {
    const std::string from = JoinKey(monthPath, entryKey);
    const ValuePairs values = reg_.Values(from);
    // The values say where the entry belongs, as when it is read.
    ValueList packed = EmptyValueList();
    for (const auto& [valueName, value] : values) SetPackedValue(packed, valueName, value);
    const StoredEntry s = ReadStoredEntry(packed);
    const std::string to = EntryPath(s.year, s.month, s.day, s.hour, s.minute);
    // An entry without a date, or one whose slot is taken, stays where it is.
    if (s.year == 0 || s.month == 0 || reg_.OpenKey(to) ||
        reg_.CreateKey(to) == OpenResult::Failed) {
      kept = true;
      continue;
    }
    for (const auto& [valueName, value] : values) reg_.SetValue(to, valueName, value);
    reg_.DeleteTree(from);
  }
  if (!kept) reg_.DeleteTree(monthPath);
}

int CRegistryStore::ReadMonth(CEntryList& list, int year, int month) {
  const std::string monthPath = MonthPath(year, month);
  bool opened = reg_.OpenKey(monthPath);
  if (!opened) {
    messages_.Show(kMsgOpenFailed, MbButtons::Ok);
    clock_.Pause(kFirstRetryPauseMs);
    opened = reg_.OpenKey(monthPath);
  }
  if (!opened) {
    messages_.Show(kMsgOpenFailedAgain, MbButtons::Ok);
    clock_.Pause(kSecondRetryPauseMs);
    opened = reg_.OpenKey(monthPath);
  }
  if (!opened) {
    messages_.Show(kMsgGivingUp, MbButtons::Ok);
    return -1;
  }
  path_ = monthPath;
  open_ = true;
  list.MarkMonthLoaded(year, month);

  int processed = 0;
  const EnumResult end = reg_.ReadSubKeys(
      monthPath, [&](std::string_view, std::optional<Registry::PackedValues> values) {
        if (!values) {
          messages_.Show(kMsgEntryFailed, MbButtons::Ok);
          return false;
        }
        CPlannerEntry& entry = list.Create();
        if (LoadEntry(entry, *values)) {
          entry.MarkStored();
          entry.Schedule(false);
        } else {
          list.Discard(entry);
        }
        ++processed;
        return true;
      });
  if (end == EnumResult::Error) messages_.Show(kMsgEnumFailed, MbButtons::Ok);
  return processed;
}

void CRegistryStore::WriteWelcomeEntry(int year, int month, int day) {
  StoredEntry s;
  s.year = year;
  s.month = month;
  s.day = day;
  s.hour = 9;
  s.reminder = 0;
  s.notes = kWelcomeText;
  s.sday = kWelcomeText;
  s.nthweek = kWelcomeText;
  Registry::Transaction tx(reg_);
  OpenEntryKey(year, month, day, s.hour, s.minute);
  WriteValues(*this, s);
}

void CRegistryStore::SaveWindowPos(std::string_view section, int left, int top) {
  Registry::Transaction tx(reg_);
  OpenSection(section);
  SetInt("left", left);
  SetInt("top", top);
}

WindowPos CRegistryStore::LoadWindowPos(std::string_view section) {
  OpenSection(section);
  WindowPos pos;
  GetInt("left", pos.left);
  pos.topRead = GetInt("top", pos.top);
  return pos;
}

void CRegistryStore::SaveFont(std::string_view which, const FontBytes& record) {
  OpenSection(which);
  SetBinary(which, record);
}

std::optional<FontBytes> CRegistryStore::LoadFont(std::string_view which) {
  OpenSection(which);
  FontBytes record{};
  if (!GetBinary(which, record)) return std::nullopt;
  return record;
}

std::string CRegistryStore::LoadToDoLine(int n) {
  OpenToDoKey(n);
  std::string text;
  GetString("notes", text);
  return text;
}

void CRegistryStore::SaveToDoLine(int n, std::string_view text) {
  OpenToDoKey(n);
  SetString("notes", text);
}

}  // namespace vesk
