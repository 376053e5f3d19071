#include "platform/sqlite/sqlite_registry.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/sqlite/store_file.h"

namespace vesk {
namespace {

constexpr const char* kStmtSql[] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "INSERT INTO keys(parent, name, vals) VALUES(?1, ?2, ?3)",
    "UPDATE keys SET vals = ?2 WHERE id = ?1",
    "DELETE FROM keys WHERE id = ?1",
};

// Written in one transaction in rollback-journal mode, so the file header
// carries our application id before any write-ahead log exists.
constexpr const char* kSchemaSql =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, name TEXT NOT NULL,"
    " vals BLOB NOT NULL);"
    "CREATE UNIQUE INDEX keys_by_name ON keys(parent, name COLLATE NOCASE);"
    "PRAGMA application_id = 1447383883;"
    "PRAGMA user_version = 1;"
    "COMMIT;";
static_assert(SqliteRegistry::kApplicationId == 1447383883 && SqliteRegistry::kSchemaVersion == 1,
              "the schema text spells both numbers out");

std::string ErrorText(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

// Runs sql; the error text, or empty.
std::string Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return {};
  std::string text = message ? message : ErrorText(db);
  sqlite3_free(message);
  return text;
}

// The first column of the first row of a one-row query, as text.
std::expected<std::string, std::string> QueryText(sqlite3* db, const char* sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
    return std::unexpected(ErrorText(db));
  }
  std::expected<std::string, std::string> result;
  if (sqlite3_step(st) == SQLITE_ROW) {
    const auto* text = sqlite3_column_text(st, 0);
    result = text ? reinterpret_cast<const char*>(text) : "";
  } else {
    result = std::unexpected(ErrorText(db));
  }
  sqlite3_finalize(st);
  return result;
}

std::string CheckStore(sqlite3* db) {
  const auto version = QueryText(db, "PRAGMA user_version");
  if (!version) return version.error();
  if (*version != std::to_string(SqliteRegistry::kSchemaVersion)) {
    return "it was written by another version of the program (store version " + *version + ")";
  }
  const auto check = QueryText(db, "PRAGMA quick_check");
  if (!check) return check.error();
  if (*check != "ok") return "it failed its integrity check (" + *check + ")";
  return {};
}

void DeleteFileWithJournals(const std::filesystem::path& file) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::filesystem::remove(file.string() + suffix, ec);
  }
}

}  // namespace

std::expected<std::unique_ptr<SqliteRegistry>, std::string> SqliteRegistry::Open(
    const std::filesystem::path& file, int busyTimeoutMs) {
  const auto failure = [&](const std::string& reason) {
    return std::unexpected("Cannot open the store " + file.string() + ": " + reason);
  };
  const auto state = PrepareStoreFile(file, kApplicationId);
  if (!state) return failure(state.error());

  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<SqliteRegistry> registry(new SqliteRegistry(file, db));
  std::string error = rc == SQLITE_OK ? std::string() : ErrorText(db);
  // SQLite quietly falls back to reading only; every later write would fail.
  if (error.empty() && sqlite3_db_readonly(db, "main") == 1) error = "it is read-only";
  if (error.empty()) {
    sqlite3_busy_timeout(db, busyTimeoutMs);
    error = state->empty ? Exec(db, kSchemaSql) : CheckStore(db);
  }
  if (error.empty()) error = registry->Prepare();
  if (error.empty()) {
    auto tree = registry->LoadTree();
    if (tree) {
      registry->tree_ = std::move(*tree);
    } else {
      error = tree.error();
    }
  }
  if (error.empty()) return registry;

  registry.reset();
  // Only a file this call made is ours to remove; anything else stays as found.
  if (state->created) DeleteFileWithJournals(file);
  return failure(error);
}

SqliteRegistry::SqliteRegistry(std::filesystem::path file, sqlite3* db)
    : file_(std::move(file)), db_(db) {}

SqliteRegistry::~SqliteRegistry() {
  for (sqlite3_stmt* st : stmts_) sqlite3_finalize(st);
  // An explicit transaction still open is rolled back by the close.
  sqlite3_close(db_);
}

