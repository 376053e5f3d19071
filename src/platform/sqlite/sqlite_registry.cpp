#include "platform/sqlite/sqlite_registry.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/key_tree.h"
#include "platform/sqlite/sqlite_check.h"
#include "platform/sqlite/store_file.h"

namespace vesk {
namespace {

constexpr const char* kStmtSql[] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "INSERT INTO keys(parent, name, vals) VALUES(?1, ?2, ?3)",
    "UPDATE keys SET vals = ?2 WHERE id = ?1",
    "WITH RECURSIVE doomed(id) AS (SELECT ?1 UNION ALL"
    " SELECT keys.id FROM keys JOIN doomed ON keys.parent = doomed.id)"
    " DELETE FROM keys WHERE id IN doomed",
    "SELECT id FROM keys WHERE parent = ?1 AND name = ?2 COLLATE NOCASE",
    "SELECT name FROM keys WHERE parent = ?1",
    "SELECT id, name, vals FROM keys WHERE parent = ?1",
    "SELECT vals FROM keys WHERE id = ?1",
    "PRAGMA data_version",
};
static_assert(std::size(kStmtSql) == 11);

// Written in one transaction in rollback-journal mode, so the file header
// carries our application id before any write-ahead log exists. Another
// program that found the same empty file may have written it meanwhile.
constexpr const char* kSchemaSql =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL, vals BLOB NOT NULL);"
    "CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, name COLLATE NOCASE);"
    "PRAGMA application_id = 1447383883;"
    "PRAGMA user_version = 1;"
    "COMMIT;";
static_assert(SqliteRegistry::kApplicationId == 1447383883 && SqliteRegistry::kSchemaVersion == 1,
              "the schema text spells both numbers out");

// Virtual machine steps between two looks at a check's cancel flag.
constexpr int kCancelCheckSteps = 10000;
// Keys a group keeps waiting before it writes them.
constexpr std::size_t kMaxPendingKeys = 4096;
// Paths remembered before the table of row ids starts again.
constexpr std::size_t kMaxRememberedIds = 16384;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view ColumnText(sqlite3_stmt* st, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
  return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(st, column))};
}

std::span<const std::uint8_t> ColumnBlob(sqlite3_stmt* st, int column) {
  const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(st, column));
  return {blob, static_cast<std::size_t>(sqlite3_column_bytes(st, column))};
}

void DeleteFileWithJournals(const std::filesystem::path& file) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::filesystem::remove(file.string() + suffix, ec);
  }
}

std::string CheckExisting(sqlite3* db, const std::filesystem::path& file,
                          SqliteRegistry::Check check, bool uncleanEnd, int waitMs) {
  if (std::string error = CheckWriteLock(db, waitMs); !error.empty()) return error;
  if (std::string error = CheckStoreVersion(db); !error.empty()) return error;
  if (check == SqliteRegistry::Check::Full) return CheckWholeStore(db);
  return uncleanEnd ? CheckPages(db) : CheckLength(db, file);
}

}  // namespace

std::expected<std::unique_ptr<SqliteRegistry>, std::string> SqliteRegistry::Open(
    const std::filesystem::path& file, int busyTimeoutMs, Check check) {
  const auto failure = [&](const std::string& reason) {
    return std::unexpected("Cannot open the store " + file.string() + ": " + reason);
  };
  const auto state = PrepareStoreFile(file, kApplicationId);
  if (!state) return failure(state.error());
  // Looked at before SQLite opens the file and takes the log over.
  const bool uncleanEnd = LeftItsLogBehind(file);

  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<SqliteRegistry> registry(new SqliteRegistry(file, db));
  std::string error = rc == SQLITE_OK ? std::string() : SqliteError(db);
  // SQLite quietly falls back to reading only; every later write would fail.
  if (error.empty() && sqlite3_db_readonly(db, "main") == 1) error = "it is read-only";
  if (error.empty()) {
    sqlite3_busy_timeout(db, busyTimeoutMs);
    error = state->empty ? ExecSql(db, kSchemaSql)
                         : CheckExisting(db, file, check, uncleanEnd, busyTimeoutMs);
  }
  if (error.empty()) error = registry->Prepare(busyTimeoutMs);
  if (error.empty()) return registry;

  registry.reset();
  // Only a file this call made is ours to remove; anything else stays as found.
  if (state->created) DeleteFileWithJournals(file);
  return failure(error);
}

std::string SqliteRegistry::Verify(const std::filesystem::path& file,
                                   const std::atomic<bool>* cancel) {
  sqlite3* db = nullptr;
  std::string error;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    error = SqliteError(db);
  } else {
    sqlite3_busy_timeout(db, kDefaultBusyTimeoutMs);
    if (cancel != nullptr) {
      sqlite3_progress_handler(
          db, kCancelCheckSteps,
          [](void* flag) -> int { return static_cast<const std::atomic<bool>*>(flag)->load(); },
          const_cast<std::atomic<bool>*>(cancel));
    }
    error = CheckStoreVersion(db);
    if (error.empty()) error = CheckWholeStore(db);
  }
  sqlite3_close(db);
  return error;
}

