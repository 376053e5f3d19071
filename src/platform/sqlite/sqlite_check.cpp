#include "platform/sqlite/sqlite_check.h"

#include <sqlite3.h>

#include <charconv>
#include <cstdio>
#include <cstdint>
#include <expected>
#include <span>
#include <string_view>
#include <system_error>

#include "platform/sqlite/sqlite_registry.h"
#include "platform/value_list.h"

namespace vesk {
namespace {

// The first column of the first row of a one-row query, as text.
std::expected<std::string, std::string> QueryText(sqlite3* db, const char* sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
    return std::unexpected(SqliteError(db));
  }
  std::expected<std::string, std::string> result;
  if (sqlite3_step(st) == SQLITE_ROW) {
    const auto* text = sqlite3_column_text(st, 0);
    result = text ? reinterpret_cast<const char*>(text) : "";
  } else {
    result = std::unexpected(SqliteError(db));
  }
  sqlite3_finalize(st);
  return result;
}

std::expected<std::int64_t, std::string> QueryNumber(sqlite3* db, const char* sql) {
  const auto text = QueryText(db, sql);
  if (!text) return std::unexpected(text.error());
  std::int64_t value = 0;
  std::from_chars(text->data(), text->data() + text->size(), value);
  return value;
}

std::string CheckKeyRows(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT id, name, vals FROM keys", -1, &st, nullptr) != SQLITE_OK) {
    return SqliteError(db);
  }
  std::string error;
  int rc;
  while (error.empty() && (rc = sqlite3_step(st)) == SQLITE_ROW) {
    const std::int64_t id = sqlite3_column_int64(st, 0);
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    const std::string_view nameText(name ? name : "",
                                    static_cast<std::size_t>(sqlite3_column_bytes(st, 1)));
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(st, 2));
    const std::span<const std::uint8_t> list(blob,
                                             static_cast<std::size_t>(sqlite3_column_bytes(st, 2)));
    if (id <= 0 || nameText.empty() || nameText.find('\\') != std::string_view::npos ||
        !IsValidValueList(list)) {
      error = "the key with row id " + std::to_string(id) + " is malformed";
    }
  }
  if (error.empty() && rc != SQLITE_DONE) error = SqliteError(db);
  sqlite3_finalize(st);
  return error;
}

}  // namespace

std::string SqliteError(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

std::string ExecSql(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return {};
  std::string text = message ? message : SqliteError(db);
  sqlite3_free(message);
  return text;
}

std::string CheckStoreVersion(sqlite3* db) {
  const auto version = QueryNumber(db, "PRAGMA user_version");
  if (!version) return version.error();
  const std::string stored = std::to_string(*version);
  if (*version > SqliteRegistry::kSchemaVersion) {
    return "it was written by a newer version of Vesk Calendar (store version " + stored +
           "; this one reads version " + std::to_string(SqliteRegistry::kSchemaVersion) + ")";
  }
  if (*version != SqliteRegistry::kSchemaVersion) {
    return "it was written by another version of the program (store version " + stored + ")";
  }
  return {};
}

std::string CheckWriteLock(sqlite3* db, int waitMs) {
  const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if ((rc & 0xff) == SQLITE_BUSY) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "it is locked by another process, which did not let go within %g seconds",
                  waitMs / 1000.0);
    return text;
  }
  if (rc != SQLITE_OK) return SqliteError(db);
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  return {};
}

std::string CheckPages(sqlite3* db) {
  const auto check = QueryText(db, "PRAGMA quick_check");
  if (!check) return check.error();
  if (*check != "ok") return "it failed its integrity check (" + *check + ")";
  return {};
}

std::string CheckWholeStore(sqlite3* db) {
  if (std::string error = CheckPages(db); !error.empty()) return error;
  if (std::string error = CheckKeyRows(db); !error.empty()) return error;
  // Every row has one parent, so the keys reached from the root form a tree;
  // a row not reached (a missing parent, or a cycle among such rows) is lost.
  const auto unreached =
      QueryNumber(db,
                  "WITH RECURSIVE reached(id) AS (SELECT id FROM keys WHERE parent = 0"
                  " UNION ALL SELECT keys.id FROM keys JOIN reached ON keys.parent = reached.id)"
                  " SELECT (SELECT count(*) FROM keys) - (SELECT count(*) FROM reached)");
  if (!unreached) return unreached.error();
  if (*unreached != 0) return "some keys are cut off from the root";
  return {};
}

std::string CheckLength(sqlite3* db, const std::filesystem::path& file) {
  const auto pages = QueryNumber(db, "PRAGMA page_count");
  if (!pages) return pages.error();
  const auto pageSize = QueryNumber(db, "PRAGMA page_size");
  if (!pageSize) return pageSize.error();
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return ec.message();
  if (static_cast<std::int64_t>(size) < *pages * *pageSize) {
    return "it is shorter than its header says (" + std::to_string(size) + " of " +
           std::to_string(*pages * *pageSize) + " bytes); it may have been cut off";
  }
  return {};
}

bool LeftItsLogBehind(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file.string() + "-wal", ec);
  return !ec && size > 0;
}

}  // namespace vesk
