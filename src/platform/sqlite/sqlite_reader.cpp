#include "platform/sqlite/sqlite_reader.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/sqlite/sqlite_registry.h"
#include "platform/value_list.h"

namespace vesk {
namespace {

constexpr const char* kStmtSql[] = {
    "SELECT id FROM keys WHERE parent = ?1 AND name = ?2 COLLATE NOCASE",
    "SELECT name, id FROM keys WHERE parent = ?1",
    "SELECT vals FROM keys WHERE id = ?1",
};

std::int64_t QueryNumber(sqlite3* db, const char* sql, bool& ok) {
  sqlite3_stmt* st = nullptr;
  std::int64_t value = 0;
  ok = sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW;
  if (ok) value = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  return value;
}

}  // namespace

std::expected<std::unique_ptr<SqliteReader>, std::string> SqliteReader::Open(
    const std::filesystem::path& file) {
  const auto failure = [&](const std::string& reason) {
    return std::unexpected("Cannot read the store " + file.string() + ": " + reason);
  };
  sqlite3* db = nullptr;
  // Read-write without creating, so the write-ahead log can be read; nothing
  // is written. A file that allows only reading is read so.
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    db = nullptr;
    rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  std::unique_ptr<SqliteReader> reader(new SqliteReader(db));
  if (rc != SQLITE_OK) return failure(db ? sqlite3_errmsg(db) : "out of memory");
  sqlite3_busy_timeout(db, SqliteRegistry::kDefaultBusyTimeoutMs);

  bool ok = false;
  const std::int64_t application = QueryNumber(db, "PRAGMA application_id", ok);
  if (!ok || application != SqliteRegistry::kApplicationId)
    return failure("it is not a Vesk Calendar store");
  const std::int64_t version = QueryNumber(db, "PRAGMA user_version", ok);
  if (!ok || version != SqliteRegistry::kSchemaVersion)
    return failure("it was written by another version of the program (store version " +
                   std::to_string(version) + ")");
  // Pages come straight from the mapped file instead of a read call each.
  sqlite3_exec(db, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
  // One read transaction: every query sees the same state of the file.
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
    return failure(sqlite3_errmsg(db));
  for (int i = 0; i < kStmtCount; ++i) {
    if (sqlite3_prepare_v2(db, kStmtSql[i], -1, &reader->stmts_[i], nullptr) != SQLITE_OK)
      return failure(sqlite3_errmsg(db));
  }
  return reader;
}

SqliteReader::~SqliteReader() {
  for (sqlite3_stmt* st : stmts_) sqlite3_finalize(st);
  sqlite3_close(db_);
}

std::int64_t SqliteReader::KeyId(std::string_view path) {
  const std::string key(path);
  if (auto it = ids_.find(key); it != ids_.end()) return it->second;
  // The parent's id comes from the cache too: the keys of one month share it.
  const auto cut = path.rfind('\\');
  const std::int64_t parent = cut == std::string_view::npos ? 0 : KeyId(path.substr(0, cut));
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  const std::int64_t id = parent < 0 ? -1 : name.empty() ? parent : ChildId(parent, name);
  ids_.emplace(key, id);
  return id;
}

std::int64_t SqliteReader::ChildId(std::int64_t parent, std::string_view name) {
  if (auto listed = children_.find(parent); listed != children_.end()) {
    const auto& kids = listed->second;
    auto it =
        std::lower_bound(kids.begin(), kids.end(), name,
                         [](const Child& c, std::string_view n) { return NameLess()(c.name, n); });
    return it != kids.end() && NamesEqual(it->name, name) ? it->id : -1;
  }
  sqlite3_stmt* st = stmts_[kChild];
  sqlite3_bind_int64(st, 1, parent);
  sqlite3_bind_text(st, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
  const std::int64_t id = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
  sqlite3_reset(st);
  return id;
}

const std::vector<SqliteReader::Child>& SqliteReader::Children(std::int64_t id) {
  auto [it, added] = children_.try_emplace(id);
  if (!added) return it->second;
  sqlite3_stmt* st = stmts_[kChildren];
  sqlite3_bind_int64(st, 1, id);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    it->second.push_back(
        {std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(st, 0))),
         sqlite3_column_int64(st, 1)});
  }
  sqlite3_reset(st);
  // The order the full store enumerates in.
  std::sort(it->second.begin(), it->second.end(),
            [](const Child& a, const Child& b) { return NameLess()(a.name, b.name); });
  return it->second;
}

OpenResult SqliteReader::CreateKey(std::string_view path) {
  return OpenKey(path) ? OpenResult::Opened : OpenResult::Failed;
}

bool SqliteReader::OpenKey(std::string_view path) { return KeyId(path) >= 0; }

EnumResult SqliteReader::EnumSubKey(std::string_view path, std::size_t index, std::string& name) {
  const std::int64_t id = KeyId(path);
  if (id < 0) return EnumResult::Error;
  const std::vector<Child>& kids = Children(id);
  if (index >= kids.size()) return EnumResult::NoMoreItems;
  name = kids[index].name;
  return EnumResult::Ok;
}

std::optional<RegValue> SqliteReader::QueryValue(std::string_view path, std::string_view name) {
  for (auto& [n, value] : Values(path))
    if (NamesEqual(n, name)) return std::move(value);
  return std::nullopt;
}

bool SqliteReader::SetValue(std::string_view, std::string_view, const RegValue&) { return false; }

std::vector<std::pair<std::string, RegValue>> SqliteReader::Values(std::string_view path) {
  const std::int64_t id = KeyId(path);
  if (id <= 0) return {};
  sqlite3_stmt* st = stmts_[kValues];
  sqlite3_bind_int64(st, 1, id);
  ValuePairs values;
  if (sqlite3_step(st) == SQLITE_ROW) {
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(st, 0));
    const std::span<const std::uint8_t> list(blob,
                                             static_cast<std::size_t>(sqlite3_column_bytes(st, 0)));
    // A damaged row reads as a key without values, as a missing one would.
    if (blob && IsValidValueList(list)) values = UnpackValues(list);
  }
  sqlite3_reset(st);
  return values;
}

bool SqliteReader::DeleteTree(std::string_view) { return false; }

}  // namespace vesk