std::string SqliteRegistry::Prepare() {
  const auto mode = QueryText(db_, "PRAGMA journal_mode = WAL");
  if (!mode) return mode.error();
  if (*mode != "wal") return "the write-ahead log cannot be used (journal mode " + *mode + ")";
  if (std::string error = Exec(db_, "PRAGMA synchronous = FULL"); !error.empty()) return error;
  for (int i = 0; i < kStmtCount; ++i) {
    if (sqlite3_prepare_v3(db_, kStmtSql[i], -1, SQLITE_PREPARE_PERSISTENT, &stmts_[i], nullptr) !=
        SQLITE_OK) {
      return ErrorText(db_);
    }
  }
  return {};
}

std::expected<KeyTree, std::string> SqliteRegistry::LoadTree() {
  struct Row {
    std::int64_t id;
    std::int64_t parent;
    std::unique_ptr<KeyNode> node;
  };
  std::vector<Row> rows;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT id, parent, name, vals FROM keys", -1, &st, nullptr) !=
      SQLITE_OK) {
    return std::unexpected(ErrorText(db_));
  }
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const std::int64_t id = sqlite3_column_int64(st, 0);
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
    const std::string_view nameText(name ? name : "",
                                    static_cast<std::size_t>(sqlite3_column_bytes(st, 2)));
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(st, 3));
    const auto blobSize = static_cast<std::size_t>(sqlite3_column_bytes(st, 3));
    auto node = std::make_unique<KeyNode>(std::string(nameText), nullptr);
    node->id = id;
    if (id <= 0 || nameText.empty() || nameText.find('\\') != std::string_view::npos ||
        !node->AdoptPackedValues(ValueList(blob, blob + blobSize))) {
      sqlite3_finalize(st);
      return std::unexpected("the key with row id " + std::to_string(id) + " is malformed");
    }
    rows.push_back({id, sqlite3_column_int64(st, 1), std::move(node)});
  }
  const std::string stepError = rc == SQLITE_DONE ? std::string() : ErrorText(db_);
  sqlite3_finalize(st);
  if (!stepError.empty()) return std::unexpected(stepError);

  // Attach the rows from the root down; a row that is never reached (a
  // missing parent or a cycle) makes the store corrupt.
  std::sort(rows.begin(), rows.end(),
            [](const Row& a, const Row& b) { return a.parent < b.parent; });
  KeyTree tree;
  std::vector<KeyNode*> pending = {&tree.root()};
  std::size_t attached = 0;
  while (!pending.empty()) {
    KeyNode* parent = pending.back();
    pending.pop_back();
    auto it = std::lower_bound(rows.begin(), rows.end(), parent->id,
                               [](const Row& row, std::int64_t id) { return row.parent < id; });
    for (; it != rows.end() && it->parent == parent->id; ++it) {
      const std::string name = it->node->name();
      KeyNode* child = parent->AdoptChild(std::move(it->node));
      if (!child) return std::unexpected("two keys are named " + name + " under one parent");
      pending.push_back(child);
      ++attached;
    }
  }
  if (attached != rows.size()) return std::unexpected("some keys are cut off from the root");
  return tree;
}

