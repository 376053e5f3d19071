#pragma once
// The durable registry: one SQLite file, one row per key with the key's values
// in one blob. Reads go to the file through its indexes, so opening costs the
// same for ten keys as for a million and memory holds only what was asked
// for last; every write reaches the file at once and is durable when it
// returns.
#include <atomic>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"
#include "platform/value_list.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vesk {

class SqliteRegistry : public Registry {
 public:
  // Identifies our files among SQLite databases ("VESK").
  static constexpr std::int32_t kApplicationId = 0x5645534B;
  static constexpr int kSchemaVersion = 1;
  static constexpr int kDefaultBusyTimeoutMs = 2000;

  // How much of the file Open reads before it answers.
  enum class Check {
    // Every page and every key: the whole file is read.
    Full,
    // The header and the file's length; SQLite's quick check only when the
    // last program using the file did not end cleanly (its log was left
    // behind). The caller runs Verify later, off the user's way.
    Deferred,
  };

  // Opens the store, creating it (mode 0600) when the file does not exist. A
  // file that is not a readable store of ours is left exactly as it is and the
  // error names it and says why.
  static std::expected<std::unique_ptr<SqliteRegistry>, std::string> Open(
      const std::filesystem::path& file, int busyTimeoutMs = kDefaultBusyTimeoutMs,
      Check check = Check::Full);
  // The full check of an existing store on a connection of its own, safe to
  // run on another thread while the store is in use: the error text (without
  // the file name), or empty when the store is sound. Setting cancel stops it
  // early with an error.
  static std::string Verify(const std::filesystem::path& file,
                            const std::atomic<bool>* cancel = nullptr);

  ~SqliteRegistry() override;
  SqliteRegistry(const SqliteRegistry&) = delete;
  SqliteRegistry& operator=(const SqliteRegistry&) = delete;

  OpenResult CreateKey(std::string_view path) override;
  bool OpenKey(std::string_view path) override;
  EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) override;
  std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) override;
  bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
  ValuePairs Values(std::string_view path) override;
  bool DeleteTree(std::string_view path) override;
  EnumResult ReadSubKeys(std::string_view path, const SubKeyVisitor& visit) override;
  void BeginTransaction() override;
  bool CommitTransaction() override;

  // Every read from here to EndRead sees the file as it was at the first of
  // them, whatever other programs commit meanwhile: a reader that walks the
  // whole tree (an export) while the calendar writes neither skips nor
  // repeats a key. Not inside a write transaction.
  bool BeginRead();
  void EndRead();

  const std::filesystem::path& file() const { return file_; }
  // Told SQLite's reason when writes start failing (a full or read-only disk,
  // a lock held elsewhere); told again only after a write has worked since.
  // The failed change is not in the store. Runs inside the failed call.
  void SetFailureHandler(std::function<void(const std::string& reason)> handler) {
    onFailure_ = std::move(handler);
  }

 private:
  enum Stmt {
    kBegin,
    kCommit,
    kRollback,
    kInsertKey,
    kUpdateValues,
    kDeleteTree,
    kFindChild,
    kChildNames,
    kChildValues,
    kReadValues,
    kDataVersion,
    kStmtCount
  };

  SqliteRegistry(std::filesystem::path file, sqlite3* db);

  // Error text for the store, or empty when everything is ready.
  std::string Prepare(int waitMs);
  // Runs write inside a transaction of its own, or of the open explicit one.
  // On any failure the transaction is rolled back and what memory holds of
  // the file is forgotten.
  template <class Write>
  bool Apply(Write&& write);
  // Starts a write transaction; forgets what memory holds of the file when
  // another program changed it since.
  bool Begin();
  void ForgetCaches();
  void ReportFailure(const std::string& reason);
  bool Step(Stmt s);

  // Row id of the key at path (0 for the root), or none.
  std::optional<std::int64_t> Resolve(std::string_view path);
  std::optional<std::int64_t> FindChild(std::int64_t parent, std::string_view name);
  // The key's values as the file holds them, or as the open transaction
  // changed them; none when they cannot be read or are malformed.
  const ValueList* ReadValues(std::int64_t id);
  bool WriteValues(std::int64_t id, const ValueList& list);
  // Writes the values changed inside the open explicit transaction.
  bool WritePending();

  std::filesystem::path file_;
  sqlite3* db_;
  sqlite3_stmt* stmts_[kStmtCount] = {};
  int depth_ = 0;
  // The file's data version at the start of the last write transaction.
  std::int64_t dataVersion_ = -1;
  // A write of the open explicit transaction failed: the rest of it fails
  // too, so that the group stays all or nothing.
  bool poisoned_ = false;
  // Keys whose values changed inside the open explicit transaction: each is
  // written once, at its end, however many of its values were set.
  std::unordered_map<std::int64_t, ValueList> pending_;
  // Row ids of keys met lately, by path in upper case; bounded.
  std::unordered_map<std::string, std::int64_t> ids_;
  // The sub-key found missing last (parent row id, name).
  std::int64_t missParent_ = -1;
  std::string missName_;
  // The path resolved last, as the caller spelled it.
  std::string lastPath_;
  std::int64_t lastId_ = -1;
  // The values read last.
  std::int64_t valuesId_ = -1;
  ValueList values_;
  // The sub-key names of the key enumerated last, in enumeration order.
  std::int64_t enumId_ = -1;
  std::vector<std::string> enumNames_;
  std::function<void(const std::string&)> onFailure_;
  bool failing_ = false;  // the last write failed and was reported
};

}  // namespace vesk
