#pragma once
// Whole-file writes that either replace the file completely or leave the old
// one untouched, and whole-file reads.
#include <expected>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vesk {

// A file written piece by piece into a temporary file in the target's
// directory; Commit flushes it to disk and renames it over the target. Until
// then, and on any failure, the target is as it was; a file never committed
// leaves nothing behind.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path file);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends; a failure is kept and reported by Commit.
  void Write(std::string_view bytes);
  // The error names the reason.
  std::expected<void, std::string> Commit();

 private:
  std::filesystem::path file_;
  std::string tmp_;
  int fd_ = -1;
  int error_ = 0;
};

// Removes the temporary files that writes of AtomicFile left in dir when the
// program was killed before Commit: "." + a name that starts with one of
// `prefixes` + "." + six characters. Only for a directory no other program
// writes to at the same time.
void RemoveUnfinishedWrites(const std::filesystem::path& dir,
                            std::initializer_list<std::string_view> prefixes);

// The whole of `bytes` through an AtomicFile.
std::expected<void, std::string> WriteFileAtomically(const std::filesystem::path& file,
                                                     std::string_view bytes);

struct ReadFailure {
  bool notFound = false;  // the file could not be opened at all
  std::string reason;
};

// The whole content of the file.
std::expected<std::string, ReadFailure> ReadWholeFile(const std::filesystem::path& file);

}  // namespace vesk