SqliteRegistry::SqliteRegistry(std::filesystem::path file, sqlite3* db)
    : file_(std::move(file)), db_(db) {}

SqliteRegistry::~SqliteRegistry() {
  for (sqlite3_stmt* st : stmts_) sqlite3_finalize(st);
  // An explicit transaction still open is rolled back by the close.
  sqlite3_close(db_);
}

std::string SqliteRegistry::Prepare(int waitMs) {
  // The switch to the log needs the file to itself and is refused at once,
  // without the busy wait, while another program that found the same new file
  // still reads it.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    std::string error = ExecSql(db_, "PRAGMA journal_mode = WAL");
    if (error.empty()) break;
    if (sqlite3_errcode(db_) != SQLITE_BUSY || std::chrono::steady_clock::now() > until)
      return error;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  sqlite3_stmt* mode = nullptr;
  std::string journal;
  if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode", -1, &mode, nullptr) == SQLITE_OK &&
      sqlite3_step(mode) == SQLITE_ROW) {
    journal = ColumnText(mode, 0);
  }
  sqlite3_finalize(mode);
  if (journal != "wal") return "the write-ahead log cannot be used (journal mode " + journal + ")";
  if (std::string error = ExecSql(db_, "PRAGMA synchronous = FULL"); !error.empty()) return error;
  // Room for the pages a long group (an import, a restore) touches, so that
  // it does not write them out and read them back half-way; memory grows to
  // it only when such a group runs.
  if (std::string error = ExecSql(db_, "PRAGMA cache_size = -16384"); !error.empty()) return error;
  for (int i = 0; i < kStmtCount; ++i) {
    if (sqlite3_prepare_v3(db_, kStmtSql[i], -1, SQLITE_PREPARE_PERSISTENT, &stmts_[i], nullptr) !=
        SQLITE_OK) {
      return SqliteError(db_);
    }
  }
  return {};
}

