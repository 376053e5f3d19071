#pragma once
// The durable registry: one SQLite file, one row per key with the key's values
// in one blob. The whole tree is cached in memory, so reads never touch the
// file; every write reaches the file at once and is durable when it returns.
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_set>

#include "platform/key_tree.h"
#include "platform/registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vesk {

class SqliteRegistry : public Registry {
 public:
  // Identifies our files among SQLite databases ("VESK").
  static constexpr std::int32_t kApplicationId = 0x5645534B;
  static constexpr int kSchemaVersion = 1;
  static constexpr int kDefaultBusyTimeoutMs = 2000;

  // Opens the store, creating it (mode 0600) when the file does not exist. A
  // file that is not a readable store of ours is left exactly as it is and the
  // error names it and says why.
  static std::expected<std::unique_ptr<SqliteRegistry>, std::string> Open(
      const std::filesystem::path& file, int busyTimeoutMs = kDefaultBusyTimeoutMs);
  ~SqliteRegistry() override;
  SqliteRegistry(const SqliteRegistry&) = delete;
  SqliteRegistry& operator=(const SqliteRegistry&) = delete;

  OpenResult CreateKey(std::string_view path) override;
  bool OpenKey(std::string_view path) override;
  EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) override;
  std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) override;
  bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
  std::vector<std::pair<std::string, RegValue>> Values(std::string_view path) override;
  bool DeleteTree(std::string_view path) override;
  void BeginTransaction() override;
  bool CommitTransaction() override;

  const std::filesystem::path& file() const { return file_; }

 private:
  enum Stmt { kBegin, kCommit, kRollback, kInsertKey, kUpdateValues, kDeleteKey, kStmtCount };

  SqliteRegistry(std::filesystem::path file, sqlite3* db);

  // Error text for the store, or empty when everything is ready.
  std::string Prepare();
  // Loads every row into tree; the error says what is wrong with the file.
  std::expected<KeyTree, std::string> LoadTree();
  // Runs write inside a transaction of its own, or of the open explicit one.
  // On any failure the transaction is rolled back and the cache reloaded.
  template <class Write>
  bool Apply(Write&& write);
  // Restores memory to what the file holds after a failed write.
  void Recover();
  bool Step(Stmt s);
  bool WriteValues(const KeyNode& node);
  // Writes the values changed inside the open explicit transaction.
  bool WritePending();

  std::filesystem::path file_;
  sqlite3* db_;
  sqlite3_stmt* stmts_[kStmtCount] = {};
  KeyTree tree_;
  int depth_ = 0;
  // A write of the open explicit transaction failed: the rest of it fails
  // too, so that the group stays all or nothing.
  bool poisoned_ = false;
  // Keys whose values changed inside the open explicit transaction: each is
  // written once, at its end, however many of its values were set.
  std::unordered_set<KeyNode*> pending_;
};

}  // namespace vesk