bool SqliteRegistry::Step(Stmt s) {
  sqlite3_stmt* st = stmts_[s];
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

bool SqliteRegistry::WritePending() {
  bool ok = true;
  for (const KeyNode* node : pending_) ok = ok && WriteValues(*node);
  pending_.clear();
  return ok;
}

bool SqliteRegistry::WriteValues(const KeyNode& node) {
  const ValueList& list = node.packedValues();
  sqlite3_stmt* st = stmts_[kUpdateValues];
  sqlite3_bind_int64(st, 1, node.id);
  sqlite3_bind_blob(st, 2, list.data(), static_cast<int>(list.size()), SQLITE_STATIC);
  return Step(kUpdateValues);
}

void SqliteRegistry::Recover() {
  // The reload below frees the keys waiting to be written.
  pending_.clear();
  if (!sqlite3_get_autocommit(db_)) Step(kRollback);
  // Should the file be unreadable as well, memory keeps what it has; the
  // failed write was reported either way.
  if (auto tree = LoadTree()) tree_ = std::move(*tree);
}

template <class Write>
bool SqliteRegistry::Apply(Write&& write) {
  if (poisoned_) return false;
  if (depth_ == 0 && !Step(kBegin)) return false;
  bool ok = write();
  if (ok && depth_ == 0) ok = Step(kCommit);
  if (!ok) {
    Recover();
    if (depth_ > 0) poisoned_ = true;
  }
  return ok;
}

OpenResult SqliteRegistry::CreateKey(std::string_view path) {
  if (tree_.Find(path)) return OpenResult::Opened;
  const bool ok = Apply([&] {
    sqlite3_stmt* st = stmts_[kInsertKey];
    const KeyTree::CreateResult made = tree_.Create(path);
    for (KeyNode* node : made.created) {
      sqlite3_bind_int64(st, 1, node->parent()->id);
      sqlite3_bind_text(st, 2, node->name().data(), static_cast<int>(node->name().size()),
                        SQLITE_STATIC);
      const ValueList& list = node->packedValues();
      sqlite3_bind_blob(st, 3, list.data(), static_cast<int>(list.size()), SQLITE_STATIC);
      if (!Step(kInsertKey)) return false;
      node->id = sqlite3_last_insert_rowid(db_);
    }
    return true;
  });
  return ok ? OpenResult::Created : OpenResult::Failed;
}

bool SqliteRegistry::OpenKey(std::string_view path) { return tree_.Find(path) != nullptr; }

EnumResult SqliteRegistry::EnumSubKey(std::string_view path, std::size_t index, std::string& name) {
  return tree_.EnumSubKey(path, index, name);
}

std::optional<RegValue> SqliteRegistry::QueryValue(std::string_view path, std::string_view name) {
  return tree_.QueryValue(path, name);
}

bool SqliteRegistry::SetValue(std::string_view path, std::string_view name, const RegValue& value) {
  KeyNode* node = tree_.Find(path);
  // The root has no row; it stands for HKEY_LOCAL_MACHINE, which holds no values.
  if (!node || node == &tree_.root()) return false;
  if (depth_ > 0 && !poisoned_) {
    node->SetValue(name, value);
    pending_.insert(node);
    return true;
  }
  return Apply([&] {
    node->SetValue(name, value);
    return WriteValues(*node);
  });
}

std::vector<std::pair<std::string, RegValue>> SqliteRegistry::Values(std::string_view path) {
  return tree_.Values(path);
}

bool SqliteRegistry::DeleteTree(std::string_view path) {
  const KeyNode* node = tree_.Find(path);
  if (!node || node == &tree_.root()) return false;
  return Apply([&] {
    // Waiting writes go first: the keys about to go may be among them.
    if (!WritePending()) return false;
    std::unique_ptr<KeyNode> gone = tree_.Detach(path);
    std::vector<const KeyNode*> todo = {gone.get()};
    sqlite3_stmt* st = stmts_[kDeleteKey];
    while (!todo.empty()) {
      const KeyNode* n = todo.back();
      todo.pop_back();
      sqlite3_bind_int64(st, 1, n->id);
      if (!Step(kDeleteKey)) return false;
      for (const auto& [name, child] : n->children()) todo.push_back(child.get());
    }
    return true;
  });
}

void SqliteRegistry::BeginTransaction() {
  if (depth_++ > 0) return;
  poisoned_ = !Step(kBegin);
}

bool SqliteRegistry::CommitTransaction() {
  if (depth_ == 0) return false;
  if (--depth_ > 0) return !poisoned_;
  if (poisoned_) {
    poisoned_ = false;
    pending_.clear();
    return false;
  }
  if (WritePending() && Step(kCommit)) return true;
  Recover();
  return false;
}

}  // namespace vesk