bool SqliteRegistry::Step(Stmt s) {
  sqlite3_stmt* st = stmts_[s];
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

void SqliteRegistry::ForgetCaches() {
  ids_.clear();
  missParent_ = -1;
  lastId_ = -1;
  valuesId_ = -1;
  values_.clear();
  enumId_ = -1;
  enumNames_.clear();
}

void SqliteRegistry::ReportFailure(const std::string& reason) {
  if (failing_) return;
  failing_ = true;
  if (onFailure_) onFailure_(reason);
}

bool SqliteRegistry::Begin() {
  if (!Step(kBegin)) return false;
  // What memory holds of the file stays true until another program commits.
  sqlite3_stmt* st = stmts_[kDataVersion];
  const std::int64_t version =
      sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : dataVersion_ + 1;
  sqlite3_reset(st);
  if (version != dataVersion_) ForgetCaches();
  dataVersion_ = version;
  return true;
}

template <class Write>
bool SqliteRegistry::Apply(Write&& write) {
  if (poisoned_) return false;
  if (depth_ == 0 && !Begin()) {
    ReportFailure(SqliteError(db_));
    return false;
  }
  bool ok = write();
  if (ok && depth_ == 0) ok = Step(kCommit);
  if (!ok) {
    const std::string reason = SqliteError(db_);
    pending_.clear();
    if (!sqlite3_get_autocommit(db_)) Step(kRollback);
    // What memory held may be what the rolled-back writes made.
    ForgetCaches();
    if (depth_ > 0) poisoned_ = true;
    ReportFailure(reason);
  } else if (depth_ == 0) {
    failing_ = false;
  }
  return ok;
}

std::optional<std::int64_t> SqliteRegistry::FindChild(std::int64_t parent, std::string_view name) {
  // A key about to be made was looked for just before.
  if (parent == missParent_ && name == missName_) return std::nullopt;
  sqlite3_stmt* st = stmts_[kFindChild];
  sqlite3_bind_int64(st, 1, parent);
  sqlite3_bind_text(st, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
  std::optional<std::int64_t> id;
  if (sqlite3_step(st) == SQLITE_ROW) id = sqlite3_column_int64(st, 0);
  sqlite3_reset(st);
  if (!id) {
    missParent_ = parent;
    missName_.assign(name);
  }
  return id;
}

std::optional<std::int64_t> SqliteRegistry::Resolve(std::string_view path) {
  // An entry's sixteen values are written under one path in a row.
  if (lastId_ >= 0 && path == lastPath_) return lastId_;
  std::string key;
  key.reserve(path.size());
  std::int64_t id = 0;
  bool found = true;
  ForEachKeyPart(path, [&](std::string_view part) {
    if (!found) return;
    if (!key.empty()) key += '\\';
    for (char c : part) key += Upper(c);
    if (auto it = ids_.find(key); it != ids_.end()) {
      id = it->second;
      return;
    }
    const std::optional<std::int64_t> child = FindChild(id, part);
    if (!child) {
      found = false;
      return;
    }
    id = *child;
    if (ids_.size() >= kMaxRememberedIds) ids_.clear();
    ids_.emplace(key, id);
  });
  if (!found) return std::nullopt;
  lastPath_.assign(path);
  lastId_ = id;
  return id;
}

const ValueList* SqliteRegistry::ReadValues(std::int64_t id) {
  if (auto it = pending_.find(id); it != pending_.end()) return &it->second;
  if (id == valuesId_) return &values_;
  // The root has no row: it stands for HKEY_LOCAL_MACHINE, which holds no values.
  if (id == 0) {
    values_ = EmptyValueList();
  } else {
    sqlite3_stmt* st = stmts_[kReadValues];
    sqlite3_bind_int64(st, 1, id);
    bool read = false;
    if (sqlite3_step(st) == SQLITE_ROW) {
      const std::span<const std::uint8_t> blob = ColumnBlob(st, 0);
      if (IsValidValueList(blob)) {
        values_.assign(blob.begin(), blob.end());
        read = true;
      }
    }
    sqlite3_reset(st);
    if (!read) {
      valuesId_ = -1;
      return nullptr;
    }
  }
  valuesId_ = id;
  return &values_;
}

bool SqliteRegistry::WriteValues(std::int64_t id, const ValueList& list) {
  sqlite3_stmt* st = stmts_[kUpdateValues];
  sqlite3_bind_int64(st, 1, id);
  sqlite3_bind_blob(st, 2, list.data(), static_cast<int>(list.size()), SQLITE_STATIC);
  if (!Step(kUpdateValues)) return false;
  if (id == valuesId_ && &list != &values_) values_ = list;
  return true;
}

bool SqliteRegistry::WritePending() {
  bool ok = true;
  for (const auto& [id, list] : pending_) ok = ok && WriteValues(id, list);
  pending_.clear();
  return ok;
}

OpenResult SqliteRegistry::CreateKey(std::string_view path) {
  if (Resolve(path)) return OpenResult::Opened;
  const bool ok = Apply([&] {
    std::string key;
    std::int64_t id = 0;
    bool written = true;
    ForEachKeyPart(path, [&](std::string_view part) {
      if (!written) return;
      if (!key.empty()) key += '\\';
      for (char c : part) key += Upper(c);
      if (auto it = ids_.find(key); it != ids_.end()) {
        id = it->second;
        return;
      }
      if (std::optional<std::int64_t> child = FindChild(id, part)) {
        id = *child;
      } else {
        sqlite3_stmt* st = stmts_[kInsertKey];
        const ValueList empty = EmptyValueList();
        sqlite3_bind_int64(st, 1, id);
        sqlite3_bind_text(st, 2, part.data(), static_cast<int>(part.size()), SQLITE_STATIC);
        sqlite3_bind_blob(st, 3, empty.data(), static_cast<int>(empty.size()), SQLITE_STATIC);
        if (!Step(kInsertKey)) {
          written = false;
          return;
        }
        if (id == enumId_) enumId_ = -1;
        id = sqlite3_last_insert_rowid(db_);
        // A new key holds no values: the writes that follow need not read them.
        valuesId_ = id;
        values_ = empty;
        missParent_ = -1;
      }
      if (ids_.size() >= kMaxRememberedIds) ids_.clear();
      ids_.emplace(key, id);
    });
    return written;
  });
  return ok ? OpenResult::Created : OpenResult::Failed;
}

bool SqliteRegistry::OpenKey(std::string_view path) { return Resolve(path).has_value(); }

EnumResult SqliteRegistry::EnumSubKey(std::string_view path, std::size_t index, std::string& name) {
  const std::optional<std::int64_t> id = Resolve(path);
  if (!id) return EnumResult::Error;
  if (*id != enumId_) {
    enumNames_.clear();
    sqlite3_stmt* st = stmts_[kChildNames];
    sqlite3_bind_int64(st, 1, *id);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) enumNames_.emplace_back(ColumnText(st, 0));
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
      enumId_ = -1;
      return EnumResult::Error;
    }
    std::sort(enumNames_.begin(), enumNames_.end(), NameLess());
    enumId_ = *id;
  }
  if (index >= enumNames_.size()) return EnumResult::NoMoreItems;
  name = enumNames_[index];
  return EnumResult::Ok;
}

