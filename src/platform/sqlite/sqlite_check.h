#pragma once
// The checks that decide whether an existing file is a sound store of ours.
// Each returns the reason (without the file name) it is not, or empty.
#include <filesystem>
#include <string>

struct sqlite3;

namespace vesk {

// The store version written in the file is the one this program writes; a
// newer version's store is refused as such, not guessed at.
std::string CheckStoreVersion(sqlite3* db);
// No other process keeps the store's write lock past waitMs: the lock is
// taken and given back at once, so such a store is refused at the start
// rather than at the user's first change.
std::string CheckWriteLock(sqlite3* db, int waitMs);
// Every page (SQLite's quick check) and every key: well-formed names and
// values, each reachable from the root. Reads the whole file.
std::string CheckWholeStore(sqlite3* db);
// SQLite's quick check alone; reads the whole file.
std::string CheckPages(sqlite3* db);
// The file is as long as its header says: a cut-off file is refused without
// reading it.
std::string CheckLength(sqlite3* db, const std::filesystem::path& file);
// Whether the last program that used the file left its write-ahead log
// behind, i.e. did not end cleanly.
bool LeftItsLogBehind(const std::filesystem::path& file);

// Runs sql; the error text, or empty.
std::string ExecSql(sqlite3* db, const char* sql);
std::string SqliteError(sqlite3* db);

}  // namespace vesk
