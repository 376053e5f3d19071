#pragma once
// The store read key by key, for commands that look at a few months of a big
// store: nothing is loaded until asked for, and nothing can be written. The
// reader sees one snapshot of the file for its whole life.
#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vesk {

class SqliteReader : public Registry {
 public:
  // Opens an existing store of ours; the error names the file and says why.
  static std::expected<std::unique_ptr<SqliteReader>, std::string> Open(
      const std::filesystem::path& file);
  ~SqliteReader() override;
  SqliteReader(const SqliteReader&) = delete;
  SqliteReader& operator=(const SqliteReader&) = delete;

  // Opened when the key exists; nothing is ever created.
  OpenResult CreateKey(std::string_view path) override;
  bool OpenKey(std::string_view path) override;
  EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) override;
  std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) override;
  // Every write fails.
  bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
  std::vector<std::pair<std::string, RegValue>> Values(std::string_view path) override;
  bool DeleteTree(std::string_view path) override;
  void BeginTransaction() override {}
  bool CommitTransaction() override { return false; }

 private:
  enum Stmt { kChild, kChildren, kValues, kStmtCount };
  explicit SqliteReader(sqlite3* db) : db_(db) {}

  struct Child {
    std::string name;
    std::int64_t id;
  };
  // The row id of the key at path; -1 when there is none (the root is 0).
  std::int64_t KeyId(std::string_view path);
  // The id of the named sub-key of parent, or -1.
  std::int64_t ChildId(std::int64_t parent, std::string_view name);
  // The sub-keys of a key in enumeration order, read once.
  const std::vector<Child>& Children(std::int64_t id);

  sqlite3* db_;
  sqlite3_stmt* stmts_[kStmtCount] = {};
  std::unordered_map<std::string, std::int64_t> ids_;
  std::unordered_map<std::int64_t, std::vector<Child>> children_;
};

}  // namespace vesk