EnumResult SqliteRegistry::ReadSubKeys(std::string_view path, const SubKeyVisitor& visit) {
  const std::optional<std::int64_t> parent = Resolve(path);
  if (!parent) return EnumResult::Error;
  struct Row {
    std::int64_t id;
    std::string name;
    ValueList values;
  };
  std::vector<Row> rows;
  sqlite3_stmt* st = stmts_[kChildValues];
  sqlite3_bind_int64(st, 1, *parent);
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const std::span<const std::uint8_t> blob = ColumnBlob(st, 2);
    rows.push_back({sqlite3_column_int64(st, 0), std::string(ColumnText(st, 1)),
                    ValueList(blob.begin(), blob.end())});
  }
  sqlite3_reset(st);
  if (rc != SQLITE_DONE) return EnumResult::Error;
  std::sort(rows.begin(), rows.end(),
            [](const Row& a, const Row& b) { return NameLess()(a.name, b.name); });
  for (const Row& row : rows) {
    const auto changed = pending_.find(row.id);
    const ValueList& list = changed != pending_.end() ? changed->second : row.values;
    // A key whose values are damaged cannot be opened. Reading needs only
    // their structure (the whole-file check looks at the names too).
    const std::optional<PackedValues> values =
        IsWellFormedValueList(list) ? std::optional<PackedValues>(list) : std::nullopt;
    if (!visit(row.name, values)) return EnumResult::Ok;
  }
  return EnumResult::NoMoreItems;
}

std::optional<RegValue> SqliteRegistry::QueryValue(std::string_view path, std::string_view name) {
  const std::optional<std::int64_t> id = Resolve(path);
  if (!id) return std::nullopt;
  const ValueList* list = ReadValues(*id);
  if (!list) return std::nullopt;
  const std::optional<PackedValue> value = FindPackedValue(*list, name);
  if (!value) return std::nullopt;
  return value->ToRegValue();
}

ValuePairs SqliteRegistry::Values(std::string_view path) {
  const std::optional<std::int64_t> id = Resolve(path);
  if (!id) return {};
  const ValueList* list = ReadValues(*id);
  return list ? UnpackValues(*list) : ValuePairs();
}

bool SqliteRegistry::SetValue(std::string_view path, std::string_view name, const RegValue& value) {
  const std::optional<std::int64_t> id = Resolve(path);
  // The root holds no values; damaged values are never written over.
  if (!id || *id == 0) return false;
  if (depth_ > 0 && !poisoned_) {
    auto waiting = pending_.find(*id);
    if (waiting == pending_.end()) {
      const ValueList* current = ReadValues(*id);
      if (!current) return false;
      waiting = pending_.emplace(*id, *current).first;
    }
    SetPackedValue(waiting->second, name, value);
    // A long group (a restore, an import) writes as it goes, so that memory
    // never holds the group whole.
    if (pending_.size() >= kMaxPendingKeys) return Apply([&] { return WritePending(); });
    return true;
  }
  const ValueList* current = ReadValues(*id);
  if (!current) return false;
  ValueList list = *current;
  SetPackedValue(list, name, value);
  return Apply([&] { return WriteValues(*id, list); });
}

bool SqliteRegistry::DeleteTree(std::string_view path) {
  const std::optional<std::int64_t> id = Resolve(path);
  if (!id || *id == 0) return false;
  return Apply([&] {
    // Waiting writes go first: the keys about to go may be among them.
    if (!WritePending()) return false;
    sqlite3_bind_int64(stmts_[kDeleteTree], 1, *id);
    if (!Step(kDeleteTree)) return false;
    ForgetCaches();
    return true;
  });
}

bool SqliteRegistry::BeginRead() {
  if (depth_ > 0 || !ExecSql(db_, "BEGIN").empty()) return false;
  // Another program may have committed since this one last looked.
  ForgetCaches();
  return true;
}

void SqliteRegistry::EndRead() {
  if (depth_ > 0 || sqlite3_get_autocommit(db_)) return;
  ExecSql(db_, "COMMIT");
  // What was read is the snapshot's, not the file's from now on.
  ForgetCaches();
}

void SqliteRegistry::BeginTransaction() {
  if (depth_++ > 0) return;
  poisoned_ = !Begin();
  if (poisoned_) ReportFailure(SqliteError(db_));
}

bool SqliteRegistry::CommitTransaction() {
  if (depth_ == 0) return false;
  if (--depth_ > 0) return !poisoned_;
  if (poisoned_) {
    poisoned_ = false;
    pending_.clear();
    return false;
  }
  if (WritePending() && Step(kCommit)) {
    failing_ = false;
    return true;
  }
  const std::string reason = SqliteError(db_);
  pending_.clear();
  if (!sqlite3_get_autocommit(db_)) Step(kRollback);
  ForgetCaches();
  ReportFailure(reason);
  return false;
}

}  // namespace vesk
